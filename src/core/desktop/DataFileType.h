#pragma once

// Registering the data-file type with the desktop (freedesktop standards), so that opening a data
// file from a file manager starts the program with the file's path as its only argument.

#include "core/desktop/DesktopFiles.h"

#include <string>

namespace orlenta {

// Where a registration writes and which program it names: the running one and this user's
// folders, or a test's.
struct TDesktopPlaces {
    std::string ExecutablePath; // full path of the program that opens the data files
    std::string DataHome;       // $XDG_DATA_HOME
    std::string ConfigHome;     // $XDG_CONFIG_HOME
    // Rebuilds a MIME cache; looked up in PATH unless it holds a '/'. Empty: none is run.
    std::string MimeCacheUpdater = "update-mime-database";
};

// The running executable and this user's XDG data and configuration folders (their defaults
// below the home folder when unset). Throws EOrlentaError with the reason when one is unknown.
TDesktopPlaces CurrentDesktopPlaces();

// Makes the running program the opener of files with the extension, for this user. See below.
void RegisterDataFileType(const std::string& extension, const std::string& typeName,
                          const std::string& description);

// Writes the type's shared-mime-info package to DataHome/mime/packages, its desktop entry to
// DataHome/applications and the entry as the type's default to ConfigHome/mimeapps.list (missing
// folders made with mode 0700), then rebuilds the MIME cache of DataHome/mime when the package was
// written or the cache is missing or older. A file that already holds what it would get is not
// touched, so a second run changes no byte. Stops at the first failure, keeping what was written,
// and throws "Failed to register the %s file type with the desktop. %s" with the reason.
void RegisterDataFileType(const TDesktopPlaces& places, const TDataFileType& type);

} // namespace orlenta
