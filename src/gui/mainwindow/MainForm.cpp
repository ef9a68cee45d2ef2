#include "gui/mainwindow/MainForm.h"

#include "core/base/DecimalText.h"
#include "core/base/OrlentaError.h"
#include "core/catalogue/DirectoryLookup.h"
#include "core/catalogue/DirectoryWalk.h"
#include "core/catalogue/IndexProperties.h"
#include "core/catalogue/TreeCounts.h"
#include "core/desktop/DataFileType.h"
#include "core/state/StoredProperties.h"
#include "gui/CoreText.h"
#include "gui/WidgetNames.h"
#include "gui/WindowText.h"
#include "gui/about/AboutBox.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/CommandGroup.h"
#include "gui/mainwindow/DiscCommands.h"
#include "gui/mainwindow/FileCommands.h"
#include "gui/mainwindow/FileTableModel.h"
#include "gui/mainwindow/SearchCommands.h"
#include "gui/reading/ReadingDiscForm.h"
#include "gui/search/FindAllPanel.h"
#include "gui/search/SharedNameIndex.h"
#include "gui/state/OvcFormState.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <cstdio>

namespace orlenta {

TMainForm::TMainForm(const QStringList& arguments, std::unique_ptr<TUserPrompts> prompts,
                     QWidget* parent)
    : QMainWindow(parent), FSession(*this),
      FPrompts(prompts ? std::move(prompts) : std::make_unique<TUserPrompts>()) {
    Named(this, "MainForm");
    setWindowTitle(tr("Orlenta - Browse or share your CD and DVD archive"));
    setMinimumSize(564, 342);
    resize(860, 580);
    FImageList = CommandImages();
    CreateCommandParts();
    CreateCommands();
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

    FDiscInfoDockingForm = std::make_unique<TDiscInfoDockingForm>();
    FDiscInfoDockingForm->MoveInto(DiscHostPanel);
    FDiscInfoDockingForm->SetEnableEdit(false);
    FDiscInfoDockingForm->SetSourceShown(true);

    bool opened = false;
    if (arguments.size() == 1 && QFileInfo(arguments.front()).isFile()) {
        try {
            OpenDataFile(ToLocalPath(arguments.front()));
            opened = static_cast<bool>(FSession.XMLIndexData());
        } catch (...) {
            // A file that cannot be read leaves nothing to show: report it and start afresh.
            HandleException(std::current_exception());
        }
    }
    if (!opened)
        NewCatalogue();
    SetBusy(QString());
    SetFileChanged(false);
    // After leaving busy mode, which clears the status bar.
    if (!registrationFailure.isEmpty())
        StatusBar->showMessage(registrationFailure);
}

void TMainForm::FormDestroy() {
    FDiscInfoDockingForm.reset();
}

void TMainForm::FormCloseQuery(bool& canClose) {
    canClose = FFileCommands->ConfirmSave();
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
    SetBusy(CoreText(statusText));
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
    for (TCommandGroup* group : FCommandGroups)
        group->SetBusy(busy);
    AboutAction->setEnabled(!busy);
    FindAllPanel->setEnabled(!busy);
    FNameIndex->SetBusy(busy);
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
    FFileCommands->FileChangedSet(changed);
}

void TMainForm::ShowMessage(TMessageKind kind, const std::string& text) {
    FPrompts->Message(this, kind, CoreText(text), TMessageButtons::Ok);
}

void TMainForm::ShowWaiting(const std::string& statusText) {
    if (!statusText.empty()) {
        FStatusBeforeWait = StatusBar->currentMessage();
        StatusBar->showMessage(CoreText(statusText));
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
    setWindowTitle(ToQString(MainFormCaption(FSession.XMLIndexData().Title())));
}

void TMainForm::AboutActionExecute(QObject*) {
    // 2003: the product's first year, where the notice's span of years begins.
    ShowAboutBox(this, 2003);
}

// --- The open catalogue ---

void TMainForm::NewCatalogue() {
    FSession.NewCatalogue();
    ShowFiles({});
    SetCaptionFromTitle();
    ReadyHandler();
}

void TMainForm::OpenDataFile(const std::string& path) {
    const bool previouslyChanged = FileChanged();
    // Another Orlenta saving this catalogue finishes first; a save takes the lock by itself.
    const bool loaded = [&] {
        const THeldDataFileLock lock(FSession, path, TLockPurpose::Reading);
        return FSession.OpenDataFile(path);
    }();
    if (!FSession.XMLIndexData())
        return;
    SetCaptionFromTitle();
    ReadyHandler();
    // A catalogue that stays open because the new file could not be read keeps its unsaved
    // changes marked: clearing the mark would let them go without a question.
    SetFileChanged(loaded ? false : previouslyChanged);
}

// --- Tree and file list ---

void TMainForm::ReadyHandler() {
    // Every change of the catalogue, and every new one, passes here.
    FindAllPanel->FollowCatalogue(FSession.XMLIndexData());
    ReadingDiscForm->hide();
    setEnabled(true);
    TBusyScope busy(*this, ToStdString(tr("Building tree...")));
    FTreeModel->Clear();
    FNodeDirectories.Start();
    if (isVisible())
        repaint();
    try {
        const IXMLDiscsType discs = FSession.XMLIndexData().Discs();
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
    SetBusy(tr("Sorting tree..."));
    FTreeModel->SortByText();
    SelectDiscNode();
    TreeViewClick(TreeView);
    for (TCommandGroup* group : FCommandGroups)
        group->CatalogueChanged();
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
                depth == 0 ? FTreeModel->AppendNode(parent, ToQString(discTitle), data, 0, 1)
                : IsArchiveFolder(directory)
                    ? FTreeModel->AppendNode(parent, ToQString(directory.Name()), data, 4, 5)
                    : FTreeModel->AppendNode(parent, ToQString(directory.Name()), data, 2, 3);
            FNodeDirectories.Note(node, directory, data);
            nodeAtDepth.resize(static_cast<size_t>(depth));
            nodeAtDepth.push_back(node);
            return true;
        });
}

void TMainForm::SelectDiscNode() {
    if (!FSession.XMLDiscData())
        return;
    // A node matches when its data, written in decimal, is the stored ID text: an ID in any
    // other form (leading zeros, a sign) matches no node.
    const std::string rootId(FSession.XMLDiscData().Root().ID());
    const std::optional<long long> value = ParseDecimal(rootId);
    if (!value || std::to_string(*value) != rootId)
        return;
    const std::vector<int> nodes = FTreeModel->NodesWithData(*value);
    if (!nodes.empty())
        SelectAndReveal(nodes.front());
}

void TMainForm::SelectSearchHit(std::string_view id) {
    if (const std::optional<long long> value = ParseDecimal(id)) {
        for (const int node : FTreeModel->NodesWithData(*value)) {
            SelectAndReveal(node);
            TreeViewClick(TreeView);
        }
    }
}

void TMainForm::SelectAndReveal(int node) {
    const QModelIndex index = FTreeModel->IndexOfNode(node);
    TreeView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    TreeView->expand(index);
    TreeView->scrollTo(index);
}

void TMainForm::CollapseTree() {
    TreeView->collapseAll();
}

int TMainForm::SelectedNode() const {
    const QModelIndexList selected = TreeView->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return TCatalogueTreeModel::kNoNode;
    return FTreeModel->NodeOfIndex(selected.front());
}

void TMainForm::ClearDiscPanel() {
    DiscToPanel({}, *FDiscInfoDockingForm);
}

void TMainForm::ClearBrowsingArea() {
    FSession.SelectDisc({});
    ClearDiscPanel();
    ShowFiles({});
}

void TMainForm::ShowFiles(const IXMLDirectoryType& directory) {
    FFilesModel->ShowDirectory(directory);
    FilesSummaryLabel->setText(FileTableSummary(*FFilesModel));
}

void TMainForm::TreeViewClick(QObject*) {
    TBusyScope busy(*this, ToStdString(tr("Processing...")));
    TNodeTarget target;
    const int node = SelectedNode();
    if (node != TCatalogueTreeModel::kNoNode)
        target = FindNodeTarget(FSession.XMLIndexData(), FNodeDirectories, node,
                                FTreeModel->Node(node).Data);
    const IXMLDirectoryType& foundDirectory = target.Directory;
    FSession.SelectDisc(target.Disc);
    DiscToPanel(FSession.XMLDiscData(), *FDiscInfoDockingForm);
    ShowFiles(foundDirectory);
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
