#pragma once

// Runs the built orlenta-cli as a child process in the current working directory.

#include <string>
#include <vector>

namespace orlenta::test {

struct TCliResult {
    int ExitStatus = -1; // the exit status, or -1 when the process did not exit normally
    std::string Out;
    std::string Err;
};

// The inflated XML text of the data file at path.
std::string DataFileText(const std::string& path);

// orlenta-cli with these arguments, its standard input empty.
TCliResult RunCli(const std::vector<std::string>& arguments);

} // namespace orlenta::test
