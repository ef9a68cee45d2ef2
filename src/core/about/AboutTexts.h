#pragma once

// What the About box shows, worked out without a window: the version, the product name's size,
// the maker's addresses, the notice and the addresses of the hidden URL panel.

#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// The four parts of the program's version.
struct TFileVersion {
    int Major = 0;
    int Minor = 0;
    int Patch = 0;
    int Build = 0;
};

// The version this program was built as (the project version in CMake).
TFileVersion ProgramVersion();

// "Version " + major + "." + minor + "  Build " + build; the third part is not shown.
std::string VersionLabelText(const TFileVersion& version);

// The product name's size in points: 18 for a title of at most 10 characters, else 14.
int ProductNameFontSize(std::string_view title);

// The title as the maker's addresses use it: blanks removed, trimmed, apostrophes removed,
// letters A to Z lower-cased.
std::string UrlAppName(std::string_view title);

// Where the maker is found: web site S (ends in "/"), software page P (no "/" at its end) and
// the domain of its mail address.
struct TMakerAddresses {
    std::string Site;
    std::string SoftwarePage;
    std::string MailDomain;
};

// The maker's addresses this program was built with (cache variables in CMake).
TMakerAddresses MakerAddresses();

// The maker's mail address for an application name from UrlAppName.
std::string MakerMailAddress(std::string_view urlAppName, std::string_view mailDomain);

// The site as a link shows it: without its scheme and without a closing "/".
std::string SiteLinkText(std::string_view site);

// The copyright line for the years from firstYear to currentYear, then a disclaimer of
// warranty and liability over three lines.
std::string NoticeText(int firstYear, int currentYear);

// The addresses of the URL panel and its text, built from site S, software page P and the
// application name N.
struct TUrlInfo {
    std::string InformationPage;   // P + "/" + N + ".htm"
    std::string ScreenshotPicture; // S + "images/software_" + N + ".jpg"
    std::string UpdateUrl;         // P + "/download/" + N + ".zip"
    std::string MemoText;          // nine lines joined by "\n"
};
TUrlInfo UrlInfo(std::string_view site, std::string_view softwarePage, std::string_view appName);

// The clickable line of the update panel.
std::string DownloadNowText(std::string_view title);

// Every text of the About box and the targets of its links.
struct TAboutTexts {
    std::string ProductName;
    int ProductNameFontSize = 0;
    std::string Version;
    std::string MakerLine;
    std::string MailAddress;
    std::string MailTarget; // "mailto:" + MailAddress
    std::string SiteText;
    std::string SiteTarget;
    std::string SoftwareText;
    std::string SoftwareTarget;
    std::string Notice;
    std::string UrlAppName;
};
TAboutTexts AboutTexts(std::string_view title, const TFileVersion& version, int firstYear,
                       int currentYear, const TMakerAddresses& maker);

// The maker as the maker panel names it, and the letters that show that panel.
inline constexpr const char* kMakerFirstName = "Orla";
// The line under the photograph of the maker panel.
std::string MakerPanelText();

} // namespace orlenta
