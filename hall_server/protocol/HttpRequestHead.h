#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvi {

// The head of one HTTP/1.x request (request line and header fields), read strictly: anything
// a browser would not send is refused rather than guessed at.
struct RequestHead {
    std::string method;
    std::string target;
    std::string version;                                      // "HTTP/1.0" or "HTTP/1.1"
    std::vector<std::pair<std::string, std::string>> headers; // names as sent, values trimmed
    std::size_t length = 0; // bytes of the head, the blank line included

    // The value of a header field by name, ignoring case; nullopt when absent.
    std::optional<std::string_view> Header(std::string_view name) const;
    // How many times a field occurs.
    int HeaderCount(std::string_view name) const;
};

struct HeadLimits {
    std::size_t maxRequestLine = 2048;
    std::size_t maxHead = 8192;
};

enum class HeadStatus {
    Incomplete,  // more bytes are needed
    Complete,    // `head` is filled
    Malformed,   // not a request we understand: 400
    LineTooLong, // the request line passes its limit: 414
    HeadTooLarge // the head passes its limit: 431
};

// Reads the head at the start of `data`. Lines end in CR LF (a bare LF is taken too).
HeadStatus ParseRequestHead(std::string_view data, const HeadLimits& limits, RequestHead* head);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace zorvi
