#pragma once

// The Disc menu's own commands: Add (read a disc into the catalogue, with the progress window
// and Stop reading), Remove, Rescan (read the selected disc again, show what changed and on
// request put the new reading in place) and Edit properties.

#include "gui/mainwindow/CommandGroup.h"

#include <memory>

namespace orlenta {

class TDiscReading;
class TDiscRescan;
class TReadingDiscForm;

class TDiscCommands : public TCommandGroup {
    Q_OBJECT
public:
    // progress: the window's reading-progress window, shown while a disc is read.
    TDiscCommands(ICommandHost& host, const std::vector<QIcon>& images, TReadingDiscForm& progress);
    ~TDiscCommands() override;

    // The reading behind Add, with the handlers of its directory reader (DirReader()).
    TDiscReading& DiscReading() const { return *FDiscReading; }
    // Stop reading is the one command that busy mode leaves in use. Rescan is in use outside it
    // while a disc is selected: every change of the selection ends in leaving busy mode.
    void SetBusy(bool busy) override;

private:
    void CreateDiscReading();
    void DiscAddActionExecute();
    void DiscRemoveActionExecute();
    void DiscRescanActionExecute();
    void DiscInfoActionExecute();
    void DiscStopReadingActionExecute();

    TReadingDiscForm& FProgress;
    std::unique_ptr<TDiscReading> FDiscReading;
    // The rescan whose reading runs, which Stop reading abandons; null outside its reading.
    TDiscRescan* FRunningRescan = nullptr;
    QAction* DiscRescanAction = nullptr;
    QAction* DiscStopReadingAction = nullptr;
};

} // namespace orlenta
