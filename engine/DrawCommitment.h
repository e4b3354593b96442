#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvi {

class DrawSource;
class ProgramState;

// The commitment to a game's draw sequence that the game log and the public screen show before
// the first number, and the reveal that lets anyone check it once the sequence is discarded.
//
// Canonical encoding (ASCII, no line end), hashed with SHA-256:
//     zorvi-draw-v1:<N>:<n1>,<n2>,...,<nN>:<nonce>
// N and the numbers in decimal without leading zeros, the numbers in draw order, the nonce as
// 32 lower-case hexadecimal digits (128 bits from the draw source).
namespace DrawCommitment {

inline constexpr std::size_t kNonceBytes = 16;
// The public screen shows the first 16 hex digits of the commitment.
inline constexpr std::size_t kPageDigits = 16;

// 32 lower-case hex digits of fresh randomness.
std::string NewNonce(DrawSource& source);
bool IsNonce(std::string_view text);

std::string Encode(const std::vector<int>& sequence, std::string_view nonce);
// SHA-256 of the encoding, 64 lower-case hex digits.
std::string Commitment(const std::vector<int>& sequence, std::string_view nonce);

// The game's commitment, or empty when it has none (a game from an older state file).
std::string Commitment(const ProgramState& state);
// What the page's reset gets: the first 16 digits, or empty.
std::string PageText(const ProgramState& state);

// "Game commitment: <64 hex>" and "Game reveal: <nonce> <n1>,<n2>,...".
std::string CommitmentMessage(const ProgramState& state);
std::string RevealMessage(const ProgramState& state);

struct Reveal {
    std::string nonce;
    std::vector<int> sequence;
};
// The text after "Game reveal: "; nothing when it is not a nonce, a blank and a list of
// decimal numbers separated by commas.
std::optional<Reveal> ParseReveal(std::string_view text);

} // namespace DrawCommitment
} // namespace zorvi
