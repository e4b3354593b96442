#include "HallPolicy.h"

#include <algorithm>

namespace zorvi {

HallLimits FitToDescriptors(HallLimits limits, std::int64_t openFileLimit) {
    const std::int64_t reserve =
        std::max<std::int64_t>(limits.reserveDescriptors, openFileLimit / 4);
    // One more than the places: a connection is accepted before it is judged.
    const std::int64_t available = std::max<std::int64_t>(openFileLimit - reserve - 1, 2);
    if (std::int64_t(limits.maxFeeds) + limits.maxWaiting > available) {
        const std::int64_t waiting =
            std::clamp<std::int64_t>(available / 4, 1, std::max(limits.maxWaiting, 1));
        const std::int64_t feeds =
            std::clamp<std::int64_t>(available - waiting, 1, limits.maxFeeds);
        // The shares shrink with the whole, so that it still takes as many guests to fill it.
        limits.maxFeedsPerAddress = int(std::max<std::int64_t>(
            1, std::int64_t(limits.maxFeedsPerAddress) * feeds / std::max(limits.maxFeeds, 1)));
        limits.maxWaitingPerAddress =
            int(std::max<std::int64_t>(4, std::int64_t(limits.maxWaitingPerAddress) * waiting /
                                              std::max(limits.maxWaiting, 1)));
        limits.maxWaiting = int(waiting);
        limits.maxFeeds = int(feeds);
    }
    limits.maxWaitingPerAddress = std::clamp(limits.maxWaitingPerAddress, 1, limits.maxWaiting);
    limits.maxFeedsPerAddress = std::clamp(limits.maxFeedsPerAddress, 1, limits.maxFeeds);
    return limits;
}

HallPolicy::HallPolicy(const HallLimits& limits) : limits_(limits) {}

namespace {

constexpr std::int64_t kTokenUnits = 60000; // one token, in the buckets' units

std::int64_t Capacity(int perMinute) {
    return std::int64_t(std::max(perMinute, 0)) * kTokenUnits;
}

// The bucket refilled up to `nowMs`; a clock that goes back refills nothing.
void Refill(std::int64_t& credit, std::int64_t& atMs, int perMinute, std::int64_t nowMs) {
    const std::int64_t elapsed = std::clamp<std::int64_t>(nowMs - atMs, 0, kTokenUnits);
    credit = std::min(Capacity(perMinute), credit + elapsed * std::max(perMinute, 0));
    atMs = std::max(atMs, nowMs);
}

// Whole seconds until the bucket holds a token again (at least one).
int SecondsToToken(std::int64_t credit, int perMinute) {
    if (perMinute <= 0)
        return 60;
    const std::int64_t ms = (kTokenUnits - credit + perMinute - 1) / perMinute;
    return int(std::clamp<std::int64_t>((ms + 999) / 1000, 1, 60));
}

} // namespace

HallPolicy::LookupVerdict HallPolicy::CountLookup(const std::string& address, std::int64_t nowMs) {
    const int perAddress = limits_.maxLookupsPerAddressPerMinute;
    const int perAll = limits_.maxLookupsPerMinute;
    if (!allLookupsStarted_) {
        allLookupsStarted_ = true;
        allLookups_ = Bucket{Capacity(perAll), nowMs};
    }
    Refill(allLookups_.credit, allLookups_.atMs, perAll, nowMs);

    auto found = lookupBuckets_.find(address);
    if (found == lookupBuckets_.end()) {
        // The table stays bounded whatever the number of addresses: the least recent goes.
        // Forgetting an address only gives it a full bucket back; the common one still holds.
        while (!lookupRecent_.empty() &&
               int(lookupBuckets_.size()) >= std::max(limits_.maxLookupAddresses, 1)) {
            lookupBuckets_.erase(lookupRecent_.back());
            lookupRecent_.pop_back();
        }
        lookupRecent_.push_front(address);
        found = lookupBuckets_
                    .emplace(address, AddressBucket{Bucket{Capacity(perAddress), nowMs},
                                                    lookupRecent_.begin()})
                    .first;
    } else {
        lookupRecent_.splice(lookupRecent_.begin(), lookupRecent_, found->second.recent);
    }
    Bucket& own = found->second.bucket;
    Refill(own.credit, own.atMs, perAddress, nowMs);

    LookupVerdict verdict;
    if (own.credit < kTokenUnits || allLookups_.credit < kTokenUnits) {
        ++lookupsRefused_;
        verdict.retryAfterSeconds = std::max(
            own.credit < kTokenUnits ? SecondsToToken(own.credit, perAddress) : 0,
            allLookups_.credit < kTokenUnits ? SecondsToToken(allLookups_.credit, perAll) : 0);
        return verdict;
    }
    own.credit -= kTokenUnits;
    allLookups_.credit -= kTokenUnits;
    verdict.allow = true;
    return verdict;
}

std::optional<HallPolicy::Id> HallPolicy::OldestOf(const std::string& address) const {
    std::optional<Id> oldest;
    std::int64_t since = 0;
    for (const auto& [id, entry] : waiting_) {
        if (entry.address == address && (!oldest || entry.sinceMs < since)) {
            oldest = id;
            since = entry.sinceMs;
        }
    }
    return oldest;
}

// The oldest waiting connection of the address that holds the most, among those old enough
// that an honest browser would have finished long ago.
std::optional<HallPolicy::Id> HallPolicy::Victim(std::int64_t nowMs) const {
    std::optional<Id> victim;
    int victimShare = 0;
    std::int64_t victimSince = 0;
    for (const auto& [id, entry] : waiting_) {
        if (nowMs - entry.sinceMs < limits_.evictableAfterMs)
            continue;
        const int share = addresses_.at(entry.address).waiting;
        if (!victim || share > victimShare ||
            (share == victimShare && entry.sinceMs < victimSince)) {
            victim = id;
            victimShare = share;
            victimSince = entry.sinceMs;
        }
    }
    return victim;
}

HallPolicy::Admission HallPolicy::Connect(Id id, const std::string& address, std::int64_t nowMs) {
    Admission admission;
    const auto found = addresses_.find(address);
    if (found != addresses_.end() && found->second.waiting >= limits_.maxWaitingPerAddress) {
        // The address has used its share: its own oldest goes.
        admission.evict = OldestOf(address);
    } else if (int(waiting_.size()) >= limits_.maxWaiting) {
        admission.evict = Victim(nowMs);
        if (!admission.evict) {
            ++connectionsCut_;
            return admission;
        }
    }
    if (admission.evict) {
        ++connectionsCut_;
        Forget(*admission.evict);
    }
    admission.admit = true;
    Entry entry;
    entry.address = address;
    entry.sinceMs = nowMs;
    waiting_.emplace(id, std::move(entry));
    ++addresses_[address].waiting;
    return admission;
}

bool HallPolicy::MustPause(std::int64_t nowMs) const {
    return int(waiting_.size()) >= limits_.maxWaiting && !Victim(nowMs);
}

void HallPolicy::Answered(Id id, std::int64_t nowMs) {
    const auto found = waiting_.find(id);
    if (found == waiting_.end())
        return;
    found->second.stage = Stage::Lingering;
    found->second.sinceMs = nowMs;
}

HallPolicy::FeedVerdict HallPolicy::JoinFeed(Id id) {
    const auto found = waiting_.find(id);
    if (found == waiting_.end())
        return FeedVerdict::Full;
    PerAddress& share = addresses_[found->second.address];
    if (int(feedEntries_.size()) >= limits_.maxFeeds || share.feeds >= limits_.maxFeedsPerAddress) {
        ++screensRefused_;
        return int(feedEntries_.size()) >= limits_.maxFeeds ? FeedVerdict::Full
                                                            : FeedVerdict::AddressFull;
    }
    Entry entry = std::move(found->second);
    waiting_.erase(found);
    --share.waiting;
    ++share.feeds;
    entry.stage = Stage::Feed;
    entry.frames = 0;
    entry.windowStartMs = entry.sinceMs;
    feedEntries_.emplace(id, std::move(entry));
    return FeedVerdict::Admit;
}

bool HallPolicy::LeaveFeed(Id id, std::int64_t nowMs) {
    const auto found = feedEntries_.find(id);
    if (found == feedEntries_.end())
        return false;
    PerAddress& share = addresses_[found->second.address];
    if (int(waiting_.size()) >= limits_.maxWaiting ||
        share.waiting >= limits_.maxWaitingPerAddress) {
        Forget(id);
        return false;
    }
    Entry entry = std::move(found->second);
    feedEntries_.erase(found);
    --share.feeds;
    ++share.waiting;
    entry.stage = Stage::Lingering;
    entry.sinceMs = nowMs;
    waiting_.emplace(id, std::move(entry));
    return true;
}

void HallPolicy::Closed(Id id) {
    Forget(id);
}

void HallPolicy::Forget(Id id) {
    std::string address;
    if (const auto found = waiting_.find(id); found != waiting_.end()) {
        address = std::move(found->second.address);
        waiting_.erase(found);
        --addresses_[address].waiting;
    } else if (const auto feed = feedEntries_.find(id); feed != feedEntries_.end()) {
        address = std::move(feed->second.address);
        feedEntries_.erase(feed);
        --addresses_[address].feeds;
    } else {
        return;
    }
    const auto share = addresses_.find(address);
    if (share->second.waiting == 0 && share->second.feeds == 0)
        addresses_.erase(share);
}

bool HallPolicy::CountFrame(Id id, std::int64_t nowMs) {
    const auto found = feedEntries_.find(id);
    if (found == feedEntries_.end())
        return false;
    Entry& entry = found->second;
    if (nowMs - entry.windowStartMs >= 1000) {
        entry.windowStartMs = nowMs;
        entry.frames = 0;
    }
    return ++entry.frames <= limits_.maxIncomingFramesPerSecond;
}

HallPolicy::Expired HallPolicy::Expire(std::int64_t nowMs) const {
    Expired expired;
    for (const auto& [id, entry] : waiting_) {
        if (entry.stage == Stage::Head && nowMs - entry.sinceMs >= limits_.headTimeoutMs)
            expired.heads.push_back(id);
        else if (entry.stage == Stage::Lingering && nowMs - entry.sinceMs >= limits_.lingerMs)
            expired.lingering.push_back(id);
    }
    return expired;
}

std::optional<std::string> HallPolicy::TakeLimitNote(std::int64_t nowMs) {
    if (screensRefused_ == 0 && connectionsCut_ == 0 && lookupsRefused_ == 0)
        return std::nullopt;
    if (lastNoteMs_ && nowMs - *lastNoteMs_ < limits_.limitNoteIntervalMs)
        return std::nullopt;
    lastNoteMs_ = nowMs;
    std::string note = "Hall server at its limit: " + std::to_string(screensRefused_) +
                       (screensRefused_ == 1 ? " screen" : " screens") + " refused, " +
                       std::to_string(connectionsCut_) +
                       (connectionsCut_ == 1 ? " connection" : " connections") + " cut short; " +
                       std::to_string(Feeds()) + " of " + std::to_string(limits_.maxFeeds) +
                       " screens, " + std::to_string(Waiting()) + " of " +
                       std::to_string(limits_.maxWaiting) + " requests open";
    if (lookupsRefused_ > 0)
        note += "; " + std::to_string(lookupsRefused_) +
                (lookupsRefused_ == 1 ? " coupon look-up" : " coupon look-ups") + " refused";
    lookupsRefused_ = 0;
    screensRefused_ = 0;
    connectionsCut_ = 0;
    return note;
}

} // namespace zorvi
