// Starts the background sound program from the working directory's "audio" folder, prints
// its process id and waits until it is killed.
#include <QCoreApplication>
#include <cstdio>

#include "Voice.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    zorvi::Voice voice;
    voice.StartBackgroundVoice();
    std::printf("%lld\n", voice.BackgroundProcessId());
    std::fflush(stdout);
    return app.exec();
}
