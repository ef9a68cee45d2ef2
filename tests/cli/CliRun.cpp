#include "CliRun.h"

#include "TestSupport.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace orlenta::test {

std::string DataFileText(const std::string& path) {
    return RawInflateBytes(ReadFileBytes(path));
}

namespace {

// A file in memory takes any amount of output without the pipe juggling two readers need.
int MemoryFile(const char* name) {
    const int fd = memfd_create(name, MFD_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("memfd_create failed");
    return fd;
}

std::string ReadAll(int fd) {
    std::string text;
    lseek(fd, 0, SEEK_SET);
    char buffer[65536];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(got));
    close(fd);
    return text;
}

// The program's argv: orlenta-cli and arguments, pointing into words.
std::vector<char*> CommandLine(std::vector<std::string>& words,
                               const std::vector<std::string>& arguments) {
    words = {ORLENTA_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return argv;
}

} // namespace

TCliProcess::TCliProcess(const std::vector<std::string>& arguments,
                         const std::string& workingDirectory, const std::string& outputFile) {
    std::vector<std::string> words;
    std::vector<char*> argv = CommandLine(words, arguments);

    FOut = MemoryFile("cli-out");
    FErr = MemoryFile("cli-err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outputFile.empty())
        posix_spawn_file_actions_adddup2(&actions, FOut, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, FErr, 2);
    const int spawned = posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        close(FOut);
        close(FErr);
        throw std::runtime_error("cannot start " + words[0]);
    }
}

TCliProcess::~TCliProcess() {
    if (FPid > 0) {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
        close(FOut);
        close(FErr);
    }
}

bool TCliProcess::StillRunsAfter(int milliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        // Looked at without reaping it, so that Wait still gets its status.
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(FPid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == FPid)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TCliResult TCliProcess::Wait(int timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(FPid, &status, WNOHANG);
        if (done == FPid || (done < 0 && errno != EINTR))
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(FPid, SIGKILL);
            waitpid(FPid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    FPid = -1;
    TCliResult result;
    result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Out = ReadAll(FOut);
    result.Err = ReadAll(FErr);
    return result;
}

TCliResult RunCli(const std::vector<std::string>& arguments) {
    return TCliProcess(arguments).Wait();
}

TCliResult RunCliOnTerminal(const std::vector<std::string>& arguments) {
    std::vector<std::string> words;
    std::vector<char*> argv = CommandLine(words, arguments);
    // No output processing: the test sees the very bytes the program wrote.
    termios settings{};
    settings.c_cflag = CS8 | CREAD;
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, &settings, nullptr);
    if (pid < 0)
        throw std::runtime_error("forkpty failed");
    if (pid == 0) {
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, STDIN_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    TCliResult result;
    for (;;) {
        pollfd ready{terminal, POLLIN, 0};
        if (poll(&ready, 1, 30000) <= 0)
            break;
        char buffer[4096];
        const ssize_t got = read(terminal, buffer, sizeof buffer);
        if (got <= 0)
            break; // EIO once the program has ended and closed the terminal
        result.Out.append(buffer, static_cast<size_t>(got));
    }
    // A program that has ended stays until it is waited for, so this stops only one that hangs.
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(terminal);
    result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace orlenta::test
