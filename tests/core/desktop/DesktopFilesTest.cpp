#include "core/desktop/DesktopFiles.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

using namespace std::string_literals;

const TDataFileType kOrlentaType{".olx", "Orlenta", "Orlenta datafile"};

struct TTextCase {
    std::string Given;
    std::string Expected;
};

TEST(DataFileType, DerivesTheDesktopNamesFromTheTypeName) {
    EXPECT_EQ(kOrlentaType.MimeType(), "application/x-orlenta");
    EXPECT_EQ(kOrlentaType.DesktopId(), "orlenta.desktop");
    EXPECT_EQ(kOrlentaType.PackageFileName(), "orlenta.xml");
    // Nothing outside what both MIME types and desktop file IDs allow.
    EXPECT_EQ((TDataFileType{".x", "My Disc/Tool+2_b.c", ""}).MimeType(),
              "application/x-my-disc-tool-2_b.c");
}

TEST(MimePackageText, DeclaresTheTypeWithCommentIconAndGlob) {
    EXPECT_EQ(MimePackageText(kOrlentaType),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"application/x-orlenta\">\n"
              "    <comment>Orlenta datafile</comment>\n"
              "    <icon name=\"orlenta\"/>\n"
              "    <glob pattern=\"*.olx\"/>\n"
              "  </mime-type>\n"
              "</mime-info>\n");
    EXPECT_NE(MimePackageText({".a", "A", "Tom & <Jerry>"}).find("Tom &amp; &lt;Jerry&gt;"),
              std::string::npos);
}

TEST(ExecArgument, QuotesOnlyWhatTheDesktopEntryRulesReserve) {
    const TTextCase cases[] = {
        {"/usr/bin/orlenta", "/usr/bin/orlenta"},
        {"/opt/orlenta-1.0/bin/orlenta=x,y+z:w@v", "/opt/orlenta-1.0/bin/orlenta=x,y+z:w@v"},
        {"/home/ann/My Programs/orlenta", "\"/home/ann/My Programs/orlenta\""},
        {"/a\tb", "\"/a\tb\""},
        {"/a'b", "\"/a'b\""},
        {"/a\"b", R"("/a\"b")"},
        {"/a`b", R"("/a\`b")"},
        {"/a$b", R"("/a\$b")"},
        {"/a\\b", R"("/a\\b")"},
        {"/a>b</c~d|e&f;g*h?i#j(k)", "\"/a>b</c~d|e&f;g*h?i#j(k)\""},
        {"/100%", "/100%%"},
        {"/100% sure", "\"/100%% sure\""},
        {"/caf\xC3\xA9/orlenta", "/caf\xC3\xA9/orlenta"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExecArgument(c.Given), c.Expected) << c.Given;
}

TEST(DesktopEntryText, EscapesTheExecLineTwiceAsTheKeyFileRulesAsk) {
    // Exec quoting first, then the string escapes of the file: a backslash becomes four.
    const std::string entry = DesktopEntryText(kOrlentaType, "/opt/a\\b c/orlenta");
    EXPECT_NE(entry.find("\nExec=\"/opt/a\\\\\\\\b c/orlenta\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nTryExec=/opt/a\\\\b c/orlenta\n"), std::string::npos) << entry;
    EXPECT_EQ(KeyFileValue("a\\b\nc\td\re"), R"(a\\b\nc\td\re)");
}

TEST(DesktopEntryText, OpensOneFileOfTheTypeFromTheMenu) {
    EXPECT_EQ(DesktopEntryText(kOrlentaType, "/usr/bin/orlenta"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Orlenta\n"
              "GenericName=Disc Catalogue\n"
              "Comment=Browse or share your CD and DVD archive\n"
              "Keywords=CD;DVD;disc;catalogue;archive;\n"
              "Icon=orlenta\n"
              "TryExec=/usr/bin/orlenta\n"
              "Exec=/usr/bin/orlenta %f\n"
              "Terminal=false\n"
              "MimeType=application/x-orlenta;\n"
              "Categories=Utility;Archiving;\n");
}

TEST(FitsDesktopEntry, AcceptsValidUtf8WithoutControlCharacters) {
    const std::pair<std::string, bool> cases[] = {
        {"/usr/bin/orlenta", true},
        {"/home/j\xC3\xBCrgen/\xE2\x82\xAC/\xF0\x9F\x92\xBF", true},
        {"/a\nb", false},
        {"/a\tb", false},
        {"/a\x7F", false},
        {"/a\xC2\x85", false}, // a control character of the C1 set
        {"/latin1-\xE9", false},
        {"/overlong-\xC0\xAF", false},
        {"/surrogate-\xED\xA0\x80", false},
        {"/cut-\xE2\x82", false},
        {"/beyond-\xF4\x90\x80\x80", false},
    };
    for (const auto& [text, fits] : cases)
        EXPECT_EQ(FitsDesktopEntry(text), fits) << text;
}

TEST(IsOwnDesktopEntry, KnowsTheProgramsEntryForAnyPathAndNothingElse) {
    const std::string moved = DesktopEntryText(kOrlentaType, "/opt/a\\b c/100%/orlenta");
    const std::string installed = DesktopEntryText(kOrlentaType, "/usr/bin/orlenta");
    const std::pair<std::string, bool> cases[] = {
        {moved, true},
        {installed, true},
        {DesktopEntryText(kOrlentaType, "orlenta"), true},
        // The user's edits make it theirs.
        {installed + "NoDisplay=true\n", false},
        {"#\n" + installed, false},
        {installed.substr(0, installed.size() - 1), false},
        {DesktopEntryText({".olx", "Other", "Orlenta datafile"}, "/usr/bin/orlenta"), false},
        {"[Desktop Entry]\nTryExec=/usr/bin/orlenta\n", false},
        {"", false},
    };
    for (const auto& [entry, own] : cases)
        EXPECT_EQ(IsOwnDesktopEntry(kOrlentaType, entry), own) << entry;
    std::string editedExec = installed;
    editedExec.replace(editedExec.find(" %f"), 3, " --new %f");
    EXPECT_FALSE(IsOwnDesktopEntry(kOrlentaType, editedExec));
}

bool NothingInstalled(std::string_view) {
    return false;
}

TEST(WithDefaultApplication, SetsOurDefaultAndKeepsEveryOtherLine) {
    const std::string ours = "application/x-orlenta=orlenta.desktop";
    const TTextCase cases[] = {
        // Nothing yet.
        {"", "[Default Applications]\n" + ours + "\n"},
        // A default whose entry is gone is replaced in place; comments, other types and other
        // groups stay, blank lines and CRLF endings included.
        {"# mine\n[Added Associations]\napplication/x-orlenta=other.desktop;\n\n"
         "[Default Applications]\r\ntext/plain=gedit.desktop\r\n"
         "application/x-orlenta=other.desktop;third.desktop;\r\nimage/png=eog.desktop\r\n",
         "# mine\n[Added Associations]\napplication/x-orlenta=other.desktop;\n\n"
         "[Default Applications]\r\ntext/plain=gedit.desktop\r\n" +
             ours + "\nimage/png=eog.desktop\r\n"},
        // Added at the end of the group, before the blank line that separates the next.
        {"[Default Applications]\ntext/plain=gedit.desktop\n\n[Removed Associations]\nx/y=z\n",
         "[Default Applications]\ntext/plain=gedit.desktop\n" + ours +
             "\n\n[Removed Associations]\nx/y=z\n"},
        // No group of defaults: one is added after a blank line; a missing last newline is
        // supplied.
        {"[Added Associations]\ntext/plain=gedit.desktop;", "[Added Associations]\n"
                                                            "text/plain=gedit.desktop;\n\n"
                                                            "[Default Applications]\n" +
                                                                ours + "\n"},
        // Blanks around '=' are still that key; a repeated key of the type goes.
        {"[Default Applications]\napplication/x-orlenta = other.desktop\n"
         "application/x-orlenta=third.desktop\n[Default Applications]\n"
         "application/x-orlenta=fourth.desktop\n",
         "[Default Applications]\n" + ours + "\n[Default Applications]\n"},
        // A type whose name merely starts like ours is another type.
        {"[Default Applications]\napplication/x-orlenta-old=other.desktop\n",
         "[Default Applications]\napplication/x-orlenta-old=other.desktop\n" + ours + "\n"},
        // A file of CR LF lines stays one: the lines added and the end of a last line that had
        // none.
        {"[Default Applications]\r\ntext/plain=gedit.desktop",
         "[Default Applications]\r\ntext/plain=gedit.desktop\r\n" + ours + "\r\n"},
        {"[Added Associations]\r\ntext/plain=gedit.desktop;\r\n",
         "[Added Associations]\r\ntext/plain=gedit.desktop;\r\n\r\n[Default Applications]\r\n" +
             ours + "\r\n"},
        {"[Default Applications]\r\napplication/x-orlenta=gone.desktop",
         "[Default Applications]\r\n" + ours + "\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithDefaultApplication(c.Given, "application/x-orlenta", "orlenta.desktop",
                                         NothingInstalled),
                  c.Expected)
            << c.Given;
}

TEST(WithDefaultApplication, LeavesADefaultThatNamesAnInstalledEntryAsItIs) {
    const std::string cases[] = {
        "[Default Applications]\napplication/x-orlenta=orlenta.desktop",
        "[Default Applications]\r\napplication/x-orlenta=orlenta.desktop;\r\n",
        "[Default Applications]\napplication/x-orlenta = orlenta.desktop;other.desktop;\n# end",
        // The user's choice.
        "[Default Applications]\napplication/x-orlenta=myviewer.desktop\n",
        // The desktop takes the first entry of the list that is installed.
        "[Default Applications]\napplication/x-orlenta=gone.desktop; myviewer.desktop;\n",
        "[Default Applications]\napplication/x-orlenta=gone.desktop;orlenta.desktop\n",
        // Repeated keys and all: the file is the user's.
        "[Default Applications]\napplication/x-orlenta=myviewer.desktop\n"
        "application/x-orlenta=gone.desktop\n",
    };
    const auto installed = [](std::string_view id) { return id == "myviewer.desktop"; };
    for (const auto& text : cases)
        EXPECT_EQ(
            WithDefaultApplication(text, "application/x-orlenta", "orlenta.desktop", installed),
            text);
}

// The files that an installation puts in the system folders are what the program writes for
// its user, with the executable found through PATH: the two must never disagree on a name.
TEST(InstalledDesktopFiles, AreWhatTheRegistrationWrites) {
    EXPECT_EQ(test::ReadFileBytes(ORLENTA_SOURCE_DIR "/data/orlenta.xml"),
              MimePackageText(kOrlentaType));
    EXPECT_EQ(test::ReadFileBytes(ORLENTA_SOURCE_DIR "/data/orlenta.desktop"),
              DesktopEntryText(kOrlentaType, "orlenta"));
}

} // namespace
} // namespace orlenta
