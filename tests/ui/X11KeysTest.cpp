// The operator window on a real X server (Xvfb) with real key events (xdotool): holding the
// Space bar on a busy machine, and typing after a refused coupon field. Run under xvfb-run.
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <memory>
#include <vector>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GuiSupport.h"
#include "Random.h"
#include "Settings.h"
#include "TestFolders.h"

using namespace zorvi;
using test::ModalScript;
using Answer = ModalScript::Answer;

namespace {

// Runs xdotool with the arguments and waits for it.
bool XDoTool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// Processes that keep every core busy while they live.
class CpuLoad {
public:
    explicit CpuLoad(int processes) {
        for (int i = 0; i < processes; ++i) {
            auto process = std::make_unique<QProcess>();
            process->start(QStringLiteral("sh"),
                           {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
            process->waitForStarted();
            spinners_.push_back(std::move(process));
        }
    }
    ~CpuLoad() {
        for (auto& process : spinners_) {
            process->kill();
            process->waitForFinished();
        }
    }

private:
    std::vector<std::unique_ptr<QProcess>> spinners_;
};

} // namespace

class X11KeysTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{31337};

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY2(XDoTool({QStringLiteral("version")}), "xdotool is needed");
    }
    void init() { folders_ = test::PlainGameFolders(); }
    void cleanup() { folders_.reset(); }

    // X repeats a held key as release-and-press pairs; a busy machine must not turn them into
    // draws. One tap draws one number, a five-second hold one more.
    void heldSpaceDrawsOnceOnABusyMachine() {
        ModalScript script;
        auto window = test::StartOperatorWindow(generator_, script);
        QVERIFY(window->isActiveWindow());
        QVERIFY(XDoTool({QStringLiteral("key"), QStringLiteral("space")}));
        QTRY_COMPARE(window->State().number_count, 1);
        QTest::qWait(1200); // the draw lock ends
        {
            CpuLoad load(3);
            QVERIFY(XDoTool({QStringLiteral("keydown"), QStringLiteral("space")}));
            QTest::qWait(5000);
            QVERIFY(XDoTool({QStringLiteral("keyup"), QStringLiteral("space")}));
            QTest::qWait(300);
        }
        QCOMPARE(window->State().number_count, 2);
        QVERIFY(script.Seen().isEmpty());
    }

    // The empty field refused with its message; the digits typed next land in the field.
    void digitsTypedAfterARefusedFieldLandInIt() {
        ModalScript script{Answer::Ok};
        auto window = test::StartOperatorWindow(generator_, script);
        auto* field = qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField));
        QTRY_COMPARE(QApplication::focusWidget(), field);
        field->clear();
        QVERIFY(XDoTool({QStringLiteral("key"), QStringLiteral("Return")}));
        QTRY_COMPARE(script.Seen(), QStringList{QStringLiteral("Enter a positive integer.")});
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QTRY_VERIFY(window->isActiveWindow());
        QVERIFY(XDoTool({QStringLiteral("type"), QStringLiteral("42")}));
        QTRY_COMPARE(field->text(), QStringLiteral("42"));
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("-"));
    }
};

QTEST_MAIN(X11KeysTest)
#include "X11KeysTest.moc"
