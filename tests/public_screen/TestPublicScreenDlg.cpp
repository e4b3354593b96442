#include <QCloseEvent>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QPushButton>
#include <QScreen>
#include <csignal>
#include <functional>
#include <sys/types.h>

#include "PageFanOut.h"
#include "Placement.h"
#include "PrizeBoardJson.h"
#include "PublicScreenDlg.h"
#include "Settings.h"
#include "TestSupport.h"

namespace zorvi::test {

class TestPublicScreenDlg : public QObject {
    Q_OBJECT

private:
    static PageJoinCode Join(const QString& url, int size, const QString& modules) {
        return url.isEmpty() ? PageJoinCode{}
                             : PageJoinCode{url.toStdString(), size, modules.toStdString()};
    }

    // An operator window, its settings and the public screen it owns.
    struct Fixture {
        Settings settings{Settings::NoLoad{}};
        QWidget owner;
        // The game's one record, as the program has it; the window's page is registered.
        PageFanOut pages;
        PublicScreenDlg dlg{settings, pages, &owner};
        explicit Fixture(const QString& folder = QStringLiteral("recorder")) {
            owner.resize(300, 200);
            dlg.SetHtmlFolder(TestDataPath(folder));
            pages.Register(&dlg);
        }
        ~Fixture() { pages.Unregister(&dlg); }
        // Opens the window and waits for its page, as the start-up does.
        bool open(int mode, bool reload) {
            const bool created = dlg.Open(mode, reload);
            dlg.WaitUntilLoaded();
            return created;
        }
        CHtmlContent* view() const {
            return dlg.window() ? dlg.window()->findChild<CHtmlContent*>() : nullptr;
        }
        QPushButton* button(const char* name) const {
            return dlg.window()->findChild<QPushButton*>(QString::fromLatin1(name));
        }
        QJsonArray calls() const {
            return RunScriptJson(view()->page(), QStringLiteral("window.calls")).array();
        }
        // Forgets what the page was shown so far (the new page's own catch-up).
        void forgetCalls() const { RunScript(view()->page(), QStringLiteral("window.calls = []")); }
        // Each call as "name [args]".
        QStringList seen() const {
            QStringList list;
            for (const QJsonValue& call : calls())
                list << call.toObject()[QStringLiteral("name")].toString() + QLatin1Char(' ') +
                            QString::fromUtf8(
                                QJsonDocument(call.toObject()[QStringLiteral("args")].toArray())
                                    .toJson(QJsonDocument::Compact));
            return list;
        }
    };

    // Game `game` of a programme of five, its first stage; 0: no programme.
    static PagePrizeBoard Board(int game) {
        PagePrizeBoard board;
        board.game = game;
        if (game > 0) {
            board.games = 5;
            board.name = "Ilta \"1\"";
            board.stage = 1;
            board.stages = 2;
            board.pattern = PagePattern{{"Rivi", "Rad", "Line"}, 25, {31u, 992u}};
            board.prize = "20 \xE2\x82\xAC";
        }
        return board;
    }
    // The board as the page receives it: "showPrizeBoard [{...}]".
    static QString BoardSeen(int game) {
        const QJsonObject board =
            QJsonDocument::fromJson(QByteArray::fromStdString(PrizeBoardJson(Board(game))))
                .object();
        return QStringLiteral("showPrizeBoard ") +
               QString::fromUtf8(QJsonDocument(QJsonArray{board}).toJson(QJsonDocument::Compact));
    }

    static QRect PrimaryGeometry() { return QGuiApplication::primaryScreen()->geometry(); }

private slots:
    void placementTable_data() {
        QTest::addColumn<bool>("other");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::addColumn<QRect>("second");
        QTest::addColumn<QRect>("expected");
        const QRect none;
        const QRect right(1920, 0, 1280, 1024);
        QTest::newRow("same, whole screen") << false << 0 << 0 << right << QRect(0, 0, 1920, 1080);
        QTest::newRow("same, 800 high 600 wide")
            << false << 800 << 600 << none << QRect(0, 0, 600, 800);
        QTest::newRow("same, too wide") << false << 800 << 5000 << none << QRect(0, 0, 1920, 800);
        QTest::newRow("same, too high") << false << 1081 << 1920 << none << QRect(0, 0, 1920, 1080);
        QTest::newRow("same, exactly the limit")
            << false << 1080 << 1920 << none << QRect(0, 0, 1920, 1080);
        QTest::newRow("other, whole screen")
            << true << 0 << 0 << right << QRect(1920, 0, 1280, 1024);
        QTest::newRow("other, too large")
            << true << 5000 << 5000 << right << QRect(1920, 0, 1280, 1024);
        QTest::newRow("other, smaller") << true << 800 << 600 << right << QRect(1920, 0, 600, 800);
        QTest::newRow("other, lower monitor: its bottom is the limit")
            << true << 0 << 0 << QRect(1920, 200, 1280, 1024) << QRect(1920, 0, 1280, 1224);
        QTest::newRow("other, but one monitor")
            << true << 0 << 0 << none << QRect(0, 0, 1920, 1080);
        QTest::newRow("other, but one monitor, sized")
            << true << 700 << 5000 << none << QRect(0, 0, 1920, 700);
    }
    void placementTable() {
        QFETCH(bool, other);
        QFETCH(int, height);
        QFETCH(int, width);
        QFETCH(QRect, second);
        QFETCH(QRect, expected);
        const std::optional<QRect> firstOther =
            second.isNull() ? std::nullopt : std::optional<QRect>(second);
        QCOMPARE(ComputeWindowPlacement(other, height, width, QRect(0, 0, 1920, 1080), firstOther),
                 expected);
    }

    void buttonPlacementTable_data() {
        QTest::addColumn<int>("clientWidth");
        QTest::addColumn<QPoint>("close");
        QTest::addColumn<QPoint>("draw");
        QTest::newRow("1920") << 1920 << QPoint(1920 / 2 - 10 - 105, 0) << QPoint(970, 0);
        QTest::newRow("odd width truncates") << 801 << QPoint(400 - 10 - 105, 0) << QPoint(410, 0);
        QTest::newRow("narrower than the buttons") << 100 << QPoint(-65, 0) << QPoint(60, 0);
    }
    void buttonPlacementTable() {
        QFETCH(int, clientWidth);
        QFETCH(QPoint, close);
        QFETCH(QPoint, draw);
        const ButtonPlacement place =
            ComputeButtonPlacement(clientWidth, QSize(105, 24), QSize(105, 23));
        QCOMPARE(place.close, QRect(close, QSize(105, 24)));
        QCOMPARE(place.draw, QRect(draw, QSize(105, 23)));
    }

    void pageFolderForLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("folder");
        QTest::newRow("Finnish") << 0 << "/program/html/fi";
        QTest::newRow("Swedish") << 1 << "/program/html/se";
        QTest::newRow("English") << 2 << "/program/html/en";
        QTest::newRow("out of range") << 7 << "/program/html/fi";
        QTest::newRow("negative") << -1 << "/program/html/fi";
    }
    void pageFolderForLanguage() {
        QFETCH(int, language);
        QFETCH(QString, folder);
        QCOMPARE(PublicScreenDlg::PageFolderFor(QStringLiteral("/program"), language), folder);
    }

    void placeWindowOnThisScreen_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::addColumn<QSize>("expected");
        const QSize full = PrimaryGeometry().size();
        QTest::newRow("whole screen") << 1 << 0 << 0 << full;
        QTest::newRow("smaller") << 1 << full.height() - 100 << full.width() - 200
                                 << QSize(full.width() - 200, full.height() - 100);
        QTest::newRow("5000 wide") << 1 << 300 << 5000 << QSize(full.width(), 300);
        QTest::newRow("5000 high") << 1 << 5000 << 400 << QSize(400, full.height());
        // This machine has one monitor: the other screen falls back to this one.
        QTest::newRow("other screen, one monitor") << 2 << 0 << 0 << full;
    }
    void placeWindowOnThisScreen() {
        QFETCH(int, mode);
        QFETCH(int, height);
        QFETCH(int, width);
        QFETCH(QSize, expected);
        if (QGuiApplication::screens().size() != 1)
            QSKIP("needs a single monitor");
        Fixture f;
        f.settings.public_screen_height = height;
        f.settings.public_screen_width = width;
        QVERIFY(f.open(mode, false));
        QCOMPARE(f.dlg.window()->geometry(), QRect(PrimaryGeometry().topLeft(), expected));
        QCOMPARE(f.dlg.otherScreen(), mode == 2);
    }

    void openWaitsForThePageOnly() {
        Fixture f;
        QVERIFY(!f.dlg.created());
        QElapsedTimer timer;
        timer.start();
        QVERIFY(f.open(1, false));
        // The page is there when Open returns, well before the eight seconds are up.
        QVERIFY(f.view()->HasDocument());
        QVERIFY(timer.elapsed() < 7500);
        QVERIFY(f.dlg.created());
        QVERIFY(f.dlg.active());
        QVERIFY(f.dlg.window()->isVisible());
        QVERIFY(f.dlg.window()->isEnabled());
        QVERIFY(!f.view()->isEnabled());
        QCOMPARE(f.dlg.window()->parentWidget(), &f.owner);
        QVERIFY(f.dlg.window()->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(f.dlg.window()->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        QCOMPARE(f.view()->PageUrl().toLocalFile(),
                 TestDataPath(QStringLiteral("recorder/public_screen.htm")));
        // Open again: not new, nothing to wait for.
        QVERIFY(!f.open(1, false));
        QVERIFY(!f.open(0, false));
        QVERIFY(!f.dlg.created());
    }

    void layoutSameAndOtherScreen() {
        Fixture f;
        f.settings.public_screen_height = 500;
        f.settings.public_screen_width = 701;
        QVERIFY(f.open(1, false));
        QPushButton* close = f.button("close_button");
        QPushButton* draw = f.button("draw_button");
        QVERIFY(close->isVisible() && draw->isVisible());
        QCOMPARE(close->geometry().right() + 1 + 20, draw->x());
        QCOMPARE(close->x(), 701 / 2 - 10 - close->width());
        QCOMPARE(close->y(), 0);
        QCOMPARE(draw->y(), 0);
        // Template sizes: 70 x 15 and 70 x 14 dialog units.
        QCOMPARE(close->width(), draw->width());
        QVERIFY(close->height() > draw->height());
        QCOMPARE(f.view()->geometry(), QRect(0, close->height(), 701, 500 - close->height()));
        QCOMPARE(close->text(), QStringLiteral("Sulje (Esc)"));
        QCOMPARE(draw->text(), QStringLiteral("Arvonta (Välilyönti)"));

        f.settings.language = 1;
        QVERIFY(!f.open(2, false));
        QVERIFY(close->isHidden() && draw->isHidden());
        QCOMPARE(f.view()->geometry(), f.dlg.window()->rect());
        QVERIFY(f.view()->isVisible());

        QVERIFY(!f.open(1, false));
        QCOMPARE(close->text(), QStringLiteral("Stäng (Esc)"));
        QCOMPARE(draw->text(), QStringLiteral("Drag (Mellanslag)"));
        f.dlg.SetDrawButtonText(TextId::TXT_STOP_SPACEBAR);
        QCOMPARE(draw->text(),
                 QString::fromStdString(Language::GetText(TextId::TXT_STOP_SPACEBAR, 1)));
        // A relabel in another language keeps the caption of the automatic mode.
        f.settings.language = 2;
        f.dlg.SetButtonTexts();
        QCOMPARE(draw->text(),
                 QString::fromStdString(Language::GetText(TextId::TXT_STOP_SPACEBAR, 2)));

        f.dlg.LayoutPage(false);
        QVERIFY(!f.dlg.active());
        QVERIFY(f.view()->isHidden());
        QVERIFY(close->isHidden() && draw->isHidden());
    }

    void buttonsAndClicksGiveTheFocusBack() {
        Fixture f;
        QVERIFY(f.open(1, false));
        QPushButton* close = f.button("close_button");
        QPushButton* draw = f.button("draw_button");
        // Disabled until the program is ready.
        QVERIFY(!close->isEnabled() && !draw->isEnabled());
        f.dlg.EnableButtons(true);
        QVERIFY(close->isEnabled() && draw->isEnabled());
        QCOMPARE(close->focusPolicy(), Qt::NoFocus);

        QSignalSpy drawn(&f.dlg, &PublicScreenDlg::drawRequested);
        QSignalSpy closed(&f.dlg, &PublicScreenDlg::closeRequested);
        QSignalSpy focus(&f.dlg, &PublicScreenDlg::focusReturned);
        QTest::mouseClick(draw, Qt::LeftButton);
        QCOMPARE(drawn.size(), 1);
        QCOMPARE(focus.size(), 1);
        QTest::mouseClick(close, Qt::LeftButton);
        QCOMPARE(closed.size(), 1);
        QCOMPARE(focus.size(), 2);
        f.dlg.EnableDrawButton(false);
        QVERIFY(!draw->isEnabled());
        QTest::mouseClick(draw, Qt::LeftButton);
        QCOMPARE(drawn.size(), 1);
    }

    void pageTakesNoInput() {
        Fixture f;
        QVERIFY(f.open(2, false));
        QSignalSpy focus(&f.dlg, &PublicScreenDlg::focusReturned);
        // Every widget of the view, the one that draws the page included.
        QList<QWidget*> targets = f.view()->findChildren<QWidget*>();
        targets << f.view();
        for (QWidget* target : targets) {
            QVERIFY(!target->isEnabled());
            const QPoint middle = target->rect().center();
            QTest::mouseClick(target, Qt::LeftButton, {}, middle);
            QTest::mouseDClick(target, Qt::LeftButton, {}, middle);
            QTest::mouseClick(target, Qt::RightButton, {}, middle);
            QTest::keyClick(target, Qt::Key_Space);
        }
        QTest::qWait(100);
        QCOMPARE(RunScript(f.view()->page(), QStringLiteral("window.clicks")).toInt(), 0);
        // The clicks went to the window, which hands the focus back each time.
        QVERIFY(focus.size() >= 3);
    }

    void pageCallsCarryTheirArguments() {
        Fixture f;
        QVERIFY(f.open(1, false));
        f.forgetCalls();
        f.settings.disable_animation = 1;
        f.pages.PageReset(90, "0123456789abcdef");
        f.pages.PageUpdateMainScreen(-1, 0, 2);
        f.pages.PageShowTicket(PageTicket{"1,0,3", "1,0,2", true, 17});
        f.settings.disable_animation = 0;
        f.pages.PageReset(75, "");
        f.pages.PageShowTicket(PageTicket{"4", "0", false, 999999});
        f.pages.PageShowSeal("1a2b3c4d5e6f7a8b");
        f.pages.PageShowRecall(23);
        f.pages.PageShowPrizeBoard(Board(3));
        f.pages.PageShowPrizeBoard(Board(0));
        const QJsonArray calls = f.calls();
        QCOMPARE(calls.size(), 9);
        auto args = [&](int i) { return calls[i].toObject()[QStringLiteral("args")].toArray(); };
        auto name = [&](int i) { return calls[i].toObject()[QStringLiteral("name")].toString(); };
        QCOMPARE(name(0), QStringLiteral("reset"));
        QCOMPARE(args(0), (QJsonArray{90, 0, 1, QStringLiteral("0123456789abcdef")}));
        QCOMPARE(name(1), QStringLiteral("updateMainScreen"));
        QCOMPARE(args(1), (QJsonArray{-1, 0, 2}));
        QCOMPARE(name(2), QStringLiteral("showTicket"));
        QCOMPARE(args(2), (QJsonArray{QStringLiteral("1,0,3"), QStringLiteral("1,0,2"), 1, 17}));
        QCOMPARE(calls[2].toObject()[QStringLiteral("types")].toArray(),
                 (QJsonArray{QStringLiteral("string"), QStringLiteral("string"),
                             QStringLiteral("number"), QStringLiteral("number")}));
        QCOMPARE(args(3), (QJsonArray{75, 0, 0, QString()}));
        QCOMPARE(args(4), (QJsonArray{QStringLiteral("4"), QStringLiteral("0"), 0, 999999}));
        QCOMPARE(name(5), QStringLiteral("showSeal"));
        QCOMPARE(args(5), (QJsonArray{QStringLiteral("1a2b3c4d5e6f7a8b")}));
        QCOMPARE(name(6), QStringLiteral("showRecall"));
        QCOMPARE(args(6), (QJsonArray{23}));
        QCOMPARE(calls[6].toObject()[QStringLiteral("types")].toArray(),
                 (QJsonArray{QStringLiteral("number")}));
        // The board as one object, every field as the feed carries it.
        QCOMPARE(name(7), QStringLiteral("showPrizeBoard"));
        QCOMPARE(calls[7].toObject()[QStringLiteral("types")].toArray(),
                 (QJsonArray{QStringLiteral("object")}));
        const QJsonObject board = args(7).at(0).toObject();
        QCOMPARE(
            board,
            QJsonDocument::fromJson(QByteArray::fromStdString(PrizeBoardJson(Board(3)))).object());
        QCOMPARE(board[QStringLiteral("name")].toString(), QStringLiteral("Ilta \"1\""));
        QCOMPARE(board[QStringLiteral("prize")].toString(), QStringLiteral("20 \u20ac"));
        QCOMPARE(board[QStringLiteral("pattern")].toObject()[QStringLiteral("masks")].toArray(),
                 (QJsonArray{31, 992}));
        QCOMPARE(args(8).at(0).toObject()[QStringLiteral("game")].toInt(), 0);
    }

    void noCallUnlessCreatedAndActive() {
        Fixture f;
        MessageBoxCatcher boxes;
        // Not created: nothing happens at all.
        f.pages.PageReset(75, "");
        f.pages.PageUpdateMainScreen(5, 1, 1);
        f.pages.PageShowTicket(PageTicket{"1", "1", true, 1});
        f.pages.PageShowRecall(5);
        f.dlg.PlaceWindow(100, 100);
        f.dlg.LayoutPage(true);
        f.dlg.EnableButtons(true);
        QVERIFY(!f.dlg.created());
        QVERIFY(!f.dlg.active());

        QVERIFY(f.open(1, false));
        f.forgetCalls();
        f.dlg.LayoutPage(false);
        f.pages.PageReset(75, "");
        f.pages.PageUpdateMainScreen(5, 1, 1);
        f.pages.PageShowRecall(5);
        f.dlg.LayoutPage(true);
        QCOMPARE(f.calls().size(), 0);

        // Hidden on the same screen it stays active, and its page keeps up.
        f.dlg.HideWindow();
        QVERIFY(f.dlg.window()->isHidden());
        f.pages.PageUpdateMainScreen(5, 1, 1);
        QCOMPARE(f.calls().size(), 1);

        f.dlg.Close();
        f.pages.PageReset(75, "");
        QVERIFY(boxes.seen().empty());
    }

    void failureShowsTheMessageOwnedByTheScreen() {
        Fixture f(QStringLiteral("no_ticket"));
        QVERIFY(f.open(1, false));
        QCoreApplication::setApplicationName(QStringLiteral("zorvi"));
        MessageBoxCatcher boxes;
        f.forgetCalls();
        f.pages.PageShowTicket(PageTicket{"1", "1", true, 3});
        // Told once the call has failed, from the event loop.
        QVERIFY(boxes.texts().isEmpty());
        QTRY_COMPARE(boxes.texts(), QStringList{QStringLiteral("Failed to get from script by id")});
        QCOMPARE(boxes.seen()[0].title, QStringLiteral("zorvi"));
        QCOMPARE(boxes.seen()[0].parent, f.dlg.window());
        // The rest of the page still works, and each failing check says so again.
        f.pages.PageUpdateMainScreen(5, 1, 1);
        f.pages.PageShowTicket(PageTicket{"1", "1", false, 4});
        QTRY_COMPARE(boxes.texts().size(), 2);
        QCOMPARE(RunScriptJson(f.view()->page(), QStringLiteral("window.calls")).array(),
                 (QJsonArray{QStringLiteral("updateMainScreen")}));
    }

    // The join code reaches a page that has showJoinCode, also one that loads later (a new
    // window, a reload), and is hidden with an empty address; a page without the function gets
    // nothing, and the operator no message.
    void joinCodeIsOptional() {
        Fixture f;
        const QString modules(21 * 21, QLatin1Char('1'));
        const QString url = QStringLiteral("http://10.0.0.1:8765/");
        const QString shown = QStringLiteral("showJoinCode [\"%1\",21,\"%2\"]").arg(url, modules);
        MessageBoxCatcher boxes;
        // Before there is a window: kept for the page to come.
        f.pages.PageShowJoinCode(Join(url, 21, modules));
        QVERIFY(f.open(1, false));
        QVERIFY(f.seen().contains(shown));
        QCOMPARE(f.seen().last(), shown);
        f.forgetCalls();
        QVERIFY(!f.open(1, true));
        QVERIFY(f.view()->HasDocument());
        QCOMPARE(f.seen().last(), shown);
        f.pages.PageShowJoinCode(Join(QString(), 21, modules));
        QCOMPARE(f.seen().last(), QStringLiteral("showJoinCode [\"\",0,\"\"]"));
        // Hidden stays hidden on the next page: nothing is sent to it.
        f.forgetCalls();
        QVERIFY(!f.open(1, true));
        QVERIFY(!f.seen().join(QLatin1Char(' ')).contains(QStringLiteral("showJoinCode")));

        f.pages.PageShowJoinCode(Join(url, 21, modules));
        f.dlg.SetHtmlFolder(TestDataPath(QStringLiteral("no_ticket")));
        QVERIFY(!f.open(1, true));
        f.pages.PageShowJoinCode(Join(url, 21, modules));
        QVERIFY(boxes.texts().isEmpty());

        // Our own page shows it.
        f.dlg.SetHtmlFolder(PagesPath(QStringLiteral("en")));
        QVERIFY(!f.open(1, true));
        QVERIFY(f.view()->HasDocument());
        QVERIFY(!RunScript(f.view()->page(),
                           QStringLiteral("document.getElementById('joincode').hidden"))
                     .toBool());
        QCOMPARE(RunScript(f.view()->page(),
                           QStringLiteral("document.getElementById('joinurl').textContent"))
                     .toString(),
                 QStringLiteral("10.0.0.1:8765"));
        QVERIFY(boxes.texts().isEmpty());
    }

    // A reload (the language changed) takes the new folder's page, and the new document is
    // shown the game at once: the calls that follow may not come soon.
    void reloadTakesTheNewLanguageFolder() {
        Fixture f;
        QVERIFY(f.open(1, false));
        f.forgetCalls();
        f.pages.PageReset(75, "");
        f.pages.PageUpdateMainScreen(7, 1, 1);
        f.dlg.SetHtmlFolder(TestDataPath(QStringLiteral("no_ticket")));
        // Without reload the page stays.
        QVERIFY(!f.open(1, false));
        QCOMPARE(f.calls().size(), 2);
        QVERIFY(!f.open(1, true));
        QVERIFY(f.view()->HasDocument());
        QCOMPARE(f.view()->PageUrl().toLocalFile(),
                 TestDataPath(QStringLiteral("no_ticket/public_screen.htm")));
        QCOMPARE(f.calls(),
                 (QJsonArray{QStringLiteral("reset"), QStringLiteral("updateMainScreen")}));
    }

    // What a page that has just loaded is shown: the game kept from every call, also those
    // made while there was no window (a public screen enabled in the middle of a game), and
    // before any game a board of the number count in the settings.
    void newPageIsShownTheKeptGame_data() {
        QTest::addColumn<std::function<void(PageFanOut&)>>("calls");
        QTest::addColumn<QStringList>("expected");
        using Calls = std::function<void(PageFanOut&)>;
        QTest::newRow("no game yet")
            << Calls([](PageFanOut&) {}) << QStringList{QStringLiteral("reset [90,0,1,\"\"]")};
        QTest::newRow("numbers, a row change and a ticket")
            << Calls([](PageFanOut& d) {
                   d.PageReset(75, "00ff");
                   d.PageUpdateMainScreen(-1, 0, 1);
                   d.PageUpdateMainScreen(7, 1, 1);
                   d.PageUpdateMainScreen(61, 2, 1);
                   d.PageUpdateMainScreen(61, 2, 2);
                   d.PageShowTicket(PageTicket{"1,2", "0,2", false, 44});
               })
            << QStringList{QStringLiteral("reset [75,0,1,\"00ff\"]"),
                           QStringLiteral("updateMainScreen [7,1,2]"),
                           QStringLiteral("updateMainScreen [61,2,2]"),
                           QStringLiteral("showTicket [\"1,2\",\"0,2\",0,44]")};
        QTest::newRow("whole game, 90 numbers")
            << Calls([](PageFanOut& d) {
                   d.PageShowGame(PageGame{90, "", {88, 3, 90}, 3, std::nullopt, "", {}});
               })
            << QStringList{QStringLiteral("reset [90,0,1,\"\"]"),
                           QStringLiteral("updateMainScreen [88,1,3]"),
                           QStringLiteral("updateMainScreen [3,2,3]"),
                           QStringLiteral("updateMainScreen [90,3,3]")};
        // Numbers it was never told stay dark; the count and the current number are right.
        QTest::newRow("gaps") << Calls([](PageFanOut& d) {
            d.PageReset(75, "");
            d.PageUpdateMainScreen(9, 3, 1);
        })
                              << QStringList{QStringLiteral("reset [75,0,1,\"\"]"),
                                             QStringLiteral("updateMainScreen [9,3,1]")};
        // The last game's seal, after the game played under it; before any game, alone.
        QTest::newRow("seal of the game before")
            << Calls([](PageFanOut& d) {
                   d.PageReset(75, "00ff");
                   d.PageUpdateMainScreen(7, 1, 1);
                   d.PageShowSeal("1a2b3c4d5e6f7a8b");
                   d.PageReset(90, "11ee");
                   d.PageUpdateMainScreen(88, 1, 1);
               })
            << QStringList{QStringLiteral("reset [90,0,1,\"11ee\"]"),
                           QStringLiteral("updateMainScreen [88,1,1]"),
                           QStringLiteral("showSeal [\"1a2b3c4d5e6f7a8b\"]")};
        QTest::newRow("seal before any game")
            << Calls([](PageFanOut& d) { d.PageShowSeal("1a2b3c4d5e6f7a8b"); })
            << QStringList{QStringLiteral("reset [90,0,1,\"\"]"),
                           QStringLiteral("showSeal [\"1a2b3c4d5e6f7a8b\"]")};
        // The prize board last, after the seal; before any game with the empty board.
        QTest::newRow("prize board after the seal")
            << Calls([](PageFanOut& d) {
                   d.PageShowPrizeBoard(Board(2));
                   d.PageReset(75, "");
                   d.PageUpdateMainScreen(7, 1, 1);
                   d.PageShowSeal("1a2b3c4d5e6f7a8b");
               })
            << QStringList{QStringLiteral("reset [75,0,1,\"\"]"),
                           QStringLiteral("updateMainScreen [7,1,1]"),
                           QStringLiteral("showSeal [\"1a2b3c4d5e6f7a8b\"]"), BoardSeen(2)};
        QTest::newRow("prize board before any game")
            << Calls([](PageFanOut& d) { d.PageShowPrizeBoard(Board(1)); })
            << QStringList{QStringLiteral("reset [90,0,1,\"\"]"), BoardSeen(1)};
        // The programme over: the page is shown exactly what it would be without one.
        QTest::newRow("no programme any more")
            << Calls([](PageFanOut& d) {
                   d.PageShowPrizeBoard(Board(5));
                   d.PageReset(75, "");
                   d.PageShowPrizeBoard(Board(0));
               })
            << QStringList{QStringLiteral("reset [75,0,1,\"\"]"),
                           QStringLiteral("updateMainScreen [-1,0,1]")};
        // A recall is told as it happens only: the page that comes is shown the game without
        // the ball, and no notice.
        QTest::newRow("ball recalled before the page came")
            << Calls([](PageFanOut& d) {
                   d.PageReset(75, "");
                   d.PageUpdateMainScreen(7, 1, 1);
                   d.PageUpdateMainScreen(23, 2, 1);
                   d.PageShowRecall(23);
                   d.PageUpdateMainScreen(7, 1, 1);
               })
            << QStringList{QStringLiteral("reset [75,0,1,\"\"]"),
                           QStringLiteral("updateMainScreen [7,1,1]")};
        QTest::newRow("all numbers cancelled")
            << Calls([](PageFanOut& d) {
                   d.PageReset(75, "");
                   d.PageUpdateMainScreen(9, 1, 1);
                   d.PageUpdateMainScreen(-1, 0, 1);
               })
            << QStringList{QStringLiteral("reset [75,0,1,\"\"]"),
                           QStringLiteral("updateMainScreen [-1,0,1]")};
    }
    void newPageIsShownTheKeptGame() {
        QFETCH(std::function<void(PageFanOut&)>, calls);
        QFETCH(QStringList, expected);
        Fixture f;
        f.settings.max_called_numbers = 90;
        f.settings.disable_animation = 1;
        MessageBoxCatcher boxes;
        calls(f.pages);
        QVERIFY(f.open(1, false));
        QCOMPARE(f.seen(), expected);
        // A window made anew after a close shows the same.
        f.dlg.Close();
        QVERIFY(f.open(2, false));
        QCOMPARE(f.seen(), expected);
        QVERIFY(boxes.seen().empty());
    }

    // A number drawn while the page is being shown the whole game (an automatic draw while the
    // catch-up's calls are on their way) is not undone by the older calls still to come.
    void callDuringTheCatchUpIsKept() {
        Fixture f;
        f.dlg.SetHtmlFolder(PagesPath(QStringLiteral("en")));
        QVERIFY(f.open(1, false));
        f.pages.PageReset(75, "");
        f.pages.PageUpdateMainScreen(7, 1, 1);
        f.pages.PageUpdateMainScreen(9, 2, 1);
        // Runs while the catch-up's calls are still on their way to the page.
        QTimer::singleShot(0, &f.owner, [&] { f.pages.PageUpdateMainScreen(11, 3, 1); });
        f.pages.PageShowGame(PageGame{75, "", {7, 9}, 1, std::nullopt, "", {}});
        QTRY_COMPARE(f.dlg.Game().drawn, (std::vector<int>{7, 9, 11}));
        const QString shown = QStringLiteral(
            "document.getElementById('number').textContent + '|' + "
            "Array.from(document.querySelectorAll('#board .cell.on')).map(function (c) "
            "{ return c.textContent; }).join(',')");
        QCOMPARE(RunScript(f.view()->page(), shown).toString(), QStringLiteral("11|7,9,11"));
    }

    // The whole game on a page that lacks a function: one box for the lot, the rest shown. The
    // seal, the recall and the prize board are optional: a page without showSeal, showRecall or
    // showPrizeBoard adds no box.
    void wholeGameOnAnOldPageReportsOnce() {
        Fixture f(QStringLiteral("no_ticket"));
        QVERIFY(f.open(1, false));
        f.forgetCalls();
        MessageBoxCatcher boxes;
        f.pages.PageShowGame(PageGame{
            75, "", {4, 5}, 1, PageTicket{"4,5", "1,2", true, 9}, "1a2b3c4d5e6f7a8b", Board(2)});
        f.pages.PageShowSeal("0123456789abcdef");
        f.pages.PageShowRecall(5);
        f.pages.PageShowPrizeBoard(Board(3));
        QTRY_COMPARE(boxes.texts(), QStringList{QStringLiteral("Failed to get from script by id")});
        // Only one, also once every call has been answered.
        QTest::qWait(200);
        QCOMPARE(boxes.texts().size(), 1);
        QCOMPARE(f.calls(), (QJsonArray{QStringLiteral("reset"), QStringLiteral("updateMainScreen"),
                                        QStringLiteral("updateMainScreen")}));
        QCOMPARE(f.dlg.Game().ticket->couponNumber, 9);
    }

    void closeAndOpenAgainMakesANewWindow() {
        Fixture f;
        QVERIFY(f.open(1, false));
        QPointer<QWidget> first = f.dlg.window();
        f.dlg.Close();
        QVERIFY(!f.dlg.created());
        QVERIFY(!f.dlg.active());
        QVERIFY(f.dlg.window() == nullptr);
        QTRY_VERIFY(first.isNull());
        QVERIFY(f.open(2, false));
        QVERIFY(f.view()->HasDocument());
    }

    void crashedPageIsShownTheGameAgain() {
        Fixture f;
        QVERIFY(f.open(1, false));
        f.pages.PageShowSeal("1a2b3c4d5e6f7a8b"); // of the game before
        f.pages.PageReset(75, "0123456789abcdef");
        f.pages.PageUpdateMainScreen(7, 1, 1);
        f.pages.PageUpdateMainScreen(9, 2, 1);
        f.pages.PageUpdateMainScreen(9, 2, 2); // row change
        f.pages.PageUpdateMainScreen(11, 3, 2);
        f.pages.PageUpdateMainScreen(9, 2, 2); // cancelled
        f.pages.PageShowTicket(PageTicket{"9", "2", false, 12});
        f.pages.PageShowPrizeBoard(Board(4));
        // Every call has been answered before the renderer goes: the loaded page's own reset
        // and the nine above.
        QCOMPARE(f.calls().size(), 10);
        QSignalSpy restored(f.view(), &CHtmlContent::pageRestored);
        ::kill(static_cast<pid_t>(f.view()->page()->renderProcessPid()), SIGKILL);
        QVERIFY(restored.wait(20000));
        // The page loaded anew gets the game's commitment, the ticket, the last game's seal and
        // the prize board back as well.
        QCOMPARE(f.seen(),
                 (QStringList{QStringLiteral("reset [75,0,0,\"0123456789abcdef\"]"),
                              QStringLiteral("updateMainScreen [7,1,2]"),
                              QStringLiteral("updateMainScreen [9,2,2]"),
                              QStringLiteral("showTicket [\"9\",\"2\",0,12]"),
                              QStringLiteral("showSeal [\"1a2b3c4d5e6f7a8b\"]"), BoardSeen(4)}));
    }

    // The desktop closing the players' window (a taskbar close, Alt+F4, the window manager)
    // is refused: the same window stays shown with its page and the game on it, and the
    // operator's own hide and the settings' mode 0 still work afterwards.
    void desktopCloseIsRefused_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("how");
        for (int mode : {1, 2}) {
            const QByteArray screen = mode == 1 ? "same screen" : "other screen";
            QTest::newRow(screen + ", close event") << mode << 0;
            QTest::newRow(screen + ", platform window closed") << mode << 1;
            QTest::newRow(screen + ", widget closed") << mode << 2;
        }
    }
    void desktopCloseIsRefused() {
        QFETCH(int, mode);
        QFETCH(int, how);
        Fixture f;
        f.dlg.SetHtmlFolder(PagesPath(QStringLiteral("en")));
        QVERIFY(f.open(mode, false));
        f.pages.PageReset(75, "");
        f.pages.PageUpdateMainScreen(7, 1, 1);
        f.pages.PageUpdateMainScreen(61, 2, 1);
        QPointer<QWidget> window = f.dlg.window();
        CHtmlContent* view = f.view();
        QVERIFY(window->isVisible());
        QVERIFY(RunScript(view->page(), QStringLiteral("window.seenBefore = 'yes'")).isValid());

        bool closed = true;
        if (how == 0) {
            QCloseEvent event;
            QCoreApplication::sendEvent(window, &event);
            closed = event.isAccepted();
        } else if (how == 1) {
            QVERIFY(window->windowHandle());
            closed = window->windowHandle()->close();
        } else {
            closed = window->close();
        }
        QCoreApplication::processEvents();
        QVERIFY(!closed);
        QVERIFY(window);
        QCOMPARE(f.dlg.window(), window.data());
        QVERIFY(window->isVisible());
        QVERIFY(f.dlg.created() && f.dlg.active());
        QCOMPARE(f.view(), view);
        QVERIFY(view->HasDocument() && view->isVisible());
        // The same document, not one loaded anew, and it shows the game and takes the next call.
        QCOMPARE(RunScript(view->page(), QStringLiteral("window.seenBefore")).toString(),
                 QStringLiteral("yes"));
        const QString lit = QStringLiteral(
            "Array.from(document.querySelectorAll('#board .cell.on')).map(function (c) "
            "{ return c.textContent; }).join(',')");
        QCOMPARE(RunScript(view->page(), lit).toString(), QStringLiteral("7,61"));
        f.pages.PageUpdateMainScreen(3, 3, 1);
        QCOMPARE(RunScript(view->page(), lit).toString(), QStringLiteral("3,7,61"));

        f.dlg.HideWindow();
        QVERIFY(!window->isVisible());
        QVERIFY(!f.open(mode, false));
        QVERIFY(window->isVisible());
        f.dlg.Close();
        QVERIFY(!f.dlg.created());
        QTRY_VERIFY(window.isNull());
    }

    void windowEndsWithThisObject() {
        QWidget owner;
        QPointer<QWidget> window;
        {
            Settings settings{Settings::NoLoad{}};
            PageFanOut pages;
            PublicScreenDlg dlg(settings, pages, &owner);
            dlg.SetHtmlFolder(TestDataPath(QStringLiteral("recorder")));
            QVERIFY(dlg.Open(1, false));
            window = dlg.window();
        }
        QVERIFY(window.isNull());
    }

    void windowEndsWithItsOwner() {
        Settings settings{Settings::NoLoad{}};
        auto owner = std::make_unique<QWidget>();
        PageFanOut pages;
        PublicScreenDlg dlg(settings, pages, owner.get());
        dlg.SetHtmlFolder(TestDataPath(QStringLiteral("recorder")));
        QVERIFY(dlg.Open(1, false));
        QPointer<QWidget> window = dlg.window();
        owner.reset();
        QVERIFY(window.isNull());
        QVERIFY(!dlg.created());
        dlg.PageReset(75, ""); // no window, no call
    }
};

std::unique_ptr<QObject> MakeTestPublicScreenDlg() {
    return std::make_unique<TestPublicScreenDlg>();
}

} // namespace zorvi::test

#include "TestPublicScreenDlg.moc"
