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

EOrlentaError CannotWriteFileError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot write file \"" + path + "\". " + SystemErrorText(errnoValue));
}

EOrlentaError CannotCreateFileError(const std::string& path, int errnoValue) {
    return EOrlentaError("Cannot create file \"" + path + "\". " + SystemErrorText(errnoValue));
}

} // namespace orlenta
