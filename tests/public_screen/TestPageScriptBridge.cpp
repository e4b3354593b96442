#include <QJsonArray>
#include <QJsonObject>
#include <csignal>
#include <sys/types.h>

#include "PageScriptBridge.h"
#include "TestSupport.h"

namespace zorvi::test {

class TestPageScriptBridge : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CHtmlContent> LoadedView(const QString& relative) {
        auto view = std::make_unique<CHtmlContent>();
        view->resize(400, 300);
        view->LoadFile(TestDataPath(relative));
        return view;
    }

    QJsonArray Calls(CHtmlContent* view) {
        return RunScriptJson(view->page(), QStringLiteral("window.calls")).array();
    }

private slots:
    void hostileStringsArriveUnchanged_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << QStringLiteral("a'b\"c`d");
        QTest::newRow("breakout") << QStringLiteral("');alert(1);//\"]);window.calls=0;//");
        QTest::newRow("backslashes") << QStringLiteral("\\\\\\' \\u0041 \\x41 \\");
        QTest::newRow("script tag") << QStringLiteral("</script><script>window.calls=0</script>");
        QTest::newRow("line breaks") << QStringLiteral("one\ntwo\r\nthree\u2028four\u2029five");
        QTest::newRow("template") << QStringLiteral("${window.calls=0}");
        QTest::newRow("nul and controls") << QString::fromUtf16(u"a\u0000b\u0001\u001f\u007f");
        QTest::newRow("non latin") << QStringLiteral("Väärin! Fel! 🎱 ビンゴ ﷽");
        QTest::newRow("empty") << QString();
        QTest::newRow("json") << QStringLiteral("[1,2,{\"a\":null}]");
    }
    void hostileStringsArriveUnchanged() {
        QFETCH(QString, text);
        auto view = LoadedView(QStringLiteral("recorder/public_screen.htm"));
        QVERIFY(WaitForDocument(view.get()));

        const QString script = PageScriptBridge::BuildScript(QStringLiteral("echo"), {text});
        QVERIFY(!script.contains(QChar(0x2028)));
        QVERIFY(!script.contains(QChar(0x2029)));

        QString error;
        QVERIFY(CallScript(view.get(), QStringLiteral("echo"), QJsonArray{text, 42, -1}, error));
        QVERIFY(error.isEmpty());
        const QJsonArray calls = Calls(view.get());
        QCOMPARE(calls.size(), 1);
        const QJsonObject call = calls[0].toObject();
        QCOMPARE(call[QStringLiteral("name")].toString(), QStringLiteral("echo"));
        const QJsonArray args = call[QStringLiteral("args")].toArray();
        QCOMPARE(args.size(), 3);
        QCOMPARE(args[0].toString(), text);
        QCOMPARE(args[1].toInt(), 42);
        QCOMPARE(args[2].toInt(), -1);
        QCOMPARE(call[QStringLiteral("types")].toArray(),
                 (QJsonArray{QStringLiteral("string"), QStringLiteral("number"),
                             QStringLiteral("number")}));
    }

    void hostileNameFindsNoFunction() {
        auto view = LoadedView(QStringLiteral("recorder/public_screen.htm"));
        QVERIFY(WaitForDocument(view.get()));
        QString error;
        QVERIFY(!CallScript(view.get(), QStringLiteral("echo'](1);window.calls=0;//"), {}, error));
        QCOMPARE(error, QStringLiteral("Failed to get from script by id"));
        QCOMPARE(Calls(view.get()).size(), 0);
    }

    void failures_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("function");
        QTest::addColumn<bool>("rendererGone");
        QTest::addColumn<QString>("message");
        const QString byId = QStringLiteral("Failed to get from script by id");
        const QString invoke = QStringLiteral("Failed to invoke javascript function");
        QTest::newRow("page lacks showTicket") << "no_ticket/public_screen.htm"
                                               << "showTicket" << false << byId;
        QTest::newRow("not a function") << "recorder/public_screen.htm"
                                        << "notAFunction" << false << byId;
        QTest::newRow("throwing getter") << "recorder/public_screen.htm"
                                         << "trap" << false << byId;
        QTest::newRow("function throws") << "recorder/public_screen.htm"
                                         << "thrower" << false << invoke;
        QTest::newRow("renderer gone") << "recorder/public_screen.htm"
                                       << "reset" << true << QStringLiteral("Failed to get script");
        QTest::newRow("missing page") << "nowhere/public_screen.htm"
                                      << "reset" << false << byId;
    }
    void failures() {
        QFETCH(QString, page);
        QFETCH(QString, function);
        QFETCH(bool, rendererGone);
        QFETCH(QString, message);
        auto view = LoadedView(page);
        QVERIFY(WaitForDocument(view.get()));
        // Killed before the call; the view hears of it only while the call waits.
        if (rendererGone)
            ::kill(static_cast<pid_t>(view->page()->renderProcessPid()), SIGKILL);
        QString error;
        QVERIFY(!CallScript(view.get(), function, {1, 2}, error));
        QCOMPARE(error, message);
    }

    // A call returns at once: nothing else runs inside it, and its outcome comes from the
    // event loop afterwards, also for a call that is dropped.
    void callNeverWaits() {
        auto view = LoadedView(QStringLiteral("recorder/public_screen.htm"));
        QVERIFY(WaitForDocument(view.get()));
        bool tick = false;
        QTimer::singleShot(0, [&tick] { tick = true; });
        int outcomes = 0;
        for (CHtmlContent* target : {view.get(), static_cast<CHtmlContent*>(nullptr)})
            PageScriptBridge(target).CallPageScript(QStringLiteral("echo"), {1},
                                                    [&outcomes](const QString&) { ++outcomes; });
        QVERIFY(!tick);
        QCOMPARE(outcomes, 0);
        QTRY_COMPARE(outcomes, 2);
        QCOMPARE(Calls(view.get()).size(), 1);
    }

    void callWithoutDocumentIsDropped() {
        CHtmlContent view;
        QString error;
        // Never loaded.
        QVERIFY(CallScript(&view, QStringLiteral("reset"), {75, 0, 0}, error));
        QVERIFY(error.isEmpty());
        // Loading, not yet finished.
        view.LoadFile(TestDataPath(QStringLiteral("recorder/public_screen.htm")));
        QVERIFY(!view.HasDocument());
        QVERIFY(CallScript(&view, QStringLiteral("reset"), {75, 0, 0}, error));
        QVERIFY(error.isEmpty());
        QVERIFY(WaitForDocument(&view));
        QCOMPARE(Calls(&view).size(), 0);
        // A gone view is like no document.
        QVERIFY(CallScript(nullptr, QStringLiteral("reset"), {}, error));
    }

    void hangingFunctionTimesOut() {
        auto view = LoadedView(QStringLiteral("recorder/public_screen.htm"));
        QVERIFY(WaitForDocument(view.get()));
        QString error;
        QVERIFY(!CallScript(view.get(), QStringLiteral("hang"), {}, error, 300));
        QCOMPARE(error, QStringLiteral("Failed to invoke javascript function"));
        // Free the stuck renderer; the view loads its page again.
        ::kill(static_cast<pid_t>(view->page()->renderProcessPid()), SIGKILL);
        QSignalSpy restored(view.get(), &CHtmlContent::pageRestored);
        QVERIFY(restored.wait(20000));
        QVERIFY(CallScript(view.get(), QStringLiteral("echo"), {1}, error));
    }

    void rendererCrashDuringCallDoesNotHang() {
        auto view = LoadedView(QStringLiteral("recorder/public_screen.htm"));
        QVERIFY(WaitForDocument(view.get()));
        QSignalSpy gone(view.get(), &CHtmlContent::rendererGone);
        QSignalSpy restored(view.get(), &CHtmlContent::pageRestored);
        const qint64 pid = view->page()->renderProcessPid();
        QVERIFY(pid > 0);
        QTimer::singleShot(200, [pid] { ::kill(static_cast<pid_t>(pid), SIGKILL); });
        QString error;
        // The time-out is far beyond the test's own limit: only the crash can end the wait.
        QVERIFY(!CallScript(view.get(), QStringLiteral("hang"), {}, error, 600000));
        QCOMPARE(error, QStringLiteral("Failed to get script"));
        QCOMPARE(gone.size(), 1);
        // Until the page is back, calls are dropped; then they work again.
        QVERIFY(!view->HasDocument());
        QVERIFY(CallScript(view.get(), QStringLiteral("echo"), {}, error));
        QVERIFY(restored.wait(20000));
        QVERIFY(view->HasDocument());
        QVERIFY(CallScript(view.get(), QStringLiteral("echo"), {5}, error));
        QCOMPARE(Calls(view.get()).size(), 1);
    }

    void viewDestroyedDuringCall() {
        auto* view = new CHtmlContent;
        view->LoadFile(TestDataPath(QStringLiteral("recorder/public_screen.htm")));
        QVERIFY(WaitForDocument(view));
        const qint64 pid = view->page()->renderProcessPid();
        QTimer::singleShot(200, view, [view] { delete view; });
        QString error;
        // Gone with its page: dropped like a call without a document.
        QVERIFY(CallScript(view, QStringLiteral("hang"), {}, error, 600000));
        QVERIFY(error.isEmpty());
        if (pid > 0)
            ::kill(static_cast<pid_t>(pid), SIGKILL); // it may still spin
    }
};

std::unique_ptr<QObject> MakeTestPageScriptBridge() {
    return std::make_unique<TestPageScriptBridge>();
}

} // namespace zorvi::test

#include "TestPageScriptBridge.moc"
