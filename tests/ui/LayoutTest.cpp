// The operator window's layout on the offscreen platform: every text fits its control in the
// three languages, in window and in full-screen mode; full screen scales the whole layout.
#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <memory>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GuiSupport.h"
#include "Language.h"
#include "Random.h"
#include "Settings.h"
#include "StaticControl.h"
#include "TestFolders.h"
#include "TextFit.h"

using namespace zorvi;
using test::ModalScript;

namespace {

// The controls whose text does not fit, as "id: text" lines.
QStringList Clipped(CZorviDlg& window) {
    QStringList clipped;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window))
            continue;
        const TextPlace place = TextPlaceOf(*control);
        if (!place.valid)
            continue;
        QString text;
        QFont font = control->font();
        if (auto* label = qobject_cast<StaticControl*>(control)) {
            text = label->text();
            font = label->paintFont();
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            text = button->text();
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            text = edit->text();
        }
        if (!TextFitsIn(QFontMetrics(font), place.rect, place.flags, text))
            clipped << control->objectName() + QStringLiteral(": ") + text;
    }
    return clipped;
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{555};

private slots:
    void init() { folders_ = std::make_unique<test::TestFolders>(); }
    void cleanup() { folders_.reset(); }

    // The measure itself: a text taller than its box does not fit, and the smaller font that
    // FontThatFits gives does.
    void measureTellsAClippedText() {
        QFont font = DialogUnits::FontByCellHeight(QStringLiteral("Arial"), 50, true, true);
        const QRect box(0, 0, 225, 41);
        const int flags = Qt::AlignCenter;
        QVERIFY(!TextFitsIn(QFontMetrics(font), box, flags, QStringLiteral("Wrong!")));
        QVERIFY(
            TextFitsIn(QFontMetrics(font), QRect(0, 0, 225, 80), flags, QStringLiteral("Wrong!")));
        const QFont fitted = FontThatFits(font, box, flags, QStringLiteral("Wrong!"));
        QVERIFY(fitted.pixelSize() < font.pixelSize());
        QVERIFY(TextFitsIn(QFontMetrics(fitted), box, flags, QStringLiteral("Wrong!")));
    }

    void everyTextFits_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("dialogMode");
        QTest::addColumn<int>("ballSource");
        for (int source : {0, 1})
            for (int mode : {0, 1})
                for (int language : {0, 1, 2})
                    for (int count : {75, 90})
                        QTest::addRow("%s, %d numbers, %s%s",
                                      language == 0   ? "finnish"
                                      : language == 1 ? "swedish"
                                                      : "english",
                                      count, mode == 0 ? "window" : "full screen",
                                      source == 0 ? "" : ", the hall's ball machine")
                            << language << count << mode << source;
    }
    void everyTextFits() {
        QFETCH(int, language);
        QFETCH(int, count);
        QFETCH(int, dialogMode);
        QFETCH(int, ballSource);
        test::WriteSettings([&](Settings& s) {
            s.language = language;
            s.max_called_numbers = count;
            s.dialog_mode = dialogMode;
            s.enable_background_voice = 0;
            s.ball_source = ballSource;
        });
        test::WriteCouponSeries(folders_->programFolder() / (count == 75 ? "kup75.hex" : "90.hex"),
                                10, count == 75 ? 25 : 15);
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script, 1000);
        // The widest texts each display can hold.
        qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField))
            ->setText(QStringLiteral("999999"));
        window->SetControlText(Control::CurrentNumber, "88");
        window->SetControlText(Control::PreviousNumber, "88");
        window->SetControlText(Control::DrawnCount, "90");
        window->SetControlText(Control::CheckedCoupon, "999999");
        window->SetControlText(Control::NumberLimit, "90");
        window->SetControlText(Control::VolumeDisplay, "100");
        window->SetControlText(Control::IntervalDisplay, "60");
        QStringList clipped;
        for (TextId verdict : {TextId::TXT_BINGO, TextId::TXT_WRONG})
            for (TextId letter : {TextId::TXT_LETTER_B, TextId::TXT_LETTER_I, TextId::TXT_LETTER_N,
                                  TextId::TXT_LETTER_G, TextId::TXT_LETTER_O, TextId::TXT_LETTER_S})
                for (TextId draw : {TextId::TXT_DRAW_SPACEBAR, TextId::TXT_START_SPACEBAR,
                                    TextId::TXT_STOP_SPACEBAR}) {
                    window->SetControlCaption(Control::CheckResult, verdict);
                    window->SetControlCaption(Control::LetterName, letter);
                    window->SetControlCaption(Control::Draw, draw);
                    window->ShowControl(Control::AutomaticStatus, true);
                    for (TextId status : {TextId::TXT_LOTTERY_ON, TextId::TXT_LOTTERY_OFF}) {
                        window->SetControlCaption(Control::AutomaticStatus, status);
                        clipped << Clipped(*window);
                    }
                }
        window->ShowCouponNotInSeries(999999, 999999);
        clipped << Clipped(*window);
        // The ball field's widest entry and the longest refusals beside it.
        qobject_cast<QLineEdit*>(window->ControlById(Control::BallField))
            ->setText(QStringLiteral("999"));
        for (TextId refusal : {TextId::TXT_BALL_OUT_OF_RANGE, TextId::TXT_BALL_ALREADY_DRAWN,
                               TextId::TXT_BALL_GAME_OVER}) {
            window->ShowBallRefused(refusal, 999, count);
            clipped << Clipped(*window);
        }
        clipped.removeDuplicates();
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
    }

    // Full screen scales the template to the screen with its proportions; the window mode
    // comes back unchanged.
    void fullScreenScalesTheLayout() {
        test::WriteSettings([](Settings& s) {
            s.language = 2;
            s.enable_background_voice = 0;
        });
        test::WriteCouponSeries(folders_->programFolder() / "kup75.hex", 10, 25);
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script, 1000);
        QWidget* exitButton = window->ControlById(Control::Exit);
        QWidget* cell = window->ControlById(Control::FirstBoardCell);
        const QRect windowExit = exitButton->geometry();
        const QRect windowCell = cell->geometry();
        const int windowFont = window->ControlById(Control::CurrentNumber)->font().pixelSize();

        window->FullscreenCommand();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QTRY_COMPARE(window->size(), screen);
        const QSize base = window->Layout().BaseSize();
        const double scale = std::min(double(screen.width()) / base.width(),
                                      double(screen.height()) / base.height());
        QVERIFY(qAbs(window->Layout().Scale() - scale) < 1e-6);
        // The template fills the screen one way and is centred the other.
        const QPoint offset = window->Layout().Offset();
        QVERIFY(offset.x() == 0 || offset.y() == 0);
        QVERIFY(qAbs(2 * offset.x() + base.width() * scale - screen.width()) <= 2);
        QVERIFY(qAbs(2 * offset.y() + base.height() * scale - screen.height()) <= 2);
        // Controls, cells and fonts grow (or shrink) with it.
        const QRect fullExit = exitButton->geometry();
        QVERIFY(qAbs(fullExit.width() - windowExit.width() * scale) <= 2);
        QVERIFY(qAbs(fullExit.left() - (offset.x() + windowExit.left() * scale)) <= 2);
        QVERIFY(qAbs(cell->width() - 31 * scale) <= 1);
        QVERIFY(qAbs(window->ControlById(Control::CurrentNumber)->font().pixelSize() -
                     windowFont * scale) <= 1);
        QCOMPARE(window->ControlText(Control::Fullscreen), QStringLiteral("Windowed"));

        window->FullscreenCommand();
        QCOMPARE(window->Layout().Scale(), 1.0);
        QCOMPARE(exitButton->geometry(), windowExit);
        QCOMPARE(cell->geometry(), windowCell);
        QCOMPARE(window->ControlById(Control::CurrentNumber)->font().pixelSize(), windowFont);
    }
};

QTEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
