// orlenta-cli export: the catalogue, or one disc, as CSV, JSON or a web page.

#include "CatalogueCommand.h"
#include "core/exchange/ExportFile.h"

#include <iostream>

namespace orlenta::cli {

namespace {

class TExportCommand final : public TCatalogueCommand {
public:
    TExportCommand()
        : TCatalogueCommand(
              {.Name = "export",
               .Description = "Write the catalogue, or one disc, as CSV (a row per directory and "
                              "file), JSON (the discs and their trees) or one self-contained web "
                              "page, to standard output or to a file.",
               .FileHelp = "Data file to read",
               .Use = TCatalogueUse::Read}) {}

private:
    void AddOptions(CLI::App& command) override {
        command.add_option("--format", FFormat, "csv, json or html")
            ->required()
            ->check(CLI::IsMember({"csv", "json", "html"}));
        command.add_option("--disc", FOnlyDisc, "Only the disc at this index (from 0)")
            ->check(CLI::NonNegativeNumber);
        command.add_option("-o,--output", FOutput,
                           "File to write (replaced whole when the export is complete; never the "
                           "catalogue FILE itself); standard output without it");
        command.add_flag("--for-spreadsheets", FForSpreadsheets,
                         "csv: put an apostrophe before every value that begins with =, +, -, @, "
                         "a tab, a carriage return or an apostrophe, so that a spreadsheet takes "
                         "none as a formula; import --for-spreadsheets reads it back exactly");
    }

    bool Run(TCatalogueSession& session) override {
        const IXMLOrlentaDataType& root = session.XMLIndexData();
        TExportScope scope;
        scope.ForSpreadsheets = FForSpreadsheets;
        if (FOnlyDisc >= 0) {
            if (FOnlyDisc >= root.Discs().Count()) {
                PrintError("There is no disc " + std::to_string(FOnlyDisc) + " in \"" + File() +
                           "\"");
                throw ECommandFailed();
            }
            scope.Disc = FOnlyDisc;
        }
        const TExportFormat format = *ExportFormatNamed(FFormat);
        if (!FOutput.empty()) {
            ExportToFile(root, scope, format, FOutput, File());
            return false;
        }
        std::ios::sync_with_stdio(false);
        WriteCatalogue(root, scope, format, std::cout);
        return false;
    }

    std::string FFormat;
    int FOnlyDisc = -1;
    std::string FOutput;
    bool FForSpreadsheets = false;
};

} // namespace

void RegisterExportCommand(CLI::App& app) {
    AddCommand<TExportCommand>(app);
}

} // namespace orlenta::cli
