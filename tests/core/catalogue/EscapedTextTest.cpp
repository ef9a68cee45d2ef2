#include "core/catalogue/EscapedText.h"

#include <gtest/gtest.h>
#include <random>

namespace orlenta {
namespace {

using namespace std::string_literals;

struct TEscapeCase {
    std::string Text;
    std::string Stored;
};

TEST(EscapeText, WritesTheStoredForm) {
    const TEscapeCase cases[] = {
        {"", ""},
        {"Line 1\r\nLine 2", R"(Line 1\r\nLine 2)"},
        {R"(C:\Data)", R"(C:\\Data)"},
        {R"(Say "hi")", R"(Say \"hi\")"},
        {"\x1B"s + "A", R"(\x1BA)"},
        {"\\", R"(\\)"},
        {"\0"s, R"(\x00)"},
        {"\x1F", R"(\x1F)"},
        {"\a\b\t\n\v\f\r", R"(\a\b\t\n\v\f\r)"},
        {"it's?", "it's?"},
        {"\x7F caf\xC3\xA9 \xF0\x9F\x92\xBF", "\x7F caf\xC3\xA9 \xF0\x9F\x92\xBF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapeText(c.Text), c.Stored) << c.Stored;
}

TEST(UnescapeText, ReadsEveryForm) {
    const TEscapeCase cases[] = {
        {"", ""},
        {"Line 1\r\nLine 2", R"(Line 1\r\nLine 2)"},
        {"\x1B"s + "A", R"(\x1BA)"},
        {"\x1F", R"(\x1f)"},
        {"A", R"(\x41)"},
        {"\x04G", R"(\x4G)"},
        {"A4", R"(\x414)"},
        {R"(\x)", R"(\x)"},
        {R"(\xg)", R"(\xg)"},
        {"\\x\n", R"(\x\n)"},
        {"A", R"(\101)"},
        {"A2", R"(\1012)"},
        {"\0"s + "8", R"(\08)"},
        {"\xC4\x80", R"(\400)"},
        {"\xC7\xBF", R"(\777)"},
        {"\xC3\xBF", R"(\xff)"},
        {R"(\q)", R"(\q)"},
        {R"(\X41)", R"(\X41)"},
        {R"(\9)", R"(\9)"},
        {R"(\ )", R"(\ )"},
        {"'?", R"(\'\?)"},
        {"\"\\", R"(\"\\)"},
        {"end\\", "end\\"},
        {"\\", "\\"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"\\\xC3\xA9", "\\\xC3\xA9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnescapeText(c.Stored), c.Text) << c.Stored;
}

TEST(EscapedText, DecodingAnEncodedTextGivesItBack) {
    std::mt19937 random(20231);
    const std::string alphabet = "\0\a\b\t\n\v\f\r\x1B\x1F \"'?\\x0179aZ\xC3\xA9"s;
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        const std::string stored = EscapeText(text);
        for (char c : stored)
            ASSERT_GE(static_cast<unsigned char>(c), 0x20u);
        ASSERT_EQ(UnescapeText(stored), text);
    }
}

} // namespace
} // namespace orlenta
