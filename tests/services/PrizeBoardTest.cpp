#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageGameRecord.h"
#include "PrizeBoardJson.h"

namespace zorvi {
namespace {

const std::string kEuro = "\xE2\x82\xAC"; // three bytes

PagePrizeBoard SomeBoard() {
    PagePrizeBoard b;
    b.game = 3;
    b.games = 12;
    b.name = "Kevät \"Big\" \\ game";
    b.stage = 1;
    b.stages = 2;
    b.pattern = PagePattern{{"Rivi", "Rad", "Line"}, 25, {31u, 992u}};
    b.prize = "20 " + kEuro;
    b.jackpotWithin = 48;
    b.jackpotPrize = "500 " + kEuro;
    b.called = 12;
    b.next = {PageNextGame{4, "Ilta", {{"Rivi", "Rad", "Line"}, {"Täysi", "Full", "Full"}}, "50"}};
    return b;
}

// The one text both page kinds send: every field under its own name, texts escaped.
TEST(PrizeBoardJson, CarriesEveryFieldUnderItsName) {
    EXPECT_EQ(PrizeBoardJson(SomeBoard()),
              "{\"game\":3,\"games\":12,\"name\":\"Kevät \\\"Big\\\" \\\\ game\","
              "\"numberCount\":75,\"between\":false,\"stage\":1,\"stages\":2,"
              "\"pattern\":{\"name\":{\"fi\":\"Rivi\",\"sv\":\"Rad\",\"en\":\"Line\"},"
              "\"squares\":25,\"masks\":[31,992]},\"prize\":\"20 " +
                  kEuro + "\",\"jackpotWithin\":48,\"jackpotPrize\":\"500 " + kEuro +
                  "\",\"called\":12,\"next\":[{\"number\":4,\"name\":\"Ilta\",\"stages\":["
                  "{\"fi\":\"Rivi\",\"sv\":\"Rad\",\"en\":\"Line\"},"
                  "{\"fi\":\"Täysi\",\"sv\":\"Full\",\"en\":\"Full\"}],\"prize\":\"50\"}]}");
    PagePrizeBoard none;
    EXPECT_EQ(PrizeBoardJson(none).substr(0, 10), "{\"game\":0,");
}

// What a kept board may carry, whatever it was given.
TEST(PrizeBoardBounds, KeptBoardIsBounded) {
    const PagePrizeBoard good = SomeBoard();
    EXPECT_EQ(PageGameRecord::BoundedBoard(good), good);

    PagePrizeBoard hostile = good;
    hostile.name = std::string(5000, 'x');
    hostile.prize = std::string(1000, 'a');
    hostile.jackpotPrize.clear();
    for (int i = 0; i < 100; ++i)
        hostile.jackpotPrize += kEuro;
    hostile.pattern.name.sv = "a\x01"
                              "b\x7f"
                              "c\xC2\x85"
                              "d\n";
    hostile.pattern.name.en = "ok\xFF\xC3"
                              "x\xE2\x82";            // stray and cut-off bytes
    hostile.pattern.name.fi = "\xC0\xAF\xED\xA0\x80"; // an overlong '/' and a surrogate
    hostile.pattern.squares = 20;
    hostile.pattern.masks.assign(40, 0xFFFFFFFFu);
    hostile.next.assign(9, PageNextGame{7, std::string(300, 'n'),
                                        std::vector<PageTexts>(50, PageTexts{"a", "b", "c"}), "p"});
    hostile.games = 1 << 30;
    hostile.stage = -5;
    hostile.jackpotWithin = 1000;
    hostile.called = -1;
    hostile.numberCount = 12;
    const PagePrizeBoard b = PageGameRecord::BoundedBoard(hostile);
    EXPECT_EQ(b.name, std::string(PageGameRecord::kMaxBoardText, 'x'));
    EXPECT_EQ(b.prize.size(), PageGameRecord::kMaxBoardText);
    // Never cut inside a character: 66 euros, 198 bytes.
    EXPECT_EQ(b.jackpotPrize.size(), 198u);
    EXPECT_EQ(b.jackpotPrize.substr(195), kEuro);
    EXPECT_EQ(b.pattern.name.sv, "abcd");
    EXPECT_EQ(b.pattern.name.en, "ok\xEF\xBF\xBD\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(b.pattern.name.fi.find('/'), std::string::npos);
    EXPECT_EQ(b.pattern.name.fi.find("\xED\xA0"), std::string::npos);
    EXPECT_EQ(b.pattern.squares, 25);
    EXPECT_EQ(b.pattern.masks, std::vector<std::uint32_t>(PageGameRecord::kMaxMasks, 0x1FFFFFFu));
    ASSERT_EQ(b.next.size(), PageGameRecord::kMaxNextGames);
    EXPECT_EQ(b.next[0].name.size(), PageGameRecord::kMaxBoardText);
    EXPECT_EQ(b.next[0].stages.size(), PageGameRecord::kMaxNextStages);
    EXPECT_EQ(b.games, 9999);
    EXPECT_EQ(b.stage, 0);
    EXPECT_EQ(b.jackpotWithin, 90);
    EXPECT_EQ(b.called, 0);
    EXPECT_EQ(b.numberCount, 75);
    // A 90-number coupon's 15 squares keep their own bits only.
    hostile.pattern.squares = 15;
    EXPECT_EQ(PageGameRecord::BoundedBoard(hostile).pattern.masks.front(), 0x7FFFu);
    // The biggest board there can be (every text full of quotes, each escaped) stays a small
    // text beside the hall feed's megabyte per browser.
    const std::string quotes(1000, '"');
    const PageTexts full{quotes, quotes, quotes};
    PagePrizeBoard biggest = hostile;
    biggest.name = biggest.prize = biggest.jackpotPrize = quotes;
    biggest.pattern.name = full;
    biggest.next.assign(9, PageNextGame{1, quotes, std::vector<PageTexts>(50, full), quotes});
    EXPECT_LT(PrizeBoardJson(PageGameRecord::BoundedBoard(biggest)).size(), 40u * 1024);

    // No programme: nothing of it is kept.
    hostile.game = 0;
    EXPECT_EQ(PageGameRecord::BoundedBoard(hostile), PagePrizeBoard{});
    hostile.game = -3;
    EXPECT_EQ(PageGameRecord::BoundedBoard(hostile), PagePrizeBoard{});
}

} // namespace
} // namespace zorvi
