#pragma once

#include <string>
#include <string_view>

namespace orlenta {

// The single-line stored form of a multi-line text: no character below U+0020 remains.
// Both work on UTF-8; characters at or above U+0080 pass through unchanged.
std::string EscapeText(std::string_view text);

// The text of a stored form. Total: every input decodes; a decoded \x.. or octal value is one
// character (up to U+01FF), written as UTF-8.
std::string UnescapeText(std::string_view stored);

} // namespace orlenta
