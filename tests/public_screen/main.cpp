#include <QApplication>
#include <QtTest>
#include <memory>

#include "QtSuites.h"

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
    return zorvi::test::RunSuites(app.arguments(), {&zorvi::test::MakeTestPageScriptBridge,
                                                    &zorvi::test::MakeTestPublicScreenDlg,
                                                    &zorvi::test::MakeTestPublicScreenPages});
}
