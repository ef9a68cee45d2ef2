#include "core/reading/DirReader.h"

#include "core/AsciiText.h"
#include "core/Clock.h"
#include "core/OrlentaError.h"
#include "core/PathText.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

namespace {

constexpr const char* kUnitName = "ZelDirectoryReader";

std::int32_t AbsoluteDelay(std::int32_t value) {
    // Unsigned negation: the most negative value stays as it is instead of overflowing.
    return value < 0 ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value)) : value;
}

std::chrono::system_clock::time_point TimePoint(const struct timespec& time) {
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec)));
}

// Whole seconds between now and time, in either direction.
long long SecondsApart(std::chrono::system_clock::time_point now,
                       std::chrono::system_clock::time_point time) {
    const auto apart = now > time ? now - time : time - now;
    return std::chrono::duration_cast<std::chrono::seconds>(apart).count();
}

// Subdirectories open relative to their parent's descriptor, which stays open while the parent's
// entries are walked; below this depth the descriptors are let go and full paths used instead,
// so that a deep tree cannot exhaust the process's descriptors.
constexpr std::size_t kMaxOpenDepth = 256;

// Closes a level's descriptor however its walk ends.
class TLevelCloser {
public:
    explicit TLevelCloser(int& fd) : FFd(fd) {}
    ~TLevelCloser() { Close(); }
    TLevelCloser(const TLevelCloser&) = delete;
    TLevelCloser& operator=(const TLevelCloser&) = delete;
    void Close() {
        if (FFd >= 0)
            ::close(FFd);
        FFd = -1;
    }

private:
    int& FFd;
};

} // namespace

TDirReader::TDirReader() : FDirentBuffer(32768) {
    FPath.reserve(4096);
}

TDirReader::~TDirReader() = default;

void TDirReader::SetActive(bool value) {
    if (value == FActive)
        return;
    if (!IsExistingDirectory(FDirectory))
        throw EAssertionFailed("Directory not exists", kUnitName, 196);
    FActive = value;
    if (!value)
        return; // the walk further up the stack sees it at its next check
    try {
        Walk();
    } catch (...) {
        FActive = false;
        if (FReady) {
            const TReadyEvent ready = FReady;
            ready(*this);
        }
        throw;
    }
    FActive = false;
    if (FReady) {
        const TReadyEvent ready = FReady;
        ready(*this);
    }
}

void TDirReader::SetDirectory(const std::string& value) {
    std::string directory = value;
    if (directory.empty() || directory.back() != '/')
        directory.push_back('/');
    if (FActive)
        throw EAssertionFailed("Can not change directory when active", kUnitName, 234);
    if (value.empty() || !IsExistingDirectory(directory))
        throw EAssertionFailed("Directory not exists", kUnitName, 235);
    if (directory != FDirectory)
        FDirectory = std::move(directory);
}

void TDirReader::SetDelayTimeStamp(std::int32_t value) {
    FDelayTimeStamp = AbsoluteDelay(value);
}

void TDirReader::SetDelayLastAccess(std::int32_t value) {
    FDelayLastAccess = AbsoluteDelay(value);
}

void TDirReader::Walk() {
    FPath = FDirectory;
    FWalkPath.clear();
    WalkDirectory(0);
}

void TDirReader::WalkDirectory(std::size_t depth) {
    if (IsExcluded(FPath))
        return;
    if (depth == FLevels.size())
        FLevels.emplace_back(); // a deque: the levels above keep their addresses
    TLevel& level = FLevels[depth];
    TLevelCloser closer(level.Fd);
    bool onWalkPath = false;
    const bool opened = OpenLevel(depth, onWalkPath);
    if (opened)
        ReadEntries(level);
    if (FDirectoryFound)
        FDirectoryFound(*this, FPath);
    if (!opened)
        return;
    if (depth >= kMaxOpenDepth)
        closer.Close();

    const std::size_t base = FPath.size();
    for (const TEntry& entry : level.Entries) {
        if (!FActive)
            break;
        FPath.resize(base);
        FPath.append(level.Names, entry.Offset, entry.Length);
        if (entry.IsDirectory) {
            if (FRecursive) {
                FPath.push_back('/');
                WalkDirectory(depth + 1);
            }
        } else if (FFileFound && PassesFilter(std::string_view(FPath).substr(base)) &&
                   PassesDelays()) {
            FFileFound(*this, FPath);
        }
        ProcessEvents();
    }
    FPath.resize(base);
    FWalkPath.pop_back();
    closer.Close();
    ProcessEvents();
}

bool TDirReader::OpenLevel(std::size_t depth, bool& onWalkPath) {
    TLevel& level = FLevels[depth];
    const int parentFd = depth > 0 ? FLevels[depth - 1].Fd : -1;
    if (parentFd >= 0) {
        // The last component of FPath, terminated in place of its trailing '/'.
        const std::size_t end = FPath.size() - 1;
        const std::size_t start = FPath.rfind('/', end - 1) + 1;
        FPath[end] = '\0';
        level.Fd = ::openat(parentFd, FPath.c_str() + start, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        FPath[end] = '/';
    } else {
        level.Fd = ::open(FPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (level.Fd < 0)
        return false;
    struct stat info {};
    if (::fstat(level.Fd, &info) != 0)
        return false;
    for (const TFileId& id : FWalkPath) {
        if (id.Device == info.st_dev && id.Inode == info.st_ino) {
            onWalkPath = true;
            return false;
        }
    }
    FWalkPath.push_back({info.st_dev, info.st_ino});
    return true;
}

void TDirReader::ReadEntries(TLevel& level) {
    level.Names.clear();
    level.Entries.clear();
    // A read error ends the list: the directory contributes what was read so far.
    ssize_t got = 0;
    while ((got = ::getdents64(level.Fd, FDirentBuffer.data(), FDirentBuffer.size())) > 0) {
        for (ssize_t position = 0; position < got;) {
            const auto* found =
                reinterpret_cast<const struct dirent64*>(FDirentBuffer.data() + position);
            position += found->d_reclen;
            const std::string_view name(found->d_name);
            if (name == "." || name == "..")
                continue;
            bool isDirectory = false;
            switch (found->d_type) {
            case DT_DIR: isDirectory = true; break;
            case DT_LNK:
            case DT_UNKNOWN: {
                struct stat target {};
                if (::fstatat(level.Fd, found->d_name, &target, 0) == 0) {
                    isDirectory = S_ISDIR(target.st_mode);
                } else if (found->d_type == DT_UNKNOWN &&
                           ::fstatat(level.Fd, found->d_name, &target, AT_SYMLINK_NOFOLLOW) != 0) {
                    continue; // gone since it was listed
                }
                // else: a link that leads nowhere is reported as a file
                break;
            }
            default: break;
            }
            level.Entries.push_back({static_cast<std::uint32_t>(level.Names.size()),
                                     static_cast<std::uint32_t>(name.size()), isDirectory});
            level.Names.append(name);
        }
    }
    const char* names = level.Names.data();
    std::sort(level.Entries.begin(), level.Entries.end(),
              [names](const TEntry& a, const TEntry& b) {
                  return NameLess(std::string_view(names + a.Offset, a.Length),
                                  std::string_view(names + b.Offset, b.Length));
              });
}

bool TDirReader::IsExcluded(std::string_view directory) const {
    for (const std::string& excluded : FExcludeDirs) {
        std::string_view entry = excluded;
        if (!entry.empty() && entry.back() == '/')
            entry.remove_suffix(1);
        // directory always ends in '/'
        if (entry.size() + 1 == directory.size() &&
            EqualIgnoringAsciiCase(entry, directory.substr(0, entry.size())))
            return true;
    }
    return false;
}

bool TDirReader::PassesFilter(std::string_view name) const {
    if (FFileMask == "*.*")
        return true;
    return EqualIgnoringAsciiCase(Extension(name), Extension(FFileMask));
}

bool TDirReader::PassesDelays() const {
    if (FDelayTimeStamp == 0 && FDelayLastAccess == 0)
        return true;
    struct stat info {};
    if (::stat(FPath.c_str(), &info) != 0)
        return false; // gone since it was listed
    const auto now = Now();
    if (FDelayTimeStamp != 0 && FDelayTimeStamp > SecondsApart(now, TimePoint(info.st_mtim)))
        return false;
    if (FDelayLastAccess != 0 && FDelayLastAccess > SecondsApart(now, TimePoint(info.st_atim)))
        return false;
    return true;
}

void TDirReader::ProcessEvents() {
    if (FProcessEvents)
        FProcessEvents(*this);
}

} // namespace orlenta
