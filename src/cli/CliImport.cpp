// orlenta-cli import: a new disc from a list of files, saved as add saves.

#include "CliCommon.h"
#include "core/exchange/ListImport.h"

#include <memory>

namespace orlenta::cli {

namespace {

struct TImportOptions {
    std::string File;
    std::string List;
    std::optional<std::string> Title;
    std::string Format;
    bool ForSpreadsheets = false;
};

void RunImport(const TImportOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    THeldDataFileLock lock(session, options.File);
    OpenOrNewCatalogue(session, options.File);
    // "-": standard input, read through its name so that it is checked as any list is.
    const std::string list = options.List == "-" ? "/dev/stdin" : options.List;
    const TListFormat format = options.Format.empty()      ? GuessListFormat(options.List)
                               : options.Format == "csv"   ? TListFormat::Csv
                               : options.Format == "find0" ? TListFormat::Find0
                                                           : TListFormat::Find;
    ImportFileList(session, list, format, options.Title, options.ForSpreadsheets);
    SaveCatalogue(session, options.File);
}

} // namespace

void RegisterImportCommand(CLI::App& app) {
    auto options = std::make_shared<TImportOptions>();
    CLI::App* command = app.add_subcommand(
        "import",
        "Add a disc to FILE (created when missing) from the list of files LIST, and save: a CSV "
        "whose header names a path column (as export writes it, or with size and date columns "
        "of other names), or what find prints, plainly or with -printf '%y %s %T@ %p\\n'. One "
        "path a line cannot hold a name with a line break: give find -print0 (or \\0 in "
        "-printf) for those, a list with NUL bytes is read as NUL-ended records. LIST is a "
        "regular file or a pipe, - for standard input. Paths lose empty, . and .. components. "
        "A malformed line, one longer than 1 MiB, or a path that is both a file and a folder "
        "stops the import with its line number; nothing is added. A path listed twice is one "
        "entry.");
    command->add_option("FILE", options->File, "Data file to add the disc to")->required();
    command->add_option("LIST", options->List, "List of files to read; - for standard input")
        ->required();
    command->add_option("--title", options->Title,
                        "Disc title (default: the title in the list, else the list's name)");
    command
        ->add_option("--format", options->Format,
                     "csv, find or find0 (NUL-ended records; default: csv for a LIST ending in "
                     ".csv, else find, which reads NUL-ended records when the list holds a NUL)")
        ->check(CLI::IsMember({"csv", "find", "find0"}));
    command->add_flag("--for-spreadsheets", options->ForSpreadsheets,
                      "csv: take one leading apostrophe off every value, as export "
                      "--for-spreadsheets put it there");
    command->callback([options] { RunImport(*options); });
}

} // namespace orlenta::cli
