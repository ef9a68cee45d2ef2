#pragma once

// Search (the dialog, then each hit selected in the tree with the question whether to go on) and
// Find all (the panel under the tree that lists every hit as one types).

#include "core/catalogue/OrlentaData.h"
#include "gui/mainwindow/CommandGroup.h"

#include <string_view>

class QDockWidget;

namespace orlenta {

class TFindAllPanel;
struct TFindHit;

class TSearchCommands : public TCommandGroup {
    Q_OBJECT
public:
    // panel and dock: the window's Find all panel and the dock that holds it.
    TSearchCommands(ICommandHost& host, const std::vector<QIcon>& images, TFindAllPanel& panel,
                    QDockWidget& dock);

private:
    void SearchActionExecute();
    // Shows the panel under the tree and puts the focus into its text field.
    void FindAllActionExecute();
    // Selects, expands and shows the node of a search hit, then asks whether to go on.
    bool ShowSearchHit(std::string_view id, const IXMLDiscType& disc);
    // A hit of Find all was activated: its directory is selected in the tree, without a prompt.
    void FindAllHitHandler(const TFindHit& hit);

    TFindAllPanel& FFindAllPanel;
    QDockWidget& FFindAllDock;
};

} // namespace orlenta
