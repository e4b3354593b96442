// The operator window on the offscreen platform: start-up, keys, colours, the ways out.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <memory>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "DialogResult.h"
#include "GuiSupport.h"
#include "KeyFilter.h"
#include "PageCalls.h"
#include "PageFanOut.h"
#include "PaintHelper.h"
#include "ProgramState.h"
#include "Random.h"
#include "RecordingPlayersScreen.h"
#include "Settings.h"
#include "StateFile.h"
#include "StaticControl.h"
#include "TestFolders.h"
#include "WindowTitle.h"

using namespace zorvi;
using test::ModalScript;
using Answer = ModalScript::Answer;

namespace {

const QColor kRed = PaintHelper::ToQColor(PaintHelper::Rgb(255, 0, 0));
const QColor kDarkGreen = PaintHelper::ToQColor(PaintHelper::Rgb(0, 121, 17));
const QColor kGreen = PaintHelper::ToQColor(PaintHelper::Rgb(0, 160, 30));
const QColor kOlive = PaintHelper::ToQColor(PaintHelper::Rgb(180, 180, 0));

// The background a control paints with, or an invalid colour for the platform's own.
QColor Background(CZorviDlg& window, int id) {
    auto* control = qobject_cast<StaticControl*>(window.ControlById(id));
    if (!control)
        return QColor();
    const auto colours = control->currentColours();
    return colours && colours->brush ? *colours->brush : QColor();
}

// A stored game of `drawn` numbers with the given interval, as the program saves it.
void StoreGame(int drawn, int autoSpeed, int autoMode = 0) {
    Settings settings;
    Random15 generator(99);
    ProgramState state(generator);
    state.AttachSettings(settings);
    state.ResetGame();
    for (int i = 0; i < drawn; ++i)
        state.DrawNext();
    state.auto_speed = autoSpeed;
    state.auto_new_number = autoMode;
    QVERIFY(StateFile::SaveState(state));
}

// A page beside the public screen (as the hall server is): what it is sent, in short.
class NotedPage : public PageCalls {
public:
    void PageReset(int numberCount, const std::string&) override {
        calls << QStringLiteral("reset %1").arg(numberCount);
    }
    void PageUpdateMainScreen(int currentNumber, int count, int row) override {
        calls << QStringLiteral("update %1 %2 %3").arg(currentNumber).arg(count).arg(row);
    }
    void PageShowTicket(const PageTicket& ticket) override {
        calls << QStringLiteral("ticket %1 %2").arg(ticket.couponNumber).arg(ticket.winner);
    }
    void PageShowGame(const PageGame& game) override {
        QStringList numbers;
        for (int n : game.drawn)
            numbers << QString::number(n);
        calls << QStringLiteral("game %1 [%2] row %3%4")
                     .arg(game.numberCount)
                     .arg(numbers.join(QLatin1Char(',')))
                     .arg(game.row)
                     .arg(game.ticket ? QStringLiteral(" ticket") : QString());
    }
    QStringList calls;
};

QString Numbers(const std::vector<int>& drawn) {
    QStringList numbers;
    for (int n : drawn)
        numbers << QString::number(n);
    return numbers.join(QLatin1Char(','));
}

} // namespace

class OperatorWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{4242};

    test::OperatorWindow StartWindow(ModalScript& script) {
        return test::StartOperatorWindow(generator_, script);
    }
    static void Key(CZorviDlg& window, QEvent::Type type, int key,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false,
                    unsigned long timestamp = 0) {
        test::SendKey(window, type, key, modifiers, autoRepeat, timestamp);
    }
    static void Tap(CZorviDlg& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        test::TapKey(window, key, modifiers);
    }
    static void EndDrawLock(CZorviDlg& window) { test::EndDrawLock(window); }
    static void DrawOnce(CZorviDlg& window) {
        EndDrawLock(window);
        Tap(window, Qt::Key_Space);
    }

private slots:
    void init() { folders_ = test::PlainGameFolders(); }
    void cleanup() { folders_.reset(); }

    // Every page registered on the window follows the game: a resumed game arrives whole, then
    // each draw, row change and checked coupon; a page that comes late is shown all of it.
    void pagesFollowTheGame() {
        StoreGame(4, 5);
        ModalScript script{Answer::Yes};
        auto window = test::BuildOperatorWindow(generator_);
        NotedPage early;
        window->Pages().Register(&early);
        window->Start();
        QCOMPARE(window->State().number_count, 4);
        const QString resumed = Numbers(window->State().DrawnNumbers());
        QCOMPARE(early.calls, (QStringList{QStringLiteral("reset 75"),
                                           QStringLiteral("game 75 [%1] row 1").arg(resumed)}));

        early.calls.clear();
        DrawOnce(*window);
        const int fifth = window->State().CurrentNumber();
        auto* field = qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField));
        field->setFocus();
        field->setText(QStringLiteral("3"));
        Tap(*window, Qt::Key_Return);
        QCOMPARE(early.calls, (QStringList{QStringLiteral("update %1 5 1").arg(fifth),
                                           QStringLiteral("ticket 3 0")}));

        NotedPage late;
        window->Pages().Register(&late);
        QCOMPARE(late.calls, (QStringList{QStringLiteral("game 75 [%1] row 1 ticket")
                                              .arg(Numbers(window->State().DrawnNumbers()))}));
        window->Pages().Unregister(&late);
        window->Pages().Unregister(&early);
        QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }

    // The players' window through its interface alone, no browser engine: opened at start-up
    // on the same screen with the page folder of the language, its draw button draws and gives
    // the keys back, Esc and its close button hide it, the next draw brings it back, and its
    // page follows every number.
    void playersWindowFollowsTheOperatorWindow() {
        test::WriteSettings([](Settings& s) {
            s.language = 2;
            s.public_screen = 1;
            s.enable_background_voice = 0;
        });
        ModalScript script;
        auto window = StartWindow(script);
        auto* screen = dynamic_cast<test::RecordingPlayersScreen*>(&window->PublicScreen());
        QVERIFY(screen);
        QVERIFY(screen->created() && screen->window()->isVisible());
        QCOMPARE(screen->calls.first(), QStringLiteral("open 1"));
        QVERIFY2(screen->Folder().endsWith(QStringLiteral("html/en")),
                 qPrintable(screen->Folder()));
        QVERIFY(screen->DrawButton()->isEnabled());
        QCOMPARE(screen->DrawButton()->text(), QStringLiteral("Draw (Spacebar)"));

        screen->DrawButton()->click();
        QCOMPARE(window->State().number_count, 1);
        QVERIFY(!screen->DrawButton()->isEnabled()); // the one-second lock, on both buttons
        QCOMPARE(QApplication::focusWidget(), window->ControlById(Control::CouponField));

        Tap(*window, Qt::Key_Escape);
        QVERIFY(!screen->window()->isVisible());
        QCOMPARE(window->State().shown_public_screen, 0);
        DrawOnce(*window);
        QVERIFY(screen->window()->isVisible());
        QCOMPARE(window->State().shown_public_screen, 1);

        screen->CloseButton()->click();
        QVERIFY(!screen->window()->isVisible());
        QVERIFY(window->isVisible());
        QCOMPARE(screen->shown.Game().drawn, window->State().DrawnNumbers());
        QVERIFY2(!script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }

    void startsFreshWithoutStoredGame() {
        ModalScript script;
        auto window = StartWindow(script);
        QVERIFY(script.Seen().isEmpty());
        QCOMPARE(window->Commands().LoadedAtStart(), 0);
        QCOMPARE(window->windowTitle(), QStringLiteral("ZORVI 1.7 (build 122)"));
        QCOMPARE(window->BoardCellCount(), 75);
        QCOMPARE(window->CouponCellCount(), 25);
        QCOMPARE(window->ControlText(Control::CurrentNumber), QStringLiteral("-"));
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("-"));
        QCOMPARE(window->ControlText(Control::NumberLimit), QStringLiteral("0"));
        QCOMPARE(window->ControlText(Control::Draw), QStringLiteral("Draw\n(Spacebar)"));
        // Without a continued game the interval starts at 5 seconds.
        QCOMPARE(qobject_cast<QSlider*>(window->ControlById(Control::IntervalSlider))->value(), 5);
        QCOMPARE(window->ControlText(Control::IntervalDisplay), QStringLiteral("5"));
        QCOMPARE(window->State().auto_speed, 5);
        QVERIFY(!window->ControlById(Control::AutomaticPanel)->isVisible());
        QVERIFY(!window->IsControlEnabled(Control::CancelNumber));
        QCOMPARE(QApplication::focusWidget(), window->ControlById(Control::CouponField));
        // The board's cells sit on the 34-pixel pitch inside their frame.
        const QRect first = window->ControlById(Control::FirstBoardCell)->geometry();
        const QRect sixteenth = window->ControlById(Control::FirstBoardCell + 15)->geometry();
        QCOMPARE(first.size(), QSize(31, 31));
        QCOMPARE(sixteenth.topLeft() - first.topLeft(), QPoint(0, 34));
        QCOMPARE(window->ControlById(Control::FirstBoardCell + 1)->x() - first.x(), 34);
        // The checked-coupon display sits 10 pixels under the coupon panel, centred.
        const QRect panel = window->ControlById(Control::CouponFrame)->geometry();
        const QRect label = window->ControlById(Control::CheckedCoupon)->geometry();
        QCOMPARE(panel.size(), QSize(190, 200));
        QCOMPARE(label.top(), panel.bottom() + 1 + 10);
        QVERIFY(qAbs(label.center().x() - panel.center().x()) <= 1);
        std::string log;
        for (const auto& entry :
             std::filesystem::directory_iterator(folders_->dataFolder() / "logs"))
            log += test::TestFolders::ReadFile(entry.path());
        QVERIFY2(log.find(": Starting program") != std::string::npos, log.c_str());
        QVERIFY(log.find(": Read coupons") != std::string::npos);
    }

    void storedGameIsOfferedAtStart_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("continued");
        QTest::newRow("yes") << int(Answer::Yes) << true;
        QTest::newRow("no") << int(Answer::No) << false;
        QTest::newRow("esc") << int(Answer::Esc) << false;
    }
    void storedGameIsOfferedAtStart() {
        QFETCH(int, answer);
        QFETCH(bool, continued);
        StoreGame(3, 12, 1);
        ModalScript script{Answer(answer)};
        auto window = StartWindow(script);
        QCOMPARE(script.Seen(), QStringList{QStringLiteral("Load previous state?")});
        QCOMPARE(window->Commands().LoadedAtStart(), continued ? 1 : 0);
        auto* slider = qobject_cast<QSlider*>(window->ControlById(Control::IntervalSlider));
        if (continued) {
            QCOMPARE(window->State().number_count, 3);
            QCOMPARE(window->ControlText(Control::DrawnCount), QStringLiteral("3"));
            QCOMPARE(window->ControlText(Control::CurrentNumber),
                     QString::number(window->State().CurrentNumber()));
            QCOMPARE(slider->value(), 12);
            QCOMPARE(window->ControlText(Control::IntervalDisplay), QStringLiteral("12"));
            QCOMPARE(window->State().auto_speed, 12);
            QVERIFY(window->IsControlEnabled(Control::CancelNumber));
            // The stored automatic mode is shown again.
            QCOMPARE(window->State().auto_new_number, 1);
            QCOMPARE(window->ControlText(Control::Draw), QStringLiteral("Start\n(Spacebar)"));
            QVERIFY(window->ControlById(Control::AutomaticPanel)->isVisible());
        } else {
            // A declined game leaves nothing of itself: manual drawing, as the controls show.
            QCOMPARE(window->State().auto_new_number, 0);
            QCOMPARE(window->ControlText(Control::Draw), QStringLiteral("Draw\n(Spacebar)"));
            QVERIFY(!window->ControlById(Control::AutomaticPanel)->isVisible());
            QCOMPARE(window->State().number_count, 0);
            QCOMPARE(window->ControlText(Control::CurrentNumber), QStringLiteral("-"));
            QCOMPARE(slider->value(), 5);
            QCOMPARE(window->State().auto_speed, 5);
        }
        // The number-limit display shows the limit in force: none in either game here.
        QCOMPARE(window->ControlText(Control::NumberLimit), QStringLiteral("0"));
    }

    void brokenStoredGameResets_data() {
        QTest::addColumn<QByteArray>("file");
        // The reveal the log must get: a broken game that had a commitment is still revealed.
        QTest::addColumn<QByteArray>("reveal");
        const QByteArray descending = [] {
            QByteArray all;
            for (int n = 75; n >= 1; --n)
                all += QByteArray::number(n) + ';';
            return all;
        }();
        QTest::newRow("unreadable sequence")
            << QByteArray("[common]\nnumber_count=2\nrandomizer_numbers=1;x;3;\n") << QByteArray();
        QTest::newRow("sequence of another game")
            << QByteArray("[common]\nnumber_count=2\nrandomizer_numbers=1;2;3;\ncurrent_row=1\n"
                          "max_row=5\n")
            << QByteArray();
        QTest::newRow("count beyond the sequence")
            << QByteArray("[common]\nnumber_count=500\nrandomizer_numbers=" + descending +
                          "\ncurrent_row=1\nmax_row=5\nauto_new_number=9\n")
            << QByteArray();
        QByteArray revealed = descending;
        revealed.chop(1);
        revealed.replace(';', ',');
        QTest::newRow("committed game with a row beyond its rows")
            << QByteArray("[common]\nnumber_count=3\nrandomizer_numbers=" + descending +
                          "\ncurrent_row=9\nmax_row=5\n"
                          "commitment_nonce=00112233445566778899aabbccddeeff\n")
            << "Game reveal: 00112233445566778899aabbccddeeff " + revealed;
    }
    void brokenStoredGameResets() {
        QFETCH(QByteArray, file);
        std::filesystem::create_directories(folders_->dataFolder());
        test::TestFolders::WriteFile(folders_->dataFolder() / "state.ini", file.toStdString());
        ModalScript script{Answer::Ok};
        auto window = StartWindow(script);
        QCOMPARE(script.Seen(), QStringList{QStringLiteral("Corrupted state filed, resetting")});
        QCOMPARE(window->Commands().LoadedAtStart(), -1);
        QCOMPARE(window->State().number_count, 0);
        QCOMPARE(window->State().auto_new_number, 0);
        QFETCH(QByteArray, reveal);
        std::string log;
        for (const auto& entry :
             std::filesystem::directory_iterator(folders_->dataFolder() / "logs"))
            log += test::TestFolders::ReadFile(entry.path());
        const std::size_t revealAt = log.find("Game reveal: ");
        QCOMPARE(revealAt == std::string::npos, reveal.isEmpty());
        if (!reveal.isEmpty())
            QVERIFY(log.find(reveal.toStdString() + "\r\n") == revealAt ||
                    log.find(reveal.toStdString() + "\n") == revealAt);
        // The fresh game is committed after it.
        const std::size_t commitAt = log.rfind("Game commitment: ");
        QVERIFY(commitAt != std::string::npos);
        QVERIFY(revealAt == std::string::npos || commitAt > revealAt);
        // The fresh game was written over the broken file and can be played.
        Random15 generator(1);
        ProgramState reread(generator);
        QCOMPARE(StateFile::LoadState(reread), 1);
        QVERIFY(StateFile::IsPlayable(reread, 75));
        DrawOnce(*window);
        QCOMPARE(window->State().number_count, 1);
    }

    void heldSpaceDrawsOnce() {
        ModalScript script;
        auto window = StartWindow(script);
        Key(*window, QEvent::KeyPress, Qt::Key_Space);
        QCOMPARE(window->State().number_count, 1);
        // The draw lock refuses a second draw within the second.
        QVERIFY(window->IsTimerActive(Timer::DrawLock));
        QVERIFY(!window->IsControlEnabled(Control::Draw));
        EndDrawLock(*window);
        for (int i = 0; i < 5; ++i) {
            Key(*window, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, true);
            Key(*window, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, true);
        }
        QCOMPARE(window->State().number_count, 1);
        Key(*window, QEvent::KeyRelease, Qt::Key_Space);
        // Released and pressed again within the lock: refused.
        Key(*window, QEvent::KeyPress, Qt::Key_Space);
        Key(*window, QEvent::KeyRelease, Qt::Key_Space);
        QCOMPARE(window->State().number_count, 2);
        Tap(*window, Qt::Key_Space);
        QCOMPARE(window->State().number_count, 2);
        DrawOnce(*window);
        QCOMPARE(window->State().number_count, 3);
        // Space in the focused coupon field draws and types nothing.
        QCOMPARE(qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField))->text(),
                 QStringLiteral("1"));
    }

    // X repeats a held key as a release and a press at the same event time; on a busy machine
    // Qt cannot mark them as a repeat. Such a pair continues the hold; a press that comes a
    // finger's time after the release is a new one.
    void releaseAndPressAtOneTimeContinueTheHold_data() {
        QTest::addColumn<unsigned long>("releasedAt");
        QTest::addColumn<unsigned long>("pressedAt");
        QTest::addColumn<int>("draws");
        QTest::newRow("same time") << 5000ul << 5000ul << 0;
        QTest::newRow("one millisecond later") << 5000ul << 5001ul << 0;
        QTest::newRow("across the wrap of server time") << 4294967290ul << 3ul << 0;
        QTest::newRow("a finger's time later") << 5000ul << 5080ul << 1;
        QTest::newRow("no times known") << 0ul << 0ul << 1;
    }
    void releaseAndPressAtOneTimeContinueTheHold() {
        QFETCH(unsigned long, releasedAt);
        QFETCH(unsigned long, pressedAt);
        QFETCH(int, draws);
        ModalScript script;
        auto window = StartWindow(script);
        Key(*window, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, false, releasedAt - 700);
        QCOMPARE(window->State().number_count, 1);
        EndDrawLock(*window);
        Key(*window, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, false, releasedAt);
        Key(*window, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, false, pressedAt);
        QCOMPARE(window->State().number_count, 1 + draws);
        QVERIFY(window->Keys().IsHeld(Qt::Key_Space, false));
    }

    void keyReleaseTakenByModalDoesNotSwallowNextPress() {
        ModalScript script{Answer::No};
        auto window = StartWindow(script);
        Key(*window, QEvent::KeyPress, Qt::Key_Space);
        QCOMPARE(window->State().number_count, 1);
        // A question opens while Space is down; the release goes to the question.
        qobject_cast<QPushButton*>(window->ControlById(Control::CancelNumber))->click();
        QCOMPARE(script.Seen(),
                 QStringList{QStringLiteral("Are you sure you want to cancel last number?")});
        QVERIFY(!window->Keys().IsHeld(Qt::Key_Space, false));
        EndDrawLock(*window);
        Key(*window, QEvent::KeyPress, Qt::Key_Space);
        QCOMPARE(window->State().number_count, 2);
    }

    // The test seam of the prompts: queued answers are given without a window, in order, and
    // every prompt so answered still forgets the held keys.
    void queuedAnswersAreGivenWithoutWindows() {
        ModalScript script;
        auto window = StartWindow(script);
        Key(*window, QEvent::KeyPress, Qt::Key_Space);
        QVERIFY(window->Keys().IsHeld(Qt::Key_Space, false));
        window->Prompts().SetNextAnswer(kResultNo);
        window->Commands().CancelNumberCommand();
        QCOMPARE(window->State().number_count, 1);
        QVERIFY(!window->Keys().IsHeld(Qt::Key_Space, false));
        window->Prompts().SetNextAnswer(kResultYes);
        window->Prompts().SetNextAnswer(kResultYes);
        qobject_cast<QPushButton*>(window->ControlById(Control::Exit))->click();
        QCOMPARE(window->Prompts().Answered(),
                 QStringList({QStringLiteral("Are you sure you want to cancel last number?"),
                              QStringLiteral("The game is on. Are you sure want to close the "
                                             "program?"),
                              QStringLiteral("Are you sure you want to close the program?")}));
        QVERIFY(!window->isVisible());
        QVERIFY(script.Seen().isEmpty());
    }

    void keypadPlusStartsAndStops() {
        ModalScript script;
        auto window = StartWindow(script);
        // The "+" of the main block is not the start/stop key.
        Tap(*window, Qt::Key_Plus);
        QCOMPARE(window->State().auto_new_number, 0);
        Tap(*window, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(window->State().auto_new_number, 2);
        QVERIFY(window->IsTimerActive(Timer::Automatic));
        QCOMPARE(window->TimerInterval(Timer::Automatic), 500);
        QVERIFY(window->ControlById(Control::AutomaticPanel)->isVisible());
        QCOMPARE(Background(*window, Control::AutomaticPanel),
                 PaintHelper::ToQColor(PaintHelper::Rgb(230, 149, 0)));
        Tap(*window, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(window->State().auto_new_number, 1);
        QVERIFY(!window->IsTimerActive(Timer::Automatic));
        // On the last row the key declines to start.
        window->State().current_row = window->State().max_row;
        Tap(*window, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(window->State().auto_new_number, 1);
        QVERIFY(!window->IsTimerActive(Timer::Automatic));
    }

    void escapeNeverClosesAndTheWaysOut() {
        ModalScript script{Answer::No, Answer::Yes, Answer::No, Answer::Yes, Answer::Yes};
        auto window = StartWindow(script);
        Tap(*window, Qt::Key_Escape);
        window->setFocus();
        Tap(*window, Qt::Key_Escape);
        window->reject();
        QVERIFY(window->isVisible());
        QVERIFY(script.Seen().isEmpty());
        // Close request: No to the first question asks nothing more.
        window->close();
        QVERIFY(window->isVisible());
        QCOMPARE(script.Seen().size(), 1);
        // Yes then No: still running.
        window->close();
        QVERIFY(window->isVisible());
        QCOMPARE(script.Seen().size(), 3);
        QCOMPARE(script.Seen()[1],
                 QStringLiteral("The game is on. Are you sure want to close the program?"));
        QCOMPARE(script.Seen()[2], QStringLiteral("Are you sure you want to close the program?"));
        // Yes twice: the window ends and the stored game stays.
        window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(std::filesystem::exists(folders_->dataFolder() / "state.ini"));
        QVERIFY(!script.Unexpected());
    }

    void exitDeletesStoredGame() {
        ModalScript script{Answer::Yes, Answer::Yes};
        auto window = StartWindow(script);
        QVERIFY(std::filesystem::exists(folders_->dataFolder() / "state.ini"));
        qobject_cast<QPushButton*>(window->ControlById(Control::Exit))->click();
        QVERIFY(!window->isVisible());
        QVERIFY(!std::filesystem::exists(folders_->dataFolder() / "state.ini"));
    }

    void enterChecksOnlyInCouponField() {
        ModalScript script;
        auto window = StartWindow(script);
        DrawOnce(*window);
        auto* field = qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField));
        field->setText(QStringLiteral("7"));
        window->ControlById(Control::NewGame)->setFocus();
        QCOMPARE(QApplication::focusWidget(), window->ControlById(Control::NewGame));
        Tap(*window, Qt::Key_Return);
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("-"));
        QVERIFY(script.Seen().isEmpty()); // no new-game question either
        field->setFocus();
        Tap(*window, Qt::Key_Return);
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("7"));
        QCOMPARE(window->ControlText(Control::CheckResult), QStringLiteral("Wrong!"));
        QCOMPARE(window->ControlText(Control::FirstCouponCell),
                 QString::number(window->Coupons().GetCoupon(7).Number(0)));
    }

    void couponFieldValidation_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("checked");
        QTest::newRow("empty") << ""
                               << "Enter a positive integer."
                               << "-";
        QTest::newRow("zero") << "0"
                              << "Enter an integer between 1 and 999999."
                              << "-";
        QTest::newRow("too big") << "1000000"
                                 << "Enter an integer between 1 and 999999."
                                 << "-";
        QTest::newRow("beyond unsigned") << "99999999999"
                                         << "Enter an integer between 1 and 999999."
                                         << "-";
        QTest::newRow("largest") << "999999"
                                 << ""
                                 << "999999";
    }
    void couponFieldValidation() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QString, checked);
        ModalScript script;
        if (!message.isEmpty())
            script.Add(Answer::Ok);
        auto window = StartWindow(script);
        DrawOnce(*window);
        auto* field = qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField));
        window->ControlById(Control::NewGame)->setFocus();
        field->setText(text);
        window->Commands().CheckCommand();
        QCOMPARE(script.Seen(), message.isEmpty() ? QStringList() : QStringList{message});
        // A refused field checks nothing.
        QCOMPARE(window->ControlText(Control::CheckedCoupon), checked);
        QTRY_COMPARE(QApplication::focusWidget(), field);
        // Moving the interval slider never asks about the field.
        field->setText(QString());
        auto* slider = qobject_cast<QSlider*>(window->ControlById(Control::IntervalSlider));
        slider->setEnabled(true);
        slider->setValue(17);
        QCOMPARE(window->State().auto_speed, 17);
        QCOMPARE(window->ControlText(Control::IntervalDisplay), QStringLiteral("17"));
        QCOMPARE(script.Seen().size(), message.isEmpty() ? 0 : 1);
    }

    // After a check, the field emptied and Enter: the message, and then nothing of the earlier
    // coupon comes back; the focus is in the field, so the next digits typed land there.
    void refusedFieldKeepsTheLastCheck() {
        ModalScript script{Answer::Ok};
        auto window = StartWindow(script);
        for (int i = 0; i < 3; ++i)
            DrawOnce(*window);
        auto* field = qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField));
        field->setFocus();
        field->setText(QStringLiteral("7"));
        Tap(*window, Qt::Key_Return);
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("7"));
        DrawOnce(*window); // clears the coupon panel
        const QString result = window->ControlText(Control::CheckResult);
        const int bingoFound = window->State().bingo_found;
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("-"));
        field->clear();
        Tap(*window, Qt::Key_Return);
        QCOMPARE(script.Seen(), QStringList{QStringLiteral("Enter a positive integer.")});
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("-"));
        QCOMPARE(window->ControlText(Control::CheckResult), result);
        QCOMPARE(window->ControlText(Control::FirstCouponCell), QStringLiteral("0"));
        QCOMPARE(window->State().bingo_found, bingoFound);
        QTRY_VERIFY(window->isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("42"));
        QCOMPARE(field->text(), QStringLiteral("42"));
    }

    // A coupon one above the series: "Wrong!" as for the players, and a note on the coupon
    // panel, in the window's language, that names the series' coupons; the next draw clears it.
    void couponOutsideTheSeriesIsNoted_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("wrong");
        QTest::addColumn<QString>("note");
        QTest::newRow("finnish") << 0 << "Väärin!"
                                 << "Lappua 201 ei ole sarjassa. Sarjan laput: 1–200.";
        QTest::newRow("swedish") << 1 << "Fel!"
                                 << "Kupong 201 finns inte i serien. Seriens kuponger: 1–200.";
        QTest::newRow("english")
            << 2 << "Wrong!"
            << "Coupon 201 is not in the series. The series holds coupons 1–200.";
    }
    void couponOutsideTheSeriesIsNoted() {
        QFETCH(int, language);
        QFETCH(QString, wrong);
        QFETCH(QString, note);
        test::WriteSettings([language](Settings& s) {
            s.language = language;
            s.enable_background_voice = 0;
        });
        ModalScript script;
        auto window = StartWindow(script);
        DrawOnce(*window);
        auto* field = qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField));
        field->setFocus();
        field->setText(QStringLiteral("201"));
        Tap(*window, Qt::Key_Return);
        QCOMPARE(window->ControlText(Control::CheckResult), wrong);
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("201"));
        auto* shown = window->findChild<StaticControl*>(QString::number(Control::CouponNote));
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(shown->text(), note);
        QVERIFY(!window->ControlById(Control::FirstCouponCell)->isVisible());
        // A coupon of the series shows its grid and no note.
        field->setText(QStringLiteral("200"));
        Tap(*window, Qt::Key_Return);
        QVERIFY(!shown->isVisible());
        QVERIFY(window->ControlById(Control::FirstCouponCell)->isVisible());
        field->setText(QStringLiteral("201"));
        Tap(*window, Qt::Key_Return);
        QVERIFY(shown->isVisible());
        DrawOnce(*window);
        QVERIFY(!shown->isVisible());
        QVERIFY(window->ControlById(Control::FirstCouponCell)->isVisible());
    }

    void boardColoursFollowTheDraws() {
        ModalScript script{Answer::Yes};
        auto window = StartWindow(script);
        const auto cell = [&](int number) { return Control::FirstBoardCell + number - 1; };
        const auto colourCount = [&](const QColor& colour) {
            int count = 0;
            for (int n = 1; n <= 75; ++n)
                count += Background(*window, cell(n)) == colour;
            return count;
        };
        // Nothing drawn: the count display is dark green all the same.
        QCOMPARE(Background(*window, Control::DrawnCount), kDarkGreen);
        DrawOnce(*window);
        DrawOnce(*window);
        DrawOnce(*window);
        const auto drawn = window->State().DrawnNumbers();
        QCOMPARE(drawn.size(), std::size_t(3));
        QCOMPARE(Background(*window, cell(drawn[2])), kRed);
        QCOMPARE(Background(*window, cell(drawn[1])), kDarkGreen);
        QCOMPARE(Background(*window, cell(drawn[0])), kGreen);
        QCOMPARE(colourCount(kRed) + colourCount(kDarkGreen) + colourCount(kGreen), 3);
        // The painted cell shows it too.
        const QImage image = window->ControlById(cell(drawn[2]))->grab().toImage();
        QCOMPARE(image.pixelColor(2, 15), kRed);
        // Cancelling the last number turns the one before it red again.
        window->Commands().CancelNumberCommand();
        QCOMPARE(script.Seen(),
                 QStringList{QStringLiteral("Are you sure you want to cancel last number?")});
        QCOMPARE(Background(*window, cell(drawn[1])), kRed);
        QCOMPARE(Background(*window, cell(drawn[0])), kDarkGreen);
        QVERIFY(!Background(*window, cell(drawn[2])).isValid());
        QCOMPARE(colourCount(kRed), 1);
        QCOMPARE(colourCount(kGreen), 0);
        // Displays: white on blue for the current, letter-name and previous numbers.
        const QColor blue = PaintHelper::ToQColor(PaintHelper::Rgb(0, 130, 255));
        QCOMPARE(Background(*window, Control::CurrentNumber), blue);
        QCOMPARE(Background(*window, Control::LetterName), blue);
        QCOMPARE(Background(*window, Control::PreviousNumber), blue);
        QCOMPARE(Background(*window, Control::CurrentRow), kDarkGreen);
    }

    void couponPanelColoursWithFreeMiddle() {
        test::WriteSettings([](Settings& s) {
            s.language = 2;
            s.free_middle = 1;
            s.enable_background_voice = 0;
        });
        ModalScript script;
        auto window = StartWindow(script);
        // The blank coupon: every cell "0", the free middle olive, the rest the platform's.
        QCOMPARE(window->CouponCellCount(), 25);
        for (int i = 0; i < 25; ++i) {
            QCOMPARE(window->ControlText(Control::FirstCouponCell + i), QStringLiteral("0"));
            const QColor expected = i == 12 ? kOlive : QColor();
            QCOMPARE(Background(*window, Control::FirstCouponCell + i), expected);
        }
        for (int i = 0; i < 4; ++i)
            DrawOnce(*window);
        // A coupon holding the last drawn number, and one of the earlier ones if any.
        const auto drawn = window->State().DrawnNumbers();
        long long chosen = 0;
        for (long long k = 1; k <= window->Coupons().CouponCount() && !chosen; ++k) {
            const auto numbers = window->Coupons().GetCoupon(k).Numbers();
            if (std::find(numbers.begin(), numbers.end(), drawn.back()) != numbers.end())
                chosen = k;
        }
        QVERIFY(chosen > 0);
        qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField))
            ->setText(QString::number(chosen));
        window->Commands().CheckCommand();
        const auto numbers = window->Coupons().GetCoupon(chosen).Numbers();
        for (int i = 0; i < 25; ++i) {
            const int number = numbers[std::size_t(i)];
            QColor expected;
            if (i == 12)
                expected = kOlive;
            else if (number == drawn.back())
                expected = kRed;
            else if (std::find(drawn.begin(), drawn.end(), number) != drawn.end())
                expected = kDarkGreen;
            QCOMPARE(Background(*window, Control::FirstCouponCell + i), expected);
        }
        QCOMPARE(Background(*window, Control::CheckedCoupon), kDarkGreen);
        // The next draw clears the panel back to the blank coupon.
        DrawOnce(*window);
        QCOMPARE(window->ControlText(Control::FirstCouponCell), QStringLiteral("0"));
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("-"));
    }

    void windowTitle_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("title");
        const QString base = QStringLiteral("ZORVI 1.7 (build 122)");
        QTest::newRow("no file") << false << QByteArray() << base;
        QTest::newRow("letter and line feed") << true << QByteArray("b\n") << base + " b";
        QTest::newRow("empty file") << true << QByteArray() << base + " ";
        QTest::newRow("five letters") << true << QByteArray("rc123") << base + " rc12";
        QTest::newRow("zero byte") << true << QByteArray("a\0bc", 4) << base + " a";
        QTest::newRow("line feeds first") << true << QByteArray("\n\nxyz") << base + " xy";
    }
    void windowTitle() {
        QFETCH(bool, present);
        QFETCH(QByteArray, content);
        QFETCH(QString, title);
        if (present)
            test::TestFolders::WriteFile(folders_->programFolder() / "extra-version",
                                         content.toStdString());
        QCOMPARE(QString::fromStdString(BuildWindowTitle(folders_->programFolder())), title);
    }
};

QTEST_MAIN(OperatorWindowTest)
#include "OperatorWindowTest.moc"
