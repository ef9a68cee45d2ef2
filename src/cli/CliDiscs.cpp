// orlenta-cli discs: one line per disc.

#include "CatalogueCommand.h"
#include "TerminalText.h"

#include <iostream>
#include <sstream>

namespace orlenta::cli {

namespace {

class TDiscsCommand final : public TCatalogueCommand {
public:
    TDiscsCommand()
        : TCatalogueCommand({.Name = "discs",
                             .Description =
                                 "List the discs in document order, one line each, tab-separated: "
                                 "index (from 0), root directory ID, Title, Vendor, MediaType, "
                                 "CreationDate, ReadDate, DirCount, FileCount, Memo (escaped, as "
                                 "stored).",
                             .FileHelp = "Data file to read",
                             .Use = TCatalogueUse::Read}) {}

private:
    void AddOptions(CLI::App& command) override {
        command.add_flag("--long", FLong,
                         "Add the disc's total size in bytes as a last column (empty when not "
                         "recorded)");
    }

    bool Run(TCatalogueSession& session) override {
        const TXMLDiscsType discs = session.XMLIndexData().Discs();
        for (int i = 0; i < discs.Count(); ++i) {
            const TXMLDiscType disc = discs.Disc(i);
            // Values as stored: the memo stays in its escaped single-line form, so that every
            // disc keeps to one line.
            std::ostringstream line;
            line << i << '\t' << disc.Root().ID() << '\t' << disc.Title() << '\t' << disc.Vendor()
                 << '\t' << disc.MediaType() << '\t' << disc.CreationDate() << '\t'
                 << disc.ReadDate() << '\t' << disc.DirCount() << '\t' << disc.FileCount() << '\t'
                 << disc.Memo();
            // Last, so that every column before keeps its place.
            if (FLong)
                line << '\t' << RecordedSizeText(disc.Root().Size());
            line << '\n';
            std::cout << ForStdout(line.str());
        }
        return false;
    }

    bool FLong = false;
};

} // namespace

void RegisterDiscsCommand(CLI::App& app) {
    AddCommand<TDiscsCommand>(app);
}

} // namespace orlenta::cli
