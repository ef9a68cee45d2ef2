// orlenta-cli new: a new catalogue, saved to a data file.

#include "CliCommon.h"
#include "core/base/OrlentaError.h"

#include <cerrno>
#include <filesystem>
#include <memory>

namespace orlenta::cli {

namespace {

struct TNewOptions {
    std::string File;
    std::optional<std::string> Title;
    std::optional<std::string> Memo;
    bool Force = false;
};

void RunNew(const TNewOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    // Of two new catalogues under one name, the second finds the first.
    THeldDataFileLock lock(session, options.File);
    std::error_code ignored;
    // A dangling link counts as taken too: saving would create the file it points to.
    if (!options.Force &&
        std::filesystem::exists(std::filesystem::symlink_status(options.File, ignored)))
        throw CannotCreateFileError(options.File, EEXIST);

    session.NewCatalogue();
    // The window's first tree rebuild gives a new catalogue its empty Discs; the file written
    // here is the one the window would write.
    session.XMLIndexData().Discs();
    // Giving a title or memo is confirming the Index properties dialog that follows New.
    if (options.Title || options.Memo)
        SetGivenIndexProperties(session.XMLIndexData(), options.Title, options.Memo);
    SaveCatalogue(session, options.File);
}

} // namespace

void RegisterNewCommand(CLI::App& app) {
    auto options = std::make_shared<TNewOptions>();
    CLI::App* command = app.add_subcommand(
        "new",
        "Create a new, empty catalogue (title \"Untitled\" unless given) and save it to FILE.");
    command->add_option("FILE", options->File, "Data file to create")->required();
    command->add_option("--title", options->Title,
                        "Catalogue title (trimmed; \"Untitled\" when empty)");
    command->add_option("--memo", options->Memo,
                        "Catalogue memo (escape sequences are not decoded)");
    command->add_flag("--force", options->Force, "Overwrite FILE when it exists");
    command->callback([options] { RunNew(*options); });
}

} // namespace orlenta::cli
