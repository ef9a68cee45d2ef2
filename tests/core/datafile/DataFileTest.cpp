#include "OtherUser.h"
#include "TestSupport.h"
#include "core/base/OrlentaError.h"
#include "core/catalogue/CatalogueSession.h"
#include "core/datafile/AtomicFile.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using test::ErrorText;
using test::RawDeflateBytes;
using test::RawInflateBytes;
using test::ReadFileBytes;
using test::TRecordingHost;
using test::TScratchDirectory;
using test::WriteFileBytes;

const std::string& kCatalogueText = test::kShelfCatalogueText;

class DataFileTest : public ::testing::Test {
protected:
    // A session whose open catalogue is a recognisable new one.
    DataFileTest() : Session(Host) {
        Session.NewCatalogue();
        Session.XMLIndexData().SetTitle("Before");
    }

    std::string LoadError() {
        return ErrorText([this] { Session.LoadDataFile(); });
    }
    std::string SaveError() {
        return ErrorText([this] { Session.SaveDataFile(); });
    }
    bool TemporaryFileExists() const { return fs::exists(Dir.Path() / kTemporaryFileName); }

    TScratchDirectory Dir;
    TRecordingHost Host;
    TCatalogueSession Session;
};

TEST_F(DataFileTest, SavesAndLoadsARawDeflateStream) {
    Session.XMLIndexData().Discs().Add().SetTitle("Photos");
    Session.SetOrlentaFilename(Dir / "shelf.olx");
    Session.SetFileChanged(true);
    Session.SaveDataFile();

    EXPECT_FALSE(Session.FileChanged());
    EXPECT_FALSE(Host.SaveEnabled);
    EXPECT_FALSE(TemporaryFileExists());
    EXPECT_EQ(Host.BusyTexts, (std::vector<std::string>{"Saving datafile...", ""}));
    const std::string text = RawInflateBytes(ReadFileBytes(Session.OrlentaFilename()));
    EXPECT_EQ(text.rfind(R"(<?xml version="1.0"?><OrlentaData Title="Before")", 0), 0u) << text;

    Session.ReplaceCatalogue(NewOrlentaData());
    Host.BusyTexts.clear();
    ASSERT_TRUE(Session.LoadDataFile());
    EXPECT_EQ(Session.XMLIndexData().Title(), "Before");
    EXPECT_EQ(Session.XMLIndexData().Discs().Disc(0).Title(), "Photos");
    EXPECT_FALSE(TemporaryFileExists());
    EXPECT_EQ(Host.BusyTexts, (std::vector<std::string>{"Loading datafile...", ""}));
}

TEST_F(DataFileTest, LoadIgnoresBytesAfterTheStream) {
    Session.SetOrlentaFilename(Dir / "tail.olx");
    WriteFileBytes(Session.OrlentaFilename(), RawDeflateBytes(kCatalogueText) + "trailing junk");
    ASSERT_TRUE(Session.LoadDataFile());
    EXPECT_EQ(Session.XMLIndexData().Title(), "Shelf");
    EXPECT_TRUE(Host.Messages.empty());
}

TEST_F(DataFileTest, DataThatIsNotRawDeflateIsReportedAndChangesNothing) {
    const std::string zlibFramed = "\x78\x9C" + RawDeflateBytes(kCatalogueText);
    const std::string whole = RawDeflateBytes(kCatalogueText);
    const std::pair<const char*, std::string> cases[] = {
        {"empty file", ""},
        {"zlib framing", zlibFramed},
        {"truncated", whole.substr(0, whole.size() / 2)},
        {"invalid block type", "\x07\x00\x00"},
    };
    for (const auto& [what, bytes] : cases) {
        Host.Messages.clear();
        Session.SetOrlentaFilename(Dir / "bad.olx");
        WriteFileBytes(Session.OrlentaFilename(), bytes);
        EXPECT_FALSE(Session.LoadDataFile()) << what;
        ASSERT_EQ(Host.Messages.size(), 1u) << what;
        EXPECT_EQ(Host.Messages[0].Kind, TMessageKind::Error);
        EXPECT_EQ(Host.Messages[0].Text, "Error reading Orlenta datafile.");
        EXPECT_EQ(Session.XMLIndexData().Title(), "Before") << what;
        EXPECT_TRUE(TemporaryFileExists()) << what;
        EXPECT_FALSE(Host.Busy());
    }
}

TEST_F(DataFileTest, LoadFailuresKeepTheOpenCatalogue) {
    WriteFileBytes(kTemporaryFileName, "stale");
    Session.SetOrlentaFilename(Dir / "missing.olx");
    EXPECT_EQ(LoadError(),
              "Cannot open file \"" + Session.OrlentaFilename() + "\". No such file or directory.");
    EXPECT_EQ(ReadFileBytes(kTemporaryFileName), "stale"); // not created before the open

    Session.SetOrlentaFilename(Dir / "other.olx");
    WriteFileBytes(Session.OrlentaFilename(), RawDeflateBytes("<Catalogue/>"));
    EXPECT_EQ(LoadError(), "Interface not supported");

    WriteFileBytes(Session.OrlentaFilename(),
                   RawDeflateBytes("<OrlentaData><Discs></OrlentaData>"));
    const std::string parseError = LoadError();
    EXPECT_TRUE(parseError.ends_with("\r\nLine: 1\r\n<OrlentaData><Discs></OrlentaData>"))
        << parseError;
    EXPECT_TRUE(TemporaryFileExists());

    Session.SetOrlentaFilename(Dir.Path().string());
    EXPECT_EQ(LoadError(),
              "Cannot open file \"" + Session.OrlentaFilename() + "\". Is a directory.");

    EXPECT_EQ(Session.XMLIndexData().Title(), "Before");
    EXPECT_FALSE(Host.Busy());
}

TEST_F(DataFileTest, OpeningSelectsTheFirstDiscOrKeepsTheOpenCatalogueWithItsFile) {
    Session.SetOrlentaFilename(Dir / "mine.olx");
    const std::string good = Dir / "good.olx";
    WriteFileBytes(good, RawDeflateBytes(kCatalogueText));
    ASSERT_TRUE(Session.OpenDataFile(good));
    EXPECT_EQ(Session.OrlentaFilename(), good);
    EXPECT_EQ(Session.XMLDiscData().Title(), "Photos");

    // Neither an unreadable stream nor a thrown failure may rebind the open catalogue to the
    // file the user meant to open: a later Save would write over it.
    const std::string garbage = Dir / "garbage.olx";
    WriteFileBytes(garbage, "\x07\x00\x00");
    EXPECT_FALSE(Session.OpenDataFile(garbage));
    EXPECT_EQ(Session.OrlentaFilename(), good);
    EXPECT_EQ(Session.XMLDiscData().Title(), "Photos");
    const std::string missing = Dir / "missing.olx";
    EXPECT_EQ(ErrorText([&] { Session.OpenDataFile(missing); }),
              "Cannot open file \"" + missing + "\". No such file or directory.");
    EXPECT_EQ(Session.OrlentaFilename(), good);
    EXPECT_EQ(Session.XMLIndexData().Title(), "Shelf");
}

TEST_F(DataFileTest, SaveRefusesATargetThatCannotBeWrittenBeforeWritingAnything) {
    const std::string readOnly = Dir / "read-only.olx";
    WriteFileBytes(readOnly, "old bytes");
    chmod(readOnly.c_str(), 0444);
    const std::string cases[] = {readOnly, Dir / "no-such-folder/x.olx", Dir.Path().string()};
    for (const std::string& target : cases) {
        Session.SetOrlentaFilename(target);
        Session.SetFileChanged(true);
        const std::string error = SaveError();
        EXPECT_EQ(error.rfind("Cannot create file \"" + target + "\". ", 0), 0u) << error;
        EXPECT_TRUE(Session.FileChanged());
        EXPECT_TRUE(TemporaryFileExists());
        EXPECT_FALSE(Host.Busy());
    }
    EXPECT_EQ(ReadFileBytes(readOnly), "old bytes");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path()), fs::directory_iterator()), 2)
        << "only the read-only file and the temporary file";
}

TEST_F(DataFileTest, SaveIntoAFolderWithoutWritePermission) {
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into any folder";
    fs::create_directory(Dir / "locked");
    WriteFileBytes(Dir / "locked/cat.olx", "old bytes");
    chmod((Dir / "locked").c_str(), 0555);
    Session.SetOrlentaFilename(Dir / "locked/cat.olx");
    EXPECT_EQ(SaveError(),
              "Cannot create file \"" + Session.OrlentaFilename() + "\". Permission denied.");
    EXPECT_EQ(ReadFileBytes(Dir / "locked/cat.olx"), "old bytes");
}

TEST_F(DataFileTest, SaveKeepsPermissionsAndLinks) {
    const std::string real = Dir / "real.olx";
    WriteFileBytes(real, "old bytes");
    chmod(real.c_str(), 0640);
    fs::create_symlink("real.olx", Dir / "link.olx");
    Session.SetOrlentaFilename(Dir / "link.olx");
    Session.SaveDataFile();

    EXPECT_TRUE(fs::is_symlink(Dir / "link.olx"));
    struct stat info {};
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_NE(RawInflateBytes(ReadFileBytes(real)).find("Before"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path()), fs::directory_iterator()), 2);
}

// A catalogue shared through its group stays shared when another user saves it: the group and
// the permissions are kept; the owner only where root saves. One who writes it through the
// permissions for others cannot give it the group, and it takes the saver's.
TEST_F(DataFileTest, ASaveByAnotherUserKeepsTheGroupAndThePermissions) {
    if (!test::CanActAsOtherUsers())
        GTEST_SKIP() << "not running as root: cannot act as other users";
    constexpr uid_t kOwner = 60001;
    constexpr gid_t kShared = 60100;
    chmod(Dir.Path().c_str(), 0777);
    const std::string path = Dir / "cat.olx";
    const auto save = [&path] {
        TRecordingHost host;
        TCatalogueSession session(host);
        session.NewCatalogue();
        session.XMLIndexData().SetTitle("Saved");
        session.SetOrlentaFilename(path);
        session.SaveDataFile();
    };
    struct TCase {
        const char* Saver;
        std::optional<test::TOtherUser> User; // none: root, the test itself
        mode_t Mode;
        uid_t Owner;
        gid_t Group;
    };
    const TCase cases[] = {
        {"a member of the group", test::TOtherUser{60002, 60002, {kShared}}, 0660, 60002, kShared},
        {"another user", test::TOtherUser{60003, 60003, {}}, 0666, 60003, 60003},
        {"root", std::nullopt, 0640, kOwner, kShared},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Saver);
        WriteFileBytes(path, "old bytes");
        ASSERT_EQ(chown(path.c_str(), kOwner, kShared), 0);
        chmod(path.c_str(), c.Mode);
        EXPECT_EQ(c.User ? test::RunAsUser(*c.User, save) : ErrorText(save), "(no error)");
        struct stat info {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, c.Mode);
        EXPECT_EQ(info.st_uid, c.Owner);
        EXPECT_EQ(info.st_gid, c.Group);
        EXPECT_EQ(test::RunAsUser({kOwner, kOwner, {kShared}},
                                  [&path] {
                                      TRecordingHost host;
                                      TCatalogueSession session(host);
                                      session.OpenDataFile(path);
                                  }),
                  "(no error)")
            << "the owner can no longer open the catalogue";
    }
}

TEST_F(DataFileTest, SaveFailureOfTheTemporaryFileKeepsTheDataFile) {
    const std::string target = Dir / "cat.olx";
    WriteFileBytes(target, "old bytes");
    fs::create_directory(kTemporaryFileName); // cannot be created as a file
    Session.SetOrlentaFilename(target);
    Session.SetFileChanged(true);
    EXPECT_EQ(SaveError(),
              std::string("Cannot create file \"") + kTemporaryFileName + "\". Is a directory.");
    EXPECT_EQ(ReadFileBytes(target), "old bytes");
    EXPECT_TRUE(Session.FileChanged());
}

// A FIFO must never block a load or a save, and a device is neither read nor replaced.
TEST_F(DataFileTest, ADataFileThatIsNoRegularFileIsRefused) {
    alarm(30); // a blocking open fails the test instead of hanging it
    mkfifo("fifo.olx", 0666);
    // A device node of our own (the null device) where the system lets us make one; otherwise a
    // link to /dev/null, which a save must then not even be tried on.
    const bool ownDevice = mknod("device.olx", S_IFCHR | 0666, makedev(1, 3)) == 0;
    if (!ownDevice)
        fs::create_symlink("/dev/null", "device.olx");
    fs::create_symlink("fifo.olx", "link-to-fifo.olx");
    const std::pair<std::string, std::string> cases[] = {
        {"fifo.olx", "It is a FIFO, not a regular file."},
        {"link-to-fifo.olx", "It is a FIFO, not a regular file."},
        {"device.olx", "It is a device, not a regular file."},
    };
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        Session.SetOrlentaFilename(name);
        EXPECT_EQ(LoadError(), "Cannot open file \"" + name + "\". " + reason);
        EXPECT_FALSE(TemporaryFileExists()) << "refused before the temporary file";
        if (name == "device.olx" && !ownDevice)
            continue;
        Session.SetFileChanged(true);
        EXPECT_EQ(SaveError(), "Cannot create file \"" + name + "\". " + reason);
        EXPECT_TRUE(Session.FileChanged());
        fs::remove(kTemporaryFileName); // a failed save leaves it, as it should
    }
    EXPECT_TRUE(fs::is_fifo("fifo.olx"));
    EXPECT_TRUE(fs::is_character_file("device.olx"));
    alarm(0);
    EXPECT_EQ(Session.XMLIndexData().Title(), "Before");
    EXPECT_FALSE(Host.Busy());
}

// A write that fails part-way (here the file-size limit, as a full disk would) leaves the old file
// whole and no new file behind.
TEST(AtomicFile, AFailureInTheMiddleKeepsTheOldFile) {
    TScratchDirectory dir;
    const std::string target = dir / "cat.olx";
    WriteFileBytes(target, "old bytes");

    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &limited);
    std::string error;
    try {
        TAtomicFile file(target);
        const std::string chunk(16 * 1024, 'x');
        for (int i = 0; i < 8; ++i)
            file.Write(chunk.data(), chunk.size());
        file.Commit();
    } catch (const EOrlentaError& e) {
        error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(error, "Cannot write file \"" + target + "\". File too large.");
    EXPECT_EQ(ReadFileBytes(target), "old bytes");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, NothingChangesUntilCommit) {
    TScratchDirectory dir;
    const std::string target = dir / "cat.olx";
    WriteFileBytes(target, "old bytes");
    {
        TAtomicFile file(target);
        file.Write("new", 3);
        EXPECT_EQ(ReadFileBytes(target), "old bytes");
    }
    EXPECT_EQ(ReadFileBytes(target), "old bytes");
    {
        TAtomicFile file(target);
        file.Write("new", 3);
        file.Commit();
    }
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

} // namespace
} // namespace orlenta
