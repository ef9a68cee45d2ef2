#pragma once

// Stat'ing the files of a walk on a second thread ahead of the walk. A stat costs about as much
// as everything else the walk does for a file, and the two threads share them: each file is
// stat'ed by whichever thread claims it first, so the walk never waits longer than one stat.

#include "core/reading/EntryStatus.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orlenta {

// The files of one directory to stat, in the order the walk reports them.
class TStatBatch {
public:
    // Takes ownership of directoryFd (a descriptor of its own, closed with the batch).
    TStatBatch(int directoryFd, std::string names, std::vector<std::uint32_t> ends);
    ~TStatBatch();
    TStatBatch(const TStatBatch&) = delete;
    TStatBatch& operator=(const TStatBatch&) = delete;

    std::size_t Count() const { return FEnds.size(); }
    // The status of file slot, stat'ed here unless the other thread has claimed it; waits for
    // that one to finish.
    TEntryStatus Take(std::size_t slot);
    // Stats every file no thread has claimed yet, until cancelled; the second thread's share.
    void StatUnclaimed(const std::atomic<bool>& cancelled);

private:
    enum : std::uint8_t { kUnclaimed, kClaimed, kDone };
    // Stats slot when this thread is the first to claim it.
    bool Claim(std::size_t slot);

    int FDirectoryFd;
    std::string FNames;               // each name followed by its NUL
    std::vector<std::uint32_t> FEnds; // where each name's NUL stands
    std::unique_ptr<std::atomic<std::uint8_t>[]> FStates;
    std::vector<TEntryStatus> FStatuses;
};

// The second thread: runs batches in the order they were handed over.
class TStatAhead {
public:
    TStatAhead();
    // Stops and joins the thread; batches not reached are left to their takers.
    ~TStatAhead();
    TStatAhead(const TStatAhead&) = delete;
    TStatAhead& operator=(const TStatAhead&) = delete;

    // Hands batch to the thread (started on first use).
    void Submit(std::shared_ptr<TStatBatch> batch);

private:
    void Run();

    std::mutex FMutex;
    std::condition_variable FWork;
    std::deque<std::shared_ptr<TStatBatch>> FQueue;
    std::atomic<std::size_t> FQueueSize{0};
    std::atomic<bool> FStopping{false};
    bool FIdle = false;
    std::thread FThread;
};

// Stats name in the directory open as directoryFd: size and time only, following links.
TEntryStatus StatEntryAt(int directoryFd, const char* name);

} // namespace orlenta
