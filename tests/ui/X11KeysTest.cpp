// The operator window on a real X server (Xvfb) with real key events (xdotool): holding the
// Space bar on a busy machine, typing after a refused coupon field, the keys and clicks of a
// caller entering the balls of the hall's machine, and the programme's Next game key. Run
// under xvfb-run.
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "Folders.h"
#include "GuiSupport.h"
#include "KeyFilter.h"
#include "ProgramState.h"
#include "ProgrammeStore.h"
#include "Random.h"
#include "RecordingPlayersScreen.h"
#include "Settings.h"
#include "TestFolders.h"

using namespace zorvi;
using test::ModalScript;
using Answer = ModalScript::Answer;

namespace {

// Runs xdotool with the arguments and waits for it.
bool XDoTool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// Processes that keep every core busy while they live.
class CpuLoad {
public:
    explicit CpuLoad(int processes) {
        for (int i = 0; i < processes; ++i) {
            auto process = std::make_unique<QProcess>();
            process->start(QStringLiteral("sh"),
                           {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
            process->waitForStarted();
            spinners_.push_back(std::move(process));
        }
    }
    ~CpuLoad() {
        for (auto& process : spinners_) {
            process->kill();
            process->waitForFinished();
        }
    }

private:
    std::vector<std::unique_ptr<QProcess>> spinners_;
};

// Between two presses of one key, well beyond the gap that makes them one hold.
constexpr int kKeyGapMs = 3 * int(KeyFilter::kRepeatGapMs);

// A real click of the left button in the middle of a control.
bool ClickOn(QWidget* control) {
    const QPoint at = control->mapToGlobal(control->rect().center());
    return XDoTool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                    QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
}

QString Numbers(const std::vector<int>& drawn) {
    QStringList numbers;
    for (int n : drawn)
        numbers << QString::number(n);
    return numbers.join(QLatin1Char(','));
}

// The lines of the game logs in the data folder for the balls and the checks, in order:
// "Ball entered: 17|Checked coupon 7|…".
QString BallAndCheckLines(const std::filesystem::path& dataFolder) {
    std::string log;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder / "logs"))
        log += test::TestFolders::ReadFile(entry.path());
    QStringList lines;
    const QRegularExpression ball(
        QStringLiteral("Ball (entered|recalled): \\d+|Checked coupon \\d+"));
    for (auto it = ball.globalMatch(QString::fromStdString(log)); it.hasNext();)
        lines << it.next().captured();
    return lines.join(QLatin1Char('|'));
}

// An evening of five games as a hall writes its programme file.
constexpr const char* kEvening = "[programme]\n"
                                 "name=Friday\n"
                                 "[pattern Arrow]\n"
                                 "grid=..#../.###./#.#.#/..#../..#..\n"
                                 "[game]\nname=Rows\nstage=rows_1 | 10 €\nstage=rows_2 | 20 €\n"
                                 "[game]\nname=Corners\nstage=four_corners | 15 €\n"
                                 "[game]\nname=Cross\nstage=x | 25 €\n"
                                 "[game]\nname=Arrow game\nstage=Arrow | 30 €\n"
                                 "[game]\nname=Jackpot card\nstage=full_card | 50 €\n"
                                 "jackpot_within=48\njackpot_prize=500\njackpot_step=2\n";

} // namespace

class X11KeysTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{31337};

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY2(XDoTool({QStringLiteral("version")}), "xdotool is needed");
    }
    void init() { folders_ = test::PlainGameFolders(); }
    void cleanup() { folders_.reset(); }

    // X repeats a held key as release-and-press pairs; a busy machine must not turn them into
    // draws. One tap draws one number, a five-second hold one more.
    void heldSpaceDrawsOnceOnABusyMachine() {
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        QVERIFY(window->isActiveWindow());
        QVERIFY(XDoTool({QStringLiteral("key"), QStringLiteral("space")}));
        QTRY_COMPARE(window->State().number_count, 1);
        QTest::qWait(1200); // the draw lock ends
        {
            CpuLoad load(3);
            QVERIFY(XDoTool({QStringLiteral("keydown"), QStringLiteral("space")}));
            QTest::qWait(5000);
            QVERIFY(XDoTool({QStringLiteral("keyup"), QStringLiteral("space")}));
            QTest::qWait(300);
        }
        QCOMPARE(window->State().number_count, 2);
        QVERIFY(script.Seen().isEmpty());
    }

    // The empty field refused with its message; the digits typed next land in the field.
    void digitsTypedAfterARefusedFieldLandInIt() {
        ModalScript script{Answer::Ok};
        auto window = test::StartOperatorWindow(generator_, script);
        auto* field = qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField));
        QTRY_COMPARE(QApplication::focusWidget(), field);
        field->clear();
        QVERIFY(XDoTool({QStringLiteral("key"), QStringLiteral("Return")}));
        QTRY_COMPARE(script.Seen(), QStringList{QStringLiteral("Enter a positive integer.")});
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QTRY_VERIFY(window->isActiveWindow());
        QVERIFY(XDoTool({QStringLiteral("type"), QStringLiteral("42")}));
        QTRY_COMPARE(field->text(), QStringLiteral("42"));
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("-"));
    }

    // A caller entering the balls of the hall's machine. Each row starts a game of the machine
    // with the balls `before` entered, then presses real keys and clicks: "type 17", "key Tab",
    // "click cancel" (the recall), "click board 17". Then "4" is typed: it lands whole in the
    // field that has the focus only when that field was empty and every earlier key was taken.
    // clang-format off
    void ballMachineKeys_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("confirmBoard");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("answer");   // to the one question, empty when none comes
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<QString>("refused"); // the line beside the ball field
        QTest::addColumn<QString>("checked"); // the checked coupon shown, "-" none
        QTest::addColumn<QString>("focus");   // the field typed into next: ball or coupon
        QTest::addColumn<QString>("log");     // the ball and check lines of the game log

        const QString ret = QStringLiteral("key Return");
        QTest::newRow("a ball") << 2 << 1 << "" << QStringList{"type 17", ret} << "" << ""
            << "17" << "" << "-" << "ball" << "Ball entered: 17";
        QTest::newRow("balls in a row, keypad Enter") << 2 << 1 << "" << QStringList{"type 5", ret,
            "type 71", "key KP_Enter"} << "" << "" << "5,71" << "" << "-" << "ball"
            << "Ball entered: 5|Ball entered: 71";
        QTest::newRow("out of range") << 2 << 1 << "17" << QStringList{"type 76", ret} << "" << ""
            << "17" << "76 is not a ball of this game (1–75)." << "-" << "ball" << "Ball entered: 17";
        QTest::newRow("zero, in Finnish") << 0 << 1 << "" << QStringList{"type 0", ret} << "" << ""
            << "" << "0 ei ole tämän pelin pallo (1–75)." << "-" << "ball" << "";
        QTest::newRow("drawn already") << 2 << 1 << "17" << QStringList{"type 17", ret} << "" << ""
            << "17" << "Ball 17 has been drawn already." << "-" << "ball" << "Ball entered: 17";
        QTest::newRow("drawn already, in Swedish") << 1 << 1 << "5" << QStringList{"type 5", ret}
            << "" << "" << "5" << "Boll 5 är redan dragen." << "-" << "ball" << "Ball entered: 5";
        QTest::newRow("the next ball clears the refusal") << 2 << 1 << "" << QStringList{"type 99",
            ret, "type 9", ret} << "" << "" << "9" << "" << "-" << "ball" << "Ball entered: 9";
        QTest::newRow("empty field, nothing") << 2 << 1 << "17" << QStringList{ret} << "" << ""
            << "17" << "" << "-" << "ball" << "Ball entered: 17";
        QTest::newRow("space draws nothing") << 2 << 1 << "" << QStringList{"key space"} << "" << ""
            << "" << "" << "-" << "ball" << "";
        QTest::newRow("tab to the coupon field") << 2 << 1 << "17" << QStringList{"key Tab"} << ""
            << "" << "17" << "" << "-" << "coupon" << "Ball entered: 17";
        QTest::newRow("tab there and back") << 2 << 1 << "" << QStringList{"key Tab", "key Tab",
            "type 8", ret} << "" << "" << "8" << "" << "-" << "ball" << "Ball entered: 8";
        QTest::newRow("a coupon checked, back to the ball") << 2 << 1 << "17" << QStringList{
            "key Tab", "type 7", ret} << "" << "" << "17" << "" << "7" << "ball"
            << "Ball entered: 17|Checked coupon 7";
        // The next ball clears the checked coupon from the panel, as a draw does.
        QTest::newRow("shift-tab, a coupon, the next ball") << 2 << 1 << "17" << QStringList{
            "key shift+Tab", "type 12", ret, "type 23", ret} << "" << "" << "17,23" << "" << "-"
            << "ball" << "Ball entered: 17|Checked coupon 12|Ball entered: 23";
        QTest::newRow("the recall") << 2 << 1 << "17,23" << QStringList{"click cancel"} << "Yes"
            << "Recall the last ball on every screen?" << "17" << "" << "-" << "ball"
            << "Ball entered: 17|Ball entered: 23|Ball recalled: 23";
        QTest::newRow("the recall declined") << 2 << 1 << "17,23" << QStringList{"click cancel"}
            << "No" << "Recall the last ball on every screen?" << "17,23" << "" << "-" << "ball"
            << "Ball entered: 17|Ball entered: 23";
        QTest::newRow("the board, asked") << 2 << 1 << "" << QStringList{"click board 33"} << "Yes"
            << "Enter ball 33 as drawn?" << "33" << "" << "-" << "ball" << "Ball entered: 33";
        QTest::newRow("the board, declined") << 2 << 1 << "" << QStringList{"click board 33"}
            << "No" << "Enter ball 33 as drawn?" << "" << "" << "-" << "ball" << "";
        QTest::newRow("the board at once") << 2 << 0 << "" << QStringList{"click board 33"} << ""
            << "" << "33" << "" << "-" << "ball" << "Ball entered: 33";
    }
    // clang-format on

    void ballMachineKeys() {
        QFETCH(int, language);
        QFETCH(int, confirmBoard);
        QFETCH(QString, before);
        QFETCH(QStringList, steps);
        QFETCH(QString, answer);
        QFETCH(QString, question);
        QFETCH(QString, drawn);
        QFETCH(QString, refused);
        QFETCH(QString, checked);
        QFETCH(QString, focus);
        QFETCH(QString, log);
        test::WriteSettings([&](Settings& s) {
            s.language = language;
            s.public_screen = 0;
            s.enable_background_voice = 0;
            s.ball_source = 1;
            s.confirm_board_entry = confirmBoard;
        });
        ModalScript script;
        if (!answer.isEmpty())
            script.Add(answer == QStringLiteral("Yes") ? Answer::Yes : Answer::No);
        auto window = test::StartOperatorWindow(generator_, script);
        QVERIFY(window->isActiveWindow());
        auto* ballField = qobject_cast<QLineEdit*>(window->ControlById(Control::BallField));
        auto* couponField = qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField));
        for (const QString& ball : before.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            ballField->setText(ball);
            window->Commands().EnterBallCommand();
        }
        QTRY_COMPARE(QApplication::focusWidget(), ballField);
        const QString couponBefore = couponField->text();

        for (const QString& step : steps) {
            // A caller's pace: the same key pressed again within the repeat gap of its release
            // would be taken for the key held down.
            QTest::qWait(kKeyGapMs);
            QStringList words = step.split(QLatin1Char(' '));
            if (words.front() == QStringLiteral("click")) {
                const int id = words.at(1) == QStringLiteral("cancel")
                                   ? Control::CancelNumber
                                   : Control::FirstBoardCell + words.at(2).toInt() - 1;
                QVERIFY(ClickOn(window->ControlById(id)));
            } else {
                // xdotool waits half the delay between a release and the next press.
                words.insert(1, QStringLiteral("--delay"));
                words.insert(2, QString::number(4 * kKeyGapMs));
                QVERIFY(XDoTool(words));
            }
        }
        QTest::qWait(kKeyGapMs);
        if (!answer.isEmpty())
            QTRY_VERIFY(script.Done());
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(script.Seen(), question.isEmpty() ? QStringList() : QStringList{question});

        QLineEdit* focused = focus == QStringLiteral("ball") ? ballField : couponField;
        QVERIFY(XDoTool({QStringLiteral("type"), QStringLiteral("4")}));
        QTRY_COMPARE(focused->text(), QStringLiteral("4"));
        QCOMPARE(QApplication::focusWidget(), focused);
        if (focused == ballField && !log.contains(QStringLiteral("Checked")))
            QCOMPARE(couponField->text(), couponBefore);

        QCOMPARE(Numbers(window->State().DrawnNumbers()), drawn);
        const QString current = drawn.section(QLatin1Char(','), -1);
        QCOMPARE(window->ControlText(Control::CurrentNumber),
                 current.isEmpty() ? QStringLiteral("-") : current);
        for (int number = 1; number <= 75; ++number)
            QCOMPARE(test::BoardCellMarked(*window, number),
                     drawn.split(QLatin1Char(',')).contains(QString::number(number)));
        QCOMPARE(window->ControlText(Control::BallRefused), refused);
        QCOMPARE(window->ControlText(Control::CheckedCoupon), checked);
        QCOMPARE(BallAndCheckLines(folders_->dataFolder()), log);
        QVERIFY(!script.Unexpected());
    }

    // The caller's keys through the programme's first game: Space draws, a coupon typed and
    // Enter checks it, F8 asks for the next game and a click on Yes moves on. The line, the
    // state and the players' window show game 2.
    void programmeNextGameKey() {
        test::TestFolders::WriteFile(Helpers::GetDataFolder() / std::string(kProgrammeFileName),
                                     kEvening);
        ModalScript script;
        script.Add([](QWidget* modal) {
            QVERIFY(ClickOn(modal->findChild<QWidget*>(QStringLiteral("1057"))));
        });
        auto window = test::StartOperatorWindow(generator_, script);
        QVERIFY(window->isActiveWindow());
        auto* screen = dynamic_cast<test::RecordingPlayersScreen*>(&window->PublicScreen());
        QVERIFY(screen);
        QCOMPARE(window->ControlText(Control::ProgrammeStage),
                 QStringLiteral("Game 1 of 5: Rows · Stage 1 of 2: 1 row — 10 €"));
        QCOMPARE(screen->shown.Game().board.game, 1);

        for (int count = 1; count <= 3; ++count) {
            QTest::qWait(kKeyGapMs);
            QVERIFY(XDoTool({QStringLiteral("key"), QStringLiteral("space")}));
            QTRY_COMPARE(window->State().number_count, count);
            test::EndDrawLock(*window);
        }
        auto* couponField = qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField));
        QTRY_COMPARE(QApplication::focusWidget(), couponField);
        couponField->clear();
        QVERIFY(XDoTool({QStringLiteral("type"), QStringLiteral("7")}));
        QVERIFY(XDoTool({QStringLiteral("key"), QStringLiteral("Return")}));
        QTRY_COMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("7"));

        QVERIFY(XDoTool({QStringLiteral("key"), QStringLiteral("F8")}));
        QTRY_VERIFY(script.Done());
        QTRY_COMPARE(window->State().programme_game, 2);
        QCOMPARE(script.Seen(),
                 QStringList{QStringLiteral("Move on to the programme's next game?")});
        QCOMPARE(window->State().number_count, 0);
        QCOMPARE(window->ControlText(Control::ProgrammeStage),
                 QStringLiteral("Game 2 of 5: Corners · Stage 1 of 1: Four corners — 15 €"));
        QVERIFY(window->IsControlEnabled(Control::NextGame));
        QCOMPARE(screen->shown.Game().board.game, 2);
        QCOMPARE(screen->shown.Game().board.name, std::string("Corners"));
        QVERIFY(screen->calls.contains(QStringLiteral("board 2/5 stage 1/1")));
        QVERIFY(!script.Unexpected());
    }
};

QTEST_MAIN(X11KeysTest)
#include "X11KeysTest.moc"
