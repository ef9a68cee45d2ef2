#include "core/base/FileLock.h"

#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

// Processes that each read a count, wait a moment and write it back one higher lose no step
// only when they take turns.
TEST(FileLock, WritersTakeTurnsAndLeaveNoLockFileBehind) {
    test::TScratchDirectory scratch;
    const std::string counter = scratch / "counter";
    WriteFileBytes(counter, "0");
    const auto errors = test::ErrorTextsOfProcessesAtOnce(3, [&](int) {
        for (int i = 0; i < 50; ++i) {
            const TFileLock lock(counter);
            const int value = std::stoi(ReadFileBytes(counter));
            usleep(200);
            WriteFileBytes(counter + ".new", std::to_string(value + 1));
            fs::rename(counter + ".new", counter);
        }
    });
    EXPECT_EQ(errors, std::vector<std::string>(3, "(no error)"));
    EXPECT_EQ(ReadFileBytes(counter), "150");
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.Path()), fs::directory_iterator()), 1);
}

// Whoever may write the file may take its lock, whatever the maker's umask; the lock of a file
// reached through a link stands beside the file itself.
TEST(FileLock, LockFileStandsBesideTheFileWithItsPermissions) {
    test::TScratchDirectory scratch;
    fs::create_directories(scratch.Path() / "shared");
    WriteFileBytes(scratch / "shared/profile", "");
    fs::permissions(scratch / "shared/profile", fs::perms::owner_read | fs::perms::owner_write |
                                                    fs::perms::group_read | fs::perms::group_write);
    fs::create_symlink(scratch / "shared/profile", scratch / "link");
    const mode_t oldMask = umask(077);
    struct stat info {};
    {
        const TFileLock lock(scratch / "link");
        ASSERT_EQ(stat((scratch / "shared/.profile.lock").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0660u);
    }
    {
        const TFileLock lock(scratch / "missing");
        ASSERT_EQ(stat((scratch / ".missing.lock").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    umask(oldMask);
    EXPECT_FALSE(fs::exists(scratch / "shared/.profile.lock"));
    EXPECT_FALSE(fs::exists(scratch / ".missing.lock"));
}

TEST(FileLock, RefusesWhatStandsInPlaceOfItsLockFile) {
    test::TScratchDirectory scratch;
    const std::string lockPath = scratch / ".x.lock";
    const std::string elsewhere = scratch / "elsewhere";
    const struct {
        const char* Name;
        std::function<void()> Plant;
        std::string Error;
    } cases[] = {
        {"a FIFO", [&] { mkfifo(lockPath.c_str(), 0600); },
         "Cannot open file \"" + lockPath + "\". It is a FIFO, not a regular file."},
        {"a folder", [&] { fs::create_directory(lockPath); },
         "Cannot lock file \"" + lockPath + "\". Is a directory."},
        // A link is never followed: it could lead anywhere another user wants.
        {"a link", [&] { fs::create_symlink(elsewhere, lockPath); },
         "Cannot lock file \"" + lockPath + "\". Too many levels of symbolic links."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove_all(lockPath);
        c.Plant();
        EXPECT_EQ(test::ErrorText([&] { TFileLock lock(scratch / "x"); }), c.Error);
        EXPECT_FALSE(fs::exists(elsewhere));
    }
}

} // namespace
} // namespace orlenta
