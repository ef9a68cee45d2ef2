// orlenta-cli search on a small catalogue: every hit, in walk order, with its path.

#include "CliRun.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace orlenta::test {
namespace {

constexpr const char* kCatalogueXml =
    R"(<?xml version="1.0"?><OrlentaData Title="Shelf"><Discs>)"
    R"(<Disc Title="Holiday 2022" Vendor="Acme" Memo="beach\r\nholiday"><Root ID="1">)"
    R"(<Filenames><Filename Text="index.html"/></Filenames><Directories>)"
    R"(<Directory Name="2022" ID="2"><Filenames><Filename Text="beach.jpg"/>)"
    R"(<Filename Text="Beach 2.JPG"/></Filenames><Directories>)"
    R"(<Directory Name="beach misc" ID="3"/></Directories></Directory>)"
    R"(</Directories></Root></Disc>)"
    R"(<Disc Title="Software" Vendor="Beach Soft"><Root ID="4"/></Disc>)"
    R"(</Discs></OrlentaData>)";

class CliSearchTest : public ::testing::Test {
protected:
    CliSearchTest() { WriteFileBytes(Dir / "shelf.olx", RawDeflateBytes(kCatalogueXml)); }
    TScratchDirectory Dir;
};

TEST_F(CliSearchTest, ListsEveryHitInWalkOrder) {
    const TCliResult all = RunCli({"search", Dir / "shelf.olx", "beach"});
    EXPECT_EQ(all.ExitStatus, 0) << all.Err;
    EXPECT_EQ(all.Out, "0\tHoliday 2022\tmemo\t/\n"
                       "0\tHoliday 2022\tfilename\t/2022/beach.jpg\n"
                       "0\tHoliday 2022\tfilename\t/2022/Beach 2.JPG\n"
                       "0\tHoliday 2022\tdirectory\t/2022/beach misc\n"
                       "1\tSoftware\tvendor\t/\n");

    const TCliResult some = RunCli({"search", Dir / "shelf.olx", "2", "--in", "title,directory"});
    EXPECT_EQ(some.Out, "0\tHoliday 2022\ttitle\t/\n"
                        "0\tHoliday 2022\tdirectory\t/2022\n");

    const TCliResult root = RunCli({"search", Dir / "shelf.olx", "INDEX", "--in=filename"});
    EXPECT_EQ(root.Out, "0\tHoliday 2022\tfilename\t/index.html\n");
}

TEST_F(CliSearchTest, NoHitIsSuccessAndBadFieldsAreUsageErrors) {
    const TCliResult none = RunCli({"search", Dir / "shelf.olx", "nothing like it"});
    EXPECT_EQ(none.ExitStatus, 0);
    EXPECT_EQ(none.Out, "");
    EXPECT_EQ(RunCli({"search", Dir / "shelf.olx", "x", "--in", "title,size"}).ExitStatus, 2);
    const TCliResult missing = RunCli({"search", Dir / "missing.olx", "x"});
    EXPECT_EQ(missing.ExitStatus, 1);
    EXPECT_NE(missing.Err.find("Cannot open file"), std::string::npos);
}

TEST_F(CliSearchTest, GlobReadsWildcardsAndOtherwiseListsExactlyWhatTheDefaultDoes) {
    const std::string file = Dir / "shelf.olx";
    for (const char* keyword : {"beach", "E", "2", "index", "nothing like it"}) {
        for (const char* fields : {"title,vendor,memo,directory,filename", "directory,filename",
                                   "filename", "title,memo"}) {
            const TCliResult plain = RunCli({"search", file, keyword, "--in", fields});
            const TCliResult glob = RunCli({"search", file, keyword, "--in", fields, "--glob"});
            EXPECT_EQ(glob.ExitStatus, 0) << glob.Err;
            EXPECT_EQ(glob.Out, plain.Out) << keyword << " in " << fields;
        }
    }
    EXPECT_EQ(RunCli({"search", file, "*.jpg"}).Out, "");
    EXPECT_EQ(RunCli({"search", file, "*.jpg", "--glob"}).Out,
              "0\tHoliday 2022\tfilename\t/2022/beach.jpg\n"
              "0\tHoliday 2022\tfilename\t/2022/Beach 2.JPG\n");
    EXPECT_EQ(RunCli({"search", file, "[0-9]*", "--glob", "--in=directory,title"}).Out,
              "0\tHoliday 2022\tdirectory\t/2022\n");
}

// A disc read with sizes and dates (a file over 4 GiB, one without a time, one with nothing)
// beside the catalogue above.
constexpr const char* kSizesXml =
    R"(<?xml version="1.0"?><OrlentaData Title="Shelf"><Discs>)"
    R"(<Disc Title="Backup iso"><Root ID="1" Size="5368709220" Modified="2021-07-01T10:00:00Z">)"
    R"(<Filenames><Filename Text="big.iso" Size="5368709120" Modified="2021-03-01T12:00:00Z"/>)"
    R"(<Filename Text="small.iso" Size="100"/><Filename Text="bare.iso"/></Filenames>)"
    R"(</Root></Disc>)"
    R"(<Disc Title="Plain"><Root ID="2"><Filenames><Filename Text="plain.iso"/></Filenames>)"
    R"(</Root></Disc></Discs></OrlentaData>)";

TEST_F(CliSearchTest, LongAddsTheRecordedValuesAndGlobFiltersByThem) {
    const std::string shelf = Dir / "shelf.olx";
    const std::string sizes = Dir / "sizes.olx";
    WriteFileBytes(sizes, RawDeflateBytes(kSizesXml));

    // The lines of the plain search with a tab, the size and the stored time added; a title hit
    // has its disc's top directory's.
    const TCliResult longer = RunCli({"search", sizes, "iso", "--long"});
    EXPECT_EQ(longer.ExitStatus, 0) << longer.Err;
    EXPECT_EQ(longer.Out, "0\tBackup iso\ttitle\t/\t5368709220\t2021-07-01T10:00:00Z\n"
                          "0\tBackup iso\tfilename\t/big.iso\t5368709120\t2021-03-01T12:00:00Z\n"
                          "0\tBackup iso\tfilename\t/small.iso\t100\t\n"
                          "0\tBackup iso\tfilename\t/bare.iso\t\t\n"
                          "1\tPlain\tfilename\t/plain.iso\t\t\n");
    // Without values the line only grows by two empty fields.
    const TCliResult plain = RunCli({"search", shelf, "beach"});
    std::string plainLines;
    for (const char c : plain.Out) {
        if (c == '\n')
            plainLines += "\t\t";
        plainLines += c;
    }
    EXPECT_EQ(RunCli({"search", shelf, "beach", "--long"}).Out, plainLines);

    struct TCase {
        std::vector<std::string> Arguments;
        std::string Out;
    };
    const TCase cases[] = {
        {{"*.iso size:>4G", "--glob"}, "0\tBackup iso\tfilename\t/big.iso\n"},
        {{"size:<1k", "--glob"}, "0\tBackup iso\tfilename\t/small.iso\n"},
        {{"size:>=100 modified:<2022", "--glob", "--long", "--in=filename"},
         "0\tBackup iso\tfilename\t/big.iso\t5368709120\t2021-03-01T12:00:00Z\n"},
        {{"backup size:>5G", "--glob", "--in=title"}, "0\tBackup iso\ttitle\t/\n"},
        // Without --glob the words are plain text, as ever.
        {{"size:>4G"}, ""},
        {{"plain size:>0", "--glob"}, ""},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> arguments{"search", sizes};
        arguments.insert(arguments.end(), c.Arguments.begin(), c.Arguments.end());
        const TCliResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitStatus, 0) << result.Err;
        EXPECT_EQ(result.Out, c.Out) << c.Arguments[0];
    }
    // A catalogue without sizes: a filter passes nothing.
    EXPECT_EQ(RunCli({"search", shelf, "beach size:>=0", "--glob"}).Out, "");
}

} // namespace
} // namespace orlenta::test
