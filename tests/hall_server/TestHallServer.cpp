// The hall server running on 127.0.0.1: real sockets, real WebSocket clients, the page files
// in a real folder.
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebSocket>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "HallServer.h"
#include "JoinCode.h"
#include "PageFanOut.h"
#include "PageGameRecord.h"
#include "PrizeBoardJson.h"
#include "Settings.h"

namespace zorvi::test {

namespace {

// Game `game` of a programme of five (0: none), its stage with a pattern of two masks.
PagePrizeBoard Board(int game) {
    PagePrizeBoard board;
    board.game = game;
    if (game > 0) {
        board.games = 5;
        board.name = "Ilta";
        board.stage = 1;
        board.stages = 2;
        board.pattern = PagePattern{{"Rivi", "Rad", "Line"}, 25, {31u, 992u}};
        board.prize = "20";
    }
    return board;
}

QJsonArray BoardCall(int game) {
    return QJsonArray{
        "showPrizeBoard",
        QJsonDocument::fromJson(QByteArray::fromStdString(PrizeBoardJson(Board(game)))).object()};
}

// A browser on the live feed: keeps every frame but the heartbeats.
class Feed : public QObject {
public:
    explicit Feed(const QString& origin = QString()) : socket_(origin) {
        connect(&socket_, &QWebSocket::textMessageReceived, this, [this](const QString& text) {
            const QJsonObject frame = QJsonDocument::fromJson(text.toUtf8()).object();
            if (frame.contains(QStringLiteral("heartbeat")))
                ++heartbeats;
            else
                frames.push_back(frame);
        });
    }
    void Open(int port, const QString& path = QStringLiteral("/ws")) {
        socket_.open(QUrl(QStringLiteral("ws://127.0.0.1:%1%2").arg(port).arg(path)));
    }
    bool Connected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    bool Gone() const { return socket_.state() == QAbstractSocket::UnconnectedState; }
    // The page calls received, every batch in order, one after the other.
    QJsonArray Calls() const {
        QJsonArray all;
        for (const QJsonObject& frame : frames) {
            for (const QJsonValue& call : frame.value(QStringLiteral("calls")).toArray())
                all.append(call);
        }
        return all;
    }
    int CallFrames() const {
        return int(std::count_if(frames.begin(), frames.end(), [](const QJsonObject& f) {
            return f.contains(QStringLiteral("calls"));
        }));
    }
    QWebSocket& Socket() { return socket_; }

    std::vector<QJsonObject> frames;
    int heartbeats = 0;

private:
    QWebSocket socket_;
};

// Sends `request` on a new connection and returns all that comes back until the server closes
// it; `closed` tells whether it did within the time.
QByteArray RawExchange(int port, const QByteArray& request, bool* closed = nullptr,
                       int waitMs = 10000) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!socket.waitForConnected(5000))
        return "(no connection)";
    socket.write(request);
    QByteArray answer;
    QElapsedTimer timer;
    timer.start();
    while (socket.state() == QAbstractSocket::ConnectedState && timer.elapsed() < waitMs) {
        socket.waitForReadyRead(50);
        answer += socket.readAll();
    }
    answer += socket.readAll();
    if (closed)
        *closed = socket.state() != QAbstractSocket::ConnectedState;
    return answer;
}

// The upgrade request of a browser, on `port`.
QByteArray FeedRequest(int port) {
    return "GET /ws HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
           "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
           "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n";
}

// A frame as a browser sends it (masked), or unmasked as a browser never does.
QByteArray ClientFrame(int first, const QByteArray& payload, bool masked = true) {
    QByteArray frame;
    frame += char(first);
    frame += char((masked ? 0x80 : 0) | int(payload.size()));
    const QByteArray mask("\x01\x02\x03\x04", 4);
    if (masked)
        frame += mask;
    for (qsizetype i = 0; i < payload.size(); ++i)
        frame += masked ? char(payload[i] ^ mask[i % 4]) : payload[i];
    return frame;
}

// A connection from `source`, one of the machine's loopback addresses, to the server.
std::unique_ptr<QTcpSocket> ConnectFrom(const char* source, int port) {
    auto socket = std::make_unique<QTcpSocket>();
    socket->bind(QHostAddress(QString::fromLatin1(source)), 0);
    socket->connectToHost(QHostAddress::LocalHost, quint16(port));
    return socket;
}

// The server's own end of every connection it has taken from the system: the descriptors the
// network holds in the program. Connections still in the system's queue have no inode yet.
int ServerSockets(int port) {
    int count = 0;
    for (const char* table : {"/proc/self/net/tcp", "/proc/self/net/tcp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = file.readAll().split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QList<QByteArray> fields = lines[i].simplified().split(' ');
            if (fields.size() < 10)
                continue;
            const QByteArray local = fields[1];
            const int localPort = local.mid(local.lastIndexOf(':') + 1).toInt(nullptr, 16);
            if (localPort == port && fields[3] != "0A" && fields[9] != "0")
                ++count;
        }
    }
    return count;
}

QByteArray StatusLine(const QByteArray& answer) {
    return answer.left(answer.indexOf("\r\n"));
}

QByteArray Body(const QByteArray& answer) {
    const qsizetype at = answer.indexOf("\r\n\r\n");
    return at < 0 ? QByteArray() : answer.mid(at + 4);
}

} // namespace

class TestHallServer : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> pages_;
    std::unique_ptr<Settings> settings_;
    // The game's one record, as the program has it; the server is registered with it.
    PageFanOut game_;
    std::unique_ptr<HallServer> server_;

    int Port() const { return server_->Port(); }

    HallServer::Options Options() const {
        HallServer::Options options;
        options.htmlRoot = pages_->path();
        options.limits.headTimeoutMs = 700;
        options.limits.lingerMs = 200;
        return options;
    }

    void StartServer(const HallServer::Options& options) {
        if (server_)
            game_.Unregister(server_.get());
        server_ = std::make_unique<HallServer>(*settings_, game_, options);
        game_.Register(server_.get());
        std::string error;
        QVERIFY2(server_->Start("127.0.0.1", 0, &error), error.c_str());
        QVERIFY(server_->Port() > 0);
        ShowJoinCode();
    }

    // What the program does once its server runs: the join code to every page.
    void ShowJoinCode() {
        const std::string url = server_->Url();
        const std::optional<JoinCode> code = JoinCode::Encode(url);
        game_.PageShowJoinCode(code ? PageJoinCode{url, code->size, code->modules}
                                    : PageJoinCode{});
    }

    // A game in progress: 75 numbers, three drawn, row 2, a ticket checked.
    void PlaySomeGame() {
        game_.PageReset(75, "1a2b3c4d5e6f7a8b");
        game_.PageUpdateMainScreen(-1, 0, 1);
        game_.PageUpdateMainScreen(12, 1, 1);
        game_.PageUpdateMainScreen(40, 2, 1);
        game_.PageUpdateMainScreen(67, 3, 1);
        game_.PageUpdateMainScreen(67, 3, 2);
        game_.PageShowTicket({"1,2,3", "1,0,2", false, 4711});
    }

    static QJsonArray SomeGameCatchUp() {
        return QJsonArray{QJsonArray{"reset", 75, 0, 0, "1a2b3c4d5e6f7a8b"},
                          QJsonArray{"updateMainScreen", 12, 1, 2},
                          QJsonArray{"updateMainScreen", 40, 2, 2},
                          QJsonArray{"updateMainScreen", 67, 3, 2},
                          QJsonArray{"showTicket", "1,2,3", "1,0,2", 0, 4711}};
    }

    static PageGame SomeGame() {
        return PageGame{
            75, "1a2b3c4d5e6f7a8b", {12, 40, 67}, 2, PageTicket{"1,2,3", "1,0,2", false, 4711}, "",
            {}};
    }

    // Opens a feed and waits for its catch-up and join frames.
    std::unique_ptr<Feed> JoinedFeed() {
        auto feed = std::make_unique<Feed>();
        feed->Open(Port());
        Feed* f = feed.get();
        const bool joined = QTest::qWaitFor([f] { return f->frames.size() >= 2; }, 10000);
        if (!joined)
            qWarning("a feed did not get its catch-up");
        return feed;
    }

    // Five coupons of 75 numbers (coupon k: 3k to 3k + 24) or of 90 (coupon k: 90 - 3k down).
    static std::shared_ptr<const std::vector<std::uint8_t>> SmallSeries(int numberCount) {
        const int size = numberCount == 75 ? 25 : 15;
        std::vector<std::uint8_t> bytes;
        for (int k = 1; k <= 5; ++k) {
            for (int i = 0; i < size; ++i)
                bytes.push_back(std::uint8_t(numberCount == 75 ? 3 * k + i : 90 - 3 * k - i));
        }
        return std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    }

    // One look-up on a new connection from `source`: the whole answer, once the server closed.
    QByteArray LookUp(const char* source, const QByteArray& target) {
        auto socket = ConnectFrom(source, Port());
        if (!socket->waitForConnected(5000))
            return "(no connection)";
        socket->write("GET " + target +
                      " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(Port()) + "\r\n\r\n");
        QByteArray answer;
        QElapsedTimer timer;
        timer.start();
        while (socket->state() == QAbstractSocket::ConnectedState && timer.elapsed() < 10000) {
            socket->waitForReadyRead(50);
            answer += socket->readAll();
        }
        return answer + socket->readAll();
    }

private slots:
    void init() {
        pages_ = std::make_unique<QTemporaryDir>();
        QVERIFY(pages_->isValid());
        for (const char* language : {"fi", "se", "en"}) {
            QVERIFY(QDir(pages_->path()).mkpath(language));
            QFile page(pages_->filePath(QStringLiteral("%1/public_screen.htm").arg(language)));
            QVERIFY(page.open(QIODevice::WriteOnly));
            page.write("<!doctype html><title>" + QByteArray(language) + "</title>");
        }
        QFile secret(pages_->filePath(QStringLiteral("state.ini")));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("[common]\nsecret=1\n");
        settings_ = std::make_unique<Settings>(Settings::NoLoad{});
        settings_->language = 2;
        StartServer(Options());
    }
    void cleanup() {
        if (server_)
            game_.Unregister(server_.get());
        server_.reset();
        game_ = PageFanOut{};
        settings_.reset();
        pages_.reset();
    }

    void everyCallReachesEveryBrowser() {
        auto first = JoinedFeed();
        auto second = JoinedFeed();
        QCOMPARE(server_->ClientCount(), 2);
        for (Feed* feed : {first.get(), second.get()}) {
            // Before any game: an empty board, then the join code.
            QCOMPARE(feed->Calls(), (QJsonArray{QJsonArray{"reset", 75, 0, 0, ""},
                                                QJsonArray{"updateMainScreen", -1, 0, 1}}));
            QVERIFY(feed->frames.at(1).value("join").isObject());
            feed->frames.clear();
        }

        settings_->disable_animation = 1;
        game_.PageReset(90, "00ffee");
        game_.PageUpdateMainScreen(-1, 0, 1);
        game_.PageUpdateMainScreen(88, 1, 1);
        game_.PageUpdateMainScreen(5, 2, 1);
        game_.PageUpdateMainScreen(5, 2, 2);
        game_.PageShowTicket({"1,0,5", "1,0,2", true, 999999});
        game_.PageShowRecall(5);
        game_.PageUpdateMainScreen(88, 1, 2);
        game_.PageShowSeal("0123456789abcdef");
        game_.PageShowPrizeBoard(Board(2));
        const QJsonArray expected{QJsonArray{"reset", 90, 0, 1, "00ffee"},
                                  QJsonArray{"updateMainScreen", -1, 0, 1},
                                  QJsonArray{"updateMainScreen", 88, 1, 1},
                                  QJsonArray{"updateMainScreen", 5, 2, 1},
                                  QJsonArray{"updateMainScreen", 5, 2, 2},
                                  QJsonArray{"showTicket", "1,0,5", "1,0,2", 1, 999999},
                                  QJsonArray{"showRecall", 5},
                                  QJsonArray{"updateMainScreen", 88, 1, 2},
                                  QJsonArray{"showSeal", "0123456789abcdef"},
                                  BoardCall(2)};
        for (Feed* feed : {first.get(), second.get()}) {
            QTRY_COMPARE_WITH_TIMEOUT(feed->Calls().size(), expected.size(), 10000);
            QCOMPARE(feed->Calls(), expected);
            // One call per frame, each stamped with its sending time.
            QCOMPARE(feed->CallFrames(), int(expected.size()));
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            for (const QJsonObject& frame : feed->frames)
                QVERIFY(qAbs(frame.value("t").toInteger() - now) < 60000);
        }
        // The cancelled number took the checked coupon off the screen, as on every page.
        QCOMPARE(server_->Game(),
                 (PageGame{90, "00ffee", {88}, 2, std::nullopt, "0123456789abcdef", Board(2)}));
        // The feed stays alive between draws.
        QTRY_VERIFY_WITH_TIMEOUT(first->heartbeats > 0, 5000);
        // The recall was news once: a browser that comes now is shown the game without the ball.
        auto late = JoinedFeed();
        QCOMPARE(late->Calls(),
                 (QJsonArray{QJsonArray{"reset", 90, 0, 1, "00ffee"},
                             QJsonArray{"updateMainScreen", 88, 1, 2},
                             QJsonArray{"showSeal", "0123456789abcdef"}, BoardCall(2)}));
        // The programme over: the browsers are told, and one that comes now hears of no board.
        game_.PageShowPrizeBoard(PagePrizeBoard{});
        QTRY_COMPARE_WITH_TIMEOUT(late->Calls().size(), 5, 10000);
        QCOMPARE(late->Calls().last(), QJsonValue(BoardCall(0)));
        QCOMPARE(JoinedFeed()->Calls(), (QJsonArray{QJsonArray{"reset", 90, 0, 1, "00ffee"},
                                                    QJsonArray{"updateMainScreen", 88, 1, 2},
                                                    QJsonArray{"showSeal", "0123456789abcdef"}}));
    }

    // A board as big as a programme file could make it reaches the browsers within the bounds
    // the fan-out keeps, in frames far below what a browser may lag behind; nobody is dropped.
    void hugeBoardIsSentWithinItsBounds() {
        auto feed = JoinedFeed();
        feed->frames.clear();
        PagePrizeBoard board = Board(1);
        board.name = std::string(1 << 20, '"');
        board.pattern.masks.assign(100000, 0xFFFFFFFFu);
        board.next.assign(
            1000, PageNextGame{2, std::string(10000, '<'), std::vector<PageTexts>(100), "x"});
        game_.PageShowPrizeBoard(board);
        QTRY_COMPARE_WITH_TIMEOUT(feed->CallFrames(), 1, 10000);
        const QJsonObject shown = feed->Calls().at(0).toArray().at(1).toObject();
        QCOMPARE(shown.value("name").toString().size(), int(PageGameRecord::kMaxBoardText));
        QCOMPARE(shown.value("pattern").toObject().value("masks").toArray().size(),
                 int(PageGameRecord::kMaxMasks));
        QCOMPARE(shown.value("next").toArray().size(), int(PageGameRecord::kMaxNextGames));
        auto late = JoinedFeed();
        const QByteArray catchUp = QJsonDocument(late->frames.at(0)).toJson(QJsonDocument::Compact);
        QVERIFY2(catchUp.size() < 64 * 1024, QByteArray::number(catchUp.size()));
        QCOMPARE(late->Calls().last().toArray().at(1).toObject(), shown);
        QCOMPARE(server_->ClientCount(), 2);
        QVERIFY(feed->Connected());
    }

    void browserJoiningMidGameGetsTheWholeGame() {
        game_.PageShowSeal("0123456789abcdef"); // the game before this one
        game_.PageShowPrizeBoard(Board(3));
        PlaySomeGame();
        auto late = JoinedFeed();
        QCOMPARE(late->frames.size(), std::size_t(2));
        QJsonArray expected = SomeGameCatchUp();
        expected.append(QJsonArray{"showSeal", "0123456789abcdef"});
        expected.append(BoardCall(3));
        QCOMPARE(late->Calls(), expected);
        QCOMPARE(late->CallFrames(), 1); // one batch
        QVERIFY(late->frames.at(1).value("join").isObject());
    }

    void reconnectingBrowserCatchesUp() {
        auto feed = JoinedFeed();
        feed->Socket().close();
        QTRY_COMPARE_WITH_TIMEOUT(server_->ClientCount(), 0, 5000);
        // The game goes on while the browser is away.
        PlaySomeGame();
        game_.PageUpdateMainScreen(3, 4, 2);
        feed->frames.clear();
        feed->Open(Port());
        QTRY_VERIFY_WITH_TIMEOUT(feed->frames.size() >= 2, 10000);
        // A new number takes the checked coupon off the screen, as on every page.
        QJsonArray expected = SomeGameCatchUp();
        expected.removeLast();
        expected.append(QJsonArray{"updateMainScreen", 3, 4, 2});
        QCOMPARE(feed->Calls(), expected);
    }

    // A server started mid-game is given the game; browsers already there get it at once.
    void wholeGameForPagesThatHaveNotSeenIt() {
        auto feed = JoinedFeed();
        feed->frames.clear();
        game_.PageShowGame(SomeGame());
        QTRY_COMPARE_WITH_TIMEOUT(feed->Calls().size(), SomeGameCatchUp().size(), 10000);
        QCOMPARE(feed->Calls(), SomeGameCatchUp());
        QCOMPARE(server_->Game(), SomeGame());
    }

    // The server's own address as a QR code, after the catch-up; it can be hidden.
    void joinCodeFollowsTheCatchUp() {
        auto feed = JoinedFeed();
        const QJsonObject join = feed->frames.at(1).value("join").toObject();
        QCOMPARE(join.value("url").toString(), QString::fromStdString(server_->Url()));
        QCOMPARE(server_->Url(), "http://127.0.0.1:" + std::to_string(Port()) + "/");
        const int size = join.value("size").toInt();
        QVERIFY(size >= 21);
        QCOMPARE(join.value("modules").toString().size(), size * size);
        QVERIFY(!join.value("modules").toString().contains(QRegularExpression("[^01]")));
        game_.PageShowJoinCode(PageJoinCode{});
        QTRY_COMPARE_WITH_TIMEOUT(feed->frames.size(), std::size_t(3), 5000);
        QVERIFY(feed->frames.at(2).value("join").isNull());
    }

    void pagesAreServed_data() {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("fi") << QByteArray("/fi/") << QByteArray("200 OK")
                            << QByteArray("<title>fi<");
        QTest::newRow("se file") << QByteArray("/se/public_screen.htm") << QByteArray("200 OK")
                                 << QByteArray("<title>se<");
        QTest::newRow("root: the operator's language")
            << QByteArray("/") << QByteArray("302 Found") << QByteArray("Location: /en/\r\n");
        QTest::newRow("folder") << QByteArray("/en") << QByteArray("301 Moved Permanently")
                                << QByteArray("Location: /en/\r\n");
    }
    void pagesAreServed() {
        QFETCH(QByteArray, target);
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, content);
        const QByteArray host = "127.0.0.1:" + QByteArray::number(Port());
        bool closed = false;
        const QByteArray answer = RawExchange(
            Port(), "GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n", &closed);
        QCOMPARE(StatusLine(answer), "HTTP/1.1 " + status);
        QVERIFY2(answer.contains(content), answer.constData());
        QVERIFY(answer.contains("Connection: close\r\n"));
        QVERIFY(closed);
        if (status.startsWith("200")) {
            QVERIFY(answer.contains("Content-Type: text/html; charset=utf-8\r\n"));
            QVERIFY(answer.contains("Content-Length: " + QByteArray::number(Body(answer).size())));
        }
    }

    void missingPageIsNotFound() {
        QVERIFY(QFile::remove(pages_->filePath(QStringLiteral("se/public_screen.htm"))));
        const QByteArray answer = RawExchange(Port(), "GET /se/ HTTP/1.1\r\nHost: 127.0.0.1:" +
                                                          QByteArray::number(Port()) + "\r\n\r\n");
        QCOMPARE(StatusLine(answer), QByteArray("HTTP/1.1 404 Not Found"));
    }

    // Each hostile request gets its answer and the connection is closed; the game, and what
    // a browser on the feed sees, stay as they were.
    void hostileRequests_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("status");
        const QByteArray host = "Host: 127.0.0.1:@PORT@\r\n";
        const QByteArray ws =
            "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
        const auto get = [&](const QByteArray& target) {
            return "GET " + target + " HTTP/1.1\r\n" + host + "\r\n";
        };
        const auto row = [](const char* name, const QByteArray& request, const char* status) {
            QTest::newRow(name) << request << QByteArray(status);
        };
        row("traversal", get("/../../../../etc/passwd"), "404");
        row("traversal to the data", get("/fi/../state.ini"), "404");
        row("percent-encoded traversal", get("/fi/%2e%2e/state.ini"), "404");
        row("percent-encoded slashes", get("/%2e%2e%2f%2e%2e%2fetc%2fpasswd"), "404");
        row("overlong UTF-8 dots", get("/fi/%c0%ae%c0%ae/state.ini"), "404");
        row("backslash", get("/fi\\..\\state.ini"), "404");
        row("absolute path", get("/etc/passwd"), "404");
        row("file beside the pages", get("/state.ini"), "404");
        row("folder listing", get("/fi/../"), "404");
        row("absolute URL", get("http://127.0.0.1/fi/"), "400");
        row("huge header",
            "GET /fi/ HTTP/1.1\r\n" + host + "X-Big: " + QByteArray(64 * 1024, 'x') + "\r\n\r\n",
            "431");
        row("many headers",
            "GET /fi/ HTTP/1.1\r\n" + host + QByteArray("X-A: b\r\n").repeated(3000) + "\r\n",
            "431");
        row("huge request line",
            "GET /" + QByteArray(64 * 1024, 'a') + " HTTP/1.1\r\n" + host + "\r\n", "414");
        row("POST", "POST /fi/ HTTP/1.1\r\n" + host + "Content-Length: 5\r\n\r\nhello", "405");
        row("POST to the feed", "POST /ws HTTP/1.1\r\n" + host + "Content-Length: 2\r\n\r\n{}",
            "405");
        row("PUT", "PUT /fi/public_screen.htm HTTP/1.1\r\n" + host + "Content-Length: 1\r\n\r\nx",
            "405");
        row("DELETE", "DELETE /fi/public_screen.htm HTTP/1.1\r\n" + host + "\r\n", "405");
        row("OPTIONS", "OPTIONS * HTTP/1.1\r\n" + host + "\r\n", "405");
        row("CONNECT", "CONNECT 127.0.0.1:22 HTTP/1.1\r\n" + host + "\r\n", "405");
        row("TRACE", "TRACE / HTTP/1.1\r\n" + host + "\r\n", "405");
        row("malformed request line", "GARBAGE\r\n\r\n", "400");
        row("HTTP/0.9", "GET /fi/\r\n\r\n", "400");
        row("binary", QByteArray("\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03\r\n\r\n", 15),
            "400");
        row("header injection", "GET /fi/ HTTP/1.1\r\n" + host + "X: a\rb\r\n\r\n", "400");
        row("no Host", "GET /fi/ HTTP/1.1\r\n\r\n", "400");
        row("wrong Host", "GET /fi/ HTTP/1.1\r\nHost: evil.example:@PORT@\r\n\r\n", "421");
        row("wrong port in Host", "GET /fi/ HTTP/1.1\r\nHost: 127.0.0.1:1\r\n\r\n", "421");
        row("feed for a wrong Host",
            "GET /ws HTTP/1.1\r\nHost: evil.example:@PORT@\r\n" + ws + "\r\n", "421");
        row("feed for a foreign Origin",
            "GET /ws HTTP/1.1\r\n" + host + ws + "Origin: http://evil.example\r\n\r\n", "403");
        row("feed for an Origin of another port",
            "GET /ws HTTP/1.1\r\n" + host + ws + "Origin: http://127.0.0.1:1\r\n\r\n", "403");
        row("feed without upgrade", get("/ws"), "426");
        row("feed without a key",
            "GET /ws HTTP/1.1\r\n" + host + "Upgrade: websocket\r\nConnection: Upgrade\r\n\r\n",
            "400");
        row("feed of another protocol version",
            "GET /ws HTTP/1.1\r\n" + host +
                "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                "Sec-WebSocket-Version: 99\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n",
            "400");
    }
    void hostileRequests() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, status);
        PlaySomeGame();
        auto watcher = JoinedFeed();
        watcher->frames.clear();

        request.replace("@PORT@", QByteArray::number(Port()));
        bool closed = false;
        const QByteArray answer = RawExchange(Port(), request, &closed);
        QVERIFY2(StatusLine(answer).startsWith("HTTP/1.1 " + status + " "),
                 answer.left(200).constData());
        QVERIFY2(closed, "the server left the connection open");
        QVERIFY(!answer.contains("secret"));

        // Nothing changed: the game, and a new browser sees it as before.
        QCOMPARE(server_->Game(), SomeGame());
        auto after = JoinedFeed();
        QCOMPARE(after->Calls(), SomeGameCatchUp());
        QCOMPARE(watcher->CallFrames(), 0);
        QVERIFY(watcher->Connected());
    }

    // What a phone is told for each coupon it asks for, with the series and setting of the row.
    void couponLookUps_data() {
        QTest::addColumn<QString>("series"); // "75", "90" or "none"
        QTest::addColumn<QList<int>>("inPlay");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("body");
        const QList<int> all;
        const auto row = [](const char* name, const char* series, const QList<int>& inPlay,
                            const QByteArray& target, const char* status, const QByteArray& body) {
            QTest::newRow(name) << QString::fromLatin1(series) << inPlay << target
                                << QByteArray(status) << body;
        };
        row("whole series in play", "75", all, "/coupon/2", "200 OK",
            R"({"coupon":2,"numberCount":75,"numbers":[6,7,8,9,10,11,12,13,14,15,16,17,18,19,)"
            R"(20,21,22,23,24,25,26,27,28,29,30]})");
        row("in play", "75", {2, 3, 5, 5}, "/coupon/5", "200 OK",
            R"({"coupon":5,"numberCount":75,"numbers":[15,16,17,18,19,20,21,22,23,24,25,26,)"
            R"(27,28,29,30,31,32,33,34,35,36,37,38,39]})");
        row("90-number coupon", "90", all, "/coupon/1", "200 OK",
            R"({"coupon":1,"numberCount":90,"numbers":[87,86,85,84,83,82,81,80,79,78,77,76,)"
            R"(75,74,73]})");
        row("not in play", "75", {2, 3, 5, 5}, "/coupon/4", "404 Not Found",
            R"({"error":"not-in-play"})");
        row("not in play, below", "75", {2, 3}, "/coupon/1", "404 Not Found",
            R"({"error":"not-in-play"})");
        row("not in the series", "75", all, "/coupon/6", "404 Not Found",
            R"({"error":"not-in-series"})");
        row("not in the series though in play", "75", {1, 999999}, "/coupon/999999",
            "404 Not Found", R"({"error":"not-in-series"})");
        row("no series", "none", all, "/coupon/1", "503 Service Unavailable",
            R"({"error":"no-series"})");
        const QByteArray malformed = R"({"error":"malformed"})";
        for (const char* target :
             {"/coupon/", "/coupon", "/coupon/0", "/coupon/-1", "/coupon/1e3", "/coupon/0342",
              "/coupon/1000000", "/coupon/12/", "/coupon/12?x", "/coupon/%31", "/coupon/1%00",
              "/coupon/99999999999999999999999999999999999999999999999999"})
            row(target, "75", all, target, "400 Bad Request", malformed);
        row("number longer than a request line", "75", all, "/coupon/" + QByteArray(4000, '1'),
            "414 URI Too Long", "URI Too Long\n");
    }
    void couponLookUps() {
        QFETCH(QString, series);
        QFETCH(QList<int>, inPlay);
        QFETCH(QByteArray, target);
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, body);
        std::vector<std::pair<int, int>> ranges;
        for (qsizetype i = 0; i + 1 < inPlay.size(); i += 2)
            ranges.emplace_back(inPlay[i], inPlay[i + 1]);
        if (series == "none")
            server_->SetCoupons(nullptr, 25, 75, ranges);
        else
            server_->SetCoupons(SmallSeries(series.toInt()), series == "75" ? 25 : 15,
                                series.toInt(), ranges);
        const QByteArray answer = LookUp("127.0.0.1", target);
        QCOMPARE(StatusLine(answer), "HTTP/1.1 " + status);
        QCOMPARE(Body(answer), body);
        QVERIFY(answer.contains("Cache-Control: no-store\r\n"));
        QVERIFY(answer.contains("Content-Length: " + QByteArray::number(body.size()) + "\r\n"));
        if (!status.startsWith("414"))
            QVERIFY(answer.contains("Content-Type: application/json; charset=utf-8\r\n"));
    }

    // One address asks sixty times in a moment, then once more: refused with a time to come
    // back, while a phone at another address is answered. The bucket refills one a second, so
    // the asking may have earned one more for each second it took.
    void lookUpsAreBoundedPerAddress() {
        server_->SetCoupons(SmallSeries(75), 25, 75, {});
        QElapsedTimer asking;
        asking.start();
        int answered = 0;
        QByteArray refused;
        for (int i = 0; i < 200 && refused.isEmpty(); ++i) {
            // Malformed numbers count as much as good ones.
            const QByteArray answer = LookUp("127.0.0.1", i % 2 ? "/coupon/1" : "/coupon/0x1");
            if (StatusLine(answer).startsWith("HTTP/1.1 429 ")) {
                refused = answer;
                break;
            }
            QCOMPARE(StatusLine(answer),
                     QByteArray(i % 2 ? "HTTP/1.1 200 OK" : "HTTP/1.1 400 Bad Request"));
            ++answered;
        }
        const qint64 earned = asking.elapsed() / 1000 + 1;
        QVERIFY2(
            answered >= 60 && answered <= 60 + earned,
            qPrintable(QStringLiteral("%1 answered in %2 ms").arg(answered).arg(asking.elapsed())));
        QCOMPARE(StatusLine(refused), QByteArray("HTTP/1.1 429 Too Many Requests"));
        QCOMPARE(Body(refused), QByteArray(R"({"error":"too-many"})"));
        QVERIFY2(refused.contains("\r\nRetry-After: 1\r\n"), refused.constData());
        QVERIFY(refused.contains("Content-Type: application/json; charset=utf-8\r\n"));
        QCOMPARE(StatusLine(LookUp("127.0.0.2", "/coupon/1")), QByteArray("HTTP/1.1 200 OK"));
        // The pages and the feed are not look-ups: the spent address still gets them.
        QCOMPARE(StatusLine(LookUp("127.0.0.1", "/en/")), QByteArray("HTTP/1.1 200 OK"));
        QVERIFY(JoinedFeed()->Connected());
    }

    // Addresses each within their own share together get no more than the common bound.
    void lookUpsAreBoundedInTotal() {
        HallServer::Options options = Options();
        options.limits.maxLookupsPerMinute = 6;
        StartServer(options);
        server_->SetCoupons(SmallSeries(75), 25, 75, {});
        for (int address = 2; address < 8; ++address) {
            const QByteArray source = "127.0.2." + QByteArray::number(address);
            QCOMPARE(StatusLine(LookUp(source.constData(), "/coupon/3")),
                     QByteArray("HTTP/1.1 200 OK"));
        }
        const QByteArray refused = LookUp("127.0.2.100", "/coupon/3");
        QCOMPARE(StatusLine(refused), QByteArray("HTTP/1.1 429 Too Many Requests"));
        QVERIFY2(refused.contains("\r\nRetry-After: 10\r\n"), refused.constData());
    }

    // Look-ups whose answers are never read hold no more than the address's share of waiting
    // connections; a phone elsewhere is still answered.
    void unreadLookUpsHoldOnlyTheirShare() {
        HallServer::Options options = Options();
        options.limits.lingerMs = 20000;
        StartServer(options);
        server_->SetCoupons(SmallSeries(75), 25, 75, {});
        const QByteArray request =
            "GET /coupon/1 HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(Port()) + "\r\n\r\n";
        std::vector<std::unique_ptr<QTcpSocket>> guests;
        for (int i = 0; i < 300; ++i) {
            guests.push_back(ConnectFrom("127.0.0.3", Port()));
            guests.back()->write(request);
        }
        QTest::qWait(300);
        QVERIFY(ServerSockets(Port()) <= server_->Limits().maxWaitingPerAddress + 2);
        QCOMPARE(StatusLine(LookUp("127.0.0.1", "/coupon/1")), QByteArray("HTTP/1.1 200 OK"));
    }

    // Asking for coupons, good or hostile, changes nothing of the game or of what the feed
    // hears; the next call the feed gets is the game's own.
    void couponLookUpsLeaveTheGameAlone() {
        server_->SetCoupons(SmallSeries(75), 25, 75, {{1, 3}});
        PlaySomeGame();
        auto watcher = JoinedFeed();
        watcher->frames.clear();
        for (const char* target : {"/coupon/1", "/coupon/4", "/coupon/9", "/coupon/1?reset=90",
                                   "/coupon/../ws", "/coupon/%2e%2e%2fstate.ini"}) {
            const QByteArray answer = LookUp("127.0.0.1", target);
            QVERIFY2(!StatusLine(answer).isEmpty(), target);
            QVERIFY(!answer.contains("secret"));
        }
        QCOMPARE(server_->Game(), SomeGame());
        QCOMPARE(JoinedFeed()->Calls(), SomeGameCatchUp());
        game_.PageUpdateMainScreen(3, 4, 2);
        QTRY_COMPARE_WITH_TIMEOUT(watcher->CallFrames(), 1, 10000);
        QCOMPARE(watcher->Calls(), (QJsonArray{QJsonArray{"updateMainScreen", 3, 4, 2}}));
    }

    // The window's thread changes the series while phones ask: each answer is of one series
    // whole, never a mix; and the coupons stay set across a restart.
    void couponsChangeWhileServed() {
        std::vector<std::uint8_t> ones(25 * 5, 1);
        std::vector<std::uint8_t> twos(25 * 5, 2);
        const auto first = std::make_shared<const std::vector<std::uint8_t>>(ones);
        const auto second = std::make_shared<const std::vector<std::uint8_t>>(twos);
        std::atomic<bool> stop{false};
        std::thread window([&] {
            for (int i = 0; !stop.load(); ++i) {
                std::this_thread::sleep_for(std::chrono::microseconds(50));
                server_->SetCoupons(i % 2 ? first : second, 25, 75,
                                    i % 3 ? std::vector<std::pair<int, int>>{}
                                          : std::vector<std::pair<int, int>>{{1, 5}});
            }
        });
        QString mixed;
        for (int i = 0; i < 40 && mixed.isEmpty(); ++i) {
            const QByteArray body = Body(LookUp("127.0.0.1", "/coupon/5"));
            const QByteArray numbers = body.mid(body.indexOf('['));
            if (numbers != "[" + QByteArray("1,").repeated(24) + "1]}" &&
                numbers != "[" + QByteArray("2,").repeated(24) + "2]}")
                mixed = QString::fromLatin1(body);
        }
        stop = true;
        window.join();
        QVERIFY2(mixed.isEmpty(), qPrintable(mixed));
        server_->SetCoupons(first, 25, 75, {});
        server_->Stop();
        std::string error;
        QVERIFY2(server_->Start("127.0.0.1", 0, &error), error.c_str());
        QCOMPARE(Body(LookUp("127.0.0.2", "/coupon/5")),
                 R"({"coupon":5,"numberCount":75,"numbers":[)" + QByteArray("1,").repeated(24) +
                     "1]}");
    }

    // A request head that never ends, or comes a byte at a time, is cut off in time.
    void halfOpenConnectionsAreClosed_data() {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<int>("dribbleMs"); // 0: nothing more is sent
        QTest::newRow("silent") << QByteArray() << 0;
        QTest::newRow("head never finished") << QByteArray("GET /fi/ HTTP/1.1\r\nHost: 127") << 0;
        QTest::newRow("feed request never finished")
            << QByteArray("GET /ws HTTP/1.1\r\nUpgrade: websocket\r\n") << 0;
        QTest::newRow("a byte every 50 ms") << QByteArray("GET /fi/ HTTP/1.1\r\n") << 50;
    }
    void halfOpenConnectionsAreClosed() {
        QFETCH(QByteArray, start);
        QFETCH(int, dribbleMs);
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(Port()));
        QVERIFY(socket.waitForConnected(5000));
        socket.write(start);
        QElapsedTimer timer;
        timer.start();
        QByteArray answer;
        while (socket.state() == QAbstractSocket::ConnectedState && timer.elapsed() < 20000) {
            if (dribbleMs > 0)
                socket.write("X");
            socket.waitForReadyRead(dribbleMs > 0 ? dribbleMs : 100);
            answer += socket.readAll();
        }
        QCOMPARE(socket.state(), QAbstractSocket::UnconnectedState);
        QVERIFY2(answer.isEmpty() || answer.startsWith("HTTP/1.1 408") ||
                     answer.startsWith("HTTP/1.1 431"),
                 answer.left(100).constData());
        auto feed = JoinedFeed();
        QVERIFY(feed->Connected());
    }

    // A browser that stops reading is dropped once it is a bound behind; the others keep
    // getting every call.
    void browserThatNeverReadsIsDropped() {
        auto reader = JoinedFeed();
        QTcpSocket stalled;
        stalled.connectToHost(QHostAddress::LocalHost, quint16(Port()));
        QVERIFY(stalled.waitForConnected(5000));
        stalled.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        stalled.setReadBufferSize(4096);
        stalled.write(
            "GET /ws HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(Port()) +
            "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(server_->ClientCount(), 2, 10000);
        reader->frames.clear();

        game_.PageReset(75, "");
        int sent = 1;
        QElapsedTimer timer;
        timer.start();
        while (server_->ClientCount() == 2 && timer.elapsed() < 60000) {
            for (int i = 0; i < 500; ++i, ++sent)
                game_.PageUpdateMainScreen(1 + sent % 75, 1, 1);
            // The reader keeps up, as a browser in the hall does, also on a slow machine: only
            // the stalled one may fall behind.
            QTRY_VERIFY_WITH_TIMEOUT(reader->CallFrames() + 2000 >= sent || !reader->Connected(),
                                     20000);
        }
        QCOMPARE(server_->ClientCount(), 1);
        // The reader got every call, in order, the stalled one notwithstanding.
        QTRY_COMPARE_WITH_TIMEOUT(reader->CallFrames(), sent, 60000);
        QVERIFY(reader->Connected());
        const QJsonArray calls = reader->Calls();
        QCOMPARE(calls.at(0).toArray().at(0).toString(), QStringLiteral("reset"));
        QCOMPARE(calls.last().toArray(),
                 (QJsonArray{"updateMainScreen", 1 + (sent - 1) % 75, 1, 1}));
        qInfo("the stalled browser was dropped after %d calls", sent);
    }

    // Browsers have nothing to say: what they send is discarded, and too much closes them.
    void framesFromBrowsersAreIgnored_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QByteArray>("binary");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("pings");
        const QString reset = QStringLiteral("{\"calls\":[[\"reset\",90,0,0,\"\"]]}");
        QTest::newRow("a call") << QStringList{reset} << QByteArray() << false << 0;
        QTest::newRow("a few texts")
            << QStringList{"x", "draw", "{}"} << QByteArray() << false << 0;
        QTest::newRow("binary") << QStringList{} << QByteArray(100, '\x01') << false << 0;
        QTest::newRow("over 1 KiB")
            << QStringList{QString(1100, QLatin1Char('a'))} << QByteArray() << true << 0;
        QTest::newRow("binary over 1 KiB") << QStringList{} << QByteArray(4096, '\0') << true << 0;
        QTest::newRow("flood") << QStringList(40, reset) << QByteArray() << true << 0;
        QTest::newRow("a few pings") << QStringList{} << QByteArray() << false << 3;
        QTest::newRow("ping flood") << QStringList{} << QByteArray() << true << 40;
    }
    void framesFromBrowsersAreIgnored() {
        QFETCH(QStringList, texts);
        QFETCH(QByteArray, binary);
        QFETCH(bool, closed);
        QFETCH(int, pings);
        PlaySomeGame();
        auto watcher = JoinedFeed();
        auto talker = JoinedFeed();
        watcher->frames.clear();
        talker->frames.clear();
        for (const QString& text : texts)
            talker->Socket().sendTextMessage(text);
        if (!binary.isEmpty())
            talker->Socket().sendBinaryMessage(binary);
        for (int i = 0; i < pings; ++i)
            talker->Socket().ping();
        talker->Socket().flush();
        if (closed) {
            QTRY_VERIFY_WITH_TIMEOUT(talker->Gone(), 10000);
            QTRY_COMPARE_WITH_TIMEOUT(server_->ClientCount(), 1, 5000);
        } else {
            // Long enough for the server to have read them; a heartbeat comes after.
            const int beats = talker->heartbeats;
            QTRY_VERIFY_WITH_TIMEOUT(talker->heartbeats > beats, 5000);
            QVERIFY(talker->Connected());
            QCOMPARE(server_->ClientCount(), 2);
        }
        QCOMPARE(server_->Game(), SomeGame());
        QCOMPARE(watcher->CallFrames(), 0);
        QCOMPARE(talker->CallFrames(), 0);
        auto after = JoinedFeed();
        QCOMPARE(after->Calls(), SomeGameCatchUp());
    }

    void foreignOriginGetsNoFeed() {
        Feed foreign(QStringLiteral("http://evil.example"));
        foreign.Open(Port());
        QTRY_VERIFY_WITH_TIMEOUT(foreign.Gone(), 10000);
        QVERIFY(foreign.frames.empty());
        Feed own(QStringLiteral("http://127.0.0.1:%1").arg(Port()));
        own.Open(Port());
        QTRY_VERIFY_WITH_TIMEOUT(own.frames.size() >= 2, 10000);
    }

    void theThousandAndFirstBrowserIsRefused() {
        // Every browser here comes from one address: its share is the whole.
        HallServer::Options options = Options();
        options.limits.maxFeedsPerAddress = 1000;
        options.limits.maxWaitingPerAddress = 256;
        StartServer(options);
        PlaySomeGame();
        std::vector<std::unique_ptr<Feed>> feeds;
        for (int batch = 0; batch < 10; ++batch) {
            for (int i = 0; i < 100; ++i) {
                feeds.push_back(std::make_unique<Feed>());
                feeds.back()->Open(Port());
            }
            const int wanted = (batch + 1) * 100;
            QTRY_COMPARE_WITH_TIMEOUT(server_->ClientCount(), wanted, 60000);
        }
        const QByteArray answer = RawExchange(
            Port(),
            "GET /ws HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(Port()) +
                "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n");
        QCOMPARE(StatusLine(answer), QByteArray("HTTP/1.1 503 Service Unavailable"));
        // A burst beyond the bound: every one of them is told so.
        std::vector<std::unique_ptr<QTcpSocket>> burst;
        for (int i = 0; i < 101; ++i) {
            burst.push_back(ConnectFrom("127.0.0.1", Port()));
            burst.back()->write(FeedRequest(Port()));
        }
        for (const auto& socket : burst) {
            QByteArray burstAnswer;
            QTRY_VERIFY_WITH_TIMEOUT((burstAnswer += socket->readAll()).contains("\r\n"), 10000);
            QCOMPARE(StatusLine(burstAnswer), QByteArray("HTTP/1.1 503 Service Unavailable"));
        }
        Feed extra;
        extra.Open(Port());
        QTRY_VERIFY_WITH_TIMEOUT(extra.Gone(), 10000);
        QCOMPARE(server_->ClientCount(), 1000);

        // Every one of the thousand gets the next call.
        game_.PageUpdateMainScreen(8, 4, 2);
        const QJsonArray next{"updateMainScreen", 8, 4, 2};
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(feeds.begin(), feeds.end(),
                                             [&](const auto& f) {
                                                 return !f->Calls().isEmpty() &&
                                                        f->Calls().last().toArray() == next;
                                             }),
                                 30000);
        // A place freed is a place for the next browser.
        feeds.pop_back();
        QTRY_COMPARE_WITH_TIMEOUT(server_->ClientCount(), 999, 10000);
        auto again = JoinedFeed();
        QCOMPARE(server_->ClientCount(), 1000);
        QCOMPARE(server_->Game().drawn.size(), std::size_t(4));
    }

    // An upgrade request is answered whatever its line ends, or refused with a status.
    void upgradeRequestsAreAnswered_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("status");
        const QByteArray head =
            "GET /ws HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\nUpgrade: websocket\r\n"
            "Connection: Upgrade\r\nSec-WebSocket-Version: 13\r\n";
        const QByteArray key = "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
        QTest::newRow("ends in a bare LF") << head + key + "\n" << QByteArray("101");
        QTest::newRow("bare LFs throughout")
            << QByteArray(head + key + "\n").replace("\r\n", "\n") << QByteArray("101");
        QTest::newRow("websocket among other upgrades")
            << QByteArray(head).replace("Upgrade: websocket", "Upgrade: foo, websocket") + key +
                   "\r\n"
            << QByteArray("101");
        QTest::newRow("key of 15 bytes")
            << head + "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ=\r\n\r\n"
            << QByteArray("400");
        QTest::newRow("key as words") << head + "Sec-WebSocket-Key: let me in\r\n\r\n"
                                      << QByteArray("400");
    }
    void upgradeRequestsAreAnswered() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, status);
        PlaySomeGame();
        auto socket = ConnectFrom("127.0.0.1", Port());
        socket->write(request.replace("@PORT@", QByteArray::number(Port())));
        QByteArray answer;
        QTRY_VERIFY_WITH_TIMEOUT(
            (answer += socket->readAll()).contains(status == "101" ? "\"calls\"" : "\r\n\r\n"),
            5000);
        QVERIFY2(answer.startsWith("HTTP/1.1 " + status + " "), answer.left(100).constData());
        if (status == "101") {
            QVERIFY(answer.contains("Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n"));
            QCOMPARE(server_->ClientCount(), 1);
            socket->abort();
            QTRY_COMPARE_WITH_TIMEOUT(server_->ClientCount(), 0, 5000);
        }
    }

    // Whatever comes after a good upgrade request in the same write, the place it took is
    // given back: a guest repeating it a hundred times leaves the feed open to the hall.
    void feedPlacesAreGivenBack_data() {
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("answered"); // the server says goodbye with a close frame
        QTest::newRow("close frame") << ClientFrame(0x88, QByteArray("\x03\xe8", 2)) << true;
        QTest::newRow("bytes that are no frame") << QByteArray("\x00\x01garbage", 9) << true;
        QTest::newRow("unmasked frame") << ClientFrame(0x81, "hello", false) << true;
        QTest::newRow("pipelined page request")
            << QByteArray("GET /en/ HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n") << true;
        QTest::newRow("ping flood") << ClientFrame(0x89, "p").repeated(50) << true;
        QTest::newRow("frame over the limit")
            << QByteArray("\x82\xfe\x10\x00\x01\x02\x03\x04", 8) + QByteArray(4096, 'x') << true;
    }
    void feedPlacesAreGivenBack() {
        QFETCH(QByteArray, after);
        QFETCH(bool, answered);
        HallServer::Options options = Options();
        options.limits.maxFeeds = 5;
        StartServer(options);
        std::vector<std::unique_ptr<QTcpSocket>> guests; // kept open: the guest never leaves
        for (int i = 0; i < 40; ++i) {
            guests.push_back(ConnectFrom("127.0.0.2", Port()));
            QTcpSocket* guest = guests.back().get();
            QVERIFY(guest->waitForConnected(5000));
            guest->write(FeedRequest(Port()) + after);
            QByteArray answer;
            QTRY_VERIFY_WITH_TIMEOUT((answer += guest->readAll()).contains("\"join\""), 5000);
            QVERIFY2(answer.startsWith("HTTP/1.1 101 "), answer.left(100).constData());
            if (answered)
                QTRY_VERIFY_WITH_TIMEOUT((answer += guest->readAll()).contains("\x88\x02"), 5000);
        }
        QTRY_COMPARE_WITH_TIMEOUT(server_->ClientCount(), 0, 5000);
        auto honest = JoinedFeed();
        QVERIFY(honest->Connected());
        QCOMPARE(server_->ClientCount(), 1);
    }

    // A thousand connections that never say a word, from one guest: the hall's browsers come
    // in at once, not after the head time-out; the guest's own share is all it holds.
    void silentGuestLocksNobodyOut() {
        HallServer::Options options = Options();
        options.limits.headTimeoutMs = 20000;
        StartServer(options);
        std::vector<std::unique_ptr<QTcpSocket>> silent;
        for (int i = 0; i < 1000; ++i)
            silent.push_back(ConnectFrom("127.0.0.2", Port()));
        QTest::qWait(500);
        QElapsedTimer joining;
        joining.start();
        auto feed = JoinedFeed();
        QVERIFY(feed->Connected());
        QVERIFY2(joining.elapsed() < 5000, "the browser waited for the guest's time-out");
        QVERIFY(ServerSockets(Port()) <= server_->Limits().maxWaitingPerAddress + 2);
    }

    // Guests on many addresses, each keeping its share busy with silent connections and page
    // requests whose answers it never reads: the server holds no more sockets than its bound,
    // and a browser still gets in.
    void descriptorsStayWithinTheBound() {
        HallServer::Options options = Options();
        options.limits.headTimeoutMs = 20000;
        options.limits.lingerMs = 20000;
        options.limits.maxWaiting = 40;
        options.limits.maxWaitingPerAddress = 4;
        options.limits.maxFeeds = 10;
        options.limits.evictableAfterMs = 300;
        StartServer(options);
        const int bound = options.limits.maxWaiting + options.limits.maxFeeds + 1;
        const QByteArray page =
            "GET /en/ HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(Port()) + "\r\n\r\n";
        std::vector<std::unique_ptr<QTcpSocket>> guests;
        int most = 0;
        for (int round = 0; round < 6; ++round) {
            for (int address = 2; address < 42; ++address) {
                const QByteArray source = "127.0.1." + QByteArray::number(address);
                for (int i = 0; i < 4; ++i) {
                    guests.push_back(ConnectFrom(source.constData(), Port()));
                    if (i % 2 == 0)
                        guests.back()->write(page);
                }
            }
            QTest::qWait(150);
            most = std::max(most, ServerSockets(Port()));
        }
        QVERIFY2(most <= bound,
                 qPrintable(QStringLiteral("%1 sockets, bound %2").arg(most).arg(bound)));
        QVERIFY(most >= options.limits.maxWaiting); // the bound was really reached
        auto feed = JoinedFeed();
        QVERIFY(feed->Connected());
        most = std::max(most, ServerSockets(Port()));
        QVERIFY(most <= bound);
    }

    // The longest request line allowed is allowed however its line end arrives.
    void requestLineLimitIgnoresPacketBoundaries() {
        const QByteArray line = "GET /en/?" + QByteArray(2048 - 18, 'a') + " HTTP/1.1";
        QCOMPARE(line.size(), 2048);
        const QByteArray rest = "\nHost: 127.0.0.1:" + QByteArray::number(Port()) + "\r\n\r\n";
        for (bool split : {false, true}) {
            auto socket = ConnectFrom("127.0.0.1", Port());
            QVERIFY(socket->waitForConnected(5000));
            socket->write(line + "\r");
            if (split) {
                socket->flush();
                QTest::qWait(100);
            }
            socket->write(rest);
            QByteArray answer;
            QTRY_VERIFY_WITH_TIMEOUT((answer += socket->readAll()).contains("\r\n"), 5000);
            QCOMPARE(StatusLine(answer), QByteArray("HTTP/1.1 200 OK"));
        }
    }

    void portInUseIsReportedNotFatal() {
        HallServer second(*settings_, game_, Options());
        std::string error;
        QVERIFY(!second.Start("127.0.0.1", Port(), &error));
        QVERIFY(!error.empty());
        QVERIFY(!second.Running());
        QVERIFY(second.Url().empty());
        // The first goes on serving.
        auto feed = JoinedFeed();
        QVERIFY(feed->Connected());
    }

    void addressThatIsNotOursIsReported() {
        HallServer other(*settings_, game_, Options());
        std::string error;
        QVERIFY(!other.Start("not an address", 0, &error));
        QVERIFY(!error.empty());
        QVERIFY(!other.Start("192.0.2.77", 0, &error)); // documentation range, never ours
        QVERIFY(!error.empty());
    }

    void stopClosesEveryConnectionAndStartServesAgain() {
        PlaySomeGame();
        auto feed = JoinedFeed();
        const int port = Port();
        server_->Stop();
        QVERIFY(!server_->Running());
        QTRY_VERIFY_WITH_TIMEOUT(feed->Gone(), 5000);
        // Calls made while stopped are kept for the next start.
        game_.PageUpdateMainScreen(3, 4, 2);
        std::string error;
        QVERIFY2(server_->Start("127.0.0.1", port, &error), error.c_str());
        QCOMPARE(server_->Url(), "http://127.0.0.1:" + std::to_string(port) + "/");
        feed->frames.clear();
        feed->Open(port);
        QTRY_VERIFY_WITH_TIMEOUT(feed->frames.size() >= 2, 10000);
        QJsonArray expected = SomeGameCatchUp();
        expected.removeLast();
        expected.append(QJsonArray{"updateMainScreen", 3, 4, 2});
        QCOMPARE(feed->Calls(), expected);
        QVERIFY(feed->frames.back().value("join").isObject());
    }

    void machineAddressesAreListenable() {
        const std::vector<std::string> addresses = HallServer::MachineAddresses();
        QVERIFY(std::find(addresses.begin(), addresses.end(), "127.0.0.1") != addresses.end());
        for (const std::string& address : addresses) {
            QVERIFY2(!QHostAddress(QString::fromStdString(address)).isNull(), address.c_str());
            QVERIFY(address.find('%') == std::string::npos);
        }
    }
};

std::unique_ptr<QObject> MakeTestHallServer() {
    return std::make_unique<TestHallServer>();
}

} // namespace zorvi::test

#include "TestHallServer.moc"
