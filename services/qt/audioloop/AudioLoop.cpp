// AudioLoop FILE.wav: plays the file over and over until the process is ended. Keeps the
// sound output busy while ZORVI runs. Without a sound device it idles quietly; it never
// outlives the program that started it.
#include <QCoreApplication>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <cstdio>

#if defined(Q_OS_LINUX)
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace {

// How often the parent is looked for, as a second line behind the kernel's parent-death
// signal (which follows the parent's thread, not its process).
constexpr int kParentCheckMs = 500;

} // namespace

int main(int argc, char* argv[]) {
#if defined(Q_OS_LINUX)
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        return 0; // the parent is already gone
#endif
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: AudioLoop FILE.wav\n");
        return 2;
    }

#if defined(Q_OS_LINUX)
    QTimer parentCheck;
    QObject::connect(&parentCheck, &QTimer::timeout, [parent] {
        if (getppid() != parent)
            QCoreApplication::exit(0);
    });
    parentCheck.start(kParentCheckMs);
#endif

    QSoundEffect sound;
    sound.setLoopCount(QSoundEffect::Infinite);
    bool started = false;
    QObject::connect(&sound, &QSoundEffect::statusChanged, [&sound, &started, &args] {
        if (sound.status() == QSoundEffect::Ready && !started) {
            started = true;
            sound.play();
        } else if (sound.status() == QSoundEffect::Error) {
            // Nothing to loop: stay until ended, as the owner expects the process to run.
            std::fprintf(stderr, "AudioLoop: cannot play %s\n", qPrintable(args.at(1)));
        }
    });
    sound.setSource(QUrl::fromLocalFile(args.at(1)));
    if (sound.status() == QSoundEffect::Ready && !started) {
        started = true;
        sound.play();
    }
    return app.exec();
}
