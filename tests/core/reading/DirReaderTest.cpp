#include "core/reading/DirReader.h"

#include "TestSupport.h"
#include "TreeFixture.h"
#include "core/base/OrlentaError.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <stdexcept>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ErrorText;
using test::MakeTree;
using test::TScratchDirectory;
using Events = std::vector<std::string>;

// A walk that goes wrong can run for hours; the recording handlers stop it after this many events,
// so that such a test fails instead.
constexpr std::size_t kEventLimit = 200000;

// The type of the file system mounted at mountPoint, or empty when nothing is mounted there.
std::string MountType(const std::string& mountPoint) {
    std::ifstream mounts("/proc/self/mounts");
    std::string line;
    std::string type;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string source;
        std::string point;
        std::string kind;
        if (fields >> source >> point >> kind && point == mountPoint)
            type = kind; // the last mount on a point is the one in sight
    }
    return type;
}

std::size_t CountOf(const Events& events, char kind) {
    return static_cast<std::size_t>(std::count_if(
        events.begin(), events.end(), [kind](const std::string& e) { return e[0] == kind; }));
}

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
            if (Recorded.size() >= kEventLimit)
                sender.Stop();
        });
        Reader.SetOnFileFound([this](TDirReader& sender, std::string_view fileName) {
            EXPECT_EQ(&sender, &Reader);
            Recorded.push_back("F " + Relative(fileName));
            if (Recorded.size() >= kEventLimit)
                sender.Stop();
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
    Reader.SetOnProcessEvents([&](TDirReader& sender) {
        if (!Recorded.empty() && Recorded.back() == "F /a/x")
            sender.Stop();
    });
    EXPECT_EQ(Walk(), (Events{"D /", "D /a/", "F /a/x", "R"}));
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

TEST_F(DirReaderTest, FollowsLinksButEntersEachDirectoryOnce) {
    MakeTree(Root, {"real/f"});
    fs::create_directory_symlink("..", Root + "/real/back");
    fs::create_directory_symlink(".", Root + "/up");
    fs::create_directory_symlink("real", Root + "/alias");
    fs::create_symlink("nowhere", Root + "/dangling");
    fs::create_symlink("real/f", Root + "/flink");
    // real/ was read as alias/: it is reported again, but not entered.
    EXPECT_EQ(Walk(), (Events{"D /", "D /alias/", "D /alias/back/", "F /alias/f", "F /dangling",
                              "F /flink", "D /real/", "D /up/", "R"}));
}

TEST_F(DirReaderTest, LinksCannotMultiplyTheWalk) {
    // Each directory holds two links to the next: entering every link would walk the last
    // directory 2^24 times.
    constexpr int kChain = 24;
    for (int i = 0; i <= kChain; ++i) {
        const std::string directory = Root + "/chain/d" + std::to_string(i);
        MakeTree(directory, {"f"});
        if (i < kChain) {
            fs::create_directory_symlink("../d" + std::to_string(i + 1), directory + "/a");
            fs::create_directory_symlink("../d" + std::to_string(i + 1), directory + "/b");
        }
    }
    const Events events = Walk();
    ASSERT_EQ(events.back(), "R");
    // Every file once; every directory and link recorded: the start, chain/, the chain's
    // directories as themselves, and both links of each.
    EXPECT_EQ(CountOf(events, 'F'), kChain + 1u);
    EXPECT_EQ(CountOf(events, 'D'), 2u + (kChain + 1u) + 2u * kChain);
    // Each directory is entered where it is met first: the last one at the end of the a-links.
    std::string first = "F /chain/d0";
    for (int i = 0; i < kChain; ++i)
        first += "/a";
    EXPECT_EQ(*std::find_if(events.begin(), events.end(),
                            [](const std::string& e) { return e[0] == 'F'; }),
              first + "/f");
}

TEST_F(DirReaderTest, PseudoFileSystemsAreRecordedButNeverEntered) {
    MakeTree(Root, {"data/x"});
    Events expected{"D /", "D /data/", "F /data/x"};
    // Links to where such file systems are mounted here, and one into a pseudo file system
    // below its mount point. Names in walk order.
    const struct {
        const char* Name;
        const char* Target;
        const char* MountPoint;
        const char* Type;
    } links[] = {
        {"devpts", "/dev/pts", "/dev/pts", "devpts"},
        {"devtmpfs", "/dev", "/dev", "devtmpfs"},
        {"proc", "/proc", "/proc", "proc"},
        {"proc-self", "/proc/self/task", "/proc", "proc"},
        {"sysfs", "/sys", "/sys", "sysfs"},
    };
    for (const auto& link : links) {
        if (MountType(link.MountPoint) != link.Type)
            continue;
        fs::create_directory_symlink(link.Target, Root + "/" + link.Name);
        expected.push_back("D /" + std::string(link.Name) + "/");
    }
    ASSERT_GE(expected.size(), 5u) << "neither /proc nor /sys is mounted here";
    expected.push_back("R");
    EXPECT_EQ(Walk(), expected);
}

TEST_F(DirReaderTest, SpecialFilesAreReportedAsFileNamesAndNeverOpened) {
    MakeTree(Root, {"sub/"});
    ASSERT_EQ(::mkfifo((Root + "/fifo").c_str(), 0644), 0);
    ASSERT_EQ(::mknod((Root + "/socket").c_str(), S_IFSOCK | 0644, 0), 0);
    fs::create_symlink("../fifo", Root + "/sub/fifo-link");
    fs::create_symlink("/dev/zero", Root + "/zero");
    Events expected{"D /", "F /fifo", "F /socket", "D /sub/", "F /sub/fifo-link", "F /zero", "R"};
    // A device node of our own, where the system lets us make one.
    if (::mknod((Root + "/null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        expected.insert(expected.begin() + 2, "F /null");

    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ::inotify_add_watch(watch, Root.c_str(), IN_OPEN);
    ::inotify_add_watch(watch, (Root + "/sub").c_str(), IN_OPEN);

    // Opening the FIFO would wait for a writer for ever: walk on a thread of its own.
    auto walk = std::async(std::launch::async, [this] { return Walk(); });
    if (walk.wait_for(20s) != std::future_status::ready) {
        // Let the blocked open through, so that the walk can end.
        const int writer = ::open((Root + "/fifo").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        walk.wait();
        ::close(writer);
        ::close(watch);
        FAIL() << "the walk blocked on the FIFO";
    }
    EXPECT_EQ(walk.get(), expected);

    std::set<std::string> opened;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (!(event->mask & IN_ISDIR) && event->len > 0)
                opened.insert(event->name);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    ::close(watch);
    EXPECT_TRUE(opened.empty()) << "opened: " << *opened.begin();
}

TEST_F(DirReaderTest, TreesDeeperThanAnyPathAreReadWhole) {
    // 2,000 levels of ten-byte names: paths of 22,000 bytes, five times what the system takes.
    constexpr std::size_t kDepth = 2000;
    const std::string name = "level-0123";
    test::MakeDeepTree(Root, kDepth, name);
    struct TRemover {
        ~TRemover() { test::RemoveDeepTree(Root, kDepth, Name); }
        const std::string& Root;
        const std::string& Name;
    } remover{Root, name};

    // The delay filter looks at every file too: all were written an hour before "now".
    const auto later = std::chrono::system_clock::now() + 1h;
    const test::TFixedClock clock(later);
    Reader.SetDelayTimeStamp(60);
    // Paths are long: check each against the one before instead of keeping them all.
    std::string current;
    std::size_t directories = 0;
    std::size_t files = 0;
    Reader.SetOnDirectoryFound([&](TDirReader&, std::string_view directory) {
        const std::string expected = directories == 0 ? Root + "/" : current + name + "/";
        EXPECT_EQ(directory, expected) << "directory " << directories;
        current = directory;
        ++directories;
    });
    Reader.SetOnFileFound([&](TDirReader&, std::string_view fileName) {
        EXPECT_EQ(fileName, current + "f") << "file " << files;
        ++files;
    });
    Reader.SetDirectory(Root);
    Reader.Start();
    EXPECT_EQ(directories, kDepth + 1);
    EXPECT_EQ(files, kDepth);
    EXPECT_GT(current.size(), 22000u);
}

TEST_F(DirReaderTest, TreesAreReadWholeWhenDescriptorsRunShort) {
    // Forty levels, each with a file and a second subdirectory that comes after the deep one,
    // so that a level must be opened again after its subtree.
    std::string level = Root;
    for (int i = 0; i < 40; ++i) {
        MakeTree(level, {"f", "b/g"});
        level += "/a";
    }
    const Events unhindered = Walk();
    ASSERT_EQ(CountOf(unhindered, 'F'), 80u);

    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_cur, 64);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    // Take every descriptor but four.
    std::vector<int> taken;
    for (int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC); fd >= 0; fd = ::dup(taken.back()))
        taken.push_back(fd);
    for (int i = 0; i < 4 && !taken.empty(); ++i) {
        ::close(taken.back());
        taken.pop_back();
    }
    const Events hindered = Walk();
    for (const int fd : taken)
        ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(hindered, unhindered);
}

TEST_F(DirReaderTest, PendingEventsRunWhileABigDirectoryIsListed) {
    // Links, like the entries of an optical disc, need a stat each while they are listed.
    MakeTree(Root, {"big/", "target"});
    for (int i = 0; i < 500; ++i)
        fs::create_symlink("../target", Root + "/big/link" + std::to_string(i));
    int turns = 0;
    int turnsBeforeBig = -1;
    Reader.SetOnProcessEvents([&](TDirReader&) { ++turns; });
    Reader.SetOnDirectoryFound([&](TDirReader&, std::string_view directory) {
        if (Relative(directory) == "/big/")
            turnsBeforeBig = turns;
    });
    Walk();
    EXPECT_GE(turnsBeforeBig, 500) << "a turn for each entry stated, before big/ is reported";

    // A Stop taken while big/ is listed ends the walk there.
    turns = 0;
    Reader.SetOnProcessEvents([&](TDirReader& sender) {
        if (++turns == 100)
            sender.Stop();
    });
    Reader.SetOnDirectoryFound([this](TDirReader&, std::string_view directory) {
        Recorded.push_back("D " + Relative(directory));
    });
    EXPECT_EQ(Walk(), (Events{"D /", "R"}));
    EXPECT_LT(turns, 200);
}

TEST_F(DirReaderTest, HandlersMayReplaceThemselvesDuringTheirCall) {
    MakeTree(Root, {"a/x", "y"});
    // Each first handler owns a text that nothing else holds: replacing the handler frees it
    // while the call still runs, unless the reader called a copy.
    auto owned = [](const char* text) { return std::make_shared<const std::string>(text); };
    Reader.SetOnDirectoryFound(
        [this, tag = owned("first D")](TDirReader& sender, std::string_view directory) {
            sender.SetOnDirectoryFound([this](TDirReader&, std::string_view next) {
                Recorded.push_back("D " + Relative(next));
            });
            Recorded.push_back(*tag + " " + Relative(directory));
        });
    Reader.SetOnFileFound(
        [this, tag = owned("first F")](TDirReader& sender, std::string_view fileName) {
            sender.SetOnFileFound([this](TDirReader&, std::string_view next) {
                Recorded.push_back("F " + Relative(next));
            });
            Recorded.push_back(*tag + " " + Relative(fileName));
        });
    Reader.SetOnProcessEvents([this, tag = owned("first turn")](TDirReader& sender) {
        sender.SetOnProcessEvents(nullptr);
        Recorded.push_back(*tag);
    });
    Reader.SetOnReady([this, tag = owned("first R")](TDirReader& sender) {
        sender.SetOnReady(nullptr);
        Recorded.push_back(*tag);
    });
    EXPECT_EQ(Walk(),
              (Events{"first turn", "first D /", "D /a/", "first F /a/x", "F /y", "first R"}));
}

TEST_F(DirReaderTest, StartWhileAStoppedWalkUnwindsIsRefused) {
    MakeTree(Root, {"a/b/x", "a/y", "c"});
    Reader.SetOnFileFound([this](TDirReader& sender, std::string_view fileName) {
        Recorded.push_back("F " + Relative(fileName));
        sender.Stop();
    });
    // The turns while the stopped walk closes its levels try to start it again.
    bool tried = false;
    Reader.SetOnProcessEvents([&](TDirReader& sender) {
        if (!sender.Active()) {
            sender.Start();
            tried = true;
        }
    });
    EXPECT_EQ(Walk(), (Events{"D /", "D /a/", "D /a/b/", "F /a/b/x", "R"}));
    EXPECT_TRUE(tried);
    EXPECT_FALSE(Reader.Active());

    // Once the walk is over, its ready event may start the next one.
    Reader.SetOnProcessEvents(nullptr);
    Reader.SetOnFileFound([this](TDirReader&, std::string_view fileName) {
        Recorded.push_back("F " + Relative(fileName));
    });
    bool again = true;
    Reader.SetOnReady([&](TDirReader& sender) {
        Recorded.push_back("R");
        if (std::exchange(again, false))
            sender.Start();
    });
    const Events once{"D /", "D /a/", "D /a/b/", "F /a/b/x", "F /a/y", "F /c"};
    Events twice = once;
    twice.push_back("R");
    twice.insert(twice.end(), once.begin(), once.end());
    twice.push_back("R");
    EXPECT_EQ(Walk(), twice);
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
