// orlenta-cli discs: one line per disc.

#include "CliCommon.h"
#include "TerminalText.h"

#include <iostream>
#include <memory>
#include <sstream>

namespace orlenta::cli {

namespace {

void RunDiscs(const std::string& file) {
    TCliHost host;
    TCatalogueSession session(host);
    OpenCatalogue(session, file);
    const TXMLDiscsType discs = session.XMLIndexData.Discs();
    for (int i = 0; i < discs.Count(); ++i) {
        const TXMLDiscType disc = discs.Disc(i);
        // Values as stored: the memo stays in its escaped single-line form, so that every disc
        // keeps to one line.
        std::ostringstream line;
        line << i << '\t' << disc.Root().ID() << '\t' << disc.Title() << '\t' << disc.Vendor()
             << '\t' << disc.MediaType() << '\t' << disc.CreationDate() << '\t' << disc.ReadDate()
             << '\t' << disc.DirCount() << '\t' << disc.FileCount() << '\t' << disc.Memo() << '\n';
        std::cout << ForStdout(line.str());
    }
}

} // namespace

void RegisterDiscsCommand(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand(
        "discs", "List the discs in document order, one line each, tab-separated: index (from 0), "
                 "root directory ID, Title, Vendor, MediaType, CreationDate, ReadDate, DirCount, "
                 "FileCount, Memo (escaped, as stored).");
    command->add_option("FILE", *file, "Data file to read")->required();
    command->callback([file] { RunDiscs(*file); });
}

} // namespace orlenta::cli
