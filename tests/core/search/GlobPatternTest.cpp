#include "core/search/GlobPattern.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

TEST(GlobPattern, MatchesWholeValuesWithShellWildcards) {
    struct TCase {
        const char* Pattern;
        const char* Value;
        bool Matches;
    };
    const TCase cases[] = {
        // * is any run, dots included, also none; the whole value must match.
        {"*.pdf", "manual.pdf", true},
        {"*.pdf", "MANUAL.PDF", true},
        {"*.pdf", ".pdf", true},
        {"*.pdf", "manual.pdf.bak", false},
        {"*.pdf", "pdf", false},
        {"a*c", "a.b.c", true},
        {"*", "a.b.c", true},
        {"*", "", false}, // an empty value never matches
        {"**x**", "x", true},
        {"*a*b", "xaxxab", true},
        {"a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        {"beach", "Beach", true},
        {"beach", "beach.jpg", false},
        // ? is one character: one UTF-8 sequence, not one byte.
        {"?.txt", "a.txt", true},
        {"?.txt", "\xC3\xA9.txt", true},
        {"?.txt", "ab.txt", false},
        {"?.txt", ".txt", false},
        {"*.jp?g", "photo.jpeg", true},
        {"*.jp?g", "photo.jpg", false},
        {"??", "\xF0\x9F\x8E\xB5", false},
        // Sets: members, ranges, negation, letters without case.
        {"[abc]*", "beach", true},
        {"[abc]*", "Beach", true},
        {"[abc]*", "dune", false},
        {"[!a-c]*", "dune", true},
        {"[!a-c]*", "Beach", false},
        {"[^0-9]*", "x1", true},
        {"[^0-9]*", "1x", false},
        {"IMG_[0-9][0-9]*", "img_12.jpg", true},
        {"IMG_[0-9][0-9]*", "IMG_1a.jpg", false},
        {"[]]", "]", true},
        {"[!]]", "]", false},
        {"[a-]", "-", true},
        {"[\xC3\xA9\xC3\xA8]t\xC3\xA9", "\xC3\xA8t\xC3\xA9", true},
        {"[*]*", "*star", true},
        {"[*]*", "star", false},
        {"[?]", "?", true},
        // Only a to z are folded: É does not find é.
        {"\xC3\x89*",
         "\xC3\xA9"
         "ditions",
         false},
        // A [ that is never closed, and a backslash, are ordinary characters.
        {"[abc", "[abc", true},
        {"[abc", "a", false},
        {"a[*", "a[x", true},
        {"a\\*", "a\\b", true},
        {"a\\*", "a*", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TGlobPattern(c.Pattern).Matches(c.Value), c.Matches)
            << c.Pattern << " against " << c.Value;
}

TEST(GlobPattern, TextWithAWildcardIsAPattern) {
    for (const char* text : {"*.pdf", "a?", "[0-9]", "*"})
        EXPECT_TRUE(HasWildcard(text)) << text;
    for (const char* text : {"", "beach", "a]b", "a\\b", "50% off"})
        EXPECT_FALSE(HasWildcard(text)) << text;
}

} // namespace
} // namespace orlenta
