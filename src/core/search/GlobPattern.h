#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// True when text holds a wildcard (*, ? or [) and so reads as a shell pattern.
bool HasWildcard(std::string_view text);

// A shell pattern matched against a whole value: * stands for any run of characters (dots
// included), ? for one character, [abc], [a-z], [!abc] or [^abc] for one character of or not of
// a set. Letters a to z match without case, as the keyword search has them; every other
// character matches only itself. A [ without its closing ] is an ordinary character, and so is a
// backslash (a wildcard is taken literally inside brackets: [*]). Characters are UTF-8 sequences.
class TGlobPattern {
public:
    explicit TGlobPattern(std::string_view pattern);

    // True when value matches as a whole; an empty value never matches.
    bool Matches(std::string_view value) const;

private:
    enum class TKind : std::uint8_t { Literal, AnyCharacter, AnyRun, Set };
    struct TToken {
        TKind Kind;
        bool Negated = false;
        std::uint32_t First = 0; // Literal: offset in FLiterals; Set: index in FRanges
        std::uint32_t Count = 0; // Literal: bytes; Set: ranges
    };
    struct TRange {
        char32_t Low;
        char32_t High;
    };

    void AddLiteral(std::string_view bytes);
    // Parses a set starting at pattern[at] == '['; the position after its ], or at itself when
    // the set is not closed.
    size_t AddSet(std::string_view pattern, size_t at);
    // The end of what token matches at value[at], or npos.
    size_t MatchToken(const TToken& token, std::string_view value, size_t at) const;
    bool InSet(const TToken& token, char32_t character) const;

    std::vector<TToken> FTokens;
    std::string FLiterals; // literal bytes, letters upper-cased
    std::vector<TRange> FRanges;
    // The longest literal run, upper-cased: every matching value contains it, so the cheap
    // keyword test turns most values away before the pattern is tried.
    std::string FRequired;
    size_t FMinimumLength = 0;
};

} // namespace orlenta
