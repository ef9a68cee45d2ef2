// orlenta-cli new: a new catalogue, saved to a data file.

#include "CatalogueCommand.h"
#include "core/base/OrlentaError.h"

#include <cerrno>
#include <filesystem>

namespace orlenta::cli {

namespace {

class TNewCommand final : public TCatalogueCommand {
public:
    // A writer like the others, so that of two new catalogues under one name the second finds
    // the first; but what FILE holds is never loaded, only looked at.
    TNewCommand()
        : TCatalogueCommand({.Name = "new",
                             .Description = "Create a new, empty catalogue (title \"Untitled\" "
                                            "unless given) and save it to FILE.",
                             .FileHelp = "Data file to create",
                             .Use = TCatalogueUse::Write,
                             .Start = TCatalogueStart::New}) {}

private:
    void AddOptions(CLI::App& command) override {
        command.add_option("--title", FTitle, "Catalogue title (trimmed; \"Untitled\" when empty)");
        command.add_option("--memo", FMemo, "Catalogue memo (escape sequences are not decoded)");
        command.add_flag("--force", FForce, "Overwrite FILE when it exists");
    }

    bool Run(TCatalogueSession& session) override {
        std::error_code ignored;
        // A dangling link counts as taken too: saving would create the file it points to.
        if (!FForce && std::filesystem::exists(std::filesystem::symlink_status(File(), ignored)))
            throw CannotCreateFileError(File(), EEXIST);
        // The window's first tree rebuild gives a new catalogue its empty Discs; the file written
        // here is the one the window would write.
        session.XMLIndexData().Discs();
        // Giving a title or memo is confirming the Index properties dialog that follows New.
        if (FTitle || FMemo)
            SetGivenIndexProperties(session.XMLIndexData(), FTitle, FMemo);
        return true;
    }

    std::optional<std::string> FTitle;
    std::optional<std::string> FMemo;
    bool FForce = false;
};

} // namespace

void RegisterNewCommand(CLI::App& app) {
    AddCommand<TNewCommand>(app);
}

} // namespace orlenta::cli
