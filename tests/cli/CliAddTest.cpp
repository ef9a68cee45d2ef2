// orlenta-cli add: discs read from trees built in a scratch directory.

#include "CliRun.h"
#include "TestSupport.h"
#include "core/base/DecimalText.h"
#include "core/reading/DiscReading.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace orlenta::test {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
    WriteFileBytes(path.string(), "");
}

class CliAddTest : public ::testing::Test {
protected:
    TScratchDirectory FScratch;
};

// The data file's text with the read dates of discs added by the test written as day: a run that
// crosses midnight stamps the later discs with the next day.
std::string TextReadOn(const std::string& file, const std::string& day) {
    std::string text = DataFileText(file);
    const std::string later = "ReadDate=\"" + TodayDateText() + "\"";
    const std::string wanted = "ReadDate=\"" + day + "\"";
    for (size_t at = text.find(later); later != wanted && at != std::string::npos;
         at = text.find(later, at + wanted.size()))
        text.replace(at, later.size(), wanted);
    return text;
}

TEST_F(CliAddTest, AddsDiscsWithTheirPropertiesToANewThenAnExistingCatalogue) {
    fs::create_directories("src/A/B");
    Touch("src/A/a.txt");
    Touch("src/c.txt");
    const std::string today = TodayDateText();

    TCliResult result = RunCli({"add", "shelf.olx", "src/", "--files", "--no-sizes", "--title",
                                "Photos", "--vendor", "Acme", "--media-type", "DVD-R",
                                "--creation-date", "2020", "--memo", "two\nlines"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, "") << "no progress when stderr is not a terminal";
    const std::string firstDisc =
        R"(<Disc Vendor="Acme" Title="Photos" MediaType="DVD-R" CreationDate="2020" ReadDate=")" +
        today + R"(" DirCount="2" FileCount="2" Memo="two\nlines" Source=")" +
        fs::absolute("src").string() +
        R"("><Root ID="1"><Directories>)"
        R"(<Directory Name="A" ID="2"><Filenames><Filename Text="a.txt"/></Filenames>)"
        R"(<Directories><Directory Name="B" ID="3"/></Directories></Directory></Directories>)"
        R"(<Filenames><Filename Text="c.txt"/></Filenames></Root></Disc>)";
    EXPECT_EQ(TextReadOn("shelf.olx", today),
              R"(<?xml version="1.0"?><OrlentaData Title="Untitled" LastDirectoryID="3"><Discs>)" +
                  firstDisc + "</Discs></OrlentaData>");

    // Without --files and without a source: names are not recorded, a virtual disc has none (nor
    // sizes, which are not turned off for it).
    ASSERT_EQ(RunCli({"add", "shelf.olx", "src", "--no-sizes"}).ExitStatus, 0);
    ASSERT_EQ(RunCli({"add", "shelf.olx"}).ExitStatus, 0);
    const std::string empty =
        R"(MediaType="" CreationDate="" ReadDate=")" + today + R"(" DirCount=)";
    EXPECT_EQ(TextReadOn("shelf.olx", today),
              R"(<?xml version="1.0"?><OrlentaData Title="Untitled" LastDirectoryID="7"><Discs>)" +
                  firstDisc + R"(<Disc Vendor="" Title="" )" + empty +
                  R"("2" FileCount="" Memo="" Source=")" + fs::absolute("src").string() +
                  R"("><Root ID="4"><Directories>)"
                  R"(<Directory Name="A" ID="5"><Directories><Directory Name="B" ID="6"/>)"
                  R"(</Directories></Directory></Directories></Root></Disc>)"
                  R"(<Disc Vendor="" Title="" )" +
                  empty + R"("" FileCount="" Memo=""><Root ID="7"/></Disc></Discs></OrlentaData>)");
}

TEST_F(CliAddTest, InvalidDirectoryOrNoSaveLeavesTheFileAsItWas) {
    fs::create_directories("src");
    Touch("plain");
    ASSERT_EQ(RunCli({"add", "shelf.olx", "src"}).ExitStatus, 0);
    const std::string before = ReadFileBytes("shelf.olx");

    for (const std::string source : {"missing", "plain"}) {
        const TCliResult result = RunCli({"add", "shelf.olx", source, "--files"});
        EXPECT_EQ(result.ExitStatus, 1) << source;
        EXPECT_EQ(result.Err, "Invalid directory.\n") << source;
        EXPECT_EQ(ReadFileBytes("shelf.olx"), before) << source;
    }
    EXPECT_EQ(RunCli({"add", "new.olx", "missing"}).ExitStatus, 1);
    EXPECT_EQ(RunCli({"add", "shelf.olx", "src", "--no-save"}).ExitStatus, 0);
    EXPECT_EQ(RunCli({"add", "new.olx", "src", "--no-save"}).ExitStatus, 0);
    EXPECT_EQ(ReadFileBytes("shelf.olx"), before);
    EXPECT_FALSE(fs::exists("new.olx"));
    EXPECT_FALSE(fs::exists("Orlenta.tmp"));
}

// True when process pid has a handler of its own for signal.
bool CatchesSignal(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

// orlenta-cli add big.olx big, its stderr on a terminal; what the terminal showed. With
// interrupt, Ctrl+C arrives while the reading runs: Ctrl+S holds the terminal's output first, so
// the reading waits in its first progress line until the interrupt is there, however fast the
// machine is.
std::string AddOnATerminal(bool interrupt, int& exitStatus) {
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid < 0)
        throw std::runtime_error("forkpty failed");
    if (pid == 0) {
        // Only stderr stays on the terminal, as in "orlenta-cli add ... > list".
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::execl(ORLENTA_CLI, ORLENTA_CLI, "add", "big.olx", "big", nullptr);
        ::_exit(127);
    }
    if (interrupt) {
        EXPECT_EQ(::write(terminal, "\x13", 1), 1);
        for (int i = 0; i < 1000 && !CatchesSignal(pid, SIGINT); ++i)
            ::usleep(10000);
        EXPECT_TRUE(CatchesSignal(pid, SIGINT));
        ::kill(pid, SIGINT);
        EXPECT_EQ(::write(terminal, "\x11", 1), 1);
    }
    std::string shown;
    for (;;) {
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, 10000) <= 0)
            break;
        char buffer[4096];
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0)
            break;
        shown.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(terminal);
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return shown;
}

long long SavedDirCount(const std::string& path) {
    TRecordingHost host;
    TCatalogueSession session(host);
    session.SetOrlentaFilename(path);
    if (!session.LoadDataFile())
        return -1;
    return DecimalOrZero(session.XMLIndexData().Discs().Disc(0).DirCount());
}

TEST_F(CliAddTest, ShowsProgressOnATerminalAndCtrlCSavesThePartialDisc) {
    constexpr int kDirectories = 300;
    for (int i = 0; i < kDirectories; ++i)
        fs::create_directories("big/d" + std::to_string(i));
    int exitStatus = -1;

    std::string shown = AddOnATerminal(false, exitStatus);
    EXPECT_EQ(exitStatus, 0) << shown;
    EXPECT_NE(shown.find(" directories, 0 files  big/d"), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 4), "\r\033[K") << "the line is cleared at the end";
    EXPECT_EQ(SavedDirCount("big.olx"), kDirectories);

    fs::remove("big.olx");
    shown = AddOnATerminal(true, exitStatus);
    EXPECT_EQ(exitStatus, 0) << shown;
    EXPECT_NE(shown.find("Reading stopped"), std::string::npos) << shown;
    const long long saved = SavedDirCount("big.olx");
    EXPECT_GE(saved, 0);
    EXPECT_LT(saved, kDirectories);
}

} // namespace
} // namespace orlenta::test
