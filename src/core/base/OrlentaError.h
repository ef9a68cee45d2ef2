#pragma once

#include <cstdint>
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

// What the compressor reports when it refuses its own settings (a fault of the program).
inline constexpr const char* kCompressionFailed = "Compression failed.";

// Parse-error reasons for inflated text that cannot be an XML document, found before it is parsed.
inline constexpr const char* kXmlNulCharacterReason = "NUL character, which XML does not allow.";
inline constexpr const char* kXmlTextBeforeRootReason = "Text before the first element.";

// A data file whose XML text grew past what the memory available could hold once it is loaded.
EOrlentaError XmlTextTooLargeError(const std::string& path, uint64_t limitBytes,
                                   uint64_t availableBytes);

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
// "Cannot lock file "%s". %s" with the lock file's path and the system's reason for errnoValue.
EOrlentaError CannotLockFileError(const std::string& path, int errnoValue);
// "Cannot open file "%s". It is a FIFO, not a regular file." and the like, for a file of this
// st_mode that is neither a regular file nor a directory.
EOrlentaError CannotOpenNonRegularFileError(const std::string& path, unsigned mode);
// "Cannot open file "%s". It is a device, not a regular file or a pipe." and the like: what a
// list of files may be read from.
EOrlentaError CannotOpenNonListFileError(const std::string& path, unsigned mode);
// "Cannot create file "%s". It is a FIFO, not a regular file." and the like, as above.
EOrlentaError CannotCreateNonRegularFileError(const std::string& path, unsigned mode);
// "Cannot create file "%s". ..." for a file that has further names (hard links).
EOrlentaError CannotCreateLinkedFileError(const std::string& path);
// "Cannot create file "%s". It belongs to another user.": a file that only its owner may
// write into, found owned by someone else.
EOrlentaError CannotCreateForeignFileError(const std::string& path);
// "Cannot lock "%s". %s" with the system's reason for errnoValue: the lock that writers of the
// data file at path serialize on could not be taken.
EOrlentaError CannotLockError(const std::string& path, int errnoValue);
// "Cannot lock "%s". Its lock file "%s" is a FIFO, not a regular file." and the like, for a lock
// file lockName of this st_mode.
EOrlentaError CannotLockNonRegularFileError(const std::string& path, const std::string& lockName,
                                            unsigned mode);
// A data file that is the temporary file temporaryName of loads and saves.
EOrlentaError DataFileIsTemporaryFileError(const std::string& path,
                                           const std::string& temporaryName);
// "Unable to write to %s" with the profile file's full path: a write or an erase was refused.
EOrlentaError UnableToWriteError(const std::string& path);
// "Cannot write to standard output. %s" with the system's reason for errnoValue.
EOrlentaError CannotWriteStandardOutputError(int errnoValue);
// "Cannot create file "%s". It is the catalogue being exported.": an export that would replace
// its own catalogue's data file.
EOrlentaError ExportOverCatalogueError(const std::string& path);
// "Cannot write the export. %s" with the system's reason for errnoValue.
EOrlentaError ExportWriteError(int errnoValue);
// "Line %d of "%s": %s." for a file list whose line cannot be read; nothing is imported.
EOrlentaError MalformedListLineError(const std::string& path, std::size_t line,
                                     std::string_view reason);
// What the command line says about a command it does not know.
std::string UnknownCommandText(std::string_view command);
// An error text as the program shows it: a full stop appended when the last character comes
// after the full stop in code order (a letter or a digit, typically).
std::string WithClosingFullStop(std::string_view text);
// The system's reason for an errno value, as a sentence.
std::string SystemErrorText(int errnoValue);

} // namespace orlenta
