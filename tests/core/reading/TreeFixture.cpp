#include "TreeFixture.h"

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

} // namespace orlenta::test
