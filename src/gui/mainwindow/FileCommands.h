#pragma once

// The File menu: New, Open, Save, Save As, Properties (the catalogue's own title and memo) and
// Exit, with the question that guards unsaved changes.

#include "gui/mainwindow/CommandGroup.h"

namespace orlenta {

class TFileCommands : public TCommandGroup {
    Q_OBJECT
public:
    TFileCommands(ICommandHost& host, const std::vector<QIcon>& images);

    // Asks whether to save unsaved changes; true when the caller may go on.
    bool ConfirmSave();
    // The changed flag rules Save by itself, busy or not.
    void FileChangedSet(bool changed);
    void SetBusy(bool busy) override;

private:
    void FileNewActionExecute();
    void FileOpenActionExecute();
    void FileSaveActionExecute();
    void FileSaveAsActionExecute();
    void FileInfoActionExecute();
    void FileExitActionExecute();

    QAction* FileSaveAction = nullptr;
};

} // namespace orlenta
