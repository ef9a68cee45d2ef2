// The main window's controls: the command pictures, the command groups and the parts they drive,
// the menus and the tool bar, and the browsing area of tree, disc panel and file list.

#include "gui/SizeAndDateText.h"
#include "gui/WidgetNames.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/DiscCommands.h"
#include "gui/mainwindow/DuplicatesCommands.h"
#include "gui/mainwindow/ExchangeCommands.h"
#include "gui/mainwindow/FileCommands.h"
#include "gui/mainwindow/FileTableModel.h"
#include "gui/mainwindow/MainForm.h"
#include "gui/mainwindow/SearchCommands.h"
#include "gui/reading/ReadingDiscForm.h"
#include "gui/search/FindAllPanel.h"
#include "gui/search/SharedNameIndex.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace orlenta {

namespace {

QIcon ThemeIcon(const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(themeName),
                            QApplication::style()->standardIcon(fallback));
}

} // namespace

std::vector<QIcon> TMainForm::CommandImages() {
    // Only some indexes are bound to commands; the others keep the list complete for commands
    // that may want a picture later.
    return {
        ThemeIcon("document-new", QStyle::SP_FileIcon),                  // 0
        ThemeIcon("document-open-recent", QStyle::SP_DirIcon),           // 1
        ThemeIcon("document-open", QStyle::SP_DialogOpenButton),         // 2 Open
        ThemeIcon("folder", QStyle::SP_DirClosedIcon),                   // 3
        ThemeIcon("document-properties", QStyle::SP_FileDialogInfoView), // 4 Properties
        ThemeIcon("help-about", QStyle::SP_MessageBoxInformation),       // 5 About
        ThemeIcon("process-stop", QStyle::SP_BrowserStop),               // 6 Stop reading
        ThemeIcon("list-add", QStyle::SP_DriveCDIcon),                   // 7 Add
        ThemeIcon("list-remove", QStyle::SP_TrashIcon),                  // 8 Remove
        ThemeIcon("edit-find", QStyle::SP_FileDialogContentsView),       // 9 Search
        ThemeIcon("document-save-as", QStyle::SP_DialogSaveButton),      // 10
        ThemeIcon("application-exit", QStyle::SP_DialogCloseButton),     // 11
        ThemeIcon("edit-delete", QStyle::SP_DialogDiscardButton),        // 12
        ThemeIcon("document-save", QStyle::SP_DialogSaveButton),         // 13 Save
        ThemeIcon("view-refresh", QStyle::SP_BrowserReload),             // 14 Rescan
    };
}

std::array<QIcon, 6> TMainForm::TreeViewImages() {
    const QIcon disc = ThemeIcon("media-optical", QStyle::SP_DriveCDIcon);
    // An archive's folder (4 and 5) must not pass for a directory of the disc.
    const QIcon archive = ThemeIcon("package-x-generic", QStyle::SP_DirLinkIcon);
    return {disc,
            disc,
            ThemeIcon("folder", QStyle::SP_DirClosedIcon),
            ThemeIcon("folder-open", QStyle::SP_DirOpenIcon),
            archive,
            archive};
}

void TMainForm::CreateCommandParts() {
    ReadingDiscForm = new TReadingDiscForm(this);
    // Find all's panel docks under the tree, hidden until asked for; its close box hides it.
    FNameIndex = std::make_shared<TSharedNameIndex>();
    FindAllPanel = new TFindAllPanel(FNameIndex);
    FindAllDock = Named(new QDockWidget(tr("Find all")), "FindAllDock");
    FindAllDock->setAccessibleName(tr("Find all"));
    FindAllDock->setFeatures(QDockWidget::DockWidgetClosable);
    FindAllDock->setWidget(FindAllPanel);
    FindAllDock->hide();
}

void TMainForm::CreateCommands() {
    FFileCommands = new TFileCommands(*this, FImageList);
    FDiscCommands = new TDiscCommands(*this, FImageList, *ReadingDiscForm);
    FSearchCommands = new TSearchCommands(*this, FImageList, *FindAllPanel, *FindAllDock);
    FDuplicatesCommands = new TDuplicatesCommands(*this, FImageList, FNameIndex);
    FExchangeCommands = new TExchangeCommands(*this, FImageList);
    FCommandGroups = {FFileCommands, FDiscCommands, FSearchCommands, FDuplicatesCommands,
                      FExchangeCommands};
    AboutAction = CreateCommandAction(
        *this, {"AboutAction", "About", QT_TRANSLATE_NOOP("Command", "&About"), nullptr, 5},
        FImageList);
    connect(AboutAction, &QAction::triggered, this,
            [this] { RunCommand(&TMainForm::AboutActionExecute, AboutAction); });
}

void TMainForm::CreateMenusAndToolBar() {
    QMenuBar* menuBar = this->menuBar();
    Named(menuBar, "ActionMainMenuBar");
    QMenu* fileMenu = menuBar->addMenu(tr("&File"));
    Named(fileMenu, "FileMenu");
    fileMenu->addActions(FFileCommands->MenuActions());
    // Export and import stand before Exit, which ends the menu.
    fileMenu->insertActions(FFileCommands->MenuActions().back(), FExchangeCommands->MenuActions());
    QMenu* discMenu = menuBar->addMenu(tr("&Disc"));
    Named(discMenu, "DiscMenu");
    discMenu->addActions(FDiscCommands->MenuActions() + FSearchCommands->MenuActions() +
                         FDuplicatesCommands->MenuActions());
    QMenu* aboutMenu = menuBar->addMenu(tr("&About"));
    Named(aboutMenu, "AboutMenu");
    aboutMenu->addAction(AboutAction);

    ActionToolBar = addToolBar(tr("Tools"));
    Named(ActionToolBar, "ActionToolBar");
    ActionToolBar->setMovable(false);
    ActionToolBar->setFloatable(false);
    ActionToolBar->setIconSize(QSize(16, 16));
    ActionToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ActionToolBar->addActions(FFileCommands->ToolBarActions() + FDiscCommands->ToolBarActions() +
                              FSearchCommands->ToolBarActions());
    // The tool bar is part of the window's layout, not something to hide.
    ActionToolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    StatusBar = statusBar();
    Named(StatusBar, "StatusBar");
    StatusBar->setAccessibleName(tr("Status"));
}

void TMainForm::CreateBrowsingArea() {
    Splitter1 = Named(new QSplitter(Qt::Horizontal, this), "Splitter1");
    Splitter1->setChildrenCollapsible(false);
    CreateTreeView();
    CreateRightColumn();

    Splitter3 = Named(new QSplitter(Qt::Vertical), "Splitter3");
    Splitter3->setChildrenCollapsible(false);
    Splitter3->addWidget(TreeView);
    Splitter3->addWidget(FindAllDock);
    Splitter3->addWidget(&FDuplicatesCommands->Dock());
    Splitter3->setStretchFactor(0, 1);
    Splitter3->setStretchFactor(1, 1);

    Splitter1->addWidget(Splitter3);
    Splitter1->addWidget(Panel2);
    // The right-hand column keeps its width; the tree takes what the window gains.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({340, 480});
    setCentralWidget(Splitter1);
}

void TMainForm::CreateTreeView() {
    FTreeModel = new TCatalogueTreeModel(TreeViewImages(), this);
    TreeView = Named(new QTreeView, "TreeView");
    TreeView->setAccessibleName(tr("Discs and directories"));
    TreeView->setModel(FTreeModel);
    TreeView->setHeaderHidden(true);
    TreeView->setIndentation(19);
    TreeView->setIconSize(QSize(16, 16));
    // Rows of one height let the view lay out a hundred thousand nodes without measuring each.
    TreeView->setUniformRowHeights(true);
    TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView->setMinimumWidth(120);
    TreeView->viewport()->installEventFilter(this);
    TreeView->installEventFilter(this);
    connect(TreeView->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (FKeyboardSelecting)
            RunCommand(&TMainForm::TreeViewClick, TreeView);
    });
}

void TMainForm::CreateRightColumn() {
    Panel2 = Named(new QWidget, "Panel2");
    auto* panel2Layout = new QVBoxLayout(Panel2);
    panel2Layout->setContentsMargins(0, 0, 0, 0);
    Splitter2 = Named(new QSplitter(Qt::Vertical), "Splitter2");
    Splitter2->setChildrenCollapsible(false);
    panel2Layout->addWidget(Splitter2);

    DiscHostPanel = Named(new QWidget, "DiscHostPanel");
    FilesPanel = Named(new QWidget, "FilesPanel");
    auto* filesLayout = new QVBoxLayout(FilesPanel);
    filesLayout->setContentsMargins(4, 4, 4, 4);
    FilesLabel = Named(new QLabel(tr("Files")), "FilesLabel");
    CreateFilesListBox();
    FilesLabel->setBuddy(FilesListBox);
    FilesSummaryLabel = Named(new QLabel, "FilesSummaryLabel");
    filesLayout->addWidget(FilesLabel);
    filesLayout->addWidget(FilesListBox, 1);
    filesLayout->addWidget(FilesSummaryLabel);
    Splitter2->addWidget(DiscHostPanel);
    Splitter2->addWidget(FilesPanel);
    Splitter2->setStretchFactor(0, 0);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({270, 330});
}

void TMainForm::CreateFilesListBox() {
    FFilesModel = new TFileTableModel(this);
    FilesListBox = Named(new QTreeView, "FilesListBox");
    FilesListBox->setAccessibleName(tr("Files"));
    FilesListBox->setModel(FFilesModel);
    FilesListBox->setRootIsDecorated(false);
    FilesListBox->setItemsExpandable(false);
    // Rows of one height let the view lay out ten thousand names without measuring each.
    FilesListBox->setUniformRowHeights(true);
    FilesListBox->setAllColumnsShowFocus(true);
    FilesListBox->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FilesListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    FilesListBox->setSelectionBehavior(QAbstractItemView::SelectRows);
    QHeaderView* filesHeader = FilesListBox->header();
    // Fixed widths from the font, not from the contents: measuring the cells would make text
    // of every row at each click.
    const QFontMetrics metrics = FilesListBox->fontMetrics();
    filesHeader->setStretchLastSection(false);
    filesHeader->setSectionResizeMode(TFileTableModel::NameColumn, QHeaderView::Stretch);
    // The widest texts the locale gives: four digits and a decimal, a two-digit month and day
    // late in the evening.
    filesHeader->resizeSection(
        TFileTableModel::SizeColumn,
        metrics.horizontalAdvance(SizeText(1023ULL * 1024 * 1024 + 900 * 1024)) + 24);
    filesHeader->resizeSection(TFileTableModel::ModifiedColumn,
                               metrics.horizontalAdvance(ModifiedText(977957938)) + 24);
    // Document order until a column is clicked; a third click on it brings that order back.
    filesHeader->setSortIndicatorClearable(true);
    filesHeader->setSortIndicator(-1, Qt::AscendingOrder);
    FilesListBox->setSortingEnabled(true);
}

} // namespace orlenta
