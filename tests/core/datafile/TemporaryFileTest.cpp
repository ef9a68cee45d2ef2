// Orlenta.tmp: what another user or process may have put in its place, and waiting for another
// process that uses it.

#include "core/datafile/TemporaryFile.h"

#include "OtherUser.h"
#include "TestSupport.h"
#include "core/catalogue/CatalogueSession.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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
using test::TRecordingHost;
using test::TScratchDirectory;
using test::WriteFileBytes;

const std::string& kCatalogueText = test::kShelfCatalogueText;

// A socket bound at path, as a server would leave it.
void MakeSocket(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
}

// A FIFO in the wrong place must fail the test, not hang it.
class THangGuard {
public:
    THangGuard() { alarm(30); }
    ~THangGuard() { alarm(0); }
};

class TemporaryFileTest : public ::testing::Test {
protected:
    TemporaryFileTest() : Session(Host) {
        Session.NewCatalogue();
        Session.XMLIndexData().SetTitle("Before");
        WriteFileBytes(Dir / "shelf.olx", RawDeflateBytes(kCatalogueText));
    }

    std::string LoadError() {
        Session.SetOrlentaFilename(Dir / "shelf.olx");
        return ErrorText([this] { Session.LoadDataFile(); });
    }
    std::string SaveError(const std::string& path) {
        Session.SetOrlentaFilename(path);
        return ErrorText([this] { Session.SaveDataFile(); });
    }

    TScratchDirectory Dir;
    TRecordingHost Host;
    TCatalogueSession Session;
};

// A link planted as Orlenta.tmp in a shared folder would make a load by root overwrite the file
// it points to; a hard link likewise; a FIFO would block.
TEST_F(TemporaryFileTest, WhatIsPlantedInItsPlaceIsRefusedAndLeftAlone) {
    const THangGuard guard;
    WriteFileBytes("victim", "precious");
    const auto plantLink = [] { fs::create_symlink("victim", kTemporaryFileName); };
    const auto plantDangling = [] { fs::create_symlink("made-through-link", kTemporaryFileName); };
    const auto plantHardLink = [] { fs::create_hard_link("victim", kTemporaryFileName); };
    const auto plantFifo = [] { mkfifo(kTemporaryFileName, 0666); };
    const auto plantSocket = [] { MakeSocket(kTemporaryFileName); };
    const std::string start = std::string("Cannot create file \"") + kTemporaryFileName + "\". ";
    const std::pair<std::function<void()>, std::string> cases[] = {
        {plantLink, "It is a symbolic link, not a regular file."},
        {plantDangling, "It is a symbolic link, not a regular file."},
        {plantHardLink, "It has further names (hard links), so it may be another file."},
        {plantFifo, "It is a FIFO, not a regular file."},
        {plantSocket, "It is a socket, not a regular file."},
    };
    for (const auto& [plant, reason] : cases) {
        SCOPED_TRACE(reason);
        plant();
        EXPECT_EQ(LoadError(), start + reason);
        Session.SetFileChanged(true);
        EXPECT_EQ(SaveError(Dir / "saved.olx"), start + reason);
        EXPECT_TRUE(Session.FileChanged());
        EXPECT_EQ(Session.XMLIndexData().Title(), "Before");
        EXPECT_EQ(ReadFileBytes("victim"), "precious");
        EXPECT_FALSE(fs::exists("made-through-link"));
        EXPECT_FALSE(fs::exists("saved.olx"));
        EXPECT_FALSE(Host.Busy());
        fs::remove(kTemporaryFileName);
    }
}

// A temporary file left behind by a process that ended half-way holds more than the next text:
// it is emptied first, so that nothing of it trails the new text, on a load and on a save.
TEST_F(TemporaryFileTest, ALeftOverTemporaryFileIsEmptiedFirst) {
    const std::string leftOver(100000, '<');
    WriteFileBytes(kTemporaryFileName, leftOver);
    EXPECT_EQ(LoadError(), "(no error)");
    EXPECT_EQ(Session.XMLIndexData().Title(), "Shelf");
    EXPECT_FALSE(fs::exists(kTemporaryFileName));

    WriteFileBytes(kTemporaryFileName, leftOver);
    EXPECT_EQ(SaveError(Dir / "saved.olx"), "(no error)");
    const std::string saved = RawInflateBytes(ReadFileBytes(Dir / "saved.olx"));
    EXPECT_NE(saved.find("Title=\"Shelf\""), std::string::npos);
    EXPECT_EQ(saved.find("<<"), std::string::npos);
    EXPECT_FALSE(fs::exists(kTemporaryFileName));
}

// The temporary file given as the data file: loading would empty it before reading it, and
// saving would delete what it had just written.
TEST_F(TemporaryFileTest, ADataFileThatIsTheTemporaryFileIsRefusedBeforeAnythingIsTouched) {
    const std::string names[] = {kTemporaryFileName, std::string("./") + kTemporaryFileName,
                                 Dir / kTemporaryFileName, "link.olx", "hard.olx"};
    const auto error = [](const std::string& path) {
        return "Cannot use \"" + path + "\" as a data file. It is \"" + kTemporaryFileName +
               "\" in the working folder, the temporary file of every load and save.";
    };

    // Not there yet: a save would create it and then remove it.
    EXPECT_EQ(SaveError(kTemporaryFileName), error(kTemporaryFileName));
    EXPECT_FALSE(fs::exists(kTemporaryFileName));

    const std::string bytes = RawDeflateBytes(kCatalogueText);
    WriteFileBytes(kTemporaryFileName, bytes);
    fs::create_symlink(kTemporaryFileName, "link.olx");
    fs::create_hard_link(kTemporaryFileName, "hard.olx");
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Session.SetOrlentaFilename(name);
        EXPECT_EQ(ErrorText([this] { Session.LoadDataFile(); }), error(name));
        EXPECT_EQ(SaveError(name), error(name));
        EXPECT_EQ(ReadFileBytes(kTemporaryFileName), bytes);
        EXPECT_EQ(Session.XMLIndexData().Title(), "Before");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path()), fs::directory_iterator()), 4)
        << "shelf.olx, the temporary file and its two other names, nothing else";
}

// Another process (here another open file of this one, which flock treats alike) holds the
// temporary file: the load waits for it, and says so only when it takes a second.
TEST_F(TemporaryFileTest, ALoadWaitsForTheHolderAndSaysSoAfterASecond) {
    for (const auto held : {std::chrono::milliseconds(200), std::chrono::milliseconds(1500)}) {
        SCOPED_TRACE(held.count());
        Host.WaitTexts.clear();
        Session.XMLIndexData().SetTitle("Before");
        WriteFileBytes(kTemporaryFileName, "another process's text");
        const int other = open(kTemporaryFileName, O_RDWR | O_CLOEXEC);
        ASSERT_EQ(flock(other, LOCK_EX), 0);
        std::thread holder([other, held] {
            std::this_thread::sleep_for(held);
            close(other);
        });
        const auto start = std::chrono::steady_clock::now();
        Session.SetOrlentaFilename(Dir / "shelf.olx");
        const bool loaded = Session.LoadDataFile();
        const auto waited = std::chrono::steady_clock::now() - start;
        holder.join();

        EXPECT_TRUE(loaded);
        EXPECT_EQ(Session.XMLIndexData().Title(), "Shelf");
        EXPECT_GE(waited, held);
        EXPECT_FALSE(fs::exists(kTemporaryFileName));
        if (held < std::chrono::seconds(1))
            EXPECT_TRUE(Host.WaitTexts.empty());
        else
            EXPECT_EQ(Host.WaitTexts,
                      (std::vector<std::string>{"Waiting for another Orlenta...", ""}));
    }
}

// With the working folder full (here the file-size limit), the load says that the temporary file
// could not be written, and why, instead of blaming the data file.
TEST_F(TemporaryFileTest, AFullWorkingFolderOnLoadNamesTheTemporaryFile) {
    std::string big = R"(<?xml version="1.0"?><OrlentaData Title="Big"><Discs><Disc><Root>)"
                      "<Filenames>";
    for (int i = 0; i < 20000; ++i)
        big += R"(<Filename Text="name-)" + std::to_string(i) + R"("/>)";
    big += "</Filenames></Root></Disc></Discs></OrlentaData>";
    WriteFileBytes(Dir / "shelf.olx", RawDeflateBytes(big));

    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &limited);
    const std::string error = LoadError();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(error,
              std::string("Cannot write file \"") + kTemporaryFileName + "\". File too large.");
    EXPECT_TRUE(Host.Messages.empty());
    EXPECT_EQ(Session.XMLIndexData().Title(), "Before");
    EXPECT_FALSE(Host.Busy());
}

// Whoever made the file may keep it open and read every catalogue written into it: a file of
// another user is refused, by root too, and nothing is written into it.
TEST_F(TemporaryFileTest, AnotherUsersFileIsRefusedByRootToo) {
    if (!CanActAsOtherUsers())
        GTEST_SKIP() << "not running as root: cannot plant another user's file";
    chmod(Dir.Path().c_str(), 01777);
    const test::TOtherUser planter{60001, 60001, {}};
    ASSERT_EQ(test::RunAsUser(planter,
                              [] {
                                  const int fd = open(kTemporaryFileName, O_RDWR | O_CREAT, 0666);
                                  fchmod(fd, 0666);
                                  close(fd);
                              }),
              "(no error)");
    const std::string error = std::string("Cannot create file \"") + kTemporaryFileName +
                              "\". It belongs to another user.";

    EXPECT_EQ(LoadError(), error);
    Session.SetFileChanged(true);
    EXPECT_EQ(SaveError(Dir / "saved.olx"), error);
    EXPECT_TRUE(Session.FileChanged());
    EXPECT_EQ(Session.XMLIndexData().Title(), "Before");
    EXPECT_FALSE(fs::exists("saved.olx"));
    EXPECT_EQ(test::RunAsUser({60002, 60002, {}},
                              [this] {
                                  TRecordingHost host;
                                  TCatalogueSession session(host);
                                  session.SetOrlentaFilename(Dir / "shelf.olx");
                                  session.LoadDataFile();
                              }),
              error);
    EXPECT_EQ(fs::file_size(kTemporaryFileName), 0u);
}

// What a failed load leaves in the file is a catalogue's text: its owner alone may read it, also
// in a file left behind readable by others.
TEST_F(TemporaryFileTest, ItIsReadableByItsOwnerAlone) {
    const mode_t previousUmask = umask(022);
    WriteFileBytes("bad.olx",
                   RawDeflateBytes(R"(<OrlentaData Memo="private"><Discs></OrlentaData>)"));
    Session.SetOrlentaFilename("bad.olx");
    for (const bool leftOver : {false, true}) {
        SCOPED_TRACE(leftOver);
        if (leftOver) {
            WriteFileBytes(kTemporaryFileName, "left over");
            chmod(kTemporaryFileName, 0644);
        }
        EXPECT_NE(ErrorText([this] { Session.LoadDataFile(); }), "(no error)");
        struct stat info {};
        ASSERT_EQ(stat(kTemporaryFileName, &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        EXPECT_NE(ReadFileBytes(kTemporaryFileName).find("private"), std::string::npos);
        fs::remove(kTemporaryFileName);
    }
    umask(previousUmask);
}

} // namespace
} // namespace orlenta
