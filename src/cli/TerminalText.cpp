#include "TerminalText.h"

#include "core/base/Utf8.h"

#include <cstdio>
#include <unistd.h>

namespace orlenta::cli {

namespace {

void AppendEscaped(std::string& out, const char* format, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    out += text;
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
        const TUtf8Decoded character = DecodeUtf8(text, i);
        if (!character.Valid()) {
            AppendEscaped(out, "\\x%02X", c);
            ++i;
        } else {
            // The C1 controls: some terminals act on them as on ESC sequences.
            if (character.CodePoint <= 0x9F)
                AppendEscaped(out, "\\u%04X", character.CodePoint);
            else
                out.append(text.substr(i, character.Length));
            i += character.Length;
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

std::string ForStderr(std::string_view text) {
    return StderrIsTerminal() ? TerminalText(text) : std::string(text);
}

void TStdoutBuffer::Flush() {
    if (StdoutIsTerminal()) {
        const std::string shown = TerminalText(FBuffer);
        std::fwrite(shown.data(), 1, shown.size(), stdout);
    } else {
        std::fwrite(FBuffer.data(), 1, FBuffer.size(), stdout);
    }
    FBuffer.clear();
}

} // namespace orlenta::cli
