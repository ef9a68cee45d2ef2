#pragma once

// The Disc menu's own commands: Add (read a disc into the catalogue, with the progress window
// and Stop reading), Remove and Edit properties.

#include "gui/mainwindow/CommandGroup.h"

#include <memory>

namespace orlenta {

class TDiscReading;
class TReadingDiscForm;

class TDiscCommands : public TCommandGroup {
    Q_OBJECT
public:
    // progress: the window's reading-progress window, shown while a disc is read.
    TDiscCommands(ICommandHost& host, const std::vector<QIcon>& images, TReadingDiscForm& progress);
    ~TDiscCommands() override;

    // The reading behind Add, with the handlers of its directory reader (DirReader()).
    TDiscReading& DiscReading() const { return *FDiscReading; }
    // Stop reading is the one command that busy mode leaves in use.
    void SetBusy(bool busy) override;

private:
    void CreateDiscReading();
    void DiscAddActionExecute();
    void DiscRemoveActionExecute();
    void DiscInfoActionExecute();
    void DiscStopReadingActionExecute();

    TReadingDiscForm& FProgress;
    std::unique_ptr<TDiscReading> FDiscReading;
    QAction* DiscStopReadingAction = nullptr;
};

} // namespace orlenta
