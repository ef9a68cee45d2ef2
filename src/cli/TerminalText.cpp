#include "TerminalText.h"

#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace orlenta::cli {

namespace {

void AppendEscaped(std::string& out, const char* format, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    out += text;
}

// The length of the valid UTF-8 sequence at the start of text and its code point; 0 when the
// bytes there are no valid sequence (overlong forms and surrogates included).
size_t DecodeUtf8(std::string_view text, uint32_t& codePoint) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string TerminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            const bool kept = (c >= 0x20 && c != 0x7F) || c == '\n' || c == '\t' ||
                              (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
            if (kept)
                out += static_cast<char>(c);
            else
                AppendEscaped(out, "\\x%02X", c);
            ++i;
            continue;
        }
        uint32_t codePoint = 0;
        const size_t length = DecodeUtf8(text.substr(i), codePoint);
        if (length == 0) {
            AppendEscaped(out, "\\x%02X", c);
            ++i;
        } else {
            // The C1 controls: some terminals act on them as on ESC sequences.
            if (codePoint <= 0x9F)
                AppendEscaped(out, "\\u%04X", codePoint);
            else
                out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

bool StdoutIsTerminal() {
    static const bool terminal = isatty(STDOUT_FILENO) == 1;
    return terminal;
}

bool StderrIsTerminal() {
    static const bool terminal = isatty(STDERR_FILENO) == 1;
    return terminal;
}

std::string ForStdout(std::string_view text) {
    return StdoutIsTerminal() ? TerminalText(text) : std::string(text);
}

} // namespace orlenta::cli
