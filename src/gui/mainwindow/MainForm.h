#pragma once

// The main window: owns the open catalogue (through TCatalogueSession) and every long-lived part,
// carries all commands, and shows the catalogue as a tree of discs and directories with the file
// names of the selected directory beside it.

#include "core/catalogue/CatalogueSession.h"
#include "core/catalogue/DirectoryLookup.h"
#include "core/state/OvcIniFileStore.h"
#include "gui/UserPrompts.h"

#include <QIcon>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QDockWidget;
class QLabel;
class QListView;
class QSplitter;
class QStatusBar;
class QStringListModel;
class QToolBar;
class QTreeView;

namespace orlenta {

class TCatalogueTreeModel;
class TDiscInfoDockingForm;
class TDiscReading;
class TOvcFormState;
class TFindAllPanel;
struct TFindHit;
class TReadingDiscForm;

class TMainForm : public QMainWindow, public ICatalogueHost {
    Q_OBJECT
public:
    // arguments: the command line without the program's own name. prompts answers the message
    // boxes and file dialogs (null: real ones); it must be in place before start-up, which may
    // already show an error.
    explicit TMainForm(const QStringList& arguments, std::unique_ptr<TUserPrompts> prompts = {},
                       QWidget* parent = nullptr);
    ~TMainForm() override;

    TCatalogueSession& Session() { return FSession; }
    const TCatalogueSession& Session() const { return FSession; }
    TDiscInfoDockingForm& DiscInfoDockingForm() const { return *FDiscInfoDockingForm; }
    TCatalogueTreeModel& TreeModel() const { return *FTreeModel; }
    QStringListModel& FilesModel() const { return *FFilesModel; }
    // Disc, Add and the handlers of the directory reader (DirReader()) that it owns.
    TDiscReading& DiscReading() const { return *FDiscReading; }

    // ICatalogueHost
    void SetBusy(const std::string& statusText) override;
    void FileChangedSet(bool changed) override;
    void ShowMessage(TMessageKind kind, const std::string& text) override;
    void ShowWaiting(const std::string& statusText) override;

    // Busy mode: wait cursor, the text in the status bar, every command disabled but Stop
    // reading. The empty text leaves it; calls do not nest.
    void SetBusy(const QString& statusText);
    bool Busy() const { return FBusy; }
    void SetFileChanged(bool changed) { FSession.SetFileChanged(changed); }
    bool FileChanged() const { return FSession.FileChanged(); }

    // Opens the data file at path (bytes as the file system takes them) as the open catalogue.
    void OpenDataFile(const std::string& path);
    // Asks whether to save unsaved changes; true when the caller may go on.
    bool ConfirmSave();

    // The application-wide error display: the error's text in an error box, busy mode left.
    void HandleException(std::exception_ptr error);

    void FileNewActionExecute(QObject* sender);
    void FileOpenActionExecute(QObject* sender);
    void FileSaveActionExecute(QObject* sender);
    void FileSaveAsActionExecute(QObject* sender);
    void FileInfoActionExecute(QObject* sender);
    void FileExitActionExecute(QObject* sender);
    void DiscAddActionExecute(QObject* sender);
    void DiscRemoveActionExecute(QObject* sender);
    void DiscInfoActionExecute(QObject* sender);
    void SearchActionExecute(QObject* sender);
    // Find all: shows the panel under the tree and puts the focus into its text field.
    void FindAllActionExecute(QObject* sender);
    void AboutActionExecute(QObject* sender);
    void DiscStopReadingActionExecute(QObject* sender);

    // Rebuilds the tree from the catalogue, re-selects XMLDiscData's node and shows it as if
    // clicked; marks the catalogue changed.
    void ReadyHandler(QObject* sender);
    // Turns the selected node back into its disc and directory: panel and file list follow.
    void TreeViewClick(QObject* sender);
    // Selects, expands and shows the node of a search hit, then asks whether to go on.
    bool ShowSearchHit(std::string_view id, const IXMLDiscType& disc);
    // Selects, expands and shows the node of the directory with this ID as a search hit does,
    // and shows it as if clicked; nothing when no node carries the ID.
    void SelectSearchHit(std::string_view id);

    // The fourteen command pictures, by image index.
    static std::vector<QIcon> CommandImages();
    // The tree pictures: 0 and 1 a disc, 2 a closed folder, 3 an open folder.
    static std::array<QIcon, 4> TreeViewImages();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's actions and controls; other classes and tests find them by object name.
    // The reading-progress window, hidden except while a disc is read.
    TReadingDiscForm* ReadingDiscForm = nullptr;
    QAction* FileNewAction = nullptr;
    QAction* FileOpenAction = nullptr;
    QAction* FileSaveAction = nullptr;
    QAction* FileSaveAsAction = nullptr;
    QAction* FileInfoAction = nullptr;
    QAction* FileExitAction = nullptr;
    QAction* DiscAddAction = nullptr;
    QAction* DiscRemoveAction = nullptr;
    QAction* DiscInfoAction = nullptr;
    QAction* SearchAction = nullptr;
    QAction* FindAllAction = nullptr;
    QAction* AboutAction = nullptr;
    QAction* DiscStopReadingAction = nullptr;

    QToolBar* ActionToolBar = nullptr;
    QStatusBar* StatusBar = nullptr;
    QSplitter* Splitter1 = nullptr;
    // The tree above the Find all panel's dock.
    QSplitter* Splitter3 = nullptr;
    QTreeView* TreeView = nullptr;
    QDockWidget* FindAllDock = nullptr;
    TFindAllPanel* FindAllPanel = nullptr;
    QWidget* Panel2 = nullptr;
    QSplitter* Splitter2 = nullptr;
    QWidget* DiscHostPanel = nullptr;
    QWidget* FilesPanel = nullptr;
    QLabel* FilesLabel = nullptr;
    QListView* FilesListBox = nullptr;

    using THandler = void (TMainForm::*)(QObject*);

    void CreateActions();
    void CreateMenusAndToolBar();
    void CreateBrowsingArea();
    QAction* CreateAction(const char* name, const char* category, const char* caption,
                          const char* shownCaption, int imageIndex, THandler handler);
    // Runs a command; an error it does not handle goes to HandleException.
    void RunCommand(THandler handler, QObject* sender);

    void FormCreate(const QStringList& arguments);
    void FormDestroy();
    void FormCloseQuery(bool& canClose);
    // Writes the window's place; an error goes to HandleException.
    void SaveFormState();
    void NewCatalogue(QObject* sender);
    void SetCaptionFromTitle();
    int SelectedNode() const;
    // Selects node, expands it by one level and scrolls it into view, its ancestors expanded.
    void SelectAndReveal(int node);
    void SelectDiscNode();
    void ClearBrowsingArea();
    void CreateDiscReading();
    // Appends the nodes of disc: its own, then one per directory below its Root.
    void AddDiscNodes(const IXMLDiscType& disc);
    // A hit of Find all was activated: its directory is selected in the tree, without a prompt.
    void FindAllHitHandler(const TFindHit& hit);

    TCatalogueSession FSession;
    std::unique_ptr<TUserPrompts> FPrompts;
    std::unique_ptr<TDiscInfoDockingForm> FDiscInfoDockingForm;
    TCatalogueTreeModel* FTreeModel = nullptr;
    QStringListModel* FFilesModel = nullptr;
    std::vector<QAction*> FBusyDisabledActions;
    std::vector<QIcon> FImageList;
    // The click's shortcut from a tree node to its element.
    TNodeDirectories FNodeDirectories;
    bool FBusy = false;
    // The status text that a wait for another Orlenta replaced.
    QString FStatusBeforeWait;
    bool FKeyboardSelecting = false;
    std::unique_ptr<TDiscReading> FDiscReading;
    // The window's place between runs: read before it first shows, written when it closes.
    TOvcIniFileStore FOvcIniFileStore;
    std::unique_ptr<TOvcFormState> FOvcFormState;
};

} // namespace orlenta
