#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PageCalls.h"

namespace zorvi {

// The frames the hall server sends to browsers, each one JSON object in a WebSocket text
// frame. A batch of page calls is a JSON array of calls, each the page function's name
// followed by its arguments exactly as the page receives them.
namespace HallFrames {

std::string ResetCall(int numberCount, bool animationOff, const std::string& commitment);
std::string UpdateMainScreenCall(int currentNumber, int count, int row);
std::string ShowTicketCall(const PageTicket& ticket);

// The calls that bring a page that has seen nothing to the game as it stands: reset, every
// drawn number in order (or "none drawn yet"), then the last ticket.
std::vector<std::string> CatchUpCalls(const PageGame& game, bool animationOff);

// {"calls":[...],"t":sentAt}
std::string CallsFrame(const std::vector<std::string>& calls, std::int64_t sentAtMs);
std::string HeartbeatFrame(std::int64_t sentAtMs);
// {"join":{"url":..,"size":..,"modules":..}}, or {"join":null} when url is empty.
std::string JoinFrame(const std::string& url, int size, const std::string& modules);

// A JSON string literal, quotes included.
std::string JsonString(const std::string& text);

} // namespace HallFrames

// Keeps the game a page would show, from the page calls as they come: what a browser that
// joins now must be given.
class PageGameFold {
public:
    void Reset(int numberCount, const std::string& commitment);
    void UpdateMainScreen(int currentNumber, int count, int row);
    void ShowTicket(const PageTicket& ticket);
    void ShowGame(const PageGame& game) { game_ = game; }

    const PageGame& Game() const { return game_; }

private:
    PageGame game_;
};

} // namespace zorvi
