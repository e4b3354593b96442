#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QtTest>
#include <initializer_list>
#include <memory>

namespace zorvi::test {

// Runs several QtTest suites of one executable in turn. A test-function name on the command
// line runs only in the suite that has it; with no name every suite runs whole. Returns the
// process's exit status.
inline int RunSuites(const QStringList& args,
                     std::initializer_list<std::unique_ptr<QObject> (*)()> makers) {
    int failures = 0;
    for (const auto make : makers) {
        const std::unique_ptr<QObject> suite = make();
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
            continue;
        failures += QTest::qExec(suite.get(), own);
    }
    return failures == 0 ? 0 : 1;
}

} // namespace zorvi::test
