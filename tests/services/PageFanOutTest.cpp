#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "PageCatchUp.h"
#include "PageFanOut.h"
#include "PageGameRecord.h"

namespace zorvi {

inline void PrintTo(const PageGame& g, std::ostream* os) {
    *os << "{" << g.numberCount << " '" << g.commitment << "' [";
    for (int n : g.drawn)
        *os << n << ",";
    *os << "] row " << g.row;
    if (g.ticket)
        *os << " ticket " << g.ticket->couponNumber << (g.ticket->winner ? " win" : " lose");
    *os << " seal '" << g.seal << "' board " << g.board.game << "/" << g.board.games << "}";
}

namespace {

std::string Describe(const PageGame& g) {
    std::string text = "game " + std::to_string(g.numberCount) + " '" + g.commitment + "' [";
    for (std::size_t i = 0; i < g.drawn.size(); ++i)
        text += (i ? "," : "") + std::to_string(g.drawn[i]);
    text += "] row " + std::to_string(g.row);
    if (g.ticket)
        text += " ticket " + std::to_string(g.ticket->couponNumber);
    if (!g.seal.empty())
        text += " seal '" + g.seal + "'";
    if (g.board.game > 0)
        text += " board " + std::to_string(g.board.game) + "/" + std::to_string(g.board.games);
    return text;
}

// A page that writes down every call it gets and shows the game the way a page folds them.
class RecordingPage : public PageCalls {
public:
    void PageReset(int numberCount, const std::string& commitment) override {
        calls.push_back("reset " + std::to_string(numberCount) + " '" + commitment + "'");
        shown.Reset(numberCount, commitment);
        After();
    }
    void PageUpdateMainScreen(int currentNumber, int count, int row) override {
        calls.push_back("update " + std::to_string(currentNumber) + " " + std::to_string(count) +
                        " " + std::to_string(row));
        shown.Update(currentNumber, count, row);
        After();
    }
    void PageShowTicket(const PageTicket& ticket) override {
        calls.push_back("ticket " + std::to_string(ticket.couponNumber));
        shown.Ticket(ticket);
        After();
    }
    void PageShowGame(const PageGame& game) override {
        calls.push_back(Describe(game));
        shown.Replace(game);
        After();
    }
    void PageShowSeal(const std::string& seal) override {
        calls.push_back("seal '" + seal + "'");
        shown.Seal(seal);
        After();
    }
    void PageShowPrizeBoard(const PagePrizeBoard& board) override {
        calls.push_back("board " + std::to_string(board.game) + "/" + std::to_string(board.games));
        shown.Board(board);
        After();
    }

    std::vector<std::string> calls;
    PageGameRecord shown;
    // Runs once, inside the next call: nested work of a page that waits.
    std::function<void()> inside;

private:
    void After() {
        if (auto run = std::exchange(inside, nullptr))
            run();
    }
};

PageTicket Ticket(int coupon, bool winner = false) {
    return PageTicket{"1,2,3", "1,0,2", winner, coupon};
}

// One step of the game, as the operator window passes it on.
struct Step {
    enum Kind { Reset, Update, ShowTicket, ShowSeal, ShowBoard } kind;
    int a = 0, b = 0, c = 0;
    std::vector<int> drawn;
    std::string text; // the reset's commitment, or the seal
};

// The programme's game `game` of `games` (0: no programme), its first stage.
PagePrizeBoard Board(int game, int games) {
    PagePrizeBoard board;
    board.game = game;
    board.games = games;
    if (game > 0) {
        board.name = "Game " + std::to_string(game);
        board.stage = 1;
        board.stages = 2;
        board.pattern = PagePattern{{"Rivi", "Rad", "Line"}, 25, {0x1Fu, 0x3E0u}};
        board.prize = "20 \xE2\x82\xAC";
    }
    return board;
}

Step ResetStep(int n, std::string commitment = "") {
    return {Step::Reset, n, 0, 0, {}, std::move(commitment)};
}
Step Update(int current, int count, int row, std::vector<int> drawn) {
    return {Step::Update, current, count, row, std::move(drawn), {}};
}
Step TicketStep(int coupon) {
    return {Step::ShowTicket, coupon, 0, 0, {}, {}};
}
// A game has ended: its seal's first digits.
Step SealStep(std::string seal) {
    return {Step::ShowSeal, 0, 0, 0, {}, std::move(seal)};
}
Step BoardStep(int game, int games) {
    return {Step::ShowBoard, game, games, 0, {}, {}};
}

void Play(PageFanOut& pages, const Step& step) {
    switch (step.kind) {
    case Step::Reset:
        pages.PageReset(step.a, step.text);
        break;
    case Step::Update:
        pages.PageUpdateMainScreen(step.a, step.b, step.c, step.drawn);
        break;
    case Step::ShowTicket:
        pages.PageShowTicket(Ticket(step.a));
        break;
    case Step::ShowSeal:
        pages.PageShowSeal(step.text);
        break;
    case Step::ShowBoard:
        pages.PageShowPrizeBoard(Board(step.a, step.b));
        break;
    }
}

struct FanOutRow {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> calls; // what every page is sent
    PageGame game;                  // the game the fan-out keeps afterwards
};

class FanOutTable : public ::testing::TestWithParam<FanOutRow> {};

TEST_P(FanOutTable, EveryPageGetsTheCallsAndShowsTheGame) {
    const FanOutRow& row = GetParam();
    PageFanOut pages;
    RecordingPage first, second;
    pages.Register(&first);
    pages.Register(&second);
    for (const Step& step : row.steps) {
        Play(pages, step);
        // After every step each page shows exactly the game the fan-out keeps.
        EXPECT_EQ(first.shown.Game(), pages.Game());
        EXPECT_EQ(second.shown.Game(), pages.Game());
    }
    EXPECT_EQ(first.calls, row.calls);
    EXPECT_EQ(second.calls, row.calls);
    EXPECT_EQ(pages.Game(), row.game);

    // A page that comes now gets the same game in one call.
    RecordingPage late;
    pages.Register(&late);
    ASSERT_EQ(late.calls.size(), 1u);
    EXPECT_EQ(late.shown.Game(), row.game);
}

PageGame Game(int n, std::string commitment, std::vector<int> drawn, int row,
              std::optional<PageTicket> ticket = std::nullopt, std::string seal = "",
              PagePrizeBoard board = {}) {
    return PageGame{n,
                    std::move(commitment),
                    std::move(drawn),
                    row,
                    std::move(ticket),
                    std::move(seal),
                    std::move(board)};
}

const char* const kSeal = "1a2b3c4d5e6f7a8b";

INSTANTIATE_TEST_SUITE_P(
    Games, FanOutTable,
    ::testing::Values(
        FanOutRow{"Reset",
                  {ResetStep(75, "0123456789abcdef")},
                  {"reset 75 '0123456789abcdef'"},
                  Game(75, "0123456789abcdef", {}, 1)},
        FanOutRow{"NoNumberYet",
                  {ResetStep(75), Update(-1, 0, 1, {})},
                  {"reset 75 ''", "update -1 0 1"},
                  Game(75, "", {}, 1)},
        FanOutRow{"Draws",
                  {ResetStep(75), Update(7, 1, 1, {7}), Update(61, 2, 1, {7, 61}),
                   Update(3, 3, 1, {7, 61, 3})},
                  {"reset 75 ''", "update 7 1 1", "update 61 2 1", "update 3 3 1"},
                  Game(75, "", {7, 61, 3}, 1)},
        FanOutRow{"CancelBack",
                  {ResetStep(75), Update(7, 1, 1, {7}), Update(61, 2, 1, {7, 61}),
                   Update(7, 1, 1, {7}), Update(-1, 0, 1, {})},
                  {"reset 75 ''", "update 7 1 1", "update 61 2 1", "update 7 1 1", "update -1 0 1"},
                  Game(75, "", {}, 1)},
        FanOutRow{"CancelledNumberReplacedByAnother",
                  {ResetStep(75), Update(7, 1, 1, {7}), Update(61, 2, 1, {7, 61}),
                   Update(7, 1, 1, {7}), Update(12, 2, 1, {7, 12})},
                  {"reset 75 ''", "update 7 1 1", "update 61 2 1", "update 7 1 1", "update 12 2 1"},
                  Game(75, "", {7, 12}, 1)},
        FanOutRow{"RowChange",
                  {ResetStep(75), Update(-1, 0, 2, {}), Update(7, 1, 2, {7}), Update(7, 1, 3, {7}),
                   Update(7, 1, 2, {7})},
                  {"reset 75 ''", "update -1 0 2", "update 7 1 2", "update 7 1 3", "update 7 1 2"},
                  Game(75, "", {7}, 2)},
        FanOutRow{"TicketStaysOverARowChange",
                  {ResetStep(75), Update(7, 1, 1, {7}), TicketStep(17), Update(7, 1, 2, {7})},
                  {"reset 75 ''", "update 7 1 1", "ticket 17", "update 7 1 2"},
                  Game(75, "", {7}, 2, Ticket(17))},
        FanOutRow{"NextNumberTakesTheTicketOff",
                  {ResetStep(75), Update(7, 1, 1, {7}), TicketStep(17), TicketStep(18),
                   Update(9, 2, 1, {7, 9})},
                  {"reset 75 ''", "update 7 1 1", "ticket 17", "ticket 18", "update 9 2 1"},
                  Game(75, "", {7, 9}, 1)},
        FanOutRow{"NewGameClearsTicket",
                  {ResetStep(75, "aa"), Update(7, 1, 1, {7}), TicketStep(17), ResetStep(75, "bb"),
                   Update(-1, 0, 1, {})},
                  {"reset 75 'aa'", "update 7 1 1", "ticket 17", "reset 75 'bb'", "update -1 0 1"},
                  Game(75, "bb", {}, 1)},
        FanOutRow{
            "NinetyNumberGame",
            {ResetStep(90), Update(88, 1, 1, {88}), Update(90, 2, 1, {88, 90}), TicketStep(5)},
            {"reset 90 ''", "update 88 1 1", "update 90 2 1", "ticket 5"},
            Game(90, "", {88, 90}, 1, Ticket(5))},
        // A stored game comes back: the pages get it whole, not just its last number.
        FanOutRow{"ResumedGame",
                  {ResetStep(75, "cc"), Update(33, 4, 2, {1, 20, 45, 33})},
                  {"reset 75 'cc'", "game 75 'cc' [1,20,45,33] row 2"},
                  Game(75, "cc", {1, 20, 45, 33}, 2)},
        // A page reset in the middle of a game (a language change) is shown it again.
        FanOutRow{"ResetInTheMiddleOfAGame",
                  {ResetStep(75), Update(7, 1, 1, {7}), Update(9, 2, 1, {7, 9}), ResetStep(75),
                   Update(9, 2, 1, {7, 9}), Update(11, 3, 1, {7, 9, 11})},
                  {"reset 75 ''", "update 7 1 1", "update 9 2 1", "reset 75 ''",
                   "game 75 '' [7,9] row 1", "update 11 3 1"},
                  Game(75, "", {7, 9, 11}, 1)},
        // A list that contradicts the update is not believed; the count still holds.
        FanOutRow{"ListThatDisagrees",
                  {ResetStep(75), Update(5, 2, 1, {1, 2, 3})},
                  {"reset 75 ''", "update 5 2 1"},
                  Game(75, "", {0, 5}, 1)},
        FanOutRow{"OutOfRangeValues",
                  {ResetStep(12), Update(500, 1000, -3, {}), Update(-7, -5, 1, {})},
                  {"reset 12 ''", "update 500 1000 -3", "update -7 -5 1"},
                  Game(75, "", {}, 1)},
        // The seal of a game that has ended reaches every page; its board stays.
        FanOutRow{"Seal",
                  {ResetStep(75, "aa"), Update(7, 1, 1, {7}), TicketStep(17), SealStep(kSeal)},
                  {"reset 75 'aa'", "update 7 1 1", "ticket 17", "seal '1a2b3c4d5e6f7a8b'"},
                  Game(75, "aa", {7}, 1, Ticket(17), kSeal)},
        // It belongs to the game before: the next game is played under it.
        FanOutRow{"SealStaysOverTheNextGame",
                  {ResetStep(75, "aa"), Update(7, 1, 1, {7}), SealStep(kSeal), ResetStep(90, "bb"),
                   Update(-1, 0, 1, {}), Update(88, 1, 1, {88})},
                  {"reset 75 'aa'", "update 7 1 1", "seal '1a2b3c4d5e6f7a8b'", "reset 90 'bb'",
                   "update -1 0 1", "update 88 1 1"},
                  Game(90, "bb", {88}, 1, std::nullopt, kSeal)},
        FanOutRow{"NextSealReplacesIt",
                  {SealStep(kSeal), ResetStep(75, "bb"), SealStep("ffff0000ffff0000"),
                   ResetStep(75, "cc")},
                  {"seal '1a2b3c4d5e6f7a8b'", "reset 75 'bb'", "seal 'ffff0000ffff0000'",
                   "reset 75 'cc'"},
                  Game(75, "cc", {}, 1, std::nullopt, "ffff0000ffff0000")},
        FanOutRow{"EmptySealShowsNone",
                  {ResetStep(75), SealStep(kSeal), SealStep("")},
                  {"reset 75 ''", "seal '1a2b3c4d5e6f7a8b'", "seal ''"},
                  Game(75, "", {}, 1)},
        // A stored game resumed under a seal: the whole game carries it.
        FanOutRow{"ResumedGameUnderASeal",
                  {SealStep(kSeal), ResetStep(75, "cc"), Update(33, 4, 2, {1, 20, 45, 33})},
                  {"seal '1a2b3c4d5e6f7a8b'", "reset 75 'cc'",
                   "game 75 'cc' [1,20,45,33] row 2 seal '1a2b3c4d5e6f7a8b'"},
                  Game(75, "cc", {1, 20, 45, 33}, 2, std::nullopt, kSeal)},
        // The programme's board reaches every page and, like the seal, stays over a reset: the
        // programme itself says when it changes.
        FanOutRow{"BoardStaysOverTheNextGame",
                  {ResetStep(75), BoardStep(3, 12), Update(7, 1, 1, {7}), ResetStep(90),
                   Update(88, 1, 1, {88})},
                  {"reset 75 ''", "board 3/12", "update 7 1 1", "reset 90 ''", "update 88 1 1"},
                  Game(90, "", {88}, 1, std::nullopt, "", Board(3, 12))},
        FanOutRow{"NextBoardReplacesIt",
                  {ResetStep(75), SealStep(kSeal), BoardStep(3, 12), BoardStep(4, 12)},
                  {"reset 75 ''", "seal '1a2b3c4d5e6f7a8b'", "board 3/12", "board 4/12"},
                  Game(75, "", {}, 1, std::nullopt, kSeal, Board(4, 12))},
        // Game 0: the programme is over, no board.
        FanOutRow{"BoardOfGameZeroTakesItOff",
                  {ResetStep(75), BoardStep(12, 12), BoardStep(0, 12)},
                  {"reset 75 ''", "board 12/12", "board 0/0"},
                  Game(75, "", {}, 1)},
        // A stored game resumed under a board: the whole game carries it.
        FanOutRow{"ResumedGameUnderABoard",
                  {BoardStep(2, 5), ResetStep(75, "cc"), Update(33, 2, 1, {20, 33})},
                  {"board 2/5", "reset 75 'cc'", "game 75 'cc' [20,33] row 1 board 2/5"},
                  Game(75, "cc", {20, 33}, 1, std::nullopt, "", Board(2, 5))}),
    [](const ::testing::TestParamInfo<FanOutRow>& info) { return std::string(info.param.name); });

TEST(PageFanOut, PageRegisteredBeforeAnyGameHearsNothingUntilItBegins) {
    PageFanOut pages;
    RecordingPage page;
    pages.Register(&page);
    pages.Register(&page); // twice is once
    EXPECT_TRUE(page.calls.empty());
    EXPECT_FALSE(pages.Begun());
    pages.PageReset(75, "");
    EXPECT_EQ(page.calls, std::vector<std::string>{"reset 75 ''"});
    EXPECT_EQ(pages.PageCount(), 1u);
}

// Before any game (the program has just started) a seal is shown alone: a page that comes then
// gets the seal, not an empty game. So is the board of a programme's first game.
TEST(PageFanOut, SealBeforeAnyGameIsShownWithoutAGame) {
    PageFanOut pages;
    RecordingPage first;
    pages.Register(&first);
    pages.PageShowSeal(kSeal);
    EXPECT_FALSE(pages.Begun());
    EXPECT_EQ(pages.Game().seal, kSeal);
    RecordingPage late;
    pages.Register(&late);
    for (const RecordingPage* page : {&first, &late}) {
        EXPECT_EQ(page->calls, std::vector<std::string>{"seal '1a2b3c4d5e6f7a8b'"});
        EXPECT_EQ(page->shown.Game(), pages.Game());
        EXPECT_FALSE(page->shown.Begun());
    }
    pages.PageShowPrizeBoard(Board(1, 4));
    EXPECT_FALSE(pages.Begun());
    RecordingPage later;
    pages.Register(&later);
    for (const RecordingPage* page : {&first, &late, &later}) {
        EXPECT_EQ(page->calls.back(), "board 1/4");
        EXPECT_EQ(page->shown.Game(), pages.Game());
    }
    EXPECT_EQ(later.calls.size(), 2u);
}

// What a page that knows nothing is sent: the board comes last, after the seal, and only while
// a programme is played; without one the calls are those of a game without a board.
struct CatchUpRow {
    const char* name;
    PageGame game;
    std::vector<std::string> tail; // the calls after the game's own, by kind
};

class CatchUpTable : public ::testing::TestWithParam<CatchUpRow> {};

TEST_P(CatchUpTable, BoardOnlyWhileAProgrammeIsPlayed) {
    const CatchUpRow& row = GetParam();
    const std::vector<PageCall> calls = CatchUpCalls(row.game);
    std::vector<std::string> tail;
    for (const PageCall& call : calls) {
        if (const auto* seal = std::get_if<PageSealCall>(&call))
            tail.push_back("seal " + seal->seal);
        else if (const auto* board = std::get_if<PagePrizeBoard>(&call))
            tail.push_back("board " + std::to_string(board->game));
        else
            EXPECT_TRUE(tail.empty()) << "a game's call after the seal or the board";
    }
    EXPECT_EQ(tail, row.tail);
    PageGame without = row.game;
    without.board = {};
    const std::vector<PageCall> plain = CatchUpCalls(without);
    // Without a board the calls are exactly those of the same game without one.
    ASSERT_EQ(calls.size(), plain.size() + (row.game.board.game > 0 ? 1 : 0));
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), calls.begin()));
    if (row.game.board.game > 0) {
        EXPECT_EQ(std::get<PagePrizeBoard>(calls.back()), row.game.board);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Games, CatchUpTable,
    ::testing::Values(
        CatchUpRow{"NoProgramme", Game(75, "aa", {7, 9}, 1), {}},
        CatchUpRow{"NoProgrammeUnderASeal",
                   Game(75, "", {7}, 1, std::nullopt, kSeal),
                   {std::string("seal ") + kSeal}},
        CatchUpRow{"Board", Game(75, "", {7}, 1, Ticket(3), "", Board(2, 5)), {"board 2"}},
        CatchUpRow{"BoardAfterTheSeal",
                   Game(90, "", {}, 1, std::nullopt, kSeal, Board(5, 5)),
                   {std::string("seal ") + kSeal, "board 5"}},
        CatchUpRow{"GameZeroIsNoBoard", Game(75, "", {7}, 1, std::nullopt, "", Board(0, 5)), {}}),
    [](const ::testing::TestParamInfo<CatchUpRow>& info) { return std::string(info.param.name); });

TEST(PageFanOut, UnregisteredPageGetsNoMore) {
    PageFanOut pages;
    RecordingPage a, b;
    pages.Register(&a);
    pages.Register(&b);
    pages.PageReset(75, "");
    pages.Unregister(&a);
    pages.Unregister(&a);
    pages.PageUpdateMainScreen(7, 1, 1, {7});
    EXPECT_EQ(a.calls, std::vector<std::string>{"reset 75 ''"});
    EXPECT_EQ(b.calls.size(), 2u);
    EXPECT_FALSE(pages.IsRegistered(&a));
    pages.Register(nullptr);
    EXPECT_EQ(pages.PageCount(), 1u);
}

// A page that registers another page while it takes a call: the newcomer is shown the game
// once, not the call on its way as well.
TEST(PageFanOut, PageRegisteredInsideACallIsShownTheGameOnce) {
    PageFanOut pages;
    RecordingPage host, newcomer;
    pages.Register(&host);
    pages.PageReset(75, "");
    host.inside = [&] { pages.Register(&newcomer); };
    pages.PageUpdateMainScreen(7, 1, 1, {7});
    EXPECT_EQ(newcomer.calls, std::vector<std::string>{"game 75 '' [7] row 1"});
    EXPECT_EQ(newcomer.shown.Game(), pages.Game());
}

TEST(PageFanOut, WholeGameIsKeptWithinWhatAPageShows) {
    PageFanOut pages;
    RecordingPage page;
    pages.Register(&page);
    PageGame hostile = Game(12, "x", std::vector<int>(200, 95), 1);
    hostile.drawn[0] = 7;
    pages.PageShowGame(hostile);
    EXPECT_EQ(pages.Game().drawn.size(), 90u);
    EXPECT_EQ(pages.Game().drawn[0], 7);
    EXPECT_EQ(pages.Game().drawn[1], 0);
    EXPECT_EQ(pages.Game().numberCount, 75);
    EXPECT_EQ(page.shown.Game(), pages.Game());
}

TEST(PageGameRecord, NumberAboveSeventyFiveMakesANinetyNumberBoard) {
    PageGameRecord record;
    EXPECT_FALSE(record.Begun());
    record.Reset(75, "");
    record.Update(80, 1, 1);
    EXPECT_EQ(record.Game().numberCount, 90);
    record.Update(5, 3, 1);
    EXPECT_EQ(record.Game().drawn, (std::vector<int>{80, 0, 5}));
    EXPECT_FALSE(record.Complete());
}

} // namespace
} // namespace zorvi
