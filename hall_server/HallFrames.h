#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PageCatchUp.h"

namespace zorvi {

// The frames the hall server sends to browsers, each one JSON object in a WebSocket text
// frame. A batch of page calls is a JSON array of calls, each the page function's name
// followed by its arguments exactly as the page receives them.
namespace HallFrames {

// One page call as the feed carries it: ["updateMainScreen",17,3,1], ["showSeal","1a2b…"],
// ["showPrizeBoard",{"game":3,…}] (PrizeBoardJson). The reset carries the animation setting of
// the moment.
std::string EncodeCall(const PageCall& call, bool animationOff);

// A withdrawn ball for the page's optional showRecall: ["showRecall",23]. Never in the catch-up.
std::string EncodeRecall(int ball);

// The game's catch-up (CatchUpCalls), encoded.
std::vector<std::string> CatchUpCalls(const PageGame& game, bool animationOff);

// {"calls":[...],"t":sentAt}
std::string CallsFrame(const std::vector<std::string>& calls, std::int64_t sentAtMs);
std::string HeartbeatFrame(std::int64_t sentAtMs);
// {"join":{"url":..,"size":..,"modules":..}}, or {"join":null} when url is empty.
std::string JoinFrame(const std::string& url, int size, const std::string& modules);

// A JSON string literal, quotes included.
std::string JsonString(const std::string& text);

} // namespace HallFrames

} // namespace zorvi
