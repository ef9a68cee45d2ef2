// orlenta-cli set: edit the catalogue's title and memo, and save.

#include "CatalogueCommand.h"

namespace orlenta::cli {

namespace {

class TSetCommand final : public TCatalogueCommand {
public:
    TSetCommand()
        : TCatalogueCommand({.Name = "set",
                             .Description = "Set the catalogue's title and memo as the Index "
                                            "properties dialog does, and save. A value not given "
                                            "is kept.",
                             .FileHelp = "Data file to edit",
                             .Use = TCatalogueUse::Write}) {}

private:
    void AddOptions(CLI::App& command) override {
        command.add_option("--title", FTitle, "Catalogue title (trimmed; \"Untitled\" when empty)");
        command.add_option("--memo", FMemo, "Catalogue memo (escape sequences are not decoded)");
    }

    bool Run(TCatalogueSession& session) override {
        SetGivenIndexProperties(session.XMLIndexData(), FTitle, FMemo);
        return true;
    }

    std::optional<std::string> FTitle;
    std::optional<std::string> FMemo;
};

} // namespace

void RegisterSetCommand(CLI::App& app) {
    AddCommand<TSetCommand>(app);
}

} // namespace orlenta::cli
