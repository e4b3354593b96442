#include <QApplication>
#include <QtTest>
#include <memory>

namespace zorvi::test {
std::unique_ptr<QObject> MakeTestPageScriptBridge();
std::unique_ptr<QObject> MakeTestPublicScreenDlg();
std::unique_ptr<QObject> MakeTestPublicScreenPages();
} // namespace zorvi::test

// One executable for the bridge, the window and our pages; each suite runs in turn with the
// command line's test-function selection.
int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    int failures = 0;
    const QStringList args = app.arguments();
    const auto run = [&](std::unique_ptr<QObject> suite) {
        // A function name on the command line only runs where the suite has it.
        QStringList own{args.first()};
        bool selected = false;
        bool named = false;
        for (int i = 1; i < args.size(); ++i) {
            const QString& a = args[i];
            if (!a.startsWith(QLatin1Char('-'))) {
                named = true;
                const QByteArray fn = a.section(QLatin1Char(':'), 0, 0).toLatin1() + "()";
                if (suite->metaObject()->indexOfSlot(fn.constData()) < 0)
                    continue;
                selected = true;
            }
            own << a;
        }
        if (named && !selected)
            return;
        failures += QTest::qExec(suite.get(), own);
    };
    run(zorvi::test::MakeTestPageScriptBridge());
    run(zorvi::test::MakeTestPublicScreenDlg());
    run(zorvi::test::MakeTestPublicScreenPages());
    return failures == 0 ? 0 : 1;
}
