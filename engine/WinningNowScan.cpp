#include "WinningNowScan.h"

namespace zorvi {

WinningNowScan::WinningNowScan(Mode mode) : mode_(mode) {
    if (mode_ == Mode::Threaded)
        thread_ = std::thread([this] { Run(); });
}

WinningNowScan::~WinningNowScan() {
    Stop();
}

void WinningNowScan::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

std::uint64_t WinningNowScan::Request(WinningQuery query) {
    const std::uint64_t generation = ++latest_;
    if (mode_ == Mode::Inline) {
        if (!stopping_)
            Scan(Job{generation, std::move(query)});
        return generation;
    }
    {
        const std::lock_guard lock(mutex_);
        if (stopping_)
            return generation;
        // Only the newest moment matters: one waiting behind the running scan is replaced.
        pending_ = Job{generation, std::move(query)};
    }
    wake_.notify_one();
    return generation;
}

std::size_t WinningNowScan::MemoryBytes() const {
    return memoryBytes_.load();
}

void WinningNowScan::Run() {
    for (;;) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
        if (stopping_)
            return;
        const Job job = std::move(*pending_);
        pending_.reset();
        lock.unlock();
        Scan(job);
    }
}

void WinningNowScan::Scan(const Job& job) {
    const auto stopped = [this, generation = job.generation] {
        return stopping_.load() || latest_.load() != generation;
    };
    const std::optional<WinningNow> answer = marks_.Answer(job.query, stopped);
    memoryBytes_ = marks_.MemoryBytes();
    // A superseded scan delivers nothing, finished or not.
    if (!answer || stopped())
        return;
    if (deliver_)
        deliver_(job.generation, *answer);
}

} // namespace zorvi
