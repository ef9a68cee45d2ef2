#include "gui/mainwindow/ExchangeCommands.h"

#include "core/catalogue/CatalogueSession.h"
#include "core/exchange/ExportFile.h"
#include "core/exchange/ListImport.h"
#include "gui/UserPrompts.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CommandHost.h"
#include "gui/mainwindow/ExportDialogForm.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

namespace orlenta {

namespace {

// The file dialog's filter and suffix of each format.
TFileDialogRequest ExportFileRequest(TExportFormat format) {
    TFileDialogRequest request;
    request.Save = true;
    request.Title = QCoreApplication::translate("orlenta::TExchangeCommands", "Export");
    switch (format) {
    case TExportFormat::Csv:
        request.Filter =
            QCoreApplication::translate("orlenta::TExchangeCommands", "CSV files (*.csv)");
        request.DefaultSuffix = QStringLiteral("csv");
        break;
    case TExportFormat::Json:
        request.Filter =
            QCoreApplication::translate("orlenta::TExchangeCommands", "JSON files (*.json)");
        request.DefaultSuffix = QStringLiteral("json");
        break;
    case TExportFormat::Html:
        request.Filter =
            QCoreApplication::translate("orlenta::TExchangeCommands", "Web pages (*.html *.htm)");
        request.DefaultSuffix = QStringLiteral("html");
        break;
    }
    return request;
}

} // namespace

TExchangeCommands::TExchangeCommands(ICommandHost& host, const std::vector<QIcon>& images)
    : TCommandGroup(host, images, "ExchangeCommands") {
    AddCommand(
        {"FileExportAction", "File", QT_TRANSLATE_NOOP("Command", "&Export..."), nullptr, -1},
        InMenu, [this] { FileExportActionExecute(); });
    AddCommand({"FileImportListAction", "File",
                QT_TRANSLATE_NOOP("Command", "&Import file list..."), nullptr, -1},
               InMenu, [this] { FileImportListActionExecute(); });
}

void TExchangeCommands::FileExportActionExecute() {
    const int disc = SelectedDiscIndex();
    TExportDialogForm dialog(&FHost.Window(), disc >= 0);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TExportRequest request = dialog.Request();
    const QString path =
        FHost.Prompts().FileName(&FHost.Window(), ExportFileRequest(request.Format));
    if (path.isEmpty())
        return;
    TExportScope scope;
    if (request.SelectedDisc && disc >= 0)
        scope.Disc = disc;
    scope.ForSpreadsheets = request.ForSpreadsheets;
    const TCatalogueSession& session = FHost.Session();
    ExportToFile(session.XMLIndexData(), scope, request.Format, ToLocalPath(path),
                 session.OrlentaFilename());
}

void TExchangeCommands::FileImportListActionExecute() {
    TFileDialogRequest request;
    request.Title = tr("Import file list");
    request.Filter = tr("File lists (*.csv *.txt *.lst);;All files (*)");
    const QString path = FHost.Prompts().FileName(&FHost.Window(), request);
    if (path.isEmpty())
        return;
    const std::string list = ToLocalPath(path);
    TCatalogueSession& session = FHost.Session();
    if (!session.XMLIndexData())
        FHost.NewCatalogue();
    ImportFileList(session, list, GuessListFormat(list), std::nullopt);
    // As after Disc, Add: the tree is rebuilt with the new disc selected, Find all follows and
    // the catalogue is marked changed.
    FHost.ReadyHandler();
}

} // namespace orlenta
