#include "core/exchange/JsonText.h"

#include "core/base/Utf8.h"

namespace orlenta {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendUnicodeEscape(std::string& out, unsigned value) {
    const char escape[6] = {'\\',
                            'u',
                            kHexDigits[(value >> 12) & 0xF],
                            kHexDigits[(value >> 8) & 0xF],
                            kHexDigits[(value >> 4) & 0xF],
                            kHexDigits[value & 0xF]};
    out.append(escape, sizeof escape);
}

} // namespace

void AppendJsonString(std::string& out, std::string_view text, bool forScript) {
    out.push_back('"');
    std::size_t plainFrom = 0;
    std::size_t i = 0;
    const auto flushPlain = [&] { out.append(text.substr(plainFrom, i - plainFrom)); };
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\' &&
            !(forScript && (c == '<' || c == '>' || c == '&'))) {
            ++i;
            continue;
        }
        if (c >= 0x80) {
            const TUtf8Decoded decoded = DecodeUtf8(text, i);
            const bool separator = decoded.CodePoint == 0x2028 || decoded.CodePoint == 0x2029;
            if (decoded.Valid() && !(forScript && separator)) {
                i += decoded.Length;
                continue;
            }
            flushPlain();
            if (decoded.Valid())
                AppendUnicodeEscape(out, decoded.CodePoint);
            else
                out.append(kUtf8ReplacementCharacter);
            i += decoded.Length;
            plainFrom = i;
            continue;
        }
        flushPlain();
        switch (c) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        default: AppendUnicodeEscape(out, c); break;
        }
        ++i;
        plainFrom = i;
    }
    flushPlain();
    out.push_back('"');
}

} // namespace orlenta
