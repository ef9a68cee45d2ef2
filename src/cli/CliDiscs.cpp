// orlenta-cli discs: one line per disc.

#include "CliCommon.h"
#include "TerminalText.h"

#include <iostream>
#include <memory>
#include <sstream>

namespace orlenta::cli {

namespace {

struct TDiscsOptions {
    std::string File;
    bool Long = false;
};

void RunDiscs(const TDiscsOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    OpenCatalogue(session, options.File);
    const TXMLDiscsType discs = session.XMLIndexData().Discs();
    for (int i = 0; i < discs.Count(); ++i) {
        const TXMLDiscType disc = discs.Disc(i);
        // Values as stored: the memo stays in its escaped single-line form, so that every disc
        // keeps to one line.
        std::ostringstream line;
        line << i << '\t' << disc.Root().ID() << '\t' << disc.Title() << '\t' << disc.Vendor()
             << '\t' << disc.MediaType() << '\t' << disc.CreationDate() << '\t' << disc.ReadDate()
             << '\t' << disc.DirCount() << '\t' << disc.FileCount() << '\t' << disc.Memo();
        // Last, so that every column before keeps its place.
        if (options.Long)
            line << '\t' << RecordedSizeText(disc.Root().Size());
        line << '\n';
        std::cout << ForStdout(line.str());
    }
}

} // namespace

void RegisterDiscsCommand(CLI::App& app) {
    auto options = std::make_shared<TDiscsOptions>();
    CLI::App* command = app.add_subcommand(
        "discs", "List the discs in document order, one line each, tab-separated: index (from 0), "
                 "root directory ID, Title, Vendor, MediaType, CreationDate, ReadDate, DirCount, "
                 "FileCount, Memo (escaped, as stored).");
    command->add_option("FILE", options->File, "Data file to read")->required();
    command->add_flag("--long", options->Long,
                      "Add the disc's total size in bytes as a last column (empty when not "
                      "recorded)");
    command->callback([options] { RunDiscs(*options); });
}

} // namespace orlenta::cli
