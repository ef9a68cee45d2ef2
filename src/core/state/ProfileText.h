#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// The lines of a profile (INI) file under the Windows profile rules: a line "[name]" opens a
// section, a line "key=value" inside it holds a key; section and key names are compared with the
// ASCII letters folded. Only the lines a change touches are rewritten, so everything else, other
// programs' sections, blank lines and lines in another code page included, keeps its bytes.
class TProfileText {
public:
    // The longest value read back, in UTF-16 code units; a longer stored value is cut there.
    static constexpr size_t kMaxValueLength = 2047;

    TProfileText() = default;
    // bytes: the file's content; LF or CR LF line ends, lines not in UTF-8 read as Windows-1252.
    // A last line without a line end is given the file's (that of its first line).
    explicit TProfileText(std::string_view bytes);

    // The value of key in the first section named section, exactly as stored after the '='
    // (blanks kept), cut to kMaxValueLength; none when there is no such key.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // The number of key lines in the first section named section.
    size_t KeyCount(std::string_view section) const;
    // Replaces the value of key in place, or appends the key after the last line of its section,
    // or appends the section with the key at the end of the text.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the first section named section, header and lines; false when there is none.
    bool EraseSection(std::string_view section);

    // The content as it is written back: every line ended, in the line end the file used.
    std::string Bytes() const;

private:
    enum class TLineKind { Other, Section, Key };
    struct TLine {
        std::string Raw;   // the bytes without the line end
        bool CrLf = false; // ended in CR LF rather than LF
        TLineKind Kind = TLineKind::Other;
        std::string Name;      // section or key name, trimmed, as UTF-8
        size_t ValueStart = 0; // Key: where the value begins in Raw, after the first '='
    };
    struct TSectionRange {
        size_t Header;
        size_t End; // the next section's header, or the number of lines
    };

    static TLine ParseLine(std::string raw, bool crLf, bool first);
    std::optional<TSectionRange> FindSection(std::string_view section) const;
    std::optional<size_t> FindKey(const TSectionRange& range, std::string_view key) const;
    TLine NewLine(std::string raw) const;

    std::vector<TLine> FLines;
    bool FCrLf = false;
};

} // namespace orlenta
