// zorvi-draws as a tester runs it: collect through the program's shuffle, argument errors,
// the statistics table. Its verify command is tested on a real game log in tests/engine/commands.
// It runs the tool through a POSIX pipe, so not in the Windows build.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "DrawSource.h"
#include "Helpers.h"

namespace zorvi {
namespace {

const std::string kKey = "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f";

struct ToolRun {
    int status = -1;
    std::string out;
};

// The tool with these arguments; its standard output, standard error thrown away.
ToolRun Draws(const std::string& args) {
    const std::string command = std::string("'") + ZORVI_DRAWS_TOOL + "' " + args + " 2>/dev/null";
    ToolRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[65536];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Joined(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        text += (i ? " " : "") + std::to_string(numbers[i]);
    return text;
}

// With a key, the games are exactly those the program's shuffle makes from the keyed source.
TEST(DrawsTool, CollectWithKeyIsTheProgramsShuffle) {
    for (const int n : {75, 90}) {
        const ToolRun run =
            Draws("collect --numbers " + std::to_string(n) + " --games 300 --key " + kKey);
        ASSERT_EQ(run.status, 0);
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 300u);
        std::uint8_t key[32];
        ASSERT_TRUE(KeyedSource::ParseKey(kKey.data(), kKey.size(), key));
        KeyedSource source(key);
        for (const std::string& line : lines)
            ASSERT_EQ(line, Joined(Helpers::ShuffledSequence(source, n)));
        EXPECT_EQ(
            run.out,
            Draws("collect --numbers " + std::to_string(n) + " --games 300 --key " + kKey).out);
    }
}

TEST(DrawsTool, CollectWithoutKeyDiffersEveryRun) {
    const ToolRun a = Draws("collect --numbers 90 --games 3");
    const ToolRun b = Draws("collect --numbers 90 --games 3");
    ASSERT_EQ(a.status, 0);
    ASSERT_EQ(b.status, 0);
    EXPECT_EQ(Lines(a.out).size(), 3u);
    EXPECT_NE(a.out, b.out);
    EXPECT_EQ(Draws("collect --numbers 75 --games 0").out, "");
}

struct ArgumentCase {
    const char* name;
    const char* args;
};

class DrawsArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(DrawsArguments, WrongArgumentsExitTwoWithoutOutput) {
    const ToolRun run = Draws(GetParam().args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawsArguments,
    ::testing::Values(
        ArgumentCase{"noCommand", ""}, ArgumentCase{"unknownCommand", "shuffle"},
        ArgumentCase{"numbers80", "collect --numbers 80 --games 1"},
        ArgumentCase{"noGames", "collect --numbers 75"},
        ArgumentCase{"negativeGames", "collect --numbers 75 --games -1"},
        ArgumentCase{"hugeGames", "collect --numbers 75 --games 999999999999"},
        ArgumentCase{"shortKey", "collect --numbers 75 --games 1 --key 00ff"},
        ArgumentCase{"keyNotHex",
                     "collect --numbers 75 --games 1 --key "
                     "zz0102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f"},
        ArgumentCase{"extraArgument", "collect --numbers 75 --games 1 extra"},
        ArgumentCase{"unknownOption", "stats --numbers 75 --games 1 --seed 3"},
        ArgumentCase{"verifyNothing", "verify"},
        ArgumentCase{"verifyMissingFile", "verify /nonexistent/zorvi.log"},
        ArgumentCase{"verifyMissingSeries", "verify /dev/null --series /nonexistent/kup75.hex"},
        ArgumentCase{"verifySeriesWithoutFile", "verify /dev/null --series"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrawsTool, StatsPrintsATableOfFiveTests) {
    const ToolRun run = Draws("stats --numbers 75 --games 2000 --key " + kKey);
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 7u) << run.out;
    EXPECT_NE(lines[2].find("| 75 | 2000 | number x position | "), std::string::npos);
    EXPECT_NE(lines[2].find(" | 5476 | "), std::string::npos);
    EXPECT_NE(lines[6].find("runs"), std::string::npos);
}

} // namespace
} // namespace zorvi
#endif
