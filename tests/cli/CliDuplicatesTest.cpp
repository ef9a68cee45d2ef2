// orlenta-cli duplicates and overlap on a small catalogue: their lines, options and errors.

#include "CliRun.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace orlenta::test {
namespace {

// Two discs read with sizes and one without; photo.jpg twice on Holiday, once on Backup.
constexpr const char* kCatalogueXml =
    R"(<?xml version="1.0"?><OrlentaData Title="Shelf"><Discs>)"
    R"(<Disc Title="Holiday"><Root ID="1"><Filenames>)"
    R"(<Filename Text="photo.jpg" Size="2000"/><Filename Text="notes.txt" Size="10"/>)"
    R"(<Filename Text="empty" Size="0"/></Filenames><Directories><Directory Name="copy" ID="2">)"
    R"(<Filenames><Filename Text="photo.jpg" Size="2000"/></Filenames></Directory>)"
    R"(</Directories></Root></Disc>)"
    R"(<Disc Title="Backup"><Root ID="3"><Filenames><Filename Text="photo.jpg" Size="2000"/>)"
    R"(<Filename Text="notes.txt" Size="11"/><Filename Text="empty" Size="0"/></Filenames>)"
    R"(</Root></Disc>)"
    R"(<Disc Title="Old"><Root ID="4"><Filenames><Filename Text="notes.txt"/></Filenames>)"
    R"(</Root></Disc>)"
    R"(</Discs></OrlentaData>)";

class CliDuplicatesTest : public ::testing::Test {
protected:
    CliDuplicatesTest() { WriteFileBytes(Dir / "shelf.olx", RawDeflateBytes(kCatalogueXml)); }
    TScratchDirectory Dir;
};

TEST_F(CliDuplicatesTest, ListsEveryCopyOfEachGroup) {
    const std::string file = Dir / "shelf.olx";
    const TCliResult all = RunCli({"duplicates", file});
    EXPECT_EQ(all.ExitStatus, 0) << all.Err;
    EXPECT_EQ(all.Out, "1\t2000\t0\tHoliday\t/photo.jpg\n"
                       "1\t2000\t0\tHoliday\t/copy/photo.jpg\n"
                       "1\t2000\t1\tBackup\t/photo.jpg\n"
                       "2\t10\t0\tHoliday\t/notes.txt\n"
                       "2\t11\t1\tBackup\t/notes.txt\n"
                       "2\t\t2\tOld\t/notes.txt\n");
    // Below the minimum a copy is left out, unless its size is not known.
    EXPECT_EQ(RunCli({"duplicates", file, "--min-size", "11"}).Out,
              "1\t2000\t0\tHoliday\t/photo.jpg\n"
              "1\t2000\t0\tHoliday\t/copy/photo.jpg\n"
              "1\t2000\t1\tBackup\t/photo.jpg\n"
              "2\t11\t1\tBackup\t/notes.txt\n"
              "2\t\t2\tOld\t/notes.txt\n");
    EXPECT_EQ(RunCli({"duplicates", file, "--min-size=2001"}).Out, "");
    // Groups by name alone waste no known space: by name.
    EXPECT_EQ(RunCli({"duplicates", file, "--by", "name"}).Out,
              "1\t10\t0\tHoliday\t/notes.txt\n"
              "1\t11\t1\tBackup\t/notes.txt\n"
              "1\t\t2\tOld\t/notes.txt\n"
              "2\t2000\t0\tHoliday\t/photo.jpg\n"
              "2\t2000\t0\tHoliday\t/copy/photo.jpg\n"
              "2\t2000\t1\tBackup\t/photo.jpg\n");
    EXPECT_EQ(RunCli({"duplicates", file, "--by", "size"}).ExitStatus, 2);
    EXPECT_EQ(RunCli({"duplicates", file, "--min-size", "-1"}).ExitStatus, 2);
}

TEST_F(CliDuplicatesTest, OverlapListsEachOtherDiscThenAllTogether) {
    const std::string file = Dir / "shelf.olx";
    const TCliResult holiday = RunCli({"overlap", file, "0"});
    EXPECT_EQ(holiday.ExitStatus, 0) << holiday.Err;
    EXPECT_EQ(holiday.Out, "1\tBackup\t3\t4000\t75.0%\t99.7%\n"
                           "2\tOld\t1\t10\t25.0%\t0.2%\n"
                           "*\tall other discs\t4\t4010\t100.0%\t100.0%\n");
    EXPECT_EQ(RunCli({"overlap", file, "2"}).Out, "0\tHoliday\t1\t0\t100.0%\t\n"
                                                  "1\tBackup\t1\t0\t100.0%\t\n"
                                                  "*\tall other discs\t1\t0\t100.0%\t\n");
    for (const char* bad : {"3", "-1", "one", ""}) {
        const TCliResult result = RunCli({"overlap", file, bad});
        EXPECT_EQ(result.ExitStatus, 1) << bad;
        EXPECT_EQ(result.Out, "");
        EXPECT_EQ(result.Err,
                  std::string("There is no disc ") + bad + " in \"" + file + "\"; it holds 3.\n");
    }
}

} // namespace
} // namespace orlenta::test
