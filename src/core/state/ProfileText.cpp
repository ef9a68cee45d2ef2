#include "core/state/ProfileText.h"

#include "core/base/AsciiText.h"
#include "core/state/ProfileEncoding.h"

namespace orlenta {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

TProfileText::TProfileText(std::string_view bytes) {
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view raw = bytes.substr(start, end - start);
        const bool crLf = raw.ends_with('\r');
        if (crLf)
            raw.remove_suffix(1);
        FLines.push_back(ParseLine(std::string(raw), crLf, FLines.empty()));
        start = next;
    }
    FCrLf = !FLines.empty() && FLines.front().CrLf;
    // A last line without its end is given the file's when it is written back, so that a line
    // added after it does not leave it the one line of the file that ends differently.
    if (!bytes.empty() && !bytes.ends_with('\n'))
        FLines.back().CrLf = FLines.back().CrLf || FCrLf;
}

TProfileText::TLine TProfileText::ParseLine(std::string raw, bool crLf, bool first) {
    TLine line;
    line.CrLf = crLf;
    const std::string decoded = ProfileLineText(raw);
    std::string_view text = decoded;
    if (first && text.starts_with(kUtf8ByteOrderMark))
        text.remove_prefix(kUtf8ByteOrderMark.size());
    text = TrimBlanks(text);
    if (text.starts_with('[')) {
        text.remove_prefix(1);
        line.Kind = TLineKind::Section;
        line.Name = TrimBlanks(text.substr(0, text.find(']')));
    } else if (const size_t equals = text.find('='); equals != std::string_view::npos) {
        line.Kind = TLineKind::Key;
        line.Name = TrimBlanks(text.substr(0, equals));
        // '=' is one byte in UTF-8 and in Windows-1252 alike, and never part of a longer
        // sequence, so the first one in the raw bytes is the one found in the text.
        line.ValueStart = raw.find('=') + 1;
    }
    line.Raw = std::move(raw);
    return line;
}

std::optional<TProfileText::TSectionRange>
TProfileText::FindSection(std::string_view section) const {
    for (size_t i = 0; i < FLines.size(); ++i) {
        if (FLines[i].Kind != TLineKind::Section ||
            !EqualIgnoringAsciiCase(FLines[i].Name, section))
            continue;
        size_t end = i + 1;
        while (end < FLines.size() && FLines[end].Kind != TLineKind::Section)
            ++end;
        return TSectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> TProfileText::FindKey(const TSectionRange& range,
                                            std::string_view key) const {
    for (size_t i = range.Header + 1; i < range.End; ++i) {
        if (FLines[i].Kind == TLineKind::Key && EqualIgnoringAsciiCase(FLines[i].Name, key))
            return i;
    }
    return std::nullopt;
}

TProfileText::TLine TProfileText::NewLine(std::string raw) const {
    return ParseLine(std::move(raw), FCrLf, false);
}

std::optional<std::string> TProfileText::Value(std::string_view section,
                                               std::string_view key) const {
    const auto range = FindSection(section);
    if (!range)
        return std::nullopt;
    const auto index = FindKey(*range, key);
    if (!index)
        return std::nullopt;
    const TLine& line = FLines[*index];
    const std::string value = ProfileLineText(std::string_view(line.Raw).substr(line.ValueStart));
    return std::string(CutToUtf16Units(value, kMaxValueLength));
}

size_t TProfileText::KeyCount(std::string_view section) const {
    const auto range = FindSection(section);
    size_t count = 0;
    for (size_t i = range ? range->Header + 1 : 0; range && i < range->End; ++i)
        count += FLines[i].Kind == TLineKind::Key ? 1 : 0;
    return count;
}

void TProfileText::SetValue(std::string_view section, std::string_view key,
                            std::string_view value) {
    const auto range = FindSection(section);
    if (!range) {
        // Built by appending: GCC 12 at -O3 mistakes "[" + a temporary string for a copy that
        // overlaps itself and fails the Release build.
        std::string header = "[";
        header.append(section).append("]");
        FLines.push_back(NewLine(std::move(header)));
        FLines.push_back(NewLine(std::string(key) + "=" + std::string(value)));
        return;
    }
    if (const auto index = FindKey(*range, key)) {
        TLine& line = FLines[*index];
        line.Raw.replace(line.ValueStart, std::string::npos, value);
        return;
    }
    // After the section's last line that is not blank, so blank lines between sections stay
    // where they are.
    size_t last = range->Header;
    for (size_t i = range->Header + 1; i < range->End; ++i) {
        if (!TrimBlanks(FLines[i].Raw).empty())
            last = i;
    }
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(last + 1),
                  NewLine(std::string(key) + "=" + std::string(value)));
}

bool TProfileText::EraseSection(std::string_view section) {
    const auto range = FindSection(section);
    if (!range)
        return false;
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(range->Header),
                 FLines.begin() + static_cast<std::ptrdiff_t>(range->End));
    return true;
}

std::string TProfileText::Bytes() const {
    std::string bytes;
    for (const TLine& line : FLines) {
        bytes += line.Raw;
        bytes += line.CrLf ? "\r\n" : "\n";
    }
    return bytes;
}

} // namespace orlenta
