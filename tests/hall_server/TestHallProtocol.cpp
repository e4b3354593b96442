// The hall server's pieces that need no network: reading a request head, the routes, the
// frames and the game a late browser is given.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <memory>
#include <string>

#include "CouponLookup.h"
#include "HallFrames.h"
#include "HallRoutes.h"
#include "HttpRequestHead.h"
#include "PrizeBoardJson.h"

Q_DECLARE_METATYPE(zorvi::HeadStatus)

namespace zorvi::test {

namespace {

constexpr int kPort = 8765;

HallRouteContext Context(int language = 0) {
    HallRouteContext context;
    context.port = kPort;
    context.language = language;
    context.isOurHost = [](std::string_view host) {
        return host == "localhost" || host == "127.0.0.1" || host == "192.168.1.10" ||
               host == "[::1]";
    };
    return context;
}

QJsonObject Parse(const std::string& frame) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(frame), &error);
    return error.error == QJsonParseError::NoError ? doc.object() : QJsonObject();
}

} // namespace

class TestHallProtocol : public QObject {
    Q_OBJECT

private slots:
    void requestHead_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<HeadStatus>("status");
        QTest::addColumn<QByteArray>("target");
        const auto row = [](const char* name, const QByteArray& raw, HeadStatus status,
                            const QByteArray& target = {}) {
            QTest::newRow(name) << raw << status << target;
        };
        row("plain", "GET /fi/ HTTP/1.1\r\nHost: a:1\r\n\r\n", HeadStatus::Complete, "/fi/");
        row("bare LF", "GET / HTTP/1.0\n\n", HeadStatus::Complete, "/");
        row("body after head", "GET /x HTTP/1.1\r\nHost: a\r\n\r\nrest", HeadStatus::Complete,
            "/x");
        row("unfinished line", "GET /fi/ HT", HeadStatus::Incomplete);
        row("unfinished head", "GET / HTTP/1.1\r\nHost: a\r\n", HeadStatus::Incomplete);
        row("empty", "", HeadStatus::Incomplete);
        row("no version", "GET /\r\n\r\n", HeadStatus::Malformed);
        row("HTTP/2", "GET / HTTP/2.0\r\n\r\n", HeadStatus::Malformed);
        row("two blanks", "GET  / HTTP/1.1\r\n\r\n", HeadStatus::Malformed);
        row("blank in target", "GET /a b HTTP/1.1\r\n\r\n", HeadStatus::Malformed);
        row("lower-case version", "GET / http/1.1\r\n\r\n", HeadStatus::Malformed);
        row("method not a token", "G(T / HTTP/1.1\r\n\r\n", HeadStatus::Malformed);
        row("blank line first", "\r\nGET / HTTP/1.1\r\n\r\n", HeadStatus::Malformed);
        row("binary", QByteArray("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\n\n", 13),
            HeadStatus::Malformed);
        row("nul in target", QByteArray("GET /\0 HTTP/1.1\r\n\r\n", 19), HeadStatus::Malformed);
        row("header without colon", "GET / HTTP/1.1\r\nHost a\r\n\r\n", HeadStatus::Malformed);
        row("blank before colon", "GET / HTTP/1.1\r\nHost : a\r\n\r\n", HeadStatus::Malformed);
        row("folded header", "GET / HTTP/1.1\r\nHost: a\r\n b\r\n\r\n", HeadStatus::Malformed);
        row("control in value", "GET / HTTP/1.1\r\nHost: a\x01\r\n\r\n", HeadStatus::Malformed);
        row("line too long", "GET /" + QByteArray(3000, 'a') + " HTTP/1.1\r\n\r\n",
            HeadStatus::LineTooLong);
        row("line too long, unfinished", "GET /" + QByteArray(3000, 'a'), HeadStatus::LineTooLong);
        row("head too large", "GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'a') + "\r\n\r\n",
            HeadStatus::HeadTooLarge);
        row("head too large, unfinished",
            "GET / HTTP/1.1\r\n" + QByteArray("X: aaaaaaaa\r\n").repeated(700),
            HeadStatus::HeadTooLarge);
    }
    void requestHead() {
        QFETCH(QByteArray, raw);
        QFETCH(HeadStatus, status);
        QFETCH(QByteArray, target);
        RequestHead head;
        QCOMPARE(ParseRequestHead(std::string_view(raw.constData(), std::size_t(raw.size())),
                                  HeadLimits{}, &head),
                 status);
        if (status == HeadStatus::Complete) {
            QCOMPARE(QByteArray::fromStdString(head.target), target);
            QVERIFY(head.length <= std::size_t(raw.size()));
        }
    }

    // Every prefix of a request reads as unfinished until its last byte.
    void requestHeadInPieces() {
        const std::string raw =
            "GET /ws HTTP/1.1\r\nHost: 127.0.0.1:8765\r\nUpgrade: websocket\r\n\r\n";
        for (std::size_t n = 0; n < raw.size(); ++n) {
            RequestHead head;
            QCOMPARE(ParseRequestHead(std::string_view(raw).substr(0, n), HeadLimits{}, &head),
                     HeadStatus::Incomplete);
        }
        RequestHead head;
        QCOMPARE(ParseRequestHead(raw, HeadLimits{}, &head), HeadStatus::Complete);
        QCOMPARE(head.length, raw.size());
        QCOMPARE(std::string(head.Header("upgrade").value_or("")), std::string("websocket"));
    }

    // Whatever the reads the bytes come in, the verdict, once given, is the verdict on the
    // whole: a limit does not depend on where a packet ended.
    void headVerdictDoesNotDependOnSplits_data() {
        QTest::addColumn<QByteArray>("raw");
        const QByteArray line2048 = "GET /en/?" + QByteArray(2048 - 18, 'a') + " HTTP/1.1";
        QTest::newRow("request line at its limit") << line2048 + "\r\nHost: a\r\n\r\n";
        QTest::newRow("one over") << "GET /en/?a" + line2048.mid(9) + "\r\nHost: a\r\n\r\n";
        QTest::newRow("head at its limit")
            << "GET / HTTP/1.1\r\nX: " + QByteArray(8192 - 23, 'a') + "\r\n\r\n";
        QTest::newRow("head one over")
            << "GET / HTTP/1.1\r\nX: " + QByteArray(8192 - 22, 'a') + "\r\n\r\n";
        QTest::newRow("bare LF") << QByteArray("GET / HTTP/1.1\nHost: a\n\n");
    }
    void headVerdictDoesNotDependOnSplits() {
        QFETCH(QByteArray, raw);
        const std::string_view whole(raw.constData(), std::size_t(raw.size()));
        RequestHead full;
        const HeadStatus verdict = ParseRequestHead(whole, HeadLimits{}, &full);
        QVERIFY(verdict != HeadStatus::Incomplete);
        for (std::size_t n = 0; n < whole.size(); ++n) {
            RequestHead head;
            const HeadStatus early = ParseRequestHead(whole.substr(0, n), HeadLimits{}, &head);
            if (early != HeadStatus::Incomplete) {
                QCOMPARE(early, verdict);
                if (early == HeadStatus::Complete)
                    QCOMPARE(head.length, full.length);
            }
        }
    }

    void routes_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("detail"); // the language served, or where it leads
        const QByteArray host = "Host: 127.0.0.1:8765\r\n";
        const QByteArray ws =
            "Upgrade: websocket\r\nConnection: keep-alive, Upgrade\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n";
        const auto get = [&](const QByteArray& target) {
            return "GET " + target + " HTTP/1.1\r\n" + host + "\r\n";
        };
        const auto row = [](const char* name, const QByteArray& raw, int status,
                            const QByteArray& detail = {}) {
            QTest::newRow(name) << raw << status << detail;
        };
        row("root leads to the operator's language", get("/"), 302, "/en/");
        row("fi", get("/fi/"), 200, "fi");
        row("se page", get("/se/public_screen.htm"), 200, "se");
        row("en with a query", get("/en/?tv=1"), 200, "en");
        row("folder without slash", get("/se"), 301, "/se/");
        row("websocket", "GET /ws HTTP/1.1\r\n" + host + ws + "\r\n", 101);
        row("websocket, own origin",
            "GET /ws HTTP/1.1\r\n" + host + ws + "Origin: http://127.0.0.1:8765\r\n\r\n", 101);
        row("websocket, foreign origin",
            "GET /ws HTTP/1.1\r\n" + host + ws + "Origin: http://evil.example\r\n\r\n", 403);
        row("websocket, origin of another port",
            "GET /ws HTTP/1.1\r\n" + host + ws + "Origin: http://127.0.0.1:8766\r\n\r\n", 403);
        row("websocket, https origin",
            "GET /ws HTTP/1.1\r\n" + host + ws + "Origin: https://127.0.0.1:8765\r\n\r\n", 403);
        row("websocket, null origin", "GET /ws HTTP/1.1\r\n" + host + ws + "Origin: null\r\n\r\n",
            403);
        row("websocket, two origins",
            "GET /ws HTTP/1.1\r\n" + host + ws +
                "Origin: http://127.0.0.1:8765\r\nOrigin: http://evil.example\r\n\r\n",
            403);
        row("websocket without upgrade", get("/ws"), 426);
        row("websocket without a key",
            "GET /ws HTTP/1.1\r\n" + host + "Upgrade: websocket\r\nConnection: Upgrade\r\n\r\n",
            400);
        row("websocket over HTTP/1.0", "GET /ws HTTP/1.0\r\n" + host + ws + "\r\n", 426);
        row("websocket among other upgrades",
            "GET /ws HTTP/1.1\r\n" + host + QByteArray(ws).replace("websocket", "foo, websocket") +
                "\r\n",
            101);
        row("websocket ending in a bare LF", "GET /ws HTTP/1.1\r\n" + host + ws + "\n", 101);
        const auto key = [&](const QByteArray& value) {
            return "GET /ws HTTP/1.1\r\n" + host +
                   QByteArray(ws).replace("dGhlIHNhbXBsZSBub25jZQ==", value) + "\r\n";
        };
        row("key of 15 bytes", key("dGhlIHNhbXBsZSBub25jZQ="), 400);
        row("key of 17 bytes", key("dGhlIHNhbXBsZSBub25jZQ1h"), 400);
        row("key not base64", key("dGhlIHNhbXBsZSBub25j*Q=="), 400);
        row("key with stray low bits", key("dGhlIHNhbXBsZSBub25jZR=="), 400);
        row("key as words", key("x"), 400);
        row("traversal", get("/../../etc/passwd"), 404);
        row("traversal inside a language", get("/fi/../../settings.ini"), 404);
        row("percent-encoded traversal", get("/%2e%2e/%2e%2e/etc/passwd"), 404);
        row("percent-encoded page name", get("/fi/public%5fscreen.htm"), 404);
        row("encoded slash", get("/fi%2f..%2f..%2fetc%2fpasswd"), 404);
        row("backslash", get("/fi\\..\\..\\state.ini"), 404);
        row("absolute file path", get("/etc/passwd"), 404);
        row("double slash", get("//etc/passwd"), 404);
        row("another file of the folder", get("/fi/script.js"), 404);
        row("absolute-form URL", get("http://127.0.0.1:8765/fi/"), 400);
        row("asterisk", get("*"), 400);
        row("POST", "POST /fi/ HTTP/1.1\r\n" + host + "Content-Length: 2\r\n\r\nhi", 405);
        row("PUT", "PUT /fi/public_screen.htm HTTP/1.1\r\n" + host + "\r\n", 405);
        row("DELETE", "DELETE /fi/ HTTP/1.1\r\n" + host + "\r\n", 405);
        row("OPTIONS", "OPTIONS * HTTP/1.1\r\n" + host + "\r\n", 405);
        row("CONNECT", "CONNECT 127.0.0.1:8765 HTTP/1.1\r\n" + host + "\r\n", 405);
        row("HEAD", "HEAD /fi/ HTTP/1.1\r\n" + host + "\r\n", 405);
        row("lower-case get", "get /fi/ HTTP/1.1\r\n" + host + "\r\n", 405);
        row("no host", "GET /fi/ HTTP/1.1\r\n\r\n", 400);
        row("no host, HTTP/1.0", "GET /fi/ HTTP/1.0\r\n\r\n", 200, "fi");
        row("two hosts", "GET /fi/ HTTP/1.1\r\n" + host + host + "\r\n", 400);
        row("foreign host", "GET /fi/ HTTP/1.1\r\nHost: evil.example:8765\r\n\r\n", 421);
        row("rebinding name", "GET /ws HTTP/1.1\r\nHost: attacker.example:8765\r\n" + ws + "\r\n",
            421);
        row("host without port", "GET /fi/ HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 421);
        row("host with another port", "GET /fi/ HTTP/1.1\r\nHost: localhost:80\r\n\r\n", 421);
        row("machine address", "GET /fi/ HTTP/1.1\r\nHost: 192.168.1.10:8765\r\n\r\n", 200, "fi");
        row("IPv6 loopback", "GET /fi/ HTTP/1.1\r\nHost: [::1]:8765\r\n\r\n", 200, "fi");
        row("host with user", "GET /fi/ HTTP/1.1\r\nHost: a@127.0.0.1:8765\r\n\r\n", 400);
        row("host with empty port", "GET /fi/ HTTP/1.1\r\nHost: 127.0.0.1:\r\n\r\n", 400);
        row("host with a huge port", "GET /fi/ HTTP/1.1\r\nHost: 127.0.0.1:99999999999\r\n\r\n",
            400);
        row("unclosed bracket", "GET /fi/ HTTP/1.1\r\nHost: [::1:8765\r\n\r\n", 400);
    }
    void routes() {
        QFETCH(QByteArray, raw);
        QFETCH(int, status);
        QFETCH(QByteArray, detail);
        RequestHead head;
        QCOMPARE(ParseRequestHead(std::string_view(raw.constData(), std::size_t(raw.size())),
                                  HeadLimits{}, &head),
                 HeadStatus::Complete);
        const HallRoute route = RouteRequest(head, Context(2));
        QCOMPARE(route.status, status);
        if (route.kind == HallRoute::Kind::Page)
            QCOMPARE(QByteArray::fromStdString(route.language), detail);
        if (route.kind == HallRoute::Kind::Redirect)
            QCOMPARE(QByteArray::fromStdString(route.location), detail);
    }

    // The look-up's addresses: one spelling of one number is a coupon; anything else under
    // /coupon is refused as malformed, and never reaches another route.
    void couponTargets_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("coupon");
        const QByteArray host = "Host: 127.0.0.1:8765\r\n";
        const auto get = [&](const QByteArray& target) {
            return "GET " + target + " HTTP/1.1\r\n" + host + "\r\n";
        };
        const int coupon = int(HallRoute::Kind::Coupon);
        const int refuse = int(HallRoute::Kind::Refuse);
        const auto row = [](const char* name, const QByteArray& raw, int kind, int status,
                            int number = 0) {
            QTest::newRow(name) << raw << kind << status << number;
        };
        row("one", get("/coupon/1"), coupon, 200, 1);
        row("342", get("/coupon/342"), coupon, 200, 342);
        row("highest", get("/coupon/999999"), coupon, 200, 999999);
        row("nothing", get("/coupon/"), coupon, 400);
        row("no slash", get("/coupon"), coupon, 400);
        row("query only", get("/coupon?n=1"), coupon, 400);
        row("zero", get("/coupon/0"), coupon, 400);
        row("negative", get("/coupon/-1"), coupon, 400);
        row("plus sign", get("/coupon/+1"), coupon, 400);
        row("exponent", get("/coupon/1e3"), coupon, 400);
        row("leading zero", get("/coupon/0342"), coupon, 400);
        row("a million", get("/coupon/1000000"), coupon, 400);
        row("trailing slash", get("/coupon/12/"), coupon, 400);
        row("query", get("/coupon/12?x"), coupon, 400);
        row("percent-encoded digit", get("/coupon/%31"), coupon, 400);
        row("hex", get("/coupon/0x1F"), coupon, 400);
        row("fraction", get("/coupon/1.5"), coupon, 400);
        row("two numbers", get("/coupon/1/2"), coupon, 400);
        row("traversal", get("/coupon/../state.ini"), coupon, 400);
        row("overlong", get("/coupon/" + QByteArray(2000, '9')), coupon, 400);
        row("overflowing int", get("/coupon/4294967297"), coupon, 400);
        row("another name", get("/coupons/1"), refuse, 404);
        row("upper case", get("/COUPON/1"), refuse, 404);
        row("POST", "POST /coupon/1 HTTP/1.1\r\n" + host + "\r\n", refuse, 405);
        row("foreign host", "GET /coupon/1 HTTP/1.1\r\nHost: evil.example:8765\r\n\r\n", refuse,
            421);
    }
    void couponTargets() {
        QFETCH(QByteArray, raw);
        QFETCH(int, kind);
        QFETCH(int, status);
        QFETCH(int, coupon);
        RequestHead head;
        QCOMPARE(ParseRequestHead(std::string_view(raw.constData(), std::size_t(raw.size())),
                                  HeadLimits{}, &head),
                 HeadStatus::Complete);
        const HallRoute route = RouteRequest(head, Context());
        QCOMPARE(int(route.kind), kind);
        QCOMPARE(route.status, status);
        QCOMPARE(route.coupon, coupon);
    }

    // The ranges as given are made sorted and merged; nonsense ranges hold no coupon, and a
    // list of only nonsense is not taken for the whole series.
    void couponRangesInPlay_data() {
        QTest::addColumn<QList<int>>("ranges"); // first, last, first, last, ...
        QTest::addColumn<QList<int>>("served"); // of coupons 1 to 10
        QTest::newRow("whole series") << QList<int>{} << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QTest::newRow("sorted") << QList<int>{2, 3, 7, 7} << QList<int>{2, 3, 7};
        QTest::newRow("unsorted and overlapping")
            << QList<int>{8, 9, 1, 2, 2, 4, 3, 3} << QList<int>{1, 2, 3, 4, 8, 9};
        QTest::newRow("one inside another")
            << QList<int>{1, 9, 3, 4} << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("reversed only") << QList<int>{5, 1} << QList<int>{};
        QTest::newRow("below one only") << QList<int>{-5, 0} << QList<int>{};
        QTest::newRow("beyond the series") << QList<int>{10, 500} << QList<int>{10};
    }
    void couponRangesInPlay() {
        QFETCH(QList<int>, ranges);
        QFETCH(QList<int>, served);
        std::vector<std::pair<int, int>> inPlay;
        for (qsizetype i = 0; i + 1 < ranges.size(); i += 2)
            inPlay.emplace_back(ranges[i], ranges[i + 1]);
        auto bytes = std::make_shared<const std::vector<std::uint8_t>>(std::size_t(15 * 10), 1);
        const CouponSeries series = MakeCouponSeries(bytes, 15, 90, inPlay);
        QList<int> answered;
        for (int coupon = 1; coupon <= 11; ++coupon) {
            const CouponAnswer answer = LookUpCoupon(&series, coupon);
            if (answer.status == 200)
                answered.append(coupon);
            else if (coupon == 11)
                QCOMPARE(answer.body, std::string(R"({"error":"not-in-series"})"));
            else
                QCOMPARE(answer.body, std::string(R"({"error":"not-in-play"})"));
        }
        QCOMPARE(answered, served);
    }

    void rootLeadsToEachLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("location");
        QTest::newRow("Finnish") << 0 << QByteArray("/fi/");
        QTest::newRow("Swedish") << 1 << QByteArray("/se/");
        QTest::newRow("English") << 2 << QByteArray("/en/");
        QTest::newRow("unknown") << 7 << QByteArray("/fi/");
        QTest::newRow("negative") << -1 << QByteArray("/fi/");
    }
    void rootLeadsToEachLanguage() {
        QFETCH(int, language);
        QFETCH(QByteArray, location);
        RequestHead head;
        QCOMPARE(
            ParseRequestHead("GET / HTTP/1.1\r\nHost: localhost:8765\r\n\r\n", HeadLimits{}, &head),
            HeadStatus::Complete);
        QCOMPARE(QByteArray::fromStdString(RouteRequest(head, Context(language)).location),
                 location);
    }

    void framesAreJson() {
        const QJsonObject reset = Parse(HallFrames::CallsFrame(
            {HallFrames::EncodeCall(PageResetCall{75, "1a2b3c4d5e6f7a8b"}, true)}, 42));
        QCOMPARE(reset.value("t").toInteger(), 42);
        QCOMPARE(reset.value("calls").toArray(),
                 QJsonArray({QJsonArray({"reset", 75, 0, 1, "1a2b3c4d5e6f7a8b"})}));
        const QJsonObject update = Parse(
            HallFrames::CallsFrame({HallFrames::EncodeCall(PageUpdateCall{-1, 0, 3}, false)}, 1));
        QCOMPARE(update.value("calls").toArray(),
                 QJsonArray({QJsonArray({"updateMainScreen", -1, 0, 3})}));
        const QJsonObject ticket = Parse(HallFrames::CallsFrame(
            {HallFrames::EncodeCall(PageTicket{"1,2,3", "0,1,2", true, 999999}, false)}, 1));
        QCOMPARE(ticket.value("calls").toArray(),
                 QJsonArray({QJsonArray({"showTicket", "1,2,3", "0,1,2", 1, 999999})}));
        const QJsonObject seal = Parse(HallFrames::CallsFrame(
            {HallFrames::EncodeCall(PageSealCall{"1a2b3c4d5e6f7a8b"}, false)}, 1));
        QCOMPARE(seal.value("calls").toArray(),
                 QJsonArray({QJsonArray({"showSeal", "1a2b3c4d5e6f7a8b"})}));
        // The prize board as one object, the same text the players' window sends its page.
        PagePrizeBoard board;
        board.game = 3;
        board.games = 12;
        board.name = "Kev\xC3\xA4t \"1\"";
        board.pattern = PagePattern{{"Rivi", "Rad", "Line"}, 15, {31u, 992u}};
        board.next = {PageNextGame{4, "Ilta", {{"a", "b", "c"}}, "50"}};
        const std::string boardCall = HallFrames::EncodeCall(board, false);
        QCOMPARE(boardCall, "[\"showPrizeBoard\"," + PrizeBoardJson(board) + "]");
        const QJsonArray boardCalls =
            Parse(HallFrames::CallsFrame({boardCall}, 1)).value("calls").toArray();
        QCOMPARE(boardCalls.size(), 1);
        QCOMPARE(boardCalls.at(0).toArray().size(), 2);
        QCOMPARE(boardCalls.at(0).toArray().at(0).toString(), QStringLiteral("showPrizeBoard"));
        const QJsonObject shown = boardCalls.at(0).toArray().at(1).toObject();
        QCOMPARE(shown.value("game").toInt(), 3);
        QCOMPARE(shown.value("name").toString(), QStringLiteral("Kev\u00e4t \"1\""));
        QCOMPARE(shown.value("pattern").toObject().value("masks").toArray(), QJsonArray({31, 992}));
        QCOMPARE(shown.value("pattern").toObject().value("squares").toInt(), 15);
        QCOMPARE(shown.value("next").toArray().at(0).toObject().value("number").toInt(), 4);
        const QJsonObject recall = Parse(HallFrames::CallsFrame({HallFrames::EncodeRecall(23)}, 1));
        QCOMPARE(recall.value("calls").toArray(), QJsonArray({QJsonArray({"showRecall", 23})}));
        QCOMPARE(Parse(HallFrames::HeartbeatFrame(1765400000123)).value("heartbeat").toInteger(),
                 1765400000123);
        QVERIFY(Parse(HallFrames::JoinFrame({}, 0, {})).value("join").isNull());
        const QJsonObject join =
            Parse(HallFrames::JoinFrame("http://192.168.1.10:8765/", 2, "1001"));
        QCOMPARE(join.value("join").toObject().value("url").toString(),
                 QStringLiteral("http://192.168.1.10:8765/"));
        QCOMPARE(join.value("join").toObject().value("size").toInt(), 2);
        QCOMPARE(join.value("join").toObject().value("modules").toString(), QStringLiteral("1001"));
    }

    // Texts in a frame reach the page unchanged, whatever they hold.
    void hostileTextsStayStrings() {
        const std::string text = std::string("\"]);alert(1);//\\ \n\t\x01 </script> ä", 33);
        const QJsonArray call =
            Parse(HallFrames::CallsFrame(
                      {HallFrames::EncodeCall(PageTicket{text, text, false, 1}, false)}, 0))
                .value("calls")
                .toArray()
                .at(0)
                .toArray();
        QCOMPARE(call.size(), 5);
        QCOMPARE(call.at(1).toString().toStdString(), text);
        QCOMPARE(call.at(3).toInt(), 0);
    }

    void catchUp() {
        PageGame game;
        game.numberCount = 90;
        game.commitment = "00ff";
        const auto calls = [](const PageGame& g) {
            return Parse(HallFrames::CallsFrame(HallFrames::CatchUpCalls(g, false), 0))
                .value("calls")
                .toArray();
        };
        QCOMPARE(calls(game), QJsonArray({QJsonArray({"reset", 90, 0, 0, "00ff"}),
                                          QJsonArray({"updateMainScreen", -1, 0, 1})}));
        game.drawn = {17, 4, 88};
        game.row = 2;
        game.ticket = PageTicket{"1,2", "2,0", false, 12};
        QCOMPARE(calls(game), QJsonArray({QJsonArray({"reset", 90, 0, 0, "00ff"}),
                                          QJsonArray({"updateMainScreen", 17, 1, 2}),
                                          QJsonArray({"updateMainScreen", 4, 2, 2}),
                                          QJsonArray({"updateMainScreen", 88, 3, 2}),
                                          QJsonArray({"showTicket", "1,2", "2,0", 0, 12})}));
        // The last game's seal comes last, after the game played under it.
        game.seal = "1a2b3c4d5e6f7a8b";
        QCOMPARE(calls(game), QJsonArray({QJsonArray({"reset", 90, 0, 0, "00ff"}),
                                          QJsonArray({"updateMainScreen", 17, 1, 2}),
                                          QJsonArray({"updateMainScreen", 4, 2, 2}),
                                          QJsonArray({"updateMainScreen", 88, 3, 2}),
                                          QJsonArray({"showTicket", "1,2", "2,0", 0, 12}),
                                          QJsonArray({"showSeal", "1a2b3c4d5e6f7a8b"})}));
        // The programme's board after the seal; game 0 (no programme) adds nothing.
        game.board.games = 5;
        QCOMPARE(calls(game).size(), 6);
        game.board.game = 2;
        const QJsonArray withBoard = calls(game);
        QCOMPARE(withBoard.size(), 7);
        QCOMPARE(withBoard.at(5).toArray().at(0).toString(), QStringLiteral("showSeal"));
        QCOMPARE(withBoard.at(6).toArray().at(0).toString(), QStringLiteral("showPrizeBoard"));
        QCOMPARE(withBoard.at(6).toArray().at(1).toObject().value("game").toInt(), 2);
    }

    void splitHost_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("name and port")
            << QByteArray("localhost:8765") << true << QByteArray("localhost") << 8765;
        QTest::newRow("no port") << QByteArray("localhost") << true << QByteArray("localhost")
                                 << 80;
        QTest::newRow("IPv6") << QByteArray("[fe80::1]:1024") << true << QByteArray("[fe80::1]")
                              << 1024;
        QTest::newRow("IPv6 no port") << QByteArray("[::1]") << true << QByteArray("[::1]") << 80;
        QTest::newRow("port 0") << QByteArray("a:0") << false << QByteArray() << 0;
        QTest::newRow("sign") << QByteArray("a:+80") << false << QByteArray() << 0;
        QTest::newRow("two colons") << QByteArray("a:1:2") << false << QByteArray() << 0;
        QTest::newRow("empty") << QByteArray("") << false << QByteArray() << 0;
        QTest::newRow("after bracket") << QByteArray("[::1]x") << false << QByteArray() << 0;
    }
    void splitHost() {
        QFETCH(QByteArray, field);
        QFETCH(bool, ok);
        QFETCH(QByteArray, host);
        QFETCH(int, port);
        std::string h;
        int p = 0;
        QCOMPARE(SplitHostField(field.toStdString(), &h, &p), ok);
        if (ok) {
            QCOMPARE(QByteArray::fromStdString(h), host);
            QCOMPARE(p, port);
        }
    }
};

std::unique_ptr<QObject> MakeTestHallProtocol() {
    return std::make_unique<TestHallProtocol>();
}

} // namespace zorvi::test

#include "TestHallProtocol.moc"
