#pragma once

// Find all: every hit of a keyword or shell pattern in a catalogue, with its full path, searched
// in a name index so that it can run at each keystroke.

#include "core/search/CatalogueSearch.h"
#include "core/search/NameIndex.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// One hit, as numbers into the index it was found in.
struct TFindHit {
    std::uint32_t Disc; // the disc's index, from 0
    // The directory that matched by name or holds the matching file name; for a title, vendor
    // or memo hit the disc's top directory.
    std::uint32_t Directory;
    // The entry of the matching directory or file name; TNameIndex::kNone for the disc fields.
    std::uint32_t Entry;
    TSearchField Field;
};

// Every hit of request, matched by TSearchText(request.Text, request.Wildcards), in the order
// orlenta-cli search lists them: discs in document order; within a disc its title, vendor and
// memo, then each directory's name, its file names and its subdirectories. With
// request.SizeDateFilters the filters in the text must also hold for the hit's recorded values
// (a disc field's are its top directory's); a text of filters alone hits every directory and
// file name that passes them, and no disc field.
std::vector<TFindHit> FindAll(const TNameIndex& index, const TSearchRequest& request);

// Why a filtered search may find nothing: the values its filters ask for are recorded nowhere in
// the catalogue, or for none of the names its name part finds.
enum class TMissingValues { None, InCatalogue, InNameHits };
// That reason for request in index; None when request has no filters or some name it finds has
// the values.
TMissingValues MissingValues(const TNameIndex& index, const TSearchRequest& request);

// The hit's path below its disc's top directory: "/2022", "/2022/beach.jpg"; "/" for the disc
// fields and the top directory itself.
std::string HitPath(const TNameIndex& index, const TFindHit& hit);

// Appends a line as orlenta-cli search prints it: the disc's index, its title, the field and
// the path (an empty path as "/"), tab-separated, ending in a line feed.
void AppendHitLine(std::string& text, int discIndex, std::string_view title, TSearchField field,
                   std::string_view path);
// The same for a hit of index.
void AppendHitLine(std::string& text, const TNameIndex& index, const TFindHit& hit);

// The orders of a hit list: as found, or by one of the columns a list of hits shows.
enum class TFindOrder {
    Found, // as FindAll returns them
    Disc,  // by the disc's title
    Path,  // by directory path, then a directory's own hits before its file names, by name
    Field, // by the field's name
    // by the recorded size or modification time; hits without one come before every value
    Size,
    Modified,
};

// Sorts hits of index; names compare with letters a to z without case first, then bytewise.
// Hits that are equal in the chosen order stay in the order found, also when descending.
void SortFindHits(const TNameIndex& index, std::vector<TFindHit>& hits, TFindOrder order,
                  bool descending);

} // namespace orlenta
