#include "core/reading/StatAhead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace orlenta {

namespace {

// A tenth of a millisecond or so of waiting awake: about what listing a directory takes.
constexpr int kSpins = 4000;

inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

} // namespace

TEntryStatus StatEntryAt(int directoryFd, const char* name) {
    // Size and time only: on network file systems the other fields can cost a round trip.
    constexpr unsigned kWanted = STATX_SIZE | STATX_MTIME;
    struct statx info {};
    TEntryStatus status;
    if (directoryFd < 0 || ::statx(directoryFd, name, 0, kWanted, &info) != 0 ||
        (info.stx_mask & kWanted) != kWanted)
        return status;
    status.Known = true;
    status.Size = info.stx_size;
    status.Modified = info.stx_mtime.tv_sec;
    return status;
}

TStatBatch::TStatBatch(int directoryFd, std::string names, std::vector<std::uint32_t> ends)
    : FDirectoryFd(directoryFd), FNames(std::move(names)), FEnds(std::move(ends)),
      FStates(new std::atomic<std::uint8_t>[FEnds.size()]), FStatuses(FEnds.size()) {
    for (std::size_t slot = 0; slot < FEnds.size(); ++slot)
        FStates[slot].store(kUnclaimed, std::memory_order_relaxed);
}

TStatBatch::~TStatBatch() {
    ::close(FDirectoryFd);
}

bool TStatBatch::Claim(std::size_t slot) {
    std::uint8_t expected = kUnclaimed;
    if (!FStates[slot].compare_exchange_strong(expected, kClaimed, std::memory_order_acquire))
        return false;
    const std::uint32_t begin = slot == 0 ? 0 : FEnds[slot - 1] + 1;
    FStatuses[slot] = StatEntryAt(FDirectoryFd, FNames.c_str() + begin);
    FStates[slot].store(kDone, std::memory_order_release);
    return true;
}

TEntryStatus TStatBatch::Take(std::size_t slot) {
    if (!Claim(slot)) {
        // The other thread is inside this very stat: a few microseconds, not worth a sleep.
        while (FStates[slot].load(std::memory_order_acquire) != kDone)
            CpuRelax();
    }
    return FStatuses[slot];
}

void TStatBatch::StatUnclaimed(const std::atomic<bool>& cancelled) {
    // From the back: the walk takes them from the front, and the two meet once, in the middle,
    // instead of taking turns and waiting for each other at every file.
    for (std::size_t slot = FEnds.size(); slot-- > 0;) {
        if (cancelled.load(std::memory_order_relaxed))
            return;
        if (!Claim(slot))
            return; // the walk has come this far
    }
}

TStatAhead::TStatAhead() = default;

TStatAhead::~TStatAhead() {
    {
        std::lock_guard lock(FMutex);
        FStopping = true;
    }
    FWork.notify_one();
    if (FThread.joinable())
        FThread.join();
}

void TStatAhead::Submit(std::shared_ptr<TStatBatch> batch) {
    bool wake = false;
    {
        std::lock_guard lock(FMutex);
        FQueue.push_back(std::move(batch));
        FQueueSize.store(FQueue.size(), std::memory_order_relaxed);
        wake = FIdle;
    }
    if (FThread.joinable()) {
        if (wake)
            FWork.notify_one();
        return;
    }
    try {
        FThread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No second thread: the walk stats every file itself, as it claims each one.
    }
}

void TStatAhead::Run() {
    for (;;) {
        std::shared_ptr<TStatBatch> batch;
        // The next batch is mostly a directory listing away: waiting for it awake costs less
        // than falling asleep and being woken for each directory.
        for (int spin = 0; spin < kSpins && FQueueSize.load(std::memory_order_relaxed) == 0 &&
                           !FStopping.load(std::memory_order_relaxed);
             ++spin)
            CpuRelax();
        {
            std::unique_lock lock(FMutex);
            FIdle = true;
            FWork.wait(lock, [this] { return FStopping || !FQueue.empty(); });
            FIdle = false;
            if (FStopping)
                return;
            batch = std::move(FQueue.front());
            FQueue.pop_front();
            FQueueSize.store(FQueue.size(), std::memory_order_relaxed);
        }
        batch->StatUnclaimed(FStopping);
    }
}

} // namespace orlenta
