#include "HallFrames.h"

#include "JsonText.h"
#include "PrizeBoardJson.h"

namespace zorvi {

namespace HallFrames {

std::string JsonString(const std::string& text) {
    return zorvi::JsonString(text);
}

namespace {

std::string Encode(const PageResetCall& call, bool animationOff) {
    return "[\"reset\"," + std::to_string(call.numberCount) + ",0," + (animationOff ? "1" : "0") +
           "," + JsonString(call.commitment) + "]";
}

std::string Encode(const PageUpdateCall& call, bool) {
    return "[\"updateMainScreen\"," + std::to_string(call.currentNumber) + "," +
           std::to_string(call.count) + "," + std::to_string(call.row) + "]";
}

std::string Encode(const PageTicket& ticket, bool) {
    return "[\"showTicket\"," + JsonString(ticket.numbers) + "," + JsonString(ticket.marks) + "," +
           (ticket.winner ? "1" : "0") + "," + std::to_string(ticket.couponNumber) + "]";
}

std::string Encode(const PageSealCall& call, bool) {
    return "[\"showSeal\"," + JsonString(call.seal) + "]";
}

std::string Encode(const PagePrizeBoard& board, bool) {
    return "[\"showPrizeBoard\"," + PrizeBoardJson(board) + "]";
}

} // namespace

std::string EncodeCall(const PageCall& call, bool animationOff) {
    return std::visit([&](const auto& c) { return Encode(c, animationOff); }, call);
}

std::string EncodeRecall(int ball) {
    return "[\"showRecall\"," + std::to_string(ball) + "]";
}

std::vector<std::string> CatchUpCalls(const PageGame& game, bool animationOff) {
    std::vector<std::string> calls;
    for (const PageCall& call : zorvi::CatchUpCalls(game))
        calls.push_back(EncodeCall(call, animationOff));
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

} // namespace zorvi
