#pragma once

// The one UTF-8 codec of the program. It only reads and writes sequences; what to do with a bad
// one (replace it, escape it, refuse the text) is each caller's own decision. The decoder is
// inline: loads, saves and searches call it for every character that is not ASCII.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orlenta {

// U+FFFD, the replacement character, in UTF-8.
inline constexpr std::string_view kUtf8ReplacementCharacter = "\xEF\xBF\xBD";

// What makes a UTF-8 sequence invalid, or None.
enum class TUtf8Fault : uint8_t {
    None,
    BadLead,         // a byte that starts no sequence: 80 to BF, C0, C1, F5 to FF
    BadContinuation, // a byte inside the sequence that is not 80 to BF
    Truncated,       // the text ends inside the sequence, every byte so far right
    Overlong,        // a longer form than the value needs (E0 80..9F, F0 80..8F)
    Surrogate,       // U+D800 to U+DFFF, which UTF-16 keeps for its pairs
    TooLarge,        // past U+10FFFF (F4 90..BF)
};

// One code point read from UTF-8 text.
struct TUtf8Decoded {
    // The value; what the bytes spell when only it is wrong, the first byte for other faults.
    char32_t CodePoint = 0;
    // Bytes of the sequence; 1 when it is invalid, so that a caller resumes at the next byte.
    uint8_t Length = 1;
    TUtf8Fault Fault = TUtf8Fault::None;

    bool Valid() const { return Fault == TUtf8Fault::None; }
};

// The bytes of the sequence that lead starts: 1 below 80, 2 to 4 for C2 to F4, 0 for any other.
constexpr size_t Utf8SequenceLength(unsigned char lead) {
    return lead < 0x80   ? 1
           : lead < 0xC2 ? 0
           : lead < 0xE0 ? 2
           : lead < 0xF0 ? 3
           : lead < 0xF5 ? 4
                         : 0;
}

// True for 80 to BF, the bytes that continue a sequence.
constexpr bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// DecodeUtf8's answer for a sequence that the end of text cuts (its rare path).
inline TUtf8Decoded DecodeCutUtf8(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    for (size_t k = i + 1; k < text.size(); ++k) {
        if (!IsUtf8Continuation(static_cast<unsigned char>(text[k])))
            return {lead, 1, TUtf8Fault::BadContinuation};
    }
    return {lead, 1, TUtf8Fault::Truncated};
}

// The code point at text[i] (i < text.size()); valid: shortest form, no surrogate, <= U+10FFFF.
inline TUtf8Decoded DecodeUtf8(std::string_view text, size_t i) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data()) + i;
    const unsigned char lead = bytes[0];
    if (lead < 0x80)
        return {lead, 1, TUtf8Fault::None};
    const size_t length = Utf8SequenceLength(lead);
    if (length == 0)
        return {lead, 1, TUtf8Fault::BadLead};
    if (text.size() - i < length)
        return DecodeCutUtf8(text, i);
    // Each length on its own path, unrolled: this runs for every character that is not ASCII.
    if (length == 2) {
        if (!IsUtf8Continuation(bytes[1]))
            return {lead, 1, TUtf8Fault::BadContinuation};
        return {char32_t(lead & 0x1F) << 6 | (bytes[1] & 0x3F), 2, TUtf8Fault::None};
    }
    if (length == 3) {
        if (!IsUtf8Continuation(bytes[1]) || !IsUtf8Continuation(bytes[2]))
            return {lead, 1, TUtf8Fault::BadContinuation};
        const char32_t codePoint =
            char32_t(lead & 0x0F) << 12 | char32_t(bytes[1] & 0x3F) << 6 | (bytes[2] & 0x3F);
        if (codePoint < 0x800)
            return {codePoint, 1, TUtf8Fault::Overlong};
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
            return {codePoint, 1, TUtf8Fault::Surrogate};
        return {codePoint, 3, TUtf8Fault::None};
    }
    if (!IsUtf8Continuation(bytes[1]) || !IsUtf8Continuation(bytes[2]) ||
        !IsUtf8Continuation(bytes[3]))
        return {lead, 1, TUtf8Fault::BadContinuation};
    const char32_t codePoint = char32_t(lead & 0x07) << 18 | char32_t(bytes[1] & 0x3F) << 12 |
                               char32_t(bytes[2] & 0x3F) << 6 | (bytes[3] & 0x3F);
    if (codePoint < 0x10000)
        return {codePoint, 1, TUtf8Fault::Overlong};
    if (codePoint > 0x10FFFF)
        return {codePoint, 1, TUtf8Fault::TooLarge};
    return {codePoint, 4, TUtf8Fault::None};
}

// Appends the UTF-8 form of codePoint, which must be at most U+10FFFF and no surrogate.
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace orlenta
