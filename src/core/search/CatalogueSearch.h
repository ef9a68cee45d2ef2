#pragma once

#include "core/catalogue/OrlentaData.h"
#include "core/search/SearchText.h"

#include <functional>
#include <string>
#include <string_view>

namespace orlenta {

// What to look for and where: the Search dialog's result, Find all's and orlenta-cli search's
// request. Each of them ticks its own fields, so the fields start unticked: a request that
// names none finds nothing.
struct TSearchRequest {
    std::string Text;
    bool InTitle = false;
    bool InVendor = false;
    bool InMemo = false;
    bool InDirectory = false;
    bool InFilename = false;
    // Whether a text holding *, ? or [ is a shell pattern (TSearchText); a keyword otherwise.
    bool Wildcards = false;
    // Whether words of Text such as size:>10M and modified:<2021 filter the hits by the sizes
    // and dates recorded (SizeDateFilter.h) instead of being part of the text to find.
    bool SizeDateFilters = false;
};

enum class TSearchField { Title, Vendor, Memo, Directory, Filename };

// The field's name as the command-line tool writes it.
std::string_view SearchFieldName(TSearchField field);

// One hit below a disc's top directory. Directory is the element that matched by name or that
// holds the matching file name; FileName is that name (empty for a directory hit).
struct TDirectoryHit {
    TSearchField Field;
    TXMLDirectoryType Directory;
    std::string_view FileName;
};

// Walks directory and everything below it depth first in document order (a directory's name,
// then its file names, then its subdirectories) and calls onHit for each hit until it returns
// false. When path is given it holds, during each call, the hit directory's path below the
// starting directory ("/2022/misc"; empty for the starting directory). False when stopped.
bool WalkDirectoryHits(const TSearchText& text, const TXMLDirectoryType& directory,
                       bool inDirectory, bool inFilename,
                       const std::function<bool(const TDirectoryHit&)>& onHit,
                       std::string* path = nullptr);

// The ID of the first directory below (and including) directory that matches by name or holds a
// matching file name; empty when there is none.
std::string_view FindInDirectory(const TSearchText& text, const TXMLDirectoryType& directory,
                                 bool inDirectory, bool inFilename);

// One hit of the Search command: the disc, and the ID of the directory to select.
struct TSearchHit {
    int DiscIndex;
    TXMLDiscType Disc;
    TSearchField Field;
    std::string_view DirectoryID;
};

// The Search command's walk: for each disc in document order its title, vendor and stored memo,
// then at most one directory or file-name hit, matched by TSearchText(request.Text,
// request.Wildcards). Stops when onHit returns false; true when every disc was walked.
bool SearchCatalogue(const TXMLOrlentaDataType& root, const TSearchRequest& request,
                     const std::function<bool(const TSearchHit&)>& onHit);

} // namespace orlenta
