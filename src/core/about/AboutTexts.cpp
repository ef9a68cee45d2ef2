#include "core/about/AboutTexts.h"

#include <algorithm>

// The maker's addresses come from CMake (ORLENTA_MAKER_SITE and its siblings in the cache), so
// that the project can move them to its own site without touching the code.
#if !defined(ORLENTA_MAKER_SITE) || !defined(ORLENTA_MAKER_SOFTWARE_PAGE) ||                       \
    !defined(ORLENTA_MAKER_MAIL_DOMAIN)
#error "The maker's addresses are set by src/core/about/CMakeLists.txt"
#endif

namespace orlenta {

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimmedText(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

std::size_t CharacterCount(std::string_view utf8) {
    // Continuation bytes (10xxxxxx) belong to the character before them.
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

TFileVersion ProgramVersion() {
    return {ORLENTA_VERSION_MAJOR, ORLENTA_VERSION_MINOR, ORLENTA_VERSION_PATCH,
            ORLENTA_VERSION_BUILD};
}

std::string VersionLabelText(const TFileVersion& version) {
    return "Version " + std::to_string(version.Major) + "." + std::to_string(version.Minor) +
           "  Build " + std::to_string(version.Build);
}

int ProductNameFontSize(std::string_view title) {
    return CharacterCount(title) <= 10 ? 18 : 14;
}

std::string UrlAppName(std::string_view title) {
    std::string name(title);
    std::erase(name, ' ');
    name = std::string(TrimmedText(name));
    std::erase(name, '\'');
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

TMakerAddresses MakerAddresses() {
    return {ORLENTA_MAKER_SITE, ORLENTA_MAKER_SOFTWARE_PAGE, ORLENTA_MAKER_MAIL_DOMAIN};
}

std::string MakerMailAddress(std::string_view urlAppName, std::string_view mailDomain) {
    return std::string(urlAppName) + "@" + std::string(mailDomain);
}

std::string SiteLinkText(std::string_view site) {
    for (std::string_view scheme : {"https://", "http://"})
        if (site.starts_with(scheme)) {
            site.remove_prefix(scheme.size());
            break;
        }
    while (site.ends_with('/'))
        site.remove_suffix(1);
    return std::string(site);
}

std::string NoticeText(int firstYear, int currentYear) {
    // A clock set before the first year must not print a span that runs backwards.
    std::string years = std::to_string(firstYear);
    if (currentYear > firstYear)
        years += "\u2013" + std::to_string(currentYear);
    return "Copyright \u00A9 " + years +
           " the Orlenta project.\n"
           "This program is provided as it is, without any warranty.\n"
           "Its makers are not liable for any loss of data or other damage\n"
           "that may come from using it.";
}

TUrlInfo UrlInfo(std::string_view site, std::string_view softwarePage, std::string_view appName) {
    const std::string s(site);
    const std::string p(softwarePage);
    const std::string n(appName);
    TUrlInfo info;
    info.InformationPage = p + "/" + n + ".htm";
    info.ScreenshotPicture = s + "images/software_" + n + ".jpg";
    info.UpdateUrl = p + "/download/" + n + ".zip";
    info.MemoText = "\nInformation:\n" + info.InformationPage + "\n\nScreenshot:\n" +
                    info.ScreenshotPicture + "\n\nDownload:\n" + info.UpdateUrl;
    return info;
}

std::string DownloadNowText(std::string_view title) {
    return "Click here to download the latest version of " + std::string(title) + ".";
}

TAboutTexts AboutTexts(std::string_view title, const TFileVersion& version, int firstYear,
                       int currentYear, const TMakerAddresses& maker) {
    TAboutTexts texts;
    texts.ProductName = std::string(title);
    texts.ProductNameFontSize = ProductNameFontSize(title);
    texts.Version = VersionLabelText(version);
    texts.MakerLine = "Made by the Orlenta project";
    texts.UrlAppName = UrlAppName(title);
    texts.MailAddress = MakerMailAddress(texts.UrlAppName, maker.MailDomain);
    texts.MailTarget = "mailto:" + texts.MailAddress;
    texts.SiteText = SiteLinkText(maker.Site);
    texts.SiteTarget = maker.Site;
    texts.SoftwareText = "More freeware and updates";
    texts.SoftwareTarget = maker.SoftwarePage;
    texts.Notice = NoticeText(firstYear, currentYear);
    return texts;
}

std::string MakerPanelText() {
    return std::string("Greetings from ") + kMakerFirstName + " of the Orlenta project.";
}

} // namespace orlenta
