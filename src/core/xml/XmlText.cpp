#include "core/xml/XmlText.h"

#include "core/base/Utf8.h"

#include <cstdint>

namespace orlenta {

namespace {

// Length of the valid, XML-allowed character at text[i], or 0 when it must be replaced.
// An invalid sequence is replaced one byte at a time, so a stray byte costs one U+FFFD.
size_t SafeCharacterLength(std::string_view text, size_t i) {
    const auto b0 = static_cast<uint8_t>(text[i]);
    if (b0 < 0x80)
        return (b0 >= 0x20 || b0 == '\t' || b0 == '\n' || b0 == '\r') ? 1 : 0;
    const TUtf8Decoded character = DecodeUtf8(text, i);
    return character.Valid() && IsXmlCharacter(character.CodePoint) ? character.Length : 0;
}

} // namespace

bool IsXmlSafeText(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = SafeCharacterLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string ToXmlSafeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = SafeCharacterLength(text, i);
        if (length == 0) {
            out += kUtf8ReplacementCharacter;
            ++i;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}

} // namespace orlenta
