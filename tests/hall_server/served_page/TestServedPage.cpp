#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "BingoHelpers.h"
#include "DrawSource.h"
#include "GameCommands.h"
#include "HallServer.h"
#include "HallService.h"
#include "HeadlessChromium.h"
#include "JoinCode.h"
#include "LogSink.h"
#include "NullWindow.h"
#include "PageFanOut.h"
#include "PageFeedServer.h"
#include "PrizeBoardJson.h"
#include "ProgramState.h"
#include "Settings.h"

namespace zorvi::test {

namespace {

QJsonArray Call(const QString& name, const QJsonArray& args) {
    QJsonArray call{name};
    for (const QJsonValue& a : args)
        call.append(a);
    return call;
}

// A batch of calls. (Braces around one QJsonArray would copy it rather than nest it.)
QJsonArray Batch(std::initializer_list<QJsonArray> calls) {
    QJsonArray batch;
    for (const QJsonArray& c : calls)
        batch.append(c);
    return batch;
}

QJsonArray Reset(int count, int animationOff = 1, const QString& commitment = QString()) {
    return Call(QStringLiteral("reset"), {count, 0, animationOff, commitment});
}

QJsonArray Update(int current, int count, int row) {
    return Call(QStringLiteral("updateMainScreen"), {current, count, row});
}

// A 75-number coupon whose middle row is drawn.
QJsonArray Ticket(bool winner, int coupon) {
    QStringList numbers;
    QStringList marks;
    for (int i = 0; i < 25; ++i) {
        numbers << QString::number((i % 5) * 15 + i / 5 + 1);
        marks << QString::number(i / 5 == 2 ? 1 : 0);
    }
    return Call(
        QStringLiteral("showTicket"),
        {numbers.join(QLatin1Char(',')), marks.join(QLatin1Char(',')), winner ? 1 : 0, coupon});
}

QJsonArray Seal(const QString& digits) {
    return Call(QStringLiteral("showSeal"), {digits});
}

// A withdrawn ball, told for `shownMs` (the page's own time when 0).
QJsonArray Recall(int ball, int shownMs = 0) {
    return shownMs > 0 ? Call(QStringLiteral("showRecall"), {ball, shownMs})
                       : Call(QStringLiteral("showRecall"), {ball});
}

// The catch-up of a game in progress: reset, every number in order, the last ticket, the seal
// of the game before.
QJsonArray CatchUp(int numberCount, const QList<int>& drawn, int row, const QJsonArray& ticket = {},
                   const QString& seal = QString()) {
    QJsonArray calls = Batch({Reset(numberCount)});
    if (drawn.isEmpty())
        calls.append(Update(-1, 0, row));
    for (int i = 0; i < drawn.size(); ++i)
        calls.append(Update(drawn[i], i + 1, row));
    if (!ticket.isEmpty())
        calls.append(ticket);
    if (!seal.isEmpty())
        calls.append(Seal(seal));
    return calls;
}

// The board as the program sends it, through its own encoder.
QJsonObject BoardObject(const PagePrizeBoard& board) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(PrizeBoardJson(board))).object();
}
QJsonArray BoardCall(const PagePrizeBoard& board) {
    return Call(QStringLiteral("showPrizeBoard"), {BoardObject(board)});
}

const char* const kEuro = "\xE2\x82\xAC";

// Game 3 of 12 of a programme, at `stage` of 2 with its pattern, names in the three languages.
PagePrizeBoard StageBoard(int stage, PageTexts pattern, std::vector<std::uint32_t> masks,
                          int squares = 25) {
    PagePrizeBoard b;
    b.game = 3;
    b.games = 12;
    b.name = "Spring";
    b.stage = stage;
    b.stages = 2;
    b.pattern = PagePattern{std::move(pattern), squares, std::move(masks)};
    b.prize = std::string("20 ") + kEuro;
    return b;
}
const PageTexts kCorners{"Neljä kulmaa", "Fyra hörn", "Four corners"};
const PageTexts kAnyLine{"Mikä tahansa rivi", "Valfri rad", "Any line"};
// Bits 0, 4, 20 and 24: the corners of 5 x 5.
constexpr std::uint32_t kCornerMask = 0x1000000u | 0x100000u | 0x10u | 0x1u;

// The programme's next game but the jackpot's: between games, two to come.
PagePrizeBoard BetweenBoard() {
    PagePrizeBoard b = StageBoard(2, kAnyLine, {31});
    b.between = true;
    b.next = {PageNextGame{4,
                           "Evening",
                           {{"Rivi", "Rad", "Line"}, {"Täysi", "Full", "Full card"}},
                           std::string("50 ") + kEuro},
              PageNextGame{5, "Late", {}, ""}};
    return b;
}

// The squares of the drawn pattern, "1" lit, row by row.
const char* const kPatternShown =
    "Array.from(document.querySelectorAll('#prize-pattern i')).map(function(c){"
    "return c.classList.contains('on')?'1':'0';}).join('')";

QString MaskText(std::uint32_t mask, int squares = 25) {
    QString text;
    for (int i = 0; i < squares; ++i)
        text += mask & (1u << i) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

QJsonObject JoinFrame(const QString& url) {
    const auto code = JoinCode::Encode(url.toStdString());
    return {{QStringLiteral("url"), url},
            {QStringLiteral("size"), code ? code->size : 0},
            {QStringLiteral("modules"), QString::fromStdString(code ? code->modules : "")}};
}

// The picture with the 256 colours it uses most (averaged in 15-bit bins): a page of a few
// flat colours keeps its look in a fraction of the file.
QImage WithPalette(const QImage& image) {
    struct Bin {
        qint64 count = 0, r = 0, g = 0, b = 0;
    };
    std::vector<Bin> bins(32768);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            Bin& bin = bins[static_cast<std::size_t>(((qRed(c) >> 3) << 10) |
                                                     ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3))];
            ++bin.count;
            bin.r += qRed(c);
            bin.g += qGreen(c);
            bin.b += qBlue(c);
        }
    }
    std::sort(bins.begin(), bins.end(),
              [](const Bin& a, const Bin& b) { return a.count > b.count; });
    QList<QRgb> table;
    for (const Bin& bin : bins) {
        if (bin.count == 0 || table.size() == 256)
            break;
        table << qRgb(int(bin.r / bin.count), int(bin.g / bin.count), int(bin.b / bin.count));
    }
    return image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
}

QString Quoted(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact))
        .chopped(1)
        .mid(1);
}

} // namespace

// The page as the hall's browsers get it: Debian's chromium, headless, on 127.0.0.1, fed by a
// server the test controls.
class TestServedPage : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<HeadlessChromium> browser_;
    std::unique_ptr<PageFeedServer> server_;
    QList<double> lags_;

    HeadlessChromium& b() { return *browser_; }

    QString Text(const QString& selector) {
        return b()
            .Evaluate(
                QStringLiteral("document.querySelector(%1).textContent").arg(Quoted(selector)))
            .toString();
    }
    int Count(const QString& selector) {
        return b()
            .Evaluate(QStringLiteral("document.querySelectorAll(%1).length").arg(Quoted(selector)))
            .toInt();
    }
    bool Shown(const QString& id) {
        return b()
            .Evaluate(QStringLiteral("!document.getElementById(%1).hidden").arg(Quoted(id)))
            .toBool();
    }
    // Sends one batch and waits until the page shows its effect; keeps the page's own measure
    // of how long the batch took from the server to the page.
    bool SendAndWait(const QJsonArray& calls, const QString& shown) {
        b().Evaluate(QStringLiteral("document.documentElement.removeAttribute('data-lag-ms')"));
        server_->SendCalls(calls);
        if (!b().WaitFor(shown)) {
            qWarning() << "not shown:" << shown << "browsers" << server_->Browsers()
                       << b().Evaluate(QStringLiteral("document.body.innerText.slice(0,300)"));
            return false;
        }
        const QJsonValue lag = b().Evaluate(
            QStringLiteral("Number(document.documentElement.getAttribute('data-lag-ms'))"));
        if (lag.isDouble())
            lags_ << lag.toDouble();
        return true;
    }
    bool Open(const QString& path = QStringLiteral("/en/")) {
        return b().Navigate(server_->Url(path)) &&
               b().WaitFor(QStringLiteral("document.querySelectorAll('#board .cell').length > 0"));
    }

private:
    // The served page's folder: the page in English.
    static bool PageFolder(const QTemporaryDir& root) {
        return QDir(root.path()).mkpath(QStringLiteral("en")) &&
               QFile::copy(QStringLiteral(ZORVI_PAGE_FILE),
                           root.filePath(QStringLiteral("en/public_screen.htm")));
    }
    // A hall server on 127.0.0.1 at a free port, the page in English without animation.
    static Settings HallSettings() {
        Settings settings{Settings::NoLoad{}};
        settings.language = 2;
        settings.disable_animation = 1;
        settings.hall_server = 1;
        settings.hall_server_address = "127.0.0.1";
        settings.hall_server_port = 0;
        return settings;
    }

private slots:
    void initTestCase() {
        browser_ = std::make_unique<HeadlessChromium>();
        QString why;
        QVERIFY2(browser_->Start(&why), qPrintable(why));
    }

    void init() {
        server_ = std::make_unique<PageFeedServer>(QStringLiteral(ZORVI_PAGE_FILE));
        QVERIFY(server_->Start());
        QVERIFY(b().SetViewport(1280, 720, false));
    }

    void cleanup() {
        // A page left open would keep reconnecting to the next test's server on another port:
        // harmless, but about:blank keeps each test to itself.
        b().Navigate(QStringLiteral("about:blank"));
        server_.reset();
    }

    void cleanupTestCase() {
        browser_.reset();
        if (!lags_.isEmpty()) {
            std::sort(lags_.begin(), lags_.end());
            qInfo("server send to page applied: %lld batches, median %.0f ms, max %.0f ms",
                  static_cast<long long>(lags_.size()), lags_[lags_.size() / 2], lags_.last());
        }
    }

    // Each draw, row change, cancelled number, ticket and new game, as they happen.
    void showsEachCall() {
        server_->SetCatchUp(CatchUp(75, {}, 1));
        QVERIFY(Open());
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('count').textContent==='0'")));
        QCOMPARE(Text(QStringLiteral("#row")), QStringLiteral("Row 1"));
        QVERIFY(!Shown(QStringLiteral("offline")));

        QVERIFY(
            SendAndWait(Batch({Update(12, 1, 1)}),
                        QStringLiteral("document.getElementById('number').textContent==='12'")));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 1);
        QCOMPARE(Text(QStringLiteral("#board .cell.latest")), QStringLiteral("12"));
        QVERIFY(SendAndWait(Batch({Update(47, 2, 1)}),
                            QStringLiteral("document.getElementById('count').textContent==='2'")));
        QCOMPARE(Text(QStringLiteral("#number")), QStringLiteral("47"));
        QCOMPARE(Text(QStringLiteral("#prevballs .mini")), QStringLiteral("12"));

        // A row change.
        QVERIFY(
            SendAndWait(Batch({Update(47, 2, 2)}),
                        QStringLiteral("document.getElementById('row').textContent==='Row 2'")));
        // A checked coupon, winning, then losing.
        QVERIFY(SendAndWait(Batch({Ticket(true, 17)}),
                            QStringLiteral("document.getElementById('ticket').className"
                                           ".indexOf('win')>=0")));
        QCOMPARE(Text(QStringLiteral("#verdict")), QStringLiteral("BINGO!"));
        QVERIFY(Text(QStringLiteral("#coupon")).endsWith(QStringLiteral(" 17")));
        QCOMPARE(Count(QStringLiteral("#tgrid .tcell")), 25);
        QVERIFY(SendAndWait(Batch({Ticket(false, 18)}),
                            QStringLiteral("document.getElementById('verdict').textContent"
                                           "==='Wrong!'")));
        // A cancelled number: the board loses it. A ball of the hall's machine withdrawn is told
        // first, then goes by itself (here after a short while: a second recall starts the time
        // anew).
        QVERIFY(SendAndWait(Batch({Recall(47, 60000), Update(12, 1, 2)}),
                            QStringLiteral("document.getElementById('count').textContent==='1'")));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 1);
        QCOMPARE(Text(QStringLiteral("#number")), QStringLiteral("12"));
        QVERIFY(Shown(QStringLiteral("recall")));
        QCOMPARE(Text(QStringLiteral("#recall")), QStringLiteral("47 withdrawn"));
        QVERIFY(SendAndWait(Batch({Recall(47, 50)}),
                            QStringLiteral("document.getElementById('recall').hidden")));
        QCOMPARE(Text(QStringLiteral("#recall")), QString());

        // The game's seal, shown while the next game runs.
        QVERIFY(SendAndWait(Batch({Seal(QStringLiteral("1a2b3c4d5e6f7a8b"))}),
                            QStringLiteral("document.getElementById('seal').textContent!==''")));
        QCOMPARE(Text(QStringLiteral("#seal")),
                 QStringLiteral("Seal of the last game: 1a2b3c4d5e6f7a8b"));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 1);

        // A new game of 90 numbers, then its first draw, in one batch as the server may send.
        QVERIFY(SendAndWait(Batch({Reset(90), Update(-1, 0, 1), Update(88, 1, 1)}),
                            QStringLiteral("document.querySelectorAll('#board .cell').length===90"
                                           "&&document.getElementById('number').textContent"
                                           "==='88'")));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 1);
        QCOMPARE(Text(QStringLiteral("#row")), QStringLiteral("Row 1"));
        QCOMPARE(Text(QStringLiteral("#seal")),
                 QStringLiteral("Seal of the last game: 1a2b3c4d5e6f7a8b"));
        // An empty seal hides it.
        QVERIFY(SendAndWait(Batch({Seal(QString())}),
                            QStringLiteral("document.getElementById('seal').textContent===''")));
        QVERIFY(!Shown(QStringLiteral("offline")));
    }

    // A browser that joins mid-game sees the whole board, the last ticket, the last game's seal
    // and the join code.
    void joinsMidGame() {
        QList<int> drawn;
        for (int i = 0; i < 60; ++i)
            drawn << (i * 37) % 90 + 1;
        const QString address = QStringLiteral("http://192.168.1.10:8765/");
        server_->SetCatchUp(
            CatchUp(90, drawn, 3, Ticket(true, 4021), QStringLiteral("1a2b3c4d5e6f7a8b")));
        server_->SetJoin(JoinFrame(address));
        QVERIFY(Open(QStringLiteral("/fi/")));
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('count').textContent==='60'")));
        QCOMPARE(Count(QStringLiteral("#board .cell")), 90);
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 60);
        QCOMPARE(Text(QStringLiteral("#board .cell.latest")), QString::number(drawn.last()));
        QCOMPARE(Text(QStringLiteral("#number")), QString::number(drawn.last()));
        QCOMPARE(Text(QStringLiteral("#row")), QStringLiteral("Rivi 3"));
        QCOMPARE(Text(QStringLiteral("#verdict")), QStringLiteral("BINGO!"));
        QCOMPARE(Text(QStringLiteral("#seal")),
                 QStringLiteral("Edellisen pelin sinetti: 1a2b3c4d5e6f7a8b"));
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('joincode').hidden")));
        QCOMPARE(Text(QStringLiteral("#joinurl")), QStringLiteral("192.168.1.10:8765"));

        // The code on the screen reads back as the address, with a real QR reader.
        const QString zbar = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        if (!zbar.isEmpty()) {
            const QJsonValue rect = b().Evaluate(QStringLiteral(
                "(function(){var r=document.getElementById('joinqr').getBoundingClientRect();"
                "return {x:r.x,y:r.y,w:r.width,h:r.height};})()"));
            const QJsonObject shot =
                b().Command(QStringLiteral("Page.captureScreenshot"),
                            {{QStringLiteral("format"), "png"},
                             {QStringLiteral("clip"),
                              QJsonObject{{QStringLiteral("x"), rect[QStringLiteral("x")]},
                                          {QStringLiteral("y"), rect[QStringLiteral("y")]},
                                          {QStringLiteral("width"), rect[QStringLiteral("w")]},
                                          {QStringLiteral("height"), rect[QStringLiteral("h")]},
                                          {QStringLiteral("scale"), 3}}}});
            QTemporaryDir dir;
            const QString file = dir.filePath(QStringLiteral("join.png"));
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(QByteArray::fromBase64(
                shot[QStringLiteral("result")][QStringLiteral("data")].toString().toLatin1()));
            out.close();
            QProcess reader;
            reader.start(zbar, {QStringLiteral("--quiet"), QStringLiteral("--raw"), file});
            QVERIFY(reader.waitForFinished(20000));
            QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(), address);
        }

        // The server turned off: the code goes.
        server_->SendRaw(R"({"join":null})");
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('joincode').hidden")));
    }

    // The server goes away: "connection lost" in the page's language within a few seconds;
    // it comes back on the same port with the game moved on: the page reconnects by itself and
    // shows the whole game as it now stands, the seal of the game that ended meanwhile with it.
    void reconnectsAfterRestart_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("lost");
        QTest::addColumn<QString>("seal");
        QTest::addColumn<QString>("recall");
        QTest::newRow("fi") << "fi"
                            << "Yhteys katkesi"
                            << "Edellisen pelin sinetti: 0123456789abcdef"
                            << "7 peruttu";
        QTest::newRow("se") << "se"
                            << "Anslutningen bröts"
                            << "Föregående spelets sigill: 0123456789abcdef"
                            << "7 återkallad";
        QTest::newRow("en") << "en"
                            << "Connection lost"
                            << "Seal of the last game: 0123456789abcdef"
                            << "7 withdrawn";
    }
    void reconnectsAfterRestart() {
        QFETCH(QString, lang);
        QFETCH(QString, lost);
        QFETCH(QString, seal);
        QFETCH(QString, recall);
        server_->SetCatchUp(CatchUp(75, {5, 6, 7}, 1));
        QVERIFY(Open(QLatin1Char('/') + lang + QLatin1Char('/')));
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('count').textContent==='3'")));
        // A ball withdrawn, told in the page's language.
        QVERIFY(SendAndWait(Batch({Recall(7, 60000), Update(6, 2, 1)}),
                            QStringLiteral("document.getElementById('count').textContent==='2'")));
        QCOMPARE(Text(QStringLiteral("#recall")), recall);
        const quint16 port = server_->Port();

        QElapsedTimer silence;
        silence.start();
        server_->Stop();
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('offline').hidden"), 15000));
        // Not before the heartbeat has been missed for a while.
        QVERIFY2(silence.elapsed() >= 2400, qPrintable(QString::number(silence.elapsed())));
        QCOMPARE(Text(QStringLiteral("#offline-title")), lost);
        const QString shots = qEnvironmentVariable("ZORVI_SERVED_SHOTS");
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            QFile out(shots + QStringLiteral("/offline-") + lang + QStringLiteral(".png"));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(b().ScreenshotPng());
        }
        // What the page showed stays under the notice.
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 2);

        QCOMPARE(Text(QStringLiteral("#seal")), QString());
        server_->SetCatchUp(CatchUp(75, {5, 6, 7, 70, 71}, 2, Ticket(false, 9),
                                    QStringLiteral("0123456789abcdef")));
        QVERIFY(server_->Start(port));
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('offline').hidden"), 20000));
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('count').textContent==='5'")));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 5);
        QCOMPARE(Text(QStringLiteral("#number")), QStringLiteral("71"));
        QVERIFY(Text(QStringLiteral("#coupon")).endsWith(QStringLiteral(" 9")));
        QCOMPARE(Text(QStringLiteral("#seal")), seal);
        // The withdrawn ball was news then: the game brought back carries no notice (the ball
        // went back into the machine and came out again).
        QVERIFY(!Shown(QStringLiteral("recall")));
    }

    // A connection that stays open but says nothing (the server's machine left the network)
    // counts as lost too: the notice comes, the page opens a new connection, and the notice
    // goes when frames come again.
    void silentConnectionCountsAsLost() {
        server_->SetCatchUp(CatchUp(75, {1}, 1));
        QVERIFY(Open());
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('count').textContent==='1'")));
        const int connections = server_->Connections();
        server_->SetSilent(true);
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('offline').hidden"), 15000));
        QTRY_VERIFY_WITH_TIMEOUT(server_->Connections() > connections, 15000);
        server_->SetSilent(false);
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('offline').hidden"), 15000));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 1);
    }

    // Frames the page does not understand change nothing and do not stop the ones after them.
    void strangeFramesChangeNothing() {
        server_->SetCatchUp(CatchUp(75, {9, 10}, 1));
        QVERIFY(Open());
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('count').textContent==='2'")));
        const QByteArray frames[] = {
            "not json",
            "[]",
            "null",
            "42",
            R"({"calls":"updateMainScreen"})",
            R"({"calls":[["alert","x"],["eval","window.hit=1"],["__proto__"],[1,2,3],"reset",null]})",
            R"({"calls":[["showJoinCode","http://x/",21,"1"]]})",
            R"({"calls":[["updateMainScreen",{"a":1},[1],"x"]]})",
            R"({"calls":[["updateMainScreen",5,1]]})",
            R"({"calls":[["updateMainScreen",5,1,1,1]]})",
            R"({"calls":[["showTicket",1,2,1,1]]})",
            R"({"calls":[["reset","90",0,0]]})",
            R"({"calls":[["showSeal",5],["showSeal","1a2b","ff"],["showSeal"]]})",
            R"({"calls":[["showRecall","23"],["showRecall"],["showRecall",23,"soon"],)"
            R"(["showRecall",23,1,2],["showRecall",0],["showRecall",91],["showRecall",2.5]]})",
            R"({"join":{"url":"http://x/","size":"21","modules":"<img src=x onerror=window.hit=1>"}})",
            R"({"join":[]})",
            R"({"heartbeat":"soon"})",
            QByteArray(70000, ' ') + "{}",
        };
        for (const QByteArray& f : frames)
            server_->SendRaw(f);
        QVERIFY(SendAndWait(Batch({Update(11, 3, 1)}),
                            QStringLiteral("document.getElementById('count').textContent==='3'")));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 3);
        QVERIFY(!b().Evaluate(QStringLiteral("!!window.hit")).toBool());
        QCOMPARE(Count(QStringLiteral("#board .cell")), 75);
        QVERIFY(!Shown(QStringLiteral("joincode")));
        QCOMPARE(Text(QStringLiteral("#seal")), QString());
        QVERIFY(!Shown(QStringLiteral("recall")));
        QVERIFY(!b().Evaluate(QStringLiteral("document.getElementById('ticket').className"
                                             ".indexOf('shown')>=0"))
                     .toBool());
    }

    // The programme's prize board in the page's language: the game, its stage with the pattern
    // drawn (several masks shown in turn), the prize, the jackpot, the games to come between
    // games; a late joiner sees it from the catch-up, and game 0 takes it off.
    void showsThePrizeBoard_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("texts"); // title, stage 1, stage 2, jackpot, next, line
        QTest::newRow("en") << "en"
                            << QStringList{
                                   "Game 3 of 12 \u2014 Spring",
                                   "Stage 1 of 2: Four corners",
                                   "Stage 2 of 2: Any line",
                                   "Full card within 48: 500 \u20ac \u2014 12 called",
                                   "Next games",
                                   "4 \u00b7 Evening \u2014 Line, Full card \u2014 50 \u20ac"};
        QTest::newRow("fi") << "fi"
                            << QStringList{
                                   "Peli 3/12 \u2014 Spring",
                                   "Vaihe 1/2: Neljä kulmaa",
                                   "Vaihe 2/2: Mikä tahansa rivi",
                                   "Täysi kuponki 48 numerolla: 500 \u20ac \u2014 12 arvottu",
                                   "Seuraavat pelit",
                                   "4 \u00b7 Evening \u2014 Rivi, Täysi \u2014 50 \u20ac"};
        QTest::newRow("se") << "se"
                            << QStringList{"Spel 3 av 12 \u2014 Spring",
                                           "Del 1 av 2: Fyra hörn",
                                           "Del 2 av 2: Valfri rad",
                                           "Full bricka inom 48: 500 \u20ac \u2014 12 dragna",
                                           "Nästa spel",
                                           "4 \u00b7 Evening \u2014 Rad, Full \u2014 50 \u20ac"};
    }
    void showsThePrizeBoard() {
        QFETCH(QString, lang);
        QFETCH(QStringList, texts);
        QJsonArray catchUp = CatchUp(75, {5, 6}, 1);
        catchUp.append(BoardCall(StageBoard(1, kCorners, {kCornerMask})));
        server_->SetCatchUp(catchUp);
        QVERIFY(Open(QLatin1Char('/') + lang + QLatin1Char('/')));
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('prize').hidden")));
        QCOMPARE(Text(QStringLiteral("#prize-title")), texts[0]);
        QCOMPARE(Text(QStringLiteral("#prize-stage")), texts[1]);
        QCOMPARE(Text(QStringLiteral("#prize-amount")), QStringLiteral("20 \u20ac"));
        QCOMPARE(b().Evaluate(QLatin1String(kPatternShown)).toString(), MaskText(kCornerMask));
        QCOMPARE(Text(QStringLiteral("#prize-jackpot")), QString());

        // Any line: each of the five rows in turn, under a jackpot.
        PagePrizeBoard lines =
            StageBoard(2, kAnyLine, {31u, 31u << 5, 31u << 10, 31u << 15, 31u << 20});
        lines.jackpotWithin = 48;
        lines.jackpotPrize = std::string("500 ") + kEuro;
        lines.called = 12;
        QVERIFY(SendAndWait(Batch({BoardCall(lines)}),
                            QStringLiteral("document.getElementById('prize-stage').textContent"
                                           "===%1")
                                .arg(Quoted(texts[2]))));
        QCOMPARE(Text(QStringLiteral("#prize-jackpot")), texts[3]);
        for (const std::uint32_t mask : {31u << 5, 31u << 10}) {
            QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('prize-pattern')"
                                               ".getAttribute('data-mask')==='%1'&&%2==='%3'")
                                    .arg(mask)
                                    .arg(QLatin1String(kPatternShown), MaskText(mask))));
        }
        // A 90-number coupon's 3 x 5 squares.
        QVERIFY(SendAndWait(Batch({BoardCall(StageBoard(1, kCorners, {0x4011u}, 15))}),
                            QStringLiteral("document.querySelectorAll('#prize-pattern i')"
                                           ".length===15")));
        QCOMPARE(b().Evaluate(QLatin1String(kPatternShown)).toString(), MaskText(0x4011u, 15));
        QCOMPARE(Text(QStringLiteral("#prize-jackpot")), QString());

        // Between games: the games to come instead of the stage.
        QVERIFY(SendAndWait(Batch({BoardCall(BetweenBoard())}),
                            QStringLiteral("document.querySelectorAll('#prize-next div')"
                                           ".length===2")));
        QCOMPARE(Text(QStringLiteral("#prize-next b")), texts[4]);
        QCOMPARE(Text(QStringLiteral("#prize-next div")), texts[5]);
        QCOMPARE(b().Evaluate(QStringLiteral("['#prize-next','#prize-stage','#prize-pattern',"
                                             "'#prize-amount'].map(function(s){return "
                                             "getComputedStyle(document.querySelector(s))"
                                             ".display!=='none';}).join()"))
                     .toString(),
                 QStringLiteral("true,false,false,false"));

        // No programme: no board, and the page looks as it did without one.
        QVERIFY(SendAndWait(Batch({BoardCall(PagePrizeBoard{})}),
                            QStringLiteral("document.getElementById('prize').hidden")));
        QVERIFY(!b().Evaluate(QStringLiteral("document.documentElement.classList.contains("
                                             "'prized')"))
                     .toBool());
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 2);
    }

    // A board from the network is hostile until checked: wrong types change nothing or count as
    // absent, long texts and lists are cut, text stays text, and no call throws.
    void hostilePrizeBoardsAreIgnoredOrClipped() {
        QJsonArray catchUp = CatchUp(75, {9}, 1);
        catchUp.append(BoardCall(StageBoard(1, kCorners, {kCornerMask})));
        server_->SetCatchUp(catchUp);
        QVERIFY(Open());
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('prize').hidden")));
        const QString title = Text(QStringLiteral("#prize-title"));
        // Not a board at all: ignored, the board shown stays.
        server_->SendRaw(R"({"calls":[["showPrizeBoard","x"],["showPrizeBoard",[]],)"
                         R"(["showPrizeBoard",null],["showPrizeBoard",{"game":"0"}],)"
                         R"(["showPrizeBoard"],["showPrizeBoard",{"game":0},2],)"
                         R"(["showPrizeBoard",{"game":null}]]})");
        QVERIFY(SendAndWait(Batch({Update(10, 2, 1)}),
                            QStringLiteral("document.getElementById('count').textContent==='2'")));
        QCOMPARE(Text(QStringLiteral("#prize-title")), title);
        QVERIFY(Shown(QStringLiteral("prize")));

        // A board with every field of the wrong kind or too big.
        const QString huge =
            QStringLiteral("<img src=x onerror=window.hit=1>") + QString(100000, QLatin1Char('y'));
        QJsonArray masks{QStringLiteral("31"), QJsonObject{}, -5, 1.5, QJsonValue::Null, 1e20};
        for (int i = 0; i < 40; ++i)
            masks.append(1 << (i % 25));
        QJsonArray next;
        for (int i = 0; i < 10; ++i)
            next.append(
                QJsonObject{{"number", "4"}, {"name", huge}, {"stages", huge}, {"prize", 7}});
        next.replace(0, QStringLiteral("not a game"));
        const QJsonObject hostile{
            {"game", 7},
            {"games", "12"},
            {"name", huge},
            {"stage", QJsonObject{}},
            {"stages", 1e300},
            {"prize", 42},
            {"jackpotWithin", "48"},
            {"jackpotPrize", huge},
            {"pattern", QJsonObject{{"name", QJsonObject{{"en", QJsonArray{"x"}}}},
                                    {"squares", "15"},
                                    {"masks", masks}}},
            {"next", next}};
        QVERIFY(SendAndWait(Batch({Call(QStringLiteral("showPrizeBoard"), {hostile})}),
                            QStringLiteral("document.getElementById('prize-title').textContent"
                                           ".indexOf('Game 7 of 0')===0")));
        QVERIFY(Text(QStringLiteral("#prize-title")).size() < 240);
        QCOMPARE(Text(QStringLiteral("#prize-stage")), QStringLiteral("Stage 0 of 9999"));
        QCOMPARE(Count(QStringLiteral("#prize-pattern i")), 25);
        QCOMPARE(Count(QStringLiteral("#prize img")), 0);
        QCOMPARE(Text(QStringLiteral("#prize-amount")), QString());
        QCOMPARE(Text(QStringLiteral("#prize-jackpot")), QString());
        QJsonObject between = hostile;
        between[QStringLiteral("between")] = true;
        QVERIFY(SendAndWait(Batch({Call(QStringLiteral("showPrizeBoard"), {between})}),
                            QStringLiteral("document.getElementById('prize').className"
                                           ".indexOf('between')>=0")));
        QVERIFY(Count(QStringLiteral("#prize-next div")) <= 3);
        QVERIFY(Text(QStringLiteral("#prize-next")).size() < 1000);

        // Straight into the page, as the players' window would call it: never a script error.
        const QJsonValue thrown = b().Evaluate(QStringLiteral(
            "(function(){var bad=[undefined,5,'x',[],{game:Infinity},{game:-4},"
            "{game:2,pattern:null,next:[null,5,{stages:'x'}],between:true},"
            "{game:2,pattern:{masks:null,name:null}},{game:2,pattern:{masks:[1,2,3],squares:15}},"
            "{game:2,pattern:{masks:'31'},next:{length:5}},{game:2,name:{toString:1}}],"
            "errors=[];bad.forEach(function(v,i){try{showPrizeBoard(v);}catch(e){"
            "errors.push(i+': '+e);}});return errors;})()"));
        QVERIFY(thrown.isArray());
        QCOMPARE(thrown.toArray(), QJsonArray());
        QVERIFY(!b().Evaluate(QStringLiteral("!!window.hit")).toBool());
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 2);
    }

    // An upright phone in the hall, and a TV: the join address on one line, never broken inside;
    // the commitment clear of the board; the prize board over nothing that matters.
    void addressCommitmentAndBoardStayClear_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("mobile");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("prized");
        QTest::newRow("phone 390x844, this machine")
            << 390 << 844 << true << "http://127.0.0.1:8765/" << false;
        QTest::newRow("phone 390x844, longest address, prize board")
            << 390 << 844 << true << "http://255.255.255.255:65535/" << true;
        QTest::newRow("phone 360x640, prize board")
            << 360 << 640 << true << "http://192.168.100.200:8765/" << true;
        QTest::newRow("tv 1920x1080, prize board")
            << 1920 << 1080 << false << "http://127.0.0.1:8765/" << true;
        QTest::newRow("tv 1280x720, prize board")
            << 1280 << 720 << false << "http://192.168.100.200:8765/" << true;
    }
    void addressCommitmentAndBoardStayClear() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, mobile);
        QFETCH(QString, address);
        QFETCH(bool, prized);
        QVERIFY(b().SetViewport(width, height, mobile));
        QJsonArray catchUp = CatchUp(75, {12, 33, 45, 60, 75, 15, 30}, 1);
        catchUp[0] = Reset(75, 1, QStringLiteral("e1fe467e7c3680e8"));
        PagePrizeBoard board = StageBoard(1, kAnyLine, {31u, 31u << 5});
        board.jackpotWithin = 48;
        board.jackpotPrize = std::string("500 ") + kEuro;
        board.called = 7;
        if (prized)
            catchUp.append(BoardCall(board));
        server_->SetCatchUp(catchUp);
        server_->SetJoin(JoinFrame(address));
        QVERIFY(Open());
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('joincode').hidden&&"
                                           "document.getElementById('count').textContent==='7'")));
        QCOMPARE(Shown(QStringLiteral("prize")), prized);
        const QString shots = qEnvironmentVariable("ZORVI_SERVED_SHOTS");
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            QFile out(QStringLiteral("%1/clear-%2x%3-%4.png")
                          .arg(shots)
                          .arg(width)
                          .arg(height)
                          .arg(QTest::currentDataTag()));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(b().ScreenshotPng());
        }
        const QJsonValue faults = b().Evaluate(
            QStringLiteral(
                "(function(){var bad=[],W=innerWidth,H=innerHeight;"
                "function rect(s){return document.querySelector(s).getBoundingClientRect();}"
                "function over(a,b){return a.left<b.right&&a.right>b.left&&a.top<b.bottom&&"
                "a.bottom>b.top;}"
                // Each line of a text gives one rectangle per distinct top.
                "var url=document.getElementById('joinurl'),range=document.createRange();"
                "range.selectNodeContents(url);var tops={};"
                "Array.from(range.getClientRects()).forEach(function(r){tops[Math.round(r.top)]=1;}"
                ");"
                "if(Object.keys(tops).length!==1)bad.push('address on '+Object.keys(tops).length+"
                "' lines');"
                "if(url.scrollWidth>url.clientWidth+1)bad.push('address cut');"
                "var code=rect('#joincode'),u=rect('#joinurl');"
                "if(u.left<code.left-0.5||u.right>code.right+0.5)bad.push('address outside its "
                "box');"
                "if(parseFloat(getComputedStyle(url).fontSize)<(%1?6:7))bad.push('address font '+"
                "getComputedStyle(url).fontSize);"
                "var c=rect('#commitment');if(!document.getElementById('commitment').textContent)"
                "bad.push('no commitment');"
                "if(over(c,rect('#board')))bad.push('commitment over the board');"
                "var pz=document.getElementById('prize');if(pz&&!pz.hidden){var p=rect('#prize');"
                "if(p.left<0||p.top<0||p.right>W||p.bottom>H)bad.push('prize board outside');"
                "['#board','#ball','#joincode','#prev','#info .fact','#commitment','#seal']"
                ".forEach(function(o){document.querySelectorAll(o).forEach(function(x,i){"
                "if(over(p,x.getBoundingClientRect()))bad.push('prize board over '+o+'#'+i);});});"
                "['#prize-title','#prize-stage','#prize-amount','#prize-jackpot'].forEach("
                "function(s){var e=document.querySelector(s);if(e.scrollWidth>e.clientWidth+1)"
                "bad.push(s+' cut');if(parseFloat(getComputedStyle(e).fontSize)<10)"
                "bad.push(s+' font '+getComputedStyle(e).fontSize);});}"
                "return bad;})()")
                .arg(mobile ? 1 : 0));
        QVERIFY2(faults.isArray(), "the measuring script failed");
        QVERIFY2(faults.toArray().isEmpty(),
                 qPrintable(QString::fromUtf8(
                     QJsonDocument(faults.toArray()).toJson(QJsonDocument::Compact))));
    }

    // Self-contained: the page asks its own server for nothing but itself and the socket.
    void fetchesNothingElse() {
        server_->SetCatchUp(CatchUp(75, {1, 2}, 1, Ticket(true, 3)));
        server_->SetJoin(JoinFrame(QStringLiteral("http://10.0.0.5:8765/")));
        QVERIFY(Open());
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('joincode').hidden")));
        QCOMPARE(server_->Requests(), (QStringList{QStringLiteral("/en/"), QStringLiteral("/ws")}));
        const QJsonValue others = b().Evaluate(QStringLiteral(
            "performance.getEntriesByType('resource').map(function(e){return e.name;})"
            ".filter(function(n){return n.indexOf(location.origin)!==0;})"));
        QCOMPARE(others.toArray(), QJsonArray());
    }
    // A 16:9 TV and a portrait phone: every number, the ball, the facts, the ticket, the join
    // code, the commitment, the last game's seal and a withdrawn ball's notice inside the screen,
    // each text inside its box, numbers big enough to read, the join code, the commitment and
    // the seal over nothing that matters, and the notice on the board, over neither the ball nor
    // the join code. ZORVI_SERVED_SHOTS names a folder for pictures.
    void fitsEveryScreen_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("mobile");
        QTest::addColumn<double>("smallestFont");
        QTest::addColumn<bool>("prized"); // a programme's prize board shown too
        for (const bool prized : {false, true}) {
            const QByteArray with = prized ? ", prize board" : "";
            QTest::newRow("tv 1920x1080" + with) << 1920 << 1080 << false << 24.0 << prized;
            QTest::newRow("tv 1280x720" + with) << 1280 << 720 << false << 16.0 << prized;
            QTest::newRow("phone 390x844" + with) << 390 << 844 << true << 12.0 << prized;
            QTest::newRow("phone 360x640" + with) << 360 << 640 << true << 11.0 << prized;
            QTest::newRow("phone turned 844x390" + with) << 844 << 390 << true << 11.0 << prized;
        }
    }
    void fitsEveryScreen() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, mobile);
        QFETCH(double, smallestFont);
        QFETCH(bool, prized);
        QVERIFY(b().SetViewport(width, height, mobile));
        const QList<int> drawn75{12, 33, 41, 58, 61, 7, 29, 44, 70, 2, 19, 53};
        const QString commitment = QStringLiteral("e1fe467e7c3680e8");
        QJsonArray catchUp = CatchUp(75, drawn75, 2, {}, QStringLiteral("1a2b3c4d5e6f7a8b"));
        catchUp[0] = Reset(75, 1, commitment);
        PagePrizeBoard board = StageBoard(2, kAnyLine, {31u, 31u << 5});
        board.jackpotWithin = 48;
        board.jackpotPrize = std::string("500 ") + kEuro;
        board.called = 12;
        if (prized)
            catchUp.append(BoardCall(board));
        server_->SetCatchUp(catchUp);
        server_->SetJoin(JoinFrame(QStringLiteral("http://192.168.100.200:8765/")));
        QVERIFY(Open());
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('joincode').hidden")));
        const QString shots = qEnvironmentVariable("ZORVI_SERVED_SHOTS");
        const auto check = [&](const QString& state, bool ticket, int numbers,
                               bool recall = false) {
            QVERIFY(
                b().WaitFor(QStringLiteral("document.querySelectorAll('#board .cell').length===%1")
                                .arg(numbers)));
            const QString prize =
                prized ? QStringLiteral(",'#prize','#prize-title','#prize-stage','#prize-amount',"
                                        "'#prize-jackpot','#prize-pattern i'")
                       : QString();
            const QString selectors =
                ticket
                    ? QStringLiteral("['#tgrid .tcell','#verdict','#coupon','#joincode',"
                                     "'#commitment','#seal'%1]")
                          .arg(prize)
                    : QStringLiteral("['#board .cell','#board .head','#ball','#number','#letter',"
                                     "'#row','#count','#prevballs .mini','#joincode',"
                                     "'#joinurl','#commitment','#seal'%1%2]")
                          .arg(recall ? QStringLiteral(",'#recall','#recall b','#recall span'")
                                      : QString(),
                               prize);
            // The commitment and the seal are small on purpose; each is checked against every
            // box that matters instead, the board (and the ticket over it) above all.
            const QJsonValue faults = b().Evaluate(
                QStringLiteral(
                    "(function(sels,minFont){var W=innerWidth,H=innerHeight,bad=[];"
                    "var code=document.getElementById('joincode').getBoundingClientRect();"
                    "var small={'#joincode':1,'#joinurl':1,'#ball':1,'#commitment':1,'#seal':1};"
                    "function over(a,b){return a.left<b.right&&a.right>b.left&&a.top<b.bottom&&"
                    "a.bottom>b.top;}"
                    "sels.forEach(function(sel){document.querySelectorAll(sel).forEach("
                    "function(el,i){if(getComputedStyle(el).display==='none')return;"
                    "var r=el.getBoundingClientRect(),n=sel+'#'+i;"
                    "if(r.width<1||r.height<1||r.left<-0.5||r.top<-0.5||r.right>W+0.5||"
                    "r.bottom>H+0.5)bad.push(n+' outside');"
                    "if(el.scrollWidth>el.clientWidth+1)bad.push(n+' text cut');"
                    "if(!small[sel]&&el.textContent&&"
                    "parseFloat(getComputedStyle(el).fontSize)<minFont)bad.push(n+' font '+"
                    "getComputedStyle(el).fontSize);"
                    "if(sel!=='#joincode'&&sel!=='#joinurl'&&over(r,code))"
                    "bad.push(n+' under the join code');"
                    "});});"
                    "['#commitment','#seal'].forEach(function(sel){"
                    "var el=document.querySelector(sel),r=el.getBoundingClientRect();"
                    "if(!el.textContent)bad.push(sel+' not shown');"
                    "['#board','#prev','#info .fact','#ball','#joincode','#commitment','#seal',"
                    "'#prize']"
                    ".forEach(function(o){if(o===sel)return;"
                    "document.querySelectorAll(o).forEach(function(x,i){"
                    "if(over(r,x.getBoundingClientRect()))bad.push(sel+' over '+o+'#'+i);});});"
                    "});"
                    "var rc=document.getElementById('recall');if(!rc.hidden){"
                    "var rr=rc.getBoundingClientRect(),"
                    "bd=document.getElementById('board').getBoundingClientRect();"
                    "if(rr.left<bd.left||rr.right>bd.right||rr.top<bd.top||rr.bottom>bd.bottom)"
                    "bad.push('#recall outside the board');"
                    "['#ball','#prev','#info .fact','#joincode','#commitment','#seal','#prize']"
                    ".forEach(function(o){document.querySelectorAll(o).forEach(function(x,i){"
                    "if(over(rr,x.getBoundingClientRect()))bad.push('#recall over '+o+'#'+i);"
                    "});});}"
                    // The prize board beside the board and the ball, over neither.
                    "var pz=document.getElementById('prize');if(pz&&!pz.hidden){"
                    "var pr=pz.getBoundingClientRect();"
                    "['#board','#ball','#prev','#info .fact','#joincode'].forEach(function(o){"
                    "document.querySelectorAll(o).forEach(function(x,i){"
                    "if(over(pr,x.getBoundingClientRect()))bad.push('#prize over '+o+'#'+i);"
                    "});});}"
                    "return bad;})(%1,%2)")
                    .arg(selectors)
                    .arg(smallestFont));
            QVERIFY2(faults.isArray(), qPrintable(state + QStringLiteral(": the script failed")));
            QVERIFY2(
                faults.toArray().isEmpty(),
                qPrintable(state + QStringLiteral(": ") +
                           QString::fromUtf8(
                               QJsonDocument(faults.toArray()).toJson(QJsonDocument::Compact))));
            if (!shots.isEmpty()) {
                QDir().mkpath(shots);
                QFile out(QStringLiteral("%1/%2x%3-%4%5.png")
                              .arg(shots)
                              .arg(width)
                              .arg(height)
                              .arg(state, prized ? QStringLiteral("-prize") : QString()));
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write(b().ScreenshotPng());
            }
        };
        check(QStringLiteral("draw-75"), false, 75);
        server_->SendCalls(Batch({Ticket(true, 17)}));
        QVERIFY(b().WaitFor(
            QStringLiteral("document.getElementById('ticket').className.indexOf('win')>=0")));
        check(QStringLiteral("bingo-75"), true, 75);
        // A ball withdrawn: the notice, while the update takes the ball (and the coupon) away.
        server_->SendCalls(Batch({Recall(53, 60000), Update(19, 11, 2)}));
        QVERIFY(
            b().WaitFor(QStringLiteral("!document.getElementById('recall').hidden"
                                       "&&document.getElementById('count').textContent==='11'")));
        check(QStringLiteral("recall-75"), false, 75, true);
        QJsonArray game90 = Batch({Reset(90, 1, commitment)});
        for (int i = 0; i < 50; ++i)
            game90.append(Update((i * 37) % 90 + 1, i + 1, 1));
        server_->SendCalls(game90);
        check(QStringLiteral("draw-90"), false, 90);
        QStringList numbers;
        QStringList marks;
        for (int i = 0; i < 27; ++i) {
            const bool blank = (i + i / 9) % 2 == 1;
            numbers << QString::number(blank ? 0 : (i % 9) * 10 + i / 9 + 1);
            marks << QString::number(blank ? 0 : i < 9 ? 1 : 0);
        }
        server_->SendCalls(
            Batch({Call(QStringLiteral("showTicket"), {numbers.join(QLatin1Char(',')),
                                                       marks.join(QLatin1Char(',')), 0, 123456})}));
        QVERIFY(b().WaitFor(
            QStringLiteral("document.getElementById('ticket').className.indexOf('lose')>=0")));
        check(QStringLiteral("wrong-90"), true, 90);
    }
    // The real hall server, fed through the page calls as the operator window feeds it: a
    // browser joining mid-game gets the whole board, then each draw, row change, checked coupon
    // and new game as they happen.
    void realHallServer() {
        QTemporaryDir root;
        QVERIFY(PageFolder(root));
        Settings settings = HallSettings();
        // The hall server as the program runs it: registered with the game's pages, its join
        // code sent to every page.
        struct : LogSink {
            std::vector<std::string> lines;
            void WriteLog(const std::string& line) override { lines.push_back(line); }
        } log;
        PageFanOut game;
        HallService service(settings, game, log, HallServer::Options{root.path(), HallLimits{}});
        service.Apply();
        HallServer& hall = service.Server();
        QVERIFY2(hall.Running(), log.lines.empty() ? "" : log.lines.back().c_str());

        game.PageReset(75, "0123456789abcdef");
        game.PageUpdateMainScreen(-1, 0, 1);
        const int drawn[] = {5, 23, 61};
        for (int i = 0; i < 3; ++i)
            game.PageUpdateMainScreen(drawn[i], i + 1, 1);
        QVERIFY(b().Navigate(QString::fromStdString(hall.Url()) + QStringLiteral("en/")));
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('count').textContent==='3'")));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 3);
        QCOMPARE(Text(QStringLiteral("#number")), QStringLiteral("61"));
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('joincode').hidden")));

        game.PageUpdateMainScreen(44, 4, 1);
        QVERIFY(
            b().WaitFor(QStringLiteral("document.getElementById('number').textContent==='44'")));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 4);
        game.PageUpdateMainScreen(44, 4, 2);
        QVERIFY(
            b().WaitFor(QStringLiteral("document.getElementById('row').textContent==='Row 2'")));
        // A ball entered by mistake, withdrawn: told, then taken off the board.
        game.PageUpdateMainScreen(9, 5, 2);
        game.PageShowRecall(9);
        game.PageUpdateMainScreen(44, 4, 2);
        QVERIFY(b().WaitFor(
            QStringLiteral("document.getElementById('recall').textContent==='9 withdrawn'"
                           "&&document.getElementById('count').textContent==='4'")));
        QCOMPARE(Text(QStringLiteral("#number")), QStringLiteral("44"));

        const QJsonArray ticket = Ticket(true, 17);
        game.PageShowTicket(PageTicket{ticket[1].toString().toStdString(),
                                       ticket[2].toString().toStdString(), true, 17});
        QVERIFY(b().WaitFor(
            QStringLiteral("document.getElementById('verdict').textContent==='BINGO!'")));
        QVERIFY(Text(QStringLiteral("#coupon")).endsWith(QStringLiteral(" 17")));

        // The game ends with its seal; the next game is played under it.
        game.PageShowSeal("1a2b3c4d5e6f7a8b");
        game.PageReset(90, "");
        game.PageUpdateMainScreen(-1, 0, 1);
        QVERIFY(
            b().WaitFor(QStringLiteral("document.querySelectorAll('#board .cell').length===90"
                                       "&&document.getElementById('count').textContent==='0'")));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 0);
        QCOMPARE(Text(QStringLiteral("#seal")),
                 QStringLiteral("Seal of the last game: 1a2b3c4d5e6f7a8b"));
        QVERIFY(!Shown(QStringLiteral("recall")));
        QVERIFY(!Shown(QStringLiteral("offline")));
        settings.hall_server = 0;
        service.Apply();
        QVERIFY(!hall.Running());
    }

    // Balls of the hall's machine, entered through the game's own commands, reach a browser as
    // draws do; the recall of the last one is told there and takes it off the board.
    void ballsFromTheMachine() {
        QTemporaryDir root;
        QVERIFY(PageFolder(root));
        Settings settings = HallSettings();
        settings.ball_source = 1;
        settings.confirm_board_entry = 0;
        test::NullWindow window; // the operator window's requests and the log, carried out by none
        PageFanOut pages;
        HallService service(settings, pages, window,
                            HallServer::Options{root.path(), HallLimits{}});
        service.Apply();
        QVERIFY(service.Server().Running());

        OsRandomSource source;
        ProgramState state(source);
        state.AttachSettings(settings);
        BingoHelpers coupons;
        GameCommands commands(state, settings, coupons, window, pages, window);
        commands.BeginNewGame();
        QVERIFY(commands.BallMachine());
        QVERIFY(
            b().Navigate(QString::fromStdString(service.Server().Url()) + QStringLiteral("en/")));
        QVERIFY(b().WaitFor(QStringLiteral("document.getElementById('count').textContent==='0'")));

        for (const int ball : {23, 7, 61})
            commands.EnterBallFromBoard(ball);
        QVERIFY(
            b().WaitFor(QStringLiteral("document.getElementById('count').textContent==='3'"
                                       "&&document.getElementById('number').textContent==='61'")));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 3);

        commands.CancelNumberCommand();
        QVERIFY(b().WaitFor(
            QStringLiteral("document.getElementById('recall').textContent==='61 withdrawn'"
                           "&&document.getElementById('count').textContent==='2'")));
        QCOMPARE(Text(QStringLiteral("#number")), QStringLiteral("7"));
        QCOMPARE(Count(QStringLiteral("#board .cell.on")), 2);
        settings.hall_server = 0;
        service.Apply();
    }

    // The README's picture of a phone in the hall: set ZORVI_PHONE_SHOT to the file to write.
    void phoneScreenshot() {
        const QString file = qEnvironmentVariable("ZORVI_PHONE_SHOT");
        if (file.isEmpty())
            QSKIP("set ZORVI_PHONE_SHOT to a .png file to save the phone picture");
        QVERIFY(b().SetViewport(390, 844, true));
        const QList<int> drawn{12, 33, 41, 58, 61, 7, 29, 44, 70, 2, 19, 53, 66, 24};
        server_->SetCatchUp(CatchUp(75, drawn, 2));
        server_->SetJoin(JoinFrame(QStringLiteral("http://192.168.1.10:8765/")));
        QVERIFY(Open());
        QVERIFY(b().WaitFor(QStringLiteral("!document.getElementById('joincode').hidden")));
        QTest::qWait(1500); // the ball's roll-in has ended
        QImage shot = QImage::fromData(b().ScreenshotPng(), "PNG");
        QVERIFY(!shot.isNull());
        shot = WithPalette(shot.convertToFormat(QImage::Format_RGB32));
        QVERIFY(shot.save(file, "PNG", 0)); // 0: the strongest compression
    }
};

} // namespace zorvi::test

QTEST_GUILESS_MAIN(zorvi::test::TestServedPage)

#include "TestServedPage.moc"
