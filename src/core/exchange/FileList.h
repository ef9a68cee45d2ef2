#pragma once

// Lists of files that other programs write, read as entries of a disc: our own CSV export, any
// CSV whose header names a path column, and what find prints, plainly or with
// -printf '%y %s %T@ %p\n', one path a line or (-print0, or \0 in -printf) a NUL-ended record.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orlenta {

enum class TListFormat {
    Csv,
    Find,  // one path a line, or one a NUL-ended record when the text holds a NUL
    Find0, // one path a NUL-ended record (find -print0, or -printf with \0)
};

// The longest line a list may have: room for a path 100,000 folders deep (archives and other
// catalogues hold such paths, far beyond what the system takes), and a bound on what a stream
// that never ends a line can make us hold.
inline constexpr std::size_t kMaxListLineBytes = 1024 * 1024;

// The format a list's file name suggests: CSV for a name ending in ".csv", find output otherwise.
TListFormat GuessListFormat(std::string_view path);

// One entry of a list. The views die with the call that hands it over.
struct TListEntry {
    // Below the list's top directory, '/' between names; "" for the top directory itself.
    std::string_view Path;
    // The entry's own name, the end of Path (a list that names it apart may hold a '/' in it).
    std::string_view Name;
    bool IsDirectory = false;
    std::optional<std::uint64_t> Size;
    // Whether the list speaks of this entry's size, also to say it has none (an empty size
    // field); find's size of a directory says nothing of what it holds.
    bool SizeStated = false;
    std::optional<std::int64_t> Modified; // seconds since 1970, UTC
    std::string_view Archive;             // the archive the entry comes from, when the list says
    std::size_t Line = 0;
};

class TFileList {
public:
    // Reads the whole list and checks every line. Throws EOrlentaError naming the first line that
    // cannot be read (name is the list's name in that message). forSpreadsheets: a CSV written
    // for spreadsheets, each value's leading apostrophe taken off (RemoveSpreadsheetMark).
    TFileList(std::string text, TListFormat format, std::string name, bool forSpreadsheets = false);

    // Whether any entry gives a size.
    bool HasSizes() const { return FHasSizes; }
    // The disc title the list holds (our own CSV); empty otherwise.
    const std::string& DiscTitle() const { return FDiscTitle; }
    // Calls visit for every entry in the list's order, the top directory the list's paths share
    // taken off (find's start directory, or the common folder of absolute paths in a CSV).
    void ForEach(const std::function<void(const TListEntry&)>& visit);

private:
    using TVisit = std::function<void(TListEntry&)>;
    void Scan(const TVisit& emit);
    void ScanCsv(const TVisit& emit);
    void ScanFind(const TVisit& emit);

    std::string FText;
    TListFormat FFormat;
    std::string FName;
    bool FForSpreadsheets;
    bool FHasSizes = false;
    std::string FDiscTitle;
    // The directory all paths are below, "" for none, and whether paths are cut below it.
    std::string FTop;
    bool FCutTop = false;
};

} // namespace orlenta
