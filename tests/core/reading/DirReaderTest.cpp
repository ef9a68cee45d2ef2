#include "core/reading/DirReader.h"

#include "TestSupport.h"
#include "TreeFixture.h"
#include "core/OrlentaError.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ErrorText;
using test::MakeTree;
using test::TScratchDirectory;
using Events = std::vector<std::string>;

// Takes the effective user id of nobody while it lives, when running as root.
class TUnprivileged {
public:
    TUnprivileged() : FDropped(::geteuid() == 0 && ::seteuid(65534) == 0) {}
    ~TUnprivileged() {
        if (FDropped && ::seteuid(0) != 0)
            std::abort();
    }
    TUnprivileged(const TUnprivileged&) = delete;
    TUnprivileged& operator=(const TUnprivileged&) = delete;

private:
    bool FDropped;
};

class DirReaderTest : public ::testing::Test {
protected:
    DirReaderTest() : Root(Dir / "src") {
        fs::create_directories(Root);
        Reader.SetRecursive(true);
        Reader.SetFilemask("*.*");
        Reader.SetOnDirectoryFound([this](TDirReader& sender, std::string_view directory) {
            EXPECT_EQ(&sender, &Reader);
            Recorded.push_back("D " + Relative(directory));
        });
        Reader.SetOnFileFound([this](TDirReader& sender, std::string_view fileName) {
            EXPECT_EQ(&sender, &Reader);
            Recorded.push_back("F " + Relative(fileName));
        });
        Reader.SetOnReady([this](TDirReader& sender) {
            EXPECT_EQ(&sender, &Reader);
            EXPECT_FALSE(Reader.Active());
            Recorded.push_back("R");
        });
    }

    // Paths below Root shown from Root: the start directory is "/".
    std::string Relative(std::string_view path) const {
        EXPECT_EQ(path.substr(0, Root.size()), Root);
        return std::string(path.substr(Root.size()));
    }

    Events Walk() {
        Recorded.clear();
        Reader.SetDirectory(Root);
        Reader.Start();
        return Recorded;
    }

    TScratchDirectory Dir;
    std::string Root;
    TDirReader Reader;
    Events Recorded;
};

TEST_F(DirReaderTest, ReportsDirectoriesBeforeTheirEntriesSortedByNameWithoutAsciiCase) {
    MakeTree(Root, {"b.txt", "B.txt", "a/z", "a/Y/", "_u", "C/", "c.txt", "\xC3\xA4"});
    EXPECT_EQ(Walk(), (Events{"D /", "D /a/", "D /a/Y/", "F /a/z", "F /B.txt", "F /b.txt", "D /C/",
                              "F /c.txt", "F /_u", "F /\xC3\xA4", "R"}));
    // The start directory is reported as stored: with the trailing '/' added.
    EXPECT_EQ(Reader.Directory(), Root + "/");
}

TEST_F(DirReaderTest, NonRecursiveWalkReportsOnlyTheStartDirectoryAndItsFiles) {
    MakeTree(Root, {"a/deep/x", "a/y", "f"});
    Reader.SetRecursive(false);
    EXPECT_EQ(Walk(), (Events{"D /", "F /f", "R"}));
}

TEST_F(DirReaderTest, FileMaskComparesOnlyExtensionsWithoutAsciiCase) {
    MakeTree(Root, {"A.TXT", "b.txt", "c.txt.bak", "d.Txt", "readme"});
    const struct {
        std::string Mask;
        Events Expected;
    } cases[] = {
        {"*.*", {"D /", "F /A.TXT", "F /b.txt", "F /c.txt.bak", "F /d.Txt", "F /readme", "R"}},
        {"", {"D /", "F /readme", "R"}},
        {"*.Txt", {"D /", "F /A.TXT", "F /b.txt", "F /d.Txt", "R"}},
        {"notes.txt", {"D /", "F /A.TXT", "F /b.txt", "F /d.Txt", "R"}},
        {"*.bak", {"D /", "F /c.txt.bak", "R"}},
        {"some.dir/name", {"D /", "F /readme", "R"}}, // a dot before the last '/' is no extension
    };
    for (const auto& testCase : cases) {
        Reader.SetFilemask(testCase.Mask);
        EXPECT_EQ(Walk(), testCase.Expected) << "mask " << testCase.Mask;
    }
}

TEST_F(DirReaderTest, ExcludedDirectoriesAreNeitherReportedNorEntered) {
    MakeTree(Root, {"TEMP/x", "TEMP/sub/y", "TEMPx/a", "keep/z"});
    std::string excluded = Root + "/temp";
    for (char& c : excluded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Reader.ExcludeDirs() = {Root + "/nothing", excluded};
    EXPECT_EQ(Walk(), (Events{"D /", "D /keep/", "F /keep/z", "D /TEMPx/", "F /TEMPx/a", "R"}));

    Reader.ExcludeDirs() = {Root + "/"};
    EXPECT_EQ(Walk(), (Events{"R"}));
}

TEST_F(DirReaderTest, DelayFiltersCompareWholeSecondsInEitherDirection) {
    const auto now = std::chrono::system_clock::time_point(1700000000s);
    const test::TFixedClock clock(now);
    const struct {
        std::string Name;
        std::chrono::system_clock::duration Offset;
    } files[] = {
        {"almost", -29500ms}, {"future", 30s}, {"old", -1h}, {"ten", -10s}, {"thirty", -30s}};
    for (const auto& file : files) {
        MakeTree(Root, {file.Name});
        // Each filter is tested on its own time; the other one is far away.
        test::SetFileTimes(Root + "/" + file.Name, now + file.Offset, now + file.Offset);
    }
    const Events expected{"D /", "F /future", "F /old", "F /thirty", "R"};

    Reader.SetDelayTimeStamp(-30);
    EXPECT_EQ(Reader.DelayTimeStamp(), 30);
    EXPECT_EQ(Walk(), expected);

    Reader.SetDelayTimeStamp(0);
    Reader.SetDelayLastAccess(-30);
    EXPECT_EQ(Reader.DelayLastAccess(), 30);
    EXPECT_EQ(Walk(), expected);

    for (const auto& file : files)
        test::SetFileTimes(Root + "/" + file.Name, now - 1h, now + file.Offset);
    Reader.SetDelayLastAccess(0);
    Reader.SetDelayTimeStamp(30);
    EXPECT_EQ(Walk().size(), 7u) << "every file written an hour ago passes";
}

TEST_F(DirReaderTest, StopFromAHandlerEndsTheWalkWithOneReadyEvent) {
    MakeTree(Root, {"a/x", "a/y", "b/z", "c"});
    Reader.SetOnFileFound([this](TDirReader&, std::string_view fileName) {
        Recorded.push_back("F " + Relative(fileName));
        Reader.Start(); // already active: no second walk
        Reader.Stop();
    });
    EXPECT_EQ(Walk(), (Events{"D /", "D /a/", "F /a/x", "R"}));
    EXPECT_FALSE(Reader.Active());
}

TEST_F(DirReaderTest, StopFromTheFrontEndsTurnEndsTheWalk) {
    MakeTree(Root, {"a/x", "a/y", "b/z", "c"});
    int turns = 0;
    Reader.SetOnProcessEvents([&](TDirReader& sender) {
        if (++turns == 2)
            sender.Stop();
    });
    EXPECT_EQ(Walk(), (Events{"D /", "D /a/", "F /a/x", "F /a/y", "R"}));
}

TEST_F(DirReaderTest, FilesWithoutAHandlerStillGiveTheFrontEndItsTurn) {
    MakeTree(Root, {"a/x", "a/y", "b", "c"});
    Reader.SetOnFileFound(nullptr);
    int turns = 0;
    Reader.SetOnProcessEvents([&](TDirReader&) { ++turns; });
    EXPECT_EQ(Walk(), (Events{"D /", "D /a/", "R"}));
    EXPECT_GE(turns, 5) << "one turn after each of the five entries";
}

TEST_F(DirReaderTest, ErrorInAHandlerFiresReadyThenReachesTheCaller) {
    MakeTree(Root, {"a/x", "b/y"});
    Reader.SetOnDirectoryFound([this](TDirReader&, std::string_view directory) {
        Recorded.push_back("D " + Relative(directory));
        if (Relative(directory) == "/a/")
            throw std::runtime_error("handler failed");
    });
    Reader.SetDirectory(Root);
    Recorded.clear();
    EXPECT_THROW(Reader.Start(), std::runtime_error);
    EXPECT_EQ(Recorded, (Events{"D /", "D /a/", "R"}));
    EXPECT_FALSE(Reader.Active());

    // The failed walk leaves nothing behind: the next one starts afresh.
    Reader.SetOnDirectoryFound([this](TDirReader&, std::string_view directory) {
        Recorded.push_back("D " + Relative(directory));
    });
    EXPECT_EQ(Walk(), (Events{"D /", "D /a/", "F /a/x", "D /b/", "F /b/y", "R"}));
}

TEST_F(DirReaderTest, AssertionsNameTheUnitAndLine) {
    MakeTree(Root, {"a/x", "file"});
    EXPECT_EQ(ErrorText([&] { Reader.SetDirectory(""); }),
              "Directory not exists (ZelDirectoryReader, line 235)");
    EXPECT_EQ(ErrorText([&] { Reader.SetDirectory(Root + "/missing"); }),
              "Directory not exists (ZelDirectoryReader, line 235)");
    EXPECT_EQ(ErrorText([&] { Reader.SetDirectory(Root + "/file"); }),
              "Directory not exists (ZelDirectoryReader, line 235)");

    std::string duringWalk;
    Reader.SetOnFileFound([&](TDirReader&, std::string_view) {
        duringWalk = ErrorText([&] { Reader.SetDirectory(Root + "/a"); });
    });
    Walk();
    EXPECT_EQ(duringWalk, "Can not change directory when active (ZelDirectoryReader, line 234)");
    EXPECT_EQ(Reader.Directory(), Root + "/");

    // The start directory vanished: starting fails without a ready event, stopping an idle
    // reader is still nothing.
    Reader.SetDirectory(Root + "/a/");
    fs::remove_all(Root + "/a");
    Recorded.clear();
    EXPECT_EQ(ErrorText([&] { Reader.Start(); }),
              "Directory not exists (ZelDirectoryReader, line 196)");
    EXPECT_EQ(ErrorText([&] { Reader.Stop(); }), "(no error)");
    EXPECT_TRUE(Recorded.empty());
    EXPECT_FALSE(Reader.Active());
}

TEST_F(DirReaderTest, FollowsLinksButNeverEntersADirectoryOnTheWalkPathAgain) {
    MakeTree(Root, {"real/f"});
    fs::create_directory_symlink("..", Root + "/real/back");
    fs::create_directory_symlink(".", Root + "/up");
    fs::create_directory_symlink("real", Root + "/alias");
    fs::create_symlink("nowhere", Root + "/dangling");
    fs::create_symlink("real/f", Root + "/flink");
    EXPECT_EQ(Walk(),
              (Events{"D /", "D /alias/", "D /alias/back/", "F /alias/f", "F /dangling", "F /flink",
                      "D /real/", "D /real/back/", "F /real/f", "D /up/", "R"}));
}

TEST_F(DirReaderTest, DirectoryThatCannotBeListedIsReportedEmptyAndTheWalkGoesOn) {
    MakeTree(Root, {"a/x", "locked/secret", "z"});
    ::chmod(Root.c_str(), 0755);
    ::chmod(Dir.Path().c_str(), 0755);
    ::chmod((Root + "/locked").c_str(), 0);
    // Permissions do not hold for root: walk as an unprivileged user for this test.
    TUnprivileged unprivileged;
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root and cannot drop privileges: permissions would not apply";
    const Events events = Walk();
    EXPECT_EQ(events, (Events{"D /", "D /a/", "F /a/x", "D /locked/", "F /z", "R"}));
}

} // namespace
} // namespace orlenta
