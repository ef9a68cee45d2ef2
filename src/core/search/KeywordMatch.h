#pragma once

#include "core/base/AsciiText.h"

#include <cstddef>
#include <string_view>

namespace orlenta {

// The keyword rule: keyword occurs in value, letters a to z compared without case, nothing
// else folded. An empty keyword or an empty value never matches.
bool ContainsKeyword(std::string_view keyword, std::string_view value);

// The same with a keyword already upper-cased by UpperCaseAscii; allocates nothing. Inline: the
// walks call it for every name of a catalogue, and a call per name costs a few per cent of them.
inline bool ContainsUpperKeyword(std::string_view upperKeyword, std::string_view value) {
    if (upperKeyword.empty() || value.size() < upperKeyword.size())
        return false;
    // Most bytes of a value fail on the keyword's first byte, so that test is most of the cost
    // of matching a million names; it is kept to one mask and one compare. An upper-case letter
    // is met by itself and by its lower-case form, which differs only in bit 5: clearing that
    // bit of the value's byte matches exactly those two. Any other byte matches only itself.
    const unsigned char first = static_cast<unsigned char>(upperKeyword.front());
    const unsigned char firstMask = (first >= 'A' && first <= 'Z') ? 0xDF : 0xFF;
    const size_t lastStart = value.size() - upperKeyword.size();
    for (size_t start = 0; start <= lastStart; ++start) {
        if ((static_cast<unsigned char>(value[start]) & firstMask) != first)
            continue;
        size_t k = 1;
        while (k < upperKeyword.size() && UpperAscii(value[start + k]) == upperKeyword[k])
            ++k;
        if (k == upperKeyword.size())
            return true;
    }
    return false;
}

} // namespace orlenta
