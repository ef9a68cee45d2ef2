#include "core/xml/XmlText.h"

#include <cstdint>

namespace orlenta {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Length of the valid, XML-allowed character at text[i], or 0 when it must be replaced.
// An invalid sequence is replaced one byte at a time, so a stray byte costs one U+FFFD.
size_t SafeCharacterLength(std::string_view text, size_t i) {
    const auto b0 = static_cast<uint8_t>(text[i]);
    if (b0 < 0x80)
        return (b0 >= 0x20 || b0 == '\t' || b0 == '\n' || b0 == '\r') ? 1 : 0;
    const TUtf8Character character = DecodeUtf8At(text, i);
    return IsXmlCharacter(character.CodePoint) ? character.Length : 0;
}

} // namespace

TUtf8Character DecodeUtf8At(std::string_view text, size_t i) {
    const auto b0 = static_cast<uint8_t>(text[i]);
    if (b0 < 0x80)
        return {1, b0};
    size_t length;
    uint32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        cp = b0 & 0x07;
    } else {
        return {};
    }
    if (i + length > text.size())
        return {};
    for (size_t k = 1; k < length; ++k) {
        const auto b = static_cast<uint8_t>(text[i + k]);
        if ((b & 0xC0) != 0x80)
            return {};
        cp = (cp << 6) | (b & 0x3F);
    }
    const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    if (overlong || surrogate || cp > 0x10FFFF)
        return {};
    return {length, cp};
}

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
            out += kReplacementCharacter;
            ++i;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}

} // namespace orlenta
