#include "core/search/CatalogueSearch.h"

#include "TestSupport.h"
#include "core/catalogue/EscapedText.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

TEST(ContainsKeyword, FoldsOnlyAsciiLettersAndMatchesPlainSubstrings) {
    struct TCase {
        const char* Keyword;
        const char* Value;
        bool Matches;
    };
    const TCase cases[] = {
        {"dvd", "Backup DVD 3", true},
        {" 3", "Backup DVD 3", true},
        {" 3", "Backup3", false},
        {"\xC3\x89",
         "\xC3\xA9"
         "ditions",
         false}, // É does not find é
        {"\xC3\xA9",
         "\xC3\xA9"
         "ditions",
         true},
        {"", "anything", false},
        {"a", "", false},
        {"", "", false},
        {"longer than value", "value", false},
        {"ue", "value", true},
        {"VAL", "value", true},
        {"a b", "A  B", false},
        {"[x]", "list [X] here", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ContainsKeyword(c.Keyword, c.Value), c.Matches) << c.Keyword << " in " << c.Value;
}

// A catalogue of three discs:
//   Holiday (vendor Acme, memo "ab\r\ncd")  Root 1: index.html; 2022 (2): beach.jpg, hills.jpg;
//                                             2022/misc (3); photos (4): beach2.jpg
//   Backup DVD 3 (vendor Acme DVD)          Root 5: no directories
//   Software                                 Root 6: tools (7): setup.exe
class CatalogueSearchTest : public ::testing::Test {
protected:
    CatalogueSearchTest() {
        TXMLDiscType holiday = AddDisc("Holiday", "Acme", "1");
        holiday.SetMemo(EscapeText("ab\r\ncd"));
        TXMLDirectoryType root = holiday.Root();
        root.Filenames().Add().SetText("index.html");
        TXMLDirectoryType year = AddDirectory(root, "2022", "2");
        year.Filenames().Add().SetText("beach.jpg");
        year.Filenames().Add().SetText("hills.jpg");
        AddDirectory(year, "misc", "3");
        AddDirectory(root, "photos", "4").Filenames().Add().SetText("beach2.jpg");
        AddDisc("Backup DVD 3", "Acme DVD", "5");
        TXMLDiscType software = AddDisc("Software", "", "6");
        AddDirectory(software.Root(), "tools", "7").Filenames().Add().SetText("setup.exe");
    }

    TXMLDiscType AddDisc(const char* title, const char* vendor, const char* rootID) {
        TXMLDiscType disc = Root.Discs().Add();
        disc.SetTitle(title);
        disc.SetVendor(vendor);
        disc.Root().SetID(rootID);
        return disc;
    }
    static TXMLDirectoryType AddDirectory(const TXMLDirectoryType& parent, const char* name,
                                          const char* id) {
        TXMLDirectoryType directory = parent.Directories().Add();
        directory.SetName(name);
        directory.SetID(id);
        return directory;
    }

    // Every hit of the Search command as "disc:field:id", answering Yes stopAfter times.
    std::vector<std::string> Hits(const TSearchRequest& request, int stopAfter = 1000) {
        std::vector<std::string> hits;
        SearchCatalogue(Root, request, [&](const TSearchHit& hit) {
            hits.push_back(std::to_string(hit.DiscIndex) + ":" +
                           std::string(SearchFieldName(hit.Field)) + ":" +
                           std::string(hit.DirectoryID));
            return static_cast<int>(hits.size()) < stopAfter;
        });
        return hits;
    }

    // The Search dialog's starting ticks: every field but file names.
    static TSearchRequest DialogRequest(const char* text) {
        TSearchRequest request;
        request.Text = text;
        request.InTitle = request.InVendor = request.InMemo = request.InDirectory = true;
        return request;
    }

    IXMLOrlentaDataType Root = NewOrlentaData();
};

using TStrings = std::vector<std::string>;

TEST_F(CatalogueSearchTest, ReportsTitleVendorMemoThenOneDirectoryHitPerDisc) {
    TSearchRequest request = DialogRequest("dvd");
    EXPECT_EQ(Hits(request), (TStrings{"1:title:5", "1:vendor:5"}));

    request.Text = "e";
    request.InFilename = true;
    EXPECT_EQ(Hits(request),
              (TStrings{"0:vendor:1", "0:filename:1", "1:vendor:5", "2:title:6", "2:filename:7"}));
    EXPECT_EQ(Hits(request, 2), (TStrings{"0:vendor:1", "0:filename:1"}));
}

TEST_F(CatalogueSearchTest, WalksNameBeforeFilesBeforeSubdirectories) {
    TSearchRequest request = DialogRequest("beach");
    request.InTitle = request.InVendor = request.InMemo = false;
    request.InFilename = true;
    EXPECT_EQ(Hits(request), TStrings{"0:filename:2"});
    request.Text = "i";
    EXPECT_EQ(Hits(request), (TStrings{"0:filename:1"}));
    request.InFilename = false;
    EXPECT_EQ(Hits(request), (TStrings{"0:directory:3"}));

    // Directory names off: the walk still descends to test file names.
    request.InDirectory = false;
    request.InFilename = true;
    request.Text = "beach2";
    EXPECT_EQ(Hits(request), TStrings{"0:filename:4"});
}

TEST_F(CatalogueSearchTest, MemoIsComparedInItsStoredForm) {
    TSearchRequest request = DialogRequest("abcd");
    EXPECT_TRUE(Hits(request).empty());
    request.Text = R"(ab\r\ncd)";
    EXPECT_EQ(Hits(request), TStrings{"0:memo:1"});
}

TEST_F(CatalogueSearchTest, NoFlagsOrNoKeywordFindNothing) {
    EXPECT_TRUE(Hits(DialogRequest("")).empty());
    const TSearchRequest noFields{"a", false, false, false, false, false};
    EXPECT_TRUE(Hits(noFields).empty());
}

TEST_F(CatalogueSearchTest, WalkDirectoryHitsListsEveryHitWithItsPath) {
    TStrings hits;
    std::string path;
    WalkDirectoryHits(
        TSearchText("I", false), Root.Discs().Disc(0).Root(), true, true,
        [&](const TDirectoryHit& hit) {
            hits.push_back(std::string(SearchFieldName(hit.Field)) + " " +
                           (path.empty() ? std::string("/") : path) + " " +
                           std::string(hit.FileName));
            return true;
        },
        &path);
    EXPECT_EQ(hits, (TStrings{"filename / index.html", "filename /2022 hills.jpg",
                              "directory /2022/misc "}));
    const TSearchText misc("MISC", false);
    EXPECT_EQ(FindInDirectory(misc, Root.Discs().Disc(0).Root(), true, false), "3");
    EXPECT_EQ(FindInDirectory(misc, Root.Discs().Disc(0).Root(), false, true), "");
}

} // namespace
} // namespace orlenta

namespace orlenta {
namespace {

TEST(CatalogueSearch, WalksDirectoriesNestedDeeperThanTheCallStackAllows) {
    const int depth = 200000;
    IXMLOrlentaDataType root = test::DeepCatalogue(depth);
    TXMLDiscType disc = root.Discs().Disc(0);
    TSearchRequest request;
    request.Text = "needle";
    request.InTitle = request.InVendor = request.InMemo = request.InDirectory = true;
    request.InFilename = true;
    std::string_view found;
    SearchCatalogue(root, request, [&found](const TSearchHit& hit) {
        found = hit.DirectoryID;
        return true;
    });
    EXPECT_EQ(found, std::to_string(depth));
    std::string path;
    size_t pathLength = 0;
    WalkDirectoryHits(
        TSearchText("NEEDLE", false), disc.Root(), false, true,
        [&](const TDirectoryHit&) {
            pathLength = path.size();
            return true;
        },
        &path);
    EXPECT_EQ(pathLength, 2u * depth);
    EXPECT_TRUE(path.empty());
}

} // namespace
} // namespace orlenta
