#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "DrawCommitment.h"
#include "ProgramState.h"
#include "Random.h"

namespace zorvi {
namespace {

const std::string kNonce = "00112233445566778899aabbccddeeff";

// The documented example: anyone can recompute it with
//   printf '%s' 'zorvi-draw-v1:5:3,1,5,2,4:00112233445566778899aabbccddeeff' | sha256sum
TEST(DrawCommitment, EncodingAndDigestOfTheDocumentedExample) {
    const std::vector<int> sequence = {3, 1, 5, 2, 4};
    EXPECT_EQ(DrawCommitment::Encode(sequence, kNonce),
              "zorvi-draw-v1:5:3,1,5,2,4:00112233445566778899aabbccddeeff");
    EXPECT_EQ(DrawCommitment::Commitment(sequence, kNonce),
              "e1fe467e7c3680e87c791c4ec4a54db0d84f6ad287a42b6d51aef4049d492799");
}

TEST(DrawCommitment, AnyChangeChangesTheCommitment) {
    const std::vector<int> sequence = {3, 1, 5, 2, 4};
    const std::string base = DrawCommitment::Commitment(sequence, kNonce);
    EXPECT_NE(DrawCommitment::Commitment({1, 3, 5, 2, 4}, kNonce), base);
    EXPECT_NE(DrawCommitment::Commitment({3, 1, 5, 2}, kNonce), base);
    EXPECT_NE(DrawCommitment::Commitment(sequence, "10112233445566778899aabbccddeeff"), base);
}

TEST(DrawCommitment, StateWithoutNonceHasNoCommitment) {
    Random15 generator(1);
    ProgramState state(generator);
    state.randomizer_numbers = {3, 1, 5, 2, 4};
    EXPECT_EQ(DrawCommitment::Commitment(state), "");
    EXPECT_EQ(DrawCommitment::PageText(state), "");
    state.commitment_nonce = kNonce;
    EXPECT_EQ(DrawCommitment::PageText(state), "e1fe467e7c3680e8");
    EXPECT_EQ(DrawCommitment::CommitmentMessage(state),
              "Game commitment: e1fe467e7c3680e87c791c4ec4a54db0d84f6ad287a42b6d51aef4049d492799");
    EXPECT_EQ(DrawCommitment::RevealMessage(state),
              "Game reveal: 00112233445566778899aabbccddeeff 3,1,5,2,4");
}

TEST(DrawCommitment, FreshNoncesDiffer) {
    Random15 generator(5);
    const std::string a = DrawCommitment::NewNonce(generator);
    EXPECT_TRUE(DrawCommitment::IsNonce(a));
    EXPECT_NE(a, DrawCommitment::NewNonce(generator));
}

struct RevealCase {
    const char* name;
    std::string text;
    std::optional<std::vector<int>> sequence;
};

class ParseRevealTest : public ::testing::TestWithParam<RevealCase> {};

TEST_P(ParseRevealTest, ReadsOnlyAWellFormedReveal) {
    const RevealCase& c = GetParam();
    const auto reveal = DrawCommitment::ParseReveal(c.text);
    ASSERT_EQ(reveal.has_value(), c.sequence.has_value());
    if (reveal) {
        EXPECT_EQ(reveal->nonce, kNonce);
        EXPECT_EQ(reveal->sequence, *c.sequence);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseRevealTest,
    ::testing::Values(RevealCase{"plain", kNonce + " 3,1,5,2,4", std::vector<int>{3, 1, 5, 2, 4}},
                      RevealCase{"carriageReturn", kNonce + " 7,8\r", std::vector<int>{7, 8}},
                      RevealCase{"single", kNonce + " 9", std::vector<int>{9}},
                      RevealCase{"noNumbers", kNonce + " ", std::nullopt},
                      RevealCase{"noBlank", kNonce, std::nullopt},
                      RevealCase{"shortNonce", "0011 3,1", std::nullopt},
                      RevealCase{"emptyPiece", kNonce + " 3,,1", std::nullopt},
                      RevealCase{"trailingComma", kNonce + " 3,1,", std::nullopt},
                      RevealCase{"letter", kNonce + " 3,x", std::nullopt},
                      RevealCase{"negative", kNonce + " -3", std::nullopt},
                      RevealCase{"huge", kNonce + " 99999999999999999999", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvi
