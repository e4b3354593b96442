#include "WebSocketFrames.h"

namespace zorvi::ws {

namespace {

bool IsControl(Opcode opcode) {
    return (static_cast<std::uint8_t>(opcode) & 0x8) != 0;
}

bool IsKnown(std::uint8_t opcode) {
    return opcode <= 0x2 || (opcode >= 0x8 && opcode <= 0xa);
}

} // namespace

std::string ServerFrame(Opcode opcode, std::string_view payload) {
    std::string frame;
    frame.reserve(payload.size() + 10);
    frame += static_cast<char>(0x80 | static_cast<std::uint8_t>(opcode));
    const std::uint64_t size = payload.size();
    if (size < 126) {
        frame += static_cast<char>(size);
    } else if (size <= 0xffff) {
        frame += static_cast<char>(126);
        frame += static_cast<char>((size >> 8) & 0xff);
        frame += static_cast<char>(size & 0xff);
    } else {
        frame += static_cast<char>(127);
        for (int shift = 56; shift >= 0; shift -= 8)
            frame += static_cast<char>((size >> shift) & 0xff);
    }
    frame += payload;
    return frame;
}

std::string CloseFrame(std::uint16_t code) {
    const char payload[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xff)};
    return ServerFrame(Opcode::Close, std::string_view(payload, 2));
}

std::string HandshakeAnswer(std::string_view accept) {
    std::string answer = "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
                         "Connection: Upgrade\r\nSec-WebSocket-Accept: ";
    answer += accept;
    answer += "\r\n\r\n";
    return answer;
}

std::string AcceptSource(std::string_view key) {
    return std::string(key) + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";
}

FrameStatus ReadClientFrame(std::string_view data, std::size_t maxPayload, ClientFrameState* state,
                            ClientFrame* frame) {
    if (data.size() < 2)
        return FrameStatus::Incomplete;
    const auto first = static_cast<std::uint8_t>(data[0]);
    const auto second = static_cast<std::uint8_t>(data[1]);
    const bool final = (first & 0x80) != 0;
    const std::uint8_t code = first & 0x0f;
    // No extension was agreed, so no reserved bit may be set; a browser masks every frame.
    if ((first & 0x70) != 0 || !IsKnown(code) || (second & 0x80) == 0)
        return FrameStatus::ProtocolError;
    const auto opcode = static_cast<Opcode>(code);
    if (IsControl(opcode)) {
        if (!final || (second & 0x7f) > 125)
            return FrameStatus::ProtocolError;
    } else if ((opcode == Opcode::Continuation) != state->inMessage) {
        return FrameStatus::ProtocolError;
    }

    std::size_t at = 2;
    std::uint64_t size = second & 0x7f;
    if (size >= 126) {
        const std::size_t bytes = size == 126 ? 2 : 8;
        if (data.size() < at + bytes)
            return FrameStatus::Incomplete;
        size = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            size = (size << 8) | static_cast<std::uint8_t>(data[at + i]);
        at += bytes;
        // The shortest form is the only one allowed, and the top bit of 64 is never set.
        if ((bytes == 2 && size < 126) || (bytes == 8 && (size <= 0xffff || size >> 63)))
            return FrameStatus::ProtocolError;
    }
    if (size > maxPayload)
        return FrameStatus::TooBig;
    if (opcode == Opcode::Close && size == 1) // a close code takes two bytes
        return FrameStatus::ProtocolError;
    if (data.size() < at + 4 + size)
        return FrameStatus::Incomplete;
    const std::string_view mask = data.substr(at, 4);
    at += 4;

    frame->opcode = opcode;
    frame->final = final;
    frame->payload.clear();
    if (IsControl(opcode)) {
        frame->payload.assign(data.substr(at, static_cast<std::size_t>(size)));
        for (std::size_t i = 0; i < frame->payload.size(); ++i)
            frame->payload[i] = static_cast<char>(frame->payload[i] ^ mask[i % 4]);
    } else {
        state->inMessage = !final;
    }
    frame->length = at + static_cast<std::size_t>(size);
    return FrameStatus::Complete;
}

} // namespace zorvi::ws
