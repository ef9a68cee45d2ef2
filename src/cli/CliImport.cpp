// orlenta-cli import: a new disc from a list of files, saved as add saves.

#include "CatalogueCommand.h"
#include "core/exchange/ListImport.h"

namespace orlenta::cli {

namespace {

class TImportCommand final : public TCatalogueCommand {
public:
    TImportCommand()
        : TCatalogueCommand({.Name = "import",
                             .Description = kDescription,
                             .FileHelp = "Data file to add the disc to",
                             .Use = TCatalogueUse::Write,
                             .Start = TCatalogueStart::LoadOrNew}) {}

private:
    static constexpr const char* kDescription =
        "Add a disc to FILE (created when missing) from the list of files LIST, and save: a CSV "
        "whose header names a path column (as export writes it, or with size and date columns "
        "of other names), or what find prints, plainly or with -printf '%y %s %T@ %p\\n'. One "
        "path a line cannot hold a name with a line break: give find -print0 (or \\0 in "
        "-printf) for those, a list with NUL bytes is read as NUL-ended records. LIST is a "
        "regular file or a pipe, - for standard input. Paths lose empty, . and .. components. "
        "A malformed line, one longer than 1 MiB, or a path that is both a file and a folder "
        "stops the import with its line number; nothing is added. A path listed twice is one "
        "entry.";

    void AddOptions(CLI::App& command) override {
        command.add_option("LIST", FList, "List of files to read; - for standard input")
            ->required();
        command.add_option("--title", FTitle,
                           "Disc title (default: the title in the list, else the list's name)");
        command
            .add_option("--format", FFormat,
                        "csv, find or find0 (NUL-ended records; default: csv for a LIST ending in "
                        ".csv, else find, which reads NUL-ended records when the list holds a "
                        "NUL)")
            ->check(CLI::IsMember({"csv", "find", "find0"}));
        command.add_flag("--for-spreadsheets", FForSpreadsheets,
                         "csv: take one leading apostrophe off every value, as export "
                         "--for-spreadsheets put it there");
    }

    bool Run(TCatalogueSession& session) override {
        // "-": standard input, read through its name so that it is checked as any list is.
        const std::string list = FList == "-" ? "/dev/stdin" : FList;
        const TListFormat format = FFormat.empty()      ? GuessListFormat(FList)
                                   : FFormat == "csv"   ? TListFormat::Csv
                                   : FFormat == "find0" ? TListFormat::Find0
                                                        : TListFormat::Find;
        ImportFileList(session, list, format, FTitle, FForSpreadsheets);
        return true;
    }

    std::string FList;
    std::optional<std::string> FTitle;
    std::string FFormat;
    bool FForSpreadsheets = false;
};

} // namespace

void RegisterImportCommand(CLI::App& app) {
    AddCommand<TImportCommand>(app);
}

} // namespace orlenta::cli
