// The lock that writers of one data file serialize on. Between processes the command-line tests
// show it; here two sessions of one process stand for them (flock tells their files apart).

#include "core/datafile/DataFileLock.h"

#include "OtherUser.h"
#include "TestSupport.h"
#include "core/base/FileLock.h"
#include "core/catalogue/CatalogueSession.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using test::CanActAsOtherUsers;
using test::ErrorText;
using test::RawDeflateBytes;
using test::RawInflateBytes;
using test::ReadFileBytes;
using test::TOtherUser;
using test::TRecordingHost;
using test::TScratchDirectory;
using test::TUserProcess;
using test::WaitForFile;
using test::WriteFileBytes;

// Two users who share a catalogue through the group kShared.
constexpr gid_t kShared = 60100;
constexpr uid_t kUserA = 60001;
constexpr uid_t kUserB = 60002;

std::string SavedTitle(const std::string& path) {
    const std::string text = RawInflateBytes(ReadFileBytes(path));
    const size_t start = text.find("Title=\"") + 7;
    return text.substr(start, text.find('"', start) - start);
}

TEST(DataFileLock, ASaveWaitsForTheSessionThatHoldsTheLockFromLoadToSave) {
    alarm(30); // a lock that is never let go fails the test instead of hanging it
    TScratchDirectory dir;
    fs::create_directory("data");
    WriteFileBytes("data/real.olx", RawDeflateBytes(R"(<OrlentaData Title="Old"/>)"));
    fs::create_symlink("data/real.olx", "link.olx");
    EXPECT_EQ(FileLockPath("link.olx"), "./data/.real.olx.lock") << "beside the real file";

    TRecordingHost holderHost;
    TCatalogueSession holder(holderHost);
    std::atomic<bool> otherSaved = false;
    std::thread other;
    {
        // Held under one name, saved under another: the save knows the lock as its own.
        const THeldDataFileLock lock(holder, "link.olx");
        ASSERT_TRUE(holder.OpenDataFile("link.olx"));
        EXPECT_TRUE(fs::exists("data/.real.olx.lock"));

        other = std::thread([&otherSaved] {
            TRecordingHost host;
            TCatalogueSession session(host);
            session.NewCatalogue();
            session.XMLIndexData().SetTitle("Other");
            session.SetOrlentaFilename("data/real.olx");
            session.SaveDataFile();
            otherSaved = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(otherSaved) << "the other writer came between load and save";

        holder.XMLIndexData().SetTitle("Holder");
        holder.SetOrlentaFilename("data/real.olx");
        holder.SaveDataFile();
        EXPECT_EQ(SavedTitle("data/real.olx"), "Holder");
    }
    other.join();
    alarm(0);

    EXPECT_TRUE(otherSaved);
    EXPECT_EQ(SavedTitle("data/real.olx"), "Other");
    EXPECT_FALSE(fs::exists("data/.real.olx.lock")) << "the last holder removes it";
    EXPECT_TRUE(holderHost.WaitTexts.empty());
}

// Adds a disc titled title to the catalogue at path, holding its lock from load to save, as the
// command line's add does.
void AddDisc(const std::string& path, const std::string& title) {
    TRecordingHost host;
    TCatalogueSession session(host);
    const THeldDataFileLock lock(session, path);
    session.OpenDataFile(path);
    session.XMLIndexData().Discs().Add().SetTitle(title);
    session.SaveDataFile();
}

// A holder whose umask keeps everyone else out must not keep out another member of the group who
// may write the catalogue: the lock file has the catalogue's permissions and group, and the other
// writer waits instead of going on unlocked and losing one of the two discs.
TEST(DataFileLock, AWriterOfAnotherUserWaitsForTheHolderWhateverTheHoldersUmask) {
    if (!CanActAsOtherUsers())
        GTEST_SKIP() << "not running as root: cannot act as two users";
    TScratchDirectory dir;
    chmod(dir.Path().c_str(), 0755);
    for (const auto& [folder, uid, gid, mode] : {std::tuple{"shared", 0u, kShared, 02770},
                                                 {"a", kUserA, kUserA, 0755},
                                                 {"b", kUserB, kUserB, 0755}}) {
        fs::create_directory(folder);
        ASSERT_EQ(chown(folder, uid, gid), 0);
        chmod(folder, mode);
    }
    const std::string catalogue = dir / "shared/cat.olx";
    WriteFileBytes(catalogue,
                   RawDeflateBytes(R"(<OrlentaData Title="Shared"><Discs/></OrlentaData>)"));
    ASSERT_EQ(chown(catalogue.c_str(), kUserA, kShared), 0);
    chmod(catalogue.c_str(), 0660);

    TUserProcess holder({kUserA, kUserA, {kShared}, 077}, [&] {
        fs::current_path(dir / "a");
        TRecordingHost host;
        TCatalogueSession session(host);
        const THeldDataFileLock lock(session, catalogue);
        session.OpenDataFile(catalogue);
        session.XMLIndexData().Discs().Add().SetTitle("by A");
        WriteFileBytes("held", "");
        WaitForFile("release");
        session.SaveDataFile();
    });
    ASSERT_TRUE(WaitForFile(dir / "a/held"));
    struct stat lockFile {};
    ASSERT_EQ(stat((dir / "shared/.cat.olx.lock").c_str(), &lockFile), 0);
    EXPECT_EQ(lockFile.st_mode & 07777, 0660u);
    EXPECT_EQ(lockFile.st_gid, kShared);

    TUserProcess other({kUserB, kUserB, {kShared}, 022}, [&] {
        fs::current_path(dir / "b");
        AddDisc(catalogue, "by B");
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(other.Ended()) << "the other writer went on while the lock was held";
    WriteFileBytes(dir / "a/release", "");
    EXPECT_EQ(holder.Wait(), "(no error)");
    EXPECT_EQ(other.Wait(), "(no error)");

    const std::string text = RawInflateBytes(ReadFileBytes(catalogue));
    EXPECT_NE(text.find(R"(Title="by A")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"(Title="by B")"), std::string::npos) << text;
}

// Whoever may write the catalogue may open its lock, whatever the umask of the lock's maker;
// beside a catalogue not made yet the lock file gets what the new catalogue will get.
TEST(DataFileLock, ANewLockFileHasTheCataloguesPermissionsAndGroup) {
    TScratchDirectory dir;
    // Root may give the catalogue any group; anyone else shows at least that its own is kept.
    const gid_t group = CanActAsOtherUsers() ? kShared : getegid();
    struct TCase {
        int CatalogueMode; // -1: none yet
        mode_t Umask;
        unsigned LockMode;
    };
    const TCase cases[] = {
        {-1, 002, 0664}, {-1, 077, 0600}, {0660, 077, 0660}, {0640, 027, 0640}, {0666, 022, 0666},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.CatalogueMode << " umask " << c.Umask);
        if (c.CatalogueMode >= 0) {
            WriteFileBytes("cat.olx", RawDeflateBytes(R"(<OrlentaData Title="T"/>)"));
            ASSERT_EQ(chown("cat.olx", static_cast<uid_t>(-1), group), 0);
            chmod("cat.olx", static_cast<mode_t>(c.CatalogueMode));
        }
        const mode_t previousUmask = umask(c.Umask);
        {
            TRecordingHost host;
            TCatalogueSession session(host);
            const THeldDataFileLock lock(session, "cat.olx");
            struct stat lockFile {};
            ASSERT_EQ(stat(".cat.olx.lock", &lockFile), 0);
            EXPECT_EQ(lockFile.st_mode & 07777, c.LockMode);
            if (c.CatalogueMode >= 0) {
                EXPECT_EQ(lockFile.st_gid, group);
            }
        }
        umask(previousUmask);
        fs::remove("cat.olx");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 0)
            << "the lock file, and the file it was made as, are gone";
    }
}

// A writer that cannot have the lock says why and writes nothing: no temporary file, no new
// catalogue, the old one as it was. Someone who only reads goes without the lock.
TEST(DataFileLock, AWriterThatCannotTakeTheLockWritesNothing) {
    alarm(30); // a FIFO that blocks fails the test instead of hanging it
    TScratchDirectory dir;
    const std::string bytes = RawDeflateBytes(test::kShelfCatalogueText);
    WriteFileBytes("cat.olx", bytes);
    WriteFileBytes("other", "");
    const std::string start = "Cannot lock \"cat.olx\". Its lock file \".cat.olx.lock\" is ";
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[] { fs::create_directory(".cat.olx.lock"); }, "a directory, not a regular file."},
        {[] { mkfifo(".cat.olx.lock", 0666); }, "a FIFO, not a regular file."},
        {[] { fs::create_symlink("other", ".cat.olx.lock"); },
         "a symbolic link, not a regular file."},
    };
    for (const auto& [plant, reason] : cases) {
        SCOPED_TRACE(reason);
        plant();
        TRecordingHost host;
        TCatalogueSession session(host);
        session.NewCatalogue();
        session.SetFileChanged(true);
        session.SetOrlentaFilename("cat.olx");
        EXPECT_EQ(ErrorText([&] { session.SaveDataFile(); }), start + reason);
        EXPECT_EQ(ErrorText([&] { session.HoldDataFileLock("cat.olx", TLockPurpose::Writing); }),
                  start + reason);
        EXPECT_TRUE(session.FileChanged());
        EXPECT_FALSE(host.Busy());
        EXPECT_EQ(ReadFileBytes("cat.olx"), bytes);
        EXPECT_EQ(ErrorText([&] {
                      const THeldDataFileLock lock(session, "cat.olx", TLockPurpose::Reading);
                      session.LoadDataFile();
                  }),
                  "(no error)");
        EXPECT_EQ(session.XMLIndexData().Title(), "Shelf");
        session.ReleaseDataFileLock();
        fs::remove(".cat.olx.lock");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2)
            << "cat.olx and other, nothing else";
    }
    alarm(0);
}

// A lock file that the writer may not open, as a writer whose umask kept everyone else out left
// it before lock files had the catalogue's permissions: the writer stops.
TEST(DataFileLock, ALockFileTheWriterMayNotOpenStopsIt) {
    if (!CanActAsOtherUsers())
        GTEST_SKIP() << "not running as root: cannot plant another user's lock file";
    TScratchDirectory dir;
    chmod(dir.Path().c_str(), 0777);
    const std::string bytes = RawDeflateBytes(test::kShelfCatalogueText);
    WriteFileBytes("cat.olx", bytes);
    chmod("cat.olx", 0666);
    WriteFileBytes(".cat.olx.lock", "");
    ASSERT_EQ(chown(".cat.olx.lock", kUserA, kUserA), 0);
    chmod(".cat.olx.lock", 0600);
    EXPECT_EQ(test::RunAsUser({kUserB, kUserB, {}}, [] { AddDisc("cat.olx", "by B"); }),
              "Cannot lock \"cat.olx\". Permission denied.");
    EXPECT_EQ(ReadFileBytes("cat.olx"), bytes);
    EXPECT_FALSE(fs::exists(kTemporaryFileName));
}

// Where no file can be made, no save can replace the catalogue either: there the save goes on
// without the lock and gives its own reason.
TEST(DataFileLock, AFolderThatTakesNoNewFileNeedsNoLock) {
    TScratchDirectory dir;
    fs::create_directory("locked");
    WriteFileBytes("locked/cat.olx", RawDeflateBytes(test::kShelfCatalogueText));
    chmod("locked/cat.olx", 0666);
    chmod("locked", 0555);
    const auto save = [] {
        TRecordingHost host;
        TCatalogueSession session(host);
        session.NewCatalogue();
        session.SetOrlentaFilename("locked/cat.olx");
        session.SaveDataFile();
    };
    const std::string error = "Cannot create file \"locked/cat.olx\". Permission denied.";
    if (CanActAsOtherUsers()) {
        chmod(dir.Path().c_str(), 0777);
        EXPECT_EQ(test::RunAsUser({kUserB, kUserB, {}}, save), error);
    } else {
        EXPECT_EQ(ErrorText(save), error);
    }
}

} // namespace
} // namespace orlenta
