#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "HttpRequestHead.h"

namespace zorvi {

// What the hall server answers to one request. The server has a fixed, tiny set of addresses;
// nothing in a request is ever mapped onto a file name.
struct HallRoute {
    enum class Kind { Page, Redirect, WebSocket, Refuse };
    Kind kind = Kind::Refuse;
    int status = 400;
    std::string language; // Page: "fi", "se" or "en"
    std::string location; // Redirect: where to
};

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
