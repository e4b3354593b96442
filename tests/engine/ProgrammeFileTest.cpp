#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "GameRules.h"
#include "HostileFiles.h"
#include "ProgrammeFile.h"
#include "ProgrammeStore.h"
#include "SetAside.h"
#include "TestFolders.h"
#include "WinPattern.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using Kind = ProgrammeFaultKind;
using test::TestFolders;

const std::string kGame = "[game]\nname=A\nstage=full_card\n";
const std::string kArrow = "[pattern Arrow]\ngrid=..#../.###./#.#.#/..#../..#..\n";

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

std::string Games(int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += "[game]\nname=G" + std::to_string(i) + "\nstage=rows_1\n";
    return out;
}

std::string Patterns(int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += "[pattern P" + std::to_string(i) + "]\ngrid=#..../...../...../...../.....\n";
    return out;
}

ProgrammeGame Game(std::string name, int numberCount, std::vector<std::string> keys) {
    ProgrammeGame game;
    game.name = std::move(name);
    game.numberCount = numberCount;
    for (const std::string& key : keys)
        game.stages.push_back({*WinPatterns::Find(key, numberCount), ""});
    return game;
}

struct Refusal {
    const char* what;
    std::string text;
    int line;
    Kind kind;
    std::string field;
};

class ProgrammeRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ProgrammeRefusal, NamesTheLineAndTheFault) {
    const Refusal& refusal = GetParam();
    const ProgrammeRead read = ParseProgramme(refusal.text);
    EXPECT_FALSE(read.programme.has_value());
    EXPECT_EQ(read.fault.line, refusal.line);
    EXPECT_EQ(read.fault.kind, refusal.kind);
    EXPECT_EQ(read.fault.field, refusal.field);
    EXPECT_LE(read.fault.field.size(), kLongestFaultField);
}

const std::string kLongName(ProgrammeLimits::kLongestName + 1, 'n');
const std::string kLongPrize(ProgrammeLimits::kLongestPrize + 1, 'p');

INSTANTIATE_TEST_SUITE_P(
    Table, ProgrammeRefusal,
    ::testing::Values(
        Refusal{"TooLarge", std::string(ProgrammeLimits::kLargestFile + 1, '#'), 0, Kind::TooLarge,
                ""},
        Refusal{"NulByte", std::string("[game]\nname=A\0B\n", 16) + "stage=rows_1\n", 2,
                Kind::NulByte, ""},
        Refusal{"BadUtf8", "[game]\nname=\xC3\x28\nstage=rows_1\n", 2, Kind::BadUtf8, ""},
        Refusal{"Overlong", "[programme]\nname=\xC0\xAF\n" + kGame, 2, Kind::BadUtf8, ""},
        Refusal{"Surrogate", "[programme]\n\nname=\xED\xA0\x80\n" + kGame, 3, Kind::BadUtf8, ""},
        Refusal{"CutCharacter", kGame + "stage=rows_2 | 5 \xE2\x82", 4, Kind::BadUtf8, ""},
        Refusal{"ControlCharacter", "[game]\nname=A\x1B\nstage=rows_1\n", 2, Kind::ControlCharacter,
                ""},
        Refusal{"LoneCarriageReturn", "[game]\nname=A\rB\nstage=rows_1\n", 2,
                Kind::ControlCharacter, ""},
        Refusal{"LineTooLong", kGame + "# " + std::string(kLongestProgrammeLine, 'x'), 4,
                Kind::LineTooLong, ""},
        Refusal{"OutsideSection", "name=Friday\n" + kGame, 1, Kind::OutsideSection, "name=Friday"},
        Refusal{"MissingEquals", "[game]\nname A\nstage=rows_1\n", 2, Kind::MissingEquals,
                "name A"},
        Refusal{"UnknownSection", "[games]\n", 1, Kind::UnknownSection, "games"},
        Refusal{"UnclosedHeading", "# x\n[game\n", 2, Kind::UnknownSection, "[game"},
        Refusal{"GameWithName", "[game Early]\n", 1, Kind::UnknownSection, "game Early"},
        Refusal{"DuplicateSection", "[programme]\nname=x\n[Programme]\n" + kGame, 3,
                Kind::DuplicateSection, "Programme"},
        Refusal{"UnknownGameKey", "[game]\nnmae=A\n", 2, Kind::UnknownKey, "nmae"},
        Refusal{"UnknownProgrammeKey", "[programme]\ngrid=x\n" + kGame, 2, Kind::UnknownKey,
                "grid"},
        Refusal{"UnknownPatternKey", "[pattern Arrow]\nname=x\n" + kGame, 2, Kind::UnknownKey,
                "name"},
        Refusal{"DuplicateKey", "[game]\nname=A\nName=B\n", 3, Kind::DuplicateKey, "Name"},
        Refusal{"DuplicateGrid", kArrow + "grid=#..../...../...../...../.....\n", 3,
                Kind::DuplicateKey, "grid"},
        Refusal{"BadNumber", kGame + "numbers=7x\n", 4, Kind::BadNumber, "7x"},
        Refusal{"NegativeNumber", kGame + "jackpot_prize=-5\n", 4, Kind::BadNumber, "-5"},
        Refusal{"EmptyNumber", kGame + "jackpot_within=\n", 4, Kind::BadNumber, ""},
        Refusal{"NumberCount", kGame + "numbers=80\n", 4, Kind::BadNumberCount, "80"},
        Refusal{"HugeNumberCount", kGame + "numbers=99999999999999999999\n", 4,
                Kind::BadNumberCount, "99999999999999999999"},
        Refusal{"UnknownPattern", "[game]\nname=A\nstage=four_corner | 5 €\n", 3,
                Kind::UnknownPattern, "four_corner"},
        Refusal{"EmptyPatternKey", "[game]\nname=A\nstage= | 5 €\n", 3, Kind::UnknownPattern, ""},
        Refusal{"NotFor90", "[game]\nname=A\nnumbers=90\nstage=four_corners\n", 4,
                Kind::UnknownPattern, "four_corners"},
        Refusal{"RowsBeyond90", "[game]\nname=A\nstage=rows_4\nnumbers=90\n", 3,
                Kind::UnknownPattern, "rows_4"},
        Refusal{"DrawnIn90", kArrow + "[game]\nname=A\nnumbers=90\nstage=Arrow\n", 6,
                Kind::DrawnPatternIn90, "Arrow"},
        Refusal{"BadGrid", "[pattern Arrow]\ngrid=..#../.###\n" + kGame, 2, Kind::BadGrid,
                "..#../.###"},
        Refusal{"GridOfOther", "[pattern Arrow]\ngrid=..#../.###./#.#.#/..#../..#.x\n", 2,
                Kind::BadGrid, "..#../.###./#.#.#/..#../..#.x"},
        Refusal{"NoSquares", "[pattern Arrow]\ngrid=...../...../...../...../.....\n", 2,
                Kind::EmptyGrid, "Arrow"},
        Refusal{"EmptyGridValue", "[pattern Arrow]\ngrid=\n", 2, Kind::EmptyGrid, "Arrow"},
        Refusal{"NoGrid", "# drawn\n[pattern Arrow]\n" + kGame, 2, Kind::EmptyGrid, "Arrow"},
        Refusal{"EmptyPatternName", "[pattern ]\n", 1, Kind::BadPatternName, ""},
        Refusal{"BarInPatternName", "[pattern a|b]\n", 1, Kind::BadPatternName, "a|b"},
        Refusal{"LongPatternName", "[pattern " + kLongName + "]\n", 1, Kind::TooLong, "pattern"},
        Refusal{"DuplicatePattern", kArrow + "[pattern arrow]\n", 3, Kind::DuplicatePattern,
                "arrow"},
        Refusal{"BuiltInName", "[pattern Full_Card]\n", 1, Kind::BuiltInPatternName, "Full_Card"},
        Refusal{"NoGameName", "[programme]\n[game]\nstage=rows_1\n", 2, Kind::MissingGameName,
                "name"},
        Refusal{"EmptyGameName", "[game]\nname=  \nstage=rows_1\n", 2, Kind::MissingGameName,
                "name"},
        Refusal{"DuplicateGameName", kGame + "[game]\nstage=rows_1\nname=A\n", 6,
                Kind::DuplicateGameName, "A"},
        Refusal{"LongGameName", "[game]\nname=" + kLongName + "\n", 2, Kind::TooLong, "name"},
        Refusal{"LongProgrammeName", "[programme]\nname=" + kLongName + "\n", 2, Kind::TooLong,
                "name"},
        Refusal{"LongCurrency", "[programme]\ncurrency=" + kLongPrize + "\n", 2, Kind::TooLong,
                "currency"},
        Refusal{"LongPrize", "[game]\nname=A\nstage=rows_1 | " + kLongPrize + "\n", 3,
                Kind::TooLong, "stage"},
        Refusal{"NoStages", kGame + "[game]\nname=B\n", 4, Kind::NoStages, "B"},
        Refusal{"TooManyStages", "[game]\nname=A\n" + Repeat("stage=rows_1\n", 11), 13,
                Kind::TooManyStages, "rows_1"},
        Refusal{"TooManyGames", Games(101), 301, Kind::TooManyGames, "game"},
        Refusal{"TooManyPatterns", Patterns(51) + kGame, 101, Kind::TooManyPatterns, "P50"},
        Refusal{"WithinPastNumbers", kGame + "jackpot_within=76\n", 4, Kind::BadJackpot,
                "jackpot_within"},
        Refusal{"CapBelowWithin", kGame + "jackpot_within=50\njackpot_cap=49\n", 5,
                Kind::BadJackpot, "jackpot_cap"},
        Refusal{"CapPastNumbers", kGame + "jackpot_within=50\njackpot_cap=76\n", 5,
                Kind::BadJackpot, "jackpot_cap"},
        Refusal{"PrizeTooLarge", kGame + "jackpot_within=50\njackpot_prize=1000000001\n", 5,
                Kind::BadJackpot, "jackpot_prize"},
        Refusal{"PrizeStepTooLarge",
                kGame + "jackpot_within=50\njackpot_prize_step=99999999999999999999999\n", 5,
                Kind::BadJackpot, "jackpot_prize_step"},
        Refusal{"StepPastNumbers", kGame + "jackpot_step=91\njackpot_within=50\n", 4,
                Kind::BadJackpot, "jackpot_step"},
        Refusal{"JackpotWithoutFullCard", "[game]\nname=A\nstage=rows_4\njackpot_within=40\n", 4,
                Kind::JackpotNeedsFullCard, "jackpot_within"},
        Refusal{"JackpotAfterDrawn", kArrow + "[game]\nname=A\nstage=Arrow\njackpot_within=9\n", 6,
                Kind::JackpotNeedsFullCard, "jackpot_within"},
        Refusal{"NoGames", "[programme]\nname=Friday\n" + kArrow, 0, Kind::NoGames, ""},
        Refusal{"Empty", "", 0, Kind::NoGames, ""},
        Refusal{"OnlyBom", "\xEF\xBB\xBF\r\n", 0, Kind::NoGames, ""}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.what); });

const std::string kExample = R"(# ZORVI evening programme
[programme]
name=Friday evening
currency=€

[pattern Arrow]
grid=..#../.###./#.#.#/..#../..#..

[game]
name=Early bird
numbers=75
stage=rows_1 | 20 €
stage=four_corners | Gift basket
stage=Arrow
stage=full_card | 50 €
jackpot_within=48
jackpot_prize=500
jackpot_step=2
jackpot_prize_step=50
jackpot_cap=56

[game]
name=Ninety
numbers=90
stage=rows_3|Hamper | with | bars
)";

TEST(ProgrammeFile, ReadsTheExample) {
    const ProgrammeRead read = ParseProgramme(kExample);
    ASSERT_TRUE(read.programme) << ProgrammeFaultText(read.fault, 2);
    const Programme& p = *read.programme;
    EXPECT_EQ(p.name, "Friday evening");
    EXPECT_EQ(p.currency, "€");
    ASSERT_EQ(p.drawnPatterns.size(), 1u);
    EXPECT_EQ(
        p.drawnPatterns[0],
        *WinPatterns::Drawn("Arrow", *WinPatterns::ParseGrid("..#../.###./#.#.#/..#../..#..")));
    ASSERT_EQ(p.games.size(), 2u);
    const ProgrammeGame& early = p.games[0];
    EXPECT_EQ(early.name, "Early bird");
    EXPECT_EQ(early.numberCount, 75);
    ASSERT_EQ(early.stages.size(), 4u);
    EXPECT_EQ(early.stages[0].pattern, WinPatterns::Rows(1, 75));
    EXPECT_EQ(early.stages[0].prize, "20 €");
    EXPECT_EQ(early.stages[1].pattern, *WinPatterns::Find("four_corners", 75));
    EXPECT_EQ(early.stages[1].prize, "Gift basket");
    EXPECT_EQ(early.stages[2].pattern, p.drawnPatterns[0]);
    EXPECT_EQ(early.stages[2].prize, "");
    EXPECT_EQ(early.stages[3].pattern, *WinPatterns::Find("full_card", 75));
    EXPECT_EQ(early.jackpot, (Jackpot{48, 500, 2, 50, 56}));
    const ProgrammeGame& ninety = p.games[1];
    EXPECT_EQ(ninety.numberCount, 90);
    EXPECT_EQ(ninety.stages.at(0).pattern, WinPatterns::Rows(3, 90));
    EXPECT_EQ(ninety.stages.at(0).prize, "Hamper | with | bars");
    EXPECT_FALSE(ninety.jackpot.Any());
}

// What a person's editor may do to the file changes nothing of what it means.
TEST(ProgrammeFile, TakesAPersonsEditingHabits) {
    std::string edited = "\xEF\xBB\xBF; saved by an editor\r\n";
    std::size_t from = 0;
    for (std::size_t end; (end = kExample.find('\n', from)) != std::string::npos; from = end + 1) {
        std::string line = kExample.substr(from, end - from);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && line[0] != '#')
            line = "  " + line.substr(0, equals) + " \t=  " + line.substr(equals + 1) + "\t ";
        edited += line + "\r\n\r\n";
    }
    ASSERT_NE(edited.find("  name \t=  Friday evening\t \r\n"), std::string::npos);
    const ProgrammeRead plain = ParseProgramme(kExample);
    const ProgrammeRead read = ParseProgramme(edited);
    ASSERT_TRUE(read.programme) << ProgrammeFaultText(read.fault, 2);
    EXPECT_EQ(*read.programme, *plain.programme);
}

TEST(ProgrammeFile, CaseOfKeysAndPatternsDoesNotMatter) {
    const ProgrammeRead read = ParseProgramme(
        "[PROGRAMME]\nName=x\n[Pattern Arrow]\nGRID=#..../...../...../...../.....\n[Game]\n"
        "NAME=A\nStage=ARROW\nstage=Full_Card\n");
    ASSERT_TRUE(read.programme) << ProgrammeFaultText(read.fault, 2);
    EXPECT_EQ(read.programme->games[0].stages[0].pattern.key, "Arrow");
    EXPECT_EQ(read.programme->games[0].stages[1].pattern.key, "full_card");
}

// jackpot_within=0 turns the jackpot off and keeps the person's other values in the file.
TEST(ProgrammeFile, WithinZeroIsNoJackpot) {
    const ProgrammeRead read =
        ParseProgramme(kGame + "jackpot_within=0\njackpot_prize=500\njackpot_cap=60\n");
    ASSERT_TRUE(read.programme);
    EXPECT_EQ(read.programme->games[0].jackpot, Jackpot{});
}

TEST(ProgrammeFile, DefaultsAndLimitsThatAreTaken) {
    const ProgrammeRead plain = ParseProgramme(kGame);
    ASSERT_TRUE(plain.programme);
    EXPECT_EQ(plain.programme->name, "");
    EXPECT_EQ(plain.programme->currency, "€");
    EXPECT_EQ(plain.programme->games[0].numberCount, 75);

    const std::string most = Games(int(ProgrammeLimits::kMostGames)) +
                             Patterns(int(ProgrammeLimits::kMostDrawnPatterns)) +
                             "[game]\nname=" + std::string(ProgrammeLimits::kLongestName, 'n') +
                             "\n" + Repeat("stage=rows_2 | " + std::string(40, 'p') + "\n", 9) +
                             "stage=rows_5\njackpot_within=75\njackpot_cap=75\n"
                             "jackpot_prize=1000000000\njackpot_prize_step=1000000000\n";
    const ProgrammeRead read = ParseProgramme(most);
    EXPECT_EQ(read.fault.kind, Kind::TooManyGames);

    const std::string fewer = Games(int(ProgrammeLimits::kMostGames) - 1) +
                              most.substr(Games(int(ProgrammeLimits::kMostGames)).size());
    const ProgrammeRead taken = ParseProgramme(fewer);
    ASSERT_TRUE(taken.programme) << ProgrammeFaultText(taken.fault, 2);
    EXPECT_EQ(taken.programme->games.size(), ProgrammeLimits::kMostGames);
    EXPECT_EQ(taken.programme->games.back().stages.size(), ProgrammeLimits::kMostStages);
    EXPECT_EQ(taken.programme->games.back().jackpot.prize, ProgrammeLimits::kLargestPrize);
}

Programme EveryKindOfProgramme() {
    Programme p;
    p.name = "Perjantai [iso] = ilta # 1";
    p.currency = "kr";
    p.drawnPatterns.push_back(*WinPatterns::Drawn("Arrow", 0x0427C84u));
    p.drawnPatterns.push_back(*WinPatterns::Drawn("Sydän ♥ ]", 0x1FFFFFFu));
    // Every built-in pattern, ten stages to a game.
    const std::vector<WinPattern>& library = WinPatterns::Library(75);
    for (std::size_t at = 0; at < library.size(); at += ProgrammeLimits::kMostStages) {
        ProgrammeGame game;
        game.name = "Kierros " + std::to_string(at);
        for (std::size_t i = at; i < library.size() && i < at + ProgrammeLimits::kMostStages; ++i)
            game.stages.push_back({library[i], "Prize | " + std::to_string(i) + " €"});
        p.games.push_back(game);
    }
    ProgrammeGame drawn = Game("Drawn = first", 75, {"x"});
    drawn.stages.push_back({p.drawnPatterns[1], ""});
    drawn.stages.push_back({p.drawnPatterns[0], "#1"});
    drawn.stages.push_back({*WinPatterns::Find("rows_5", 75), "Full"});
    drawn.jackpot = {70, 1000, 0, 100, 0};
    p.games.push_back(drawn);
    ProgrammeGame ninety = Game("Ninety [90]", 90, {"rows_1", "rows_2", "rows_3"});
    ninety.jackpot = {80, 500, 2, 50, 90};
    p.games.push_back(ninety);
    ProgrammeGame jackpot = Game("Jackpot", 75, {"full_card"});
    jackpot.jackpot = {48, ProgrammeLimits::kLargestPrize, 75, 0, 75};
    p.games.push_back(jackpot);
    return p;
}

TEST(ProgrammeFile, EveryKindOfProgrammeReadsBackTheSame) {
    const Programme p = EveryKindOfProgramme();
    const ProgrammeRead read = ParseProgramme(FormatProgramme(p));
    ASSERT_TRUE(read.programme) << ProgrammeFaultText(read.fault, 2);
    EXPECT_EQ(*read.programme, p);
    EXPECT_TRUE(ProgrammeWritable(p));
    // Every built-in pattern is in it.
    std::size_t stages = 0;
    for (std::size_t g = 0; g + 3 < p.games.size(); ++g)
        stages += p.games[g].stages.size();
    EXPECT_EQ(stages, WinPatterns::Library(75).size());
}

TEST(ProgrammeFile, WhatCannotBeWrittenIsRecognised) {
    const Programme good = EveryKindOfProgramme();
    std::vector<Programme> bad(7, good);
    bad[0].name = "two\nlines";
    bad[1].games[0].name = " padded";
    bad[2].games[1].name = bad[2].games[0].name;
    bad[3].games.clear();
    bad[4].drawnPatterns.erase(bad[4].drawnPatterns.begin()); // a stage still uses Arrow
    bad[5].games.back().jackpot.cap = 20;
    bad[6].games[0].stages[0].prize = std::string(ProgrammeLimits::kLongestPrize + 1, 'p');
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_FALSE(ProgrammeWritable(bad[i])) << i;
}

// Damaged copies of a good file: never a crash, and whatever is taken writes back unchanged.
TEST(ProgrammeFile, WhatIsTakenFromDamagedFilesReadsBackTheSame) {
    const std::string good = FormatProgramme(EveryKindOfProgramme());
    std::mt19937 random(7);
    const std::string alphabet = "=[]|#;\n\r \t0123456789_.#/abcxyz\xC3\xA4";
    int taken = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
        const int edits = 1 + int(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % text.size();
            switch (random() % 3) {
            case 0:
                text[at] = alphabet[random() % alphabet.size()];
                break;
            case 1:
                text.erase(at, 1 + random() % 8);
                break;
            default:
                text.insert(at, 1, alphabet[random() % alphabet.size()]);
                break;
            }
        }
        const ProgrammeRead read = ParseProgramme(text);
        EXPECT_EQ(read.programme.has_value(), read.fault.kind == Kind::None);
        if (!read.programme)
            continue;
        ++taken;
        const ProgrammeRead again = ParseProgramme(FormatProgramme(*read.programme));
        ASSERT_TRUE(again.programme) << text << ProgrammeFaultText(again.fault, 2);
        ASSERT_EQ(*again.programme, *read.programme) << text;
    }
    EXPECT_GT(taken, 100);
}

TEST(ProgrammeFaultText, NamesTheLineAndTheFieldInEveryLanguage) {
    const ProgrammeFault fault{14, Kind::UnknownPattern, "four_corner"};
    EXPECT_EQ(ProgrammeFaultText(fault, 2), "Line 14: unknown pattern \"four_corner\"");
    EXPECT_EQ(ProgrammeFaultText(fault, 0), "Rivi 14: tuntematon kuvio \"four_corner\"");
    EXPECT_EQ(ProgrammeFaultText(fault, 1), "Rad 14: okänt mönster \"four_corner\"");
    EXPECT_EQ(ProgrammeFaultText(fault, 7), ProgrammeFaultText(fault, 0));

    for (int kind = int(Kind::None); kind <= int(Kind::NoGames); ++kind) {
        const ProgrammeFault each{23, Kind(kind), "field"};
        std::vector<std::string> texts;
        for (int language = 0; language < 3; ++language) {
            const std::string text = ProgrammeFaultText(each, language);
            EXPECT_NE(text.find("23: "), std::string::npos) << text;
            EXPECT_EQ(text.find("%1"), std::string::npos) << text;
            texts.push_back(text);
        }
        EXPECT_NE(texts[0], texts[1]) << kind;
        EXPECT_NE(texts[1], texts[2]) << kind;
        EXPECT_NE(texts[0], texts[2]) << kind;
    }
    const std::string whole = ProgrammeFaultText({0, Kind::NoGames, ""}, 2);
    EXPECT_EQ(whole.find("Line"), std::string::npos);
}

TEST(ProgrammeFaultText, LongFieldIsClippedWithoutCuttingACharacter) {
    const std::string name = std::string(59, 'a') + "ä" + std::string(100, 'b');
    const std::string text = ProgrammeFaultText({3, Kind::UnknownPattern, name}, 2);
    EXPECT_EQ(text, "Line 3: unknown pattern \"" + std::string(59, 'a') + "\"");

    const ProgrammeRead read = ParseProgramme("[game]\nname=A\nstage=" + name + "\n");
    EXPECT_EQ(read.fault.field, std::string(59, 'a'));
}

class ProgrammeStoreTest : public ::testing::Test {
protected:
    fs::path Data() const { return folders.dataFolder(); }
    fs::path File() const { return Data() / "programme.ini"; }
    fs::path LastGood() const { return Data() / "programme.last-good.ini"; }

    TestFolders folders;
};

TEST_F(ProgrammeStoreTest, NoFileIsNoProgramme) {
    const ProgrammeLoad load = ProgrammeStore::Load(Data());
    EXPECT_FALSE(load.programme);
    EXPECT_FALSE(load.fault);
    EXPECT_FALSE(fs::exists(LastGood()));
}

TEST_F(ProgrammeStoreTest, RefusedEditKeepsTheLastGoodProgrammeAndTheEdit) {
    TestFolders::WriteFile(File(), kExample);
    ProgrammeLoad load = ProgrammeStore::Load(Data());
    ASSERT_TRUE(load.programme);
    EXPECT_FALSE(load.fault);
    EXPECT_EQ(*load.programme, *ParseProgramme(kExample).programme);
    EXPECT_EQ(TestFolders::ReadFile(LastGood()), kExample);

    std::string edit = kExample;
    edit.replace(edit.find("four_corners"), 12, "four_corner");
    TestFolders::WriteFile(File(), edit);
    for (int again = 0; again < 2; ++again) {
        load = ProgrammeStore::Load(Data());
        ASSERT_TRUE(load.fault);
        EXPECT_EQ(load.fault->line, 13);
        EXPECT_EQ(load.fault->kind, Kind::UnknownPattern);
        ASSERT_TRUE(load.programme);
        EXPECT_TRUE(load.fromLastGood);
        EXPECT_EQ(*load.programme, *ParseProgramme(kExample).programme);
        EXPECT_EQ(TestFolders::ReadFile(File()), edit);
        EXPECT_EQ(TestFolders::ReadFile(LastGood()), kExample);
    }

    // The fixed edit becomes the last good one.
    edit.replace(edit.find("four_corner"), 11, "large_frame");
    TestFolders::WriteFile(File(), edit);
    load = ProgrammeStore::Load(Data());
    ASSERT_TRUE(load.programme);
    EXPECT_EQ(TestFolders::ReadFile(LastGood()), edit);
}

TEST_F(ProgrammeStoreTest, RefusedFileWithoutLastGoodIsOnlyTheFault) {
    TestFolders::WriteFile(File(), "[games]\n");
    const ProgrammeLoad load = ProgrammeStore::Load(Data());
    EXPECT_FALSE(load.programme);
    ASSERT_TRUE(load.fault);
    EXPECT_EQ(load.fault->kind, Kind::UnknownSection);
    EXPECT_FALSE(fs::exists(LastGood()));
}

TEST_F(ProgrammeStoreTest, SaveWritesBothAndSetsARefusedFileAside) {
    const Programme p = EveryKindOfProgramme();
    ASSERT_TRUE(ProgrammeStore::Save(Data(), p));
    EXPECT_EQ(*ProgrammeStore::Load(Data()).programme, p);
    EXPECT_EQ(TestFolders::ReadFile(LastGood()), TestFolders::ReadFile(File()));
    EXPECT_TRUE(Helpers::SetAsideCopies("programme.ini").empty());

    const std::string edit = "[game]\nname=Half typed\nstage=rows_\n";
    TestFolders::WriteFile(File(), edit);
    Programme changed = p;
    changed.name = "Saturday";
    ASSERT_TRUE(ProgrammeStore::Save(Data(), changed));
    const std::vector<std::string> copies = Helpers::SetAsideCopies("programme.ini");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(TestFolders::ReadFile(Data() / copies[0]), edit);
    const ProgrammeLoad load = ProgrammeStore::Load(Data());
    ASSERT_TRUE(load.programme);
    EXPECT_FALSE(load.fault);
    EXPECT_EQ(*load.programme, changed);
}

TEST_F(ProgrammeStoreTest, SaveRefusesWhatWouldNotReadBack) {
    TestFolders::WriteFile(File(), kExample);
    Programme bad = EveryKindOfProgramme();
    bad.games[0].name = "two\nlines";
    EXPECT_FALSE(ProgrammeStore::Save(Data(), bad));
    EXPECT_EQ(TestFolders::ReadFile(File()), kExample);
}

// Outside the data folder there is no set-aside: a refused file there is left alone.
TEST_F(ProgrammeStoreTest, SaveElsewhereNeverOverwritesARefusedFile) {
    const fs::path elsewhere = folders.root() / "elsewhere";
    TestFolders::WriteFile(elsewhere / "programme.ini", "[games]\n");
    EXPECT_FALSE(ProgrammeStore::Save(elsewhere, EveryKindOfProgramme()));
    EXPECT_EQ(TestFolders::ReadFile(elsewhere / "programme.ini"), "[games]\n");
    EXPECT_TRUE(ProgrammeStore::Save(folders.root() / "fresh", EveryKindOfProgramme()));
}

TEST_F(ProgrammeStoreTest, ImportAndExport) {
    const fs::path path = folders.root() / "tuonti" / "perjantai.ini";
    fs::create_directories(path.parent_path());
    const Programme p = EveryKindOfProgramme();
    ASSERT_TRUE(ProgrammeStore::Export(path, p));
    const ProgrammeRead read = ProgrammeStore::Import(path);
    ASSERT_TRUE(read.programme);
    EXPECT_EQ(*read.programme, p);

    Programme bad = p;
    bad.games.clear();
    EXPECT_FALSE(ProgrammeStore::Export(path, bad));
    EXPECT_EQ(*ProgrammeStore::Import(path).programme, p);

    EXPECT_EQ(ProgrammeStore::Import(folders.root() / "missing.ini").fault.kind, Kind::Unreadable);
    EXPECT_EQ(ProgrammeStore::Import(path.parent_path()).fault.kind, Kind::Unreadable);
    TestFolders::WriteFile(path, std::string(ProgrammeLimits::kLargestFile + 1, '#'));
    EXPECT_EQ(ProgrammeStore::Import(path).fault.kind, Kind::TooLarge);
}

class HostileProgrammeFile : public ::testing::TestWithParam<test::Hostile> {};

TEST_P(HostileProgrammeFile, IsRefusedLeftInPlaceAndTheLastGoodPlays) {
    TestFolders folders;
    const fs::path data = folders.dataFolder();
    const Programme p = EveryKindOfProgramme();
    ASSERT_TRUE(ProgrammeStore::Save(data, p));
    fs::remove(data / "programme.ini");
    if (!test::PutHostile(data / "programme.ini", GetParam()))
        GTEST_SKIP() << "cannot be made here";
    const ProgrammeLoad load = ProgrammeStore::Load(data);
    ASSERT_TRUE(load.fault);
    ASSERT_TRUE(load.programme);
    EXPECT_EQ(*load.programme, p);
    std::error_code ec;
    EXPECT_TRUE(fs::exists(fs::symlink_status(data / "programme.ini", ec)));
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileProgrammeFile,
                         ::testing::Values(test::Hostile::GarbageText, test::Hostile::BinaryJunk,
                                           test::Hostile::Junk50MB, test::Hostile::Pipe,
                                           test::Hostile::Endless, test::Hostile::Folder),
                         [](const ::testing::TestParamInfo<test::Hostile>& info) {
                             return std::string(test::HostileName(info.param));
                         });

} // namespace
} // namespace zorvi
