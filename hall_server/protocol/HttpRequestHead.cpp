#include "HttpRequestHead.h"

#include <algorithm>

namespace zorvi {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// RFC 9110 token characters.
bool IsTokenChar(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), IsTokenChar);
}

// Visible ASCII and, in field values, blanks and bytes of UTF-8; never control characters.
bool IsFieldValue(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u == '\t' || (u >= 0x20 && u != 0x7f);
    });
}

bool IsTargetChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7f;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The line that starts at `from`, without its line end; npos in `next` when it is unfinished.
std::string_view LineAt(std::string_view data, std::size_t from, std::size_t* next) {
    const std::size_t end = data.find('\n', from);
    if (end == std::string_view::npos) {
        *next = std::string_view::npos;
        return data.substr(from);
    }
    *next = end + 1;
    std::string_view line = data.substr(from, end - from);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool ParseRequestLine(std::string_view line, RequestHead* head) {
    const std::size_t first = line.find(' ');
    if (first == std::string_view::npos)
        return false;
    const std::size_t second = line.find(' ', first + 1);
    if (second == std::string_view::npos || line.find(' ', second + 1) != std::string_view::npos)
        return false;
    const std::string_view method = line.substr(0, first);
    const std::string_view target = line.substr(first + 1, second - first - 1);
    const std::string_view version = line.substr(second + 1);
    if (!IsToken(method) || target.empty() ||
        !std::all_of(target.begin(), target.end(), IsTargetChar))
        return false;
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return false;
    head->method = method;
    head->target = target;
    head->version = version;
    return true;
}

} // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::optional<std::string_view> RequestHead::Header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (EqualsIgnoringCase(key, name))
            return std::string_view(value);
    }
    return std::nullopt;
}

int RequestHead::HeaderCount(std::string_view name) const {
    return int(std::count_if(headers.begin(), headers.end(), [name](const auto& field) {
        return EqualsIgnoringCase(field.first, name);
    }));
}

HeadStatus ParseRequestHead(std::string_view data, const HeadLimits& limits, RequestHead* head) {
    std::size_t next = 0;
    const std::string_view requestLine = LineAt(data, 0, &next);
    // An unfinished line may end in the CR of its line end, whose LF is still on its way: it
    // is not part of the line, or the verdict would depend on how the bytes were split.
    const std::string_view counted =
        next == std::string_view::npos && !requestLine.empty() && requestLine.back() == '\r'
            ? requestLine.substr(0, requestLine.size() - 1)
            : requestLine;
    if (counted.size() > limits.maxRequestLine)
        return HeadStatus::LineTooLong;
    if (next == std::string_view::npos)
        return data.size() > limits.maxHead ? HeadStatus::HeadTooLarge : HeadStatus::Incomplete;

    RequestHead parsed;
    if (!ParseRequestLine(requestLine, &parsed))
        return HeadStatus::Malformed;

    for (;;) {
        if (next > limits.maxHead)
            return HeadStatus::HeadTooLarge;
        const std::size_t from = next;
        const std::string_view line = LineAt(data, from, &next);
        if (next == std::string_view::npos)
            return data.size() > limits.maxHead ? HeadStatus::HeadTooLarge : HeadStatus::Incomplete;
        if (line.empty())
            break;
        // Folded lines are obsolete and a classic way to smuggle a header past a check.
        if (line.front() == ' ' || line.front() == '\t')
            return HeadStatus::Malformed;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return HeadStatus::Malformed;
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = Trim(line.substr(colon + 1));
        if (!IsToken(name) || !IsFieldValue(value))
            return HeadStatus::Malformed;
        parsed.headers.emplace_back(name, value);
    }
    if (next > limits.maxHead)
        return HeadStatus::HeadTooLarge;
    parsed.length = next;
    *head = std::move(parsed);
    return HeadStatus::Complete;
}

} // namespace zorvi
