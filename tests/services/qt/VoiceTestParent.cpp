// Starts the background sound program from the working directory's "audio" folder, prints
// its process id and waits until it is killed.
//
// With "--copies VOICE": announces number 1 in that voice and makes the alert tone (so that
// both temporary files exist), prints "ready" and runs until a signal ends it in order.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>

#include "EndSignals.h"
#include "Settings.h"
#include "Voice.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--copies") == 0) {
        zorvi::Settings settings{zorvi::Settings::NoLoad{}};
        settings.voice = argv[2];
        settings.enable_background_voice = 0;
        zorvi::Voice voice;
        voice.AttachSettings(settings);
        voice.SayNumber(1);
        (void)voice.AlertTonePath();
        // Qt 6.4's shared sample loader crashes a process that exits while it loads its very
        // first sound (it builds its network access in the exit handlers' way): the sound
        // loads first, as it long has when a hall's program ends.
        QElapsedTimer loading;
        loading.start();
        while (loading.elapsed() < 500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        const zorvi::EndSignals ending([] { QCoreApplication::quit(); });
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    zorvi::Voice voice;
    voice.StartBackgroundVoice();
    std::printf("%lld\n", voice.BackgroundProcessId());
    std::fflush(stdout);
    return app.exec();
}
