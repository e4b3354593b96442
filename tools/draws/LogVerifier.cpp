#include "LogVerifier.h"

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

#include "DrawCommitment.h"
#include "LogLines.h"

namespace zorvi {

namespace {

using LogLines::IsHexDigest;
using LogLines::IsPermutation;
using LogLines::kDrawnPrefix;
using LogLines::ParseDrawn;

struct DrawnList {
    std::string file;
    std::size_t line_number;
    std::string line;
    std::vector<int> numbers;
};

} // namespace

struct LogVerifier::State {
    Result result;
    std::string file;
    std::size_t line_number = 0;
    // The game between its commitment and its reveal.
    bool open = false;
    std::string commitment;
    std::vector<DrawnList> lists;
    std::set<std::string> verified;

    void Fail(const std::string& line, std::string reason) {
        if (!result.ok)
            return;
        result.ok = false;
        result.file = file;
        result.line_number = line_number;
        result.line = line;
        result.reason = std::move(reason);
    }

    void Abandon() {
        // A game committed and never revealed: its lists cannot be checked.
        if (open) {
            ++result.not_revealed;
            result.lists_unchecked += lists.size();
        }
        open = false;
        lists.clear();
        commitment.clear();
    }

    void Message(const std::string& line, std::string_view message) {
        if (message.substr(0, LogLines::kCommitmentPrefix.size()) == LogLines::kCommitmentPrefix) {
            const std::string_view digest = message.substr(LogLines::kCommitmentPrefix.size());
            if (!IsHexDigest(digest)) {
                Fail(line, "the commitment is not 64 lower-case hexadecimal digits");
                return;
            }
            Abandon();
            open = true;
            commitment = std::string(digest);
        } else if (message.substr(0, kDrawnPrefix.size()) == kDrawnPrefix) {
            const auto numbers = ParseDrawn(message.substr(kDrawnPrefix.size()));
            if (!numbers) {
                Fail(line, "the drawn numbers are not a list of numbers");
                return;
            }
            if (open)
                lists.push_back({file, line_number, line, *numbers});
            else
                ++result.lists_unchecked;
        } else if (message.substr(0, LogLines::kRevealPrefix.size()) == LogLines::kRevealPrefix) {
            Reveal(line, message.substr(LogLines::kRevealPrefix.size()));
        }
    }

    void Reveal(const std::string& line, std::string_view text) {
        const auto reveal = DrawCommitment::ParseReveal(text);
        if (!reveal) {
            Fail(line, "the reveal is not a nonce and a list of numbers");
            return;
        }
        if (!IsPermutation(reveal->sequence)) {
            Fail(line, "the revealed sequence is not an order of the numbers 1 to " +
                           std::to_string(reveal->sequence.size()));
            return;
        }
        const std::string digest = DrawCommitment::Commitment(reveal->sequence, reveal->nonce);
        if (!open) {
            // Revealed again after a restart, or committed in an earlier log.
            if (verified.count(digest) != 0)
                ++result.repeated_reveals;
            else
                ++result.reveals_without;
            return;
        }
        if (digest != commitment) {
            Fail(line,
                 "the revealed sequence and nonce do not give the game's commitment " + commitment);
            return;
        }
        for (const DrawnList& list : lists) {
            const bool prefix =
                list.numbers.size() <= reveal->sequence.size() &&
                std::equal(list.numbers.begin(), list.numbers.end(), reveal->sequence.begin());
            if (!prefix) {
                // Reported at the winner's line: that is the line that does not hold.
                const std::string revealedAt =
                    (list.file == file || file.empty() ? std::string() : file + ", ") + "line " +
                    std::to_string(line_number);
                file = list.file;
                line_number = list.line_number;
                Fail(list.line, "a winner's drawn numbers are not the start of the revealed "
                                "sequence of " +
                                    revealedAt);
                return;
            }
        }
        ++result.games_verified;
        result.lists_checked += lists.size();
        verified.insert(digest);
        open = false;
        lists.clear();
        commitment.clear();
    }
};

LogVerifier::LogVerifier() : state_(std::make_unique<State>()) {}
LogVerifier::~LogVerifier() = default;

bool LogVerifier::SplitLine(const std::string& line, std::string* message) {
    auto split = LogLines::Split(line);
    if (!split)
        return false;
    *message = std::move(split->message);
    return true;
}

void LogVerifier::Feed(std::istream& in, const std::string& name) {
    if (!state_->result.ok)
        return;
    state_->file = name;
    state_->line_number = 0;
    std::string line;
    std::string message;
    while (std::getline(in, line)) {
        ++state_->line_number;
        if (!state_->result.ok)
            continue;
        if (SplitLine(line, &message))
            state_->Message(line, message);
    }
}

LogVerifier::Result LogVerifier::Finish() {
    if (state_->result.ok)
        state_->Abandon();
    return state_->result;
}

} // namespace zorvi
