#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "HttpRequestHead.h"

namespace zorvi {

// What the hall server answers to one request. The server has a fixed, tiny set of addresses;
// nothing in a request is ever mapped onto a file name.
struct HallRoute {
    enum class Kind { Page, Redirect, WebSocket, Coupon, Refuse };
    Kind kind = Kind::Refuse;
    int status = 400;
    std::string language; // Page: "fi", "se" or "en"
    std::string location; // Redirect: where to
    // Coupon: the number asked for, 1 to kMaxCouponNumber, with status 200; 0 with status 400
    // for an address under /coupon that is not one number. Both count as a look-up.
    int coupon = 0;
};

inline constexpr int kMaxCouponNumber = 999999;

// The coupon number of "/coupon/<n>": decimal digits only, no sign, no leading zero, no query,
// 1 to kMaxCouponNumber; 0 for anything else.
int CouponNumberOfTarget(std::string_view target);

struct HallRouteContext {
    int port = 0;
    int language = 0; // the operator's: where "/" leads
    // True for a host name or address (without the port) that reaches this server: this
    // machine's addresses, "localhost", the address it listens on.
    std::function<bool(std::string_view host)> isOurHost;
};

HallRoute RouteRequest(const RequestHead& head, const HallRouteContext& context);

// True for a Sec-WebSocket-Key as RFC 6455 has it: 16 bytes in base64.
bool IsWebSocketKey(std::string_view key);

// Splits a Host field into its host (brackets kept for IPv6) and port (80 when absent);
// false when it is not one host and one port.
bool SplitHostField(std::string_view field, std::string* host, int* port);

} // namespace zorvi
