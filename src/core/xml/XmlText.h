#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orlenta {

// True for the characters XML 1.0 allows: tab, LF, CR, U+0020 to U+D7FF, U+E000 to U+FFFD and
// U+10000 to U+10FFFF.
constexpr bool IsXmlCharacter(char32_t c) {
    return c >= 0x20
               ? (c <= 0xD7FF || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF))
               : (c == '\t' || c == '\n' || c == '\r');
}

// True when text is valid UTF-8 holding only characters XML 1.0 can carry.
bool IsXmlSafeText(std::string_view text);

// text with every invalid UTF-8 sequence and every character XML 1.0 forbids (controls other
// than tab, LF and CR; U+FFFE, U+FFFF) replaced by U+FFFD. Safe text comes back unchanged.
std::string ToXmlSafeText(std::string_view text);

} // namespace orlenta
