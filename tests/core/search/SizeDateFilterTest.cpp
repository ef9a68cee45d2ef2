#include "core/search/SizeDateFilter.h"

#include "TestSupport.h"
#include "core/base/UtcTime.h"
#include "core/search/FindAll.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>

namespace orlenta {
namespace {

using TStrings = std::vector<std::string>;

// Local time is Central European for the test's lifetime: an hour east of UTC in winter, two in
// summer, so that a date filter shows whether it starts its periods in local time.
class TCentralEuropeanTime {
public:
    TCentralEuropeanTime() {
        if (const char* zone = std::getenv("TZ"))
            FPrevious = zone;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    ~TCentralEuropeanTime() {
        if (FPrevious)
            setenv("TZ", FPrevious->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TCentralEuropeanTime(const TCentralEuropeanTime&) = delete;
    TCentralEuropeanTime& operator=(const TCentralEuropeanTime&) = delete;

private:
    std::optional<std::string> FPrevious;
};

// The filter as one line, for comparing a table of expectations.
std::string Bounds(const TSizeDateFilter& filter) {
    std::ostringstream text;
    if (filter.OnSize)
        text << "size " << filter.MinSize << ".." << filter.MaxSize << ' ';
    if (filter.OnModified) {
        const auto moment = [](std::int64_t seconds) {
            char stored[kUtcTimeLength];
            return FormatUtcTime(seconds, stored) ? std::string(stored, kUtcTimeLength)
                                                  : std::to_string(seconds);
        };
        text << "modified " << moment(filter.MinModified) << ".." << moment(filter.MaxModified)
             << ' ';
    }
    return text.str();
}

TEST(SizeDateFilter, TakesExactlyTheFilterWordsOutOfTheText) {
    const TCentralEuropeanTime zone;
    constexpr std::uint64_t kMax = UINT64_MAX;
    const std::string max = std::to_string(kMax);
    const std::string earliest = std::to_string(TSizeDateFilter::kNoModified + 1);
    struct TCase {
        const char* Text;
        const char* Name;
        std::string Bounds;
    };
    const TCase cases[] = {
        // Sizes: units of 1024, either case, decimals rounded the way that keeps > and <.
        {"size:>10M", "", "size 10485761.." + max + " "},
        {"size:<700k", "", "size 0..716799 "},
        {"size:>=1.5G", "", "size 1610612736.." + max + " "},
        {"size:<=1.5k", "", "size 0..1536 "},
        {"size:>10m", "", "size 10485761.." + max + " "},
        {"size:<2T", "", "size 0..2199023255551 "},
        {"size:>0.5", "", "size 1.." + max + " "},
        {"size:<0.5", "", "size 0..0 "},
        {"size:<0", "", "size 1..0 "}, // below nothing: no size passes
        {"size:>1k size:<2k", "", "size 1025..2047 "},
        // Every size a file may have can be asked for, the largest too.
        {"size:>=18446744073709551615", "", "size 18446744073709551615.." + max + " "},
        {"size:<=18446744073709551615", "", "size 0.." + max + " "},
        {"size:>18446744073709551615", "", "size 1..0 "}, // above every size: none passes
        {"size:>=18446744073709551615.5", "", "size 1..0 "},
        {"size:>18446744073709551614.5", "", "size 18446744073709551615.." + max + " "},
        // Dates in local time: > after the whole period, < before its start.
        {"modified:>2020", "", "modified 2020-12-31T23:00:00Z..9223372036854775807 "},
        {"modified:<2021-06", "", "modified " + earliest + "..2021-05-31T21:59:59Z "},
        {"modified:>=2020-03-29", "", "modified 2020-03-28T23:00:00Z..9223372036854775807 "},
        // The day summer time begins is 23 hours long.
        {"modified:<=2020-03-29", "", "modified " + earliest + "..2020-03-29T21:59:59Z "},
        {"modified:>2024-02-29", "", "modified 2024-02-29T23:00:00Z..9223372036854775807 "},
        // With a name part: filters leave their place and the spaces before them.
        {"*.iso size:>1G", "*.iso", "size 1073741825.." + max + " "},
        {"size:>1G  *.iso", "*.iso", "size 1073741825.." + max + " "},
        {"my size:>1M file", "my file", "size 1048577.." + max + " "},
        {"  beach  modified:<2000 ", "beach", "modified " + earliest + "..1999-12-31T22:59:59Z "},
        {"a  b size:<1", "a  b", "size 0..0 "},
        // Not filters: the text stays as it is, spaces and all.
        {"  beach  ", "  beach  ", ""},
        {"my size:big file", "my size:big file", ""},
        {"size:10M", "size:10M", ""},
        {"size:>10MB", "size:>10MB", ""},
        {"size:>M", "size:>M", ""},
        {"size:>1.", "size:>1.", ""},
        {"size:>.5", "size:>.5", ""},
        {"size:>-1", "size:>-1", ""},
        {"Size:>1M", "Size:>1M", ""},
        {"size:> 1M", "size:> 1M", ""},
        {"size:>16777216T", "size:>16777216T", ""}, // 2^64 bytes
        {"size:<18446744073709551616", "size:<18446744073709551616", ""},
        {"size:<99999999999999999999", "size:<99999999999999999999", ""},
        {"size:>=1k;", "size:>=1k;", ""},
        {"modified:>2020-13", "modified:>2020-13", ""},
        {"modified:>2021-02-29", "modified:>2021-02-29", ""},
        {"modified:>2020-1-1", "modified:>2020-1-1", ""},
        {"modified:>20", "modified:>20", ""},
        {"modified:=2020", "modified:=2020", ""},
        {"modified:>2020-01-01T00:00", "modified:>2020-01-01T00:00", ""},
    };
    for (const TCase& c : cases) {
        const TFilteredText split = SplitFilters(c.Text);
        EXPECT_EQ(split.Name, c.Name) << c.Text;
        EXPECT_EQ(Bounds(split.Filter), c.Bounds) << c.Text;
    }
}

// Two discs. The first was read with sizes and dates: files of a few bytes, of exactly 4 GiB
// and of more, one file with a size but no time and one with neither; its directories carry
// their totals. The second was read without them.
constexpr const char* kCatalogueXml =
    R"(<?xml version="1.0"?><OrlentaData Title="Shelf"><Discs>)"
    R"(<Disc Title="Backup" Vendor="Acme"><Root ID="1" Size="9663676516")"
    R"( Modified="2021-07-01T10:00:00Z"><Filenames>)"
    R"(<Filename Text="notes.txt" Size="100" Modified="2019-06-01T10:00:00Z"/>)"
    R"(<Filename Text="nothing.txt"/></Filenames><Directories>)"
    R"(<Directory Name="iso" ID="2" Size="9663676416" Modified="2021-06-30T22:30:00Z">)"
    R"(<Filenames><Filename Text="big.iso" Size="5368709120" Modified="2020-12-31T23:30:00Z"/>)"
    R"(<Filename Text="edge.iso" Size="4294967296" Modified="2020-12-31T22:30:00Z"/>)"
    R"(<Filename Text="small.iso" Size="0"/></Filenames></Directory>)"
    R"(</Directories></Root></Disc>)"
    R"(<Disc Title="Plain"><Root ID="3"><Filenames><Filename Text="plain.iso"/>)"
    R"(</Filenames></Root></Disc>)"
    R"(</Discs></OrlentaData>)";

TSearchRequest Request(const char* text) {
    TSearchRequest request;
    request.Text = text;
    request.InTitle = request.InVendor = request.InMemo = true;
    request.InDirectory = request.InFilename = true;
    request.Wildcards = true;
    request.SizeDateFilters = true;
    return request;
}

class FilteredFindAllTest : public ::testing::Test {
protected:
    FilteredFindAllTest() {
        test::WriteFileBytes(Dir / "shelf.xml", kCatalogueXml);
        Root = LoadOrlentaData(Dir / "shelf.xml");
    }

    // Each hit as its field and path.
    static TStrings Hits(const TNameIndex& index, const std::vector<TFindHit>& hits) {
        TStrings found;
        for (const TFindHit& hit : hits) {
            std::string line(SearchFieldName(hit.Field));
            line += ' ';
            line += HitPath(index, hit);
            found.push_back(line);
        }
        return found;
    }
    TStrings Hits(const TSearchRequest& request) const {
        const TNameIndex index(Root);
        return Hits(index, FindAll(index, request));
    }

    const TCentralEuropeanTime Zone;
    test::TScratchDirectory Dir;
    IXMLOrlentaDataType Root;
};

TEST_F(FilteredFindAllTest, FiltersPassOnlyRecordedValuesAndCombineWithTheName) {
    struct TCase {
        const char* Text;
        TStrings Expected;
    };
    const TCase cases[] = {
        // Filters alone: every directory (the top one too) and file name that passes.
        {"size:>4G", {"directory /", "directory /iso", "filename /iso/big.iso"}},
        {"size:>=4G",
         {"directory /", "directory /iso", "filename /iso/big.iso", "filename /iso/edge.iso"}},
        {"*.iso size:>=4G", {"filename /iso/big.iso", "filename /iso/edge.iso"}},
        {"*.iso size:<1", {"filename /iso/small.iso"}},
        // A disc's fields stand for its top directory: 9 GiB and 100 bytes.
        {"acme size:>9G", {"vendor /"}},
        {"backup size:<9G", {}},
        // Local midnight of 2021-01-01 is 23:00 UTC the day before.
        {"*.iso modified:>2020", {"filename /iso/big.iso"}},
        {"*.iso modified:<2021", {"filename /iso/edge.iso"}},
        {"size:>1k modified:<2021-06", {"filename /iso/big.iso", "filename /iso/edge.iso"}},
        {"modified:<2020", {"filename /notes.txt"}},
        // Contradicting filters pass nothing.
        {"size:>1G size:<1G", {}},
        // Without filters, names without values are found as ever.
        {"*.iso",
         {"filename /iso/big.iso", "filename /iso/edge.iso", "filename /iso/small.iso",
          "filename /plain.iso"}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Hits(Request(c.Text)), c.Expected) << c.Text;

    // Filters belong to those who ask for them: otherwise the words are searched as text.
    TSearchRequest plain = Request("size:>4G");
    plain.SizeDateFilters = false;
    EXPECT_TRUE(Hits(plain).empty());
    TSearchRequest files = Request("size:>=4G");
    files.InDirectory = false;
    files.InTitle = false; // no disc field is a hit of filters alone anyway
    EXPECT_EQ(Hits(files), (TStrings{"filename /iso/big.iso", "filename /iso/edge.iso"}));
}

TEST_F(FilteredFindAllTest, SaysWhyAFilterFindsNothing) {
    const TNameIndex index(Root);
    EXPECT_TRUE(index.HasSizes());
    EXPECT_EQ(MissingValues(index, Request("plain size:>1")), TMissingValues::InNameHits);
    EXPECT_EQ(MissingValues(index, Request("nothing.txt modified:>1990")),
              TMissingValues::InNameHits);
    EXPECT_EQ(MissingValues(index, Request("notes size:>1G")), TMissingValues::None);
    EXPECT_EQ(MissingValues(index, Request("no such name size:>1")), TMissingValues::None);
    EXPECT_EQ(MissingValues(index, Request("plain")), TMissingValues::None);

    // A catalogue read without sizes: no filter passes anything, and the whole catalogue is why.
    Root.Discs().Remove(Root.Discs().Disc(0));
    const TNameIndex plain(Root);
    EXPECT_FALSE(plain.HasSizes());
    EXPECT_FALSE(plain.HasModified());
    for (const char* text : {"size:>=0", "*.iso size:<1T", "modified:<9999", "plain size:>0"}) {
        EXPECT_TRUE(Hits(plain, FindAll(plain, Request(text))).empty()) << text;
        EXPECT_EQ(MissingValues(plain, Request(text)), TMissingValues::InCatalogue) << text;
    }
    EXPECT_EQ(Hits(plain, FindAll(plain, Request("*.iso"))), TStrings{"filename /plain.iso"});
}

TEST_F(FilteredFindAllTest, SortsBySizeAndTimeWithHitsWithoutThemFirst) {
    const TNameIndex index(Root);
    std::vector<TFindHit> hits = FindAll(index, Request("*"));
    SortFindHits(index, hits, TFindOrder::Size, false);
    EXPECT_EQ(Hits(index, hits), (TStrings{
                                     "filename /nothing.txt",
                                     "title /", // Plain's top directory has no size
                                     "filename /plain.iso",
                                     "filename /iso/small.iso",
                                     "filename /notes.txt",
                                     "filename /iso/edge.iso",
                                     "filename /iso/big.iso",
                                     "directory /iso",
                                     "title /", // Backup's 9 GiB and 100 bytes
                                     "vendor /",
                                 }));
    SortFindHits(index, hits, TFindOrder::Modified, true);
    EXPECT_EQ(Hits(index, hits), (TStrings{
                                     "title /",
                                     "vendor /",
                                     "directory /iso",
                                     "filename /iso/big.iso",
                                     "filename /iso/edge.iso",
                                     "filename /notes.txt",
                                     "filename /nothing.txt",
                                     "filename /iso/small.iso",
                                     "title /",
                                     "filename /plain.iso",
                                 }));
}

} // namespace
} // namespace orlenta
