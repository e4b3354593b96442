#include "EndSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace zorvi {

#ifdef Q_OS_UNIX
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler can reach nothing but what is static; it only writes a byte to the pair
// that the event loop watches.
volatile sig_atomic_t handlerFd = -1;
volatile sig_atomic_t received = 0;

void OnSignal(int signal) {
    if (received) {
        // Asked twice: the first request is stuck, end now.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    received = 1;
    const char byte = 1;
    const int saved = errno;
    if (handlerFd >= 0)
        (void)!::write(handlerFd, &byte, 1);
    errno = saved;
}

} // namespace
#endif

EndSignals::EndSignals(std::function<void()> end, QObject* parent)
    : QObject(parent), end_(std::move(end)) {
#ifdef Q_OS_UNIX
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds_) != 0)
        return;
    ::fcntl(fds_[0], F_SETFL, O_NONBLOCK);
    ::fcntl(fds_[1], F_SETFL, O_NONBLOCK);
    handlerFd = fds_[0];
    received = 0;
    notifier_ = new QSocketNotifier(fds_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::Received);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
#endif
}

EndSignals::~EndSignals() {
#ifdef Q_OS_UNIX
    if (fds_[0] < 0)
        return;
    for (const int signal : kSignals)
        ::signal(signal, SIG_DFL);
    handlerFd = -1;
    ::close(fds_[0]);
    ::close(fds_[1]);
#endif
}

void EndSignals::Received() {
#ifdef Q_OS_UNIX
    char bytes[16];
    while (::read(fds_[1], bytes, sizeof bytes) > 0) {
    }
#endif
    if (end_)
        end_();
}

} // namespace zorvi
