#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "HttpRequestHead.h"

namespace zorvi {

// The bounds that keep the hall server safe from the network. Every socket counts: requests
// being read, answers being taken and feeds, so their total stays well below the descriptors
// the program may open, with a reserve for its own files, the display and the pages.
struct HallLimits {
    int maxFeeds = 1000;              // browsers on the live feed; the next gets 503
    int maxFeedsPerAddress = 100;     // one device, or a few behind one router
    int maxWaiting = 256;             // connections not on the feed: requests, answers being taken
    int maxWaitingPerAddress = 16;    // a browser opens a handful at most
    int reserveDescriptors = 256;     // never taken by the network, whatever the limits say
    int headTimeoutMs = 10000;        // a request head, a feed's upgrade request included
    int lingerMs = 2000;              // after an answer, how long the browser may take to leave
    int evictableAfterMs = 500;       // a waiting connection older than this may make room
    int maxIncomingFrameBytes = 1024; // browsers have nothing to say
    int maxIncomingFramesPerSecond = 5;    // every kind of frame counts, pings too
    std::int64_t maxUnsentBytes = 1 << 20; // a browser further behind than this is dropped
    int heartbeatMs = 1000;
    std::int64_t maxPageBytes = 8 << 20; // the page file served
    int limitNoteIntervalMs = 60000;     // the log hears of refusals at most this often
    // Coupon look-ups: a phone with six tickets, reloaded now and then, needs a few dozen a
    // minute; the bucket refills one a second up to the whole minute's worth.
    int maxLookupsPerAddressPerMinute = 60;
    // All addresses together, so that a flood from many cannot take the server's thread.
    int maxLookupsPerMinute = 6000;
    // Addresses whose look-ups are counted; the least recent beyond this are forgotten.
    int maxLookupAddresses = 4096;
    HeadLimits head;
};

// The limits cut down, where needed, so that feeds and waiting connections together fit in
// `openFileLimit` descriptors less a reserve (the larger of reserveDescriptors and a quarter).
HallLimits FitToDescriptors(HallLimits limits, std::int64_t openFileLimit);

// Decides, for the hall server, which connection may stay. It knows each connection by an id,
// its address and its stage; times are passed in, in milliseconds of a steady clock.
// A guest that uses up its own address's share only ever loses its own connections; when all
// places are taken, the oldest connection of the address with the most makes room, and when
// none is old enough the server stops accepting until one is.
class HallPolicy {
public:
    using Id = std::uint64_t;

    explicit HallPolicy(const HallLimits& limits);
    virtual ~HallPolicy() = default;

    struct Admission {
        bool admit = false;
        std::optional<Id> evict; // an older connection to close first
    };
    // A new connection from `address`.
    Admission Connect(Id id, const std::string& address, std::int64_t nowMs);
    // True while no place can be made for one more connection: stop accepting for now.
    bool MustPause(std::int64_t nowMs) const;

    // Its answer is on the way: it may stay `lingerMs` for the browser to read it.
    void Answered(Id id, std::int64_t nowMs);

    enum class FeedVerdict { Admit, Full, AddressFull };
    // An upgrade request to the feed that was read and found good.
    FeedVerdict JoinFeed(Id id);
    // A feed is being closed with a last frame: false when there is no room for it to linger,
    // and it is forgotten (close it at once).
    bool LeaveFeed(Id id, std::int64_t nowMs);
    // The connection is gone.
    void Closed(Id id);

    // One frame from a feed; false once it sends more than its rate allows.
    bool CountFrame(Id id, std::int64_t nowMs);

    struct Expired {
        std::vector<Id> heads;     // no whole request in time: 408
        std::vector<Id> lingering; // answered, and the browser did not leave: close
    };
    Expired Expire(std::int64_t nowMs) const;

    int Feeds() const { return int(feedEntries_.size()); }
    int Waiting() const { return int(waiting_.size()); }
    const HallLimits& Limits() const { return limits_; }

    struct LookupVerdict {
        bool allow = false;
        int retryAfterSeconds = 0; // when refused: until the next look-up would be allowed
    };
    // One coupon look-up from `address`: allowed while both its own bucket and the common one
    // hold a token. A refused look-up takes nothing from either.
    LookupVerdict CountLookup(const std::string& address, std::int64_t nowMs);
    int LookupAddresses() const { return int(lookupBuckets_.size()); }

    // "Hall server at its limit: …" when something was refused since the last note, at most
    // once every limitNoteIntervalMs.
    std::optional<std::string> TakeLimitNote(std::int64_t nowMs);

private:
    enum class Stage { Head, Lingering, Feed };
    struct Entry {
        std::string address;
        Stage stage = Stage::Head;
        std::int64_t sinceMs = 0;
        std::int64_t windowStartMs = 0;
        int frames = 0;
    };
    struct PerAddress {
        int waiting = 0;
        int feeds = 0;
    };
    // Tokens in 1/60000ths: a bucket of P a minute gains P of them a millisecond, so that
    // every rate refills exactly in whole numbers.
    struct Bucket {
        std::int64_t credit = 0;
        std::int64_t atMs = 0;
    };
    struct AddressBucket {
        Bucket bucket;
        std::list<std::string>::iterator recent;
    };

    std::optional<Id> OldestOf(const std::string& address) const;
    std::optional<Id> Victim(std::int64_t nowMs) const;
    void Forget(Id id);

    HallLimits limits_;
    std::unordered_map<Id, Entry> waiting_;
    std::unordered_map<Id, Entry> feedEntries_;
    std::unordered_map<std::string, PerAddress> addresses_;
    std::int64_t screensRefused_ = 0;
    std::int64_t connectionsCut_ = 0;
    std::int64_t lookupsRefused_ = 0;
    Bucket allLookups_;
    bool allLookupsStarted_ = false;
    std::unordered_map<std::string, AddressBucket> lookupBuckets_;
    std::list<std::string> lookupRecent_; // most recent first
    std::optional<std::int64_t> lastNoteMs_;
};

} // namespace zorvi
