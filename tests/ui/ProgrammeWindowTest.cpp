// The evening's programme in the operator window, on the offscreen platform: the programme
// dialog builds an evening and saves it, refuses what it cannot save or import, the window's
// line tells the game and stage in the operator's language, the Next game button and key move
// on, a game of another number count switches the setting, and a refused programme file is
// told at the start-up. The real keys are in X11KeysTest.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "DialogResult.h"
#include "Folders.h"
#include "GuiSupport.h"
#include "ProgramState.h"
#include "ProgrammeDlg.h"
#include "ProgrammePlay.h"
#include "ProgrammeStore.h"
#include "Random.h"
#include "RecordingPlayersScreen.h"
#include "Settings.h"
#include "TestFolders.h"

using namespace zorvi;
using test::ModalScript;
using Answer = ModalScript::Answer;

namespace {

// Drawn by the hall: squares 2, 6, 7, 8, 10, 12, 14, 17 and 22.
constexpr const char* kArrow = "..#../.###./#.#.#/..#../..#..";

ProgrammeStage StageOf(const std::string& key, const std::string& prize, int numbers = 75) {
    return ProgrammeStage{*WinPatterns::Find(key, numbers), prize};
}

// Five games: rows, four corners, X, a drawn pattern, a full card with a progressive jackpot.
Programme Evening() {
    Programme programme;
    programme.name = "Friday";
    const WinPattern arrow = *WinPatterns::Drawn("Arrow", *WinPatterns::ParseGrid(kArrow));
    programme.drawnPatterns = {arrow};
    programme.games = {
        {"Rows", 75, {StageOf("rows_1", "10 €"), StageOf("rows_2", "20 €")}, {}},
        {"Corners", 75, {StageOf("four_corners", "15 €")}, {}},
        {"Cross", 75, {StageOf("x", "25 €")}, {}},
        {"Arrow game", 75, {ProgrammeStage{arrow, "30 €"}}, {}},
        {"Jackpot card", 75, {StageOf("full_card", "50 €")}, Jackpot{48, 500, 2, 50, 56}},
    };
    return programme;
}

std::filesystem::path DataFolder() {
    return Helpers::GetDataFolder();
}

template <typename T> T* Find(QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QLatin1String(name));
    if (!found)
        qWarning("no control %s", name);
    return found;
}

void Click(QWidget& dialog, const char* name) {
    Find<QAbstractButton>(dialog, name)->click();
}

// Typed over what the field holds, as an edit of the operator's ("€" is no key QTest types).
void Type(QWidget& dialog, const char* name, const QString& text) {
    auto* field = Find<QLineEdit>(dialog, name);
    field->setText(text);
    emit field->textEdited(text);
}

void Choose(QWidget& dialog, const char* name, const QString& key) {
    auto* combo = Find<QComboBox>(dialog, name);
    combo->setCurrentIndex(combo->findData(key));
}

void ChooseNumbers(QWidget& dialog, int numbers) {
    auto* combo = Find<QComboBox>(dialog, "numbers");
    combo->setCurrentIndex(combo->findData(numbers));
}

// A new game after the selected one, named, with its first stage's pattern and prize.
void AddGame(QWidget& dialog, const QString& name, const QString& pattern, const QString& prize) {
    Click(dialog, "addGame");
    Type(dialog, "gameName", name);
    Choose(dialog, "pattern", pattern);
    Type(dialog, "prize", prize);
}

// The evening built in the dialog as an operator builds it, the arrow drawn square by square.
void BuildEvening(ProgrammeDlg& dialog) {
    Type(dialog, "programmeName", QStringLiteral("Friday"));
    AddGame(dialog, QStringLiteral("Rows"), QStringLiteral("rows_1"), QStringLiteral("10 €"));
    Click(dialog, "addStage");
    Choose(dialog, "pattern", QStringLiteral("rows_2"));
    Type(dialog, "prize", QStringLiteral("20 €"));
    AddGame(dialog, QStringLiteral("Corners"), QStringLiteral("four_corners"),
            QStringLiteral("15 €"));
    AddGame(dialog, QStringLiteral("Cross"), QStringLiteral("x"), QStringLiteral("25 €"));
    const std::uint32_t arrow = *WinPatterns::ParseGrid(kArrow);
    for (int square = 0; square < WinPatterns::kGridSquares; ++square)
        if ((arrow >> square) & 1U)
            Click(dialog, qPrintable(QStringLiteral("square%1").arg(square)));
    Type(dialog, "drawnName", QStringLiteral("Arrow"));
    Click(dialog, "addPattern");
    AddGame(dialog, QStringLiteral("Arrow game"), QStringLiteral("Arrow"), QStringLiteral("30 €"));
    // A 90-number game first, so the count goes back and forth before the full card.
    AddGame(dialog, QStringLiteral("Jackpot card"), QStringLiteral("full_card"),
            QStringLiteral("50 €"));
    ChooseNumbers(dialog, 90);
    ChooseNumbers(dialog, 75);
    Find<QGroupBox>(dialog, "jackpot")->setChecked(true);
    Find<QSpinBox>(dialog, "jackpotWithin")->setValue(48);
    Find<QSpinBox>(dialog, "jackpotPrize")->setValue(500);
    Find<QSpinBox>(dialog, "jackpotStep")->setValue(2);
    Find<QSpinBox>(dialog, "jackpotPrizeStep")->setValue(50);
    Find<QSpinBox>(dialog, "jackpotCap")->setValue(56);
}

} // namespace

class ProgrammeWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{8642};

private slots:
    void init() { folders_ = test::PlainGameFolders(); }
    void cleanup() { folders_.reset(); }

    // Opened by its button, the dialog builds the five games, saves them through the game, and
    // the file reads back as built; the window then offers the next game.
    void dialogBuildsAnEveningAndSavesIt() {
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        QVERIFY(window->ControlById(Control::NextGame)->isHidden());
        QString status;
        script.Add([&](QWidget* modal) {
            auto* dialog = qobject_cast<ProgrammeDlg*>(modal);
            QVERIFY(dialog);
            BuildEvening(*dialog);
            QVERIFY(dialog->Unsaved());
            Click(*dialog, "save");
            status = dialog->Status();
            QVERIFY(!dialog->Unsaved());
            Click(*dialog, "close");
        });
        qobject_cast<QAbstractButton*>(window->ControlById(Control::Programme))->click();
        QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
        QCOMPARE(status, QStringLiteral("Programme saved: it is played from the next game on."));

        const ProgrammeLoad load = ProgrammeStore::Load(DataFolder());
        QVERIFY(!load.fault);
        QVERIFY(load.programme);
        QVERIFY(*load.programme == Evening());
        QVERIFY(window->ControlById(Control::NextGame)->isVisible());
        QVERIFY(window->IsControlEnabled(Control::NextGame));
    }

    // What Save refuses, with the reason in the operator's language; nothing reaches the game.
    void saveRefusesWhatCannotBeRead_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("saves");
        QTest::addColumn<QString>("message");
        QTest::newRow("a game without a name")
            << "noname" << true << "The programme cannot be saved like this: game 2 has no name";
        QTest::newRow("two games of one name")
            << "samename" << true
            << "The programme cannot be saved like this: two games are named \"rows\"";
        QTest::newRow("the data folder cannot be written")
            << "" << false
            << "The programme could not be saved: the data folder cannot be written.";
    }
    void saveRefusesWhatCannotBeRead() {
        QFETCH(QString, change);
        QFETCH(bool, saves);
        QFETCH(QString, message);
        Settings settings(Settings::NoLoad{});
        settings.language = 2;
        int saved = 0;
        ProgrammeDlg::Actions actions;
        actions.save = [&](const Programme&) {
            ++saved;
            return saves;
        };
        ProgrammeDlg dialog(Evening(), settings, actions);
        auto* games = Find<QListWidget>(dialog, "games");
        games->setCurrentRow(1);
        if (change == QStringLiteral("noname"))
            Type(dialog, "gameName", QString());
        else if (change == QStringLiteral("samename"))
            Type(dialog, "gameName", QStringLiteral("rows"));
        dialog.Prompts().SetNextAnswer(kResultOk);
        dialog.Save();
        QCOMPARE(dialog.Prompts().Answered(), QStringList{message});
        QCOMPARE(saved, change.isEmpty() ? 1 : 0);
        QVERIFY(dialog.Unsaved() == !change.isEmpty());
    }

    // A refused file changes nothing and tells why, by the file's own line; a good one replaces
    // the programme in the dialog until it is saved.
    void importTellsARefusedFileAndChangesNothing() {
        Settings settings(Settings::NoLoad{});
        settings.language = 1;
        const auto bad = folders_->dataFolder() / "bad programme.ini";
        test::TestFolders::WriteFile(bad, "[game]\nname=Corners\nstage=four_corner | 20\n");
        const auto good = folders_->dataFolder() / "good.ini";
        QVERIFY(ProgrammeStore::Export(good, Evening()));
        Programme before = Evening();
        before.games.resize(2);
        ProgrammeDlg dialog(before, settings, {});
        QString chosen;
        dialog.SetFileChooser([&](bool save) { return save ? QString() : chosen; });

        chosen = QString::fromStdString(bad.string());
        dialog.Prompts().SetNextAnswer(kResultOk);
        dialog.Import();
        const ProgrammeFault fault = ProgrammeStore::Import(bad).fault;
        QCOMPARE(fault.line, 3);
        QCOMPARE(
            dialog.Prompts().Answered(),
            QStringList{QStringLiteral("Programfilen %1 kunde inte användas.\n%2")
                            .arg(chosen, QString::fromStdString(ProgrammeFaultText(fault, 1)))});
        QVERIFY(dialog.Edited() == before);
        QVERIFY(!dialog.Unsaved());
        QCOMPARE(Find<QListWidget>(dialog, "games")->count(), 2);

        chosen = QString::fromStdString(good.string());
        dialog.Import();
        QCOMPARE(dialog.Prompts().Answered().size(), 1);
        QVERIFY(dialog.Edited() == Evening());
        QVERIFY(dialog.Unsaved());
        QCOMPARE(Find<QListWidget>(dialog, "games")->count(), 5);

        // Exported as it stands, it imports the same.
        const auto exported = folders_->dataFolder() / "exported.ini";
        dialog.SetFileChooser([&](bool save) {
            return save ? QString::fromStdString(exported.string()) : QString();
        });
        dialog.Export();
        QCOMPARE(dialog.Prompts().Answered().size(), 1);
        QVERIFY(ProgrammeStore::Import(exported).programme == Evening());
    }

    // Remove programme, once confirmed: the file goes, the button with it; the game running
    // keeps its programme until it ends.
    void removeProgrammeAfterTheQuestion() {
        QVERIFY(ProgrammeStore::Save(DataFolder(), Evening()));
        ModalScript script;
        QStringList asked;
        script.Add([&](QWidget* modal) {
            auto* dialog = qobject_cast<ProgrammeDlg*>(modal);
            QVERIFY(dialog);
            dialog->Prompts().SetNextAnswer(kResultNo);
            Click(*dialog, "removeProgramme");
            QVERIFY(std::filesystem::exists(DataFolder() / std::string(kProgrammeFileName)));
            QCOMPARE(Find<QListWidget>(*dialog, "games")->count(), 5);
            dialog->Prompts().SetNextAnswer(kResultYes);
            Click(*dialog, "removeProgramme");
            QCOMPARE(Find<QListWidget>(*dialog, "games")->count(), 0);
            asked = dialog->Prompts().Answered();
            Click(*dialog, "close");
        });
        auto window = test::StartOperatorWindow(generator_, script);
        QVERIFY(window->ControlById(Control::NextGame)->isVisible());
        qobject_cast<QAbstractButton*>(window->ControlById(Control::Programme))->click();
        QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
        const QString question = QStringLiteral(
            "Remove the programme? From the next game on the evening is played without one.");
        QCOMPARE(asked, (QStringList{question, question}));
        QVERIFY(!std::filesystem::exists(DataFolder() / std::string(kProgrammeFileName)));
        QVERIFY(window->ControlById(Control::NextGame)->isHidden());
        QCOMPARE(window->ControlText(Control::ProgrammeStage),
                 QStringLiteral("Game 1 of 5: Rows · Stage 1 of 2: 1 row — 10 €"));
    }

    // The line along the bottom, for each kind of board and language.
    // clang-format off
    void stageLineInTheOperatorsLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("line");
        QTest::newRow("a stage") << 2 << "stage"
            << "Game 2 of 5: Corners · Stage 1 of 2: Four corners — 15 €";
        QTest::newRow("a stage, in Finnish") << 0 << "stage"
            << "Peli 2/5: Corners · Vaihe 1/2: Neljä kulmaa — 15 €";
        QTest::newRow("a jackpot, in Swedish") << 1 << "jackpot"
            << "Spel 5 av 5: Jackpot card · Etapp 1 av 1: Full bricka — 50 € · "
               "Jackpot: full bricka inom 48: 500 €";
        QTest::newRow("between games") << 2 << "between"
            << "Game 2 of 5: Corners — over · Next: game 3: Cross — 25 €";
        QTest::newRow("after the last game") << 2 << "last"
            << "Game 5 of 5: Jackpot card — over · the programme's last game";
        QTest::newRow("no programme") << 2 << "none" << "";
    }
    // clang-format on
    void stageLineInTheOperatorsLanguage() {
        QFETCH(int, language);
        QFETCH(QString, kind);
        QFETCH(QString, line);
        test::WriteSettings([&](Settings& s) {
            s.language = language;
            s.public_screen = 0;
            s.enable_background_voice = 0;
        });
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        PagePrizeBoard board;
        board.game = 2;
        board.games = 5;
        board.name = "Corners";
        board.stage = 1;
        board.stages = 2;
        board.pattern = ProgrammePlay::PageFor(*WinPatterns::Find("four_corners", 75));
        board.prize = "15 €";
        if (kind == QStringLiteral("jackpot") || kind == QStringLiteral("last")) {
            board.game = 5;
            board.name = "Jackpot card";
            board.stages = 1;
            board.pattern = ProgrammePlay::PageFor(*WinPatterns::Find("full_card", 75));
            board.prize = "50 €";
            board.jackpotWithin = 48;
            board.jackpotPrize = "500 €";
        }
        board.between = kind == QStringLiteral("between") || kind == QStringLiteral("last");
        if (kind == QStringLiteral("between"))
            board.next = {PageNextGame{3, "Cross", {}, "25 €"}};
        // A board shown first, so that "no programme" has to take it down.
        window->ShowProgrammeStage(board);
        if (kind == QStringLiteral("none"))
            window->ShowProgrammeStage(PagePrizeBoard{});
        QCOMPARE(window->ControlText(Control::ProgrammeStage), line);
        QCOMPARE(window->ControlById(Control::ProgrammeStage)->isVisible(), !line.isEmpty());
    }

    // Through an evening: the line follows each game, the button and F8 move on after the
    // question (declined: nothing), the players' window gets every board, and the button is
    // off at the last game.
    void nextGameThroughTheEvening() {
        QVERIFY(ProgrammeStore::Save(DataFolder(), Evening()));
        ModalScript script{Answer::No, Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes};
        auto window = test::StartOperatorWindow(generator_, script);
        auto* screen = dynamic_cast<test::RecordingPlayersScreen*>(&window->PublicScreen());
        QVERIFY(screen);
        const auto line = [&] { return window->ControlText(Control::ProgrammeStage); };
        QCOMPARE(line(), QStringLiteral("Game 1 of 5: Rows · Stage 1 of 2: 1 row — 10 €"));
        QVERIFY(window->IsControlEnabled(Control::NextGame));
        auto* next = qobject_cast<QAbstractButton*>(window->ControlById(Control::NextGame));

        next->click(); // declined
        QCOMPARE(window->State().programme_game, 1);
        next->click();
        QCOMPARE(window->State().programme_game, 2);
        QCOMPARE(line(),
                 QStringLiteral("Game 2 of 5: Corners · Stage 1 of 1: Four corners — 15 €"));
        QCOMPARE(screen->shown.Game().board.game, 2);
        QVERIFY(screen->calls.contains(QStringLiteral("board 2/5 stage 1/1")));
        test::TapKey(*window, CZorviDlg::kNextGameKey);
        QCOMPARE(window->State().programme_game, 3);
        next->click();
        next->click();
        QCOMPARE(window->State().programme_game, 5);
        QCOMPARE(line(), QStringLiteral("Game 5 of 5: Jackpot card · Stage 1 of 1: Full card — "
                                        "50 € · Jackpot: full card within 48: 500 €"));
        QVERIFY(!window->IsControlEnabled(Control::NextGame));
        QVERIFY(window->ControlById(Control::NextGame)->isVisible());
        QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
        QCOMPARE(script.Seen().size(), 5);
    }

    // A game of 90 numbers after one of 75: the setting follows and is saved, the board has 90
    // numbers; the free middle goes with the 75-number game.
    void aGameOfNinetyNumbersSwitchesTheSetting() {
        test::WriteSettings([](Settings& s) {
            s.language = 2;
            s.public_screen = 0;
            s.enable_background_voice = 0;
            s.free_middle = 1;
        });
        test::WriteCouponSeries(folders_->programFolder() / "90.hex", 50, 15);
        Programme programme;
        programme.games = {{"Early", 75, {StageOf("rows_1", "")}, {}},
                           {"Ninety", 90, {StageOf("rows_3", "5 €", 90)}, {}}};
        QVERIFY(ProgrammeStore::Save(DataFolder(), programme));
        ModalScript script{Answer::Yes};
        auto window = test::StartOperatorWindow(generator_, script);
        QCOMPARE(window->BoardCellCount(), 75);
        test::TapKey(*window, CZorviDlg::kNextGameKey);
        QCOMPARE(window->State().programme_game, 2);
        QCOMPARE(window->GetSettings().max_called_numbers, 90);
        QCOMPARE(window->BoardCellCount(), 90);
        Settings saved;
        QCOMPARE(saved.max_called_numbers, 90);
        QCOMPARE(saved.free_middle, 0);
        QCOMPARE(window->ControlText(Control::ProgrammeStage),
                 QStringLiteral("Game 2 of 2: Ninety · Stage 1 of 1: Full house — 5 €"));
        QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }

    // A refused programme.ini is told once at the start, with the file, the reason and what
    // the evening plays.
    void refusedProgrammeFileIsToldAtTheStart_data() {
        QTest::addColumn<bool>("lastGood");
        QTest::addColumn<QString>("played");
        QTest::addColumn<QString>("line");
        QTest::newRow("the last good one") << true << "The last good programme is played."
                                           << "Game 1 of 5: Rows · Stage 1 of 2: 1 row — 10 €";
        QTest::newRow("none") << false << "No programme is played."
                              << "";
    }
    void refusedProgrammeFileIsToldAtTheStart() {
        QFETCH(bool, lastGood);
        QFETCH(QString, played);
        QFETCH(QString, line);
        if (lastGood)
            QVERIFY(ProgrammeStore::Save(DataFolder(), Evening()));
        const auto file = DataFolder() / std::string(kProgrammeFileName);
        test::TestFolders::WriteFile(file, "[programme]\nname=Friday\n[game]\nname=A\n");
        const ProgrammeFault fault = ProgrammeStore::Load(DataFolder()).fault.value();
        ModalScript script{Answer::Ok};
        auto window = test::StartOperatorWindow(generator_, script);
        const QString expected =
            QStringLiteral("The programme file %1 could not be used.\n%2\n%3")
                .arg(QString::fromStdU16String(file.u16string()),
                     QString::fromStdString(ProgrammeFaultText(fault, 2)), played);
        QCOMPARE(script.Seen(), QStringList{expected});
        QCOMPARE(window->ControlText(Control::ProgrammeStage), line);
        QCOMPARE(window->ControlById(Control::NextGame)->isVisible(), lastGood);
    }
};

QTEST_MAIN(ProgrammeWindowTest)
#include "ProgrammeWindowTest.moc"
