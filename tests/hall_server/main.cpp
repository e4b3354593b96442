#include <QCoreApplication>
#include <QtTest>
#include <memory>

namespace zorvi::test {
std::unique_ptr<QObject> MakeTestHallProtocol();
std::unique_ptr<QObject> MakeTestHallServer();
} // namespace zorvi::test

// One executable for the protocol pieces and the running server; each suite runs in turn with
// the command line's test-function selection.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    const QStringList args = app.arguments();
    const auto run = [&](std::unique_ptr<QObject> suite) {
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
    run(zorvi::test::MakeTestHallProtocol());
    run(zorvi::test::MakeTestHallServer());
    return failures == 0 ? 0 : 1;
}
