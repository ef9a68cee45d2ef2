#include "core/state/ProfileText.h"

#include <functional>
#include <gtest/gtest.h>

namespace orlenta {
namespace {

using namespace std::string_literals;

struct TChangeCase {
    const char* Name;
    std::string Before;
    std::function<void(TProfileText&)> Change;
    std::string After;
};

auto Set(const char* section, const char* key, const char* value) {
    return [=](TProfileText& text) { text.SetValue(section, key, value); };
}

auto Erase(const char* section) {
    return [=](TProfileText& text) { text.EraseSection(section); };
}

TEST(ProfileText, ChangesOnlyWhatTheProfileRulesSay) {
    const TChangeCase cases[] = {
        {"replaced in place", "[A]\nk=1\nm=2\n", Set("A", "k", "9"), "[A]\nk=9\nm=2\n"},
        {"names without case, spelling kept", "[add]\nKEY=1\n", Set("Add", "key", "2"),
         "[add]\nKEY=2\n"},
        {"appended to its section", "[A]\nk=1\n\n[B]\nx=1\n", Set("A", "n", "2"),
         "[A]\nk=1\nn=2\n\n[B]\nx=1\n"},
        {"appended under a bare header", "[A]\n[B]\n", Set("A", "k", "1"), "[A]\nk=1\n[B]\n"},
        {"new section at the end", "[A]\nk=1\n", Set("B", "x", "1"), "[A]\nk=1\n[B]\nx=1\n"},
        {"new file", "", Set("A", "k", "v"), "[A]\nk=v\n"},
        {"first of two equal sections", "[A]\nk=1\n[a]\nk=2\n", Set("A", "k", "3"),
         "[A]\nk=3\n[a]\nk=2\n"},
        {"blanks around names", "[ A ]\n k = 1\n", Set("A", "k", "2"), "[ A ]\n k =2\n"},
        {"foreign lines kept", "; note\n[Other]\nfoo = bar \nbare line\n[A]\nk=1\n",
         Set("A", "k", "2"), "; note\n[Other]\nfoo = bar \nbare line\n[A]\nk=2\n"},
        {"CR LF kept and used", "[A]\r\nk=1\r\n", Set("A", "n", "2"), "[A]\r\nk=1\r\nn=2\r\n"},
        {"last line ended", "[A]\nk=1", Set("A", "k", "2"), "[A]\nk=2\n"},
        {"Windows-1252 line keeps its bytes", "[A]\nname=caf\xE9\nk=1\n", Set("A", "k", "2"),
         "[A]\nname=caf\xE9\nk=2\n"},
        {"erase: header and keys", "[A]\nk=1\n[B]\nx=1\ny=2\n[C]\nz=1\n", Erase("b"),
         "[A]\nk=1\n[C]\nz=1\n"},
        {"erase the last section", "[A]\nk=1\n\n[B]\nx=1\n", Erase("B"), "[A]\nk=1\n\n"},
        {"erase what is not there", "[A]\nk=1\n", Erase("B"), "[A]\nk=1\n"},
    };
    for (const auto& c : cases) {
        TProfileText text(c.Before);
        c.Change(text);
        EXPECT_EQ(text.Bytes(), c.After) << c.Name;
    }
}

TEST(ProfileText, ReadsValuesAsStored) {
    const std::string file = "top=before any section\n"
                             "[A]\n"
                             "blanks= a b \n"
                             "empty=\n"
                             "equals=x=y\n"
                             "latin=caf\xE9\n"
                             "utf8=caf\xC3\xA9\n"
                             "[B]\n"
                             "only=in B\n";
    const TProfileText text(file);
    EXPECT_EQ(text.Value("a", "BLANKS"), " a b ");
    EXPECT_EQ(text.Value("A", "empty"), "");
    EXPECT_EQ(text.Value("A", "equals"), "x=y");
    EXPECT_EQ(text.Value("A", "latin"), "caf\xC3\xA9");
    EXPECT_EQ(text.Value("A", "utf8"), "caf\xC3\xA9");
    EXPECT_EQ(text.Value("A", "only"), std::nullopt);
    EXPECT_EQ(text.Value("A", "top"), std::nullopt);
    EXPECT_EQ(text.Value("C", "only"), std::nullopt);
    EXPECT_EQ(text.KeyCount("A"), 5u);
    EXPECT_EQ(TProfileText("\xEF\xBB\xBF[A]\nk=1\n").Value("A", "k"), "1");
}

TEST(ProfileText, CutsLongValuesAt2047Characters) {
    const std::string ascii(3000, 'x');
    EXPECT_EQ(TProfileText("[A]\nk=" + ascii + "\n").Value("A", "k"), ascii.substr(0, 2047));
    // A character outside the basic plane counts twice and is never split.
    const std::string emoji = "\xF0\x9F\x92\xBF";
    const std::string value = std::string(2046, 'y') + emoji + "z";
    EXPECT_EQ(TProfileText("[A]\nk=" + value + "\n").Value("A", "k"), std::string(2046, 'y'));
    const std::string fits = std::string(2045, 'y') + emoji + "z";
    EXPECT_EQ(TProfileText("[A]\nk=" + fits + "\n").Value("A", "k"),
              std::string(2045, 'y') + emoji);
}

} // namespace
} // namespace orlenta
