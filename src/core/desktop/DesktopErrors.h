#pragma once

// The texts of the errors that registering the data-file type with the desktop can raise.

#include "core/base/OrlentaError.h"

#include <string>

namespace orlenta {

// "Failed to register the %s file type with the desktop. %s": what went wrong, with its path.
EOrlentaError RegistrationFailedError(const std::string& extension, const std::string& reason);

// "Cannot create folder "%s". %s" with the system's reason for errnoValue.
std::string CannotCreateFolderText(const std::string& path, int errnoValue);
// "Cannot find the program's own path. %s" with the system's reason for errnoValue.
std::string NoExecutablePathText(int errnoValue);
// "The program's path "%s" cannot be written into a desktop entry.": invalid UTF-8 or a
// control character.
std::string UnwritableExecutablePathText(const std::string& path);
// "Cannot find the home folder: HOME is not set."
std::string NoHomeFolderText();
// "Cannot start %s. %s" with the system's reason for errnoValue.
std::string CannotStartProgramText(const std::string& program, int errnoValue);
// "%s ended with exit status %d." or "%s was ended by signal %d." for a waitpid status.
std::string ProgramFailedText(const std::string& program, int waitStatus);

} // namespace orlenta
