// orlenta-cli rescan: a disc read again from a tree changed in a scratch directory.

#include "CliRun.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orlenta::test {
namespace {

namespace fs = std::filesystem;

class CliRescanTest : public ::testing::Test {
protected:
    CliRescanTest() {
        fs::create_directories("src/a/b");
        WriteFileBytes("src/a/one", "1");
        WriteFileBytes("src/a/b/two", "22");
        WriteFileBytes("src/top", "333");
        EXPECT_EQ(RunCli({"add", "c.olx", "src", "--files", "--title", "Mine", "--vendor", "Acme",
                          "--memo", "kept"})
                      .ExitStatus,
                  0);
    }

    TScratchDirectory FScratch;
};

TEST_F(CliRescanTest, ListsChangesInPathOrderAndKeepsWhatTheUserWrote) {
    const std::string unchanged = ReadFileBytes("c.olx");
    TCliResult result = RunCli({"rescan", "c.olx", "0"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_EQ(result.Out, "0 added, 0 removed, 0 changed\n");
    EXPECT_EQ(ReadFileBytes("c.olx"), unchanged) << "nothing changed: nothing saved";

    WriteFileBytes("src/a/one", "1 grown");
    fs::remove_all("src/a/b");
    fs::create_directories("src/new");
    WriteFileBytes("src/new/three", "");
    fs::rename("src/top", "src/Top");
    result = RunCli({"rescan", "c.olx", "0", "--dry-run"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    // Path order is byte order, component by component: "Top" before "a", a directory before
    // what lies in it; a rename is one removed and one added.
    EXPECT_EQ(result.Out, "+\t/Top\n-\t/a/b\n-\t/a/b/two\n~\t/a/one\n+\t/new\n+\t/new/three\n"
                          "-\t/top\n3 added, 3 removed, 1 changed\n");
    EXPECT_EQ(ReadFileBytes("c.olx"), unchanged) << "a dry run saves nothing";

    result = RunCli({"rescan", "c.olx", "0"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    const std::string text = DataFileText("c.olx");
    // The properties stay; the directories get IDs never used before (the first reading used
    // 1 to 3); the counts are the new tree's.
    EXPECT_NE(text.find(R"(Vendor="Acme" Title="Mine")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"(DirCount="2" FileCount="3" Memo="kept" Source=")"), std::string::npos)
        << text;
    EXPECT_NE(text.find(R"(<Directory Name="a" ID="4")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"(<Directory Name="new" ID="5")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"(<Filename Text="one" Size="7")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"(LastDirectoryID="5")"), std::string::npos) << text;
    EXPECT_EQ(RunCli({"rescan", "c.olx", "0"}).Out, "0 added, 0 removed, 0 changed\n");
}

TEST_F(CliRescanTest, BadIndexSourceOrNoSourceFailAndLeaveTheFile) {
    ASSERT_EQ(RunCli({"add", "c.olx", "--title", "virtual"}).ExitStatus, 0);
    const std::string before = ReadFileBytes("c.olx");
    const struct {
        std::vector<std::string> Arguments;
        std::string Err;
    } cases[] = {
        {{"rescan", "c.olx", "2"}, "There is no disc 2 in \"c.olx\"; it holds 2.\n"},
        {{"rescan", "c.olx", "-1"}, "There is no disc -1 in \"c.olx\"; it holds 2.\n"},
        // Not a number: the same refusal as a number out of range, as overlap gives.
        {{"rescan", "c.olx", "one"}, "There is no disc one in \"c.olx\"; it holds 2.\n"},
        {{"rescan", "c.olx", "0x1"}, "There is no disc 0x1 in \"c.olx\"; it holds 2.\n"},
        {{"rescan", "c.olx", "0", "missing"}, "Invalid directory.\n"},
        {{"rescan", "c.olx", "1"}, "Disc 1 does not say where it was read from; give SOURCE.\n"},
    };
    for (const auto& testCase : cases) {
        const TCliResult result = RunCli(testCase.Arguments);
        EXPECT_EQ(result.ExitStatus, 1) << testCase.Arguments[2];
        EXPECT_EQ(result.Err, testCase.Err) << testCase.Arguments[2];
        EXPECT_EQ(ReadFileBytes("c.olx"), before) << testCase.Arguments[2];
    }
    // A virtual disc read from a SOURCE given here, with the choices it was made with (no file
    // names, no sizes), keeps that SOURCE as its source.
    const TCliResult result = RunCli({"rescan", "c.olx", "1", "src"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_EQ(result.Out, "+\t/a\n+\t/a/b\n2 added, 0 removed, 0 changed\n");
    EXPECT_EQ(RunCli({"rescan", "c.olx", "1"}).Out, "0 added, 0 removed, 0 changed\n");
}

// An unmounted disc leaves an empty mount point: its rescan is refused and the catalogue stays
// as it was, unless the user insists.
TEST_F(CliRescanTest, ReadingThatWouldEmptyTheDiscIsRefusedUnlessForced) {
    const std::string before = ReadFileBytes("c.olx");
    for (const auto& entry : fs::directory_iterator("src"))
        fs::remove_all(entry.path());
    const std::string warning = "The folder \"" + fs::absolute("src").string() +
                                "\" is empty: applying would remove all 3 files and 2 folders "
                                "of the disc. Is the disc mounted?";
    TCliResult result = RunCli({"rescan", "c.olx", "0"});
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_EQ(result.Err, warning + " Nothing was changed; --force applies it anyway.\n");
    EXPECT_EQ(ReadFileBytes("c.olx"), before);

    result = RunCli({"rescan", "c.olx", "0", "--dry-run"});
    EXPECT_EQ(result.ExitStatus, 0);
    EXPECT_EQ(result.Err, warning + "\n");
    EXPECT_EQ(ReadFileBytes("c.olx"), before);

    result = RunCli({"rescan", "c.olx", "0", "--force"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_EQ(result.Out, "-\t/a\n-\t/a/b\n-\t/a/b/two\n-\t/a/one\n-\t/top\n"
                          "0 added, 5 removed, 0 changed\n");
    EXPECT_NE(DataFileText("c.olx").find(R"(DirCount="" FileCount="")"), std::string::npos);
}

// The source is kept as a plain absolute path, so that a rescan still finds it once the folder
// it was given from is gone.
TEST_F(CliRescanTest, SourceIsStoredWithoutDotsOrDoubledSlashes) {
    fs::create_directories("gone");
    const std::string expected = R"( Source=")" + fs::absolute("src").string() + R"(")";
    for (const std::string source : {"src/", "./src", "gone/../src", "src//", "gone/./..//src"}) {
        ASSERT_EQ(RunCli({"add", "s.olx", source}).ExitStatus, 0) << source;
        const std::string text = DataFileText("s.olx");
        EXPECT_NE(text.rfind(expected), std::string::npos) << source << "\n" << text;
        fs::remove("s.olx");
    }
    ASSERT_EQ(RunCli({"add", "s.olx", "gone/../src"}).ExitStatus, 0);
    fs::remove("gone");
    EXPECT_EQ(RunCli({"rescan", "s.olx", "0"}).ExitStatus, 0);
}

} // namespace
} // namespace orlenta::test
