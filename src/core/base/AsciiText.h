#pragma once

// Comparisons of paths, extensions and keywords fold only the letters a to z: every other byte,
// UTF-8 sequences included, keeps its case.

#include <string>
#include <string_view>

namespace orlenta {

// c with the letters a to z upper-cased.
constexpr char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// text with the letters a to z upper-cased; every other byte unchanged.
std::string UpperCaseAscii(std::string_view text);

// a and b are equal once the letters a to z are upper-cased.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// The order of names in a directory listing: letters a to z compared without case, then
// bytewise, so that names differing only in case keep a fixed order.
bool NameLess(std::string_view a, std::string_view b);
// The same order as a three-way comparison: negative when a comes first, 0 when a and b are
// equal, positive when b comes first.
int CompareNames(std::string_view a, std::string_view b);

} // namespace orlenta
