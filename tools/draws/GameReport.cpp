#include "GameReport.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string_view>

#include "PdfWriter.h"

namespace zorvi {

namespace {

using Font = PdfWriter::Font;

constexpr double kLeft = 50;
constexpr double kRight = 545;
constexpr double kTop = 780;    // the first line of a page's content
constexpr double kBottom = 60;  // no content below this
constexpr double kValueX = 150; // values beside their labels
constexpr double kRowHeight = 13;
constexpr int kNumbersPerRow = 15;

struct Item {
    bool line = false;
    double x = 0, y = 0, x2 = 0, y2 = 0;
    Font font = Font::Regular;
    double size = 10;
    std::string text;
};

// The content of the pages, laid out top to bottom; a block that does not fit goes on to a
// new page headed with the game's name.
class Layout {
public:
    explicit Layout(const GameReportOptions& options) : options_(options) {}

    void StartGame(const std::string& heading) {
        heading_ = heading;
        repeat_ = nullptr;
        NewPage();
        Text(kLeft, Font::Bold, 16, heading);
        y_ -= 26;
    }

    // Room for `height` more points, else a new page.
    void Need(double height) {
        if (y_ - height >= kBottom)
            return;
        NewPage();
        Text(kLeft, Font::Bold, 12, heading_ + " (continued)");
        y_ -= 20;
        if (repeat_)
            repeat_();
    }

    void Text(double x, Font font, double size, const std::string& text) {
        Item item;
        item.x = x;
        item.y = y_;
        item.font = font;
        item.size = size;
        item.text = text;
        pages_.back().push_back(std::move(item));
    }

    void Rule(double thickness) {
        Item item;
        item.line = true;
        item.x = kLeft;
        item.x2 = kRight;
        item.y = item.y2 = y_;
        item.size = thickness;
        pages_.back().push_back(std::move(item));
    }

    void Down(double points) { y_ -= points; }

    // A label and its value, the value wrapped to the room right of the labels.
    void Field(const std::string& label, const std::string& value, Font font = Font::Regular,
               double size = 10) {
        const std::vector<std::string> lines = Wrap(value, font, size, kRight - kValueX);
        Need(kRowHeight * static_cast<double>(lines.size()));
        Text(kLeft, Font::Bold, 10, label);
        for (const std::string& line : lines) {
            Text(kValueX, font, size, line);
            y_ -= kRowHeight;
        }
    }

    void Section(const std::string& title) {
        Need(18 + 2 * kRowHeight);
        y_ -= 6;
        Text(kLeft, Font::Bold, 12, title);
        y_ -= 5;
        Rule(0.8);
        y_ -= 13;
    }

    void Paragraph(const std::string& text) {
        for (const std::string& line : Wrap(text, Font::Regular, 10, kRight - kLeft)) {
            Need(kRowHeight);
            Text(kLeft, Font::Regular, 10, line);
            y_ -= kRowHeight;
        }
    }

    // After a page break inside a table its heading comes again.
    void RepeatOnBreak(void (*repeat)(Layout&)) {
        if (repeat)
            repeat_ = [this, repeat] { repeat(*this); };
        else
            repeat_ = nullptr;
    }

    PdfWriter Finish() const {
        PdfWriter pdf;
        const std::size_t count = pages_.size();
        for (std::size_t i = 0; i < count; ++i) {
            pdf.AddPage();
            const std::string title = options_.title.empty() ? "Game record" : options_.title;
            pdf.Text(kLeft, 812, Font::Bold, 10, Fit(title, Font::Bold, 10, 300));
            const std::string source = Fit(options_.source, Font::Regular, 9, 180);
            pdf.Text(kRight - PdfWriter::TextWidth(Font::Regular, 9, source), 812, Font::Regular, 9,
                     source);
            pdf.Line(kLeft, 805, kRight, 805, 0.5);
            for (const Item& item : pages_[i]) {
                if (item.line)
                    pdf.Line(item.x, item.y, item.x2, item.y2, item.size);
                else
                    pdf.Text(item.x, item.y, item.font, item.size, item.text);
            }
            const std::string footer =
                "Page " + std::to_string(i + 1) + " of " + std::to_string(count);
            pdf.Text((PdfWriter::kPageWidth - PdfWriter::TextWidth(Font::Regular, 8, footer)) / 2,
                     30, Font::Regular, 8, footer);
        }
        return pdf;
    }

    // Lines of at most `width` points, broken at blanks, and inside a word too long for a line.
    static std::vector<std::string> Wrap(const std::string& text, Font font, double size,
                                         double width) {
        std::vector<std::string> lines;
        std::string line;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = text.find(' ', at);
            if (end == std::string::npos)
                end = text.size();
            std::string word = text.substr(at, end - at);
            at = end + 1;
            const std::string joined = line.empty() ? word : line + " " + word;
            if (PdfWriter::TextWidth(font, size, joined) <= width) {
                line = joined;
                continue;
            }
            if (!line.empty())
                lines.push_back(line);
            line.clear();
            while (PdfWriter::TextWidth(font, size, word) > width) {
                std::size_t cut = Cut(word, font, size, width);
                lines.push_back(word.substr(0, cut));
                word.erase(0, cut);
            }
            line = word;
        }
        if (!line.empty() || lines.empty())
            lines.push_back(line);
        return lines;
    }

    // The text cut to `width` points, with "..." where it was cut.
    static std::string Fit(const std::string& text, Font font, double size, double width) {
        if (PdfWriter::TextWidth(font, size, text) <= width)
            return text;
        const double dots = PdfWriter::TextWidth(font, size, "...");
        return text.substr(0, Cut(text, font, size, width - dots)) + "...";
    }

private:
    // How many bytes of the text fit in `width`, at a character boundary, at least one
    // character.
    static std::size_t Cut(const std::string& text, Font font, double size, double width) {
        std::size_t cut = 0;
        std::size_t next = 0;
        while (next < text.size()) {
            ++next;
            while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
                ++next;
            if (cut != 0 && PdfWriter::TextWidth(font, size, text.substr(0, next)) > width)
                break;
            cut = next;
        }
        return cut;
    }

    void NewPage() {
        pages_.emplace_back();
        y_ = kTop;
    }

    const GameReportOptions& options_;
    std::vector<std::vector<Item>> pages_;
    double y_ = kTop;
    std::string heading_;
    std::function<void()> repeat_;
};

// The numbers in rows of fifteen, each row led by the positions it holds.
void NumberGrid(Layout& layout, const std::vector<int>& numbers, std::size_t from) {
    for (std::size_t at = from; at < numbers.size(); at += kNumbersPerRow) {
        const std::size_t end = std::min(numbers.size(), at + kNumbersPerRow);
        // One fixed-width line a row, so that the columns line up in print and in a text
        // extraction alike.
        const std::string label = std::to_string(at + 1) + "-" + std::to_string(end);
        char row[160];
        int used = std::snprintf(row, sizeof row, "%-8s", label.c_str());
        for (std::size_t i = at; i < end && used > 0 && used < 150; ++i)
            used += std::snprintf(row + used, sizeof row - static_cast<std::size_t>(used), "%3d ",
                                  numbers[i]);
        layout.Need(kRowHeight);
        layout.Text(kLeft, Font::Mono, 10, row);
        layout.Down(kRowHeight);
    }
}

constexpr double kCheckColumns[] = {kLeft, 150, 190, 240, 270, 310, 375, 460};

std::string VerdictText(RecordedCheck::Verdict verdict) {
    switch (verdict) {
    case RecordedCheck::Verdict::Bingo:
        return "BINGO!";
    case RecordedCheck::Verdict::Wrong:
        return "Wrong!";
    case RecordedCheck::Verdict::NotInSeries:
        return "not in series";
    }
    return "";
}

std::string JudgedText(RecordedCheck::Judged judged) {
    switch (judged) {
    case RecordedCheck::Judged::NotJudged:
        return "no series named";
    case RecordedCheck::Judged::Holds:
        return "checked";
    case RecordedCheck::Judged::Fails:
        return "CHECK FAILS";
    case RecordedCheck::Judged::NotCheckable:
        return "not checkable";
    }
    return "";
}

// The first digits of a digest, as the players' screens showed them.
std::string Shown(const std::string& digest) {
    return digest.size() >= 16 ? digest.substr(0, 16) : std::string("-");
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void CheckHeading(Layout& layout) {
    const char* const titles[] = {"Time",  "Line",        "Coupon",  "Row",
                                  "Drawn", "Last number", "Verdict", "By the series"};
    layout.Need(kRowHeight);
    for (std::size_t i = 0; i < std::size(titles); ++i)
        layout.Text(kCheckColumns[i], Font::Bold, 9, titles[i]);
    layout.Down(kRowHeight);
}

void WinnerHeading(Layout& layout) {
    layout.Need(kRowHeight);
    layout.Text(kLeft, Font::Bold, 9, "Row");
    layout.Text(110, Font::Bold, 9, "Number count");
    layout.Text(210, Font::Bold, 9, "Coupon");
    layout.Text(300, Font::Bold, 9, "By the series");
    layout.Down(kRowHeight);
}

constexpr double kBriefColumns[] = {kLeft, 85, 185, 225, 270, 370, 470};

void BriefHeading(Layout& layout) {
    const char* const titles[] = {"Game",       "Started", "Called", "Winners",
                                  "Commitment", "Seal",    "Reveal"};
    layout.Need(kRowHeight);
    for (std::size_t i = 0; i < std::size(titles); ++i)
        layout.Text(kBriefColumns[i], Font::Bold, 9, titles[i]);
    layout.Down(kRowHeight);
}

std::string RevealWord(const RecordedGame& game) {
    if (game.begin == RecordedGame::Begin::BallMachine)
        return "balls from the machine";
    switch (game.reveal) {
    case RecordedGame::Reveal::Verifies:
        return "verifies";
    case RecordedGame::Reveal::Fails:
        return "DOES NOT VERIFY";
    case RecordedGame::Reveal::NoCommitment:
        return "commitment earlier";
    case RecordedGame::Reveal::NotRevealed:
        break;
    }
    return "not revealed";
}

// The evening in brief: what an auditor reads first.
void RenderBrief(Layout& layout, const std::vector<RecordedGame>& games,
                 const GameReportOptions& options) {
    layout.StartGame("The evening in brief");
    std::size_t called = 0;
    std::size_t winners = 0;
    std::size_t checks = 0;
    std::size_t misses = 0;
    std::vector<std::string> series;
    for (const RecordedGame& game : games) {
        called += game.Drawn().size();
        winners += game.Winners().size();
        checks += game.checks.size();
        misses += game.Misses();
        if (!game.series_name.empty()) {
            const std::string named =
                game.series_name + (game.series_digest.empty()
                                        ? std::string(" (not read)")
                                        : " (SHA-256 " + Shown(game.series_digest) + "...)");
            if (std::find(series.begin(), series.end(), named) == series.end())
                series.push_back(named);
        }
    }
    if (options.verified) {
        layout.Field("Record",
                     "VERIFIES: " + Counted(options.seals_verified, "seal", "seals") +
                         ", every commitment, draw, winner and verdict hold.",
                     Font::Bold);
    } else {
        layout.Field("Record",
                     "DOES NOT VERIFY: " +
                         Counted(options.failures.size() + options.more_failures, "line fails",
                                 "lines fail") +
                         " (listed below).",
                     Font::Bold);
    }
    if (options.unsealed_lines != 0)
        layout.Field("Not sealed", Counted(options.unsealed_lines, "line", "lines") +
                                       " after the last seal of a log (a game in play, or the "
                                       "program did not end normally).");
    layout.Field("Games", std::to_string(games.size()));
    layout.Field("Numbers called", std::to_string(called));
    layout.Field("Winners", std::to_string(winners));
    layout.Field("Checks",
                 std::to_string(checks) + ", of them " + Counted(misses, "miss", "misses"));
    layout.Field("Judged by series",
                 Counted(options.checks_judged, "check", "checks") +
                     (options.checks_not_checkable == 0
                          ? std::string()
                          : "; " + std::to_string(options.checks_not_checkable) +
                                " not checkable (series not at hand)"));
    std::string named;
    for (const std::string& one : series)
        named += (named.empty() ? "" : ", ") + one;
    layout.Field("Coupon series", named.empty() ? "none named in the log" : named);

    layout.Section("Games");
    BriefHeading(layout);
    layout.RepeatOnBreak(BriefHeading);
    for (std::size_t i = 0; i < games.size(); ++i) {
        const RecordedGame& game = games[i];
        layout.Need(kRowHeight);
        layout.Text(kBriefColumns[0], Font::Regular, 9, std::to_string(i + 1));
        layout.Text(kBriefColumns[1], Font::Regular, 9, game.started.empty() ? "-" : game.started);
        layout.Text(kBriefColumns[2], Font::Regular, 9, std::to_string(game.Drawn().size()));
        layout.Text(kBriefColumns[3], Font::Regular, 9, std::to_string(game.Winners().size()));
        layout.Text(kBriefColumns[4], Font::Mono, 8, Shown(game.commitment));
        layout.Text(kBriefColumns[5], Font::Mono, 8, Shown(game.seal));
        layout.Text(kBriefColumns[6], game.failures.empty() ? Font::Regular : Font::Bold, 9,
                    game.failures.empty() ? RevealWord(game) : std::string("LINES FAIL"));
        layout.Down(kRowHeight);
    }
    layout.RepeatOnBreak(nullptr);
    layout.Paragraph("Commitment and seal: the first 16 digits, as the players' screens showed "
                     "them.");

    if (!options.failures.empty()) {
        layout.Section("Lines that fail");
        for (const std::string& failure : options.failures)
            layout.Paragraph(failure);
        if (options.more_failures != 0)
            layout.Paragraph("and " + std::to_string(options.more_failures) + " more.");
    }
}

std::string Started(const RecordedGame& game) {
    switch (game.begin) {
    case RecordedGame::Begin::Commitment:
        return game.started;
    case RecordedGame::Begin::NewGame:
        return game.started + " (a new game was asked for; this log has no commitments)";
    case RecordedGame::Begin::BallMachine:
        return game.started + " (balls from the hall's ball machine)";
    case RecordedGame::Begin::BeforeLog:
        break;
    }
    return "before this log (its first line here is line " + std::to_string(game.first_line) + ")";
}

std::string RevealText(const RecordedGame& game) {
    switch (game.reveal) {
    case RecordedGame::Reveal::Verifies:
        return "VERIFIES. Revealed " + game.reveal_time +
               ": the revealed order and nonce give this commitment, and every check's drawn "
               "numbers are the start of that order.";
    case RecordedGame::Reveal::Fails:
        return "DOES NOT VERIFY. Revealed " + game.reveal_time + ": " + game.reveal_problem + ".";
    case RecordedGame::Reveal::NoCommitment:
        return "Revealed " + game.reveal_time +
               ", but the game's commitment is not in this log; the reveal gives the "
               "commitment " +
               game.revealed_commitment + ", to compare with the earlier log.";
    case RecordedGame::Reveal::NotRevealed:
        break;
    }
    if (game.begin == RecordedGame::Begin::BallMachine)
        return "None: the balls came from the hall's ball machine, so there is no sequence to "
               "commit to; every ball entered and recalled is in the log.";
    if (game.commitment.empty() && game.bad_commitment.empty())
        return "None: without a commitment there is nothing to verify.";
    return "Not revealed in this log: the game was still in play, or the program was closed "
           "without Exit (the reveal comes when the game ends).";
}

void RenderGame(Layout& layout, const RecordedGame& game, std::size_t number, bool several_logs) {
    layout.StartGame("Game " + std::to_string(number));
    if (several_logs)
        layout.Field("Log", game.file);
    layout.Field("Started", Started(game));
    if (!game.rules.empty())
        layout.Field("Rules", game.rules);
    if (!game.programme.empty())
        layout.Field("Programme", game.programme);
    for (const std::string& stage : game.stages)
        layout.Field("Stage", stage);
    for (const std::string& jackpot : game.jackpot)
        layout.Field("Jackpot", jackpot);
    if (!game.series_name.empty())
        layout.Field("Coupon series", game.series_name + (game.series_digest.empty()
                                                              ? std::string(", not read")
                                                              : ", SHA-256 " + game.series_digest));
    if (!game.commitment.empty())
        layout.Field("Commitment",
                     game.commitment + " (players saw " + Shown(game.commitment) + ")", Font::Mono,
                     9);
    else if (!game.bad_commitment.empty())
        layout.Field("Commitment", "DAMAGED, no digest: " + game.bad_commitment);
    else
        layout.Field("Commitment", "none in this log");
    layout.Field("Reveal", RevealText(game));
    if (!game.seal.empty())
        layout.Field("Seal", game.seal + " (players saw " + Shown(game.seal) + ")", Font::Mono, 9);
    if (game.begin == RecordedGame::Begin::BallMachine) {
        std::string recalls;
        for (const std::string& recall : game.recalls)
            recalls += (recalls.empty() ? "" : ", ") + recall;
        layout.Field("Recalled", recalls.empty() ? std::string("no ball") : recalls);
    }
    if (game.failures.empty()) {
        layout.Field("Lines", "no line of this game fails the verifier");
    } else {
        for (const std::string& failure : game.failures)
            layout.Field("FAILS", failure);
    }
    if (const int n = game.NumberCount(); n != 0)
        layout.Field("Numbers", "1 to " + std::to_string(n));
    for (const std::string& note : game.coupons_in_play)
        layout.Field("Coupons in play", note);
    if (!game.restarts.empty()) {
        std::string times;
        for (const std::string& time : game.restarts)
            times += (times.empty() ? "" : ", ") + time;
        layout.Field("Program started", times + " (the game went on)");
    }

    const std::vector<int> drawn = game.Drawn();
    layout.Section("Numbers in draw order");
    if (drawn.empty() && game.revealed.empty()) {
        layout.Paragraph("No check recorded the numbers drawn, and no revealed order was read.");
    } else {
        if (game.draws_logged)
            layout.Paragraph("Drawn: " + Counted(drawn.size(), "number", "numbers") +
                             ", every draw in the log.");
        else if (drawn.empty())
            layout.Paragraph("No check recorded the numbers drawn.");
        else
            layout.Paragraph("Drawn by the last check: " + std::to_string(drawn.size()) +
                             " numbers.");
        NumberGrid(layout, drawn, 0);
        const bool revealedFurther = game.revealed.size() > drawn.size() &&
                                     std::equal(drawn.begin(), drawn.end(), game.revealed.begin());
        if (revealedFurther) {
            layout.Paragraph("The rest of the revealed order, drawn after the last check or "
                             "never:");
            NumberGrid(layout, game.revealed, drawn.size());
        } else if (!game.revealed.empty() && game.revealed.size() > drawn.size()) {
            layout.Paragraph("The revealed order, which the drawn numbers do not start:");
            NumberGrid(layout, game.revealed, 0);
        }
    }

    layout.Section("Checks");
    if (game.checks.empty()) {
        layout.Paragraph("No check in this game.");
    } else {
        CheckHeading(layout);
        layout.RepeatOnBreak(CheckHeading);
        for (const RecordedCheck& check : game.checks) {
            layout.Need(kRowHeight);
            layout.Text(kCheckColumns[0], Font::Regular, 9, check.time);
            layout.Text(kCheckColumns[1], Font::Regular, 9, std::to_string(check.line));
            if (!check.damaged.empty()) {
                layout.Text(kCheckColumns[2], Font::Regular, 9,
                            Layout::Fit("damaged line: " + check.damaged, Font::Regular, 9,
                                        kRight - kCheckColumns[2]));
                layout.Down(kRowHeight);
                continue;
            }
            layout.Text(kCheckColumns[2], Font::Regular, 9, std::to_string(check.coupon));
            layout.Text(kCheckColumns[3], Font::Regular, 9, std::to_string(check.row));
            const bool known = check.drawn && !check.drawn->empty();
            layout.Text(kCheckColumns[4], Font::Regular, 9,
                        check.drawn ? std::to_string(check.drawn->size()) : "?");
            layout.Text(kCheckColumns[5], Font::Regular, 9,
                        known ? std::to_string(check.drawn->back()) : "-");
            layout.Text(kCheckColumns[6],
                        check.verdict == RecordedCheck::Verdict::Bingo ? Font::Bold : Font::Regular,
                        9, VerdictText(check.verdict));
            layout.Text(kCheckColumns[7], Font::Regular, 9, JudgedText(check.judged));
            layout.Down(kRowHeight);
        }
        layout.RepeatOnBreak(nullptr);
    }

    if (!game.winning_now.empty()) {
        layout.Section("Winning now, noted after draws");
        for (const auto& [time, note] : game.winning_now) {
            layout.Need(kRowHeight);
            layout.Text(kLeft, Font::Regular, 9, time);
            layout.Text(kCheckColumns[2], Font::Regular, 9,
                        Layout::Fit(note, Font::Regular, 9, kRight - kCheckColumns[2]));
            layout.Down(kRowHeight);
        }
    }

    layout.Section("Winners");
    const std::vector<RecordedWinner> winners = game.Winners();
    if (winners.empty()) {
        layout.Paragraph("No winner in this game.");
    } else {
        WinnerHeading(layout);
        layout.RepeatOnBreak(WinnerHeading);
        for (const RecordedWinner& winner : winners) {
            layout.Need(kRowHeight);
            layout.Text(kLeft, Font::Regular, 10, std::to_string(winner.row));
            layout.Text(110, Font::Regular, 10,
                        winner.drawn_count < 0 ? "?" : std::to_string(winner.drawn_count));
            layout.Text(210, Font::Regular, 10, std::to_string(winner.coupon));
            layout.Text(300, Font::Regular, 10, JudgedText(winner.judged));
            layout.Down(kRowHeight);
        }
        layout.RepeatOnBreak(nullptr);
    }
}

} // namespace

std::string RenderGameReport(const std::vector<RecordedGame>& games,
                             const GameReportOptions& options, std::size_t* pages) {
    Layout layout(options);
    RenderBrief(layout, games, options);
    for (std::size_t i = 0; i < games.size(); ++i)
        RenderGame(layout, games[i], i + 1, options.several_logs);
    const PdfWriter pdf = layout.Finish();
    if (pages)
        *pages = pdf.PageCount();
    return pdf.Bytes();
}

} // namespace zorvi
