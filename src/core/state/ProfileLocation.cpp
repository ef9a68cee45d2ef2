#include "core/state/ProfileLocation.h"

#include "core/base/PathText.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace

TProfileEnvironment TProfileEnvironment::FromProcess() {
    TProfileEnvironment environment;
    if (const std::string executable = ResolveLinks("/proc/self/exe");
        executable != "/proc/self/exe")
        environment.ExecutablePath = executable;
    environment.ConfigHome = Environment("XDG_CONFIG_HOME");
    environment.Home = Environment("HOME");
    if (environment.Home.empty()) {
        if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
            environment.Home = entry->pw_dir;
    }
    return environment;
}

std::string ProfileFilePath(const TProfileEnvironment& environment, const std::string& fileName) {
    const std::string& executable = environment.ExecutablePath;
    if (const size_t slash = executable.rfind('/'); slash != std::string::npos) {
        const std::string besideExecutable = executable.substr(0, slash + 1) + fileName;
        if (IsRegularFile(besideExecutable))
            return besideExecutable;
    }
    // The XDG base directory rules ignore a relative $XDG_CONFIG_HOME.
    const std::string configHome = environment.ConfigHome.starts_with('/')
                                       ? environment.ConfigHome
                                       : WithSlash(environment.Home) + ".config";
    return WithSlash(configHome) + "orlenta/" + fileName;
}

} // namespace orlenta
