#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>

#include "PageScriptBridge.h"
#include "TestSupport.h"

namespace zorvi::test {

// Our own pages in html/fi, html/se and html/en, driven through the bridge and read back
// from their document.
class TestPublicScreenPages : public QObject {
    Q_OBJECT

private:
    struct Page {
        CHtmlContent view;
        explicit Page(const QString& lang, QSize size = QSize(1280, 1024)) {
            view.resize(size);
            view.LoadFile(PagesPath(lang + QStringLiteral("/public_screen.htm")));
        }
        void call(const QString& name, const QJsonArray& args) {
            QString error;
            const bool ok = CallScript(&view, name, args, error);
            QVERIFY2(ok, qPrintable(name + QStringLiteral(": ") + error));
        }
        QString text(const QString& selector) {
            return RunScript(
                       view.page(),
                       QStringLiteral("document.querySelector('%1').textContent").arg(selector))
                .toString();
        }
        int count(const QString& selector) {
            return RunScript(view.page(),
                             QStringLiteral("document.querySelectorAll('%1').length").arg(selector))
                .toInt();
        }
        bool shown(const QString& id) {
            return !RunScript(view.page(),
                              QStringLiteral("document.getElementById('%1').hidden").arg(id))
                        .toBool();
        }
        bool has(const QString& selector, const QString& cls) {
            return RunScript(view.page(),
                             QStringLiteral("document.querySelector('%1').classList.contains('%2')")
                                 .arg(selector, cls))
                .toBool();
        }
    };

    static QString Ticket75(QString* marks) {
        QStringList numbers;
        QStringList m;
        for (int i = 0; i < 25; ++i) {
            numbers << QString::number((i % 5) * 15 + i / 5 + 1);
            m << QString::number(i == 12 ? 2 : (i / 5 == 2 ? 1 : 0));
        }
        *marks = m.join(QLatin1Char(','));
        return numbers.join(QLatin1Char(','));
    }

    static QString Ticket90(QString* marks) {
        QStringList numbers;
        QStringList m;
        for (int i = 0; i < 27; ++i) {
            const bool blank = (i + i / 9) % 2 == 1;
            numbers << QString::number(blank ? 0 : (i % 9) * 10 + i / 9 + 1);
            m << QString::number(blank ? 0 : (i == 0 ? 2 : i < 9 ? 1 : 0));
        }
        *marks = m.join(QLatin1Char(','));
        return numbers.join(QLatin1Char(','));
    }

private slots:
    void languages_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("rowText");
        QTest::addColumn<QString>("wrong");
        QTest::addColumn<QString>("name5");
        QTest::addColumn<QString>("name88");
        QTest::addColumn<QString>("seal");
        QTest::addColumn<QString>("recall");
        QTest::addColumn<QString>("prizeStage"); // the prize board's stage and pattern name
        QTest::newRow("fi") << "fi"
                            << "Rivi 2"
                            << "Väärin!"
                            << "Bertta"
                            << "Sakari"
                            << "Edellisen pelin sinetti: 1a2b3c4d5e6f7a8b"
                            << "70 peruttu"
                            << "Vaihe 1/2: Rivi";
        QTest::newRow("se") << "se"
                            << "Rad 2"
                            << "Fel!"
                            << "Bertil"
                            << "Sven"
                            << "Föregående spelets sigill: 1a2b3c4d5e6f7a8b"
                            << "70 återkallad"
                            << "Del 1 av 2: Rad";
        QTest::newRow("en") << "en"
                            << "Row 2"
                            << "Wrong!"
                            << "B"
                            << "S"
                            << "Seal of the last game: 1a2b3c4d5e6f7a8b"
                            << "70 withdrawn"
                            << "Stage 1 of 2: Line";
    }
    void languages() {
        QFETCH(QString, lang);
        QFETCH(QString, rowText);
        QFETCH(QString, wrong);
        QFETCH(QString, name5);
        QFETCH(QString, name88);
        QFETCH(QString, seal);
        QFETCH(QString, recall);
        QFETCH(QString, prizeStage);
        Page page(lang);
        QVERIFY(WaitForDocument(&page.view));

        // Only the three functions are global, and the optional join code, seal, recall and
        // prize board.
        const QJsonArray globals =
            RunScriptJson(page.view.page(),
                          QStringLiteral("Object.getOwnPropertyNames(window).filter(function(k){"
                                         "try{return typeof window[k]==='function'&&"
                                         "!/\\[native code\\]/.test(Function.prototype.toString."
                                         "call(window[k]));}catch(e){return false;}}).sort()"))
                .array();
        QCOMPARE(globals,
                 (QJsonArray{QStringLiteral("reset"), QStringLiteral("showJoinCode"),
                             QStringLiteral("showPrizeBoard"), QStringLiteral("showRecall"),
                             QStringLiteral("showSeal"), QStringLiteral("showTicket"),
                             QStringLiteral("updateMainScreen")}));
        // Loaded from a file, the page never shows the lost connection of a served page.
        QVERIFY(
            RunScript(page.view.page(), QStringLiteral("document.getElementById('offline').hidden"))
                .toBool());

        page.call(QStringLiteral("reset"), {75, 0, 1});
        QCOMPARE(page.count(QStringLiteral("#board .cell")), 75);
        QCOMPARE(page.text(QStringLiteral("#number")), QStringLiteral("\u2013"));
        QCOMPARE(page.count(QStringLiteral("#board .cell.on")), 0);

        page.call(QStringLiteral("updateMainScreen"), {-1, 0, 2});
        QCOMPARE(page.text(QStringLiteral("#row")), rowText);
        QCOMPARE(page.text(QStringLiteral("#number")), QStringLiteral("\u2013"));

        page.call(QStringLiteral("updateMainScreen"), {12, 1, 2});
        page.call(QStringLiteral("updateMainScreen"), {5, 2, 2});
        QCOMPARE(page.text(QStringLiteral("#number")), QStringLiteral("5"));
        QCOMPARE(page.text(QStringLiteral("#letter")), name5);
        QCOMPARE(page.text(QStringLiteral("#count")), QStringLiteral("2"));
        QCOMPARE(page.text(QStringLiteral("#row")), rowText);
        QCOMPARE(page.count(QStringLiteral("#board .cell.on")), 2);
        QCOMPARE(page.count(QStringLiteral("#board .cell.latest")), 1);
        QCOMPARE(page.text(QStringLiteral("#board .cell.latest")), QStringLiteral("5"));
        QCOMPARE(page.text(QStringLiteral("#prevballs .mini")), QStringLiteral("12"));

        // A winning coupon, then a losing one.
        QString marks;
        const QString numbers = Ticket75(&marks);
        page.call(QStringLiteral("showTicket"), {numbers, marks, 1, 17});
        QVERIFY(page.has(QStringLiteral("#ticket"), QStringLiteral("shown")));
        QCOMPARE(page.text(QStringLiteral("#verdict")), QStringLiteral("BINGO!"));
        QVERIFY(page.text(QStringLiteral("#coupon")).endsWith(QStringLiteral(" 17")));
        QCOMPARE(page.count(QStringLiteral("#tgrid .tcell")), 25);
        QCOMPARE(page.count(QStringLiteral("#tgrid .tcell.m1")), 4);
        QCOMPARE(page.count(QStringLiteral("#tgrid .tcell.m2")), 1);
        page.call(QStringLiteral("showTicket"), {numbers, marks, 0, 18});
        QCOMPARE(page.text(QStringLiteral("#verdict")), wrong);
        QVERIFY(page.text(QStringLiteral("#coupon")).endsWith(QStringLiteral(" 18")));

        // A row change keeps the coupon up; the next draw clears it.
        page.call(QStringLiteral("updateMainScreen"), {5, 2, 3});
        QVERIFY(page.has(QStringLiteral("#ticket"), QStringLiteral("shown")));
        page.call(QStringLiteral("updateMainScreen"), {70, 3, 3});
        QVERIFY(!page.has(QStringLiteral("#ticket"), QStringLiteral("shown")));
        // A cancelled number leaves the board; a ball of the hall's machine withdrawn is told
        // first.
        QVERIFY(!page.shown(QStringLiteral("recall")));
        page.call(QStringLiteral("showRecall"), {70});
        page.call(QStringLiteral("updateMainScreen"), {5, 2, 3});
        QCOMPARE(page.count(QStringLiteral("#board .cell.on")), 2);
        QCOMPARE(page.text(QStringLiteral("#board .cell.latest")), QStringLiteral("5"));
        QVERIFY(page.shown(QStringLiteral("recall")));
        QCOMPARE(page.text(QStringLiteral("#recall")), recall);

        // The game ends with its seal, shown over the next game.
        page.call(QStringLiteral("showSeal"), {QStringLiteral("1a2b3c4d5e6f7a8b")});
        QCOMPARE(page.text(QStringLiteral("#seal")), seal);

        // The programme's prize board, its pattern's name in the page's language; a new game
        // keeps it, game 0 takes it off.
        const QJsonObject texts{{"fi", "Rivi"}, {"sv", "Rad"}, {"en", "Line"}};
        page.call(
            QStringLiteral("showPrizeBoard"),
            {QJsonObject{{"game", 3},
                         {"games", 12},
                         {"name", "<b>Spring</b>"},
                         {"stage", 1},
                         {"stages", 2},
                         {"pattern",
                          QJsonObject{{"name", texts}, {"squares", 25}, {"masks", QJsonArray{31}}}},
                         {"prize", "20"}}});
        QVERIFY(page.shown(QStringLiteral("prize")));
        QVERIFY(
            page.text(QStringLiteral("#prize-title")).endsWith(QStringLiteral("<b>Spring</b>")));
        QCOMPARE(page.text(QStringLiteral("#prize-stage")), prizeStage);
        QCOMPARE(page.count(QStringLiteral("#prize-pattern i.on")), 5);

        // 90 numbers: a bigger board and a 3 x 9 coupon. The new game takes the notice away.
        page.call(QStringLiteral("reset"), {90, 0, 0});
        QCOMPARE(page.text(QStringLiteral("#seal")), seal);
        QVERIFY(!page.shown(QStringLiteral("recall")));
        QCOMPARE(page.text(QStringLiteral("#recall")), QString());
        QCOMPARE(page.count(QStringLiteral("#board .cell")), 90);
        QCOMPARE(page.count(QStringLiteral("#board .cell.on")), 0);
        QCOMPARE(page.text(QStringLiteral("#count")), QStringLiteral("0"));
        QVERIFY(!page.has(QStringLiteral("#ticket"), QStringLiteral("shown")));
        page.call(QStringLiteral("updateMainScreen"), {88, 1, 1});
        QCOMPARE(page.text(QStringLiteral("#letter")), name88);
        QString marks90;
        const QString numbers90 = Ticket90(&marks90);
        page.call(QStringLiteral("showTicket"), {numbers90, marks90, 1, 123456});
        QCOMPARE(page.count(QStringLiteral("#tgrid .tcell")), 27);
        QCOMPARE(page.count(QStringLiteral("#tgrid .tcell.blank")), 12);
        QCOMPARE(page.text(QStringLiteral("#verdict")), QStringLiteral("BINGO!"));
        QVERIFY(page.text(QStringLiteral("#coupon")).endsWith(QStringLiteral(" 123456")));
        QCOMPARE(page.text(QStringLiteral("#prize-stage")), prizeStage);
        page.call(QStringLiteral("showPrizeBoard"), {QJsonObject{{"game", 0}}});
        QVERIFY(!page.shown(QStringLiteral("prize")));
    }

    void hostileTicketTextStaysText() {
        Page page(QStringLiteral("en"));
        QVERIFY(WaitForDocument(&page.view));
        page.call(QStringLiteral("reset"), {75, 0, 1});
        page.call(
            QStringLiteral("showTicket"),
            {QStringLiteral("<img src=x onerror=window.hit=1>,2"), QStringLiteral("x,y"), 7, -5});
        QCOMPARE(page.count(QStringLiteral("#tgrid img")), 0);
        QCOMPARE(page.count(QStringLiteral("#tgrid .tcell")), 25);
        QCOMPARE(page.text(QStringLiteral("#verdict")), QStringLiteral("Wrong!"));
        page.call(QStringLiteral("updateMainScreen"), {500, -3, 1});
        QCOMPARE(page.text(QStringLiteral("#number")), QStringLiteral("\u2013"));
        QCOMPARE(page.text(QStringLiteral("#count")), QStringLiteral("0"));
    }

    // The fourth argument of reset: the commitment's first digits, shown small; without it (a
    // caller of three arguments) or with anything that is not hex, no stray text appears. The
    // last game's seal alike, beside it: a reset keeps it, an empty one hides it.
    void commitmentAndSealShownSmall() {
        Page page(QStringLiteral("en"));
        QVERIFY(WaitForDocument(&page.view));
        page.call(QStringLiteral("reset"), {75, 0, 1, QStringLiteral("e1fe467e7c3680e8")});
        QCOMPARE(page.text(QStringLiteral("#commitment")),
                 QStringLiteral("Commitment e1fe467e7c3680e8"));
        page.call(QStringLiteral("reset"), {90, 0, 1});
        QCOMPARE(page.text(QStringLiteral("#commitment")), QString());
        QCOMPARE(page.count(QStringLiteral("#board .cell")), 90);
        page.call(QStringLiteral("reset"),
                  {75, 0, 1, QStringLiteral("<b>zz</b>0123456789abcdef99")});
        QCOMPARE(page.text(QStringLiteral("#commitment")),
                 QStringLiteral("Commitment bb0123456789abcd"));
        QCOMPARE(page.count(QStringLiteral("#commitment b")), 0);

        QCOMPARE(page.text(QStringLiteral("#seal")), QString());
        page.call(QStringLiteral("showSeal"), {QStringLiteral("1A2B3C4D5E6F7A8B")});
        QCOMPARE(page.text(QStringLiteral("#seal")),
                 QStringLiteral("Seal of the last game: 1a2b3c4d5e6f7a8b"));
        page.call(QStringLiteral("reset"), {75, 0, 1, QStringLiteral("e1fe467e7c3680e8")});
        QCOMPARE(page.text(QStringLiteral("#seal")),
                 QStringLiteral("Seal of the last game: 1a2b3c4d5e6f7a8b"));
        page.call(QStringLiteral("showSeal"), {QStringLiteral("<b>zz</b>0123456789abcdef99")});
        QCOMPARE(page.text(QStringLiteral("#seal")),
                 QStringLiteral("Seal of the last game: bb0123456789abcd"));
        QCOMPARE(page.count(QStringLiteral("#seal b")), 0);
        page.call(QStringLiteral("showSeal"), {42});
        QCOMPARE(page.text(QStringLiteral("#seal")), QString());
        page.call(QStringLiteral("showSeal"), {QStringLiteral("1a2b3c4d5e6f7a8b")});
        page.call(QStringLiteral("showSeal"), {QString()});
        QCOMPARE(page.text(QStringLiteral("#seal")), QString());
        QCOMPARE(page.text(QStringLiteral("#commitment")),
                 QStringLiteral("Commitment e1fe467e7c3680e8"));
    }

    // A withdrawn ball is told for a while (shortened here), then goes by itself and leaves
    // the page exactly as it was; a second recall shows its ball for the whole time again, also
    // when the first was told longer. Anything that is not a ball shows nothing.
    void recallGoesByItself() {
        Page page(QStringLiteral("en"));
        QVERIFY(WaitForDocument(&page.view));
        page.call(QStringLiteral("reset"), {75, 0, 1});
        page.call(QStringLiteral("updateMainScreen"), {7, 1, 1});
        const auto document = [&] {
            return RunScript(page.view.page(), QStringLiteral("document.body.innerHTML"))
                .toString();
        };
        const QString before = document();
        for (const QJsonValue& notABall :
             {QJsonValue(0), QJsonValue(91), QJsonValue(-23), QJsonValue(2.5),
              QJsonValue(QStringLiteral("23")), QJsonValue(QStringLiteral("<b>23</b>")),
              QJsonValue(), QJsonValue(QJsonArray{23})})
            page.call(QStringLiteral("showRecall"), {notABall, 60000});
        QCOMPARE(document(), before);

        page.call(QStringLiteral("showRecall"), {23, 60000});
        QVERIFY(page.shown(QStringLiteral("recall")));
        QCOMPARE(page.text(QStringLiteral("#recall")), QStringLiteral("23 withdrawn"));
        page.call(QStringLiteral("showRecall"), {41, 50});
        QTRY_VERIFY(!page.shown(QStringLiteral("recall")));
        QCOMPARE(document(), before);

        // A short first time does not cut the second one short.
        page.call(QStringLiteral("showRecall"), {23, 50});
        page.call(QStringLiteral("showRecall"), {41, 60000});
        QTest::qWait(300);
        QVERIFY(page.shown(QStringLiteral("recall")));
        QCOMPARE(page.text(QStringLiteral("#recall")), QStringLiteral("41 withdrawn"));
        page.call(QStringLiteral("reset"), {75, 0, 1});
        page.call(QStringLiteral("updateMainScreen"), {7, 1, 1});
        QCOMPARE(document(), before);
    }

    void animationOffStillsThePage() {
        Page page(QStringLiteral("fi"));
        QVERIFY(WaitForDocument(&page.view));
        page.call(QStringLiteral("reset"), {75, 0, 1});
        QVERIFY(page.has(QStringLiteral("body"), QStringLiteral("still")));
        page.call(QStringLiteral("updateMainScreen"), {3, 1, 1});
        QVERIFY(!page.has(QStringLiteral("#ball"), QStringLiteral("fresh")));
        QString marks;
        page.call(QStringLiteral("showTicket"), {Ticket75(&marks), marks, 1, 1});
        QCOMPARE(page.count(QStringLiteral("#confetti .bit")), 0);

        page.call(QStringLiteral("reset"), {75, 0, 0});
        QVERIFY(!page.has(QStringLiteral("body"), QStringLiteral("still")));
        page.call(QStringLiteral("updateMainScreen"), {3, 1, 1});
        QVERIFY(page.has(QStringLiteral("#ball"), QStringLiteral("fresh")));
        page.call(QStringLiteral("showTicket"), {Ticket75(&marks), marks, 1, 1});
        QVERIFY(page.count(QStringLiteral("#confetti .bit")) > 0);
    }

    // The join code: a QR of the hall server's address with the address under it; anything that
    // is not a whole code hides it, and no text becomes markup.
    void joinCode_data() {
        QTest::addColumn<QJsonValue>("url");
        QTest::addColumn<QJsonValue>("size");
        QTest::addColumn<QJsonValue>("modules");
        QTest::addColumn<bool>("shown");
        const QString code21 =
            QString(21 * 21, QLatin1Char('0')).replace(0, 1, QStringLiteral("1"));
        QTest::newRow("code") << QJsonValue(QStringLiteral("http://192.168.1.10:8765/"))
                              << QJsonValue(21) << QJsonValue(code21) << true;
        QTest::newRow("hide") << QJsonValue(QString()) << QJsonValue(0) << QJsonValue(QString())
                              << false;
        QTest::newRow("short modules") << QJsonValue(QStringLiteral("http://a/")) << QJsonValue(21)
                                       << QJsonValue(code21.left(440)) << false;
        QTest::newRow("stray character")
            << QJsonValue(QStringLiteral("http://a/")) << QJsonValue(21)
            << QJsonValue(QString(code21).replace(5, 1, QStringLiteral("2"))) << false;
        QTest::newRow("size not a whole number") << QJsonValue(QStringLiteral("http://a/"))
                                                 << QJsonValue(20.5) << QJsonValue(code21) << false;
        QTest::newRow("size too big") << QJsonValue(QStringLiteral("http://a/"))
                                      << QJsonValue(1000000) << QJsonValue(QString()) << false;
        QTest::newRow("url not text") << QJsonValue(QJsonObject{{QStringLiteral("x"), 1}})
                                      << QJsonValue(21) << QJsonValue(code21) << false;
        QTest::newRow("markup in url")
            << QJsonValue(QStringLiteral("http://<img src=x onerror=window.hit=1>/"))
            << QJsonValue(21) << QJsonValue(code21) << true;
    }
    void joinCode() {
        QFETCH(QJsonValue, url);
        QFETCH(QJsonValue, size);
        QFETCH(QJsonValue, modules);
        QFETCH(bool, shown);
        Page page(QStringLiteral("en"));
        QVERIFY(WaitForDocument(&page.view));
        // Shown first, so that a bad code visibly hides the one before it.
        const QString good = QString(21 * 21, QLatin1Char('1'));
        page.call(QStringLiteral("showJoinCode"),
                  {QStringLiteral("http://10.0.0.1:8765/"), 21, good});
        QVERIFY(!RunScript(page.view.page(),
                           QStringLiteral("document.getElementById('joincode').hidden"))
                     .toBool());
        page.call(QStringLiteral("showJoinCode"), {url, size, modules});
        QCOMPARE(RunScript(page.view.page(),
                           QStringLiteral("document.getElementById('joincode').hidden"))
                     .toBool(),
                 !shown);
        QCOMPARE(page.count(QStringLiteral("#joincode img")), 0);
        QVERIFY(!RunScript(page.view.page(), QStringLiteral("!!window.hit")).toBool());
        if (shown) {
            QCOMPARE(page.text(QStringLiteral("#joinurl")),
                     url.toString().remove(QStringLiteral("http://")).chopped(1));
            // One dark module: one square in the drawing.
            QCOMPARE(
                RunScript(page.view.page(), QStringLiteral("document.querySelector('#joinqr path')"
                                                           ".getAttribute('d')"))
                    .toString(),
                QStringLiteral("M2 2h1v1h-1z"));
        } else {
            QCOMPARE(page.text(QStringLiteral("#joinurl")), QString());
            QCOMPARE(page.count(QStringLiteral("#joinqr path")), 0);
        }
    }

    // A new number is whole in the first frame that shows it: the ball opaque and upright and
    // the board cells in their final colours, not fading or rolling in. Nothing animates for
    // ever either, so between draws the page gives the program no frames to render.
    void newNumberIsWholeAtOnce_data() {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("75") << 75 << 3 << 64;
        QTest::newRow("90") << 90 << 88 << 17;
    }
    void newNumberIsWholeAtOnce() {
        QFETCH(int, total);
        QFETCH(int, first);
        QFETCH(int, second);
        Page page(QStringLiteral("en"));
        QVERIFY(WaitForDocument(&page.view));
        page.call(QStringLiteral("reset"), {total, 0, 0});
        // The call and the look in one script: what the first frame after the call shows, then
        // the same once every running animation has ended.
        const auto drawAndLook = [&](int number, int count) {
            return RunScript(
                       page.view.page(),
                       QStringLiteral(
                           "(function () {"
                           "  window.updateMainScreen(%1, %2, 1);"
                           "  var ball = document.getElementById('ball');"
                           "  var cells = document.querySelectorAll('#board .cell.on');"
                           "  function look() {"
                           "    var s = getComputedStyle(ball);"
                           "    var colours = Array.prototype.map.call(cells, function (c) {"
                           "      return c.textContent + ':' + getComputedStyle(c).backgroundColor;"
                           "    });"
                           "    return { opacity: s.opacity, transform: s.transform,"
                           "             colours: colours.join(' ') };"
                           "  }"
                           "  var endless = function () {"
                           "    return document.getAnimations().filter(function (a) {"
                           "      return a.effect.getComputedTiming().iterations === Infinity;"
                           "    }).length;"
                           "  };"
                           "  var now = look();"
                           "  var forever = endless();"
                           "  document.getAnimations().forEach(function (a) {"
                           "    if (a.effect.getComputedTiming().iterations !== Infinity)"
                           "      a.finish();"
                           "  });"
                           "  var settled = look();"
                           "  return JSON.stringify({ now: now, settled: settled,"
                           "                          endless: forever,"
                           "                          number: document.getElementById('number')"
                           "                                    .textContent });"
                           "})()")
                           .arg(number)
                           .arg(count))
                .toString();
        };
        for (const auto& [number, count] : {std::pair{first, 1}, std::pair{second, 2}}) {
            const QJsonObject seen =
                QJsonDocument::fromJson(drawAndLook(number, count).toUtf8()).object();
            QCOMPARE(seen[QStringLiteral("number")].toString(), QString::number(number));
            const QJsonObject now = seen[QStringLiteral("now")].toObject();
            const QJsonObject settled = seen[QStringLiteral("settled")].toObject();
            QCOMPARE(now[QStringLiteral("opacity")].toString(), QStringLiteral("1"));
            // Upright and at least full size: a plain scale or none at all.
            const QString transform = now[QStringLiteral("transform")].toString();
            if (transform != QStringLiteral("none")) {
                const QStringList m = transform.mid(7, transform.size() - 8).split(',');
                QCOMPARE(m.size(), 6);
                QCOMPARE(m[1].trimmed().toDouble(), 0.0);
                QVERIFY2(m[0].toDouble() >= 1.0 && m[0].toDouble() < 1.2, qPrintable(transform));
            }
            QCOMPARE(now[QStringLiteral("colours")].toString(),
                     settled[QStringLiteral("colours")].toString());
            QCOMPARE(seen[QStringLiteral("endless")].toInt(), 0);
        }
        QString marks;
        page.call(QStringLiteral("showTicket"), {Ticket75(&marks), marks, 1, 1});
        QCOMPARE(RunScript(page.view.page(),
                           QStringLiteral("document.getAnimations().filter(function (a) {"
                                          "  return a.effect.getComputedTiming().iterations"
                                          "    === Infinity; }).length"))
                     .toInt(),
                 0);
    }

    // Saves pictures of the page in its main states when ZORVI_SCREENSHOTS names a folder.
    void screenshots() {
        const QString folder = qEnvironmentVariable("ZORVI_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("set ZORVI_SCREENSHOTS to a folder to save screenshots");
        QDir().mkpath(folder);
        const QList<QSize> sizes{QSize(1920, 1080), QSize(1280, 1024), QSize(600, 800)};
        const QStringList langs = qEnvironmentVariable("ZORVI_SCREENSHOT_LANGS", "fi")
                                      .split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString& lang : langs) {
            for (const QSize& size : sizes) {
                const QString base = QStringLiteral("%1/%2-%3x%4-")
                                         .arg(folder, lang)
                                         .arg(size.width())
                                         .arg(size.height());
                Page page(lang, size);
                page.view.show();
                QVERIFY(WaitForDocument(&page.view));
                auto shoot = [&](const QString& state) {
                    QTest::qWait(400);
                    QVERIFY(page.view.grab().save(base + state + QStringLiteral(".png")));
                };
                page.call(QStringLiteral("reset"), {75, 0, 1});
                shoot(QStringLiteral("new-game"));
                const int drawn[] = {12, 33, 41, 58, 61, 7, 29, 44, 70, 2, 19, 53};
                for (int i = 0; i < 12; ++i)
                    page.call(QStringLiteral("updateMainScreen"), {drawn[i], i + 1, 2});
                shoot(QStringLiteral("draw-75"));
                QString marks;
                page.call(QStringLiteral("showTicket"), {Ticket75(&marks), marks, 1, 17});
                shoot(QStringLiteral("bingo-75"));
                // The next game, under the seal of this one.
                page.call(QStringLiteral("showSeal"), {QStringLiteral("1a2b3c4d5e6f7a8b")});
                page.call(QStringLiteral("reset"), {90, 0, 1, QStringLiteral("e1fe467e7c3680e8")});
                const int drawn90[] = {88, 4, 17, 26, 35, 47, 59, 62, 73, 81, 90, 11, 24, 66};
                for (int i = 0; i < 14; ++i)
                    page.call(QStringLiteral("updateMainScreen"), {drawn90[i], i + 1, 1});
                shoot(QStringLiteral("draw-90"));
                QString marks90;
                page.call(QStringLiteral("showTicket"), {Ticket90(&marks90), marks90, 0, 4021});
                shoot(QStringLiteral("wrong-90"));
            }
        }
    }
};

std::unique_ptr<QObject> MakeTestPublicScreenPages() {
    return std::make_unique<TestPublicScreenPages>();
}

} // namespace zorvi::test

#include "TestPublicScreenPages.moc"
