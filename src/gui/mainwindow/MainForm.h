#pragma once

// The main window: owns the open catalogue (through TCatalogueSession) and every long-lived part,
// and shows the catalogue as a tree of discs and directories with the file names of the selected
// directory beside it. Its commands live in command groups (TFileCommands, TDiscCommands,
// TSearchCommands) that it creates and that reach it only through ICommandHost. Its actions and
// widgets are its own; tests find them by object name.

#include "core/catalogue/CatalogueSession.h"
#include "core/catalogue/DirectoryLookup.h"
#include "core/state/OvcIniFileStore.h"
#include "gui/UserPrompts.h"
#include "gui/mainwindow/CommandHost.h"

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
class QSplitter;
class QStatusBar;
class QToolBar;
class QTreeView;

namespace orlenta {

class TCatalogueTreeModel;
class TCommandGroup;
class TDiscCommands;
class TDiscInfoDockingForm;
class TDuplicatesCommands;
class TFileCommands;
class TFileTableModel;
class TFindAllPanel;
class TExchangeCommands;
class TOvcFormState;
class TReadingDiscForm;
class TSearchCommands;
class TSharedNameIndex;

class TMainForm : public QMainWindow, public ICatalogueHost, private ICommandHost {
    Q_OBJECT
public:
    // arguments: the command line without the program's own name. prompts answers the message
    // boxes and file dialogs (null: real ones); it must be in place before start-up, which may
    // already show an error.
    explicit TMainForm(const QStringList& arguments, std::unique_ptr<TUserPrompts> prompts = {},
                       QWidget* parent = nullptr);
    ~TMainForm() override;

    TCatalogueSession& Session() override { return FSession; }
    const TCatalogueSession& Session() const { return FSession; }

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
    void OpenDataFile(const std::string& path) override;

    // The application-wide error display: the error's text in an error box, busy mode left.
    void HandleException(std::exception_ptr error) override;

    // The command pictures, by image index.
    static std::vector<QIcon> CommandImages();
    // The tree pictures: 0 and 1 a disc, 2 a closed folder, 3 an open folder.
    static std::array<QIcon, 6> TreeViewImages();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using THandler = void (TMainForm::*)(QObject*);

    // ICommandHost, besides Session, OpenDataFile and HandleException above
    TUserPrompts& Prompts() override { return *FPrompts; }
    QWidget& Window() override { return *this; }
    void NewCatalogue() override;
    void SetCaptionFromTitle() override;
    void ReadyHandler() override;
    void ClearDiscPanel() override;
    void CollapseTree() override;
    void SelectSearchHit(std::string_view id) override;

    // The parts the command groups drive, made before them: the progress window and Find all.
    void CreateCommandParts();
    void CreateCommands();
    void CreateMenusAndToolBar();
    void CreateBrowsingArea();
    void CreateTreeView();
    // The disc panel's place above the file list with its label and summary.
    void CreateRightColumn();
    void CreateFilesListBox();
    // Runs a handler of the window's own; an error it does not handle goes to HandleException.
    void RunCommand(THandler handler, QObject* sender);

    void FormCreate(const QStringList& arguments);
    void FormDestroy();
    void FormCloseQuery(bool& canClose);
    // Writes the window's place; an error goes to HandleException.
    void SaveFormState();
    void AboutActionExecute(QObject* sender);
    int SelectedNode() const;
    // Selects node, expands it by one level and scrolls it into view, its ancestors expanded.
    void SelectAndReveal(int node);
    void SelectDiscNode();
    void ClearBrowsingArea();
    // Lists the file names of directory (none for an empty handle) with their summary.
    void ShowFiles(const IXMLDirectoryType& directory);
    // Appends the nodes of disc: its own, then one per directory below its Root.
    void AddDiscNodes(const IXMLDiscType& disc);
    // Turns the selected node back into its disc and directory: panel and file list follow.
    void TreeViewClick(QObject* sender);

    TCatalogueSession FSession;
    std::unique_ptr<TUserPrompts> FPrompts;
    std::unique_ptr<TDiscInfoDockingForm> FDiscInfoDockingForm;
    TCatalogueTreeModel* FTreeModel = nullptr;
    TFileTableModel* FFilesModel = nullptr;
    std::vector<QIcon> FImageList;
    // The click's shortcut from a tree node to its element.
    TNodeDirectories FNodeDirectories;
    bool FBusy = false;
    // The status text that a wait for another Orlenta replaced.
    QString FStatusBeforeWait;
    bool FKeyboardSelecting = false;
    // The window's place between runs: read before it first shows, written when it closes.
    TOvcIniFileStore FOvcIniFileStore;
    std::unique_ptr<TOvcFormState> FOvcFormState;

    // The command groups, children of the window like its widgets.
    TFileCommands* FFileCommands = nullptr;
    TDiscCommands* FDiscCommands = nullptr;
    TSearchCommands* FSearchCommands = nullptr;
    TDuplicatesCommands* FDuplicatesCommands = nullptr;
    TExchangeCommands* FExchangeCommands = nullptr;
    // The name index Find all, Duplicates and Overlap share.
    std::shared_ptr<TSharedNameIndex> FNameIndex;
    std::vector<TCommandGroup*> FCommandGroups;
    QAction* AboutAction = nullptr;

    // The reading-progress window, hidden except while a disc is read.
    TReadingDiscForm* ReadingDiscForm = nullptr;
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
    QTreeView* FilesListBox = nullptr;
    // The count and the total size of the files listed.
    QLabel* FilesSummaryLabel = nullptr;
};

} // namespace orlenta
