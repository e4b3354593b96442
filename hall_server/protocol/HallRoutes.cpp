#include "HallRoutes.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "PageLanguage.h"

namespace zorvi {

namespace {

HallRoute Refuse(int status) {
    HallRoute route;
    route.status = status;
    return route;
}

HallRoute Redirect(int status, std::string location) {
    HallRoute route;
    route.kind = HallRoute::Kind::Redirect;
    route.status = status;
    route.location = std::move(location);
    return route;
}

bool ListContainsToken(std::string_view list, std::string_view token) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string_view item = list.substr(0, comma);
        while (!item.empty() && (item.front() == ' ' || item.front() == '\t'))
            item.remove_prefix(1);
        while (!item.empty() && (item.back() == ' ' || item.back() == '\t'))
            item.remove_suffix(1);
        if (EqualsIgnoringCase(item, token))
            return true;
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

// "/coupon", "/coupon/…" and "/coupon?…": the look-up's own addresses, good or not.
bool IsCouponTarget(std::string_view target) {
    constexpr std::string_view kPrefix = "/coupon";
    if (target.substr(0, kPrefix.size()) != kPrefix)
        return false;
    return target.size() == kPrefix.size() || target[kPrefix.size()] == '/' ||
           target[kPrefix.size()] == '?';
}

} // namespace

int CouponNumberOfTarget(std::string_view target) {
    constexpr std::string_view kPrefix = "/coupon/";
    if (target.substr(0, kPrefix.size()) != kPrefix)
        return 0;
    const std::string_view digits = target.substr(kPrefix.size());
    // One spelling per coupon: nothing a cache, a log or a bucket could tell apart.
    if (digits.empty() || digits.size() > 6 || digits.front() == '0' ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value >= 1 && value <= kMaxCouponNumber ? value : 0;
}

bool IsWebSocketKey(std::string_view key) {
    // 16 bytes in base64: 22 characters, the last of which carries 2 bits only, then "==".
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (key.size() != 24 || key.substr(22) != "==")
        return false;
    for (std::size_t i = 0; i < 22; ++i) {
        const std::size_t value = kAlphabet.find(key[i]);
        if (value == std::string_view::npos)
            return false;
        if (i == 21 && (value & 0x0f) != 0)
            return false;
    }
    return true;
}

bool SplitHostField(std::string_view field, std::string* host, int* port) {
    std::string_view name = field;
    std::string_view portText;
    if (!field.empty() && field.front() == '[') {
        const std::size_t close = field.find(']');
        if (close == std::string_view::npos)
            return false;
        name = field.substr(0, close + 1);
        const std::string_view rest = field.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return false;
            portText = rest.substr(1);
            if (portText.empty())
                return false;
        }
    } else {
        const std::size_t colon = field.find(':');
        if (colon != std::string_view::npos) {
            name = field.substr(0, colon);
            portText = field.substr(colon + 1);
            if (portText.empty())
                return false;
        }
    }
    if (name.empty() || name.find_first_of(" \t,@/\\") != std::string_view::npos)
        return false;
    int value = 80;
    if (!portText.empty()) {
        if (portText.size() > 5 || !std::all_of(portText.begin(), portText.end(),
                                                [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        std::from_chars(portText.data(), portText.data() + portText.size(), value);
        if (value < 1 || value > 65535)
            return false;
    }
    *host = std::string(name);
    *port = value;
    return true;
}

HallRoute RouteRequest(const RequestHead& head, const HallRouteContext& context) {
    // The Host must name this server: a page of another name that a browser was led to (DNS
    // rebinding) gets nothing from it.
    const int hosts = head.HeaderCount("Host");
    if (hosts > 1 || (hosts == 0 && head.version != "HTTP/1.0"))
        return Refuse(400);
    const std::optional<std::string_view> hostField = head.Header("Host");
    if (hostField) {
        std::string host;
        int port = 0;
        if (!SplitHostField(*hostField, &host, &port))
            return Refuse(400);
        if (port != context.port || !context.isOurHost || !context.isOurHost(host))
            return Refuse(421);
    }
    if (head.method != "GET")
        return Refuse(405);
    // Only paths of this server: no absolute URLs, no "*", no proxy requests.
    if (head.target.empty() || head.target.front() != '/')
        return Refuse(400);
    if (IsCouponTarget(head.target)) {
        HallRoute route;
        route.kind = HallRoute::Kind::Coupon;
        route.coupon = CouponNumberOfTarget(head.target);
        route.status = route.coupon > 0 ? 200 : 400;
        return route;
    }
    const std::string_view path = std::string_view(head.target).substr(0, head.target.find('?'));

    if (path == "/")
        return Redirect(302, "/" + std::string(PageLanguageFolder(context.language)) + "/");
    for (std::string_view language : kPageLanguageFolders) {
        const std::string folder = "/" + std::string(language);
        if (path == folder)
            return Redirect(301, folder + "/");
        if (path == folder + "/" || path == folder + "/public_screen.htm") {
            HallRoute route;
            route.kind = HallRoute::Kind::Page;
            route.status = 200;
            route.language = language;
            return route;
        }
    }
    if (path != "/ws")
        return Refuse(404);

    const std::optional<std::string_view> upgrade = head.Header("Upgrade");
    const std::optional<std::string_view> connection = head.Header("Connection");
    if (head.version != "HTTP/1.1" || !upgrade || !ListContainsToken(*upgrade, "websocket") ||
        !connection || !ListContainsToken(*connection, "upgrade"))
        return Refuse(426);
    // Checked here, so that a faulty handshake gets an answer rather than a silent close.
    if (head.HeaderCount("Sec-WebSocket-Key") != 1 ||
        head.HeaderCount("Sec-WebSocket-Version") != 1 ||
        *head.Header("Sec-WebSocket-Version") != "13" ||
        !IsWebSocketKey(*head.Header("Sec-WebSocket-Key")))
        return Refuse(400);
    // A browser sends the page's origin: only our own pages may open the live feed.
    const int origins = head.HeaderCount("Origin");
    if (origins > 1)
        return Refuse(403);
    if (origins == 1) {
        const std::string expected = "http://" + std::string(hostField.value_or(""));
        if (!hostField || !EqualsIgnoringCase(*head.Header("Origin"), expected))
            return Refuse(403);
    }
    HallRoute route;
    route.kind = HallRoute::Kind::WebSocket;
    route.status = 101;
    return route;
}

} // namespace zorvi
