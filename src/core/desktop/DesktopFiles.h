#pragma once

// The texts of the freedesktop files that tie a data-file type to this program: the
// shared-mime-info package, the desktop entry and the default in mimeapps.list. Pure functions;
// DataFileType.h writes them.

#include <functional>
#include <string>
#include <string_view>

namespace orlenta {

// A data-file type as the program names it, and the names the desktop knows it by.
struct TDataFileType {
    std::string Extension;   // with its dot: ".olx"
    std::string TypeName;    // "Orlenta": the program's name in the menu
    std::string Description; // "Orlenta datafile": how file managers describe such files

    // The type name in lower case, letters, digits, '-', '.' and '_' kept, anything else '-':
    // the base of the names below, and the program's icon name.
    std::string BaseName() const;
    // The MIME type of our own: "application/x-" and the base name.
    std::string MimeType() const;
    // The desktop entry's file name, which is its desktop file ID: the base name and ".desktop".
    std::string DesktopId() const;
    // The shared-mime-info package's file name: the base name and ".xml".
    std::string PackageFileName() const;
};

// The shared-mime-info package that declares the type: its comment, the program's icon and the
// glob "*" plus the extension (globs match without regard to case).
std::string MimePackageText(const TDataFileType& type);

// The desktop entry that opens files of the type with the executable: a menu entry with the
// program's icon whose Exec is the executable followed by %f.
std::string DesktopEntryText(const TDataFileType& type, const std::string& executable);

// One argument of an Exec line: in double quotes, with '"', '`', '$' and '\' escaped, when it
// holds a blank or another character the desktop entry rules reserve; '%' doubled either way.
std::string ExecArgument(const std::string& argument);

// A value of the desktop entry's string type: '\', newline, tab and carriage return escaped.
std::string KeyFileValue(const std::string& value);

// Whether text can stand in a desktop entry: valid UTF-8 without control characters.
bool FitsDesktopEntry(const std::string& text);

// Whether entry is, byte for byte, the desktop entry that DesktopEntryText writes for the type
// and the executable its TryExec names: the program's own, which it may rewrite for a new path.
// Anything else, the program's entry with a line of the user's added included, is the user's.
bool IsOwnDesktopEntry(const TDataFileType& type, const std::string& entry);

// Whether the desktop entry with this desktop file ID is installed.
using TDesktopEntryInstalled = std::function<bool(std::string_view desktopId)>;

// mimeapps.list text in which mimeType has a default application. The first default of the type
// is the user's choice and the text comes back unchanged while one of the entries it names is
// desktopId or installed; a default whose entries are all gone is replaced by desktopId in place,
// and repeated keys of the type are dropped; without one the line is added to the first [Default
// Applications] group, or the group is added at the end. Every other line stays as it was; a line
// added, and the end supplied to a last line that had none, take the file's line end (that of its
// first line).
std::string WithDefaultApplication(const std::string& mimeApps, const std::string& mimeType,
                                   const std::string& desktopId,
                                   const TDesktopEntryInstalled& installed);

} // namespace orlenta
