#pragma once

#include "core/AsciiText.h"
#include "core/catalogue/OrlentaData.h"

#include <functional>
#include <string>
#include <string_view>

namespace orlenta {

// What to look for and where, as the search dialog yields it.
struct TSearchRequest {
    std::string Keyword;
    bool InTitle = true;
    bool InVendor = true;
    bool InMemo = true;
    bool InDirectory = true;
    bool InFilename = false;
};

enum class TSearchField { Title, Vendor, Memo, Directory, Filename };

// The field's name as the command-line tool writes it.
std::string_view SearchFieldName(TSearchField field);

// The matching rule: keyword occurs in value, letters a to z compared without case, nothing
// else folded. An empty keyword or an empty value never matches.
bool ContainsKeyword(std::string_view keyword, std::string_view value);

// The same with a keyword already upper-cased by UpperCaseAscii; allocates nothing.
bool ContainsUpperKeyword(std::string_view upperKeyword, std::string_view value);

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
bool WalkDirectoryHits(std::string_view upperKeyword, const TXMLDirectoryType& directory,
                       bool inDirectory, bool inFilename,
                       const std::function<bool(const TDirectoryHit&)>& onHit,
                       std::string* path = nullptr);

// The ID of the first directory below (and including) directory that matches by name or holds a
// matching file name; empty when there is none.
std::string_view FindInDirectory(std::string_view upperKeyword, const TXMLDirectoryType& directory,
                                 bool inDirectory, bool inFilename);

// One hit of the Search command: the disc, and the ID of the directory to select.
struct TSearchHit {
    int DiscIndex;
    TXMLDiscType Disc;
    TSearchField Field;
    std::string_view DirectoryID;
};

// The Search command's walk: for each disc in document order its title, vendor and stored memo,
// then at most one directory or file-name hit. Stops when onHit returns false; true when every
// disc was walked.
bool SearchCatalogue(const TXMLOrlentaDataType& root, const TSearchRequest& request,
                     const std::function<bool(const TSearchHit&)>& onHit);

} // namespace orlenta
