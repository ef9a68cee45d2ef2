#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orlenta {

// An error that reaches the user as its message text; one handler per front end shows it.
class EOrlentaError : public std::runtime_error {
public:
    explicit EOrlentaError(const std::string& message) : std::runtime_error(message) {}
};

// A failed consistency check of the program itself; the text carries the source position.
class EAssertionFailed : public EOrlentaError {
public:
    EAssertionFailed(std::string_view message, std::string_view unitName, int line);
};

// What a data file that holds no valid DEFLATE data gives.
inline constexpr const char* kErrorReadingDataFile = "Error reading Orlenta datafile.";

// What loading a document whose root element is not the catalogue's gives.
inline constexpr const char* kInterfaceNotSupported = "Interface not supported";

// Reasons of the parse error (the first of its three lines) for text that is not well-formed
// XML 1.0.
inline constexpr const char* kXmlInvalidUtf8 = "Invalid UTF-8 byte sequence.";
inline constexpr const char* kXmlInvalidCharacter = "Character not allowed in XML.";
inline constexpr const char* kXmlInvalidNameCharacter = "Invalid character in a name.";
inline constexpr const char* kXmlInvalidCharacterReference = "Invalid character reference.";
inline constexpr const char* kXmlBareAmpersand =
    "An '&' must begin an entity or character reference.";
inline constexpr const char* kXmlLessThanInAttribute =
    "The character '<' cannot be used in an attribute value.";
inline constexpr const char* kXmlSecondRootElement =
    "Only one top level element is allowed in an XML document.";
inline constexpr const char* kXmlInvalidAtTopLevel = "Invalid at the top level of the document.";
inline constexpr const char* kXmlDoubleHyphenInComment = "A comment must not contain '--'.";
inline constexpr const char* kXmlCdataEndInText = "The text ']]>' is not allowed in content.";
inline constexpr const char* kXmlInvalidDeclaration = "Invalid XML declaration.";
inline constexpr const char* kXmlMisplacedDeclaration =
    "An XML declaration is allowed only at the start of the document.";
inline constexpr const char* kXmlInvalidDocumentType = "Invalid document type declaration.";
inline constexpr const char* kXmlUnexpectedEnd = "Unexpected end of the document.";
inline constexpr const char* kXmlSyntaxError = "Invalid XML syntax.";
// "Duplicate attribute 'name'."
std::string XmlDuplicateAttributeReason(std::string_view name);
// "Reference to undefined entity 'name'."
std::string XmlUndefinedEntityReason(std::string_view name);
// For an entity the document type declares: the program does not expand entities.
std::string XmlUnexpandedEntityReason(std::string_view name);

// "Cannot open file "%s". %s" with the system's reason for errnoValue.
EOrlentaError CannotOpenFileError(const std::string& path, int errnoValue);
// "Cannot create file "%s". %s" with the system's reason for errnoValue.
EOrlentaError CannotCreateFileError(const std::string& path, int errnoValue);
// "Cannot write file "%s". %s" with the system's reason for errnoValue.
EOrlentaError CannotWriteFileError(const std::string& path, int errnoValue);
// An error text as the program shows it: a full stop appended when the last character comes
// after the full stop in code order (a letter or a digit, typically).
std::string WithClosingFullStop(std::string_view text);
// The system's reason for an errno value, as a sentence.
std::string SystemErrorText(int errnoValue);

} // namespace orlenta
