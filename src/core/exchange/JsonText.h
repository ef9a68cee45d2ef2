#pragma once

// JSON strings for any name a catalogue holds.

#include <string>
#include <string_view>

namespace orlenta {

// Appends text to out as a JSON string in quotes: quote, backslash and every control character
// escaped, and a byte sequence that is not valid UTF-8 written as U+FFFD, so that the result is
// valid JSON whatever text holds. forScript also escapes '<', '>', '&' and U+2028/U+2029, so that
// the string can stand inside an HTML script element without ending it.
void AppendJsonString(std::string& out, std::string_view text, bool forScript = false);

} // namespace orlenta
