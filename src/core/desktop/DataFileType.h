#pragma once

// Registering the data-file type with the desktop (freedesktop standards), so that opening a data
// file from a file manager starts the program with the file's path as its only argument.

#include "core/desktop/DesktopFiles.h"

#include <string>
#include <vector>

namespace orlenta {

// Where a registration writes and which program it names: the running one and this user's
// folders, or a test's.
struct TDesktopPlaces {
    std::string ExecutablePath; // full path of the program that opens the data files
    std::string DataHome;       // $XDG_DATA_HOME
    std::string ConfigHome;     // $XDG_CONFIG_HOME
    // $XDG_DATA_DIRS: the system's data folders, in whose applications folders (after DataHome's)
    // installed desktop entries are found.
    std::vector<std::string> DataDirs;
    // Rebuilds a MIME cache; looked up in PATH unless it holds a '/'. Empty: none is run.
    std::string MimeCacheUpdater = "update-mime-database";
};

// The running executable, this user's XDG data and configuration folders (their defaults below
// the home folder when unset) and the system's data folders (/usr/local/share and /usr/share when
// unset). Throws EOrlentaError with the reason when one is unknown.
TDesktopPlaces CurrentDesktopPlaces();

// Makes the running program the opener of files with the extension, for this user. See below.
void RegisterDataFileType(const std::string& extension, const std::string& typeName,
                          const std::string& description);

// Writes the type's shared-mime-info package to DataHome/mime/packages, its desktop entry to
// DataHome/applications and the entry as the type's default to ConfigHome/mimeapps.list (missing
// folders made with mode 0700), then rebuilds the MIME cache of DataHome/mime when the package was
// written or the cache is missing or older. What the user chose stays: a desktop entry that is not
// the program's own (IsOwnDesktopEntry) is left as it is, and so is a default that names an
// installed entry, found the way the desktop finds it below DataHome and DataDirs. A file that
// already holds what it would get is not touched, so a second run changes no byte. Registrations
// of one DataHome wait for each other (the lock of the package), and mimeapps.list is read and
// replaced under its own lock. Stops at the first failure, keeping what was written, and throws
// "Failed to register the %s file type with the desktop. %s" with the reason.
void RegisterDataFileType(const TDesktopPlaces& places, const TDataFileType& type);

} // namespace orlenta
