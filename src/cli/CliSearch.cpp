// orlenta-cli search: every hit of a keyword or pattern in the catalogue, one line each.

#include "CatalogueCommand.h"
#include "TerminalText.h"
#include "core/base/UtcTime.h"
#include "core/search/CatalogueSearch.h"
#include "core/search/FindAll.h"
#include "core/search/SizeDateFilter.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace orlenta::cli {

namespace {

struct TSearchOptions {
    std::string Keyword;
    std::vector<std::string> Fields{"title", "vendor", "memo", "directory", "filename"};
    bool Glob = false;
    bool Long = false;
};

bool Has(const std::vector<std::string>& fields, std::string_view field) {
    return std::find(fields.begin(), fields.end(), field) != fields.end();
}

// One line per hit. A common keyword hits most of a million file names: the lines go through a
// buffer.
class THitPrinter {
public:
    void operator()(int discIndex, std::string_view title, TSearchField field,
                    std::string_view path) {
        AppendHitLine(FOut.Text(), discIndex, title, field, path);
        FOut.Appended();
    }
    // The hit's line of index; with values, a tab, its size, a tab and its modification time
    // as stored, each empty when not recorded, before the line feed.
    void Print(const TNameIndex& index, const TFindHit& hit, bool values) {
        std::string& text = FOut.Text();
        AppendHitLine(text, index, hit);
        if (values) {
            text.pop_back();
            const std::uint32_t entry = index.ValueEntry(hit.Entry, hit.Directory);
            text += '\t';
            if (const std::optional<std::uint64_t> size = index.Size(entry)) {
                char digits[24];
                text.append(digits, std::to_chars(digits, digits + sizeof digits, *size).ptr);
            }
            text += '\t';
            char stored[kUtcTimeLength];
            if (const std::int64_t modified = index.Modified(entry);
                modified != TSizeDateFilter::kNoModified && FormatUtcTime(modified, stored))
                text.append(stored, kUtcTimeLength);
            text += '\n';
        }
        FOut.Appended();
    }

private:
    TStdoutBuffer FOut;
};

TSearchRequest Request(const TSearchOptions& options) {
    TSearchRequest request;
    request.Text = options.Keyword;
    request.InTitle = Has(options.Fields, "title");
    request.InVendor = Has(options.Fields, "vendor");
    request.InMemo = Has(options.Fields, "memo");
    request.InDirectory = Has(options.Fields, "directory");
    request.InFilename = Has(options.Fields, "filename");
    request.Wildcards = options.Glob;
    request.SizeDateFilters = options.Glob;
    return request;
}

// Find all over the catalogue's name index: the same hits in the same order as the walk below,
// with each hit's recorded values at hand. Filters and --long take this way; building the index
// reads every name first, which the plain search has no need of.
void RunIndexSearch(const TSearchOptions& options, const TSearchRequest& request,
                    const TCatalogueSession& session) {
    const TNameIndex index(session.XMLIndexData());
    THitPrinter printer;
    for (const TFindHit& hit : FindAll(index, request))
        printer.Print(index, hit, options.Long);
}

// The Search command's walk, except that every hit is listed, not only the first directory or
// file-name hit of a disc. With --glob a keyword holding a wildcard is a pattern and takes the
// same walk: building Find all's index would read every name of the document first anyway.
void RunSearch(const TSearchOptions& options, const TCatalogueSession& session) {
    if (options.Long || (options.Glob && !SplitFilters(options.Keyword).Filter.Empty())) {
        RunIndexSearch(options, Request(options), session);
        return;
    }
    const TSearchRequest request = Request(options);
    const TSearchText text(request.Text, request.Wildcards);
    THitPrinter printHit;
    std::string path;
    int discIndex = 0;
    for (const TXMLDiscType disc : session.XMLIndexData().Discs()) {
        const std::string_view title = disc.Title();
        if (request.InTitle && text.Matches(title))
            printHit(discIndex, title, TSearchField::Title, {});
        if (request.InVendor && text.Matches(disc.Vendor()))
            printHit(discIndex, title, TSearchField::Vendor, {});
        if (request.InMemo && text.Matches(disc.Memo()))
            printHit(discIndex, title, TSearchField::Memo, {});
        if (request.InDirectory || request.InFilename) {
            WalkDirectoryHits(
                text, disc.Root(), request.InDirectory, request.InFilename,
                [&](const TDirectoryHit& hit) {
                    if (hit.Field == TSearchField::Filename) {
                        const size_t directoryLength = path.size();
                        path += '/';
                        path += hit.FileName;
                        printHit(discIndex, title, hit.Field, path);
                        path.resize(directoryLength);
                    } else {
                        printHit(discIndex, title, hit.Field, path);
                    }
                    return true;
                },
                &path);
        }
        ++discIndex;
    }
}

class TSearchCommand final : public TCatalogueCommand {
public:
    TSearchCommand()
        : TCatalogueCommand({.Name = "search",
                             .Description =
                                 "List every hit of KEYWORD, one line each, tab-separated: the "
                                 "disc's index (from 0), its title, the field that matched and the "
                                 "path of the hit below the disc's top directory (/ for title, "
                                 "vendor and memo). Letters a to z match without regard to case; "
                                 "the memo is compared in its stored form.",
                             .FileHelp = "Data file to search",
                             .Use = TCatalogueUse::Read}) {}

private:
    void AddOptions(CLI::App& command) override;

    bool Run(TCatalogueSession& session) override {
        RunSearch(FOptions, session);
        return false;
    }

    TSearchOptions FOptions;
};

void TSearchCommand::AddOptions(CLI::App& command) {
    command.add_option("KEYWORD", FOptions.Keyword, "Text to look for")->required();
    command
        .add_option("--in", FOptions.Fields,
                    "Comma-separated fields to look in: title, vendor, memo, directory, "
                    "filename (default: all five)")
        ->delimiter(',')
        ->check(CLI::IsMember({"title", "vendor", "memo", "directory", "filename"}));
    command.add_flag("--glob", FOptions.Glob,
                     "Read a KEYWORD holding *, ? or [ as a shell pattern that a whole value "
                     "must match: * any run of characters, ? one character, [a-z] or [!a-z] "
                     "one character of a set or not of it. Words of KEYWORD such as "
                     "size:>10M, size:<=700k, modified:>2020-01-01 or modified:<2021-06 then "
                     "filter the hits by their recorded size (k, M, G, T: units of 1024) or "
                     "modification date (YYYY, YYYY-MM or YYYY-MM-DD, local time; > after the "
                     "whole period, < before it); the rest of KEYWORD is the name to look for, "
                     "and a KEYWORD of filters alone lists every directory and file name that "
                     "passes them. A filter passes only hits with the value recorded; a title, "
                     "vendor or memo hit has its disc's top directory's");
    command.add_flag("--long", FOptions.Long,
                     "Add to each line a tab, the size in bytes, a tab and the modification "
                     "time as stored (YYYY-MM-DDTHH:MM:SSZ, UTC), each empty when not recorded; "
                     "a title, vendor or memo hit shows its disc's top directory's");
}

} // namespace

void RegisterSearchCommand(CLI::App& app) {
    AddCommand<TSearchCommand>(app);
}

} // namespace orlenta::cli
