// orlenta-cli tree: the directory tree of every disc.

#include "CliCommon.h"
#include "TerminalText.h"
#include "core/catalogue/DirectoryWalk.h"

#include <iostream>
#include <memory>
#include <string>

namespace orlenta::cli {

namespace {

struct TTreeOptions {
    std::string File;
    bool Files = false;
};

void PrintIndented(int depth, std::string_view text, std::string_view suffix = {}) {
    std::cout << std::string(static_cast<size_t>(depth) * 2, ' ');
    if (StdoutIsTerminal())
        std::cout << TerminalText(text);
    else
        std::cout << text;
    std::cout << suffix << '\n';
}

// Prints a disc's directories below its title, depth first in document order, each directory's
// file names before its subdirectories.
void PrintDisc(const TXMLDiscType& disc, bool withFiles) {
    PrintIndented(0, disc.Title());
    WalkDirectories(disc.Root(), TWalkAccess::AccessLayer,
                    [withFiles](const TXMLDirectoryType& directory, int depth) {
                        if (depth > 0)
                            PrintIndented(depth, directory.Name(), "/");
                        if (withFiles) {
                            for (const TXMLFilenameType file : directory.Filenames())
                                PrintIndented(depth + 1, file.Text());
                        }
                        return true;
                    });
}

void RunTree(const TTreeOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    OpenCatalogue(session, options.File);
    const TXMLDiscsType discs = session.XMLIndexData.Discs();
    for (int i = 0; i < discs.Count(); ++i)
        PrintDisc(discs.Disc(i), options.Files);
}

} // namespace

void RegisterTreeCommand(CLI::App& app) {
    auto options = std::make_shared<TTreeOptions>();
    CLI::App* command = app.add_subcommand(
        "tree", "Print each disc's title and its directory tree in document order, indented by "
                "two blanks per level; directory names end in a slash.");
    command->add_option("FILE", options->File, "Data file to read")->required();
    command->add_flag("--files", options->Files, "Also list the file names of every directory");
    command->callback([options] { RunTree(*options); });
}

} // namespace orlenta::cli
