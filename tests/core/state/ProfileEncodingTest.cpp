#include "core/state/ProfileEncoding.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

bool IsPrintableAscii(const std::string& text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

TEST(ProfileEncoding, KeepsPrintableAsciiAndCodesTheRest) {
    for (const char* plain : {"", "D:\\Photos", "/home/user/My Photos", "a=b;c", "tab\there"})
        EXPECT_EQ(EncodeProfileValue(plain), plain);
    EXPECT_EQ(EncodeProfileValue("/home/\xC3\xBC"), "UTF7-coded:/home/+APw-");
    EXPECT_EQ(EncodeProfileValue("a\nb"), "UTF7-coded:a+AAo-b");
}

TEST(ProfileEncoding, CodedValuesComeBackUnchanged) {
    const char* values[] = {
        "/data/Fotos f\xC3\xBCr Oma",
        "/\xE6\x97\xA5\xE6\x9C\xAC/\xE5\x86\x99\xE7\x9C\x9F",
        "emoji \xF0\x9F\x92\xBF end",
        "\xC3\xA9-",
        "one\ntwo\r\nthree\n",
        "\xC3\xA9\n\n-x",
        "\r",
        "control \x01 char",
        "UTF7-coded:looks coded",
        "a+b \xC3\xA9 ~\\",
    };
    for (const char* value : values) {
        const std::string stored = EncodeProfileValue(value);
        EXPECT_TRUE(stored.starts_with(kUtf7ValuePrefix)) << stored;
        EXPECT_TRUE(IsPrintableAscii(stored)) << stored;
        EXPECT_EQ(DecodeProfileValue(stored), value) << stored;
    }
}

TEST(ProfileEncoding, DecodingNeverFails) {
    EXPECT_EQ(DecodeProfileValue("utf7-coded:+APw-"), "utf7-coded:+APw-");
    EXPECT_EQ(DecodeProfileValue("UTF7-coded:"), "");
    EXPECT_EQ(DecodeProfileValue("UTF7-coded:D:\\+APw-ber"), "D:\\\xC3\xBC"
                                                             "ber");
    EXPECT_EQ(DecodeProfileValue("UTF7-coded:a+AO"), "a");
    EXPECT_EQ(DecodeProfileValue("UTF7-coded:~x"), "~x");
    // Characters past ASCII count by their low eight bits.
    EXPECT_EQ(DecodeProfileValue("UTF7-coded:\xC3\xA9"), "\xC3\xA9");
}

TEST(ProfileEncoding, ReadsWindows1252Lines) {
    EXPECT_EQ(ProfileLineText("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(ProfileLineText("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(ProfileLineText("\x81\x9D"), "\xC2\x81\xC2\x9D");
    EXPECT_EQ(ProfileLineText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
}

} // namespace
} // namespace orlenta
