#pragma once

// Shared by the main window's tests: making the window, finding its parts, reading its commands,
// tree and panel.

#include "WindowTestSupport.h"
#include "gui/mainwindow/MainForm.h"

#include <QAction>
#include <QStringList>
#include <memory>
#include <vector>

class QTreeView;

namespace orlenta {
class TCatalogueTreeModel;
}

namespace orlenta::test {

// A shown main window that asks prompts, started with arguments as its command line.
std::unique_ptr<TMainForm> MakeForm(TScriptedPrompts::TState& prompts,
                                    const QStringList& arguments = {});
// The window's parts are found by object name, as any control: Child<QAction>(form,
// "DiscAddAction"). These are the ones most tests read.
QTreeView* TreeView(const TMainForm& form);
// The model behind the tree.
const TCatalogueTreeModel& TreeModel(const TMainForm& form);
// The host of the disc panel, in which its fields are found by name.
const QWidget& DiscPanel(const TMainForm& form);
// The commands, in the order the tests list them.
std::vector<QAction*> AllActions(const TMainForm& form);
// Names of the actions that are enabled, for readable failures.
QStringList EnabledActions(const TMainForm& form);
// Names of the actions enabled outside busy mode.
QStringList IdleActions(bool saveEnabled, bool discSelected = false);
QStringList Texts(const TMainForm& form, const std::vector<int>& nodes);
// The node reached by following texts from the top level, or kNoNode.
int NodeAt(const TMainForm& form, const QStringList& path);
QString SelectedText(const TMainForm& form);
QStringList ListedFiles(const TMainForm& form);
// A real mouse click on the node at path.
void ClickNode(TMainForm& form, const QStringList& path);
// The title shown in the window's disc panel.
QString PanelTitle(const TMainForm& form);

// Where a main window test starts: a scratch configuration folder and working folder, the
// browsing catalogue written there as browsing.olx, and prompts that count the unexpected ones.
// The test class calls UseKnownCollation from initTestCase(), SetUp from init() and TearDown
// from cleanup().
class TBrowsingWindowFixture {
protected:
    // A known collation, so that sorted orders are locale-aware and not byte order.
    static void UseKnownCollation();
    void SetUp();
    // Fails the test when an unexpected prompt came; then closes form (when given) and leaves
    // the scratch folders.
    void TearDown(std::unique_ptr<TMainForm>* form = nullptr);
    // A shown window that opened browsing.olx.
    std::unique_ptr<TMainForm> OpenedForm() { return MakeForm(FPrompts, {FCatalogueFile}); }

    std::unique_ptr<TScratchConfigHome> FConfigHome;
    std::unique_ptr<TScratchWorkingDirectory> FScratch;
    TScriptedPrompts::TState FPrompts;
    QString FCatalogueFile;
};

} // namespace orlenta::test
