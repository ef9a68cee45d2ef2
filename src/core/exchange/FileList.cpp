#include "core/exchange/FileList.h"

#include "core/base/AsciiText.h"
#include "core/base/OrlentaError.h"
#include "core/base/PathText.h"
#include "core/base/UtcTime.h"
#include "core/catalogue/SizeAndDate.h"
#include "core/exchange/CsvText.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace orlenta {

namespace {

// text without the blanks around it.
std::string_view WithoutBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

// Whether name, its blanks aside, is one of names, letters a to z compared without case.
bool OneOf(std::string_view name, std::initializer_list<const char*> names) {
    name = WithoutBlanks(name);
    return std::any_of(names.begin(), names.end(),
                       [&](const char* n) { return EqualIgnoringAsciiCase(name, n); });
}

// A path as a list gives it, without leading and trailing slashes.
std::string_view Trimmed(std::string_view path) {
    while (!path.empty() && path.front() == '/')
        path.remove_prefix(1);
    while (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

std::string_view ParentOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

// The longest leading run of whole names that a and b share.
std::string_view CommonFolder(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    const std::size_t n = std::min(a.size(), b.size());
    while (i < n && a[i] == b[i])
        ++i;
    const auto boundary = [](std::string_view s, std::size_t at) {
        return at == s.size() || s[at] == '/';
    };
    if (boundary(a, i) && boundary(b, i))
        return a.substr(0, i);
    const std::size_t slash = a.substr(0, i).rfind('/');
    return slash == std::string_view::npos ? std::string_view() : a.substr(0, slash);
}

// Seconds since 1970 from "S" or "S.fraction" (find's %T@), or from a date as spreadsheets and
// our export write it: "YYYY-MM-DDTHH:MM:SSZ", with a blank for the T, without the Z, or a date
// alone (taken as UTC).
std::optional<std::int64_t> ParseListTime(std::string_view text) {
    if (const auto stored = ParseUtcTime(text))
        return stored;
    std::int64_t seconds = 0;
    const char* end = text.data() + text.size();
    const auto number = std::from_chars(text.data(), end, seconds);
    if (number.ec == std::errc() && number.ptr != text.data()) {
        const char* rest = number.ptr;
        if (rest == end)
            return seconds;
        if (*rest == '.' && std::all_of(rest + 1, end, [](char c) { return c >= '0' && c <= '9'; }))
            return seconds < 0 && rest + 1 != end ? seconds - 1 : seconds;
    }
    std::string form(text);
    if (form.size() == 10)
        form += "T00:00:00";
    if (form.size() == 19 && form[10] == ' ')
        form[10] = 'T';
    if (form.size() == 19)
        form += 'Z';
    return ParseUtcTime(form);
}

// Where each known column stands in a CSV header; npos when absent.
struct TCsvColumns {
    static constexpr std::size_t None = static_cast<std::size_t>(-1);
    std::size_t Path = None, Folder = None, Name = None, Kind = None, Size = None, Modified = None,
                Archive = None, Disc = None, DiscTitle = None;
};

TCsvColumns ColumnsOf(const std::vector<std::string>& header) {
    TCsvColumns columns;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string_view name = header[i];
        std::size_t* column = nullptr;
        if (OneOf(name, {"path", "full path", "fullpath", "file path", "filepath", "full name",
                         "fullname", "pathname", "path name", "relative path", "location"}))
            column = &columns.Path;
        else if (OneOf(name,
                       {"folder", "directory", "dir", "parent", "folder path", "directory path"}))
            column = &columns.Folder;
        else if (OneOf(name, {"name", "file name", "filename"}))
            column = &columns.Name;
        else if (OneOf(name, {"kind", "type"}))
            column = &columns.Kind;
        else if (OneOf(name, {"size", "bytes", "size (bytes)", "file size", "filesize", "length"}))
            column = &columns.Size;
        else if (OneOf(name, {"modified", "date modified", "modified date", "last modified",
                              "modification time", "mtime", "date", "last write time", "time"}))
            column = &columns.Modified;
        else if (OneOf(name, {"archive"}))
            column = &columns.Archive;
        else if (OneOf(name, {"disc"}))
            column = &columns.Disc;
        else if (OneOf(name, {"disc title"}))
            column = &columns.DiscTitle;
        if (column && *column == TCsvColumns::None)
            *column = i;
    }
    return columns;
}

bool IsDirectoryKind(std::string_view kind) {
    return OneOf(kind, {"directory", "dir", "d", "folder"});
}

} // namespace

TListFormat GuessListFormat(std::string_view path) {
    return path.size() >= 4 && EqualIgnoringAsciiCase(path.substr(path.size() - 4), ".csv")
               ? TListFormat::Csv
               : TListFormat::Find;
}

TFileList::TFileList(std::string text, TListFormat format, std::string name, bool forSpreadsheets)
    : FText(std::move(text)), FFormat(format), FName(std::move(name)),
      FForSpreadsheets(forSpreadsheets) {
    // The first pass checks every line and finds the folder all paths share.
    bool first = true;
    bool allAbsolute = true;
    Scan([&](TListEntry& entry) {
        FHasSizes = FHasSizes || entry.Size.has_value();
        allAbsolute = allAbsolute && !entry.Path.empty() && entry.Path.front() == '/';
        const std::string_view path = Trimmed(entry.Path);
        const std::string_view folder = entry.IsDirectory ? path : ParentOf(path);
        FTop = first ? std::string(folder) : std::string(CommonFolder(FTop, folder));
        first = false;
    });
    FCutTop = FFormat != TListFormat::Csv || (allAbsolute && !first);
    if (!FCutTop)
        FTop.clear();
}

void TFileList::ForEach(const std::function<void(const TListEntry&)>& visit) {
    Scan([&](TListEntry& entry) {
        std::string_view path = Trimmed(entry.Path);
        if (!FCutTop) {
            while (path.substr(0, 2) == "./")
                path.remove_prefix(2);
        } else if (path.size() == FTop.size()) {
            path = {};
        } else if (!FTop.empty()) {
            path.remove_prefix(FTop.size() + 1);
        }
        entry.Path = path;
        // A name the list gives apart counts when the path ends in it.
        if (entry.Name.empty() || path.size() < entry.Name.size() ||
            path.substr(path.size() - entry.Name.size()) != entry.Name ||
            (path.size() > entry.Name.size() && path[path.size() - entry.Name.size() - 1] != '/'))
            entry.Name = LastComponent(path);
        visit(entry);
    });
}

void TFileList::Scan(const TVisit& emit) {
    if (FFormat == TListFormat::Csv)
        ScanCsv(emit);
    else
        ScanFind(emit);
}

void TFileList::ScanCsv(const TVisit& emit) {
    TCsvReader reader(FText);
    std::vector<std::string> fields;
    std::string path;
    std::string firstDisc;
    try {
        if (!reader.Next(fields))
            throw MalformedListLineError(FName, 1, "the list has no header row");
        const TCsvColumns columns = ColumnsOf(fields);
        const std::size_t width = fields.size();
        if (columns.Path == TCsvColumns::None &&
            (columns.Folder == TCsvColumns::None || columns.Name == TCsvColumns::None))
            throw MalformedListLineError(FName, 1, "the header names no path column");
        bool firstRow = true;
        while (reader.Next(fields)) {
            const std::size_t line = reader.RecordLine();
            if (fields.size() == 1 && fields[0].empty())
                continue;
            if (FForSpreadsheets) {
                for (std::string& value : fields)
                    RemoveSpreadsheetMark(value);
            }
            if (fields.size() != width)
                throw MalformedListLineError(FName, line,
                                             std::to_string(fields.size()) +
                                                 " fields where the header has " +
                                                 std::to_string(width));
            const auto field = [&](std::size_t column) {
                return column == TCsvColumns::None ? std::string_view()
                                                   : std::string_view(fields[column]);
            };
            if (columns.Disc != TCsvColumns::None) {
                if (firstRow)
                    firstDisc = fields[columns.Disc];
                else if (fields[columns.Disc] != firstDisc)
                    throw MalformedListLineError(
                        FName, line, "the list holds more than one disc; export one disc");
            }
            if (firstRow && columns.DiscTitle != TCsvColumns::None)
                FDiscTitle = fields[columns.DiscTitle];
            firstRow = false;
            TListEntry entry;
            entry.Line = line;
            if (columns.Path != TCsvColumns::None) {
                path = fields[columns.Path];
            } else {
                path = fields[columns.Folder];
                if (!path.empty() && path.back() != '/')
                    path.push_back('/');
                path += fields[columns.Name];
            }
            entry.Path = path;
            entry.Name = field(columns.Name);
            entry.IsDirectory =
                IsDirectoryKind(field(columns.Kind)) || (!path.empty() && path.back() == '/');
            entry.SizeStated = columns.Size != TCsvColumns::None;
            if (const std::string_view size = field(columns.Size); !size.empty()) {
                entry.Size = ParseByteCount(std::string(size).c_str());
                if (!entry.Size)
                    throw MalformedListLineError(FName, line, "the size is not a number of bytes");
            }
            if (const std::string_view modified = field(columns.Modified); !modified.empty()) {
                entry.Modified = ParseListTime(modified);
                if (!entry.Modified)
                    throw MalformedListLineError(FName, line, "the date cannot be read");
            }
            entry.Archive = field(columns.Archive);
            emit(entry);
        }
    } catch (const ECsvSyntax& syntax) {
        throw MalformedListLineError(FName, syntax.Line, syntax.Reason);
    }
}

void TFileList::ScanFind(const TVisit& emit) {
    std::string_view text = FText;
    // One line at a time, with the next at hand: plain find prints a directory right before its
    // first entry, which is how a plain listing tells directories from files.
    struct TLine {
        std::string_view Text;
        std::size_t Number;
    };
    std::vector<TLine> all;
    std::size_t number = 0;
    // A name may hold a line feed, which only NUL-ended records can carry.
    const char end =
        FFormat == TListFormat::Find0 || FText.find('\0') != std::string::npos ? '\0' : '\n';
    while (!text.empty()) {
        const std::size_t stop = text.find(end);
        std::string_view line = text.substr(0, stop);
        // CRLF line ends: the CR belongs to the line end, not to the name.
        if (end == '\n' && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++number;
        if (!line.empty())
            all.push_back({line, number});
        text = stop == std::string_view::npos ? std::string_view() : text.substr(stop + 1);
    }
    if (all.empty())
        return;
    // "%y %s %T@ %p": a type letter, the size, the time with its fraction, the path.
    const auto parsePrintf = [](std::string_view line, TListEntry& entry) {
        if (line.size() < 8 || line[1] != ' ')
            return false;
        const char type = line[0];
        std::string_view rest = line.substr(2);
        std::uint64_t size = 0;
        auto number = std::from_chars(rest.data(), rest.data() + rest.size(), size);
        if (number.ec != std::errc() || number.ptr == rest.data() ||
            number.ptr == rest.data() + rest.size() || *number.ptr != ' ')
            return false;
        rest.remove_prefix(static_cast<std::size_t>(number.ptr - rest.data()) + 1);
        const std::size_t space = rest.find(' ');
        if (space == std::string_view::npos || space + 1 == rest.size())
            return false;
        const auto time = ParseListTime(rest.substr(0, space));
        if (!time)
            return false;
        entry.IsDirectory = type == 'd';
        // A directory's own st_size says nothing of what it holds.
        if (!entry.IsDirectory)
            entry.Size = size;
        entry.SizeStated = !entry.IsDirectory;
        entry.Modified = time;
        entry.Path = rest.substr(space + 1);
        return true;
    };
    TListEntry probe;
    const bool printf = parsePrintf(all.front().Text, probe);
    for (std::size_t i = 0; i < all.size(); ++i) {
        TListEntry entry;
        entry.Line = all[i].Number;
        if (printf) {
            if (!parsePrintf(all[i].Text, entry))
                throw MalformedListLineError(FName, entry.Line,
                                             "the line is not a type, a size, a time and a path");
        } else {
            entry.Path = all[i].Text;
            const std::string_view path = Trimmed(entry.Path);
            if (i + 1 < all.size()) {
                const std::string_view next = Trimmed(all[i + 1].Text);
                entry.IsDirectory = next.size() > path.size() && next[path.size()] == '/' &&
                                    next.substr(0, path.size()) == path;
            }
        }
        emit(entry);
    }
}

} // namespace orlenta
