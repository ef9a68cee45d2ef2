// What orlenta-cli tells the user when things go wrong, and what it gives a terminal.

#include "CliRun.h"
#include "TestSupport.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace orlenta::test {
namespace {

namespace fs = std::filesystem;

void WriteDataFile(const std::string& path, const std::string& xml) {
    WriteFileBytes(path, RawDeflateBytes(xml));
}

class CliMessagesTest : public ::testing::Test {
protected:
    TScratchDirectory FScratch;
};

TEST_F(CliMessagesTest, AnUnknownCommandIsNamed) {
    const TCliResult result = RunCli({"frobnicate", "a.olx"});
    EXPECT_EQ(result.ExitStatus, 2);
    EXPECT_EQ(result.Err, "Unknown command \"frobnicate\". Run with --help to see the commands.\n");
}

// Output that does not fit on the device gives the device's reason, whether it fails in the
// middle of a long listing or in the last flush of a short one.
TEST_F(CliMessagesTest, OutputToAFullDeviceSaysSo) {
    std::string xml = R"(<OrlentaData Title="Big"><Discs><Disc Title="D"><Root ID="1">)"
                      "<Filenames>";
    for (int i = 0; i < 5000; ++i)
        xml += R"(<Filename Text="name-)" + std::to_string(i) + R"(.dat"/>)";
    WriteDataFile("big.olx", xml + "</Filenames></Root></Disc></Discs></OrlentaData>");
    const std::vector<std::vector<std::string>> commands = {
        {"info", "big.olx"},        {"discs", "big.olx"}, {"tree", "big.olx", "--files"},
        {"search", "big.olx", "n"}, {"xml", "big.olx"},
    };
    for (const auto& arguments : commands) {
        SCOPED_TRACE(arguments.front());
        const TCliResult result = TCliProcess(arguments, {}, "/dev/full").Wait();
        EXPECT_EQ(result.ExitStatus, 1);
        EXPECT_EQ(result.Err, "Cannot write to standard output. No space left on device.\n");
    }
}

// A FIFO named as the data file is refused at once, whatever the command; nothing waits for a
// writer, and the FIFO stays a FIFO.
TEST_F(CliMessagesTest, AFifoAsDataFileIsRefusedWithoutBlocking) {
    mkfifo("f.olx", 0666);
    const std::string reason = "\"f.olx\". It is a FIFO, not a regular file.\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"new", "f.olx", "--force"}, "Cannot create file " + reason},
        {{"info", "f.olx"}, "Cannot open file " + reason},
        {{"xml", "f.olx"}, "Cannot open file " + reason},
        {{"set", "f.olx", "--title", "T"}, "Cannot open file " + reason},
        {{"add", "f.olx"}, "Cannot open file " + reason},
    };
    for (const auto& [arguments, err] : cases) {
        SCOPED_TRACE(arguments.front());
        const TCliResult result = TCliProcess(arguments).Wait(30);
        EXPECT_EQ(result.ExitStatus, 1);
        EXPECT_EQ(result.Err, err);
    }
    EXPECT_TRUE(fs::is_fifo("f.olx"));
}

// A writer that cannot take the catalogue's lock says why and stops before it writes anything.
TEST_F(CliMessagesTest, AWriterThatCannotTakeTheLockStopsBeforeWriting) {
    WriteDataFile("a.olx", R"(<OrlentaData Title="T"/>)");
    const std::string before = ReadFileBytes("a.olx");
    fs::create_directory(".a.olx.lock");
    fs::create_directory(".new.olx.lock");
    const std::vector<std::vector<std::string>> commands = {
        {"set", "a.olx", "--title", "X"}, {"add", "a.olx"}, {"add", "new.olx"}, {"new", "new.olx"},
        {"new", "a.olx", "--force"},
    };
    for (const auto& arguments : commands) {
        SCOPED_TRACE(arguments.front() + " " + arguments[1]);
        const std::string& file = arguments[1];
        const TCliResult result = TCliProcess(arguments).Wait(30);
        EXPECT_EQ(result.ExitStatus, 1);
        EXPECT_EQ(result.Err, "Cannot lock \"" + file + "\". Its lock file \"." + file +
                                  ".lock\" is a directory, not a regular file.\n");
    }
    EXPECT_EQ(ReadFileBytes("a.olx"), before);
    EXPECT_FALSE(fs::exists("new.olx"));
    EXPECT_FALSE(fs::exists("Orlenta.tmp"));
}

TEST_F(CliMessagesTest, TheTemporaryFileIsNoDataFile) {
    const std::string error = "Cannot use \"Orlenta.tmp\" as a data file. It is \"Orlenta.tmp\" "
                              "in the working folder, the temporary file of every load and save.\n";
    TCliResult result = RunCli({"new", "Orlenta.tmp"});
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_EQ(result.Err, error);
    EXPECT_FALSE(fs::exists("Orlenta.tmp"));

    WriteDataFile("Orlenta.tmp", R"(<OrlentaData Title="T"/>)");
    const std::string before = ReadFileBytes("Orlenta.tmp");
    result = RunCli({"info", "Orlenta.tmp"});
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_EQ(result.Err, error);
    EXPECT_EQ(ReadFileBytes("Orlenta.tmp"), before);
}

// A crafted file could retitle the window and clear the screen through the decoded memo or the
// quoted line of a parse error; a terminal gets those control characters escaped, a pipe or file
// gets the text as it is.
TEST_F(CliMessagesTest, ControlCharactersReachATerminalEscaped) {
    // The memo decodes to OSC 0 (window title), BEL, ED 2 (clear screen); U+009B is the C1 CSI.
    WriteDataFile("memo.olx",
                  R"(<OrlentaData Title="T&#x9B;X" Memo="\x1B]0;pwned\a\x1B[2J\r\nok"/>)");
    WriteDataFile("broken.olx", "<OrlentaData>\x1B[2J\xC2\x9B\xFF</Wrong>");

    TCliResult result = RunCliOnTerminal({"info", "memo.olx"});
    EXPECT_EQ(result.ExitStatus, 0);
    EXPECT_EQ(result.Out.substr(0, result.Out.find("Last")),
              "Title: T\\u009BX\nMemo: \\x1B]0;pwned\\x07\\x1B[2J\r\nok\n");
    result = RunCli({"info", "memo.olx"});
    EXPECT_EQ(result.Out.substr(0, result.Out.find("Last")),
              "Title: T\xC2\x9BX\nMemo: \x1B]0;pwned\a\x1B[2J\r\nok\n");

    // Whatever the parser finds wrong first, the line it quotes holds the same bytes.
    result = RunCliOnTerminal({"info", "broken.olx"});
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_TRUE(result.Out.ends_with("\r\nLine: 1\r\n<OrlentaData>\\x1B[2J\\u009B\\xFF</Wrong>.\n"))
        << result.Out;
    EXPECT_EQ(result.Out.find('\x1B'), std::string::npos);
}

// On a terminal a wait for another process is explained; in a script it is not.
TEST_F(CliMessagesTest, AWaitForAnotherProcessIsShownOnATerminal) {
    WriteDataFile("a.olx", R"(<OrlentaData Title="T"/>)");
    for (const bool terminal : {true, false}) {
        SCOPED_TRACE(terminal);
        const int other = open("Orlenta.tmp", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        ASSERT_EQ(flock(other, LOCK_EX), 0);
        std::thread holder([other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            close(other);
        });
        const TCliResult result =
            terminal ? RunCliOnTerminal({"info", "a.olx"}) : RunCli({"info", "a.olx"});
        holder.join();
        EXPECT_EQ(result.ExitStatus, 0);
        const std::string shown = terminal ? result.Out : result.Err;
        EXPECT_EQ(shown.find("Waiting for another Orlenta...\n") == 0, terminal) << shown;
        EXPECT_NE(result.Out.find("Title: T\n"), std::string::npos);
    }
}

} // namespace
} // namespace orlenta::test
