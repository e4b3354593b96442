// What a guest's browser sends the hall server: a request head, its route, and WebSocket
// frames after it. Never a crash; a verdict once given is the verdict on the whole (a limit
// does not depend on how the bytes were split into reads); routes lead only to our addresses;
// a coupon look-up names one coupon in its one spelling and is answered with that coupon only.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CouponLookup.h"
#include "HallRoutes.h"
#include "HttpRequestHead.h"
#include "WebSocketFrames.h"

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

// Split points to try: each byte of the input's start picks one, and the ones around a line end.
template <typename Verdict> void EveryVerdictHolds(std::string_view data, Verdict verdict) {
    const auto whole = verdict(data);
    for (std::size_t i = 0; i < data.size() && i < 24; ++i) {
        const std::size_t cut =
            (static_cast<unsigned char>(data[i]) * 131u + i * 977u) % (data.size() + 1);
        for (const std::size_t at : {cut, cut > 0 ? cut - 1 : 0}) {
            const auto early = verdict(data.substr(0, at));
            if (!early.incomplete)
                Check(early == whole);
        }
    }
    for (std::size_t at = data.find('\r'); at != std::string_view::npos && at < 16384;
         at = data.find('\r', at + 1)) {
        const auto early = verdict(data.substr(0, at + 1));
        if (!early.incomplete)
            Check(early == whole);
    }
}

struct HeadVerdict {
    zorvi::HeadStatus status;
    std::size_t length;
    std::string target;
    bool incomplete;
    bool operator==(const HeadVerdict& other) const {
        return status == other.status && length == other.length && target == other.target;
    }
};

struct FrameVerdict {
    zorvi::ws::FrameStatus status;
    std::size_t length;
    bool incomplete;
    bool operator==(const FrameVerdict& other) const {
        return status == other.status && length == other.length;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);
    const zorvi::HeadLimits limits;
    // The server never looks further than this at a head.
    const std::string_view peeked = data.substr(0, limits.maxHead + 1);

    const auto head = [&](std::string_view part) {
        zorvi::RequestHead parsed;
        const zorvi::HeadStatus status = zorvi::ParseRequestHead(part, limits, &parsed);
        if (status == zorvi::HeadStatus::Complete) {
            Check(parsed.length <= part.size() && parsed.length <= limits.maxHead);
            Check(parsed.target.size() <= limits.maxRequestLine);
        }
        return HeadVerdict{status, parsed.length, parsed.target,
                           status == zorvi::HeadStatus::Incomplete};
    };
    EveryVerdictHolds(peeked, head);

    zorvi::RequestHead parsed;
    std::size_t rest = 0;
    if (zorvi::ParseRequestHead(peeked, limits, &parsed) == zorvi::HeadStatus::Complete) {
        rest = parsed.length;
        zorvi::HallRouteContext context;
        context.port = 8765;
        context.language = int(size % 4);
        context.isOurHost = [](std::string_view host) { return host == "127.0.0.1"; };
        const zorvi::HallRoute route = zorvi::RouteRequest(parsed, context);
        using Kind = zorvi::HallRoute::Kind;
        if (route.kind == Kind::Page)
            Check(route.language == "fi" || route.language == "se" || route.language == "en");
        if (route.kind == Kind::Redirect)
            Check(route.location == "/fi/" || route.location == "/se/" || route.location == "/en/");
        if (route.kind == Kind::WebSocket)
            Check(zorvi::IsWebSocketKey(*parsed.Header("Sec-WebSocket-Key")));
        if (route.kind == Kind::Refuse)
            Check(route.status >= 400 && route.status < 500);
        if (route.kind == Kind::Coupon) {
            if (route.status == 200) {
                Check(route.coupon >= 1 && route.coupon <= zorvi::kMaxCouponNumber);
                Check(parsed.target == "/coupon/" + std::to_string(route.coupon));
            } else {
                Check(route.status == 400 && route.coupon == 0);
            }
            // A series of three coupons, the second and third in play.
            static const zorvi::CouponSeries series = zorvi::MakeCouponSeries(
                std::make_shared<const std::vector<std::uint8_t>>(std::size_t(15 * 3), 7), 15, 90,
                {{2, 1000}});
            const zorvi::CouponAnswer answer = zorvi::LookUpCoupon(&series, route.coupon);
            if (route.coupon == 2 || route.coupon == 3)
                Check(answer.status == 200 &&
                      answer.body == "{\"coupon\":" + std::to_string(route.coupon) +
                                         ",\"numberCount\":90,\"numbers\":[7,7,7,7,7,7,7,7,7,7,7,7,"
                                         "7,7,7]}");
            else
                Check(answer.status == (route.coupon == 0 ? 400 : 404));
        }
    }

    // What follows, read as a browser's frames, one after the other.
    std::string_view frames = data.substr(rest);
    zorvi::ws::ClientFrameState state;
    for (int n = 0; n < 64; ++n) {
        const zorvi::ws::ClientFrameState before = state;
        const auto frame = [&](std::string_view part) {
            zorvi::ws::ClientFrameState copy = before;
            zorvi::ws::ClientFrame read;
            const zorvi::ws::FrameStatus status =
                zorvi::ws::ReadClientFrame(part, 1024, &copy, &read);
            if (status == zorvi::ws::FrameStatus::Complete)
                Check(read.length >= 6 && read.length <= part.size() && read.payload.size() <= 125);
            return FrameVerdict{status,
                                status == zorvi::ws::FrameStatus::Complete ? read.length : 0,
                                status == zorvi::ws::FrameStatus::Incomplete};
        };
        EveryVerdictHolds(frames, frame);
        zorvi::ws::ClientFrame read;
        if (zorvi::ws::ReadClientFrame(frames, 1024, &state, &read) !=
            zorvi::ws::FrameStatus::Complete)
            break;
        frames.remove_prefix(read.length);
    }
    return 0;
}
