// orlenta-cli tree: the directory tree of every disc.

#include "CatalogueCommand.h"
#include "TerminalText.h"
#include "core/catalogue/DirectoryWalk.h"

#include <iostream>
#include <string>

namespace orlenta::cli {

namespace {

void PrintIndented(int depth, std::string_view text, std::string_view suffix = {}) {
    std::cout << std::string(static_cast<size_t>(depth) * 2, ' ');
    if (StdoutIsTerminal())
        std::cout << TerminalText(text);
    else
        std::cout << text;
    std::cout << suffix << '\n';
}

// With --long, what follows a name: a tab, the recorded size, a tab and the recorded time, each
// empty when not recorded; without it nothing.
template <typename TRecorded>
std::string LongFields(bool isLong, const TRecorded& element, std::string_view suffix = {}) {
    std::string fields(suffix);
    if (isLong) {
        fields += '\t';
        fields += RecordedSizeText(element.Size());
        fields += '\t';
        fields += RecordedModifiedText(element.Modified());
    }
    return fields;
}

// Prints a disc's directories below its title, depth first in document order, each directory's
// file names before its subdirectories. With --long the title line carries the fields of the
// disc's Root, which stands for the disc's top directory.
void PrintDisc(const TXMLDiscType& disc, bool files, bool isLong) {
    PrintIndented(0, disc.Title(), LongFields(isLong, disc.Root()));
    WalkDirectories(disc.Root(), TWalkAccess::AccessLayer,
                    [files, isLong](const TXMLDirectoryType& directory, int depth) {
                        if (depth > 0)
                            PrintIndented(depth, directory.Name(),
                                          LongFields(isLong, directory, "/"));
                        if (files) {
                            for (const TXMLFilenameType file : directory.Filenames())
                                PrintIndented(depth + 1, file.Text(), LongFields(isLong, file));
                        }
                        return true;
                    });
}

class TTreeCommand final : public TCatalogueCommand {
public:
    TTreeCommand()
        : TCatalogueCommand({.Name = "tree",
                             .Description = "Print each disc's title and its directory tree in "
                                            "document order, indented by two blanks per level; "
                                            "directory names end in a slash.",
                             .FileHelp = "Data file to read",
                             .Use = TCatalogueUse::Read}) {}

private:
    void AddOptions(CLI::App& command) override {
        command.add_flag("--files", FFiles, "Also list the file names of every directory");
        command.add_flag("--long", FLong,
                         "After each name and each disc title a tab, the size in bytes (a "
                         "directory's: the total of the files below it), a tab and the "
                         "modification time (YYYY-MM-DDTHH:MM:SSZ, UTC); empty when not recorded");
    }

    bool Run(TCatalogueSession& session) override {
        const TXMLDiscsType discs = session.XMLIndexData().Discs();
        for (int i = 0; i < discs.Count(); ++i)
            PrintDisc(discs.Disc(i), FFiles, FLong);
        return false;
    }

    bool FFiles = false;
    bool FLong = false;
};

} // namespace

void RegisterTreeCommand(CLI::App& app) {
    AddCommand<TTreeCommand>(app);
}

} // namespace orlenta::cli
