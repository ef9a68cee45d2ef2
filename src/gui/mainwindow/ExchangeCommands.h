#pragma once

// The File menu's Export... and Import file list...: the catalogue or the selected disc written
// as CSV, JSON or a web page, and a new disc made from a list of files.

#include "gui/mainwindow/CommandGroup.h"

namespace orlenta {

class TExchangeCommands : public TCommandGroup {
    Q_OBJECT
public:
    TExchangeCommands(ICommandHost& host, const std::vector<QIcon>& images);

private:
    void FileExportActionExecute();
    void FileImportListActionExecute();
};

} // namespace orlenta
