#include "core/about/AboutTexts.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace orlenta {
namespace {

TEST(AboutTexts, VersionLabelShowsMajorMinorAndBuildButNotTheThirdPart) {
    EXPECT_EQ(VersionLabelText({0, 4, 0, 161}), "Version 0.4  Build 161");
    EXPECT_EQ(VersionLabelText({12, 0, 7, 0}), "Version 12.0  Build 0");
    // The running program reports the version CMake was given.
    const TFileVersion version = ProgramVersion();
    EXPECT_EQ(version.Major, ORLENTA_VERSION_MAJOR);
    EXPECT_EQ(version.Minor, ORLENTA_VERSION_MINOR);
    EXPECT_EQ(version.Build, ORLENTA_VERSION_BUILD);
}

TEST(AboutTexts, ProductNameIsSmallerFromElevenCharactersOn) {
    EXPECT_EQ(ProductNameFontSize("Orlenta"), 18);
    EXPECT_EQ(ProductNameFontSize("0123456789"), 18);
    EXPECT_EQ(ProductNameFontSize("0123456789A"), 14);
    // Characters, not bytes: ten accented letters are still ten.
    EXPECT_EQ(ProductNameFontSize("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
                                  "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"),
              18);
}

TEST(AboutTexts, UrlAppNameDropsBlanksAndApostrophesAndLowerCasesAsciiOnly) {
    struct TCase {
        const char* Title;
        const char* Name;
    };
    const TCase cases[] = {
        {"Orlenta", "orlenta"},
        {" Disc Keeper's Box ", "disckeepersbox"},
        {"\tTabbed\t", "tabbed"},
        {"Tab\tInside", "tab\tinside"},
        {"\xC3\x89tude", "\xC3\x89tude"}, // only A to Z are lower-cased
        {"''", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlAppName(c.Title), c.Name) << c.Title;
}

TEST(AboutTexts, FillInfoAddressesAndTheNineLinesOfTheUrlPanel) {
    const TUrlInfo info =
        UrlInfo("https://www.example.org/", "https://www.example.org/software", "orlenta");
    EXPECT_EQ(info.InformationPage, "https://www.example.org/software/orlenta.htm");
    EXPECT_EQ(info.ScreenshotPicture, "https://www.example.org/images/software_orlenta.jpg");
    EXPECT_EQ(info.UpdateUrl, "https://www.example.org/software/download/orlenta.zip");
    EXPECT_EQ(info.MemoText, "\n"
                             "Information:\n"
                             "https://www.example.org/software/orlenta.htm\n"
                             "\n"
                             "Screenshot:\n"
                             "https://www.example.org/images/software_orlenta.jpg\n"
                             "\n"
                             "Download:\n"
                             "https://www.example.org/software/download/orlenta.zip");
}

TEST(AboutTexts, TextsOfTheBoxAndTheTargetsOfItsLinks) {
    const TAboutTexts texts =
        AboutTexts("Disc Keeper's", {2, 3, 4, 56}, 2003, 2025,
                   {"http://www.example.org/", "http://www.example.org/soft", "mail.example.org"});
    EXPECT_EQ(texts.ProductName, "Disc Keeper's");
    EXPECT_EQ(texts.ProductNameFontSize, 14);
    EXPECT_EQ(texts.Version, "Version 2.3  Build 56");
    EXPECT_EQ(texts.UrlAppName, "disckeepers");
    EXPECT_EQ(texts.MailAddress, "disckeepers@mail.example.org");
    EXPECT_EQ(texts.MailTarget, "mailto:disckeepers@mail.example.org");
    EXPECT_EQ(texts.SiteText, "www.example.org");
    EXPECT_EQ(texts.SiteTarget, "http://www.example.org/");
    EXPECT_EQ(texts.SoftwareText, "More freeware and updates");
    EXPECT_EQ(texts.SoftwareTarget, "http://www.example.org/soft");
}

TEST(AboutTexts, NoticeSpansTheYearsAndEndsInAThreeLineDisclaimer) {
    const std::string notice = NoticeText(2003, 2025);
    EXPECT_TRUE(notice.starts_with("Copyright \u00A9 2003\u20132025 "));
    EXPECT_EQ(std::count(notice.begin(), notice.end(), '\n'), 3);
    EXPECT_TRUE(NoticeText(2025, 2025).starts_with("Copyright \u00A9 2025 the"));
    // A clock behind the first year gives no span that runs backwards.
    EXPECT_TRUE(NoticeText(2003, 1999).starts_with("Copyright \u00A9 2003 the"));
}

TEST(AboutTexts, MakerAddressesDefaultToTheReservedDomain) {
    const TMakerAddresses maker = MakerAddresses();
    EXPECT_TRUE(maker.Site.ends_with("/"));
    EXPECT_FALSE(maker.SoftwarePage.ends_with("/"));
    EXPECT_FALSE(maker.MailDomain.empty());
}

} // namespace
} // namespace orlenta
