// orlenta-cli info: the catalogue's title, memo, last directory ID and sizes.

#include "CatalogueCommand.h"
#include "TerminalText.h"
#include "core/catalogue/EscapedText.h"
#include "core/catalogue/TreeCounts.h"

#include <iostream>

namespace orlenta::cli {

namespace {

class TInfoCommand final : public TCatalogueCommand {
public:
    TInfoCommand()
        : TCatalogueCommand({.Name = "info",
                             .Description = "Show the catalogue's title, memo (decoded), last "
                                            "directory ID, and its numbers of discs, directories "
                                            "and file names.",
                             .FileHelp = "Data file to read",
                             .Use = TCatalogueUse::Read}) {}

private:
    bool Run(TCatalogueSession& session) override {
        const IXMLOrlentaDataType& root = session.XMLIndexData();
        const TXMLDiscsType discs = root.Discs();
        // Counted on the DOM as it stands: the typed getters would add absent children and keep
        // an item list per collection, which a read-only command has no use for.
        TTreeCounts size;
        for (int i = 0; i < discs.Count(); ++i)
            AddTreeCounts(discs.Disc(i).Root(), size);

        // The memo is decoded, so a crafted one can hold any control character.
        std::cout << "Title: " << ForStdout(root.Title()) << '\n'
                  << "Memo: " << ForStdout(UnescapeText(root.Memo())) << '\n'
                  << "Last directory ID: " << root.LastDirectoryID() << '\n'
                  << "Discs: " << discs.Count() << '\n'
                  << "Directories: " << size.Directories << '\n'
                  << "Files: " << size.Files << '\n';
        // Only a catalogue read with archives has the line, so that others print as they always
        // did.
        if (size.Archives > 0)
            std::cout << "Archive entries: " << size.ArchiveEntries << '\n';
        return false;
    }
};

} // namespace

void RegisterInfoCommand(CLI::App& app) {
    AddCommand<TInfoCommand>(app);
}

} // namespace orlenta::cli
