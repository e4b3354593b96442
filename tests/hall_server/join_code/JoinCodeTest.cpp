#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "JoinCode.h"

namespace zorvi {
namespace {

// Draws the code as a greyscale picture with the white margin a reader needs.
void WritePgm(const JoinCode& code, const std::filesystem::path& file) {
    constexpr int kScale = 6;
    constexpr int kQuiet = 4;
    const int side = (code.size + 2 * kQuiet) * kScale;
    std::ofstream out(file, std::ios::binary);
    out << "P5\n" << side << ' ' << side << "\n255\n";
    for (int py = 0; py < side; ++py)
        for (int px = 0; px < side; ++px)
            out.put(code.Dark(px / kScale - kQuiet, py / kScale - kQuiet) ? '\0' : '\xff');
}

// A real reader (zbar, as a phone's camera app would) reads the picture back.
std::string Decode(const std::filesystem::path& file) {
    const std::string command =
        "zbarimg --quiet --raw -Sdisable -Sqrcode.enable '" + file.string() + "' 2>/dev/null";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        std::size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, n);
        pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

class JoinCodeReads : public testing::TestWithParam<std::string> {};

TEST_P(JoinCodeReads, ReaderGetsTheAddressBack) {
    const std::string& url = GetParam();
    const auto code = JoinCode::Encode(url);
    ASSERT_TRUE(code.has_value());
    // A QR symbol is 21 modules for version 1 and grows by 4 per version up to 177.
    EXPECT_GE(code->size, 21);
    EXPECT_LE(code->size, 177);
    EXPECT_EQ((code->size - 17) % 4, 0);
    ASSERT_EQ(code->modules.size(), static_cast<std::size_t>(code->size * code->size));
    EXPECT_EQ(code->modules.find_first_not_of("01"), std::string::npos);
    // The finder pattern's dark corner in three corners, none in the fourth.
    EXPECT_TRUE(code->Dark(0, 0));
    EXPECT_TRUE(code->Dark(code->size - 1, 0));
    EXPECT_TRUE(code->Dark(0, code->size - 1));
    EXPECT_FALSE(code->Dark(7, 7));

    const std::filesystem::path file =
        testing::TempDir() + "zorvi-join-" + std::to_string(std::hash<std::string>{}(url)) + ".pgm";
    WritePgm(*code, file);
    EXPECT_EQ(Decode(file), url);
    std::filesystem::remove(file);
}

INSTANTIATE_TEST_SUITE_P(Addresses, JoinCodeReads,
                         testing::Values(std::string("http://192.168.1.10:8765/"),
                                         std::string("http://10.0.0.2:1024/"),
                                         std::string("http://[fe80::1a2b:3c4d:5e6f:7a8b]:65535/"),
                                         std::string("http://bingo-hall.local:8765/fi/"),
                                         // Longer than any address: the symbol just grows.
                                         "http://172.16.254.254:8765/" + std::string(300, 'a')),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return "address" + std::to_string(info.index);
                         });

TEST(JoinCode, NothingToEncodeGivesNoCode) {
    EXPECT_FALSE(JoinCode::Encode("").has_value());
    EXPECT_FALSE(JoinCode::Encode(std::string("http://a\0b/", 11)).has_value());
    EXPECT_FALSE(JoinCode::Encode(std::string(1025, 'x')).has_value());
    EXPECT_TRUE(JoinCode::Encode(std::string(1024, 'x')).has_value());
}

TEST(JoinCode, OutsideTheSymbolIsLight) {
    const auto code = JoinCode::Encode("http://192.168.1.10:8765/");
    ASSERT_TRUE(code.has_value());
    EXPECT_FALSE(code->Dark(-1, 0));
    EXPECT_FALSE(code->Dark(0, -1));
    EXPECT_FALSE(code->Dark(code->size, 0));
    EXPECT_FALSE(code->Dark(0, code->size));
    EXPECT_FALSE(JoinCode{}.Dark(0, 0));
}

} // namespace
} // namespace zorvi
