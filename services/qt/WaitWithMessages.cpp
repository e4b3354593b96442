#include "WaitWithMessages.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace zorvi::Helpers {

void WaitWithMessages(int milliseconds) {
    // A nested event loop keeps every window of this thread live until the time is up.
    QEventLoop loop;
    QTimer::singleShot(milliseconds < 0 ? 0 : milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace zorvi::Helpers
