#include <QApplication>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "CZorviApp.h"
#include "EndSignals.h"
#include "PublicScreenDlg.h"
#include "QuickRenderer.h"
#include "TemporaryFiles.h"

int main(int argc, char* argv[]) {
#ifdef Q_OS_UNIX
    // The page view's browser refuses to run as root inside its sandbox; there is no root on
    // Windows.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    zorvi::ChooseQuickRenderer();
    // What a killed or crashed run left behind goes before this run makes its own.
    zorvi::ClearTemporaryLeftovers();
    zorvi::CZorviApp::Parts parts;
    parts.makeScreen = [](const zorvi::Settings& settings, const zorvi::PageFanOut& pages,
                          QWidget* owner) {
        return std::make_unique<zorvi::PublicScreenDlg>(settings, pages, owner);
    };
    zorvi::CZorviApp app(std::move(parts));
    const zorvi::EndSignals endSignals([&app] { app.EndOnSignal(); });
    return app.InitInstance();
}
