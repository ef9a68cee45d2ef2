#pragma once

// Cases that need a second user of the machine: code run in a child process as another user.
// Only root may become someone else; such cases are skipped otherwise.

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orlenta::test {

// A user other than the one running the tests. Numeric IDs need no entry in the user database.
struct TOtherUser {
    uid_t Uid;
    gid_t Gid;
    std::vector<gid_t> Groups; // its further groups
    mode_t Umask = 022;
};

// True when the tests may act as other users.
bool CanActAsOtherUsers();

// operation running in a child process as user, in the working directory of the test. The child
// ends without running the test's exit handlers.
class TUserProcess {
public:
    TUserProcess(const TOtherUser& user, const std::function<void()>& operation);
    // A child still running is killed.
    ~TUserProcess();
    TUserProcess(const TUserProcess&) = delete;
    TUserProcess& operator=(const TUserProcess&) = delete;

    // True when the operation has ended.
    bool Ended() const;
    // Waits for the end, at most timeoutSeconds (then the child is killed): the text of the
    // EOrlentaError the operation threw, "(no error)", or what else ended it.
    std::string Wait(int timeoutSeconds = 60);

private:
    pid_t FPid = -1;
    int FResult = -1; // the reading end of a pipe on which the child writes its outcome
};

// operation run as user; the outcome as TUserProcess::Wait gives it.
std::string RunAsUser(const TOtherUser& user, const std::function<void()>& operation);

// Waits until path exists, at most timeoutSeconds; true when it does.
bool WaitForFile(const std::string& path, int timeoutSeconds = 30);

} // namespace orlenta::test
