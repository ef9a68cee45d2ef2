// orlenta-cli rescan: a disc read again from where it was read, its changes listed, and saved.

#include "CliCommon.h"
#include "TerminalText.h"
#include "core/base/PathText.h"
#include "core/reading/DiscRescan.h"

#include <iostream>
#include <memory>

namespace orlenta::cli {

namespace {

struct TRescanOptions {
    std::string File;
    int Index = -1;
    std::string Source;
    bool DryRun = false;
    bool Force = false;
};

char ChangeSign(TChangeKind kind) {
    switch (kind) {
    case TChangeKind::Added: return '+';
    case TChangeKind::Removed: return '-';
    case TChangeKind::Changed: return '~';
    }
    return '?';
}

void RunRescan(const TRescanOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    // A dry run writes nothing: it only waits for a writer that is saving.
    THeldDataFileLock lock(session, options.File,
                           options.DryRun ? TLockPurpose::Reading : TLockPurpose::Writing);
    OpenCatalogue(session, options.File);
    const TXMLDiscsType discs = session.XMLIndexData().Discs();
    const IXMLDiscType disc =
        discs.Disc(DiscIndexArgument(std::to_string(options.Index), discs.Count(), options.File));
    std::string source = options.Source;
    if (source.empty()) {
        const auto stored = disc.Source();
        if (!stored || stored->empty()) {
            PrintError("Disc " + std::to_string(options.Index) +
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
    if (options.DryRun || difference.Empty()) {
        if (rescan.Warning())
            std::cerr << ForStderr(rescan.Warning()->Text) << '\n';
        return;
    }
    if (rescan.Warning() && !options.Force) {
        PrintError(rescan.Warning()->Text + " Nothing was changed; --force applies it anyway.");
        throw ECommandFailed();
    }
    rescan.Apply(disc);
    // A SOURCE given here is where the disc is read from from now on.
    if (!options.Source.empty())
        disc.SetSource(AbsolutePath(options.Source));
    SaveCatalogue(session, options.File);
}

} // namespace

void RegisterRescanCommand(CLI::App& app) {
    auto options = std::make_shared<TRescanOptions>();
    CLI::App* command = app.add_subcommand(
        "rescan", "Read disc INDEX of FILE again from where it was read (or from SOURCE), list "
                  "what changed (+ added, - removed, ~ changed size or date) and save it. Its "
                  "title, vendor, media type, creation date and memo stay.");
    command->add_option("FILE", options->File, "Data file holding the disc")->required();
    command->add_option("INDEX", options->Index, "The disc's index, as discs prints it")
        ->required();
    command->add_option("SOURCE", options->Source,
                        "Directory to read (default: the one the disc was read from)");
    command->add_flag("--dry-run", options->DryRun, "List the changes, but leave FILE as it is");
    command->add_flag("--force", options->Force,
                      "Apply a reading that would remove every file of the disc, or whose SOURCE "
                      "is empty or an unmounted mount point (refused otherwise, as the disc is "
                      "most likely not there)");
    command->callback([options] { RunRescan(*options); });
}

} // namespace orlenta::cli
