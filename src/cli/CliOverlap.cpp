// orlenta-cli overlap: how much of one disc stands on the other discs.

#include "CatalogueCommand.h"
#include "TerminalText.h"
#include "core/search/Overlap.h"

namespace orlenta::cli {

namespace {

class TOverlapCommand final : public TCatalogueCommand {
public:
    TOverlapCommand()
        : TCatalogueCommand(
              {.Name = "overlap",
               .Description =
                   "Show how much of disc INDEX stands on the other discs: one line per other "
                   "disc that holds any of its files, tab-separated: that disc's index, its "
                   "title, the files and bytes of disc INDEX found there, and their shares of its "
                   "files and bytes; then a line for all other discs together (index *). A file "
                   "is found where a file has the same name (byte for byte) and, when both have a "
                   "size recorded, the same size. A share is empty when the disc records no "
                   "bytes.",
               .FileHelp = "Data file to read",
               .Use = TCatalogueUse::Read,
               .OneDisc = true}) {}

private:
    bool Run(TCatalogueSession& session) override {
        const TNameIndex index(session.XMLIndexData());
        const TOverlap overlap = FindOverlap(index, static_cast<std::uint32_t>(Disc()));
        TStdoutBuffer out;
        for (const TOverlapCount& count : overlap.Discs) {
            AppendOverlapLine(out.Text(), overlap, count, index.Disc(count.Disc).Title);
            out.Appended();
        }
        AppendOverlapLine(out.Text(), overlap, overlap.AllOthers, "all other discs");
        return false;
    }
};

} // namespace

void RegisterOverlapCommand(CLI::App& app) {
    AddCommand<TOverlapCommand>(app);
}

} // namespace orlenta::cli
