#pragma once

// Duplicates (the panel under the tree that lists the files standing more than once) and
// Overlap (how much of the selected disc stands on the other discs).

#include "gui/mainwindow/CommandGroup.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

class QDockWidget;

namespace orlenta {

class TDuplicatesPanel;
class TNameIndex;
class TSharedNameIndex;
struct TDuplicateCopy;
struct TOverlap;

class TDuplicatesCommands : public TCommandGroup {
    Q_OBJECT
public:
    // names: the index shared with the window's other views.
    TDuplicatesCommands(ICommandHost& host, const std::vector<QIcon>& images,
                        std::shared_ptr<TSharedNameIndex> names);
    // Waits for an overlap still being counted.
    ~TDuplicatesCommands() override;

    // The dock holding the panel, for the window to place; hidden until asked for.
    QDockWidget& Dock() const { return *FDock; }
    void SetBusy(bool busy) override;
    void CatalogueChanged() override;

private:
    void DuplicatesActionExecute();
    void OverlapActionExecute();
    // Counts the overlap asked for on a thread of its own, once the index is built.
    void CountOverlap();
    void ShowOverlap(const std::shared_ptr<const TNameIndex>& index, const TOverlap& overlap,
                     double milliseconds, unsigned ask);

    std::shared_ptr<TSharedNameIndex> FNames;
    // The overlap asked for last: its disc, when, and a number that a later ask or a change of
    // the catalogue moves on, so that an answer to an earlier one is dropped.
    std::uint32_t FOverlapDisc = 0;
    std::chrono::steady_clock::time_point FOverlapAskedAt;
    unsigned FOverlapAsk = 0;
    bool FOverlapWanted = false;
    std::thread FOverlapWorker;
    TDuplicatesPanel* FPanel = nullptr;
    QDockWidget* FDock = nullptr;
};

} // namespace orlenta
