#include "core/reading/DirReader.h"

#include "core/base/AsciiText.h"
#include "core/base/Clock.h"
#include "core/base/OrlentaError.h"
#include "core/base/PathText.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orlenta {

namespace {

// The unit name and line numbers the assertion texts print; they are part of the messages, not
// positions in this file.
constexpr const char* kUnitName = "ZelDirectoryReader";
constexpr int kStartStopLine = 196;
constexpr int kDirectoryWhileActiveLine = 234;
constexpr int kDirectoryMissingLine = 235;

// Directories only; O_NONBLOCK so that even a FIFO swapped in for a directory between listing
// and opening could not hold the walk.
constexpr int kDirectoryOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK;

// How many levels keep their descriptor open: a quarter of what the process may open, within
// these bounds. Deeper levels let go of the shallowest ones and open them again when needed.
constexpr rlim_t kMinOpenLevels = 4;
constexpr rlim_t kMaxOpenLevels = 256;

std::size_t OpenLevelBudget() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kMaxOpenLevels;
    return std::clamp(limit.rlim_cur / 4, kMinOpenLevels, kMaxOpenLevels);
}

bool OutOfDescriptors(int error) {
    return error == EMFILE || error == ENFILE;
}

// Calls the handler in slot, if any. The call holds its own reference: a handler may replace or
// clear itself during its call, which would otherwise destroy the callable that is running.
template <typename Handler, typename... Arguments>
void Fire(const std::shared_ptr<const Handler>& slot, Arguments&&... arguments) {
    if (const std::shared_ptr<const Handler> call = slot)
        (*call)(std::forward<Arguments>(arguments)...);
}

template <typename Handler> std::shared_ptr<const Handler> Held(Handler handler) {
    return handler ? std::make_shared<const Handler>(std::move(handler)) : nullptr;
}

template <typename Handler> const Handler& Assigned(const std::shared_ptr<const Handler>& slot) {
    static const Handler unassigned;
    return slot ? *slot : unassigned;
}

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

} // namespace

TDirReader::TDirReader() : FDirentBuffer(32768) {
    FPath.reserve(4096);
}

TDirReader::~TDirReader() = default;

void TDirReader::SetActive(bool value) {
    // A stopped walk is still on the call stack while its levels close, and gives the front end
    // its turns meanwhile; a walk begun from such a turn would take over the levels that one
    // still reads.
    if (value == FActive || (value && FWalking))
        return;
    if (!IsExistingDirectory(FDirectory))
        throw EAssertionFailed("Directory not exists", kUnitName, kStartStopLine);
    FActive = value;
    if (!value)
        return; // the walk further up the stack sees it at its next check
    FWalking = true;
    try {
        Walk();
    } catch (...) {
        FActive = false;
        FWalking = false;
        Fire(FReady, *this);
        throw;
    }
    FActive = false;
    FWalking = false;
    Fire(FReady, *this);
}

void TDirReader::SetDirectory(const std::string& value) {
    std::string directory = value;
    if (directory.empty() || directory.back() != '/')
        directory.push_back('/');
    if (FActive)
        throw EAssertionFailed("Can not change directory when active", kUnitName,
                               kDirectoryWhileActiveLine);
    if (value.empty() || !IsExistingDirectory(directory))
        throw EAssertionFailed("Directory not exists", kUnitName, kDirectoryMissingLine);
    if (directory != FDirectory)
        FDirectory = std::move(directory);
}

const TFileFoundEvent& TDirReader::OnFileFound() const {
    return Assigned(FFileFound);
}

void TDirReader::SetOnFileFound(TFileFoundEvent handler) {
    FFileFound = Held(std::move(handler));
}

const TDirectoryFoundEvent& TDirReader::OnDirectoryFound() const {
    return Assigned(FDirectoryFound);
}

void TDirReader::SetOnDirectoryFound(TDirectoryFoundEvent handler) {
    FDirectoryFound = Held(std::move(handler));
}

const TReadyEvent& TDirReader::OnReady() const {
    return Assigned(FReady);
}

void TDirReader::SetOnReady(TReadyEvent handler) {
    FReady = Held(std::move(handler));
}

const TProcessEventsEvent& TDirReader::OnProcessEvents() const {
    return Assigned(FProcessEvents);
}

void TDirReader::SetOnProcessEvents(TProcessEventsEvent handler) {
    FProcessEvents = Held(std::move(handler));
}

void TDirReader::SetDelayTimeStamp(std::int32_t value) {
    FDelayTimeStamp = AbsoluteDelay(value);
}

void TDirReader::SetDelayLastAccess(std::int32_t value) {
    FDelayLastAccess = AbsoluteDelay(value);
}

// Depth first, with the levels in FLevels instead of on the call stack, so that no depth of
// tree can exhaust the stack.
void TDirReader::Walk() {
    FPath = FDirectory;
    FReadDirectories.Clear();
    FPseudoFileSystems.Clear();
    FOpenLevels = 0;
    FMaxOpenLevels = OpenLevelBudget();
    // However the walk ends, an error from a handler included, no descriptor outlives it.
    struct TLevelsCloser {
        TDirReader& Reader;
        ~TLevelsCloser() {
            // The second thread goes first: it may be stat'ing in a level's directory.
            Reader.FStatAhead.reset();
            for (TLevel& level : Reader.FLevels)
                level.Batch.reset();
            Reader.CloseLevels();
        }
    } closer{*this};
    if (FStatEntries && FStatAheadWanted)
        FStatAhead = std::make_unique<TStatAhead>();

    if (!BeginDirectory(0))
        return;
    std::size_t depth = 0;
    for (;;) {
        TLevel& level = FLevels[depth];
        if (FActive && level.Next < level.Entries.size()) {
            const TEntry entry = level.Entries[level.Next++];
            FPath.resize(level.PathSize);
            FPath.append(level.Names, entry.Offset, entry.Length);
            if (entry.IsDirectory) {
                if (FRecursive) {
                    FPath.push_back('/');
                    if (BeginDirectory(depth + 1)) {
                        ++depth;
                        continue; // this entry's turn comes when its subtree is done
                    }
                }
            } else if (FFileFound && PassesFilter(std::string_view(FPath).substr(level.PathSize)) &&
                       PassesDelays(depth)) {
                if (level.Batch)
                    FEntryStatus = level.Batch->Take(entry.Slot);
                else if (FStatEntries)
                    FEntryStatus = StatEntryAt(LevelFd(depth), FPath.c_str() + level.PathSize);
                Fire(FFileFound, *this, std::string_view(FPath));
            }
            ProcessEvents();
            continue;
        }
        EndDirectory(depth);
        if (depth == 0)
            return;
        --depth;
        ProcessEvents(); // the parent's turn for the entry that was this directory
    }
}

bool TDirReader::BeginDirectory(std::size_t depth) {
    if (IsExcluded(FPath))
        return false;
    if (depth == FLevels.size())
        FLevels.emplace_back(); // a deque: the levels above keep their addresses
    TLevel& level = FLevels[depth];
    level.Next = 0;
    level.PathSize = FPath.size();
    level.Names.clear();
    level.Entries.clear();
    level.Batch.reset();
    FEntryStatus.Known = false;
    FDirectoryUnreadable = false;
    const bool entered = OpenLevel(depth);
    if (FStatEntries && !FEntryStatus.Known && depth > 0) {
        // Not opened (denied, or gone): its own name in its parent may still be stat'ed.
        const std::size_t end = FPath.size() - 1;
        FPath[end] = '\0';
        FEntryStatus = StatEntryAt(LevelFd(depth - 1), FPath.c_str() + FLevels[depth - 1].PathSize);
        FPath[end] = '/';
    }
    if (entered)
        ReadEntries(level);
    // Stopped while it was listed: nothing more is reported.
    if (FActive)
        Fire(FDirectoryFound, *this, std::string_view(FPath));
    if (entered && FActive)
        return true;
    CloseLevel(depth);
    return false;
}

void TDirReader::EndDirectory(std::size_t depth) {
    TLevel& level = FLevels[depth];
    if (depth > 0 && level.Fd >= 0 && FActive) {
        // A parent let go for a deep subtree is needed again when entries of it remain. Its
        // ".." is one step away, unless this directory was reached through a link.
        TLevel& parent = FLevels[depth - 1];
        if (parent.Fd < 0 && parent.Next < parent.Entries.size()) {
            const int fd = ::openat(level.Fd, "..", kDirectoryOpenFlags);
            struct stat info {};
            if (fd >= 0 && ::fstat(fd, &info) == 0 && info.st_dev == parent.Device &&
                info.st_ino == parent.Inode) {
                parent.Fd = fd;
                ++FOpenLevels;
            } else if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    level.Batch.reset();
    CloseLevel(depth);
    ProcessEvents();
}

bool TDirReader::OpenLevel(std::size_t depth) {
    int fd = -1;
    if (depth == 0) {
        fd = OpenDirectory(AT_FDCWD, FPath.c_str(), 0);
    } else {
        // Always relative to the parent: a full path would fail past the system's path limit.
        const int parentFd = LevelFd(depth - 1);
        if (parentFd < 0) {
            FDirectoryUnreadable = true; // its parent moved or was replaced meanwhile
            return false;
        }
        // The directory's own name, the last component of FPath, terminated in place of its '/'.
        const std::size_t end = FPath.size() - 1;
        FPath[end] = '\0';
        fd = OpenDirectory(parentFd, FPath.c_str() + FLevels[depth - 1].PathSize, depth - 1);
        FPath[end] = '/';
    }
    if (fd < 0) {
        // Gone since its parent was listed, it holds nothing any more; otherwise what it holds
        // is unknown.
        FDirectoryUnreadable = errno != ENOENT && errno != ENOTDIR;
        return false;
    }
    TLevel& level = FLevels[depth];
    level.Fd = fd;
    ++FOpenLevels;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    level.Device = info.st_dev;
    level.Inode = info.st_ino;
    if (FStatEntries) {
        FEntryStatus.Known = true;
        FEntryStatus.Size = static_cast<std::uint64_t>(info.st_size);
        FEntryStatus.Modified = info.st_mtim.tv_sec;
    }
    // Whether met as a mount point or through a link, the open directory tells where it lies.
    if (FPseudoFileSystems.Holds(fd, info.st_dev))
        return false;
    // Read already, through another link or as an ancestor: links can neither loop nor
    // multiply the walk.
    if (!FReadDirectories.Insert(info.st_dev, info.st_ino))
        return false;
    while (FOpenLevels > FMaxOpenLevels && ReleaseShallowest(depth)) {
    }
    return true;
}

void TDirReader::ReadEntries(TLevel& level) {
    // One huge directory on a slow medium takes long enough to list that the window must stay
    // live and Stop must work meanwhile. The front end gets its turn after every call that may
    // wait for the medium: each batch of names, and each stat (optical discs give no entry
    // types, so every entry there needs one). Names that came with their type cost nothing
    // more, and a turn for each of them would.
    // A read error ends the list: the directory contributes what was read so far, and is
    // reported as not read whole.
    ssize_t got = 0;
    while ((got = ::getdents64(level.Fd, FDirentBuffer.data(), FDirentBuffer.size())) > 0) {
        const std::size_t listed = level.Entries.size();
        for (ssize_t position = 0; position < got;) {
            const auto* found =
                reinterpret_cast<const struct dirent64*>(FDirentBuffer.data() + position);
            position += found->d_reclen;
            const std::string_view name(found->d_name);
            if (name == "." || name == "..")
                continue;
            bool isDirectory = false;
            bool stated = false;
            switch (found->d_type) {
            case DT_DIR: isDirectory = true; break;
            case DT_LNK:
            case DT_UNKNOWN: {
                // stat, never open: FIFOs, sockets and devices are reported by name only.
                struct stat target {};
                stated = true;
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
            if (stated) {
                ProcessEvents();
                if (!FActive)
                    return;
            }
        }
        if (level.Entries.size() == listed)
            continue; // "." and "..": the turn after the directory is reported comes soon enough
        ProcessEvents();
        if (!FActive)
            return;
    }
    if (got < 0)
        FDirectoryUnreadable = true;
    const char* names = level.Names.data();
    std::sort(level.Entries.begin(), level.Entries.end(),
              [names](const TEntry& a, const TEntry& b) {
                  return NameLess(std::string_view(names + a.Offset, a.Length),
                                  std::string_view(names + b.Offset, b.Length));
              });
    if (FStatAhead && FFileFound)
        SubmitStats(level);
}

int TDirReader::LevelFd(std::size_t depth) {
    TLevel& level = FLevels[depth];
    if (level.Fd >= 0)
        return level.Fd;
    // Open it again one name at a time from the nearest level still open (level 0 always is).
    std::size_t anchor = depth;
    while (anchor > 0 && FLevels[--anchor].Fd < 0) {
    }
    int fd = FLevels[anchor].Fd;
    std::string name;
    for (std::size_t at = anchor + 1; at <= depth && fd >= 0; ++at) {
        const std::size_t start = FLevels[at - 1].PathSize;
        name.assign(FPath, start, FLevels[at].PathSize - 1 - start);
        const int next = OpenDirectory(fd, name.c_str(), anchor);
        if (at > anchor + 1)
            ::close(fd);
        fd = next;
    }
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_dev != level.Device || info.st_ino != level.Inode) {
        ::close(fd); // moved or replaced since it was read
        return -1;
    }
    level.Fd = fd;
    ++FOpenLevels;
    while (FOpenLevels > FMaxOpenLevels && ReleaseShallowest(depth)) {
    }
    return fd;
}

int TDirReader::OpenDirectory(int directoryFd, const char* name, std::size_t keep) {
    for (;;) {
        const int fd = ::openat(directoryFd, name, kDirectoryOpenFlags);
        if (fd >= 0 || !OutOfDescriptors(errno) || !ReleaseShallowest(keep))
            return fd;
    }
}

bool TDirReader::ReleaseShallowest(std::size_t keep) {
    for (std::size_t depth = 1; depth < FLevels.size(); ++depth) {
        if (depth != keep && FLevels[depth].Fd >= 0) {
            CloseLevel(depth);
            return true;
        }
    }
    return false;
}

void TDirReader::CloseLevel(std::size_t depth) {
    int& fd = FLevels[depth].Fd;
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
        --FOpenLevels;
    }
}

void TDirReader::CloseLevels() {
    for (std::size_t depth = 0; depth < FLevels.size(); ++depth)
        CloseLevel(depth);
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

bool TDirReader::PassesDelays(std::size_t depth) {
    if (FDelayTimeStamp == 0 && FDelayLastAccess == 0)
        return true;
    const int fd = LevelFd(depth);
    struct stat info {};
    if (fd < 0 || ::fstatat(fd, FPath.c_str() + FLevels[depth].PathSize, &info, 0) != 0)
        return false; // gone since it was listed
    const auto now = Now();
    if (FDelayTimeStamp != 0 && FDelayTimeStamp > SecondsApart(now, TimePoint(info.st_mtim)))
        return false;
    if (FDelayLastAccess != 0 && FDelayLastAccess > SecondsApart(now, TimePoint(info.st_atim)))
        return false;
    return true;
}

void TDirReader::SubmitStats(TLevel& level) {
    std::string names;
    std::vector<std::uint32_t> ends;
    for (TEntry& entry : level.Entries) {
        const std::string_view name(level.Names.data() + entry.Offset, entry.Length);
        if (entry.IsDirectory || !PassesFilter(name))
            continue;
        entry.Slot = static_cast<std::uint32_t>(ends.size());
        names.append(name);
        ends.push_back(static_cast<std::uint32_t>(names.size()));
        names.push_back('\0');
    }
    if (ends.empty())
        return;
    // A descriptor of the batch's own: the level's may be let go while the batch is stat'ed.
    const int fd = ::fcntl(level.Fd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return; // short of descriptors: this thread stats them as it reports them
    level.Batch = std::make_shared<TStatBatch>(fd, std::move(names), std::move(ends));
    FStatAhead->Submit(level.Batch);
}

void TDirReader::ProcessEvents() {
    Fire(FProcessEvents, *this);
}

} // namespace orlenta
