#include "HallFrames.h"

#include <cstdio>

namespace zorvi {

namespace HallFrames {

std::string JsonString(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (u < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(u));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string ResetCall(int numberCount, bool animationOff, const std::string& commitment) {
    return "[\"reset\"," + std::to_string(numberCount) + ",0," + (animationOff ? "1" : "0") + "," +
           JsonString(commitment) + "]";
}

std::string UpdateMainScreenCall(int currentNumber, int count, int row) {
    return "[\"updateMainScreen\"," + std::to_string(currentNumber) + "," + std::to_string(count) +
           "," + std::to_string(row) + "]";
}

std::string ShowTicketCall(const PageTicket& ticket) {
    return "[\"showTicket\"," + JsonString(ticket.numbers) + "," + JsonString(ticket.marks) + "," +
           (ticket.winner ? "1" : "0") + "," + std::to_string(ticket.couponNumber) + "]";
}

std::vector<std::string> CatchUpCalls(const PageGame& game, bool animationOff) {
    std::vector<std::string> calls;
    calls.reserve(game.drawn.size() + 3);
    calls.push_back(ResetCall(game.numberCount, animationOff, game.commitment));
    if (game.drawn.empty())
        calls.push_back(UpdateMainScreenCall(-1, 0, game.row));
    for (std::size_t i = 0; i < game.drawn.size(); ++i)
        calls.push_back(UpdateMainScreenCall(game.drawn[i], int(i + 1), game.row));
    if (game.ticket)
        calls.push_back(ShowTicketCall(*game.ticket));
    return calls;
}

std::string CallsFrame(const std::vector<std::string>& calls, std::int64_t sentAtMs) {
    std::string frame = "{\"calls\":[";
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (i > 0)
            frame += ',';
        frame += calls[i];
    }
    frame += "],\"t\":" + std::to_string(sentAtMs) + "}";
    return frame;
}

std::string HeartbeatFrame(std::int64_t sentAtMs) {
    return "{\"heartbeat\":" + std::to_string(sentAtMs) + "}";
}

std::string JoinFrame(const std::string& url, int size, const std::string& modules) {
    if (url.empty())
        return "{\"join\":null}";
    return "{\"join\":{\"url\":" + JsonString(url) + ",\"size\":" + std::to_string(size) +
           ",\"modules\":" + JsonString(modules) + "}}";
}

} // namespace HallFrames

void PageGameFold::Reset(int numberCount, const std::string& commitment) {
    game_ = PageGame{};
    game_.numberCount = numberCount;
    game_.commitment = commitment;
}

// The count says where the number belongs: one more than shown is a draw, fewer is a
// cancelled draw (the list is cut back to it), 0 or -1 is "none drawn".
void PageGameFold::UpdateMainScreen(int currentNumber, int count, int row) {
    game_.row = row;
    std::vector<int>& drawn = game_.drawn;
    if (count <= 0 || currentNumber < 0) {
        drawn.clear();
        return;
    }
    const auto wanted = static_cast<std::size_t>(count);
    // A count further ahead means numbers this fold never saw: they cannot be made up, so the
    // page is given what is known, the current number last.
    if (wanted <= drawn.size())
        drawn.resize(wanted);
    if (wanted == drawn.size())
        drawn.back() = currentNumber;
    else
        drawn.push_back(currentNumber);
}

void PageGameFold::ShowTicket(const PageTicket& ticket) {
    game_.ticket = ticket;
}

} // namespace zorvi
