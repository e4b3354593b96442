// The operator window with balls from the hall's machine, on the offscreen platform: which
// controls each source shows, the change of source through the settings, the board's clicks
// and the refusal line in the operator's language. The real keys are in X11KeysTest.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "CSettingsDlg.h"
#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GuiSupport.h"
#include "Language.h"
#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "StaticControl.h"
#include "TestFolders.h"

using namespace zorvi;
using test::ModalScript;
using Answer = ModalScript::Answer;

namespace {

// The controls of the computer's draw and of the machine's balls.
constexpr int kDrawControls[] = {
    Control::Draw,       Control::AutomaticCheck, Control::IntervalDown,   Control::IntervalSlider,
    Control::IntervalUp, Control::IntervalLabel,  Control::IntervalDisplay};
constexpr int kBallControls[] = {Control::BallFieldLabel, Control::BallField, Control::BallRefused,
                                 Control::BallSourceStatus};

// The settings most window tests play with, and where the balls come from.
void WriteGameSettings(int ballSource, int confirmBoardEntry = 1, int language = 2) {
    test::WriteSettings([&](Settings& s) {
        s.language = language;
        s.public_screen = 0;
        s.enable_background_voice = 0;
        s.ball_source = ballSource;
        s.confirm_board_entry = confirmBoardEntry;
    });
}

QString Numbers(const std::vector<int>& drawn) {
    QStringList numbers;
    for (int n : drawn)
        numbers << QString::number(n);
    return numbers.join(QLatin1Char(','));
}

QLineEdit* Field(CZorviDlg& window, int id) {
    return qobject_cast<QLineEdit*>(window.ControlById(id));
}

// A ball typed into the ball field and entered as Enter enters it.
void EnterBall(CZorviDlg& window, int ball) {
    Field(window, Control::BallField)->setText(QString::number(ball));
    window.Commands().EnterBallCommand();
}

} // namespace

class BallMachineWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{2468};

    std::string Log() const { return test::GameLogText(*folders_); }

    // The ball lines of the game log, in order: "Ball entered: 17|Ball recalled: 17".
    QString BallLines() const {
        QStringList lines;
        const QRegularExpression ball(QStringLiteral("Ball (entered|recalled): \\d+"));
        for (auto it = ball.globalMatch(QString::fromStdString(Log())); it.hasNext();)
            lines << it.next().captured();
        return lines.join(QLatin1Char('|'));
    }

    // Chooses the other source in the settings dialog and presses OK.
    static void SwitchSource(CZorviDlg& window, ModalScript& script, int source) {
        script.Add([source](QWidget* modal) {
            auto* dialog = qobject_cast<CSettingsDlg*>(modal);
            QVERIFY(dialog);
            qobject_cast<QComboBox*>(dialog->Control(CSettingsDlg::IDC_BALL_SOURCE))
                ->setCurrentIndex(source);
            qobject_cast<QAbstractButton*>(dialog->Control(CSettingsDlg::IDOK_BUTTON))->click();
        });
        window.SettingsCommand();
        QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }

private slots:
    void init() { folders_ = test::PlainGameFolders(); }
    void cleanup() { folders_.reset(); }

    // Each source shows its own controls and takes the keyboard into its own field; a change
    // of source in the settings starts a new game of the other. Space draws only for the
    // computer.
    void eachSourceShowsItsControls_data() {
        QTest::addColumn<int>("stored");   // the source the program starts with
        QTest::addColumn<int>("switchTo"); // chosen in the settings, -1 none
        QTest::addColumn<bool>("machine"); // the source in use at the end
        QTest::newRow("this computer's draw") << 0 << -1 << false;
        QTest::newRow("the hall's machine") << 1 << -1 << true;
        QTest::newRow("computer to machine in the settings") << 0 << 1 << true;
        QTest::newRow("machine to computer in the settings") << 1 << 0 << false;
    }
    void eachSourceShowsItsControls() {
        QFETCH(int, stored);
        QFETCH(int, switchTo);
        QFETCH(bool, machine);
        WriteGameSettings(stored);
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        if (switchTo >= 0) {
            // Something played first, which the new game gives up.
            if (stored == 1) {
                EnterBall(*window, 30);
            } else {
                test::EndDrawLock(*window);
                window->Commands().DrawCommand();
            }
            QCOMPARE(window->State().number_count, 1);
            SwitchSource(*window, script, switchTo);
            QCOMPARE(window->State().number_count, 0);
            QCOMPARE(window->GetSettings().ball_source, switchTo);
        }
        QCOMPARE(window->Commands().BallMachine(), machine);

        for (const int id : kDrawControls)
            QVERIFY2(window->ControlById(id)->isVisibleTo(window.get()) != machine,
                     qPrintable(QString::number(id)));
        for (const int id : kBallControls)
            QVERIFY2(window->ControlById(id)->isVisibleTo(window.get()) == machine,
                     qPrintable(QString::number(id)));
        QVERIFY(!window->ControlById(Control::AutomaticPanel)->isVisibleTo(window.get()));
        QCOMPARE(window->ControlText(Control::BallFieldLabel), QStringLiteral("Ball"));
        QCOMPARE(window->ControlText(Control::BallSourceStatus),
                 QStringLiteral("The hall's ball machine"));
        QCOMPARE(window->ControlText(Control::BallRefused), QString());
        QCOMPARE(Field(*window, Control::BallField)->text(), QString());
        QWidget* entry = window->ControlById(machine ? Control::BallField : Control::CouponField);
        // The window's own focus: offscreen, a closed modal does not give the activation back.
        QCOMPARE(window->focusWidget(), entry);
        // A click on a button leaves the keyboard where the machine's caller types.
        QCOMPARE(window->ControlById(Control::CancelNumber)->focusPolicy() == Qt::NoFocus, machine);

        test::EndDrawLock(*window);
        test::TapKey(*window, Qt::Key_Space);
        QCOMPARE(window->State().number_count, machine ? 0 : 1);
        QCOMPARE(Field(*window, Control::BallField)->text(), QString());
        QVERIFY(script.Seen().isEmpty() || switchTo >= 0);
        QVERIFY(!script.Unexpected());
    }

    // A click on a number of the board enters it as a ball, asked first when the setting says
    // so; a ball drawn already is refused beside the field without a question; the computer's
    // draw takes nothing from the board.
    void boardClickEntersABall_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("confirm");
        QTest::addColumn<int>("before");     // a ball entered first, 0 none
        QTest::addColumn<QString>("answer"); // to the question, empty when none comes
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<QString>("refused");
        QTest::newRow("asked, yes") << 1 << 1 << 0 << "Yes"
                                    << "17"
                                    << "";
        QTest::newRow("asked, no") << 1 << 1 << 0 << "No"
                                   << ""
                                   << "";
        QTest::newRow("entered at once") << 1 << 0 << 0 << ""
                                         << "17"
                                         << "";
        QTest::newRow("after another ball") << 1 << 0 << 40 << ""
                                            << "40,17"
                                            << "";
        QTest::newRow("drawn already, not asked") << 1 << 1 << 17 << ""
                                                  << "17"
                                                  << "Ball 17 has been drawn already.";
        QTest::newRow("this computer's draw") << 0 << 1 << 0 << ""
                                              << ""
                                              << "";
    }
    void boardClickEntersABall() {
        QFETCH(int, source);
        QFETCH(int, confirm);
        QFETCH(int, before);
        QFETCH(QString, answer);
        QFETCH(QString, drawn);
        QFETCH(QString, refused);
        WriteGameSettings(source, confirm);
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        if (before != 0)
            EnterBall(*window, before);
        if (!answer.isEmpty())
            script.Add(answer == QStringLiteral("Yes") ? Answer::Yes : Answer::No);

        QTest::mouseClick(window->ControlById(Control::FirstBoardCell + 16), Qt::LeftButton);
        // The click is taken once the release is over; its question is answered meanwhile.
        QCoreApplication::processEvents();
        QTRY_VERIFY(script.Done());
        QCOMPARE(Numbers(window->State().DrawnNumbers()), drawn);
        QCOMPARE(script.Seen(),
                 answer.isEmpty() ? QStringList() : QStringList{"Enter ball 17 as drawn?"});
        QCOMPARE(window->ControlText(Control::BallRefused), refused);
        QCOMPARE(test::BoardCellMarked(*window, 17), drawn.contains(QStringLiteral("17")));
        const int current = window->State().number_count > 0 ? window->State().CurrentNumber() : 0;
        QCOMPARE(window->ControlText(Control::CurrentNumber),
                 current > 0 ? QString::number(current) : QStringLiteral("-"));
        QCOMPARE(BallLines().count(QStringLiteral("Ball entered: 17")),
                 drawn.contains(QStringLiteral("17")) ? 1 : 0);
        if (source == 1)
            QCOMPARE(window->focusWidget(), window->ControlById(Control::BallField));
        QVERIFY(!script.Unexpected());
    }

    // The refusal line, the field's label and the source's status speak the operator's
    // language, and follow a change of it; the next ball accepted clears the refusal.
    void ballTextsSpeakTheOperatorsLanguage() {
        WriteGameSettings(1);
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        EnterBall(*window, 76);
        QCOMPARE(window->State().number_count, 0);
        auto* line = qobject_cast<StaticControl*>(window->ControlById(Control::BallRefused));
        QCOMPARE(line->currentColours()->text, std::optional<QColor>(QColor(255, 0, 0)));
        struct Texts {
            QString refused, label, status;
        };
        const Texts expected[] = {
            {QStringLiteral("76 ei ole tämän pelin pallo (1–75)."), QStringLiteral("Pallo"),
             QStringLiteral("Salin pallokone")},
            {QStringLiteral("76 är inte en boll i detta spel (1–75)."), QStringLiteral("Boll"),
             QStringLiteral("Hallens bollmaskin")},
            {QStringLiteral("76 is not a ball of this game (1–75)."), QStringLiteral("Ball"),
             QStringLiteral("The hall's ball machine")},
        };
        for (int language = 0; language < 3; ++language) {
            window->GetSettings().language = language;
            window->RelabelWindow();
            QCOMPARE(window->ControlText(Control::BallRefused), expected[language].refused);
            QCOMPARE(window->ControlText(Control::BallFieldLabel), expected[language].label);
            QCOMPARE(window->ControlText(Control::BallSourceStatus), expected[language].status);
        }
        EnterBall(*window, 75);
        QCOMPARE(Numbers(window->State().DrawnNumbers()), QStringLiteral("75"));
        QCOMPARE(window->ControlText(Control::BallRefused), QString());
        QVERIFY(script.Seen().isEmpty());
    }
};

QTEST_MAIN(BallMachineWindowTest)
#include "BallMachineWindowTest.moc"
