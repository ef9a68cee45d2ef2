// orlenta-cli and archives: add --archives records what they hold, info counts it apart, tree
// and search show it like any directory, rescan keeps it; catalogues without stay as they were.

#include "CliRun.h"
#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace orlenta::test {
namespace {

namespace fs = std::filesystem;

int Shell(const std::string& command) {
    return std::system(command.c_str());
}

class CliArchivesTest : public ::testing::Test {
protected:
    CliArchivesTest() {
        fs::create_directories("src/docs/sub");
        fs::create_directories("disc");
        WriteFileBytes("src/docs/invoice.pdf", "1234");
        WriteFileBytes("src/docs/sub/notes.txt", "56");
        WriteFileBytes("disc/plain.txt", "plain");
        // GNU tar is everywhere; the name says nothing of the format.
        EXPECT_EQ(Shell("tar czf disc/backup.bin -C src docs"), 0);
        // A compressed tar cut in the middle of its stream.
        EXPECT_EQ(Shell("head -c 300000 /dev/urandom > src/noise && tar czf src/cut.tgz -C src "
                        "docs noise && head -c 150000 src/cut.tgz > disc/cut.tgz"),
                  0);
    }

    TScratchDirectory FScratch;
};

TEST_F(CliArchivesTest, AddWithArchivesRecordsTheirContentsAndCountsThemApart) {
    const TCliResult add = RunCli({"add", "c.olx", "disc", "--files", "--archives"});
    EXPECT_EQ(add.ExitStatus, 0) << add.Err;
    EXPECT_EQ(add.Err, "1 archive could not be read whole; the disc holds what was listed up to "
                       "the fault.\n");

    const TCliResult info = RunCli({"info", "c.olx"});
    EXPECT_NE(info.Out.find("Directories: 0\nFiles: 3\nArchive entries: "), std::string::npos)
        << info.Out;

    const TCliResult tree = RunCli({"tree", "c.olx"});
    EXPECT_NE(tree.Out.find("  backup.bin/\n    docs/\n      sub/\n"), std::string::npos)
        << tree.Out;

    const TCliResult search = RunCli({"search", "c.olx", "invoice"});
    EXPECT_NE(search.Out.find("filename\t/backup.bin/docs/invoice.pdf\n"), std::string::npos)
        << search.Out;

    // Read again from where it was read, the disc keeps its archives' contents.
    EXPECT_EQ(RunCli({"rescan", "c.olx", "0"}).ExitStatus, 0);
    EXPECT_NE(RunCli({"tree", "c.olx"}).Out.find("  backup.bin/\n    docs/\n"), std::string::npos);
    EXPECT_NE(DataFileText("c.olx").find("Archive=\"tar.gz\""), std::string::npos);
}

TEST_F(CliArchivesTest, WithoutArchivesNothingChanges) {
    const TCliResult add = RunCli({"add", "c.olx", "disc", "--files"});
    EXPECT_EQ(add.ExitStatus, 0);
    EXPECT_EQ(add.Err, "");
    EXPECT_EQ(DataFileText("c.olx").find("<Directory"), std::string::npos);
    const std::string info = RunCli({"info", "c.olx"}).Out;
    EXPECT_NE(info.find("Files: 3\n"), std::string::npos);
    EXPECT_EQ(info.find("Archive"), std::string::npos);
    // Archives are recorded beside their file names only.
    EXPECT_NE(RunCli({"add", "d.olx", "disc", "--archives"}).ExitStatus, 0);
}

} // namespace
} // namespace orlenta::test
