// Duplicates and overlap on small catalogues: what makes files the same, the order of the
// groups, what is left out, the shares of a disc found on the others, and sizes at the ends of
// their range.

#include "core/search/Duplicates.h"

#include "TestSupport.h"
#include "core/search/FindAll.h"
#include "core/search/Overlap.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

using TStrings = std::vector<std::string>;

// A catalogue of discs given as the inside of their Root elements.
std::string CatalogueXml(const TStrings& discs) {
    std::string xml = R"(<?xml version="1.0"?><OrlentaData Title="Shelf"><Discs>)";
    int id = 1;
    for (size_t i = 0; i < discs.size(); ++i) {
        xml += "<Disc Title=\"D";
        xml += std::to_string(i);
        xml += "\"><Root ID=\"";
        xml += std::to_string(id++);
        xml += "\">";
        xml += discs[i];
        xml += "</Root></Disc>";
    }
    xml += "</Discs></OrlentaData>";
    return xml;
}

std::string Files(const TStrings& files) {
    std::string xml = "<Filenames>";
    for (const std::string& file : files)
        xml += "<Filename " + file + "/>";
    return xml + "</Filenames>";
}

class DuplicatesTest : public ::testing::Test {
protected:
    void Load(const TStrings& discs) {
        test::WriteFileBytes(Dir / "shelf.xml", CatalogueXml(discs));
        Root = LoadOrlentaData(Dir / "shelf.xml");
        Index = TNameIndex(Root);
    }
    // text's lines, without their line feeds.
    static TStrings SplitLines(const std::string& text) {
        TStrings lines;
        for (size_t start = 0; start < text.size();) {
            const size_t end = text.find('\n', start);
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
    // The lines orlenta-cli duplicates prints, without their line feeds.
    TStrings Lines(const TDuplicateOptions& options = {}) const {
        const TDuplicates duplicates = FindDuplicates(Index, options);
        std::string text;
        std::uint64_t number = 0;
        for (const TDuplicateGroup& group : duplicates.Groups)
            AppendDuplicateLines(text, Index, duplicates, group, ++number);
        return SplitLines(text);
    }
    TStrings OverlapLines(std::uint32_t disc) const {
        const TOverlap overlap = FindOverlap(Index, disc);
        std::string text;
        for (const TOverlapCount& count : overlap.Discs)
            AppendOverlapLine(text, overlap, count, Index.Disc(count.Disc).Title);
        AppendOverlapLine(text, overlap, overlap.AllOthers, "all");
        return SplitLines(text);
    }

    test::TScratchDirectory Dir;
    IXMLOrlentaDataType Root;
    TNameIndex Index;
};

struct TGroupCase {
    const char* Name;
    TStrings Discs;
    TStrings Lines;
};

TEST_F(DuplicatesTest, GroupsFilesOfTheSameNameAndSize) {
    const std::vector<TGroupCase> cases = {
        {"same name, other size: not the same",
         {Files({R"(Text="a.jpg" Size="10")"}), Files({R"(Text="a.jpg" Size="11")"})},
         {}},
        {"same size, other name: not the same",
         {Files({R"(Text="a.jpg" Size="10")"}), Files({R"(Text="b.jpg" Size="10")"})},
         {}},
        {"names differing only in case: not the same",
         {Files({R"(Text="Photo.JPG" Size="10")"}), Files({R"(Text="photo.jpg" Size="10")"})},
         {}},
        {"across discs and within one, copies in walk order",
         {Files({R"(Text="a.jpg" Size="10")"}) + R"(<Directories><Directory Name="sub" ID="9">)" +
              Files({R"(Text="a.jpg" Size="10")"}) + "</Directory></Directories>",
          Files({R"(Text="a.jpg" Size="10")"})},
         {"1\t10\t0\tD0\t/a.jpg", "1\t10\t0\tD0\t/sub/a.jpg", "1\t10\t1\tD1\t/a.jpg"}},
        {"ordered by wasted space, then by name",
         {Files({R"(Text="small" Size="5")", R"(Text="b" Size="100")", R"(Text="A" Size="100")",
                 R"(Text="big" Size="60")"}),
          Files({R"(Text="small" Size="5")", R"(Text="b" Size="100")", R"(Text="A" Size="100")",
                 R"(Text="big" Size="60")"}),
          Files({R"(Text="big" Size="60")", R"(Text="small" Size="5")"})},
         {"1\t60\t0\tD0\t/big", "1\t60\t1\tD1\t/big", "1\t60\t2\tD2\t/big", "2\t100\t0\tD0\t/A",
          "2\t100\t1\tD1\t/A", "3\t100\t0\tD0\t/b", "3\t100\t1\tD1\t/b", "4\t5\t0\tD0\t/small",
          "4\t5\t1\tD1\t/small", "4\t5\t2\tD2\t/small"}},
        {"empty files are left out",
         {Files({R"(Text="e" Size="0")"}), Files({R"(Text="e" Size="0")"})},
         {}},
        {"a disc without sizes: by name, with every file of the name; sized copies keep their "
         "group",
         {Files({R"(Text="a.jpg" Size="10")", R"(Text="b" Size="7")"}),
          Files({R"(Text="a.jpg" Size="10")"}), Files({R"(Text="a.jpg")", R"(Text="c")"}),
          Files({R"(Text="c")"})},
         {"1\t10\t0\tD0\t/a.jpg", "1\t10\t1\tD1\t/a.jpg", "2\t10\t0\tD0\t/a.jpg",
          "2\t10\t1\tD1\t/a.jpg", "2\t\t2\tD2\t/a.jpg", "3\t\t2\tD2\t/c", "3\t\t3\tD3\t/c"}},
        {"a lone file without size and one sized: a group by name",
         {Files({R"(Text="a" Size="10")"}), Files({R"(Text="a")"})},
         {"1\t10\t0\tD0\t/a", "1\t\t1\tD1\t/a"}},
    };
    for (const TGroupCase& test : cases) {
        Load(test.Discs);
        EXPECT_EQ(Lines(), test.Lines) << test.Name;
    }
}

TEST_F(DuplicatesTest, MinimumSizeAndMatchingByNameAlone) {
    Load({Files({R"(Text="a" Size="10")", R"(Text="b" Size="1000")", R"(Text="c")"}),
          Files({R"(Text="a" Size="10")", R"(Text="b" Size="999")", R"(Text="c" Size="3")"})});
    EXPECT_EQ(Lines(), (TStrings{"1\t10\t0\tD0\t/a", "1\t10\t1\tD1\t/a", "2\t\t0\tD0\t/c",
                                 "2\t3\t1\tD1\t/c"}));
    // Below the minimum, a known size leaves its file out; an unknown one never does.
    EXPECT_EQ(Lines({11, TDuplicateMatch::NameAndSize}), TStrings{});
    EXPECT_EQ(
        Lines({3, TDuplicateMatch::NameAndSize}),
        (TStrings{"1\t10\t0\tD0\t/a", "1\t10\t1\tD1\t/a", "2\t\t0\tD0\t/c", "2\t3\t1\tD1\t/c"}));
    // By name alone every name that stands twice is one group, sizes not compared.
    EXPECT_EQ(Lines({1, TDuplicateMatch::Name}),
              (TStrings{"1\t10\t0\tD0\t/a", "1\t10\t1\tD1\t/a", "2\t1000\t0\tD0\t/b",
                        "2\t999\t1\tD1\t/b", "3\t\t0\tD0\t/c", "3\t3\t1\tD1\t/c"}));
    EXPECT_EQ(Lines({1000, TDuplicateMatch::Name}), TStrings{});
}

TEST_F(DuplicatesTest, WastedSpaceStopsAtTheLargestNumber) {
    Load({Files({R"(Text="huge" Size="18446744073709551614")"}),
          Files({R"(Text="huge" Size="18446744073709551614")"}),
          Files({R"(Text="huge" Size="18446744073709551614")"})});
    const TDuplicates duplicates = FindDuplicates(Index, {});
    ASSERT_EQ(duplicates.Groups.size(), 1u);
    EXPECT_EQ(duplicates.Groups[0].Wasted, UINT64_MAX);
    EXPECT_EQ(duplicates.Groups[0].CopyCount, 3u);
}

TEST_F(DuplicatesTest, OverlapGivesTheSharesFoundOnEachOtherDiscAndOnAll) {
    Load({Files({R"(Text="a" Size="60")", R"(Text="b" Size="30")", R"(Text="c" Size="9")",
                 R"(Text="d" Size="1")"}),
          // a and b; c in another size
          Files({R"(Text="a" Size="60")", R"(Text="b" Size="30")", R"(Text="c" Size="8")"}),
          // nothing of D0
          Files({R"(Text="x" Size="60")"}),
          // a twice: counted once; d by name alone
          Files({R"(Text="a" Size="60")", R"(Text="A" Size="60")"}) +
              R"(<Directories><Directory Name="s" ID="9">)" +
              Files({R"(Text="a" Size="60")", R"(Text="d")"}) + "</Directory></Directories>"});
    EXPECT_EQ(OverlapLines(0), (TStrings{"1\tD1\t2\t90\t50.0%\t90.0%", "3\tD3\t2\t61\t50.0%\t61.0%",
                                         "*\tall\t3\t91\t75.0%\t91.0%"}));
    // Both copies of a are found; A is another name; d, without a size, by name alone.
    EXPECT_EQ(OverlapLines(3),
              (TStrings{"0\tD0\t3\t120\t75.0%\t66.6%", "1\tD1\t2\t120\t50.0%\t66.6%",
                        "*\tall\t3\t120\t75.0%\t66.6%"}));
    // A disc without sizes matches by name, and has no share of bytes.
    Load({Files({R"(Text="a")", R"(Text="b")"}), Files({R"(Text="a" Size="5")"}), ""});
    EXPECT_EQ(OverlapLines(0), (TStrings{"1\tD1\t1\t0\t50.0%\t", "*\tall\t1\t0\t50.0%\t"}));
    EXPECT_EQ(OverlapLines(2), (TStrings{"*\tall\t0\t0\t\t"}));
}

TEST_F(DuplicatesTest, OverlapCountsEachFileOnceWhereverItsNameStands) {
    // D0 holds t in two sizes, twice in one of them, and once without a size; the other discs
    // hold t in one size, in none, in a size D0 lacks, and in every way at once.
    const std::string many = Files({R"(Text="t" Size="5")", R"(Text="t" Size="7")", R"(Text="t")",
                                    R"(Text="u" Size="1")"}) +
                             R"(<Directories><Directory Name="s" ID="9">)" +
                             Files({R"(Text="t" Size="5")"}) + "</Directory></Directories>";
    Load({many, Files({R"(Text="t" Size="5")"}), Files({R"(Text="t")"}),
          Files({R"(Text="t" Size="9")"}),
          Files({R"(Text="t" Size="7")", R"(Text="t")", R"(Text="t" Size="5")"})});
    // Size 5 finds both copies of 5 and the one without a size; no size finds every t; size 9
    // only the one without a size.
    EXPECT_EQ(OverlapLines(0), (TStrings{"1\tD1\t3\t10\t60.0%\t55.5%", "2\tD2\t4\t17\t80.0%\t94.4%",
                                         "3\tD3\t1\t0\t20.0%\t0.0%", "4\tD4\t4\t17\t80.0%\t94.4%",
                                         "*\tall\t4\t17\t80.0%\t94.4%"}));
    // Size 9 is found where a t without a size stands, or where it stands without one itself.
    EXPECT_EQ(OverlapLines(3),
              (TStrings{"0\tD0\t1\t9\t100.0%\t100.0%", "2\tD2\t1\t9\t100.0%\t100.0%",
                        "4\tD4\t1\t9\t100.0%\t100.0%", "*\tall\t1\t9\t100.0%\t100.0%"}));
}

TEST_F(DuplicatesTest, SizesAtTheEndsOfTheRange) {
    constexpr const char* kLargest = "18446744073709551615"; // 2^64 - 1
    constexpr const char* kHalf = "9223372036854775808";     // 2^63
    struct TCase {
        const char* Name;
        TStrings D0;       // the files of D0; D1 holds one file f as D0's first
        TStrings Lines;    // duplicates
        TStrings Overlap;  // of D0
        TStrings SizeHits; // FindAll of "size:>1G"
    };
    const std::string largest = std::string(R"(Text="f" Size=")") + kLargest + '"';
    const std::string half = std::string(R"(Text="f" Size=")") + kHalf + '"';
    const std::vector<TCase> cases = {
        {"the largest size is a size",
         {largest},
         {"1\t18446744073709551615\t0\tD0\t/f", "1\t18446744073709551615\t1\tD1\t/f"},
         {"1\tD1\t1\t18446744073709551615\t100.0%\t100.0%",
          "*\tall\t1\t18446744073709551615\t100.0%\t100.0%"},
         {"filename /f", "filename /f"}},
        {"2^63",
         {half},
         {"1\t9223372036854775808\t0\tD0\t/f", "1\t9223372036854775808\t1\tD1\t/f"},
         {"1\tD1\t1\t9223372036854775808\t100.0%\t100.0%",
          "*\tall\t1\t9223372036854775808\t100.0%\t100.0%"},
         {"filename /f", "filename /f"}},
        {"three files of 2^63 in one folder: their bytes stop at the largest number",
         {half, half, half},
         {"1\t9223372036854775808\t0\tD0\t/f", "1\t9223372036854775808\t0\tD0\t/f",
          "1\t9223372036854775808\t0\tD0\t/f", "1\t9223372036854775808\t1\tD1\t/f"},
         {"1\tD1\t3\t18446744073709551615\t100.0%\t100.0%",
          "*\tall\t3\t18446744073709551615\t100.0%\t100.0%"},
         {"filename /f", "filename /f", "filename /f", "filename /f"}},
        {"no size",
         {R"(Text="f")"},
         {"1\t\t0\tD0\t/f", "1\t\t1\tD1\t/f"},
         {"1\tD1\t1\t0\t100.0%\t", "*\tall\t1\t0\t100.0%\t"},
         {}},
        // Written by hand: a number past the largest, or no number, is no size either.
        {"past the largest",
         {R"(Text="f" Size="18446744073709551616")"},
         {"1\t\t0\tD0\t/f", "1\t\t1\tD1\t/f"},
         {"1\tD1\t1\t0\t100.0%\t", "*\tall\t1\t0\t100.0%\t"},
         {}},
        {"not a number",
         {R"(Text="f" Size="1e3")"},
         {"1\t\t0\tD0\t/f", "1\t\t1\tD1\t/f"},
         {"1\tD1\t1\t0\t100.0%\t", "*\tall\t1\t0\t100.0%\t"},
         {}},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        Load({Files(test.D0), Files({test.D0.front()})});
        EXPECT_EQ(Lines(), test.Lines);
        EXPECT_EQ(OverlapLines(0), test.Overlap);
        TSearchRequest request;
        request.Text = "size:>1G";
        request.InFilename = request.SizeDateFilters = true;
        TStrings hits;
        for (const TFindHit& hit : FindAll(Index, request))
            hits.push_back("filename " + HitPath(Index, hit));
        EXPECT_EQ(hits, test.SizeHits);
    }
}

TEST(ShareTextTest, RoundsDownToATenth) {
    EXPECT_EQ(ShareText(0, 3), "0.0%");
    EXPECT_EQ(ShareText(2, 3), "66.6%");
    EXPECT_EQ(ShareText(999, 1000), "99.9%");
    EXPECT_EQ(ShareText(9999, 10000), "99.9%");
    EXPECT_EQ(ShareText(7, 7), "100.0%");
    EXPECT_EQ(ShareText(UINT64_MAX, UINT64_MAX), "100.0%");
    EXPECT_EQ(ShareText(1, 0), "");
}

} // namespace
} // namespace orlenta
