// orlenta-cli set: edit the catalogue's title and memo, and save.

#include "CliCommon.h"

#include <memory>

namespace orlenta::cli {

namespace {

struct TSetOptions {
    std::string File;
    std::optional<std::string> Title;
    std::optional<std::string> Memo;
};

void RunSet(const TSetOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    THeldDataFileLock lock(session, options.File);
    OpenCatalogue(session, options.File);
    SetGivenIndexProperties(session.XMLIndexData(), options.Title, options.Memo);
    SaveCatalogue(session, options.File);
}

} // namespace

void RegisterSetCommand(CLI::App& app) {
    auto options = std::make_shared<TSetOptions>();
    CLI::App* command = app.add_subcommand(
        "set", "Set the catalogue's title and memo as the Index properties dialog does, and save. "
               "A value not given is kept.");
    command->add_option("FILE", options->File, "Data file to edit")->required();
    command->add_option("--title", options->Title,
                        "Catalogue title (trimmed; \"Untitled\" when empty)");
    command->add_option("--memo", options->Memo,
                        "Catalogue memo (escape sequences are not decoded)");
    command->callback([options] { RunSet(*options); });
}

} // namespace orlenta::cli
