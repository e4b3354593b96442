#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorvi::ws {

// The server side of RFC 6455, as far as a feed needs it: the server only sends, the browser
// has nothing to say, so what arrives is read strictly, counted and dropped.

enum class Opcode : std::uint8_t {
    Continuation = 0x0,
    Text = 0x1,
    Binary = 0x2,
    Close = 0x8,
    Ping = 0x9,
    Pong = 0xa,
};

// Close codes the server sends.
constexpr std::uint16_t kCloseNormal = 1000;
constexpr std::uint16_t kCloseProtocolError = 1002;
constexpr std::uint16_t kClosePolicy = 1008;
constexpr std::uint16_t kCloseTooBig = 1009;

// One unmasked, final frame from the server. Control frames carry at most 125 bytes.
std::string ServerFrame(Opcode opcode, std::string_view payload);
std::string CloseFrame(std::uint16_t code);

// The 101 answer to a checked upgrade request; `accept` is the Sec-WebSocket-Accept value.
std::string HandshakeAnswer(std::string_view accept);
// The text hashed for Sec-WebSocket-Accept: the key and the protocol's fixed GUID.
std::string AcceptSource(std::string_view key);

enum class FrameStatus {
    Incomplete,    // more bytes are needed
    Complete,      // `frame` is filled
    ProtocolError, // not a frame a browser may send: close 1002
    TooBig,        // longer than allowed: close 1009
};

struct ClientFrame {
    Opcode opcode = Opcode::Text;
    bool final = true;
    std::string payload;    // unmasked; control frames only (data is dropped unread)
    std::size_t length = 0; // bytes of the whole frame
};

// Where a message split over frames stands between two frames.
struct ClientFrameState {
    bool inMessage = false; // a data frame without FIN came, its continuations are due
};

// Reads the frame at the start of `data`. The verdict never depends on how the bytes arrive:
// a frame that is too long or wrong in its head is refused as soon as its head is there.
FrameStatus ReadClientFrame(std::string_view data, std::size_t maxPayload, ClientFrameState* state,
                            ClientFrame* frame);

} // namespace zorvi::ws
