#pragma once

// A group of the main window's commands (the file commands, the disc commands, ...): it makes
// their actions, runs them with any error they leave unhandled going to the window's error
// display, and takes them out of use in busy mode. The window creates each group, puts its
// actions into the menus and the tool bar, and tells it when busy mode begins and ends. A new
// kind of command is a new group, not new lines in the window.

#include <QIcon>
#include <QList>
#include <QObject>
#include <functional>
#include <string_view>
#include <vector>

class QAction;

namespace orlenta {

class ICommandHost;

// The translation context of the commands' captions: mark them with
// QT_TRANSLATE_NOOP("Command", ...) where the look is written.
inline constexpr const char* kCommandContext = "Command";

// How a command presents itself.
struct TCommandLook {
    const char* Name;         // the action's object name
    const char* Category;     // File, Disc, ...
    const char* Caption;      // in English; what is shown is translated in kCommandContext
    const char* ShownCaption; // what menu and tool bar show instead of Caption; null: Caption
    int ImageIndex;           // in the command images; -1: no picture
};

// Where the window shows a command, and who rules it in busy mode.
enum TCommandOption {
    InMenu = 1,      // in the group's menu
    InToolBar = 2,   // on the tool bar
    OwnBusyRule = 4, // enabled by the group's SetBusy; any other is out of use while busy
};

// An action of the main window made as every command is: its look kept in the properties
// category, caption and imageIndex, and disabled until the window first leaves busy mode.
QAction* CreateCommandAction(QObject& parent, const TCommandLook& look,
                             const std::vector<QIcon>& images);

class TCommandGroup : public QObject {
    Q_OBJECT
public:
    // The group's commands for its menu and for the tool bar, in the order they were added.
    const QList<QAction*>& MenuActions() const { return FMenuActions; }
    const QList<QAction*>& ToolBarActions() const { return FToolBarActions; }
    // Busy mode begins or ends: the group's commands are out of use while the window is busy,
    // except those with their own rule.
    virtual void SetBusy(bool busy);
    // The catalogue changed or another one became the open one; the window calls it after it
    // rebuilt the tree.
    virtual void CatalogueChanged() {}

protected:
    // images: the command pictures by image index. The group is a child of the host's window.
    TCommandGroup(ICommandHost& host, const std::vector<QIcon>& images, const char* objectName);
    // Adds a command with options (TCommandOption) that runs run; an error run leaves unhandled
    // goes to the host's error display.
    QAction* AddCommand(const TCommandLook& look, int options, std::function<void()> run);
    // Selects the directory with this ID in the tree as a search hit, from a list of hits whose
    // user goes on where they were: the focus comes back to where it is. An error goes to the
    // host's error display.
    void SelectHitKeepingFocus(std::string_view id);
    // The selected disc's place among the discs, as orlenta-cli numbers them; -1 when no disc
    // is selected.
    int SelectedDiscIndex() const;

    ICommandHost& FHost;

private:
    std::vector<QIcon> FImages;
    // The commands that busy mode puts out of use.
    QList<QAction*> FIdleActions;
    QList<QAction*> FMenuActions;
    QList<QAction*> FToolBarActions;
};

} // namespace orlenta
