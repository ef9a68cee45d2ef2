#include "core/OrlentaError.h"

#include <cstring>

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

EOrlentaError CannotOpenFileError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot open file \"" + path + "\". " + SystemErrorText(errnoValue));
}

EOrlentaError CannotWriteFileError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot write file \"" + path + "\". " + SystemErrorText(errnoValue));
}

EOrlentaError CannotCreateFileError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot create file \"" + path + "\". " + SystemErrorText(errnoValue));
}

EOrlentaError XmlTextTooLargeError(const std::string& path, uint64_t limitBytes,
                                   uint64_t availableBytes) {
    return EOrlentaError("Cannot load \"" + path + "\". Its XML text is larger than " +
                         ByteCountText(limitBytes) + ", and loading it would need more than the " +
                         ByteCountText(availableBytes) + " of memory available.");
}

} // namespace orlenta
