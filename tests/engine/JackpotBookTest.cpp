#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "HostileFiles.h"
#include "JackpotBook.h"
#include "TestFolders.h"
#include "WinPattern.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using test::TestFolders;

ProgrammeGame JackpotGame(std::string name, Jackpot jackpot, int numberCount = 75) {
    ProgrammeGame game;
    game.name = std::move(name);
    game.numberCount = numberCount;
    game.stages.push_back({WinPatterns::Rows(numberCount == 75 ? 5 : 3, numberCount), "50 €"});
    game.jackpot = jackpot;
    return game;
}

const Jackpot kProgressive{48, 500, 2, 50, 56};

TEST(JackpotBook, GrowsToTheCapAndThenMustGo) {
    const ProgrammeGame game = JackpotGame("Early bird", kProgressive);
    JackpotBook book;
    EXPECT_EQ(book.Current(game), (JackpotNow{48, 500}));
    EXPECT_TRUE(JackpotWins(game.jackpot, book.Current(game), 48));
    EXPECT_FALSE(JackpotWins(game.jackpot, book.Current(game), 49));

    const std::vector<JackpotNow> evenings = {{50, 550}, {52, 600}, {54, 650},
                                              {56, 700}, {56, 750}, {56, 800}};
    for (const JackpotNow& expected : evenings) {
        book.Carry(game);
        const JackpotNow now = book.Current(game);
        EXPECT_EQ(now, expected);
        if (now.within < game.jackpot.cap) {
            EXPECT_TRUE(JackpotWins(game.jackpot, now, now.within));
            EXPECT_FALSE(JackpotWins(game.jackpot, now, now.within + 1));
        } else {
            // At the cap any full card takes it, however late.
            EXPECT_TRUE(JackpotWins(game.jackpot, now, 75));
        }
    }

    book.Won(game);
    EXPECT_EQ(book.Current(game), (JackpotNow{48, 500}));
    EXPECT_TRUE(book.Entries().empty());
}

TEST(JackpotBook, CarriedOverBounds) {
    struct Case {
        const char* what;
        Jackpot jackpot;
        JackpotNow now;
        int numberCount;
        JackpotNow expected;
    };
    constexpr long long kLargest = ProgrammeLimits::kLargestPrize;
    const std::vector<Case> cases = {
        {"Steps", {48, 500, 2, 50, 56}, {48, 500}, 75, {50, 550}},
        {"StopsAtCap", {48, 500, 5, 0, 50}, {48, 500}, 75, {50, 500}},
        {"NoCapStopsAtNumbers", {70, 100, 3, 0, 0}, {74, 100}, 75, {75, 100}},
        {"NoCapNinety", {85, 100, 10, 0, 0}, {85, 100}, 90, {90, 100}},
        {"NoStepKeepsWithin", {48, 500, 0, 50, 0}, {48, 500}, 75, {48, 550}},
        {"PrizeStopsAtLargest",
         {48, kLargest - 10, 0, 50, 0},
         {48, kLargest - 10},
         75,
         {48, kLargest}},
        {"HugePrizeStep", {48, kLargest, 0, kLargest, 0}, {48, kLargest}, 75, {48, kLargest}},
        {"NotProgressive", {48, 500, 0, 0, 0}, {48, 500}, 75, {48, 500}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CarriedOver(c.jackpot, c.now, c.numberCount), c.expected) << c.what;
}

TEST(JackpotBook, WinsOnlyWithAJackpot) {
    struct Case {
        const char* what;
        Jackpot jackpot;
        JackpotNow now;
        int drawn;
        bool wins;
    };
    const std::vector<Case> cases = {
        {"NoJackpot", {}, {}, 30, false},
        {"Within", {48, 500, 0, 0, 0}, {48, 500}, 24, true},
        {"Late", {48, 500, 0, 0, 0}, {48, 500}, 49, false},
        {"NoCapNeverMustGo", {48, 500, 2, 0, 0}, {74, 500}, 75, false},
        {"AtCap", {48, 500, 2, 0, 52}, {52, 500}, 70, true},
        {"CapEqualsBase", {48, 500, 0, 0, 48}, {48, 500}, 60, true},
        {"BelowCap", {48, 500, 2, 0, 52}, {50, 500}, 51, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JackpotWins(c.jackpot, c.now, c.drawn), c.wins) << c.what;
}

// A stored jackpot that no longer fits the programme's (the hall changed it) starts over.
TEST(JackpotBook, StoredValueOnlyWhileItFitsTheProgramme) {
    JackpotBook book;
    const ProgrammeGame game = JackpotGame("Main", kProgressive);
    book.Carry(game);
    book.Carry(game);
    ASSERT_EQ(book.Current(game), (JackpotNow{52, 600}));

    struct Case {
        const char* what;
        Jackpot jackpot;
        JackpotNow expected;
    };
    const std::vector<Case> cases = {
        {"Same", kProgressive, {52, 600}},
        {"CapLowered", {48, 500, 2, 50, 50}, {48, 500}},
        {"BaseRaised", {54, 500, 2, 50, 56}, {54, 500}},
        {"PrizeRaised", {48, 700, 2, 50, 56}, {48, 700}},
        {"NoCap", {48, 500, 2, 50, 0}, {52, 600}},
        {"Gone", {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(book.Current(JackpotGame("Main", c.jackpot)), c.expected) << c.what;
    EXPECT_EQ(book.Current(JackpotGame("Other", kProgressive)), (JackpotNow{48, 500}));
}

TEST(JackpotBook, CarriesOverAcrossAReload) {
    TestFolders folders;
    const fs::path data = folders.dataFolder();
    const std::vector<std::string> names = {"Early bird",   "[odd] = name", "two\nlines",
                                            "100% ; # end", " padded ",     "Sydän ♥"};
    std::vector<ProgrammeGame> games;
    for (const std::string& name : names)
        games.push_back(JackpotGame(name, kProgressive));
    games.push_back(JackpotGame("Ninety", {80, 10, 4, 5, 0}, 90));

    for (int evening = 0; evening < 3; ++evening) {
        JackpotBook book;
        ASSERT_TRUE(book.Load(data));
        for (const ProgrammeGame& game : games)
            book.Carry(game);
        ASSERT_TRUE(book.Save(data));
    }
    JackpotBook book;
    ASSERT_TRUE(book.Load(data));
    EXPECT_EQ(book.Entries().size(), games.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(book.Current(games[i]), (JackpotNow{54, 650})) << names[i];
    EXPECT_EQ(book.Current(games.back()), (JackpotNow{90, 25}));

    book.Won(games[1]);
    ASSERT_TRUE(book.Save(data));
    JackpotBook after;
    ASSERT_TRUE(after.Load(data));
    EXPECT_EQ(after.Current(games[1]), (JackpotNow{48, 500}));
    EXPECT_EQ(after.Current(games[0]), (JackpotNow{54, 650}));
}

TEST(JackpotBook, DamagedFileStartsFromTheProgramme) {
    const ProgrammeGame game = JackpotGame("Main", kProgressive);
    std::string many = "[jackpots]\n";
    for (std::size_t i = 0; i <= JackpotBook::kMostEntries; ++i)
        many += "G" + std::to_string(i) + "=50 1\n";
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"NoHeading", "Main=50 550\n"},
        {"TwoHeadings", "[jackpots]\n[jackpots]\nMain=50 550\n"},
        {"OtherHeading", "[jackpot]\nMain=50 550\n"},
        {"NoEquals", "[jackpots]\nMain 50 550\n"},
        {"OneNumber", "[jackpots]\nMain=50\n"},
        {"WithinZero", "[jackpots]\nMain=0 550\n"},
        {"WithinPastNinety", "[jackpots]\nMain=91 550\n"},
        {"Negative", "[jackpots]\nMain=50 -1\n"},
        {"PrizeTooLarge", "[jackpots]\nMain=50 1000000001\n"},
        {"Overflow", "[jackpots]\nMain=50 99999999999999999999999\n"},
        {"BadEscape", "[jackpots]\nMa%G1in=50 550\n"},
        {"CutEscape", "[jackpots]\nMain%4=50 550\n"},
        {"EmptyName", "[jackpots]\n=50 550\n"},
        {"LongName", "[jackpots]\n" + std::string(61, 'n') + "=50 550\n"},
        {"Duplicate", "[jackpots]\nMain=50 550\nMain=52 600\n"},
        {"TooMany", many},
        {"TooLarge", "[jackpots]\n" + std::string(JackpotBook::kLargestFile, '#')},
        {"NulInName", std::string("[jackpots]\nMa\0in=50 550\n", 24)},
        {"Binary", std::string("[jackpots]\nMain=50\0 550\n", 24)},
    };
    for (const auto& [what, text] : damaged) {
        TestFolders folders;
        TestFolders::WriteFile(folders.dataFolder() / "jackpots.ini", text);
        JackpotBook book;
        EXPECT_FALSE(book.Load(folders.dataFolder())) << what;
        EXPECT_TRUE(book.Entries().empty()) << what;
        EXPECT_EQ(book.Current(game), (JackpotNow{48, 500})) << what;
        book.Carry(game);
        ASSERT_TRUE(book.Save(folders.dataFolder())) << what;
        JackpotBook again;
        EXPECT_TRUE(again.Load(folders.dataFolder())) << what;
        EXPECT_EQ(again.Current(game), (JackpotNow{50, 550})) << what;
    }
}

TEST(JackpotBook, HostileFileStartsFromTheProgramme) {
    const ProgrammeGame game = JackpotGame("Main", kProgressive);
    for (const test::Hostile kind :
         {test::Hostile::GarbageText, test::Hostile::BinaryJunk, test::Hostile::Junk50MB,
          test::Hostile::Pipe, test::Hostile::Endless, test::Hostile::Folder}) {
        TestFolders folders;
        fs::create_directories(folders.dataFolder());
        if (!test::PutHostile(folders.dataFolder() / "jackpots.ini", kind))
            continue;
        JackpotBook book;
        EXPECT_FALSE(book.Load(folders.dataFolder())) << test::HostileName(kind);
        EXPECT_EQ(book.Current(game), (JackpotNow{48, 500})) << test::HostileName(kind);
    }
}

TEST(JackpotBook, WrittenFileIsReadable) {
    JackpotBook book;
    book.Carry(JackpotGame("Early bird", kProgressive));
    book.Carry(JackpotGame("a=b]", kProgressive));
    const std::string text = book.Format();
    EXPECT_NE(text.find("Early bird=50 550"), std::string::npos) << text;
    EXPECT_NE(text.find("a%3Db%5D=50 550"), std::string::npos) << text;
    EXPECT_EQ(JackpotBook::Parse(text), book.Entries());
    // Line ends from another system are taken.
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(JackpotBook::Parse(crlf), book.Entries());
}

TEST(JackpotBook, FullBookStoresNoNewGame) {
    JackpotBook book;
    for (std::size_t i = 0; i < JackpotBook::kMostEntries; ++i)
        book.Carry(JackpotGame("G" + std::to_string(i), kProgressive));
    const ProgrammeGame late = JackpotGame("Late", kProgressive);
    book.Carry(late);
    EXPECT_EQ(book.Current(late), (JackpotNow{48, 500}));
    EXPECT_EQ(book.Entries().size(), JackpotBook::kMostEntries);
    EXPECT_TRUE(JackpotBook::Parse(book.Format()).has_value());
}

} // namespace
} // namespace zorvi
