#pragma once

#include <string>

namespace orlenta {

// What decides where the profile file lies. A test fills it with folders of its own, so that no
// test reads or writes the user's files.
struct TProfileEnvironment {
    std::string ExecutablePath; // the running program's full path; empty when unknown
    std::string ConfigHome;     // $XDG_CONFIG_HOME as set (may be empty or relative)
    std::string Home;           // the user's home folder

    // The running process: /proc/self/exe, $XDG_CONFIG_HOME, $HOME (or the password entry).
    static TProfileEnvironment FromProcess();
};

// The profile file's full path: beside the executable when a file of that name already stands
// there (portable use), otherwise in "orlenta" under the configuration folder ($XDG_CONFIG_HOME
// when it is an absolute path, else ~/.config). An installed program's folder is not writable by
// its users, which is why the folder beside the executable is not simply always taken.
std::string ProfileFilePath(const TProfileEnvironment& environment, const std::string& fileName);

} // namespace orlenta
