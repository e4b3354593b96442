#include <QApplication>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "CZorviApp.h"

int main(int argc, char* argv[]) {
#ifdef Q_OS_UNIX
    // The page view's browser refuses to run as root inside its sandbox; there is no root on
    // Windows.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    zorvi::CZorviApp app;
    return app.InitInstance();
}
