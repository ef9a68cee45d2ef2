#include "core/search/GlobPattern.h"

#include "core/base/Utf8.h"
#include "core/search/KeywordMatch.h"

namespace orlenta {

namespace {

// A character as matching takes it: its bytes and its code point.
struct TCharacter {
    size_t Length;
    char32_t CodePoint;
};

// The character at text[at]: a whole UTF-8 sequence as one, any other byte alone. Catalogues
// hold valid UTF-8, but a pattern typed or passed on the command line need not.
inline TCharacter CharacterAt(std::string_view text, size_t at) {
    const TUtf8Decoded decoded = DecodeUtf8(text, at);
    if (decoded.Valid())
        return {decoded.Length, decoded.CodePoint};
    const auto lead = static_cast<unsigned char>(text[at]);
    // Unlike strict UTF-8, a whole sequence with a bad value is one character: ? takes it whole.
    if (decoded.Fault == TUtf8Fault::Overlong || decoded.Fault == TUtf8Fault::Surrogate ||
        decoded.Fault == TUtf8Fault::TooLarge)
        return {Utf8SequenceLength(lead), decoded.CodePoint};
    // A low surrogate, which no real character is, so that the byte only equals itself.
    return {1, 0xDC00 + char32_t{lead}};
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
        const size_t length = CharacterAt(pattern, at).Length;
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
        const TCharacter first = CharacterAt(pattern, at);
        const char32_t low = first.CodePoint;
        at += first.Length;
        char32_t high = low;
        // a-z is a range; a - before the closing ] is itself.
        if (at + 1 < close && pattern[at] == '-') {
            const TCharacter last = CharacterAt(pattern, at + 1);
            high = last.CodePoint;
            at += 1 + last.Length;
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
        return at < value.size() ? at + CharacterAt(value, at).Length : std::string_view::npos;
    case TKind::Set: {
        if (at >= value.size())
            return std::string_view::npos;
        const TCharacter character = CharacterAt(value, at);
        return InSet(token, character.CodePoint) ? at + character.Length : std::string_view::npos;
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
        starAt += CharacterAt(value, starAt).Length;
        at = starAt;
        token = starToken;
    }
}

} // namespace orlenta
