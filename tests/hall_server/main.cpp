#include <QCoreApplication>
#include <QtTest>
#include <memory>

#include "QtSuites.h"

namespace zorvi::test {
std::unique_ptr<QObject> MakeTestHallProtocol();
std::unique_ptr<QObject> MakeTestHallServer();
std::unique_ptr<QObject> MakeTestHallBounds();
} // namespace zorvi::test

// One executable for the protocol pieces, the bounds and the running server; each suite runs in
// turn with the command line's test-function selection.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return zorvi::test::RunSuites(app.arguments(), {&zorvi::test::MakeTestHallProtocol,
                                                    &zorvi::test::MakeTestHallBounds,
                                                    &zorvi::test::MakeTestHallServer});
}
