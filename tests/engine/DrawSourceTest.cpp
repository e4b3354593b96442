#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ChaCha20.h"
#include "DrawSource.h"
#include "Helpers.h"
#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "Sha256.h"

namespace zorvi {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// ---- SHA-256: the FIPS 180-4 examples --------------------------------------------------------

struct HashCase {
    const char* name;
    std::string message;
    const char* digest;
};

class Sha256Test : public ::testing::TestWithParam<HashCase> {};

TEST_P(Sha256Test, GivesThePublishedDigest) {
    const HashCase& c = GetParam();
    EXPECT_EQ(Sha256::HexOf(c.message), c.digest);
    // Fed in uneven pieces, the digest is the same.
    Sha256 pieces;
    for (std::size_t at = 0, step = 1; at < c.message.size(); at += step, step = step % 97 + 1)
        pieces.Update(std::string_view(c.message).substr(at, step));
    const Sha256::Digest digest = pieces.Finish();
    EXPECT_EQ(HexText(digest.data(), digest.size()), c.digest);
}

INSTANTIATE_TEST_SUITE_P(
    Fips180, Sha256Test,
    ::testing::Values(
        HashCase{"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        HashCase{"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        HashCase{"twoBlocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                 "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        HashCase{"millionA", std::string(1000000, 'a'),
                 "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}),
    [](const auto& info) { return std::string(info.param.name); });

#ifdef __linux__
// An independent implementation agrees on messages of every length around the block edges.
TEST(Sha256, AgreesWithSha256sum) {
    for (const std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u}) {
        std::string message;
        for (std::size_t i = 0; i < length; ++i)
            message += static_cast<char>('!' + (i * 7) % 90);
        const std::string path = ::testing::TempDir() + "sha_input.txt";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(message.data(), 1, message.size(), file);
        std::fclose(file);
        std::FILE* pipe = ::popen(("sha256sum " + path).c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char out[65] = {};
        const std::size_t got = std::fread(out, 1, 64, pipe);
        ::pclose(pipe);
        if (got != 64)
            GTEST_SKIP() << "sha256sum is not available";
        EXPECT_EQ(Sha256::HexOf(message), std::string(out, 64)) << length;
    }
}
#endif

// ---- ChaCha20: RFC 8439 ---------------------------------------------------------------------

ChaCha20::Key CountingKey() {
    ChaCha20::Key key{};
    for (std::size_t i = 0; i < key.size(); ++i)
        key[i] = static_cast<std::uint8_t>(i);
    return key;
}

TEST(ChaCha20, BlockFunctionVector) { // RFC 8439 2.3.2
    const ChaCha20::Nonce nonce = {0, 0, 0, 9, 0, 0, 0, 0x4a, 0, 0, 0, 0};
    ChaCha20 stream(CountingKey(), nonce, 1);
    const ChaCha20::Block block = stream.NextBlock();
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.end()),
              Bytes("10f1e7e4d13b5915500fdd1fa32071c4c7d1f4c733c068030422aa9ac3d46c4e"
                    "d2826446079faa0914c2d705d98b02a2b5129cd1de164eb9cbd083e8a2503c4e"));
}

TEST(ChaCha20, EncryptionVector) { // RFC 8439 2.4.2, two blocks and a part
    const ChaCha20::Nonce nonce = {0, 0, 0, 0, 0, 0, 0, 0x4a, 0, 0, 0, 0};
    const std::string plain = "Ladies and Gentlemen of the class of '99: If I could offer you "
                              "only one tip for the future, sunscreen would be it.";
    std::vector<std::uint8_t> data(plain.begin(), plain.end());
    ChaCha20(CountingKey(), nonce, 1).Apply(data.data(), data.size());
    EXPECT_EQ(data, Bytes("6e2e359a2568f98041ba0728dd0d6981e97e7aec1d4360c20a27afccfd9fae0b"
                          "f91b65c5524733ab8f593dabcd62b3571639d624e65152ab8f530c359f0861d8"
                          "07ca0dbf500d6a6156a38e088a22b65e52bc514d16ccf806818ce91ab7793736"
                          "5af90bbf74a35be6b40b8eedf2785e42874d"));
}

TEST(ChaCha20, ZeroKeyVector) { // RFC 8439 A.1, test vector 1
    const ChaCha20::Block block = ChaCha20(ChaCha20::Key{}, ChaCha20::Nonce{}, 0).NextBlock();
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.end()),
              Bytes("76b8e0ada0f13d90405d6ae55386bd28bdd219b8a08ded1aa836efcc8b770dc7"
                    "da41597c5157488d7724e03fb8d84a376a43b8f41518a11cc387b669b2ee6586"));
}

// ---- Uniform integers without modulo bias ----------------------------------------------------

// A byte stream that hands out scripted 32-bit words (little-endian), then zeros.
class ScriptedSource final : public ByteStreamSource {
public:
    explicit ScriptedSource(std::deque<std::uint32_t> words) : words_(std::move(words)) {}
    int refills = 0;

protected:
    void Refill(std::uint8_t* data, std::size_t size) override {
        ++refills;
        for (std::size_t i = 0; i + 4 <= size; i += 4) {
            std::uint32_t word = 0;
            if (!words_.empty()) {
                word = words_.front();
                words_.pop_front();
            }
            for (std::size_t k = 0; k < 4; ++k)
                data[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
        }
    }

private:
    std::deque<std::uint32_t> words_;
};

struct RejectCase {
    int n;
    std::uint32_t firstUsable; // 2^32 - (2^32 mod n) - 1: the largest word kept
};

class UniformBelowTest : public ::testing::TestWithParam<RejectCase> {};

// Words in the short last stretch of the 32-bit range are thrown away, the word at its edge is
// kept: every result is then reached by the same number of words.
TEST_P(UniformBelowTest, RejectsTheShortLastStretch) {
    const RejectCase c = GetParam();
    ScriptedSource source({c.firstUsable + 1, 0xffffffffu, c.firstUsable, 7});
    const auto n = static_cast<std::uint32_t>(c.n);
    if (c.firstUsable == 0xffffffffu) {
        // n divides 2^32: nothing is thrown away.
        EXPECT_EQ(source.UniformBelow(c.n), static_cast<int>(0u % n));
        return;
    }
    EXPECT_EQ(source.UniformBelow(c.n), static_cast<int>(c.firstUsable % n));
    EXPECT_EQ(source.UniformBelow(c.n), static_cast<int>(7 % n));
}

INSTANTIATE_TEST_SUITE_P(Ranges, UniformBelowTest,
                         ::testing::Values(RejectCase{75, 4294967249u}, // 2^32 mod 75 = 46
                                           RejectCase{90, 4294967219u}, // 2^32 mod 90 = 76
                                           RejectCase{3, 4294967294u},
                                           RejectCase{1 << 30, 0xffffffffu}));

TEST(UniformBelow, OneIsAlwaysZeroAndBadRangesGiveZero) {
    KeyedSource source({});
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(source.UniformBelow(1), 0);
    EXPECT_EQ(source.UniformBelow(0), 0);
    EXPECT_EQ(source.UniformBelow(-5), 0);
}

TEST(UniformBelow, LargestRangeStaysInside) {
    KeyedSource source({1});
    for (int i = 0; i < 1000; ++i) {
        const int r = source.UniformBelow(0x7fffffff);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 0x7fffffff);
    }
}

// ---- The sources -----------------------------------------------------------------------------

std::vector<int> Game(DrawSource& source, int n) {
    return Helpers::ShuffledSequence(source, n);
}

TEST(KeyedSource, SameKeySameGamesOtherKeyOtherGames) {
    const std::uint8_t key[32] = {42};
    const std::uint8_t other[32] = {43};
    KeyedSource a(key), b(key), c(other);
    for (int game = 0; game < 20; ++game) {
        const std::vector<int> first = Game(a, 90);
        EXPECT_EQ(first, Game(b, 90));
        EXPECT_NE(first, Game(c, 90));
    }
}

TEST(KeyedSource, StreamIsTheChaCha20KeyStream) {
    std::uint8_t key[32];
    for (std::size_t i = 0; i < 32; ++i)
        key[i] = static_cast<std::uint8_t>(i);
    KeyedSource source(key);
    ChaCha20::Key chachaKey;
    std::copy(std::begin(key), std::end(key), chachaKey.begin());
    ChaCha20 stream(chachaKey, ChaCha20::Nonce{}, 0);
    // Across the source's own buffer refills.
    for (int block = 0; block < 20; ++block) {
        const ChaCha20::Block expected = stream.NextBlock();
        for (std::size_t i = 0; i < 64; i += 4) {
            const std::uint32_t word = expected[i] | expected[i + 1] << 8 | expected[i + 2] << 16 |
                                       std::uint32_t(expected[i + 3]) << 24;
            ASSERT_EQ(source.NextWord(), word) << block << " " << i;
        }
    }
}

struct KeyTextCase {
    std::string text;
    bool valid;
};

class KeyTextTest : public ::testing::TestWithParam<KeyTextCase> {};

TEST_P(KeyTextTest, OnlySixtyFourHexDigits) {
    const KeyTextCase& c = GetParam();
    std::uint8_t key[32] = {9};
    EXPECT_EQ(KeyedSource::ParseKey(c.text.data(), c.text.size(), key), c.valid);
    if (c.valid) {
        EXPECT_EQ(key[0], 0x01);
        EXPECT_EQ(key[31], 0xef);
    } else {
        EXPECT_EQ(key[0], 9); // untouched
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, KeyTextTest,
    ::testing::Values(
        KeyTextCase{"0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef", true},
        KeyTextCase{"0123456789ABCDEF0123456789abcdef0123456789abcdef0123456789ABCDEF", true},
        KeyTextCase{"0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcde", false},
        KeyTextCase{"0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef0", false},
        KeyTextCase{"0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdeg", false},
        KeyTextCase{"", false}));

TEST(OsRandomSource, TwoSourcesStartedTogetherDiffer) {
    OsRandomSource a, b;
    // 90! orders: two equal games from two sources would mean a broken generator.
    EXPECT_NE(Game(a, 90), Game(b, 90));
    EXPECT_NE(Game(a, 90), Game(a, 90));
    std::uint8_t x[16] = {}, y[16] = {};
    a.FillBytes(x, sizeof x);
    b.FillBytes(y, sizeof y);
    EXPECT_FALSE(std::equal(std::begin(x), std::end(x), std::begin(y)));
}

TEST(OsRandomSource, BytesLookRandomAcrossRefills) {
    OsRandomSource source;
    std::vector<std::uint8_t> bytes(64 * 1024);
    source.FillBytes(bytes.data(), 100); // leaves the buffer at an odd place
    source.FillBytes(bytes.data(), bytes.size());
    std::array<int, 256> counts{};
    for (const std::uint8_t b : bytes)
        ++counts[b];
    // 256 each on average; a stuck or zero-filled source is far outside.
    for (const int count : counts) {
        EXPECT_GT(count, 150);
        EXPECT_LT(count, 380);
    }
}

// ---- The shuffle -----------------------------------------------------------------------------

// Every one of the 24 orders of four entries comes out, in near-equal shares.
TEST(ShuffleSequence, ReachesEveryOrderOfFour) {
    KeyedSource source({7});
    std::map<std::vector<int>, int> seen;
    for (int i = 0; i < 24000; ++i) {
        std::vector<int> list = {1, 2, 3, 4};
        Helpers::ShuffleSequence(source, list);
        ++seen[list];
    }
    ASSERT_EQ(seen.size(), 24u);
    for (const auto& [order, count] : seen) {
        EXPECT_GT(count, 800);
        EXPECT_LT(count, 1200);
    }
}

// A source that breaks its range cannot make the shuffle leave the list.
class OutOfRangeSource final : public DrawSource {
public:
    int UniformBelow(int n) override { return n + 1000; }
    void FillBytes(std::uint8_t* data, std::size_t size) override { std::fill_n(data, size, 0); }
};

TEST(ShuffleSequence, StaysInsideWithABrokenSource) {
    OutOfRangeSource source;
    std::vector<int> list = Game(source, 75);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, Helpers::MakeNumberSequence(75));
}

// The 15-bit seam still gives the known game through the state's reset.
TEST(ProgramStateSource, ResetWithSeedOneStartsWithTheKnownNumbers) {
    Random15 generator(1);
    Settings settings{Settings::NoLoad{}};
    settings.max_called_numbers = 75;
    ProgramState state(generator);
    state.AttachSettings(settings);
    state.ResetGame();
    ASSERT_GE(state.randomizer_numbers.size(), 5u);
    EXPECT_EQ(
        std::vector<int>(state.randomizer_numbers.begin(), state.randomizer_numbers.begin() + 5),
        (std::vector<int>{65, 60, 36, 64, 16}));
    EXPECT_TRUE(state.commitment_nonce.empty());
    state.NewCommitment();
    EXPECT_EQ(state.commitment_nonce.size(), 32u);
}

} // namespace
} // namespace zorvi
