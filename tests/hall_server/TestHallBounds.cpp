// The hall server's WebSocket frames and its bounds policy, without sockets: what a browser's
// frames are judged to be, and which connection stays when places run out.
#include <QtTest>
#include <memory>
#include <string>

#include "HallPolicy.h"
#include "WebSocketFrames.h"

Q_DECLARE_METATYPE(zorvi::ws::FrameStatus)

namespace zorvi::test {

namespace {

// A frame as a browser sends it: masked, unless told otherwise.
QByteArray ClientFrame(int first, const QByteArray& payload, bool masked = true,
                       int lengthBytes = 0) {
    QByteArray frame;
    frame += char(first);
    const char maskBit = masked ? char(0x80) : char(0);
    const qsizetype size = payload.size();
    if (lengthBytes == 0)
        lengthBytes = size < 126 ? 0 : size <= 0xffff ? 2 : 8;
    if (lengthBytes == 0) {
        frame += char(maskBit | char(size));
    } else {
        frame += char(maskBit | (lengthBytes == 2 ? 126 : 127));
        for (int i = lengthBytes - 1; i >= 0; --i)
            frame += char((quint64(size) >> (8 * i)) & 0xff);
    }
    const QByteArray mask("\x12\x34\x56\x78", 4);
    if (masked)
        frame += mask;
    for (qsizetype i = 0; i < size; ++i)
        frame += masked ? char(payload[i] ^ mask[i % 4]) : payload[i];
    return frame;
}

constexpr std::size_t kMax = 1024;

} // namespace

class TestHallBounds : public QObject {
    Q_OBJECT

private slots:
    void clientFrames_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("inMessage");
        QTest::addColumn<ws::FrameStatus>("status");
        using S = ws::FrameStatus;
        const auto row = [](const char* name, const QByteArray& bytes, S status,
                            bool inMessage = false) {
            QTest::newRow(name) << bytes << inMessage << status;
        };
        row("text", ClientFrame(0x81, "hello"), S::Complete);
        row("ping", ClientFrame(0x89, "p"), S::Complete);
        row("close with code", ClientFrame(0x88, QByteArray("\x03\xe8", 2)), S::Complete);
        row("binary at the limit", ClientFrame(0x82, QByteArray(1024, 'x')), S::Complete);
        row("first of a split message", ClientFrame(0x01, "a"), S::Complete);
        row("continuation", ClientFrame(0x80, "a"), S::Complete, true);
        row("unmasked", ClientFrame(0x81, "hello", false), S::ProtocolError);
        row("reserved bit", ClientFrame(0xc1, "x"), S::ProtocolError);
        row("unknown opcode", ClientFrame(0x83, "x"), S::ProtocolError);
        row("fragmented ping", ClientFrame(0x09, "x"), S::ProtocolError);
        row("long ping", ClientFrame(0x89, QByteArray(126, 'x')), S::ProtocolError);
        row("close of one byte", ClientFrame(0x88, "x"), S::ProtocolError);
        row("continuation of nothing", ClientFrame(0x80, "a"), S::ProtocolError);
        row("new message inside one", ClientFrame(0x81, "a"), S::ProtocolError, true);
        row("length not in its shortest form", ClientFrame(0x81, "abc", true, 2), S::ProtocolError);
        row("64-bit length with its top bit",
            QByteArray("\x81\xff\x80\x00\x00\x00\x00\x00\x00\x00", 10), S::ProtocolError);
        row("over the limit", ClientFrame(0x82, QByteArray(1025, 'x')), S::TooBig);
        // Told by its head alone: the payload need not come at all.
        row("over the limit, head only", ClientFrame(0x82, QByteArray(70000, 'x')).left(10),
            S::TooBig);
        row("one byte", QByteArray("\x81", 1), S::Incomplete);
        row("no mask yet", ClientFrame(0x81, "hello").left(4), S::Incomplete);
    }
    void clientFrames() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, inMessage);
        QFETCH(ws::FrameStatus, status);
        ws::ClientFrameState state{inMessage};
        ws::ClientFrame frame;
        QCOMPARE(ws::ReadClientFrame(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                     kMax, &state, &frame),
                 status);
        if (status == ws::FrameStatus::Complete)
            QCOMPARE(frame.length, std::size_t(bytes.size()));
    }

    void controlPayloadIsUnmasked() {
        const QByteArray bytes = ClientFrame(0x89, "are you there") + ClientFrame(0x81, "x");
        ws::ClientFrameState state;
        ws::ClientFrame frame;
        QCOMPARE(ws::ReadClientFrame(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                     kMax, &state, &frame),
                 ws::FrameStatus::Complete);
        QCOMPARE(frame.opcode, ws::Opcode::Ping);
        QCOMPARE(frame.payload, std::string("are you there"));
        QVERIFY(frame.length < std::size_t(bytes.size()));
    }

    void serverFrames() {
        QCOMPARE(QByteArray::fromStdString(ws::ServerFrame(ws::Opcode::Text, "hi")),
                 QByteArray("\x81\x02hi"));
        const std::string medium = ws::ServerFrame(ws::Opcode::Text, std::string(300, 'a'));
        QCOMPARE(QByteArray::fromStdString(medium.substr(0, 4)), QByteArray("\x81\x7e\x01\x2c"));
        const std::string large = ws::ServerFrame(ws::Opcode::Text, std::string(70000, 'a'));
        QCOMPARE(QByteArray::fromStdString(large.substr(0, 10)),
                 QByteArray("\x81\x7f\x00\x00\x00\x00\x00\x01\x11\x70", 10));
        QCOMPARE(large.size(), std::size_t(70010));
        QCOMPARE(QByteArray::fromStdString(ws::CloseFrame(ws::kCloseProtocolError)),
                 QByteArray("\x88\x02\x03\xea"));
    }

    // One guest's share: its own oldest connection goes, nobody else's.
    void addressShareEvictsItsOwnOldest() {
        HallLimits limits;
        limits.maxWaiting = 10;
        limits.maxWaitingPerAddress = 3;
        HallPolicy policy(limits);
        QVERIFY(policy.Connect(1, "10.0.0.9", 0).admit);
        for (HallPolicy::Id id = 2; id <= 4; ++id)
            QVERIFY(policy.Connect(id, "10.0.0.66", std::int64_t(id)).admit);
        const HallPolicy::Admission fifth = policy.Connect(5, "10.0.0.66", 10);
        QVERIFY(fifth.admit);
        QCOMPARE(fifth.evict, std::optional<HallPolicy::Id>(2));
        QCOMPARE(policy.Waiting(), 4);
        QVERIFY(!policy.Connect(6, "10.0.0.7", 11).evict);
    }

    // All places taken by many addresses: the oldest of the address with the most gives way,
    // but only once it is old enough; until then accepting pauses.
    void fullPoolMakesRoomOrPauses() {
        HallLimits limits;
        limits.maxWaiting = 6;
        limits.maxWaitingPerAddress = 3;
        limits.evictableAfterMs = 500;
        HallPolicy policy(limits);
        policy.Connect(1, "a", 0);
        policy.Connect(2, "b", 10);
        policy.Connect(3, "b", 20);
        policy.Connect(4, "c", 30);
        policy.Connect(5, "c", 40);
        policy.Connect(6, "c", 50);
        QVERIFY(policy.MustPause(100));
        const HallPolicy::Admission early = policy.Connect(7, "d", 100);
        QVERIFY(!early.admit);
        QVERIFY(!policy.MustPause(600));
        const HallPolicy::Admission later = policy.Connect(8, "d", 600);
        QVERIFY(later.admit);
        QCOMPARE(later.evict, std::optional<HallPolicy::Id>(4)); // "c" holds the most
        QCOMPARE(policy.Waiting(), 6);
    }

    void feedsAreBoundedInAllAndPerAddress() {
        HallLimits limits;
        limits.maxFeeds = 3;
        limits.maxFeedsPerAddress = 2;
        HallPolicy policy(limits);
        for (HallPolicy::Id id = 1; id <= 5; ++id)
            policy.Connect(id, id <= 3 ? "a" : "b", 0);
        QCOMPARE(policy.JoinFeed(1), HallPolicy::FeedVerdict::Admit);
        QCOMPARE(policy.JoinFeed(2), HallPolicy::FeedVerdict::Admit);
        QCOMPARE(policy.JoinFeed(3), HallPolicy::FeedVerdict::AddressFull);
        QCOMPARE(policy.JoinFeed(4), HallPolicy::FeedVerdict::Admit);
        QCOMPARE(policy.JoinFeed(5), HallPolicy::FeedVerdict::Full);
        QCOMPARE(policy.Feeds(), 3);
        // A feed that leaves gives its place back, whether it lingers or not.
        QVERIFY(policy.LeaveFeed(1, 0));
        policy.Closed(1);
        QCOMPARE(policy.JoinFeed(3), HallPolicy::FeedVerdict::Admit);
        policy.Closed(2);
        policy.Closed(3);
        policy.Closed(4);
        QCOMPARE(policy.Feeds(), 0);
    }

    // Every frame counts, whatever its kind.
    void frameRate() {
        HallLimits limits;
        limits.maxIncomingFramesPerSecond = 5;
        HallPolicy policy(limits);
        policy.Connect(1, "a", 0);
        QCOMPARE(policy.JoinFeed(1), HallPolicy::FeedVerdict::Admit);
        for (int i = 0; i < 5; ++i)
            QVERIFY(policy.CountFrame(1, 100));
        QVERIFY(!policy.CountFrame(1, 200));
        QVERIFY(policy.CountFrame(1, 1200));
    }

    void deadlines() {
        HallLimits limits;
        limits.headTimeoutMs = 1000;
        limits.lingerMs = 200;
        HallPolicy policy(limits);
        policy.Connect(1, "a", 0);
        policy.Connect(2, "a", 500);
        policy.Answered(2, 600);
        QVERIFY(policy.Expire(700).heads.empty());
        QCOMPARE(policy.Expire(800).lingering, std::vector<HallPolicy::Id>{2});
        QCOMPARE(policy.Expire(1000).heads, std::vector<HallPolicy::Id>{1});
    }

    void limitNoteAtMostOnceAMinute() {
        HallLimits limits;
        limits.maxFeeds = 1;
        HallPolicy policy(limits);
        QVERIFY(!policy.TakeLimitNote(0));
        policy.Connect(1, "a", 0);
        policy.Connect(2, "b", 0);
        policy.JoinFeed(1);
        policy.JoinFeed(2);
        const std::optional<std::string> note = policy.TakeLimitNote(1000);
        QVERIFY(note);
        QCOMPARE(QString::fromStdString(*note),
                 QStringLiteral("Hall server at its limit: 1 screen refused, 0 connections cut "
                                "short; 1 of 1 screens, 1 of 256 requests open"));
        policy.JoinFeed(2);
        QVERIFY(!policy.TakeLimitNote(30000));
        QVERIFY(policy.TakeLimitNote(61000));
        QVERIFY(!policy.TakeLimitNote(200000));
    }

    // Sixty look-ups at once from one phone, then one a second; a refused one takes nothing,
    // and the answer says when to come back.
    void lookupsPerAddress() {
        HallLimits limits; // 60 a minute for one address
        HallPolicy policy(limits);
        for (int i = 0; i < 60; ++i)
            QVERIFY(policy.CountLookup("a", 0).allow);
        const HallPolicy::LookupVerdict refused = policy.CountLookup("a", 0);
        QVERIFY(!refused.allow);
        QCOMPARE(refused.retryAfterSeconds, 1);
        QVERIFY(!policy.CountLookup("a", 999).allow);
        // Another phone is not held back by the first.
        QVERIFY(policy.CountLookup("b", 999).allow);
        // The refusals above took nothing: exactly one more a second.
        QVERIFY(policy.CountLookup("a", 1000).allow);
        QVERIFY(!policy.CountLookup("a", 1000).allow);
        QVERIFY(policy.CountLookup("a", 3000).allow);
        QVERIFY(policy.CountLookup("a", 3000).allow);
        QVERIFY(!policy.CountLookup("a", 3000).allow);
        // A clock that goes back gives nothing.
        QVERIFY(!policy.CountLookup("a", -100000).allow);
        // A quiet minute fills the bucket, and no more than full.
        int allowed = 0;
        while (policy.CountLookup("a", 600000).allow)
            ++allowed;
        QCOMPARE(allowed, 60);
    }

    // Many addresses together get no more than the common bound, and wait its refill.
    void lookupsInTotal() {
        HallLimits limits;
        limits.maxLookupsPerMinute = 120; // two a second
        HallPolicy policy(limits);
        int allowed = 0;
        for (int address = 0; address < 100; ++address) {
            for (int i = 0; i < 5; ++i)
                allowed += policy.CountLookup("10.0.0." + std::to_string(address), 0).allow;
        }
        QCOMPARE(allowed, 120);
        const HallPolicy::LookupVerdict refused = policy.CountLookup("10.0.1.1", 0);
        QVERIFY(!refused.allow);
        QCOMPARE(refused.retryAfterSeconds, 1);
        QVERIFY(policy.CountLookup("10.0.1.1", 500).allow);
        QVERIFY(!policy.CountLookup("10.0.1.2", 500).allow);
        const std::optional<std::string> note = policy.TakeLimitNote(1000);
        QVERIFY(note);
        QVERIFY2(note->find("; 382 coupon look-ups refused") != std::string::npos, note->c_str());
    }

    // A flood from ever new addresses: the table of buckets stays within its bound, what is
    // let through stays within the common bound, and a phone that keeps asking keeps its own
    // bucket (only the least recent are forgotten).
    void lookupTableBounded() {
        HallLimits limits;
        limits.maxLookupAddresses = 4096;
        limits.maxLookupsPerMinute = 6000;
        HallPolicy policy(limits);
        for (int i = 0; i < 60; ++i)
            QVERIFY(policy.CountLookup("192.168.1.50", 0).allow);
        int allowed = 0;
        for (int i = 0; i < 200000; ++i) {
            const std::string address = "[fd00::" + std::to_string(i) + "]";
            allowed += policy.CountLookup(address, i / 100).allow;
            QVERIFY(policy.LookupAddresses() <= limits.maxLookupAddresses);
            if (i % 1000 == 0) // the phone asks again now and then, and is still spent
                QVERIFY(!policy.CountLookup("192.168.1.50", 0).allow);
        }
        QCOMPARE(policy.LookupAddresses(), limits.maxLookupAddresses);
        // 2 seconds passed: the common bucket and 200 a second of refill at most.
        QVERIFY2(allowed <= 6000 + 200, qPrintable(QString::number(allowed)));
    }

    // The network never takes the descriptors the program needs for itself.
    void limitsFitTheDescriptors_data() {
        QTest::addColumn<qint64>("openFiles");
        QTest::addColumn<int>("feeds");
        QTest::addColumn<int>("waiting");
        QTest::addColumn<int>("feedsPerAddress");
        QTest::addColumn<int>("waitingPerAddress");
        QTest::newRow("raised limit") << qint64(3792) << 1000 << 256 << 100 << 16;
        QTest::newRow("desktop default") << qint64(1024) << 576 << 191 << 57 << 11;
        QTest::newRow("low") << qint64(512) << 192 << 63 << 19 << 4;
        QTest::newRow("tiny") << qint64(64) << 1 << 1 << 1 << 1;
    }
    void limitsFitTheDescriptors() {
        QFETCH(qint64, openFiles);
        QFETCH(int, feeds);
        QFETCH(int, waiting);
        QFETCH(int, feedsPerAddress);
        QFETCH(int, waitingPerAddress);
        const HallLimits fitted = FitToDescriptors(HallLimits{}, openFiles);
        QCOMPARE(fitted.maxFeeds, feeds);
        QCOMPARE(fitted.maxWaiting, waiting);
        QCOMPARE(fitted.maxFeedsPerAddress, feedsPerAddress);
        QCOMPARE(fitted.maxWaitingPerAddress, waitingPerAddress);
        QVERIFY(fitted.maxWaitingPerAddress <= fitted.maxWaiting);
        QVERIFY(fitted.maxFeedsPerAddress <= fitted.maxFeeds);
        if (openFiles > 512)
            QVERIFY(fitted.maxFeeds + fitted.maxWaiting + 1 <= openFiles - openFiles / 4);
    }
};

std::unique_ptr<QObject> MakeTestHallBounds() {
    return std::make_unique<TestHallBounds>();
}

} // namespace zorvi::test

#include "TestHallBounds.moc"
