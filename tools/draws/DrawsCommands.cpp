#include "DrawsCommands.h"

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>

#include "AtomicFile.h"
#include "CommandLine.h"
#include "DrawCollect.h"
#include "DrawSource.h"
#include "DrawStatistics.h"
#include "GameRecord.h"
#include "GameReport.h"
#include "Helpers.h"
#include "LogVerifier.h"
#include "SeriesFiles.h"

namespace zorvi {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Games in one run: enough for any study, small enough that a typing slip cannot fill a disk
// for days.
constexpr std::uint64_t kMaxGames = 100000000;

// Games in one printed record: a month of evenings is a few hundred; a log with more than this
// is not one the program wrote.
constexpr std::size_t kMaxReportGames = 10000;

// The file name of a path as given, for the heading of the printed pages.
std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct Options {
    int n = 0;
    std::uint64_t games = 0;
    std::unique_ptr<ByteStreamSource> source;
};

// --numbers 75|90 --games G [--key HEX]: the source is the keyed one with --key, else the
// operating system's.
bool ParseGameOptions(const std::vector<std::string>& args, const char* command, Options* out) {
    CommandLine line;
    std::string error;
    if (!line.Parse(args, {"numbers", "games", "key"}, {}, &error) || !line.Positional().empty()) {
        std::cerr << "zorvi-draws " << command << ": "
                  << (error.empty() ? "unexpected argument " + line.Positional().front() : error)
                  << "\n";
        return false;
    }
    const auto n = line.Number("numbers");
    if (!n || (*n != 75 && *n != 90)) {
        std::cerr << "zorvi-draws " << command << ": --numbers must be 75 or 90\n";
        return false;
    }
    const auto games = line.Number("games");
    if (!games || *games > kMaxGames) {
        std::cerr << "zorvi-draws " << command << ": --games must be a number from 0 to "
                  << kMaxGames << "\n";
        return false;
    }
    out->n = static_cast<int>(*n);
    out->games = *games;
    if (line.Has("key")) {
        const std::string hex = line.Value("key");
        std::uint8_t key[32];
        if (!KeyedSource::ParseKey(hex.data(), hex.size(), key)) {
            std::cerr << "zorvi-draws " << command
                      << ": --key must be 64 hexadecimal digits (32 bytes)\n";
            return false;
        }
        out->source = std::make_unique<KeyedSource>(key);
    } else {
        out->source = std::make_unique<OsRandomSource>();
    }
    return true;
}

// The series files given with --series; false (told) when one cannot be read.
bool AddSeries(const CommandLine& line, const char* command, SeriesFiles& series) {
    for (const std::string& path : line.Values("series")) {
        if (!series.Add(path)) {
            std::cerr << "zorvi-draws " << command << ": cannot read the coupon series " << path
                      << "\n";
            return false;
        }
    }
    return true;
}

// "1 game", "3 games", "0 games".
std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

int RunCollect(const std::vector<std::string>& args) {
    Options options;
    if (!ParseGameOptions(args, "collect", &options))
        return kUsage;
    if (!CollectGames(*options.source, options.n, options.games, stdout)) {
        std::cerr << "zorvi-draws collect: writing the games failed\n";
        return kFailed;
    }
    return kDone;
}

int RunVerify(const std::vector<std::string>& args) {
    CommandLine options;
    std::string error;
    if (!options.Parse(args, {"series"}, {}, &error)) {
        std::cerr << "zorvi-draws verify: " << error << "\n";
        return kUsage;
    }
    const std::vector<std::string>& logs = options.Positional();
    if (logs.empty()) {
        std::cerr << "zorvi-draws verify: name the game log (or several, oldest first)\n";
        return kUsage;
    }
    SeriesFiles series;
    if (!AddSeries(options, "verify", series))
        return kUsage;
    LogVerifier verifier(&series);
    for (const std::string& path : logs) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "zorvi-draws verify: cannot read " << path << "\n";
            return kUsage;
        }
        verifier.Feed(in, path);
    }
    const LogVerifier::Result result = verifier.Finish();
    if (!result.ok) {
        for (const LogVerifier::Failure& failure : result.failures)
            std::cout << failure.file << ", line " << failure.line_number << ": " << failure.line
                      << "\n"
                      << "fails: " << failure.reason << "\n";
        if (result.more_failures != 0)
            std::cout << Counted(result.more_failures, "more line fails", "more lines fail")
                      << "\n";
        std::cout << Counted(result.failures.size() + result.more_failures, "line fails",
                             "lines fail")
                  << ": the log does not verify\n";
        return kFailed;
    }
    std::cout << Counted(result.games_verified, "game", "games")
              << " verified: each commitment matches its reveal; "
              << Counted(result.lists_checked, "winner's drawn numbers", "winners' drawn numbers")
              << " and " << Counted(result.draws_checked, "draw", "draws")
              << " checked against them\n";
    if (result.machine_games != 0)
        std::cout << Counted(result.machine_games, "game", "games")
                  << " of balls from the machine: every ball entered and recalled follows the "
                     "ones before it\n";
    if (result.programme_games != 0)
        std::cout << Counted(result.programme_games, "game", "games")
                  << " of the evening's programme, each check judged by its stage's pattern; "
                  << Counted(result.jackpots_won, "jackpot", "jackpots") << " won, "
                  << result.jackpots_carried << " carried over\n";
    std::cout << Counted(result.seals_verified, "seal", "seals")
              << " verified: no line before them was changed, inserted, deleted or moved\n";
    if (result.unsealed_lines != 0)
        std::cout << Counted(result.unsealed_lines, "line", "lines")
                  << " after the last seal of a file, not sealed (a game in play, or the "
                     "program did not end normally)\n";
    std::cout << Counted(result.checks_judged, "check", "checks")
              << " judged again by the coupon series: every verdict holds\n";
    if (result.checks_not_checkable != 0)
        std::cout << Counted(result.checks_not_checkable, "check", "checks")
                  << " not checkable: the coupon series named in the log is not at hand (give "
                     "it with --series FILE)\n";
    if (result.not_revealed != 0)
        std::cout << Counted(result.not_revealed, "game", "games")
                  << " committed but not revealed in this log (still in play, or closed "
                     "without Exit)\n";
    if (result.lists_unchecked != 0)
        std::cout << Counted(result.lists_unchecked, "winner's list", "winners' lists")
                  << " outside a revealed game, not checked\n";
    if (result.reveals_without != 0)
        std::cout << Counted(result.reveals_without, "reveal", "reveals")
                  << " of games committed before this log, not checked\n";
    if (result.repeated_reveals != 0)
        std::cout << Counted(result.repeated_reveals, "game", "games")
                  << " revealed again after a restart\n";
    return kDone;
}

int RunReport(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    if (!line.Parse(args, {"out", "title", "series"}, {}, &error)) {
        std::cerr << "zorvi-draws report: " << error << "\n";
        return kUsage;
    }
    const std::vector<std::string>& logs = line.Positional();
    if (logs.empty() || !line.Has("out") || line.Value("out").empty()) {
        std::cerr << "zorvi-draws report: name the game log (or several, oldest first) and the "
                     "PDF file: report LOGFILE... --out FILE.pdf\n";
        return kUsage;
    }
    SeriesFiles series;
    if (!AddSeries(line, "report", series))
        return kUsage;
    GameRecordReader reader;
    LogVerifier verifier(&series);
    for (const std::string& path : logs) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "zorvi-draws report: cannot read " << path << "\n";
            return kUsage;
        }
        reader.Feed(in, FileName(path));
        in.clear();
        in.seekg(0);
        verifier.Feed(in, FileName(path));
    }
    std::vector<RecordedGame> games = reader.Finish();
    if (reader.LogLines() == 0) {
        std::cerr << "zorvi-draws report: " << (logs.size() == 1 ? logs.front() : "the files")
                  << " holds no line of a game log (\"2024-3-5 9:5:3: message\"); nothing "
                     "written\n";
        return kFailed;
    }
    if (games.empty()) {
        std::cerr << "zorvi-draws report: the log holds no game (no commitment, check or "
                     "reveal); nothing written\n";
        return kFailed;
    }
    if (games.size() > kMaxReportGames) {
        std::cerr << "zorvi-draws report: the log holds " << games.size()
                  << " games, more than the " << kMaxReportGames
                  << " a record prints; nothing written\n";
        return kFailed;
    }
    JudgeChecks(games, series);
    const LogVerifier::Result verified = verifier.Finish();

    GameReportOptions options;
    options.title = line.Value("title");
    options.source = FileName(logs.front());
    if (logs.size() > 1)
        options.source += " + " + std::to_string(logs.size() - 1) + " more";
    options.several_logs = logs.size() > 1;
    options.verified = verified.ok;
    options.more_failures = verified.more_failures;
    options.seals_verified = verified.seals_verified;
    options.unsealed_lines = verified.unsealed_lines;
    options.checks_judged = verified.checks_judged;
    options.checks_not_checkable = verified.checks_not_checkable;
    for (const LogVerifier::Failure& failure : verified.failures) {
        const std::string where = (options.several_logs ? failure.file + ", " : std::string()) +
                                  "line " + std::to_string(failure.line_number);
        options.failures.push_back(where + ": " + failure.reason);
        // The game it belongs to: the last one begun at or before it.
        RecordedGame* owner = nullptr;
        for (RecordedGame& game : games) {
            if (game.file_index < failure.file_index ||
                (game.file_index == failure.file_index && game.first_line <= failure.line_number))
                owner = &game;
        }
        if (owner != nullptr)
            owner->failures.push_back(where + ": " + failure.reason);
    }

    std::size_t pages = 0;
    const std::string pdf = RenderGameReport(games, options, &pages);
    if (!WriteFileAtomically(line.Value("out"), pdf)) {
        std::cerr << "zorvi-draws report: cannot write " << line.Value("out") << "\n";
        return kFailed;
    }
    std::size_t revealsVerify = 0;
    std::size_t revealsFail = 0;
    for (const RecordedGame& game : games) {
        revealsVerify += game.reveal == RecordedGame::Reveal::Verifies;
        revealsFail += game.reveal == RecordedGame::Reveal::Fails;
    }
    std::cout << Counted(games.size(), "game", "games") << " on " << Counted(pages, "page", "pages")
              << " written to " << line.Value("out") << ": " << revealsVerify
              << (revealsVerify == 1 ? " reveal verifies, " : " reveals verify, ") << revealsFail
              << (revealsFail == 1 ? " does not" : " do not") << "; the log "
              << (verified.ok ? "verifies" : "does not verify") << "\n";
    return kDone;
}

int RunStats(const std::vector<std::string>& args) {
    Options options;
    if (!ParseGameOptions(args, "stats", &options))
        return kUsage;
    DrawTally tally(options.n);
    for (std::uint64_t g = 0; g < options.games; ++g)
        tally.Add(Helpers::ShuffledSequence(*options.source, options.n));
    std::printf("| N | games | test | chi-square | degrees of freedom | p-value |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const DrawTally::Test& test : tally.Tests())
        std::printf("| %d | %" PRIu64 " | %s | %.1f | %.0f | %.4f |\n", options.n, tally.Games(),
                    test.name.c_str(), test.statistic, test.degrees, test.p_value);
    return kDone;
}

} // namespace zorvi
