// Starts the background sound program from the working directory's "audio" folder, prints
// its process id and waits until it is killed.
//
// With "--copies VOICE": announces number 1 in that voice and makes the alert tone (so that
// both temporary files exist), prints "ready" and runs until a signal ends it in order.
#include <QCoreApplication>
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
