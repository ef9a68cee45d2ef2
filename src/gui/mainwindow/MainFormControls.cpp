// The main window's controls: its commands with their pictures, the menus and the tool bar, and
// the browsing area of tree, disc panel and file list.

#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/MainForm.h"
#include "gui/search/FindAllPanel.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStringListModel>
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
    };
}

std::array<QIcon, 4> TMainForm::TreeViewImages() {
    const QIcon disc = ThemeIcon("media-optical", QStyle::SP_DriveCDIcon);
    return {disc, disc, ThemeIcon("folder", QStyle::SP_DirClosedIcon),
            ThemeIcon("folder-open", QStyle::SP_DirOpenIcon)};
}

QAction* TMainForm::CreateAction(const char* name, const char* category, const char* caption,
                                 const char* shownCaption, int imageIndex, THandler handler) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("category", QString::fromLatin1(category));
    action->setProperty("caption", QString::fromLatin1(caption));
    // What menu and tool bar show; a few commands move their access key there.
    action->setText(QString::fromLatin1(shownCaption != nullptr ? shownCaption : caption));
    if (imageIndex >= 0) {
        action->setIcon(FImageList[static_cast<size_t>(imageIndex)]);
        action->setProperty("imageIndex", imageIndex);
    }
    action->setEnabled(false);
    connect(action, &QAction::triggered, this,
            [this, action, handler] { RunCommand(handler, action); });
    return action;
}

void TMainForm::CreateActions() {
    FileNewAction = CreateAction("FileNewAction", "File", "&New", nullptr, -1,
                                 &TMainForm::FileNewActionExecute);
    FileOpenAction = CreateAction("FileOpenAction", "File", "&Open", nullptr, 2,
                                  &TMainForm::FileOpenActionExecute);
    FileSaveAction = CreateAction("FileSaveAction", "File", "&Save", nullptr, 13,
                                  &TMainForm::FileSaveActionExecute);
    FileSaveAsAction = CreateAction("FileSaveAsAction", "File", "Save As", "S&ave As", -1,
                                    &TMainForm::FileSaveAsActionExecute);
    FileInfoAction = CreateAction("FileInfoAction", "File", "&Properties", nullptr, 4,
                                  &TMainForm::FileInfoActionExecute);
    FileExitAction = CreateAction("FileExitAction", "File", "E&xit", nullptr, -1,
                                  &TMainForm::FileExitActionExecute);
    DiscAddAction =
        CreateAction("DiscAddAction", "Disc", "&Add", nullptr, 7, &TMainForm::DiscAddActionExecute);
    DiscRemoveAction = CreateAction("DiscRemoveAction", "Disc", "&Remove", nullptr, 8,
                                    &TMainForm::DiscRemoveActionExecute);
    DiscInfoAction = CreateAction("DiscInfoAction", "Disc", "Edit &properties", nullptr, 4,
                                  &TMainForm::DiscInfoActionExecute);
    SearchAction = CreateAction("SearchAction", "Disc", "&Search", "S&earch", 9,
                                &TMainForm::SearchActionExecute);
    FindAllAction = CreateAction("FindAllAction", "Disc", "&Find all", nullptr, 9,
                                 &TMainForm::FindAllActionExecute);
    FindAllAction->setShortcut(QKeySequence::Find);
    AboutAction =
        CreateAction("AboutAction", "About", "&About", nullptr, 5, &TMainForm::AboutActionExecute);
    DiscStopReadingAction = CreateAction("DiscStopReadingAction", "Reading", "&Stop reading",
                                         nullptr, 6, &TMainForm::DiscStopReadingActionExecute);
    // The progress window's button shows the icon text, which drops the '&' unless set: without
    // it Alt+S would not press the button.
    DiscStopReadingAction->setIconText(DiscStopReadingAction->text());
    FBusyDisabledActions = {DiscAddAction,  DiscInfoAction,   FileInfoAction,   FileNewAction,
                            FileOpenAction, FileSaveAsAction, DiscRemoveAction, SearchAction,
                            FindAllAction,  FileExitAction,   AboutAction};
}

void TMainForm::CreateMenusAndToolBar() {
    QMenuBar* menuBar = this->menuBar();
    menuBar->setObjectName(QStringLiteral("ActionMainMenuBar"));
    QMenu* fileMenu = menuBar->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("FileMenu"));
    fileMenu->addActions({FileNewAction, FileOpenAction, FileSaveAction, FileSaveAsAction,
                          FileInfoAction, FileExitAction});
    QMenu* discMenu = menuBar->addMenu(QStringLiteral("&Disc"));
    discMenu->setObjectName(QStringLiteral("DiscMenu"));
    discMenu->addActions(
        {DiscAddAction, DiscRemoveAction, DiscInfoAction, SearchAction, FindAllAction});
    QMenu* aboutMenu = menuBar->addMenu(QStringLiteral("&About"));
    aboutMenu->setObjectName(QStringLiteral("AboutMenu"));
    aboutMenu->addAction(AboutAction);

    ActionToolBar = addToolBar(QStringLiteral("Tools"));
    ActionToolBar->setObjectName(QStringLiteral("ActionToolBar"));
    ActionToolBar->setMovable(false);
    ActionToolBar->setFloatable(false);
    ActionToolBar->setIconSize(QSize(16, 16));
    ActionToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ActionToolBar->addActions({FileOpenAction, FileSaveAction, DiscAddAction, DiscRemoveAction,
                               DiscInfoAction, SearchAction, FindAllAction});
    // The tool bar is part of the window's layout, not something to hide.
    ActionToolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    StatusBar = statusBar();
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setAccessibleName(QStringLiteral("Status"));
}

void TMainForm::CreateBrowsingArea() {
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);

    FTreeModel = new TCatalogueTreeModel(TreeViewImages(), this);
    TreeView = new QTreeView;
    TreeView->setObjectName(QStringLiteral("TreeView"));
    TreeView->setAccessibleName(QStringLiteral("Discs and directories"));
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

    Panel2 = new QWidget;
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* panel2Layout = new QVBoxLayout(Panel2);
    panel2Layout->setContentsMargins(0, 0, 0, 0);
    Splitter2 = new QSplitter(Qt::Vertical);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setChildrenCollapsible(false);
    panel2Layout->addWidget(Splitter2);

    DiscHostPanel = new QWidget;
    DiscHostPanel->setObjectName(QStringLiteral("DiscHostPanel"));
    FilesPanel = new QWidget;
    FilesPanel->setObjectName(QStringLiteral("FilesPanel"));
    auto* filesLayout = new QVBoxLayout(FilesPanel);
    filesLayout->setContentsMargins(4, 4, 4, 4);
    FilesLabel = new QLabel(QStringLiteral("Files"));
    FilesLabel->setObjectName(QStringLiteral("FilesLabel"));
    FFilesModel = new QStringListModel(this);
    FilesListBox = new QListView;
    FilesListBox->setObjectName(QStringLiteral("FilesListBox"));
    FilesListBox->setAccessibleName(QStringLiteral("Files"));
    FilesListBox->setModel(FFilesModel);
    FilesListBox->setUniformItemSizes(true);
    FilesListBox->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FilesLabel->setBuddy(FilesListBox);
    filesLayout->addWidget(FilesLabel);
    filesLayout->addWidget(FilesListBox, 1);
    Splitter2->addWidget(DiscHostPanel);
    Splitter2->addWidget(FilesPanel);
    Splitter2->setStretchFactor(0, 0);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({270, 330});

    // Find all's panel docks under the tree, hidden until asked for; its close box hides it.
    FindAllPanel = new TFindAllPanel;
    FindAllDock = new QDockWidget(QStringLiteral("Find all"));
    FindAllDock->setObjectName(QStringLiteral("FindAllDock"));
    FindAllDock->setAccessibleName(QStringLiteral("Find all"));
    FindAllDock->setFeatures(QDockWidget::DockWidgetClosable);
    FindAllDock->setWidget(FindAllPanel);
    FindAllDock->hide();
    Splitter3 = new QSplitter(Qt::Vertical);
    Splitter3->setObjectName(QStringLiteral("Splitter3"));
    Splitter3->setChildrenCollapsible(false);
    Splitter3->addWidget(TreeView);
    Splitter3->addWidget(FindAllDock);
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

} // namespace orlenta
