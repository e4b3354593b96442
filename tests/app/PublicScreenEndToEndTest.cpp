// The operator window driving the players' window on the real browser engine (offscreen):
// what the page shows after start-up, draws, coupon checks, hiding and a language change,
// read back from the page's own document.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "CSettingsDlg.h"
#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GuiSupport.h"
#include "ProgramState.h"
#include "PublicScreenDlg.h"
#include "Random.h"
#include "Settings.h"
#include "StateFile.h"
#include "TestFolders.h"

using namespace zorvi;
using test::ModalScript;
namespace fs = std::filesystem;

namespace {

constexpr int kPageWaitMs = 20000;

// The program's players' window: the public screen on the browser engine.
PlayersScreenFactory RealScreens() {
    return [](const Settings& settings, const PageFanOut& pages, QWidget* owner) {
        return std::make_unique<PublicScreenDlg>(settings, pages, owner);
    };
}

// The players' page view, found by its name inside the players' window.
QWebEngineView* PageView(CZorviDlg& window) {
    QWidget* screen = window.PublicScreen().window();
    return screen ? screen->findChild<QWebEngineView*>(QStringLiteral("page_view")) : nullptr;
}

// Evaluates a script expression in the page and returns it as text ("" when the page does not
// answer). The answer may come after the time-out: its state lives in shared pointers.
QString PageValue(QWebEngineView* view, const QString& expression) {
    if (!view)
        return QStringLiteral("<no page view>");
    auto result = std::make_shared<QString>();
    auto done = std::make_shared<bool>(false);
    QEventLoop loop;
    QPointer<QEventLoop> guard(&loop);
    view->page()->runJavaScript(
        QStringLiteral("(function () { try { return String(%1); } catch (e) { return 'error: ' "
                       "+ e; } })()")
            .arg(expression),
        [result, done, guard](const QVariant& value) {
            *result = value.toString();
            *done = true;
            if (guard)
                guard->quit();
        });
    if (!*done) {
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return *result;
}

// The main screen as the players see it: number | count | row | numbers lit on the board |
// the number marked latest.
QString MainScreen(QWebEngineView* view) {
    return PageValue(view,
                     QStringLiteral("[document.getElementById('number').textContent,"
                                    " document.getElementById('count').textContent,"
                                    " document.getElementById('row').textContent,"
                                    " Array.from(document.querySelectorAll('#board .cell.on'))"
                                    "   .map(function (c) { return c.textContent; }).join(','),"
                                    " Array.from(document.querySelectorAll('#board .cell.latest'))"
                                    "   .map(function (c) { return c.textContent; }).join(',')"
                                    "].join('|')"));
}

// What MainScreen should read for the game in the window, with the page's row word.
QString ExpectedMainScreen(CZorviDlg& window, const QString& rowWord) {
    const ProgramState& state = window.State();
    std::vector<int> drawn = state.DrawnNumbers();
    std::sort(drawn.begin(), drawn.end());
    QStringList lit;
    for (int n : drawn)
        lit << QString::number(n);
    const int current = state.CurrentNumber();
    return QStringList{current > 0 ? QString::number(current) : QStringLiteral("\u2013"),
                       QString::number(state.DrawnCount()),
                       rowWord + QLatin1Char(' ') + QString::number(state.current_row),
                       lit.join(QLatin1Char(',')),
                       current > 0 ? QString::number(current) : QString()}
        .join(QLatin1Char('|'));
}

// The checked coupon as the page shows it: classes | verdict | coupon caption | cell texts |
// cells marked drawn | the cell marked as drawn last.
QString Ticket(QWebEngineView* view) {
    return PageValue(view,
                     QStringLiteral("(function () {"
                                    "  var texts = function (sel) {"
                                    "    return Array.from(document.querySelectorAll(sel))"
                                    "      .map(function (c) { return c.textContent; }).join(',');"
                                    "  };"
                                    "  return [document.getElementById('ticket').className,"
                                    "    document.getElementById('verdict').textContent,"
                                    "    document.getElementById('coupon').textContent,"
                                    "    texts('#tgrid .tcell'), texts('#tgrid .tcell.m1'),"
                                    "    texts('#tgrid .tcell.m2')].join('|');"
                                    "})()"));
}

// What Ticket should read for coupon k just checked (no free middle).
QString ExpectedTicket(CZorviDlg& window, long long k, bool win) {
    const std::vector<int> numbers = window.Coupons().GetCoupon(k).Numbers();
    const std::vector<int> drawn = window.State().DrawnNumbers();
    const int current = window.State().CurrentNumber();
    QStringList all, marked, last;
    for (int n : numbers) {
        all << QString::number(n);
        if (n == current)
            last << QString::number(n);
        else if (std::find(drawn.begin(), drawn.end(), n) != drawn.end())
            marked << QString::number(n);
    }
    return QStringList{win ? QStringLiteral("shown win") : QStringLiteral("shown lose"),
                       win ? QStringLiteral("BINGO!") : QStringLiteral("Wrong!"),
                       QStringLiteral("Coupon ") + QString::number(k),
                       all.join(QLatin1Char(',')),
                       marked.join(QLatin1Char(',')),
                       last.join(QLatin1Char(','))}
        .join(QLatin1Char('|'));
}

// Two pages around the players' window's page in the fan-out, counting the draws' page calls:
// one that starts while another is still on its way means a command ran inside another.
class NestingWatch {
public:
    explicit NestingWatch(PageFanOut& pages, PageCalls* screen) : pages_(pages), screen_(screen) {
        pages_.Unregister(screen_);
        pages_.Register(&before_);
        pages_.Register(screen_);
        pages_.Register(&after_);
    }
    ~NestingWatch() {
        pages_.Unregister(&before_);
        pages_.Unregister(&after_);
    }
    int nested = 0;
    int calls = 0;

private:
    class Edge : public PageCalls {
    public:
        Edge(NestingWatch& watch, bool opens) : watch_(watch), opens_(opens) {}
        void PageReset(int, const std::string&) override {}
        void PageUpdateMainScreen(int, int, int) override {
            if (!opens_) {
                watch_.open_ = false;
                return;
            }
            if (watch_.open_)
                ++watch_.nested;
            watch_.open_ = true;
            ++watch_.calls;
        }
        void PageShowTicket(const PageTicket&) override {}
        void PageShowGame(const PageGame&) override {}

    private:
        NestingWatch& watch_;
        bool opens_;
    };

    PageFanOut& pages_;
    PageCalls* screen_;
    bool open_ = false;
    Edge before_{*this, true};
    Edge after_{*this, false};
};

} // namespace

class PublicScreenEndToEndTest : public QObject {
    Q_OBJECT

public:
    // The page view shares its rendering context with the application; this must be set
    // before the application object exists.
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{2024};

    test::OperatorWindow StartWindow(ModalScript& script) {
        return test::StartOperatorWindow(generator_, script, 2000, RealScreens());
    }

    static void Tap(CZorviDlg& window, int key) { test::TapKey(window, key); }
    // The Space bar once the one-second lock of the Draw button is over.
    static void Draw(CZorviDlg& window) {
        test::EndDrawLock(window);
        Tap(window, Qt::Key_Space);
    }
    // Types the coupon number and presses Enter in the coupon field.
    static void Check(CZorviDlg& window, long long k) {
        auto* field = qobject_cast<QLineEdit*>(window.ControlById(Control::CouponField));
        QVERIFY(field);
        field->setFocus();
        field->setText(QString::number(k));
        Tap(window, Qt::Key_Return);
    }

private slots:
    void init() {
        folders_ = std::make_unique<test::TestFolders>();
        test::WriteSettings([](Settings& s) {
            s.language = 2;
            s.public_screen = 1;
            s.enable_background_voice = 0;
            s.free_middle = 0;
            // A still page: reset marks it on the body, which a freshly loaded page lacks.
            s.disable_animation = 1;
        });
        test::WriteCouponSeries(folders_->programFolder() / "kup75.hex", 200, 25);
        const std::string page = test::TestFolders::ReadFile(ZORVI_PUBLIC_SCREEN_PAGE);
        QVERIFY(!page.empty());
        for (const char* lang : {"fi", "se", "en"})
            test::TestFolders::WriteFile(
                folders_->programFolder() / "html" / lang / "public_screen.htm", page);
    }
    void cleanup() { folders_.reset(); }

    // A page that takes two seconds for every number: the draw waits for it in the page call's
    // own message loop, where the automatic timer (one second) keeps ticking. No tick may draw
    // inside the draw; each number is shown once, on the page and in the window.
    void slowPageLetsNoTickDrawInsideADraw() {
        const std::string page = test::TestFolders::ReadFile(ZORVI_PUBLIC_SCREEN_PAGE);
        const std::string slow = R"(<script>
  (function () {
    var show = window.updateMainScreen;
    window.updateMainScreen = function () {
      var until = Date.now() + 2000;
      while (Date.now() < until) {}
      return show.apply(this, arguments);
    };
  })();
</script>
</body>)";
        std::string slowPage = page;
        const auto end = slowPage.rfind("</body>");
        QVERIFY(end != std::string::npos);
        slowPage.replace(end, 7, slow);
        test::TestFolders::WriteFile(
            folders_->programFolder() / "html" / "en" / "public_screen.htm", slowPage);

        ModalScript script;
        test::OperatorWindow window = test::BuildOperatorWindow(generator_, RealScreens());
        NestingWatch watch(window->Pages(), window->PublicScreen().Page());
        window->Start();
        QWebEngineView* view = PageView(*window);
        QVERIFY(view);
        QTRY_COMPARE_WITH_TIMEOUT(
            PageValue(view, QStringLiteral("document.querySelectorAll('#board .cell').length")),
            QStringLiteral("75"), kPageWaitMs);

        window->Commands().ToggleAutomatic();
        window->Commands().IntervalFromSlider(1, false);
        window->Commands().DrawCommand(); // starts: the first tick after a tenth of a second
        QTRY_VERIFY_WITH_TIMEOUT(window->State().number_count >= 3, kPageWaitMs);
        window->Commands().StopAutomatic();
        QVERIFY(!window->Commands().Busy());

        QCOMPARE(watch.nested, 0);
        QCOMPARE(watch.calls, window->State().number_count);
        QCOMPARE(window->ControlText(Control::CurrentNumber),
                 QString::number(window->State().CurrentNumber()));
        QTRY_COMPARE_WITH_TIMEOUT(MainScreen(view),
                                  ExpectedMainScreen(*window, QStringLiteral("Row")), kPageWaitMs);
        QVERIFY2(!script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }

    void startUpResetsThenDrawsShowOnPage() {
        ModalScript script;
        auto window = StartWindow(script);
        QVERIFY(window->PublicScreen().created());
        QVERIFY(window->PublicScreen().window()->isVisible());
        QWebEngineView* view = PageView(*window);
        QVERIFY(view);
        QVERIFY2(view->url().path().endsWith(QStringLiteral("/html/en/public_screen.htm")),
                 qPrintable(view->url().toString()));

        // A fresh board of 75 and nothing drawn, from reset with the animation setting.
        QTRY_COMPARE_WITH_TIMEOUT(
            PageValue(view, QStringLiteral("document.querySelectorAll('#board .cell').length")),
            QStringLiteral("75"), kPageWaitMs);
        QCOMPARE(PageValue(view, QStringLiteral("document.body.classList.contains('still')")),
                 QStringLiteral("true"));
        QCOMPARE(PageValue(view, QStringLiteral("document.getElementById('count-of').textContent")),
                 QStringLiteral(" / 75"));
        QCOMPARE(MainScreen(view), QStringLiteral("\u2013|0|Row 1||"));

        for (int i = 1; i <= 3; ++i) {
            Draw(*window);
            QCOMPARE(window->State().number_count, i);
            QTRY_COMPARE_WITH_TIMEOUT(
                MainScreen(view), ExpectedMainScreen(*window, QStringLiteral("Row")), kPageWaitMs);
        }
        QVERIFY2(!script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }

    void couponCheckShowsTicketWithVerdict() {
        ModalScript script;
        auto window = StartWindow(script);
        QWebEngineView* view = PageView(*window);
        QVERIFY(view);

        // Draw until one coupon of the series wins row 1 and another does not.
        BingoHelpers& coupons = window->Coupons();
        const long long count = coupons.CouponCount();
        long long winner = 0;
        long long loser = 0;
        while (winner == 0 && window->State().number_count < 75) {
            Draw(*window);
            const std::vector<int> drawn = window->State().DrawnNumbers();
            winner = 0;
            loser = 0;
            for (long long k = 1; k <= count && (winner == 0 || loser == 0); ++k) {
                const int result = coupons.CheckCouponNumber(1, drawn, k);
                if (result == 1 && winner == 0)
                    winner = k;
                else if (result != 1 && loser == 0)
                    loser = k;
            }
        }
        QVERIFY(winner > 0);
        QVERIFY(loser > 0);

        Check(*window, loser);
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QString::number(loser));
        QTRY_COMPARE_WITH_TIMEOUT(Ticket(view), ExpectedTicket(*window, loser, false), kPageWaitMs);

        Check(*window, winner);
        QCOMPARE(window->State().winners.size(), std::size_t(1));
        QTRY_COMPARE_WITH_TIMEOUT(Ticket(view), ExpectedTicket(*window, winner, true), kPageWaitMs);

        // The next number clears the ticket off the board.
        Draw(*window);
        QTRY_COMPARE_WITH_TIMEOUT(
            PageValue(view, QStringLiteral("document.getElementById('ticket').className")),
            QString(), kPageWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(MainScreen(view),
                                  ExpectedMainScreen(*window, QStringLiteral("Row")), kPageWaitMs);
        QVERIFY2(!script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }

    // Hiding the same-screen window (Esc in the operator window or its own close button) and
    // what brings it back (the next draw or coupon check), with the page up to date.
    void hiddenScreenComesBackWithNextStep_data() {
        QTest::addColumn<bool>("closeButton");
        QTest::addColumn<bool>("byCheck");
        QTest::newRow("esc, then draw") << false << false;
        QTest::newRow("close button, then check") << true << true;
    }
    void hiddenScreenComesBackWithNextStep() {
        QFETCH(bool, closeButton);
        QFETCH(bool, byCheck);
        ModalScript script;
        auto window = StartWindow(script);
        QWidget* screen = window->PublicScreen().window();
        QWebEngineView* view = PageView(*window);
        QVERIFY(screen && view);
        Draw(*window);
        QTRY_COMPARE_WITH_TIMEOUT(MainScreen(view),
                                  ExpectedMainScreen(*window, QStringLiteral("Row")), kPageWaitMs);

        if (closeButton) {
            auto* button = screen->findChild<QPushButton*>(QStringLiteral("close_button"));
            QVERIFY(button && button->isVisible() && button->isEnabled());
            button->click();
        } else {
            Tap(*window, Qt::Key_Escape);
        }
        QVERIFY(!screen->isVisible());
        QCOMPARE(window->State().shown_public_screen, 0);
        // Hidden, not closed: the same window and page, and the operator window stays open.
        QCOMPARE(window->PublicScreen().window(), screen);
        QCOMPARE(PageView(*window), view);
        QVERIFY(window->isVisible());

        if (byCheck) {
            Check(*window, 5);
            QVERIFY(screen->isVisible());
            QTRY_COMPARE_WITH_TIMEOUT(Ticket(view), ExpectedTicket(*window, 5, false), kPageWaitMs);
        } else {
            Draw(*window);
            QCOMPARE(window->State().number_count, 2);
            QVERIFY(screen->isVisible());
            QTRY_COMPARE_WITH_TIMEOUT(
                MainScreen(view), ExpectedMainScreen(*window, QStringLiteral("Row")), kPageWaitMs);
        }
        QCOMPARE(window->State().shown_public_screen, 1);
        QVERIFY2(!script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }

    // A game resumed at start-up: the page, reset, is shown every number drawn so far.
    void resumedGameShowsWholeBoard() {
        {
            Settings settings;
            Random15 generator(99);
            ProgramState stored(generator);
            stored.AttachSettings(settings);
            stored.ResetGame();
            for (int i = 0; i < 6; ++i)
                stored.DrawNext();
            QVERIFY(StateFile::SaveState(stored));
        }
        ModalScript script{ModalScript::Answer::Yes};
        auto window = StartWindow(script);
        QCOMPARE(window->Commands().LoadedAtStart(), 1);
        QCOMPARE(window->State().number_count, 6);
        QWebEngineView* view = PageView(*window);
        QVERIFY(view);
        QTRY_COMPARE_WITH_TIMEOUT(MainScreen(view),
                                  ExpectedMainScreen(*window, QStringLiteral("Row")), kPageWaitMs);
        QCOMPARE(
            PageValue(view, QStringLiteral("document.querySelectorAll('.mini:not(.placeholder)')"
                                           ".length")),
            QStringLiteral("5"));
        QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }

    void languageChangeReloadsPageKeepingGame() {
        ModalScript script;
        auto window = StartWindow(script);
        QWebEngineView* view = PageView(*window);
        QVERIFY(view);
        for (int i = 0; i < 3; ++i)
            Draw(*window);
        QTRY_COMPARE_WITH_TIMEOUT(MainScreen(view),
                                  ExpectedMainScreen(*window, QStringLiteral("Row")), kPageWaitMs);
        const std::vector<int> sequence = window->State().randomizer_numbers;
        // A mark that only the old document carries: gone once the page is loaded anew.
        QCOMPARE(PageValue(view, QStringLiteral("window.oldDocument = 'yes'")),
                 QStringLiteral("yes"));

        script.Add([](QWidget* modal) {
            auto* dialog = qobject_cast<CSettingsDlg*>(modal);
            QVERIFY(dialog);
            qobject_cast<QComboBox*>(dialog->Control(CSettingsDlg::IDC_LANGUAGE))
                ->setCurrentIndex(0);
            qobject_cast<QAbstractButton*>(dialog->Control(CSettingsDlg::IDOK_BUTTON))->click();
        });
        qobject_cast<QAbstractButton*>(window->ControlById(Control::Settings))->click();
        QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
        QCOMPARE(window->GetSettings().language, 0);

        // The same window and view, now on the Finnish folder's page.
        QCOMPARE(PageView(*window), view);
        QVERIFY(window->PublicScreen().window()->isVisible());
        // The settings step does not wait for the page: it loads meanwhile.
        QTRY_VERIFY2_WITH_TIMEOUT(
            view->url().path().endsWith(QStringLiteral("/html/fi/public_screen.htm")),
            qPrintable(view->url().toString()), kPageWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(PageValue(view, QStringLiteral("typeof window.oldDocument")),
                                  QStringLiteral("undefined"), kPageWaitMs);
        QCOMPARE(PageValue(view, QStringLiteral("document.documentElement.lang")),
                 QStringLiteral("fi"));
        // reset reached the new document: only reset makes the page still.
        QTRY_COMPARE_WITH_TIMEOUT(
            PageValue(view, QStringLiteral("document.body.classList.contains('still')")),
            QStringLiteral("true"), kPageWaitMs);
        QCOMPARE(
            PageValue(view, QStringLiteral("document.querySelectorAll('#board .cell').length")),
            QStringLiteral("75"));

        // The game goes on where it was.
        QCOMPARE(window->State().number_count, 3);
        QCOMPARE(window->State().randomizer_numbers, sequence);
        QCOMPARE(window->ControlText(Control::DrawnCount), QStringLiteral("3"));
        QTRY_COMPARE_WITH_TIMEOUT(MainScreen(view),
                                  ExpectedMainScreen(*window, QStringLiteral("Rivi")), kPageWaitMs);
        Draw(*window);
        QCOMPARE(window->State().number_count, 4);
        QTRY_COMPARE_WITH_TIMEOUT(MainScreen(view),
                                  ExpectedMainScreen(*window, QStringLiteral("Rivi")), kPageWaitMs);
        QVERIFY2(!script.Unexpected(), qPrintable(script.Seen().join(" | ")));
    }
};

QTEST_MAIN(PublicScreenEndToEndTest)
#include "PublicScreenEndToEndTest.moc"
