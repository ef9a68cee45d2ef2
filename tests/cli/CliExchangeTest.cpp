// orlenta-cli export and import: the commands around the exchange core, the CSV round trip
// through them, and failures that must leave nothing behind.

#include "CliRun.h"
#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta::test {
namespace {

namespace fs = std::filesystem;

// A catalogue read from a small real tree, with sizes and dates.
std::string TreeCatalogue(const TScratchDirectory& scratch) {
    fs::create_directories(scratch / "tree/sub, \"odd\"");
    WriteFileBytes(scratch / "tree/a&b.txt", "12345");
    WriteFileBytes(scratch / "tree/sub, \"odd\"/line\nbreak", "1234567");
    const std::string data = scratch / "c.olx";
    const TCliResult added = RunCli({"add", data, scratch / "tree", "--title", "Tree", "--files"});
    EXPECT_EQ(added.ExitStatus, 0) << added.Err;
    return data;
}

// The rows below the header, without the disc index.
std::string RowsWithoutIndex(const std::string& csv) {
    std::string rows;
    std::size_t at = csv.find("\r\n") + 2;
    while (at < csv.size()) {
        const std::size_t comma = csv.find(',', at);
        std::size_t end = csv.find("\r\n", at);
        // A quoted line break inside a row: the row ends at a CRLF outside quotes.
        while (std::count(csv.begin() + static_cast<long>(at), csv.begin() + static_cast<long>(end),
                          '"') %
                   2 !=
               0)
            end = csv.find("\r\n", end + 2);
        rows += csv.substr(comma, end + 2 - comma);
        at = end + 2;
    }
    return rows;
}

TEST(CliExchangeTest, ExportImportExportGivesTheSameRows) {
    TScratchDirectory scratch;
    const std::string data = TreeCatalogue(scratch);
    const TCliResult first = RunCli({"export", data, "--format", "csv", "--disc", "0"});
    ASSERT_EQ(first.ExitStatus, 0) << first.Err;
    WriteFileBytes(scratch / "first.csv", first.Out);
    const TCliResult imported = RunCli({"import", data, scratch / "first.csv"});
    ASSERT_EQ(imported.ExitStatus, 0) << imported.Err;
    const TCliResult discs = RunCli({"discs", data});
    EXPECT_NE(discs.Out.find("\n1\t"), std::string::npos) << discs.Out;
    const TCliResult second = RunCli({"export", data, "--format", "csv", "--disc", "1"});
    ASSERT_EQ(second.ExitStatus, 0) << second.Err;
    EXPECT_EQ(RowsWithoutIndex(second.Out), RowsWithoutIndex(first.Out));
    EXPECT_NE(first.Out.find("a&b.txt,5,"), std::string::npos) << first.Out;
}

TEST(CliExchangeTest, OutputFileIsWrittenWholeOrNotAtAll) {
    TScratchDirectory scratch;
    const std::string data = TreeCatalogue(scratch);
    for (const char* format : {"csv", "json", "html"}) {
        SCOPED_TRACE(format);
        const std::string out = scratch / (std::string("out.") + format);
        const TCliResult written = RunCli({"export", data, "--format", format, "-o", out});
        ASSERT_EQ(written.ExitStatus, 0) << written.Err;
        const TCliResult shown = RunCli({"export", data, "--format", format});
        EXPECT_EQ(ReadFileBytes(out), shown.Out);
    }
    // A folder that cannot be written: an error, and nothing left there.
    fs::create_directories(scratch / "locked");
    WriteFileBytes(scratch / "locked/old.csv", "old");
    ::chmod((scratch / "locked").c_str(), 0500);
    const TCliResult refused =
        RunCli({"export", data, "--format", "csv", "-o", scratch / "locked/old.csv"});
    ::chmod((scratch / "locked").c_str(), 0700);
    if (::geteuid() != 0) {
        EXPECT_EQ(refused.ExitStatus, 1);
        EXPECT_EQ(ReadFileBytes(scratch / "locked/old.csv"), "old");
    }
    const TCliResult noDisc = RunCli({"export", data, "--format", "csv", "--disc", "3"});
    EXPECT_EQ(noDisc.ExitStatus, 1);
    EXPECT_NE(noDisc.Err.find("There is no disc 3"), std::string::npos) << noDisc.Err;
}

TEST(CliExchangeTest, ImportOfFindOutputAndAMalformedLine) {
    TScratchDirectory scratch;
    const std::string data = TreeCatalogue(scratch);
    const std::string before = DataFileText(data);
    WriteFileBytes(scratch / "bad.txt", "d 4096 1.0 /x\nf 3 2.0 /x/a\nf three 2.0 /x/b\n");
    const TCliResult bad = RunCli({"import", data, scratch / "bad.txt", "--format", "find"});
    EXPECT_EQ(bad.ExitStatus, 1);
    EXPECT_NE(bad.Err.find("Line 3 of"), std::string::npos) << bad.Err;
    EXPECT_EQ(DataFileText(data), before);

    WriteFileBytes(scratch / "list.find", "/x\n/x/d\n/x/d/f\n/x/g\n");
    const TCliResult good = RunCli({"import", data, scratch / "list.find", "--title", "From find"});
    ASSERT_EQ(good.ExitStatus, 0) << good.Err;
    const TCliResult tree = RunCli({"tree", data});
    EXPECT_NE(tree.Out.find("From find\n  d/\n"), std::string::npos) << tree.Out;
    const TCliResult discs = RunCli({"discs", data});
    EXPECT_NE(discs.Out.find("From find\t\t\t\t"), std::string::npos) << discs.Out;
}

} // namespace
} // namespace orlenta::test
