// orlenta-cli export: the catalogue, or one disc, as CSV, JSON or a web page.

#include "CliCommon.h"
#include "core/exchange/ExportFile.h"

#include <iostream>
#include <memory>

namespace orlenta::cli {

namespace {

struct TExportOptions {
    std::string File;
    std::string Format;
    int Disc = -1;
    std::string Output;
    bool ForSpreadsheets = false;
};

void RunExport(const TExportOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    OpenCatalogue(session, options.File);
    const IXMLOrlentaDataType& root = session.XMLIndexData();
    TExportScope scope;
    scope.ForSpreadsheets = options.ForSpreadsheets;
    if (options.Disc >= 0) {
        if (options.Disc >= root.Discs().Count()) {
            PrintError("There is no disc " + std::to_string(options.Disc) + " in \"" +
                       options.File + "\"");
            throw ECommandFailed();
        }
        scope.Disc = options.Disc;
    }
    const TExportFormat format = *ExportFormatNamed(options.Format);
    if (!options.Output.empty()) {
        ExportToFile(root, scope, format, options.Output, options.File);
        return;
    }
    std::ios::sync_with_stdio(false);
    WriteCatalogue(root, scope, format, std::cout);
}

} // namespace

void RegisterExportCommand(CLI::App& app) {
    auto options = std::make_shared<TExportOptions>();
    CLI::App* command = app.add_subcommand(
        "export", "Write the catalogue, or one disc, as CSV (a row per directory and file), JSON "
                  "(the discs and their trees) or one self-contained web page, to standard "
                  "output or to a file.");
    command->add_option("FILE", options->File, "Data file to read")->required();
    command->add_option("--format", options->Format, "csv, json or html")
        ->required()
        ->check(CLI::IsMember({"csv", "json", "html"}));
    command->add_option("--disc", options->Disc, "Only the disc at this index (from 0)")
        ->check(CLI::NonNegativeNumber);
    command->add_option("-o,--output", options->Output,
                        "File to write (replaced whole when the export is complete; never the "
                        "catalogue FILE itself); standard output without it");
    command->add_flag("--for-spreadsheets", options->ForSpreadsheets,
                      "csv: put an apostrophe before every value that begins with =, +, -, @, "
                      "a tab, a carriage return or an apostrophe, so that a spreadsheet takes "
                      "none as a formula; import --for-spreadsheets reads it back exactly");
    command->callback([options] { RunExport(*options); });
}

} // namespace orlenta::cli
