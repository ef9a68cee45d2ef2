#include "core/desktop/DataFileType.h"

#include "core/base/FileLock.h"
#include "core/datafile/AtomicFile.h"
#include "core/desktop/DesktopErrors.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace orlenta {

namespace {

std::string WithoutTrailingSlashes(std::string folder) {
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// Without its trailing slashes: "" for the root folder.
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return WithoutTrailingSlashes(home);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/')
        return WithoutTrailingSlashes(found->pw_dir);
    throw EOrlentaError(NoHomeFolderText());
}

std::string FolderFromEnvironment(const char* variable, const std::string& home,
                                  const char* fallback) {
    // The base directory rules: unset, empty or relative values are ignored.
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        const std::string folder = WithoutTrailingSlashes(value);
        return folder.empty() ? "/" : folder;
    }
    return home + fallback;
}

std::vector<std::string> DataDirsFromEnvironment() {
    // The base directory rules: the default when unset or empty; relative entries are ignored.
    const char* value = std::getenv("XDG_DATA_DIRS");
    std::string_view folders =
        value != nullptr && value[0] != '\0' ? value : "/usr/local/share:/usr/share";
    std::vector<std::string> dataDirs;
    while (!folders.empty()) {
        const size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        if (!folder.empty() && folder.front() == '/') {
            const std::string trimmed = WithoutTrailingSlashes(std::string(folder));
            dataDirs.push_back(trimmed.empty() ? "/" : trimmed);
        }
        if (colon == std::string_view::npos)
            break;
        folders.remove_prefix(colon + 1);
    }
    return dataDirs;
}

std::string RunningExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            throw EOrlentaError(NoExecutablePathText(errno));
        if (static_cast<size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

// Makes path and every missing folder above it with mode 0700, as the base directory rules ask.
void MakeFolders(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return;
    size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('/', end + 1);
        const std::string folder = path.substr(0, end);
        if (folder.empty() || mkdir(folder.c_str(), 0700) == 0)
            continue;
        const int error = errno;
        if (error != EEXIST)
            throw EOrlentaError(CannotCreateFolderText(folder, error));
        if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            throw EOrlentaError(CannotCreateFolderText(folder, ENOTDIR));
    }
}

// The bytes of the file at path; false when it does not exist. Throws when it cannot be read.
bool ReadFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return false;
        throw CannotOpenFileError(path, errno);
    }
    char buffer[8192];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            const int error = errno;
            close(fd);
            throw CannotOpenFileError(path, error);
        }
        if (count == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(count));
    }
    close(fd);
    return true;
}

void Replace(const std::string& path, const std::string& text) {
    TAtomicFile file(path);
    file.Write(text.data(), text.size());
    file.Commit();
}

// Replaces the file at path with text unless it holds exactly that; returns whether it wrote.
bool WriteIfDifferent(const std::string& path, const std::string& text) {
    std::string current;
    try {
        if (ReadFile(path, current) && current == text)
            return false;
    } catch (const EOrlentaError&) {
        // Unreadable (a folder in the way, no permission): writing says what is wrong.
    }
    Replace(path, text);
    return true;
}

// The program's desktop entry, written when there is none or the one there is still the
// program's own (written for another path); an entry the user changed is theirs. One that cannot
// be read is reported rather than replaced, for the same reason.
void WriteDesktopEntry(const std::string& path, const TDataFileType& type,
                       const std::string& executable) {
    std::string current;
    const bool exists = ReadFile(path, current);
    const std::string entry = DesktopEntryText(type, executable);
    if (!exists || (current != entry && IsOwnDesktopEntry(type, current)))
        Replace(path, entry);
}

// Whether folder holds the desktop entry with this desktop file ID: a file named by the ID, or
// one below subfolders whose names, joined by '-', begin the ID ("kde-a.desktop" is kde/a.desktop
// too), as the desktop entry rules map files to IDs.
bool HoldsDesktopEntry(const std::string& folder, std::string_view id) {
    struct stat info {};
    const std::string path = folder + "/" + std::string(id);
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return true;
    for (size_t dash = id.find('-'); dash != std::string_view::npos;
         dash = id.find('-', dash + 1)) {
        const std::string_view name = id.substr(0, dash);
        if (name.empty() || name == "." || name == "..")
            continue;
        const std::string subfolder = folder + "/" + std::string(name);
        if (stat(subfolder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
            HoldsDesktopEntry(subfolder, id.substr(dash + 1)))
            return true;
    }
    return false;
}

// Whether the desktop finds an entry with this ID: in the applications folder of the user's data
// folder or of one of the system's.
bool DesktopEntryInstalled(const TDesktopPlaces& places, std::string_view id) {
    // No file has a name with '/', and ".." would lead out of the folder.
    if (id.empty() || id.find('/') != std::string_view::npos || id == "." || id == "..")
        return false;
    if (HoldsDesktopEntry(places.DataHome + "/applications", id))
        return true;
    for (const std::string& folder : places.DataDirs) {
        if (HoldsDesktopEntry(folder + "/applications", id))
            return true;
    }
    return false;
}

// The user's defaults with ours added where there is none, read and replaced under the file's
// lock so that another process's change made meanwhile is not lost. Every other line of the
// user's defaults stays, so a file that cannot be read is not replaced.
void WriteDefaultApplication(const TDesktopPlaces& places, const TDataFileType& type) {
    const std::string path = places.ConfigHome + "/mimeapps.list";
    MakeFolders(places.ConfigHome);
    const TFileLock lock(path);
    std::string mimeApps;
    ReadFile(path, mimeApps);
    const std::string updated = WithDefaultApplication(
        mimeApps, type.MimeType(), type.DesktopId(),
        [&](std::string_view id) { return DesktopEntryInstalled(places, id); });
    if (updated != mimeApps)
        Replace(path, updated);
}

bool IsOlder(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// The cache misses the package: none was built since it was written (the updater was missing or
// failed at that start).
bool CacheMissesPackage(const std::string& mimeFolder, const std::string& packagePath) {
    struct stat cache {};
    struct stat package {};
    if (stat((mimeFolder + "/mime.cache").c_str(), &cache) != 0)
        return true;
    return stat(packagePath.c_str(), &package) == 0 && IsOlder(cache.st_mtim, package.st_mtim);
}

// The program's full path, or empty when it is not installed.
std::string FindProgram(const std::string& program) {
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0 ? program : std::string();
    const char* searchPath = std::getenv("PATH");
    std::string_view folders = searchPath != nullptr ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        const std::string candidate =
            (folder.empty() ? std::string(".") : std::string(folder)) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos)
            return {};
        folders.remove_prefix(colon + 1);
    }
}

// Runs the updater on the MIME folder and waits for it; without an updater the desktop simply
// sees the type once something else rebuilds the cache.
void RefreshMimeCache(const std::string& updater, const std::string& mimeFolder) {
    if (updater.empty())
        return;
    const std::string program = FindProgram(updater);
    if (program.empty())
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // It lists what it does on standard output; its warnings still reach standard error.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string argument0 = updater;
    std::string argument1 = mimeFolder;
    char* arguments[] = {argument0.data(), argument1.data(), nullptr};
    pid_t child = 0;
    const int spawnError =
        posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0)
        throw EOrlentaError(CannotStartProgramText(updater, spawnError));
    int status = 0;
    pid_t waited = 0;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    // ECHILD: the program ignores SIGCHLD and the child was reaped for us; nothing to judge.
    if (waited == child && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
        throw EOrlentaError(ProgramFailedText(updater, status));
}

} // namespace

TDesktopPlaces CurrentDesktopPlaces() {
    TDesktopPlaces places;
    places.ExecutablePath = RunningExecutablePath();
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const bool needHome =
        dataHome == nullptr || dataHome[0] != '/' || configHome == nullptr || configHome[0] != '/';
    const std::string home = needHome ? HomeFolder() : std::string();
    places.DataHome = FolderFromEnvironment("XDG_DATA_HOME", home, "/.local/share");
    places.ConfigHome = FolderFromEnvironment("XDG_CONFIG_HOME", home, "/.config");
    places.DataDirs = DataDirsFromEnvironment();
    return places;
}

void RegisterDataFileType(const std::string& extension, const std::string& typeName,
                          const std::string& description) {
    TDesktopPlaces places;
    try {
        places = CurrentDesktopPlaces();
    } catch (const EOrlentaError& error) {
        throw RegistrationFailedError(extension, error.what());
    }
    RegisterDataFileType(places, {extension, typeName, description});
}

void RegisterDataFileType(const TDesktopPlaces& places, const TDataFileType& type) {
    try {
        if (!FitsDesktopEntry(places.ExecutablePath))
            throw EOrlentaError(UnwritableExecutablePathText(places.ExecutablePath));

        const std::string mimeFolder = places.DataHome + "/mime";
        const std::string packageFolder = mimeFolder + "/packages";
        const std::string packagePath = packageFolder + "/" + type.PackageFileName();
        MakeFolders(packageFolder);
        // Windows that start together register one after the other: two cache rebuilds at once
        // spoil each other's files, and each would report the other's failure as its own.
        const TFileLock registration(packagePath);
        const bool packageWritten = WriteIfDifferent(packagePath, MimePackageText(type));

        const std::string applicationsFolder = places.DataHome + "/applications";
        MakeFolders(applicationsFolder);
        WriteDesktopEntry(applicationsFolder + "/" + type.DesktopId(), type, places.ExecutablePath);

        WriteDefaultApplication(places, type);

        // Last, so that the files are in place whatever the cache rebuild does.
        if (packageWritten || CacheMissesPackage(mimeFolder, packagePath))
            RefreshMimeCache(places.MimeCacheUpdater, mimeFolder);
    } catch (const EOrlentaError& error) {
        throw RegistrationFailedError(type.Extension, error.what());
    }
}

} // namespace orlenta
