// The winning-now line of the operator window on the offscreen platform: the real window, its
// real scan thread, its real game log.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GuiSupport.h"
#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "TestFolders.h"

using namespace zorvi;
using test::ModalScript;

namespace {

// Safety limit for the scan's answer to come back to the window thread; it takes milliseconds.
constexpr int kAnswerWaitMs = 10000;

QPushButton* Line(CZorviDlg& window) {
    return window.findChild<QPushButton*>(QString::number(Control::WinningNow));
}

QString LineText(CZorviDlg& window) {
    QPushButton* line = Line(window);
    return line && line->isVisible() ? line->text() : QString();
}

} // namespace

class WinningNowWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{4242};

    // A series in which coupons 4, 9 and 30 hold the game's first five numbers in their first
    // row and coupon 12 in its second; every other square holds a number drawn late.
    static void UseSeriesWinningAtDrawFive(CZorviDlg& window) {
        const std::vector<int>& sequence = window.State().randomizer_numbers;
        std::vector<std::uint8_t> bytes;
        for (int coupon = 1; coupon <= 40; ++coupon) {
            for (int p = 0; p < 25; ++p) {
                const bool early = (coupon == 4 || coupon == 9 || coupon == 30) ? p < 5
                                   : coupon == 12                               ? (p >= 5 && p < 10)
                                                                                : false;
                const std::size_t index = early ? std::size_t(p % 5) : std::size_t(50 + p % 25);
                bytes.push_back(static_cast<std::uint8_t>(sequence.at(index)));
            }
        }
        window.Coupons().SetSeriesBytes(std::move(bytes), 25);
    }

    static void Draw(CZorviDlg& window) {
        test::EndDrawLock(window);
        test::TapKey(window, Qt::Key_Space);
    }

    std::string Log() const { return test::GameLogText(*folders_); }

private slots:
    void init() { folders_ = test::PlainGameFolders(); }
    void cleanup() { folders_.reset(); }

    void lineShowsWinnersAndItsClickOrKeyChecksTheFirst_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("click") << false;
        QTest::newRow("F2") << true;
    }
    void lineShowsWinnersAndItsClickOrKeyChecksTheFirst() {
        QFETCH(bool, byKey);
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        UseSeriesWinningAtDrawFive(*window);
        QCOMPARE(LineText(*window), QString());

        for (int i = 0; i < 4; ++i)
            Draw(*window);
        QTest::qWait(50);
        QCOMPARE(LineText(*window), QString());
        Draw(*window);
        QTRY_COMPARE_WITH_TIMEOUT(
            LineText(*window), QStringLiteral("Winning now: 4 \u2014 4, 9, 12, 30"), kAnswerWaitMs);
        QVERIFY(window->ControlText(Control::CheckResult) != QStringLiteral("BINGO!"));

        // The coupon field holds something else; the check takes the first coupon as typed.
        qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField))->setText("17");
        if (byKey)
            test::TapKey(*window, CZorviDlg::kCheckWinningNowKey);
        else
            QTest::mouseClick(Line(*window), Qt::LeftButton);
        QCOMPARE(window->ControlText(Control::CheckResult), QStringLiteral("BINGO!"));
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("4"));
        QCOMPARE(window->ControlText(Control::CouponField), QStringLiteral("4"));
        QCOMPARE(window->State().winners.size(), std::size_t(1));
        QCOMPARE(window->State().winners.front().coupon_number, 4);

        // The next draw ends it (the strict last-number rule): the line goes, the log says so.
        Draw(*window);
        QTRY_COMPARE_WITH_TIMEOUT(LineText(*window), QString(), kAnswerWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(Log().find(": Winning now: 0 (row 2)") != std::string::npos,
                                 kAnswerWaitMs);
        const std::string log = Log();
        QVERIFY2(log.find(": Winning now: 4 (row 1)") <
                     log.find(": Bingo found in coupon 4 (row 1)"),
                 log.c_str());
        // Nothing to check now: the key does nothing.
        test::TapKey(*window, CZorviDlg::kCheckWinningNowKey);
        QCOMPARE(window->State().winners.size(), std::size_t(1));
        QVERIFY(script.Seen().isEmpty());
    }

    void lineSpeaksTheOperatorsLanguage() {
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        UseSeriesWinningAtDrawFive(*window);
        for (int i = 0; i < 5; ++i)
            Draw(*window);
        QTRY_VERIFY_WITH_TIMEOUT(!LineText(*window).isEmpty(), kAnswerWaitMs);
        const QStringList expected = {QStringLiteral("Voittaa nyt: 4 \u2014 4, 9, 12, 30"),
                                      QStringLiteral("Vinner nu: 4 \u2014 4, 9, 12, 30"),
                                      QStringLiteral("Winning now: 4 \u2014 4, 9, 12, 30")};
        for (int language = 0; language < 3; ++language) {
            window->GetSettings().language = language;
            window->RelabelWindow();
            QCOMPARE(LineText(*window), expected.at(language));
        }
    }
};

QTEST_MAIN(WinningNowWindowTest)
#include "WinningNowWindowTest.moc"
