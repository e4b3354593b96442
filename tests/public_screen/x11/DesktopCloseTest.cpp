// The desktop closing the players' window on a real X server (Xvfb): a window manager's close
// arrives as WM_DELETE_WINDOW. The window stays, with its page and the game on it.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QtGui/qguiapplication_platform.h>
#include <QtTest>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

#include "CHtmlContent.h"
#include "PageFanOut.h"
#include "PublicScreenDlg.h"
#include "Settings.h"

using namespace zorvi;

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// What a window manager sends when the user closes a window (close box, Alt+F4, taskbar).
void SendDeleteWindow(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11);
    xcb_connection_t* connection = x11->connection();
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window->winId());
    event.type = Atom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

QString PageValue(QWebEnginePage* page, const QString& expression) {
    auto result = std::make_shared<QString>();
    auto done = std::make_shared<bool>(false);
    QEventLoop loop;
    QPointer<QEventLoop> guard(&loop);
    page->runJavaScript(QStringLiteral("String(%1)").arg(expression),
                        [result, done, guard](const QVariant& value) {
                            *result = value.toString();
                            *done = true;
                            if (guard)
                                guard->quit();
                        });
    if (!*done) {
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return *result;
}

} // namespace

class DesktopCloseTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void windowManagerCloseIsRefused_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("same screen") << 1;
        QTest::newRow("other screen") << 2;
    }
    void windowManagerCloseIsRefused() {
        QFETCH(int, mode);
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            QSKIP("needs an X server");
        Settings settings{Settings::NoLoad{}};
        settings.disable_animation = 1;
        QWidget owner;
        owner.resize(300, 200);
        owner.show();
        PageFanOut pages;
        PublicScreenDlg screen(settings, pages, &owner);
        pages.Register(&screen);
        screen.SetHtmlFolder(QStringLiteral(ZORVI_HTML_FOLDER "/en"));
        QVERIFY(screen.Open(mode, false));
        screen.WaitUntilLoaded();
        auto* view = screen.window()->findChild<CHtmlContent*>();
        QVERIFY(view && view->HasDocument());
        pages.PageReset(75, "");
        pages.PageUpdateMainScreen(7, 1, 1);
        pages.PageUpdateMainScreen(61, 2, 1);
        QVERIFY(QTest::qWaitForWindowExposed(screen.window()));
        QPointer<QWidget> window = screen.window();
        // Only the document that was shown the game carries this.
        QCOMPARE(PageValue(view->page(), QStringLiteral("window.seenBefore = 'yes'")),
                 QStringLiteral("yes"));

        // A window that takes the close shows that the message arrives: X delivers in order,
        // so once it has closed the players' window has had its message as well.
        QWidget witness;
        witness.resize(100, 100);
        witness.show();
        QVERIFY(QTest::qWaitForWindowExposed(&witness));
        SendDeleteWindow(window);
        SendDeleteWindow(&witness);
        QTRY_VERIFY_WITH_TIMEOUT(!witness.isVisible(), 10000);

        QVERIFY(window);
        QCOMPARE(screen.window(), window.data());
        QVERIFY(window->isVisible());
        QVERIFY(screen.created() && screen.active());
        QCOMPARE(PageValue(view->page(), QStringLiteral("window.seenBefore")),
                 QStringLiteral("yes"));
        QCOMPARE(PageValue(view->page(),
                           QStringLiteral("Array.from(document.querySelectorAll('#board "
                                          ".cell.on')).map(c => c.textContent).join(',')")),
                 QStringLiteral("7,61"));
        // It keeps taking the game.
        pages.PageUpdateMainScreen(3, 3, 1);
        QTRY_COMPARE_WITH_TIMEOUT(
            PageValue(view->page(),
                      QStringLiteral("document.getElementById('number').textContent")),
            QStringLiteral("3"), 10000);
    }
};

QTEST_MAIN(DesktopCloseTest)
#include "DesktopCloseTest.moc"
