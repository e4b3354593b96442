#include "QuickRenderer.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSGRendererInterface>

namespace zorvi {

bool IsSoftwareOpenGl(const QString& renderer) {
    static const QRegularExpression software(
        QStringLiteral("llvmpipe|softpipe|swrast|software rasterizer|swiftshader"),
        QRegularExpression::CaseInsensitiveOption);
    return renderer.contains(software);
}

QString ChooseQuickRenderer() {
    // The operator's own choice stands.
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        return QStringLiteral("as QT_QUICK_BACKEND says (%1)")
            .arg(qEnvironmentVariable("QT_QUICK_BACKEND"));
    QString renderer;
    {
        QOffscreenSurface surface;
        surface.create();
        QOpenGLContext context;
        if (context.create() && context.makeCurrent(&surface)) {
            renderer = QString::fromLatin1(
                reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER)));
            context.doneCurrent();
        }
    }
    if (renderer.isEmpty()) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return QStringLiteral("software (no OpenGL)");
    }
    if (IsSoftwareOpenGl(renderer)) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return QStringLiteral("software (OpenGL is %1)").arg(renderer);
    }
    return QStringLiteral("OpenGL (%1)").arg(renderer);
}

} // namespace zorvi
