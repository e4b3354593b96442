#include <QApplication>
#include <unistd.h>

#include "CZorviApp.h"

int main(int argc, char* argv[]) {
    // The page view's browser refuses to run as root inside its sandbox.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    zorvi::CZorviApp app;
    return app.InitInstance();
}
