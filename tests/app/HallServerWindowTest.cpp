// The operator window with the hall server on: its address on the window, a browser on the
// feed that sees the game, and a port in use told to the operator without harm.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <filesystem>
#include <memory>
#include <vector>

#include "CZorviApp.h"
#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GuiSupport.h"
#include "HallServer.h"
#include "HallService.h"
#include "Random.h"
#include "Settings.h"
#include "TestFolders.h"

using namespace zorvi;
using test::ModalScript;

namespace {

// A port nobody listens on at the moment.
int FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The program's hall server, beside the operator window.
HallServer& Hall(test::OperatorWindow& window) {
    return test::ProgramOf(window).Hall().Server();
}

} // namespace

class HallServerWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{4242};
    int port_ = 0;

    void HallOn(int port) {
        test::WriteSettings([port](Settings& s) {
            s.language = 2;
            s.public_screen = 0;
            s.enable_background_voice = 0;
            s.hall_server = 1;
            s.hall_server_port = port;
            s.hall_server_address = "127.0.0.1";
        });
    }

private slots:
    void init() {
        folders_ = test::PlainGameFolders();
        port_ = FreePort();
        QVERIFY(port_ > 0);
    }
    void cleanup() { folders_.reset(); }

    void addressIsShownAndBrowsersGetTheGame() {
        HallOn(port_);
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        QVERIFY(Hall(window).Running());
        const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(port_);
        QCOMPARE(window->ControlText(Control::HallAddress),
                 QStringLiteral("Hall screens: 0 connected \u2014 ") + url);
        QVERIFY(window->ControlById(Control::HallAddress)->isVisible());
        // The players' window shows the same join code as the served pages.
        auto* screen = dynamic_cast<test::RecordingPlayersScreen*>(&window->PublicScreen());
        QVERIFY(screen);
        QCOMPARE(screen->joinUrl, url);
        QVERIFY(!screen->joinModules.isEmpty());

        QWebSocket feed;
        QJsonArray calls;
        connect(&feed, &QWebSocket::textMessageReceived, [&calls](const QString& text) {
            for (const QJsonValue& call :
                 QJsonDocument::fromJson(text.toUtf8()).object().value("calls").toArray())
                calls.append(call);
        });
        feed.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/ws").arg(port_)));
        QTRY_VERIFY_WITH_TIMEOUT(!calls.isEmpty(), 10000);
        QCOMPARE(calls.first().toArray().at(0).toString(), QStringLiteral("reset"));
        QCOMPARE(calls.first().toArray().at(1).toInt(), 75);
        // The operator sees the screen come, and go.
        QTRY_COMPARE_WITH_TIMEOUT(window->ControlText(Control::HallAddress),
                                  QStringLiteral("Hall screens: 1 connected \u2014 ") + url, 3000);

        // A draw with Space reaches the browser as the page call it is.
        calls = QJsonArray();
        test::EndDrawLock(*window);
        test::TapKey(*window, Qt::Key_Space);
        QCOMPARE(window->State().DrawnCount(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!calls.isEmpty(), 10000);
        QCOMPARE(calls.last().toArray(),
                 (QJsonArray{"updateMainScreen", window->State().CurrentNumber(), 1, 1}));
        QCOMPARE(Hall(window).Game().drawn, std::vector<int>{window->State().CurrentNumber()});
        QVERIFY(script.Seen().isEmpty());

        // A phone looks a coupon up in the series the game is played with.
        QTcpSocket lookUp;
        lookUp.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
        QVERIFY(lookUp.waitForConnected(5000));
        lookUp.write(QStringLiteral("GET /coupon/1 HTTP/1.1\r\nHost: 127.0.0.1:%1\r\n\r\n")
                         .arg(port_)
                         .toLatin1());
        QByteArray answer;
        QTRY_VERIFY_WITH_TIMEOUT((answer += lookUp.readAll()).contains("]}"), 5000);
        QJsonArray expected;
        for (const int number : window->Coupons().GetCoupon(1).Numbers())
            expected.append(number);
        const QJsonObject body =
            QJsonDocument::fromJson(answer.mid(answer.indexOf("\r\n\r\n") + 4)).object();
        QCOMPARE(body.value("numbers").toArray(), expected);
        feed.close();
        QTRY_COMPARE_WITH_TIMEOUT(window->ControlText(Control::HallAddress),
                                  QStringLiteral("Hall screens: 0 connected \u2014 ") + url, 3000);
    }

    // A guest past its share: the game log says the server refused, once.
    void refusalsAtTheBoundReachTheLog() {
        HallOn(port_);
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        const int share = Hall(window).Limits().maxWaitingPerAddress;
        std::vector<std::unique_ptr<QTcpSocket>> guests;
        for (int i = 0; i < share + 5; ++i) {
            guests.push_back(std::make_unique<QTcpSocket>());
            guests.back()->bind(QHostAddress(QStringLiteral("127.0.0.2")), 0);
            guests.back()->connectToHost(QHostAddress::LocalHost, quint16(port_));
        }
        const auto log = [this] {
            std::string text;
            for (const auto& entry :
                 std::filesystem::directory_iterator(folders_->dataFolder() / "logs"))
                text += test::TestFolders::ReadFile(entry.path());
            return text;
        };
        QTRY_VERIFY_WITH_TIMEOUT(log().find(": Hall server at its limit: 0 screens refused, ") !=
                                     std::string::npos,
                                 5000);
        QTest::qWait(1500);
        const std::string text = log();
        const std::string note = "Hall server at its limit:";
        QCOMPARE(text.find(note), text.rfind(note));
        QVERIFY(Hall(window).Running());
    }

    void portInUseIsToldAndTheGameGoesOn() {
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost, quint16(port_)));
        HallOn(port_);
        ModalScript script({ModalScript::Answer::Ok});
        auto window = test::StartOperatorWindow(generator_, script);
        QTRY_VERIFY_WITH_TIMEOUT(script.Done(), 10000);
        QCOMPARE(script.Seen().size(), 1);
        QVERIFY2(
            script.Seen().first().startsWith(
                QStringLiteral("The hall screens could not be started on port %1: ").arg(port_)),
            qPrintable(script.Seen().first()));
        QVERIFY(!Hall(window).Running());
        QVERIFY(window->ControlText(Control::HallAddress).isEmpty());
        QVERIFY(!window->ControlById(Control::HallAddress)->isVisible());
        QVERIFY(
            dynamic_cast<test::RecordingPlayersScreen&>(window->PublicScreen()).joinUrl.isEmpty());
        QVERIFY(!script.Unexpected());
    }

    void offByDefault() {
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        QVERIFY(!Hall(window).Running());
        QVERIFY(window->ControlText(Control::HallAddress).isEmpty());
    }
};

QTEST_MAIN(HallServerWindowTest)
#include "HallServerWindowTest.moc"
