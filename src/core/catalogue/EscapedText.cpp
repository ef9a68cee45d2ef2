#include "core/catalogue/EscapedText.h"

#include "core/base/Utf8.h"

namespace orlenta {

namespace {

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

char SimpleEscapeValue(char d) {
    switch (d) {
    case '"': return '"';
    case '\'': return '\'';
    case '?': return '?';
    case '\\': return '\\';
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    default: return 0;
    }
}

} // namespace

std::string EscapeText(std::string_view text) {
    static const char kHexDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\v': out += "\\v"; break;
        case '\f': out += "\\f"; break;
        case '\r': out += "\\r"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default: {
            const auto unit = static_cast<unsigned char>(c);
            if (unit < 0x20) {
                out += "\\x";
                out += kHexDigits[unit >> 4];
                out += kHexDigits[unit & 0x0F];
            } else {
                out += c;
            }
        }
        }
    }
    return out;
}

std::string UnescapeText(std::string_view stored) {
    std::string out;
    out.reserve(stored.size());
    const size_t n = stored.size();
    size_t i = 0;
    while (i < n) {
        const char c = stored[i];
        if (c != '\\' || i + 1 == n) {
            out += c;
            ++i;
            continue;
        }
        const char d = stored[i + 1];
        if (const char simple = SimpleEscapeValue(d)) {
            out += simple;
            i += 2;
        } else if (IsOctalDigit(d)) {
            unsigned value = 0;
            size_t j = i + 1;
            for (int taken = 0; taken < 3 && j < n && IsOctalDigit(stored[j]); ++taken, ++j)
                value = value * 8 + static_cast<unsigned>(stored[j] - '0');
            AppendUtf8(out, value);
            i = j;
        } else if (d == 'x') {
            const size_t afterX = i + 2;
            if (afterX < n && HexValue(stored[afterX]) >= 0) {
                unsigned value = static_cast<unsigned>(HexValue(stored[afterX]));
                size_t j = afterX + 1;
                if (j < n && HexValue(stored[j]) >= 0) {
                    value = value * 16 + static_cast<unsigned>(HexValue(stored[j]));
                    ++j;
                }
                AppendUtf8(out, value);
                i = j;
            } else {
                // "\x" without a digit stays as written; what follows is read afresh.
                out += "\\x";
                i = afterX;
            }
        } else {
            out += '\\';
            out += d;
            i += 2;
        }
    }
    return out;
}

} // namespace orlenta
