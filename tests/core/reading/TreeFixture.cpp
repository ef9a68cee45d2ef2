#include "TreeFixture.h"

#include "OtherUser.h"

#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta::test {

namespace fs = std::filesystem;

void MakeTree(const std::string& root, std::initializer_list<std::string> entries) {
    fs::create_directories(root);
    for (const std::string& entry : entries) {
        const fs::path path = fs::path(root) / entry;
        if (entry.back() == '/') {
            fs::create_directories(path);
            continue;
        }
        fs::create_directories(path.parent_path());
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            throw std::runtime_error("cannot create " + path.string());
        ::close(fd);
    }
}

void SetFileTimes(const std::string& path, std::chrono::system_clock::time_point written,
                  std::chrono::system_clock::time_point accessed) {
    auto toTimespec = [](std::chrono::system_clock::time_point time) {
        const auto since = time.time_since_epoch();
        const auto seconds = std::chrono::floor<std::chrono::seconds>(since);
        return timespec{
            static_cast<time_t>(seconds.count()),
            static_cast<long>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count())};
    };
    const timespec times[2] = {toTimespec(accessed), toTimespec(written)};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set times of " + path);
}

void MakeDeepTree(const std::string& root, std::size_t depth, const std::string& name) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (std::size_t level = 0; fd >= 0 && level < depth; ++level) {
        const int child = ::mkdirat(fd, name.c_str(), 0755) == 0
                              ? ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                              : -1;
        ::close(fd);
        fd = child;
        const int file = fd >= 0 ? ::openat(fd, "f", O_WRONLY | O_CREAT | O_CLOEXEC, 0644) : -1;
        if (file < 0)
            break;
        ::close(file);
    }
    if (fd < 0)
        throw std::runtime_error("cannot make the deep tree below " + root);
    ::close(fd);
}

void RemoveDeepTree(const std::string& root, std::size_t depth, const std::string& name) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::size_t level = 0;
    for (; fd >= 0 && level < depth; ++level) {
        const int child = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = child;
        if (fd >= 0)
            ::unlinkat(fd, "f", 0);
    }
    // Back up through "..": each directory is empty once the one below it is gone.
    for (; fd >= 0 && level > 0; --level) {
        const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = parent;
        if (fd >= 0)
            ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    }
    if (fd >= 0)
        ::close(fd);
}

std::string WithFolderUnreadable(const std::string& scratch, const std::string& folder,
                                 const std::function<std::string()>& operation) {
    const std::string resultFile = scratch + "/unreadable-result";
    const auto run = [&] {
        std::string result;
        try {
            result = operation();
        } catch (const std::exception& error) {
            result = std::string("error: ") + error.what();
        }
        WriteFileBytes(resultFile, result);
    };
    if (CanActAsOtherUsers()) {
        ::chmod(scratch.c_str(), 01777);
        ::chmod(folder.c_str(), 0700);
        const std::string outcome = RunAsUser({60005, 60005, {}}, run);
        ::chmod(folder.c_str(), 0755);
        if (outcome != "(no error)")
            return "error: " + outcome;
    } else {
        ::chmod(folder.c_str(), 0);
        run();
        ::chmod(folder.c_str(), 0755);
    }
    return ReadFileBytes(resultFile);
}

} // namespace orlenta::test
