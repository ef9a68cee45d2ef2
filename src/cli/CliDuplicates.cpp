// orlenta-cli duplicates: the file names that stand more than once, one line per copy.

#include "CatalogueCommand.h"
#include "TerminalText.h"
#include "core/search/Duplicates.h"

namespace orlenta::cli {

namespace {

class TDuplicatesCommand final : public TCatalogueCommand {
public:
    TDuplicatesCommand()
        : TCatalogueCommand(
              {.Name = "duplicates",
               .Description =
                   "List the files that stand more than once, across discs and within one, one "
                   "line per copy, tab-separated: the group's number (from 1), the size in bytes "
                   "(empty when not recorded), the disc's index (from 0), its title and the path "
                   "below the disc's top directory. Names are compared byte for byte, case "
                   "included. Files with sizes are the same when name and size are; a file "
                   "without a size (a disc read without sizes) is matched by name alone, in a "
                   "group of every file of that name. Groups come by the space they waste (size "
                   "times copies less one), largest first, then by name; groups by name alone "
                   "last. Empty files are left out.",
               .FileHelp = "Data file to read",
               .Use = TCatalogueUse::Read}) {}

private:
    void AddOptions(CLI::App& command) override {
        command
            .add_option("--min-size", FMinSize,
                        "Leave out files with a recorded size below N bytes (default 1)")
            ->check(CLI::NonNegativeNumber);
        command
            .add_option("--by", FBy,
                        "name-size (default): by name and size where sizes are recorded, by name "
                        "alone where not; name: by name alone, sizes not compared")
            ->check(CLI::IsMember({"name-size", "name"}));
    }

    bool Run(TCatalogueSession& session) override {
        const TNameIndex index(session.XMLIndexData());
        const TDuplicates duplicates =
            FindDuplicates(index, {FMinSize, FBy == "name" ? TDuplicateMatch::Name
                                                           : TDuplicateMatch::NameAndSize});
        TStdoutBuffer out;
        std::uint64_t number = 0;
        for (const TDuplicateGroup& group : duplicates.Groups) {
            AppendDuplicateLines(out.Text(), index, duplicates, group, ++number);
            out.Appended();
        }
        return false;
    }

    std::uint64_t FMinSize = 1;
    std::string FBy = "name-size";
};

} // namespace

void RegisterDuplicatesCommand(CLI::App& app) {
    AddCommand<TDuplicatesCommand>(app);
}

} // namespace orlenta::cli
