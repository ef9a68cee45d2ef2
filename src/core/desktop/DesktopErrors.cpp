#include "core/desktop/DesktopErrors.h"

#include <sys/wait.h>

namespace orlenta {

EOrlentaError RegistrationFailedError(const std::string& extension, const std::string& reason) {
    return EOrlentaError("Failed to register the " + extension + " file type with the desktop. " +
                         reason);
}

std::string CannotCreateFolderText(const std::string& path, int errnoValue) {
    return "Cannot create folder \"" + path + "\". " + SystemErrorText(errnoValue);
}

std::string NoExecutablePathText(int errnoValue) {
    return "Cannot find the program's own path. " + SystemErrorText(errnoValue);
}

std::string UnwritableExecutablePathText(const std::string& path) {
    return "The program's path \"" + path + "\" cannot be written into a desktop entry.";
}

std::string NoHomeFolderText() {
    return "Cannot find the home folder: HOME is not set.";
}

std::string CannotStartProgramText(const std::string& program, int errnoValue) {
    return "Cannot start " + program + ". " + SystemErrorText(errnoValue);
}

std::string ProgramFailedText(const std::string& program, int waitStatus) {
    if (WIFSIGNALED(waitStatus))
        return program + " was ended by signal " + std::to_string(WTERMSIG(waitStatus)) + ".";
    return program + " ended with exit status " + std::to_string(WEXITSTATUS(waitStatus)) + ".";
}

} // namespace orlenta
