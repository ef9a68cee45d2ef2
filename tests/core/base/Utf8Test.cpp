#include "core/base/Utf8.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace orlenta {
namespace {

using enum TUtf8Fault;

TEST(Utf8, DecodesEachFormAndNamesEachFault) {
    struct TCase {
        const char* Name;
        std::string_view Text;
        size_t At;
        char32_t CodePoint;
        size_t Length;
        TUtf8Fault Fault;
    };
    const TCase cases[] = {
        {"ASCII", "A", 0, 'A', 1, None},
        {"NUL", std::string_view("\0", 1), 0, 0, 1, None},
        {"smallest of two bytes", "\xC2\x80", 0, 0x80, 2, None},
        {"largest of two bytes", "\xDF\xBF", 0, 0x7FF, 2, None},
        {"smallest of three bytes", "\xE0\xA0\x80", 0, 0x800, 3, None},
        {"just below the surrogates", "\xED\x9F\xBF", 0, 0xD7FF, 3, None},
        {"just above the surrogates", "\xEE\x80\x80", 0, 0xE000, 3, None},
        {"largest of three bytes", "\xEF\xBF\xBF", 0, 0xFFFF, 3, None},
        {"smallest of four bytes", "\xF0\x90\x80\x80", 0, 0x10000, 4, None},
        {"largest code point", "\xF4\x8F\xBF\xBF", 0, 0x10FFFF, 4, None},
        {"inside a text, more following", "x\xE2\x82\xAC!", 1, 0x20AC, 3, None},
        // Every fault takes one byte, so a caller resumes right after the lead.
        {"lone continuation byte", "\x80", 0, 0x80, 1, BadLead},
        {"C0: overlong of two bytes", "\xC0\xAF", 0, 0xC0, 1, BadLead},
        {"C1: overlong of two bytes", "\xC1\xBF", 0, 0xC1, 1, BadLead},
        {"F5: past U+10FFFF by its lead", "\xF5\x80\x80\x80", 0, 0xF5, 1, BadLead},
        {"old form of five bytes", "\xF8\x88\x80\x80\x80", 0, 0xF8, 1, BadLead},
        {"old form of six bytes", "\xFC\x84\x80\x80\x80\x80", 0, 0xFC, 1, BadLead},
        {"FF", "\xFF", 0, 0xFF, 1, BadLead},
        {"ASCII instead of a continuation", "\xC3\x41", 0, 0xC3, 1, BadContinuation},
        {"a new lead as the third byte", "\xE2\x82\xC3\xA9", 0, 0xE2, 1, BadContinuation},
        {"cut, with a wrong byte before the end", "\xF0\x41", 0, 0xF0, 1, BadContinuation},
        {"cut after the lead", "\xC3", 0, 0xC3, 1, Truncated},
        {"cut after two of three", "\xE2\x82", 0, 0xE2, 1, Truncated},
        {"cut after three of four", "x\xF0\x9F\x8E", 1, 0xF0, 1, Truncated},
        // The bytes beyond the view would complete the sequence: they must not be read.
        {"cut by the end of the view", std::string_view("\xE2\x82\xAC", 2), 0, 0xE2, 1, Truncated},
        {"overlong of three bytes", "\xE0\x9F\xBF", 0, 0x7FF, 1, Overlong},
        {"overlong NUL", "\xE0\x80\x80", 0, 0, 1, Overlong},
        {"overlong of four bytes", "\xF0\x8F\xBF\xBF", 0, 0xFFFF, 1, Overlong},
        {"high surrogate", "\xED\xA0\x80", 0, 0xD800, 1, Surrogate},
        {"low surrogate", "\xED\xBF\xBF", 0, 0xDFFF, 1, Surrogate},
        {"just past U+10FFFF", "\xF4\x90\x80\x80", 0, 0x110000, 1, TooLarge},
        {"largest value F4 can spell", "\xF4\xBF\xBF\xBF", 0, 0x13FFFF, 1, TooLarge},
    };
    for (const TCase& c : cases) {
        const TUtf8Decoded decoded = DecodeUtf8(c.Text, c.At);
        EXPECT_EQ(decoded.CodePoint, c.CodePoint) << c.Name;
        EXPECT_EQ(decoded.Length, c.Length) << c.Name;
        EXPECT_EQ(decoded.Fault, c.Fault) << c.Name;
        EXPECT_EQ(decoded.Valid(), c.Fault == None) << c.Name;
    }
}

TEST(Utf8, EncodesEachLengthAtItsBounds) {
    const std::pair<char32_t, std::string_view> cases[] = {
        {0, std::string_view("\0", 1)},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFD, kUtf8ReplacementCharacter},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& [codePoint, bytes] : cases) {
        std::string out = "x";
        AppendUtf8(out, codePoint);
        // Appended, not "x" + std::string(bytes): GCC 12 at -O3 takes that insertion at the front
        // for an overlapping copy (-Wrestrict) when it is not.
        EXPECT_EQ(out, std::string("x").append(bytes))
            << std::hex << static_cast<uint32_t>(codePoint);
    }
}

// Every code point outside the surrogates comes back from its encoding, whole.
TEST(Utf8, EveryCodePointSurvivesARoundTrip) {
    for (char32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
        if (codePoint == 0xD800)
            codePoint = 0xE000;
        std::string bytes;
        AppendUtf8(bytes, codePoint);
        const TUtf8Decoded decoded = DecodeUtf8(bytes, 0);
        ASSERT_TRUE(decoded.Valid() && decoded.CodePoint == codePoint &&
                    decoded.Length == bytes.size())
            << std::hex << static_cast<uint32_t>(codePoint);
    }
}

// What the decoder accepts is a value up to U+10FFFF outside the surrogates, and re-encoding it
// gives back the bytes it took, so no overlong form passes. All leads and second bytes, with the
// bytes after them at the bounds of each range.
TEST(Utf8, AcceptsOnlyTheShortestFormOfAValue) {
    const unsigned char tails[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90,
                                   0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
    for (unsigned lead = 0; lead < 256; ++lead) {
        for (unsigned second = 0; second < 256; ++second) {
            for (const unsigned char third : tails) {
                for (const unsigned char fourth : tails) {
                    const char text[] = {static_cast<char>(lead), static_cast<char>(second),
                                         static_cast<char>(third), static_cast<char>(fourth)};
                    const std::string_view view(text, sizeof text);
                    const TUtf8Decoded decoded = DecodeUtf8(view, 0);
                    if (!decoded.Valid()) {
                        ASSERT_EQ(decoded.Length, 1) << lead << ' ' << second;
                        continue;
                    }
                    const char32_t c = decoded.CodePoint;
                    ASSERT_TRUE(c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF))
                        << lead << ' ' << second;
                    std::string again;
                    AppendUtf8(again, decoded.CodePoint);
                    ASSERT_EQ(again, view.substr(0, decoded.Length)) << lead << ' ' << second;
                }
            }
        }
    }
}

} // namespace
} // namespace orlenta
