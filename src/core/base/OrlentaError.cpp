#include "core/base/OrlentaError.h"

#include <cstring>
#include <sys/stat.h>

namespace orlenta {

namespace {

std::string AssertionText(std::string_view message, std::string_view unitName, int line) {
    std::string text(message);
    text += " (";
    text += unitName;
    text += ", line ";
    text += std::to_string(line);
    text += ')';
    return text;
}

// What a file of this st_mode is, when it is not a regular file.
std::string NotRegularFileKind(unsigned mode) {
    const char* kind = "a special file";
    if (S_ISFIFO(mode))
        kind = "a FIFO";
    else if (S_ISSOCK(mode))
        kind = "a socket";
    else if (S_ISCHR(mode) || S_ISBLK(mode))
        kind = "a device";
    else if (S_ISLNK(mode))
        kind = "a symbolic link";
    else if (S_ISDIR(mode))
        kind = "a directory";
    return kind;
}

// Why a file of this st_mode cannot serve as a data or temporary file.
std::string NotRegularFileReason(unsigned mode) {
    return "It is " + NotRegularFileKind(mode) + ", not a regular file.";
}

// A byte count as a person reads it: whole megabytes, or kilobytes or bytes when smaller.
std::string ByteCountText(uint64_t bytes) {
    if (bytes >= 1000 * 1000)
        return std::to_string(bytes / (1000 * 1000)) + " MB";
    if (bytes >= 1000)
        return std::to_string(bytes / 1000) + " KB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

EAssertionFailed::EAssertionFailed(std::string_view message, std::string_view unitName, int line)
    : EOrlentaError(AssertionText(message, unitName, line)) {}

std::string WithClosingFullStop(std::string_view text) {
    std::string shown(text);
    if (!shown.empty() && static_cast<unsigned char>(shown.back()) > '.')
        shown += '.';
    return shown;
}

std::string SystemErrorText(int errnoValue) {
    std::string reason = std::strerror(errnoValue);
    if (!reason.empty() && reason.back() != '.')
        reason += '.';
    return reason;
}

std::string XmlDuplicateAttributeReason(std::string_view name) {
    return "Duplicate attribute '" + std::string(name) + "'.";
}

std::string XmlUndefinedEntityReason(std::string_view name) {
    return "Reference to undefined entity '" + std::string(name) + "'.";
}

std::string XmlUnexpandedEntityReason(std::string_view name) {
    return "Reference to entity '" + std::string(name) +
           "' of the document type: only the predefined entities are supported.";
}

EOrlentaError CannotOpenFileError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot open file \"" + path + "\". " + SystemErrorText(errnoValue));
}

EOrlentaError UnableToWriteError(const std::string& path) {
    return EOrlentaError("Unable to write to " + path);
}

EOrlentaError CannotWriteFileError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot write file \"" + path + "\". " + SystemErrorText(errnoValue));
}

EOrlentaError CannotCreateFileError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot create file \"" + path + "\". " + SystemErrorText(errnoValue));
}

EOrlentaError CannotLockFileError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot lock file \"" + path + "\". " + SystemErrorText(errnoValue));
}

EOrlentaError CannotOpenNonRegularFileError(const std::string& path, unsigned mode) {
    return EOrlentaError("Cannot open file \"" + path + "\". " + NotRegularFileReason(mode));
}

EOrlentaError CannotOpenNonListFileError(const std::string& path, unsigned mode) {
    return EOrlentaError("Cannot open file \"" + path + "\". It is " + NotRegularFileKind(mode) +
                         ", not a regular file or a pipe.");
}

EOrlentaError CannotCreateNonRegularFileError(const std::string& path, unsigned mode) {
    return EOrlentaError("Cannot create file \"" + path + "\". " + NotRegularFileReason(mode));
}

EOrlentaError CannotCreateLinkedFileError(const std::string& path) {
    return EOrlentaError("Cannot create file \"" + path +
                         "\". It has further names (hard links), so it may be another file.");
}

EOrlentaError CannotCreateForeignFileError(const std::string& path) {
    return EOrlentaError("Cannot create file \"" + path + "\". It belongs to another user.");
}

EOrlentaError CannotLockError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot lock \"" + path + "\". " + SystemErrorText(errnoValue));
}

EOrlentaError CannotLockNonRegularFileError(const std::string& path, const std::string& lockName,
                                            unsigned mode) {
    return EOrlentaError("Cannot lock \"" + path + "\". Its lock file \"" + lockName + "\" is " +
                         NotRegularFileKind(mode) + ", not a regular file.");
}

EOrlentaError DataFileIsTemporaryFileError(const std::string& path,
                                           const std::string& temporaryName) {
    return EOrlentaError("Cannot use \"" + path + "\" as a data file. It is \"" + temporaryName +
                         "\" in the working folder, the temporary file of every load and save.");
}

EOrlentaError CannotWriteStandardOutputError(int errnoValue) {
    return EOrlentaError("Cannot write to standard output. " + SystemErrorText(errnoValue));
}

EOrlentaError ExportOverCatalogueError(const std::string& path) {
    return EOrlentaError("Cannot create file \"" + path +
                         "\". It is the catalogue being exported.");
}

EOrlentaError ExportWriteError(int errnoValue) {
    return EOrlentaError("Cannot write the export. " + SystemErrorText(errnoValue));
}

EOrlentaError MalformedListLineError(const std::string& path, std::size_t line,
                                     std::string_view reason) {
    std::string text = "Line ";
    text += std::to_string(line);
    text += " of \"";
    text += path;
    text += "\": ";
    text += reason;
    return EOrlentaError(WithClosingFullStop(text));
}

std::string UnknownCommandText(std::string_view command) {
    return "Unknown command \"" + std::string(command) + "\". Run with --help to see the commands.";
}

EOrlentaError XmlTextTooLargeError(const std::string& path, uint64_t limitBytes,
                                   uint64_t availableBytes) {
    return EOrlentaError("Cannot load \"" + path + "\". Its XML text is larger than " +
                         ByteCountText(limitBytes) + ", and loading it would need more than the " +
                         ByteCountText(availableBytes) + " of memory available.");
}

} // namespace orlenta
