// The scanner's checks of single characters: UTF-8, the characters XML allows, name characters.

#include "core/base/Utf8.h"
#include "core/xml/XmlScanner.h"

#include <bit>

namespace orlenta::xml_scan {

// The character at P, which is a control character or starts a UTF-8 sequence: checked, skipped.
char32_t TScanner::Character() {
    const TUtf8Decoded character = DecodeUtf8(FText, static_cast<size_t>(P - FBegin));
    if (!character.Valid())
        Fail(P, kXmlInvalidUtf8);
    if (!IsXmlCharacter(character.CodePoint))
        Fail(P, kXmlInvalidCharacter);
    FConversions.LineEnds |= character.CodePoint == '\r';
    P += character.Length;
    return character.CodePoint;
}

std::string_view TScanner::Name() {
    const char* start = P;
    RequireMore();
    if (HasClass(*P, kNameStartByte))
        ++P;
    else if (static_cast<uint8_t>(*P) < 0x80)
        SyntaxError(P);
    else if (!IsNameStartCharacter(Character()))
        Fail(start, kXmlInvalidNameCharacter);
    for (;;) {
        while (P < FEnd && HasClass(*P, kNameByte))
            ++P;
        if (P >= FEnd || static_cast<uint8_t>(*P) < 0x80)
            break;
        // pugixml takes every byte past ASCII for a name character.
        const char* at = P;
        if (!IsNameCharacter(Character()))
            Fail(at, kXmlInvalidNameCharacter);
    }
    return {start, static_cast<size_t>(P - start)};
}

// A control character or a byte past ASCII at `at` in text or an attribute value; returns the
// byte after its character.
const char* TScanner::TextCharacterAt(const char* at) {
    const auto byte = static_cast<uint8_t>(*at);
    if (byte < 0x80) {
        if (!HasClass(*at, kSpaceByte))
            Fail(at, kXmlInvalidCharacter);
        FConversions.LineEnds |= byte == '\r';
        return at + 1;
    }
    // Two-byte sequences hold U+0080 to U+07FF, all of which XML allows.
    if (byte >= 0xC2 && byte <= 0xDF && at + 1 < FEnd &&
        (static_cast<uint8_t>(at[1]) & 0xC0) == 0x80)
        return at + 2;
    P = at;
    Character();
    return P;
}

// The same in an attribute value, where pugixml turns white space into spaces.
const char* TScanner::ValueCharacterAt(const char* at) {
    FConversions.ValueWhiteSpace |= static_cast<uint8_t>(*at) < 0x20;
    return TextCharacterAt(at);
}

// The same in a tag outside attribute values, where it can only be white space or part of a name.
// pugixml takes every byte past ASCII for a name character.
const char* TScanner::NameCharacterAt(const char* at) {
    if (static_cast<uint8_t>(*at) < 0x80)
        return TextCharacterAt(at);
    const bool first = at[-1] == '<' || at[-1] == '/' || HasClass(at[-1], kSpaceByte);
    P = at;
    const char32_t character = Character();
    if (!(first ? IsNameStartCharacter(character) : IsNameCharacter(character)))
        Fail(at, kXmlInvalidNameCharacter);
    return P;
}

// The end of the UTF-8 characters among `high`, the UTF-8 bytes of the block at block, when they
// are whole, valid and allowed in XML; nullptr otherwise. The last one may end past the block.
const char* TScanner::EndOfCharacters(const char* block, uint64_t high) const {
    const char* end = block;
    while (high != 0) {
        const char* at = block + std::countr_zero(high);
        if (at < end)
            return nullptr; // a continuation byte not taken by the character before
        const TUtf8Decoded character = DecodeUtf8(FText, static_cast<size_t>(at - FBegin));
        if (!character.Valid() || !IsXmlCharacter(character.CodePoint))
            return nullptr;
        end = at + character.Length;
        const ptrdiff_t taken = end - block;
        high &= taken >= kBlock ? 0 : ~uint64_t{0} << taken;
    }
    return end;
}

} // namespace orlenta::xml_scan
