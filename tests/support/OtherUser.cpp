#include "OtherUser.h"

#include "TestSupport.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace orlenta::test {

namespace {

// What the operation gave, as the parent is told.
std::string Outcome(const std::function<void()>& operation) {
    try {
        return ErrorText(operation);
    } catch (const std::exception& error) {
        return std::string("(exception: ") + error.what() + ")";
    } catch (...) {
        return "(exception)";
    }
}

bool BecomeUser(const TOtherUser& user) {
    return setgroups(user.Groups.size(), user.Groups.data()) == 0 &&
           setresgid(user.Gid, user.Gid, user.Gid) == 0 &&
           setresuid(user.Uid, user.Uid, user.Uid) == 0;
}

} // namespace

bool CanActAsOtherUsers() {
    return geteuid() == 0;
}

TUserProcess::TUserProcess(const TOtherUser& user, const std::function<void()>& operation) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2 failed");
    FPid = fork();
    if (FPid < 0)
        throw std::runtime_error("fork failed");
    if (FPid == 0) {
        close(ends[0]);
        std::string outcome = "(cannot become the other user)";
        if (BecomeUser(user)) {
            umask(user.Umask);
            outcome = Outcome(operation);
        }
        for (size_t done = 0; done < outcome.size();) {
            const ssize_t written = write(ends[1], outcome.data() + done, outcome.size() - done);
            if (written <= 0)
                break;
            done += static_cast<size_t>(written);
        }
        // Neither the test framework's exit handlers nor the leak checker are the child's.
        _exit(0);
    }
    close(ends[1]);
    FResult = ends[0];
}

TUserProcess::~TUserProcess() {
    if (FPid > 0) {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
    }
    if (FResult >= 0)
        close(FResult);
}

bool TUserProcess::Ended() const {
    pollfd ready{FResult, POLLIN, 0};
    return poll(&ready, 1, 0) > 0;
}

std::string TUserProcess::Wait(int timeoutSeconds) {
    pollfd ready{FResult, POLLIN, 0};
    int polled = 0;
    while ((polled = poll(&ready, 1, timeoutSeconds * 1000)) < 0 && errno == EINTR) {
    }
    std::string outcome;
    if (polled == 0) {
        kill(FPid, SIGKILL);
        outcome = "(timed out)";
    } else {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(FResult, buffer, sizeof buffer)) > 0)
            outcome.append(buffer, static_cast<size_t>(got));
    }
    int status = 0;
    waitpid(FPid, &status, 0);
    FPid = -1;
    if (outcome.empty())
        outcome = WIFSIGNALED(status) ? "(ended by signal " + std::to_string(WTERMSIG(status)) + ")"
                                      : "(ended without an outcome)";
    return outcome;
}

std::string RunAsUser(const TOtherUser& user, const std::function<void()>& operation) {
    return TUserProcess(user, operation).Wait();
}

bool WaitForFile(const std::string& path, int timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    std::error_code ignored;
    while (!std::filesystem::exists(path, ignored)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace orlenta::test
