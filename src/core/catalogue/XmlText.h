#pragma once

#include <string>
#include <string_view>

namespace orlenta {

// True when text is valid UTF-8 holding only characters XML 1.0 can carry.
bool IsXmlSafeText(std::string_view text);

// text with every invalid UTF-8 sequence and every character XML 1.0 forbids (controls other
// than tab, LF and CR; U+FFFE, U+FFFF) replaced by U+FFFD. Safe text comes back unchanged.
std::string ToXmlSafeText(std::string_view text);

} // namespace orlenta
