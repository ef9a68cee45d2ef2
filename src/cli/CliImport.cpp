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
};

void RunImport(const TImportOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    THeldDataFileLock lock(session, options.File);
    OpenOrNewCatalogue(session, options.File);
    const TListFormat format = options.Format.empty()    ? GuessListFormat(options.List)
                               : options.Format == "csv" ? TListFormat::Csv
                                                         : TListFormat::Find;
    ImportFileList(session, options.List, format, options.Title);
    SaveCatalogue(session, options.File);
}

} // namespace

void RegisterImportCommand(CLI::App& app) {
    auto options = std::make_shared<TImportOptions>();
    CLI::App* command = app.add_subcommand(
        "import",
        "Add a disc to FILE (created when missing) from the list of files LIST, and save: a CSV "
        "whose header names a path column (as export writes it, or with size and date columns "
        "of other names), or what find prints, plainly or with -printf '%y %s %T@ %p\\n'. A "
        "malformed line stops the import with its line number; nothing is added.");
    command->add_option("FILE", options->File, "Data file to add the disc to")->required();
    command->add_option("LIST", options->List, "List of files to read")->required();
    command->add_option("--title", options->Title,
                        "Disc title (default: the title in the list, else the list's name)");
    command
        ->add_option("--format", options->Format,
                     "csv or find (default: csv for a LIST ending in .csv, else find)")
        ->check(CLI::IsMember({"csv", "find"}));
    command->callback([options] { RunImport(*options); });
}

} // namespace orlenta::cli
