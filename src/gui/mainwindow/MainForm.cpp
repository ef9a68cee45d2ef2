#include "gui/mainwindow/MainForm.h"

#include "core/OrlentaError.h"
#include "core/catalogue/DecimalText.h"
#include "core/catalogue/DirectoryLookup.h"
#include "core/catalogue/DirectoryWalk.h"
#include "core/catalogue/EscapedText.h"
#include "core/catalogue/IndexProperties.h"
#include "core/reading/DiscReading.h"
#include "core/search/CatalogueSearch.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/DiscDialogForm.h"
#include "gui/mainwindow/DiscInfoDockingForm.h"
#include "gui/mainwindow/InfoDialogForm.h"
#include "gui/reading/AddTreeDialogForm.h"
#include "gui/reading/ReadingDiscForm.h"
#include "gui/search/SearchDialogForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QStringListModel>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace orlenta {

namespace {

const char* const kDataFileFilter = "Orlenta datafiles (*.olx *.OLX)";
const char* const kDataFileExtension = "olx";

QIcon ThemeIcon(const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(themeName),
                            QApplication::style()->standardIcon(fallback));
}

} // namespace

TMainForm::TMainForm(const QStringList& arguments, std::unique_ptr<TUserPrompts> prompts,
                     QWidget* parent)
    : QMainWindow(parent), FSession(*this),
      FPrompts(prompts ? std::move(prompts) : std::make_unique<TUserPrompts>()) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Orlenta - Browse or share your CD and DVD archive"));
    setMinimumSize(564, 342);
    resize(860, 580);
    FImageList = CommandImages();
    CreateActions();
    CreateMenusAndToolBar();
    CreateBrowsingArea();
    FormCreate(arguments);
}

TMainForm::~TMainForm() {
    FormDestroy();
}

// --- Building the window ---

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
    AboutAction =
        CreateAction("AboutAction", "About", "&About", nullptr, 5, &TMainForm::AboutActionExecute);
    DiscStopReadingAction = CreateAction("DiscStopReadingAction", "Reading", "&Stop reading",
                                         nullptr, 6, &TMainForm::DiscStopReadingActionExecute);
    FBusyDisabledActions = {DiscAddAction,  DiscInfoAction,   FileInfoAction,   FileNewAction,
                            FileOpenAction, FileSaveAsAction, DiscRemoveAction, SearchAction,
                            FileExitAction, AboutAction};
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
    discMenu->addActions({DiscAddAction, DiscRemoveAction, DiscInfoAction, SearchAction});
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
                               DiscInfoAction, SearchAction});
    // The tool bar is part of the window's layout, not something to hide.
    ActionToolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    StatusBar = statusBar();
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
}

void TMainForm::CreateBrowsingArea() {
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);

    FTreeModel = new TCatalogueTreeModel(TreeViewImages(), this);
    TreeView = new QTreeView;
    TreeView->setObjectName(QStringLiteral("TreeView"));
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

    Splitter1->addWidget(TreeView);
    Splitter1->addWidget(Panel2);
    // The right-hand column keeps its width; the tree takes what the window gains.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({340, 480});
    setCentralWidget(Splitter1);
}

// --- Life cycle ---

void TMainForm::FormCreate(const QStringList& arguments) {
    // The data-file type is registered first, once its unit exists.
    ReadingDiscForm = new TReadingDiscForm(this);
    ReadingDiscForm->BindStopReading(DiscStopReadingAction);
    CreateDiscReading();

    FDiscInfoDockingForm = std::make_unique<TDiscInfoDockingForm>();
    FDiscInfoDockingForm->MoveInto(DiscHostPanel);
    FDiscInfoDockingForm->SetEnableEdit(false);

    bool opened = false;
    if (arguments.size() == 1 && QFileInfo(arguments.front()).isFile()) {
        try {
            OpenDataFile(ToLocalPath(arguments.front()));
            opened = static_cast<bool>(FSession.XMLIndexData);
        } catch (...) {
            // A file that cannot be read leaves nothing to show: report it and start afresh.
            HandleException(std::current_exception());
        }
    }
    if (!opened)
        NewCatalogue(nullptr);
    SetBusy(QString());
    SetFileChanged(false);
}

void TMainForm::CreateDiscReading() {
    // The reader is recursive with the mask "*.*"; its directory events build the disc, its
    // ready event rebuilds the tree.
    FDiscReading = std::make_unique<TDiscReading>(FSession);
    FDiscReading->OnReadingStarts = [this](const IXMLDiscType& disc) {
        ReadingDiscForm->SetDiscTitle(ToQString(disc.Title()));
        ReadingDiscForm->SetCurrentDirectory(QString());
        ReadingDiscForm->ShowCentred();
        // Only the progress window's Stop reading takes input while the walk runs.
        setEnabled(false);
        ReadingDiscForm->setEnabled(true);
    };
    // The progress label is only painted when pending events run, and eliding a path to fit it
    // shapes the whole text: setting it for each of a hundred thousand directories would cost
    // more than reading them. The directory is noted here and shown before events run and when
    // the walk ends.
    auto currentDirectory = std::make_shared<std::string>();
    auto currentDirectoryShown = std::make_shared<bool>(true);
    auto showCurrentDirectory = [this, currentDirectory, currentDirectoryShown] {
        if (*currentDirectoryShown)
            return;
        ReadingDiscForm->SetCurrentDirectory(QFile::decodeName(QByteArray(
            currentDirectory->data(), static_cast<qsizetype>(currentDirectory->size()))));
        *currentDirectoryShown = true;
    };
    FDiscReading->OnDirectoryFound = [currentDirectory,
                                      currentDirectoryShown](std::string_view directory) {
        currentDirectory->assign(directory);
        *currentDirectoryShown = false;
    };
    FDiscReading->OnReadingNotStarted = [this] {
        ReadingDiscForm->hide();
        setEnabled(true);
    };
    FDiscReading->OnReady = [this, showCurrentDirectory] {
        showCurrentDirectory();
        ReadyHandler(nullptr);
    };
    FDiscReading->OnDiscPanelCleared = [this] { DiscToPanel({}, *FDiscInfoDockingForm); };
    // Pending events (repaints, the Stop reading button) run during a walk, but not after every
    // one of a million entries. The clock is read after each entry, not after every so many: on
    // an optical disc a single entry (a directory to open) can take a good part of a second.
    auto sinceEvents = std::make_shared<QElapsedTimer>();
    sinceEvents->start();
    FDiscReading->DirReader().SetOnProcessEvents([sinceEvents, showCurrentDirectory](TDirReader&) {
        if (sinceEvents->elapsed() >= 20) {
            showCurrentDirectory();
            QCoreApplication::processEvents();
            sinceEvents->restart();
        }
    });
}

void TMainForm::FormDestroy() {
    FDiscInfoDockingForm.reset();
}

void TMainForm::FormCloseQuery(bool& canClose) {
    canClose = ConfirmSave();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // A reading, a load or a save is under way further down the call stack; the window cannot
    // go away under it.
    if (FBusy) {
        event->ignore();
        return;
    }
    bool canClose = false;
    try {
        FormCloseQuery(canClose);
    } catch (...) {
        HandleException(std::current_exception());
        canClose = false;
    }
    if (canClose)
        event->accept();
    else
        event->ignore();
}

// --- Busy mode, changed flag, messages, errors ---

void TMainForm::SetBusy(const std::string& statusText) {
    SetBusy(ToQString(statusText));
}

void TMainForm::SetBusy(const QString& statusText) {
    const bool busy = !statusText.isEmpty();
    if (busy != FBusy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
        FBusy = busy;
    }
    for (QAction* action : FBusyDisabledActions)
        action->setEnabled(!busy);
    FileSaveAction->setEnabled(!busy && FileChanged());
    DiscStopReadingAction->setEnabled(busy);
    if (busy)
        StatusBar->showMessage(statusText);
    else
        StatusBar->clearMessage();
    // The status text and the disabled commands must show before the long operation starts;
    // only the bars changed, and repainting the whole window would cost every click dearly.
    if (isVisible()) {
        StatusBar->repaint();
        ActionToolBar->repaint();
    }
}

void TMainForm::FileChangedSet(bool changed) {
    FileSaveAction->setEnabled(changed);
}

void TMainForm::ShowMessage(TMessageKind kind, const std::string& text) {
    FPrompts->Message(this, kind, ToQString(text), TMessageButtons::Ok);
}

void TMainForm::HandleException(std::exception_ptr error) {
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    if (FBusy)
        SetBusy(QString());
    FPrompts->Message(this, TMessageKind::Error, ErrorMessageText(text), TMessageButtons::Ok);
}

void TMainForm::RunCommand(THandler handler, QObject* sender) {
    try {
        (this->*handler)(sender);
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TMainForm::SetCaptionFromTitle() {
    setWindowTitle(ToQString(MainFormCaption(FSession.XMLIndexData.Title())));
}

// --- File commands ---

bool TMainForm::ConfirmSave() {
    if (!FileChanged())
        return true;
    switch (FPrompts->Message(
        this, TMessageKind::Confirmation,
        QStringLiteral("Orlenta datafile has changed.\nDo you want to save this file first?"),
        TMessageButtons::YesNoCancel)) {
    case TMessageAnswer::Yes:
        FileSaveActionExecute(nullptr);
        // A cancelled Save As leaves the changes unsaved: going on would lose what the user
        // just asked to keep.
        return !FileChanged();
    case TMessageAnswer::No: return true;
    default: return false;
    }
}

void TMainForm::NewCatalogue(QObject* sender) {
    if (sender != nullptr && !ConfirmSave())
        return;
    FSession.NewCatalogue();
    FFilesModel->setStringList({});
    SetCaptionFromTitle();
    ReadyHandler(nullptr);
    if (sender != nullptr)
        FileInfoActionExecute(sender);
}

void TMainForm::FileNewActionExecute(QObject* sender) {
    NewCatalogue(sender != nullptr ? sender : this);
}

void TMainForm::FileOpenActionExecute(QObject*) {
    if (!ConfirmSave())
        return;
    TFileDialogRequest request;
    request.Title = QStringLiteral("Open Orlenta datafile");
    request.Filter = QString::fromLatin1(kDataFileFilter);
    request.DefaultSuffix = QString::fromLatin1(kDataFileExtension);
    const QString path = FPrompts->FileName(this, request);
    if (path.isEmpty())
        return;
    OpenDataFile(ToLocalPath(path));
}

void TMainForm::OpenDataFile(const std::string& path) {
    const bool previouslyChanged = FileChanged();
    const bool loaded = FSession.OpenDataFile(path);
    if (!FSession.XMLIndexData)
        return;
    SetCaptionFromTitle();
    ReadyHandler(nullptr);
    // A catalogue that stays open because the new file could not be read keeps its unsaved
    // changes marked: clearing the mark would let them go without a question.
    SetFileChanged(loaded ? false : previouslyChanged);
}

void TMainForm::FileSaveActionExecute(QObject* sender) {
    if (!FSession.OrlentaFilename.empty())
        FSession.SaveDataFile();
    else
        FileSaveAsActionExecute(sender);
}

void TMainForm::FileSaveAsActionExecute(QObject*) {
    TFileDialogRequest request;
    request.Save = true;
    request.Title = QStringLiteral("Save Orlenta datafile");
    request.Filter = QString::fromLatin1(kDataFileFilter);
    request.DefaultSuffix = QString::fromLatin1(kDataFileExtension);
    request.ProposedName = ToQString(FSession.XMLIndexData.Title()) + QStringLiteral(".olx");
    const QString path = FPrompts->FileName(this, request);
    if (path.isEmpty())
        return;
    FSession.OrlentaFilename = ToLocalPath(path);
    FSession.SaveDataFile();
}

void TMainForm::FileExitActionExecute(QObject*) {
    close();
}

void TMainForm::FileInfoActionExecute(QObject*) {
    TInfoDialogForm dialog(this);
    dialog.TitleLabeledEdit->setText(ToQString(FSession.XMLIndexData.Title()));
    SetMemoBoxText(*dialog.Memo, UnescapeText(FSession.XMLIndexData.Memo()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetIndexProperties(FSession.XMLIndexData, ToStdString(dialog.TitleLabeledEdit->text()),
                       MemoBoxText(*dialog.Memo));
    SetCaptionFromTitle();
    SetFileChanged(true);
}

void TMainForm::AboutActionExecute(QObject*) {
    // The About box (first year 2003) has its own unit; until it is there the command shows
    // nothing.
}

// --- Disc commands ---

void TMainForm::DiscAddActionExecute(QObject*) {
    std::string treeRoot;
    bool includeFilenames = false;
    TDiscProperties properties;
    {
        TAddTreeDialogForm dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        treeRoot = ToLocalPath(dialog.TreeRoot());
        includeFilenames = dialog.IncludeFilenames();
        properties = PanelProperties(dialog.DiscInfoDockingForm());
    }
    FDiscReading->AddDisc(treeRoot, includeFilenames, properties);
}

void TMainForm::DiscStopReadingActionExecute(QObject*) {
    FDiscReading->StopReading();
}

void TMainForm::SearchActionExecute(QObject*) {
    TSearchDialogForm dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TreeView->collapseAll();
    const bool done =
        SearchCatalogue(FSession.XMLIndexData, dialog.Request(), [this](const TSearchHit& hit) {
            return ShowSearchHit(hit.DirectoryID, hit.Disc);
        });
    if (done)
        FPrompts->Message(this, TMessageKind::Information, QStringLiteral("Search done"),
                          TMessageButtons::Ok);
}

bool TMainForm::ShowSearchHit(std::string_view id, const IXMLDiscType& disc) {
    if (const std::optional<long long> value = ParseDecimal(id)) {
        for (const int node : FTreeModel->NodesWithData(*value)) {
            SelectAndReveal(node);
            TreeViewClick(TreeView);
        }
    }
    const QString prompt = QStringLiteral("Keyword found in disc ") + ToQString(disc.Title()) +
                           QStringLiteral("\nContinue search?");
    return FPrompts->Message(this, TMessageKind::Information, prompt, TMessageButtons::YesNo) ==
           TMessageAnswer::Yes;
}

void TMainForm::DiscInfoActionExecute(QObject*) {
    if (!FSession.XMLDiscData) {
        FPrompts->Message(this, TMessageKind::Plain, QStringLiteral("No disc selected."),
                          TMessageButtons::Ok);
        return;
    }
    TDiscDialogForm dialog(this);
    DiscToPanel(FSession.XMLDiscData, dialog.DiscInfoDockingForm());
    if (dialog.exec() != QDialog::Accepted)
        return;
    PanelToDisc(FSession.XMLDiscData, dialog.DiscInfoDockingForm());
    ReadyHandler(nullptr);
}

void TMainForm::DiscRemoveActionExecute(QObject*) {
    if (!FSession.XMLDiscData) {
        FPrompts->Message(this, TMessageKind::Plain, QStringLiteral("No disc selected."),
                          TMessageButtons::Ok);
        return;
    }
    QString quotedTitle = ToQString(FSession.XMLDiscData.Title());
    quotedTitle.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString prompt =
        QStringLiteral("Remove '") + quotedTitle + QStringLiteral("' from Orlenta?");
    if (FPrompts->Message(this, TMessageKind::Confirmation, prompt, TMessageButtons::YesNo) !=
        TMessageAnswer::Yes)
        return;
    FSession.XMLIndexData.Discs().Remove(FSession.XMLDiscData);
    FSession.XMLDiscData = {};
    ReadyHandler(nullptr);
}

// --- Tree and file list ---

void TMainForm::ReadyHandler(QObject*) {
    ReadingDiscForm->hide();
    setEnabled(true);
    TBusyScope busy(*this, "Building tree...");
    FTreeModel->Clear();
    FNodeDirectories.Start();
    if (isVisible())
        repaint();
    try {
        const IXMLDiscsType discs = FSession.XMLIndexData.Discs();
        for (int i = 0; i < discs.Count(); ++i)
            AddDiscNodes(discs.Disc(i));
    } catch (...) {
        // A catalogue that cannot be shown leaves nothing selected and nothing listed.
        FTreeModel->Clear();
        FNodeDirectories.Clear();
        ClearBrowsingArea();
        throw;
    }
    FNodeDirectories.Finish();
    FTreeModel->Publish();
    SetFileChanged(true);
    SetBusy(QStringLiteral("Sorting tree..."));
    FTreeModel->SortByText();
    SelectDiscNode();
    TreeViewClick(TreeView);
}

void TMainForm::AddDiscNodes(const IXMLDiscType& disc) {
    // The node of each directory's parent, by depth; the disc's node stands for its Root.
    std::vector<int> nodeAtDepth;
    const std::string_view discTitle = disc.Title();
    WalkDirectories(
        disc.Root(), TWalkAccess::AccessLayer, [&](const IXMLDirectoryType& directory, int depth) {
            const int parent = depth == 0 ? TCatalogueTreeModel::kNoNode
                                          : nodeAtDepth[static_cast<size_t>(depth - 1)];
            const int data = TreeNodeData(directory.ID());
            const int node =
                depth == 0
                    ? FTreeModel->AppendNode(parent, ToQString(discTitle), data, 0, 1)
                    : FTreeModel->AppendNode(parent, ToQString(directory.Name()), data, 2, 3);
            FNodeDirectories.Note(node, directory, data);
            nodeAtDepth.resize(static_cast<size_t>(depth));
            nodeAtDepth.push_back(node);
            return true;
        });
}

void TMainForm::SelectDiscNode() {
    if (!FSession.XMLDiscData)
        return;
    // A node matches when its data, written in decimal, is the stored ID text: an ID in any
    // other form (leading zeros, a sign) matches no node.
    const std::string rootId(FSession.XMLDiscData.Root().ID());
    const std::optional<long long> value = ParseDecimal(rootId);
    if (!value || std::to_string(*value) != rootId)
        return;
    const std::vector<int> nodes = FTreeModel->NodesWithData(*value);
    if (!nodes.empty())
        SelectAndReveal(nodes.front());
}

void TMainForm::SelectAndReveal(int node) {
    const QModelIndex index = FTreeModel->IndexOfNode(node);
    TreeView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    TreeView->expand(index);
    TreeView->scrollTo(index);
}

int TMainForm::SelectedNode() const {
    const QModelIndexList selected = TreeView->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return TCatalogueTreeModel::kNoNode;
    return FTreeModel->NodeOfIndex(selected.front());
}

void TMainForm::ClearBrowsingArea() {
    FSession.XMLDiscData = {};
    DiscToPanel({}, *FDiscInfoDockingForm);
    FFilesModel->setStringList({});
}

void TMainForm::TreeViewClick(QObject*) {
    TBusyScope busy(*this, "Processing...");
    TNodeTarget target;
    const int node = SelectedNode();
    if (node != TCatalogueTreeModel::kNoNode)
        target = FindNodeTarget(FSession.XMLIndexData, FNodeDirectories, node,
                                FTreeModel->Node(node).Data);
    const IXMLDirectoryType& foundDirectory = target.Directory;
    FSession.XMLDiscData = target.Disc;
    DiscToPanel(FSession.XMLDiscData, *FDiscInfoDockingForm);
    QStringList names;
    if (foundDirectory) {
        const IXMLFilenamesType filenames = foundDirectory.Filenames();
        const int count = filenames.Count();
        names.reserve(count);
        for (int i = 0; i < count; ++i)
            names.append(ToQString(filenames.Filename(i).Text()));
    }
    FFilesModel->setStringList(names);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TreeView->viewport() && event->type() == QEvent::MouseButtonRelease) {
        RunCommand(&TMainForm::TreeViewClick, TreeView);
    } else if (watched == TreeView) {
        // Moving through the tree with the keyboard counts as clicking the new node.
        if (event->type() == QEvent::KeyPress) {
            FKeyboardSelecting = true;
            static_cast<QObject*>(TreeView)->event(event);
            FKeyboardSelecting = false;
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace orlenta
