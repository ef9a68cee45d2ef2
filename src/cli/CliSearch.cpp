// orlenta-cli search: every hit of a keyword in the catalogue, one line each.

#include "CliCommon.h"
#include "search/CatalogueSearch.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace orlenta::cli {

namespace {

struct TSearchOptions {
    std::string File;
    std::string Keyword;
    std::vector<std::string> Fields{"title", "vendor", "memo", "directory", "filename"};
};

bool Has(const std::vector<std::string>& fields, std::string_view field) {
    return std::find(fields.begin(), fields.end(), field) != fields.end();
}

void PrintHit(int discIndex, std::string_view title, TSearchField field, std::string_view path) {
    std::cout << discIndex << '\t' << title << '\t' << SearchFieldName(field) << '\t'
              << (path.empty() ? std::string_view("/") : path) << '\n';
}

// The same walk and matching rule as the Search command, except that every hit is listed, not
// only the first directory or file-name hit of a disc.
void RunSearch(const TSearchOptions& options) {
    TCliHost host;
    TCatalogueSession session(host);
    OpenCatalogue(session, options.File);
    const std::string keyword = UpperCaseAscii(options.Keyword);
    const bool inDirectory = Has(options.Fields, "directory");
    const bool inFilename = Has(options.Fields, "filename");
    std::string path;
    int discIndex = 0;
    for (const TXMLDiscType disc : session.XMLIndexData.Discs()) {
        const std::string_view title = disc.Title();
        if (Has(options.Fields, "title") && ContainsUpperKeyword(keyword, title))
            PrintHit(discIndex, title, TSearchField::Title, {});
        if (Has(options.Fields, "vendor") && ContainsUpperKeyword(keyword, disc.Vendor()))
            PrintHit(discIndex, title, TSearchField::Vendor, {});
        if (Has(options.Fields, "memo") && ContainsUpperKeyword(keyword, disc.Memo()))
            PrintHit(discIndex, title, TSearchField::Memo, {});
        if (inDirectory || inFilename) {
            WalkDirectoryHits(
                keyword, disc.Root(), inDirectory, inFilename,
                [&](const TDirectoryHit& hit) {
                    if (hit.Field == TSearchField::Filename) {
                        const size_t directoryLength = path.size();
                        path += '/';
                        path += hit.FileName;
                        PrintHit(discIndex, title, hit.Field, path);
                        path.resize(directoryLength);
                    } else {
                        PrintHit(discIndex, title, hit.Field, path);
                    }
                    return true;
                },
                &path);
        }
        ++discIndex;
    }
}

} // namespace

void RegisterSearchCommand(CLI::App& app) {
    auto options = std::make_shared<TSearchOptions>();
    CLI::App* command = app.add_subcommand(
        "search", "List every hit of KEYWORD, one line each, tab-separated: the disc's index "
                  "(from 0), its title, the field that matched and the path of the hit below the "
                  "disc's top directory (/ for title, vendor and memo). Letters a to z match "
                  "without regard to case; the memo is compared in its stored form.");
    command->add_option("FILE", options->File, "Data file to search")->required();
    command->add_option("KEYWORD", options->Keyword, "Text to look for")->required();
    command
        ->add_option("--in", options->Fields,
                     "Comma-separated fields to look in: title, vendor, memo, directory, "
                     "filename (default: all five)")
        ->delimiter(',')
        ->check(CLI::IsMember({"title", "vendor", "memo", "directory", "filename"}));
    command->callback([options] { RunSearch(*options); });
}

} // namespace orlenta::cli
