#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "WinningMarks.h"

namespace zorvi {

// Runs the winning-now scan of each game moment, on a thread of its own so that a draw's
// display never waits for it. Each request gets a generation; a newer request supersedes an
// older one, which then stops early and delivers nothing. A delivered answer may still have
// been superseded on its way to the window: the receiver compares its generation with Latest().
//
// Inline mode runs every scan inside Request and delivers before Request returns: for tests and
// tools that have no second thread to wait for.
class WinningNowScan {
public:
    enum class Mode { Threaded, Inline };
    // Called with the request's generation and its answer; in threaded mode on the scan's
    // thread.
    using Deliver = std::function<void(std::uint64_t generation, const WinningNow& answer)>;

    explicit WinningNowScan(Mode mode);
    virtual ~WinningNowScan();
    WinningNowScan(const WinningNowScan&) = delete;
    WinningNowScan& operator=(const WinningNowScan&) = delete;

    // Set before the first request.
    void SetDeliver(Deliver deliver) { deliver_ = std::move(deliver); }

    // A new game moment to scan; returns its generation.
    std::uint64_t Request(WinningQuery query);
    std::uint64_t Latest() const { return latest_.load(); }
    // Ends the thread once its current pass has stopped; nothing is delivered afterwards.
    void Stop();

    // Bytes the scan keeps between requests (its marks); for benchmarks.
    std::size_t MemoryBytes() const;

private:
    struct Job {
        std::uint64_t generation = 0;
        WinningQuery query;
    };
    void Run();
    void Scan(const Job& job);

    const Mode mode_;
    Deliver deliver_;
    std::atomic<std::uint64_t> latest_{0};
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Job> pending_;
    WinningMarks marks_; // the scan's thread only
    std::atomic<std::size_t> memoryBytes_{0};
    std::thread thread_;
};

} // namespace zorvi
