#include "gui/mainwindow/MainForm.h"

#include "core/DecimalText.h"
#include "core/OrlentaError.h"
#include "core/catalogue/DirectoryLookup.h"
#include "core/catalogue/DirectoryWalk.h"
#include "core/catalogue/EscapedText.h"
#include "core/catalogue/IndexProperties.h"
#include "core/desktop/DataFileType.h"
#include "core/reading/DiscReading.h"
#include "core/search/CatalogueSearch.h"
#include "core/state/StoredProperties.h"
#include "gui/WindowText.h"
#include "gui/about/AboutBox.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/DiscDialogForm.h"
#include "gui/mainwindow/DiscInfoDockingForm.h"
#include "gui/mainwindow/InfoDialogForm.h"
#include "gui/reading/AddTreeDialogForm.h"
#include "gui/reading/ReadingDiscForm.h"
#include "gui/search/FindAllPanel.h"
#include "gui/search/SearchDialogForm.h"
#include "gui/state/OvcFormState.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStringListModel>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace orlenta {

namespace {

const char* const kDataFileFilter = "Orlenta datafiles (*.olx *.OLX)";
const char* const kDataFileExtension = "olx";

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
    // Centred on the screen at its designed size, unless it comes back where it was last closed.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    FOvcFormState = std::make_unique<TOvcFormState>(*this, FOvcIniFileStore,
                                                    QString::fromLatin1(kFormStateSection));
    FOvcFormState->RestoreState();
}

TMainForm::~TMainForm() {
    // A window that goes without being closed still keeps its place.
    if (FOvcFormState->SaveDue())
        SaveFormState();
    FormDestroy();
}

// --- Life cycle ---

void TMainForm::FormCreate(const QStringList& arguments) {
    // Registered at every start, so that a moved program registers its new path. A failure (a
    // read-only home, a file in the way) must not cost the window: it is said once, on standard
    // error and in the status bar, and start-up goes on.
    QString registrationFailure;
    try {
        RegisterDataFileType(".olx", "Orlenta", "Orlenta datafile");
    } catch (const EOrlentaError& error) {
        const std::string text = WithClosingFullStop(error.what());
        std::fprintf(stderr, "orlenta: %s\n", text.c_str());
        registrationFailure = ToQString(text);
    }
    ReadingDiscForm = new TReadingDiscForm(this);
    ReadingDiscForm->BindStopReading(DiscStopReadingAction);
    CreateDiscReading();

    FDiscInfoDockingForm = std::make_unique<TDiscInfoDockingForm>();
    FDiscInfoDockingForm->MoveInto(DiscHostPanel);
    FDiscInfoDockingForm->SetEnableEdit(false);
    connect(FindAllPanel, &TFindAllPanel::HitActivated, this, &TMainForm::FindAllHitHandler);

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
    // After leaving busy mode, which clears the status bar.
    if (!registrationFailure.isEmpty())
        StatusBar->showMessage(registrationFailure);
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
    if (!canClose) {
        event->ignore();
        return;
    }
    SaveFormState();
    event->accept();
}

void TMainForm::SaveFormState() {
    // A place that cannot be written is reported, and the window closes all the same.
    try {
        FOvcFormState->SaveState();
    } catch (...) {
        HandleException(std::current_exception());
    }
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
    FindAllPanel->setEnabled(!busy);
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

void TMainForm::ShowWaiting(const std::string& statusText) {
    if (!statusText.empty()) {
        FStatusBeforeWait = StatusBar->currentMessage();
        StatusBar->showMessage(ToQString(statusText));
    } else {
        StatusBar->showMessage(FStatusBeforeWait);
    }
    if (isVisible())
        StatusBar->repaint();
}

void TMainForm::HandleException(std::exception_ptr error) {
    if (FBusy)
        SetBusy(QString());
    ShowErrorBox(*FPrompts, this, error);
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
    // Another Orlenta saving this catalogue finishes first; a save takes the lock by itself.
    const bool loaded = [&] {
        const THeldDataFileLock lock(FSession, path, TLockPurpose::Reading);
        return FSession.OpenDataFile(path);
    }();
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
    TInfoDialogForm dialog(this, ReadIndexProperties(FSession.XMLIndexData));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TIndexProperties values = dialog.Values();
    SetIndexProperties(FSession.XMLIndexData, values.Title, values.Memo);
    SetCaptionFromTitle();
    SetFileChanged(true);
}

void TMainForm::AboutActionExecute(QObject*) {
    // 2003: the product's first year, where the notice's span of years begins.
    ShowAboutBox(this, 2003);
}

// --- Disc commands ---

void TMainForm::DiscAddActionExecute(QObject*) {
    TAddDiscRequest request;
    {
        TAddTreeDialogForm dialog(this, *FPrompts);
        const int result = dialog.exec();
        // The dialog's settings could not be kept; the disc is added all the same.
        if (dialog.SaveError())
            HandleException(dialog.SaveError());
        if (result != QDialog::Accepted)
            return;
        request = dialog.Request();
    }
    FDiscReading->AddDisc(ToLocalPath(request.TreeRoot), request.IncludeFilenames,
                          request.Properties);
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
    SelectSearchHit(id);
    const QString prompt = QStringLiteral("Keyword found in disc ") + ToQString(disc.Title()) +
                           QStringLiteral("\nContinue search?");
    return FPrompts->Message(this, TMessageKind::Information, prompt, TMessageButtons::YesNo) ==
           TMessageAnswer::Yes;
}

void TMainForm::SelectSearchHit(std::string_view id) {
    if (const std::optional<long long> value = ParseDecimal(id)) {
        for (const int node : FTreeModel->NodesWithData(*value)) {
            SelectAndReveal(node);
            TreeViewClick(TreeView);
        }
    }
}

void TMainForm::FindAllActionExecute(QObject*) {
    FindAllDock->show();
    FindAllPanel->FocusText();
}

void TMainForm::FindAllHitHandler(const TFindHit& hit) {
    // The click's busy mode disables the panel for a moment, which sends the focus out of it;
    // whoever goes through the hits one by one wants it back where it was.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    try {
        SelectSearchHit(FindAllPanel->DirectoryID(hit));
    } catch (...) {
        HandleException(std::current_exception());
    }
    if (focus)
        focus->setFocus();
}

void TMainForm::DiscInfoActionExecute(QObject*) {
    if (!FSession.XMLDiscData) {
        FPrompts->Message(this, TMessageKind::Plain, QStringLiteral("No disc selected."),
                          TMessageButtons::Ok);
        return;
    }
    TDiscDialogForm dialog(this, ReadDiscProperties(FSession.XMLDiscData));
    if (dialog.exec() != QDialog::Accepted)
        return;
    WriteDiscProperties(FSession.XMLDiscData, dialog.Properties());
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
    // Every change of the catalogue, and every new one, passes here.
    FindAllPanel->FollowCatalogue(FSession.XMLIndexData);
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
