// orlenta-cli overlap: how much of one disc stands on the other discs.

#include "CliCommon.h"
#include "TerminalText.h"
#include "core/search/Overlap.h"

#include <memory>

namespace orlenta::cli {

namespace {

struct TOverlapOptions {
    std::string File;
    std::string Index;
};

void RunOverlap(const TOverlapOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    OpenCatalogue(session, options.File);
    const TNameIndex index(session.XMLIndexData());
    const int disc =
        DiscIndexArgument(options.Index, static_cast<int>(index.DiscCount()), options.File);
    const TOverlap overlap = FindOverlap(index, static_cast<std::uint32_t>(disc));
    TStdoutBuffer out;
    for (const TOverlapCount& count : overlap.Discs) {
        AppendOverlapLine(out.Text(), overlap, count, index.Disc(count.Disc).Title);
        out.Appended();
    }
    AppendOverlapLine(out.Text(), overlap, overlap.AllOthers, "all other discs");
}

} // namespace

void RegisterOverlapCommand(CLI::App& app) {
    auto options = std::make_shared<TOverlapOptions>();
    CLI::App* command = app.add_subcommand(
        "overlap",
        "Show how much of disc INDEX stands on the other discs: one line per other disc that "
        "holds any of its files, tab-separated: that disc's index, its title, the files and "
        "bytes of disc INDEX found there, and their shares of its files and bytes; then a line "
        "for all other discs together (index *). A file is found where a file has the same "
        "name (byte for byte) and, when both have a size recorded, the same size. A share is "
        "empty when the disc records no bytes.");
    command->add_option("FILE", options->File, "Data file to read")->required();
    command->add_option("INDEX", options->Index, "The disc's index, as discs prints it")
        ->required();
    command->callback([options] { RunOverlap(*options); });
}

} // namespace orlenta::cli
