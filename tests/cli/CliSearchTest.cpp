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

} // namespace
} // namespace orlenta::test
