#pragma once

// Duplicates (the panel under the tree that lists the files standing more than once) and
// Overlap (how much of the selected disc stands on the other discs).

#include "gui/mainwindow/CommandGroup.h"

class QDockWidget;

namespace orlenta {

class TDuplicatesPanel;
struct TDuplicateCopy;

class TDuplicatesCommands : public TCommandGroup {
    Q_OBJECT
public:
    TDuplicatesCommands(ICommandHost& host, const std::vector<QIcon>& images);

    // The dock holding the panel, for the window to place; hidden until asked for.
    QDockWidget& Dock() const { return *FDock; }
    void SetBusy(bool busy) override;
    void CatalogueChanged() override;

private:
    void DuplicatesActionExecute();
    void OverlapActionExecute();

    TDuplicatesPanel* FPanel = nullptr;
    QDockWidget* FDock = nullptr;
};

} // namespace orlenta
