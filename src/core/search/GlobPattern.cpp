#include "core/search/GlobPattern.h"

#include "core/search/KeywordMatch.h"

namespace orlenta {

namespace {

// The length of the character at text[at]: a well-formed UTF-8 sequence as a whole, any other
// byte alone. Catalogues hold valid UTF-8, but a pattern typed or passed on the command line
// need not.
size_t CharacterLength(std::string_view text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
    if (length == 1 || at + length > text.size())
        return 1;
    for (size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

// The code point of the character of this length at text[at]. A byte that begins no sequence
// becomes a low surrogate, which no real character is, so it is only ever equal to itself.
char32_t DecodeCharacter(std::string_view text, size_t at, size_t length) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (length == 1)
        return lead < 0x80 ? lead : 0xDC00 + lead;
    char32_t value = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k)
        value = (value << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    return value;
}

// The position of the ] that closes the set opened at pattern[open], or npos. A ] right after
// the opening (or after its negation) is a member, not the end.
size_t SetEnd(std::string_view pattern, size_t open) {
    size_t at = open + 1;
    if (at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^'))
        ++at;
    if (at < pattern.size() && pattern[at] == ']')
        ++at;
    return pattern.find(']', at);
}

} // namespace

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?[") != std::string_view::npos;
}

TGlobPattern::TGlobPattern(std::string_view pattern) {
    std::string literal;
    size_t at = 0;
    while (at < pattern.size()) {
        const char c = pattern[at];
        if (c == '*' || c == '?' || (c == '[' && SetEnd(pattern, at) != std::string_view::npos)) {
            AddLiteral(literal);
            literal.clear();
            if (c == '*') {
                if (FTokens.empty() || FTokens.back().Kind != TKind::AnyRun)
                    FTokens.push_back({TKind::AnyRun});
                ++at;
            } else if (c == '?') {
                FTokens.push_back({TKind::AnyCharacter});
                ++FMinimumLength;
                ++at;
            } else {
                at = AddSet(pattern, at);
            }
            continue;
        }
        const size_t length = CharacterLength(pattern, at);
        for (size_t k = 0; k < length; ++k)
            literal += UpperAscii(pattern[at + k]);
        at += length;
    }
    AddLiteral(literal);
}

void TGlobPattern::AddLiteral(std::string_view bytes) {
    if (bytes.empty())
        return;
    FTokens.push_back({TKind::Literal, false, static_cast<std::uint32_t>(FLiterals.size()),
                       static_cast<std::uint32_t>(bytes.size())});
    FLiterals += bytes;
    FMinimumLength += bytes.size();
    if (bytes.size() > FRequired.size())
        FRequired = bytes;
}

size_t TGlobPattern::AddSet(std::string_view pattern, size_t at) {
    const size_t close = SetEnd(pattern, at);
    TToken token{TKind::Set, false, static_cast<std::uint32_t>(FRanges.size()), 0};
    ++at;
    if (pattern[at] == '!' || pattern[at] == '^') {
        token.Negated = true;
        ++at;
    }
    while (at < close) {
        const size_t length = CharacterLength(pattern, at);
        const char32_t low = DecodeCharacter(pattern, at, length);
        at += length;
        char32_t high = low;
        // a-z is a range; a - before the closing ] is itself.
        if (at + 1 < close && pattern[at] == '-') {
            const size_t highLength = CharacterLength(pattern, at + 1);
            high = DecodeCharacter(pattern, at + 1, highLength);
            at += 1 + highLength;
        }
        FRanges.push_back({low, high});
        ++token.Count;
    }
    FTokens.push_back(token);
    ++FMinimumLength;
    return close + 1;
}

bool TGlobPattern::InSet(const TToken& token, char32_t character) const {
    // A letter a to z is in the set when either of its cases is.
    char32_t other = character;
    if (character >= 'a' && character <= 'z')
        other = character - 'a' + 'A';
    else if (character >= 'A' && character <= 'Z')
        other = character - 'A' + 'a';
    bool in = false;
    for (std::uint32_t i = token.First; i < token.First + token.Count && !in; ++i) {
        const TRange& range = FRanges[i];
        in = (character >= range.Low && character <= range.High) ||
             (other >= range.Low && other <= range.High);
    }
    return in != token.Negated;
}

size_t TGlobPattern::MatchToken(const TToken& token, std::string_view value, size_t at) const {
    switch (token.Kind) {
    case TKind::Literal:
        if (value.size() - at < token.Count)
            return std::string_view::npos;
        for (std::uint32_t k = 0; k < token.Count; ++k) {
            if (UpperAscii(value[at + k]) != FLiterals[token.First + k])
                return std::string_view::npos;
        }
        return at + token.Count;
    case TKind::AnyCharacter:
        return at < value.size() ? at + CharacterLength(value, at) : std::string_view::npos;
    case TKind::Set: {
        if (at >= value.size())
            return std::string_view::npos;
        const size_t length = CharacterLength(value, at);
        return InSet(token, DecodeCharacter(value, at, length)) ? at + length
                                                                : std::string_view::npos;
    }
    case TKind::AnyRun: break;
    }
    return std::string_view::npos;
}

bool TGlobPattern::Matches(std::string_view value) const {
    if (value.empty() || value.size() < FMinimumLength)
        return false;
    if (!FRequired.empty() && !ContainsUpperKeyword(FRequired, value))
        return false;
    // Every token but * matches in at most one way, so only the latest * ever needs to take one
    // more character when the rest fails: linear in practice, never exponential.
    const size_t count = FTokens.size();
    size_t token = 0;
    size_t at = 0;
    size_t starToken = std::string_view::npos;
    size_t starAt = 0;
    for (;;) {
        if (token < count) {
            if (FTokens[token].Kind == TKind::AnyRun) {
                starToken = ++token;
                starAt = at;
                if (token == count)
                    return true;
                continue;
            }
            const size_t end = MatchToken(FTokens[token], value, at);
            if (end != std::string_view::npos) {
                at = end;
                ++token;
                continue;
            }
        } else if (at == value.size()) {
            return true;
        }
        if (starToken == std::string_view::npos || starAt >= value.size())
            return false;
        starAt += CharacterLength(value, starAt);
        at = starAt;
        token = starToken;
    }
}

} // namespace orlenta
