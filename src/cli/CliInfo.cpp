// orlenta-cli info: the catalogue's title, memo, last directory ID and sizes.

#include "CliCommon.h"
#include "TerminalText.h"
#include "core/catalogue/DirectoryWalk.h"
#include "core/catalogue/EscapedText.h"

#include <iostream>
#include <memory>

namespace orlenta::cli {

namespace {

struct TTreeSize {
    long long Directories = 0;
    long long Files = 0;
};

// Counts what the access layer would find below a disc's top directory: the items of each
// directory's first Directories and Filenames. It reads the DOM as it stands because the typed
// getters add absent children and keep an item list per collection, which on a large catalogue
// costs memory that a read-only command has no use for.
void AddTreeSize(const TXMLDirectoryType& root, TTreeSize& size) {
    WalkDirectories(
        root, TWalkAccess::ReadOnly, [&size](const TXMLDirectoryType& directory, int depth) {
            if (depth > 0)
                ++size.Directories;
            const pugi::xml_node filenames =
                ElementFrom(directory.XmlNode().first_child(), TXMLFilenamesType::kTag);
            for (pugi::xml_node item = ElementFrom(filenames.first_child(), TXMLFilenameType::kTag);
                 item; item = ElementFrom(item.next_sibling(), TXMLFilenameType::kTag))
                ++size.Files;
            return true;
        });
}

void RunInfo(const std::string& file) {
    TCliHost host;
    TCatalogueSession session(host);
    OpenCatalogue(session, file);
    const IXMLOrlentaDataType& root = session.XMLIndexData;
    const TXMLDiscsType discs = root.Discs();
    TTreeSize size;
    for (int i = 0; i < discs.Count(); ++i)
        AddTreeSize(discs.Disc(i).Root(), size);

    // The memo is decoded, so a crafted one can hold any control character.
    std::cout << "Title: " << ForStdout(root.Title()) << '\n'
              << "Memo: " << ForStdout(UnescapeText(root.Memo())) << '\n'
              << "Last directory ID: " << root.LastDirectoryID() << '\n'
              << "Discs: " << discs.Count() << '\n'
              << "Directories: " << size.Directories << '\n'
              << "Files: " << size.Files << '\n';
}

} // namespace

void RegisterInfoCommand(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand(
        "info", "Show the catalogue's title, memo (decoded), last directory ID, and its numbers "
                "of discs, directories and file names.");
    command->add_option("FILE", *file, "Data file to read")->required();
    command->callback([file] { RunInfo(*file); });
}

} // namespace orlenta::cli
