#pragma once

// How values and lines of the profile file are coded. The file itself stays plain ASCII: a value
// that is not printable ASCII is written as "UTF7-coded:" and its UTF-7 form (RFC 2152), and a
// line written elsewhere in Windows-1252 is still read.

#include <cstddef>
#include <string>
#include <string_view>

namespace orlenta {

// The prefix of a value stored in its UTF-7 form; compared exactly.
inline constexpr std::string_view kUtf7ValuePrefix = "UTF7-coded:";

// True when text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// text with every byte that does not start a well-formed UTF-8 sequence replaced by U+FFFD.
std::string ToValidUtf8(std::string_view text);

// The Windows-1252 bytes as UTF-8; the five bytes that code page leaves undefined stand for the
// control characters of the same number, as they do on Windows.
std::string Windows1252ToUtf8(std::string_view bytes);

// A line of the file as UTF-8: unchanged when it is UTF-8, else read as Windows-1252.
std::string ProfileLineText(std::string_view rawLine);

// value (UTF-8) as it is written to the file: unchanged when empty or printable ASCII, otherwise
// the prefix and the UTF-7 form. Line breaks are always coded, so no value can split its line;
// a value that itself starts with the prefix is coded too, so it reads back as it was.
std::string EncodeProfileValue(std::string_view value);

// A stored value as UTF-8: the UTF-7 form after the prefix decoded (each character's low eight
// bits taken as a byte), anything else unchanged. Never fails: bytes UTF-7 does not allow are
// taken as Latin-1, a cut-off last character is dropped.
std::string DecodeProfileValue(std::string_view stored);

// The longest start of text (UTF-8) that has at most units UTF-16 code units, never ending inside
// a character.
std::string_view CutToUtf16Units(std::string_view text, size_t units);

} // namespace orlenta
