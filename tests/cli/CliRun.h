#pragma once

// Runs the built orlenta-cli as a child process, in the current working directory or another.

#include <string>
#include <sys/types.h>
#include <vector>

namespace orlenta::test {

struct TCliResult {
    int ExitStatus = -1; // the exit status, or -1 when the process did not exit normally
    std::string Out;
    std::string Err;
};

// The inflated XML text of the data file at path.
std::string DataFileText(const std::string& path);

// orlenta-cli running beside the test, its standard input empty; several may run at once.
class TCliProcess {
public:
    // Starts orlenta-cli with these arguments in workingDirectory (empty: the test's own), its
    // standard output going to outputFile when one is named.
    explicit TCliProcess(const std::vector<std::string>& arguments,
                         const std::string& workingDirectory = {},
                         const std::string& outputFile = {});
    // A process still running is killed.
    ~TCliProcess();
    TCliProcess(const TCliProcess&) = delete;
    TCliProcess& operator=(const TCliProcess&) = delete;

    // True when the process has not ended within milliseconds; it is left running either way,
    // for Wait.
    bool StillRunsAfter(int milliseconds);

    // Waits for the end; after timeoutSeconds the process is killed (ExitStatus -1), so that a
    // hang fails the test instead of stopping it.
    TCliResult Wait(int timeoutSeconds = 120);

private:
    pid_t FPid = -1;
    int FOut = -1;
    int FErr = -1;
};

// orlenta-cli with these arguments, its standard input empty.
TCliResult RunCli(const std::vector<std::string>& arguments);

// orlenta-cli with these arguments, its standard output and error on a terminal that passes
// every byte through as it is: Out holds what the terminal was given.
TCliResult RunCliOnTerminal(const std::vector<std::string>& arguments);

} // namespace orlenta::test
