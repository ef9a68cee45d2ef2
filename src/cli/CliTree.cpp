// orlenta-cli tree: the directory tree of every disc.

#include "CliCommon.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace orlenta::cli {

namespace {

struct TTreeOptions {
    std::string File;
    bool Files = false;
};

void PrintIndented(int depth, std::string_view text, std::string_view suffix = {}) {
    std::cout << std::string(static_cast<size_t>(depth) * 2, ' ') << text << suffix << '\n';
}

// Prints a disc's directories below its title, depth first in document order, each directory's
// file names before its subdirectories. A stack instead of recursion: a file from elsewhere may
// nest deeper than the call stack allows.
void PrintDisc(const TXMLDiscType& disc, bool withFiles) {
    PrintIndented(0, disc.Title());
    struct TPending {
        TXMLDirectoryType Directory;
        int Depth;
    };
    std::vector<TPending> pending{{disc.Root(), 0}};
    while (!pending.empty()) {
        const TPending current = pending.back();
        pending.pop_back();
        if (current.Depth > 0)
            PrintIndented(current.Depth, current.Directory.Name(), "/");
        if (withFiles) {
            const TXMLFilenamesType filenames = current.Directory.Filenames();
            for (int i = 0; i < filenames.Count(); ++i)
                PrintIndented(current.Depth + 1, filenames.Filename(i).Text());
        }
        const TXMLDirectoriesType directories = current.Directory.Directories();
        for (int i = directories.Count() - 1; i >= 0; --i)
            pending.push_back({directories.Directory(i), current.Depth + 1});
    }
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
