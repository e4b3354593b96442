#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace zorvi {

// The requests to end that come from outside as signals: SIGTERM (the session logs out, the
// system shuts down), SIGINT (Ctrl+C in a terminal) and SIGHUP (the terminal went). Each is
// turned into a call of `end` on the event loop, so that the program ends in order, as when its
// window is closed: its objects go and their temporary files with them. A second signal while
// the first is handled ends the program at once. On Windows there are no such signals.
class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(std::function<void()> end, QObject* parent = nullptr);
    ~EndSignals() override;

private:
    void Received();

    std::function<void()> end_;
    QSocketNotifier* notifier_ = nullptr;
    int fds_[2] = {-1, -1};
};

} // namespace zorvi
