#include "DrawCommitment.h"

#include <cstdint>

#include "DrawSource.h"
#include "LogLines.h"
#include "ProgramState.h"
#include "Sha256.h"

namespace zorvi::DrawCommitment {

namespace {

std::string JoinNumbers(const std::vector<int>& sequence) {
    std::string text;
    text.reserve(sequence.size() * 3);
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        if (i != 0)
            text += ',';
        text += std::to_string(sequence[i]);
    }
    return text;
}

} // namespace

std::string NewNonce(DrawSource& source) {
    std::uint8_t bytes[kNonceBytes];
    source.FillBytes(bytes, sizeof bytes);
    return HexText(bytes, sizeof bytes);
}

bool IsNonce(std::string_view text) {
    if (text.size() != kNonceBytes * 2)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

std::string Encode(const std::vector<int>& sequence, std::string_view nonce) {
    std::string text = "zorvi-draw-v1:";
    text += std::to_string(sequence.size());
    text += ':';
    text += JoinNumbers(sequence);
    text += ':';
    text += nonce;
    return text;
}

std::string Commitment(const std::vector<int>& sequence, std::string_view nonce) {
    return Sha256::HexOf(Encode(sequence, nonce));
}

std::string Commitment(const ProgramState& state) {
    if (!IsNonce(state.commitment_nonce) || state.randomizer_numbers.empty())
        return {};
    return Commitment(state.randomizer_numbers, state.commitment_nonce);
}

std::string PageText(const ProgramState& state) {
    return Commitment(state).substr(0, kPageDigits);
}

std::string CommitmentMessage(const ProgramState& state) {
    return std::string(LogLines::kCommitmentPrefix) + Commitment(state);
}

std::string RevealMessage(const ProgramState& state) {
    return std::string(LogLines::kRevealPrefix) + state.commitment_nonce + ' ' +
           JoinNumbers(state.randomizer_numbers);
}

std::optional<Reveal> ParseReveal(std::string_view text) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos || !IsNonce(text.substr(0, blank)))
        return std::nullopt;
    Reveal reveal;
    reveal.nonce = std::string(text.substr(0, blank));
    std::string_view rest = text.substr(blank + 1);
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' '))
        rest.remove_suffix(1);
    std::int64_t value = -1;
    for (const char c : rest) {
        if (c >= '0' && c <= '9') {
            value = (value < 0 ? 0 : value) * 10 + (c - '0');
            if (value > 1000000)
                return std::nullopt;
        } else if (c == ',' && value >= 0) {
            reveal.sequence.push_back(static_cast<int>(value));
            value = -1;
        } else {
            return std::nullopt;
        }
    }
    if (value < 0)
        return std::nullopt;
    reveal.sequence.push_back(static_cast<int>(value));
    return reveal;
}

} // namespace zorvi::DrawCommitment
