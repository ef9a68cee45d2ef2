// orlenta-cli rescan: a disc read again from where it was read, its changes listed, and saved.

#include "CatalogueCommand.h"
#include "TerminalText.h"
#include "core/base/PathText.h"
#include "core/reading/DiscRescan.h"

#include <iostream>

namespace orlenta::cli {

namespace {

char ChangeSign(TChangeKind kind) {
    switch (kind) {
    case TChangeKind::Added: return '+';
    case TChangeKind::Removed: return '-';
    case TChangeKind::Changed: return '~';
    }
    return '?';
}

class TRescanCommand final : public TCatalogueCommand {
public:
    TRescanCommand()
        : TCatalogueCommand(
              {.Name = "rescan",
               .Description = "Read disc INDEX of FILE again from where it was read (or from "
                              "SOURCE), list what changed (+ added, - removed, ~ changed size or "
                              "date) and save it. Its title, vendor, media type, creation date "
                              "and memo stay.",
               .FileHelp = "Data file holding the disc",
               .Use = TCatalogueUse::Write,
               .OneDisc = true}) {}

private:
    void AddOptions(CLI::App& command) override {
        command.add_option("SOURCE", FSource,
                           "Directory to read (default: the one the disc was read from)");
        command.add_flag("--dry-run", FDryRun, "List the changes, but leave FILE as it is");
        command.add_flag("--force", FForce,
                         "Apply a reading that would remove every file of the disc, or whose "
                         "SOURCE is empty or an unmounted mount point (refused otherwise, as the "
                         "disc is most likely not there)");
    }

    // A dry run writes nothing: it waits only for a writer that is saving, never for readers.
    TCatalogueUse Use() const override {
        return FDryRun ? TCatalogueUse::Read : TCatalogueUse::Write;
    }

    bool Run(TCatalogueSession& session) override {
        const IXMLDiscType disc = session.XMLIndexData().Discs().Disc(Disc());
        std::string source = FSource;
        if (source.empty()) {
            const auto stored = disc.Source();
            if (!stored || stored->empty()) {
                PrintError("Disc " + std::to_string(Disc()) +
                           " does not say where it was read from; give SOURCE.");
                throw ECommandFailed();
            }
            source = std::string(*stored);
        }
        TDiscRescan rescan(session);
        if (!rescan.Read(disc, source))
            throw ECommandFailed(); // the host has shown why
        const TTreeDifference& difference = rescan.Difference();
        for (const TTreeChange& change : difference.Changes)
            std::cout << ChangeSign(change.Kind) << '\t' << ForStdout(change.Path) << '\n';
        std::cout << difference.Added << " added, " << difference.Removed << " removed, "
                  << difference.Changed << " changed\n";
        if (!rescan.UnreadableText().empty())
            std::cerr << ForStderr(rescan.UnreadableText()) << '\n';
        if (FDryRun || difference.Empty()) {
            if (rescan.Warning())
                std::cerr << ForStderr(rescan.Warning()->Text) << '\n';
            return false;
        }
        if (rescan.Warning() && !FForce) {
            PrintError(rescan.Warning()->Text + " Nothing was changed; --force applies it anyway.");
            throw ECommandFailed();
        }
        rescan.Apply(disc);
        // A SOURCE given here is where the disc is read from from now on.
        if (!FSource.empty())
            disc.SetSource(AbsolutePath(FSource));
        return true;
    }

    std::string FSource;
    bool FDryRun = false;
    bool FForce = false;
};

} // namespace

void RegisterRescanCommand(CLI::App& app) {
    AddCommand<TRescanCommand>(app);
}

} // namespace orlenta::cli
