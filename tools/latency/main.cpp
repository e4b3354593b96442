// zorvi-latency: how long a press of Space takes to show on the operator window and on the
// players' window (see docs/latency.md).
#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <functional>

#include "LatencyRun.h"
#include "LatencyStats.h"
#include "QuickRenderer.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace zorvi::latency;

namespace {

QString Line(const char* label, const std::vector<DrawTimes>& draws,
             const std::function<double(const DrawTimes&)>& pick) {
    std::vector<double> samples; // a time not seen is NaN, and so is a difference with one
    for (const DrawTimes& d : draws)
        samples.push_back(pick(d));
    const auto s = Summarise(samples);
    if (!s)
        return QStringLiteral("%1  no samples").arg(QLatin1String(label), -40);
    return QStringLiteral("%1  median %2 ms  p95 %3 ms  max %4 ms  (n=%5)")
        .arg(QLatin1String(label), -40)
        .arg(s->median, 6, 'f', 1)
        .arg(s->p95, 6, 'f', 1)
        .arg(s->max, 6, 'f', 1)
        .arg(s->count);
}

} // namespace

int main(int argc, char* argv[]) {
#ifdef Q_OS_UNIX
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The players' window draws as the program's does.
    const QString renderer = zorvi::ChooseQuickRenderer();
    QApplication::setApplicationName(QStringLiteral("ZORVI"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Measures Space to the operator window and to the players' window."));
    parser.addHelpOption();
    const QCommandLineOption drawsOption(QStringLiteral("draws"),
                                         QStringLiteral("Number of draws (default 30)."),
                                         QStringLiteral("n"), QStringLiteral("30"));
    const QCommandLineOption intervalOption(
        QStringLiteral("interval"), QStringLiteral("Milliseconds between draws (default 1300)."),
        QStringLiteral("ms"), QStringLiteral("1300"));
    const QCommandLineOption keysOption(
        QStringLiteral("keys"),
        QStringLiteral("auto (xdotool on X when installed, else Qt key events), xdotool or qt."),
        QStringLiteral("how"), QStringLiteral("auto"));
    const QCommandLineOption pageOption(QStringLiteral("page"),
                                        QStringLiteral("The page file (default: the built one)."),
                                        QStringLiteral("file"), QStringLiteral(ZORVI_LATENCY_PAGE));
    const QCommandLineOption noVoiceOption(QStringLiteral("no-voice"),
                                           QStringLiteral("No voice (default: tone recordings)."));
    const QCommandLineOption stillOption(QStringLiteral("still"),
                                         QStringLiteral("The page's animation off."));
    const QCommandLineOption noServedOption(
        QStringLiteral("no-served"),
        QStringLiteral("No hall server and no served browser (default: both, on 127.0.0.1)."));
    const QCommandLineOption chromiumOption(
        QStringLiteral("chromium"),
        QStringLiteral("A plain chromium window on the served page as well, for its pixels "
                       "(X display of 2560x1440 or more)."));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("One line per draw as well."));
    parser.addOption(chromiumOption);
    const QCommandLineOption ballsOption(
        QStringLiteral("balls"),
        QStringLiteral("Balls from the hall's ball machine: each ball typed into the ball field "
                       "and Enter, measured from Enter (default: Space draws)."));
    parser.addOption(ballsOption);
    parser.addOptions({drawsOption, intervalOption, keysOption, pageOption, noVoiceOption,
                       stillOption, noServedOption, verboseOption});
    parser.process(app);

    Options options;
    options.draws = std::clamp(parser.value(drawsOption).toInt(), 1, 75);
    options.intervalMs = std::clamp(parser.value(intervalOption).toInt(), 1050, 60000);
    options.keys = parser.value(keysOption);
    options.page = parser.value(pageOption);
    options.voice = !parser.isSet(noVoiceOption);
    options.animation = !parser.isSet(stillOption);
    options.verbose = parser.isSet(verboseOption);
    options.served = !parser.isSet(noServedOption);
    options.chromium = parser.isSet(chromiumOption);
    options.balls = parser.isSet(ballsOption);
    if (options.keys != QLatin1String("auto") && options.keys != QLatin1String("xdotool") &&
        options.keys != QLatin1String("qt")) {
        QTextStream(stderr) << "zorvi-latency: --keys takes auto, xdotool or qt\n";
        return 2;
    }

    std::vector<DrawTimes> draws;
    QString keys, servedNote, pixelNote, error;
    if (!RunLatency(options, draws, keys, servedNote, pixelNote, error)) {
        QTextStream(stderr) << "zorvi-latency: " << error << "\n";
        return 1;
    }

    QTextStream out(stdout);
    out << "zorvi-latency: " << draws.size() << " draws; keys: " << keys
        << "; voice: " << (options.voice ? "tone recordings" : "none")
        << "; page animation: " << (options.animation ? "on" : "off")
        << "; page views drawn by Qt Quick: " << renderer << "\n";
    out << (options.balls
                ? "times from Enter (a ball typed into the ball field) reaching the program:\n"
                : "times from Space reaching the program:\n");
    if (options.verbose) {
        out << "  number  command  saved  voice  voice-end  page-call  page-call-end  operator  "
               "page-change  page-frame  page-shown  served-change  served-frame\n";
        for (const DrawTimes& d : draws)
            out << QStringLiteral("  %1  %2  %3  ")
                       .arg(d.number, 6)
                       .arg(d.command, 7, 'f', 1)
                       .arg(d.drawnAndSaved, 5, 'f', 1)
                << QStringLiteral("%2  %3  %4  %5  %6  %7  %8  %9  ")
                       .arg(d.voiceStart, 5, 'f', 1)
                       .arg(d.voiceEnd, 9, 'f', 1)
                       .arg(d.pageCallStart, 9, 'f', 1)
                       .arg(d.pageCallEnd, 13, 'f', 1)
                       .arg(d.operatorPaint, 8, 'f', 1)
                       .arg(d.pageChange, 11, 'f', 1)
                       .arg(d.pageFrame, 10, 'f', 1)
                       .arg(d.pageShown, 10, 'f', 1)
                << QStringLiteral("%1  %2\n")
                       .arg(d.servedChange, 13, 'f', 1)
                       .arg(d.servedFrame, 12, 'f', 1);
    }
    out << Line("key->operator window paint", draws, [](auto& d) { return d.operatorPaint; })
        << "\n";
    out << Line("key->operator window board cell", draws, [](auto& d) { return d.operatorBoard; })
        << "\n";
    out << Line("key->public window first change", draws, [](auto& d) { return d.pageFrame; })
        << "\n";
    out << Line("key->public window number shown", draws, [](auto& d) { return d.pageShown; })
        << "\n";
    if (servedNote.isEmpty()) {
        out << Line("key->served browser first change", draws, [](auto& d) {
            return d.servedFrame;
        }) << "\n";
        out << Line("key->served browser number shown", draws, [](auto& d) {
            return d.servedShown;
        }) << "\n";
    } else {
        out << QStringLiteral("%1  not measured: %2\n")
                   .arg(QLatin1String("key->served browser"), -40)
                   .arg(servedNote);
    }
    // What a person sees: the display's own pixels.
    if (pixelNote.isEmpty()) {
        out << Line("key->operator window number pixels", draws, [](auto& d) {
            return d.operatorPixels;
        }) << "\n";
        out << Line("key->operator window board pixels", draws, [](auto& d) {
            return d.boardPixels;
        }) << "\n";
        out << Line("key->public window pixels", draws, [](auto& d) { return d.pagePixels; })
            << "\n";
        if (servedNote.isEmpty())
            out << Line("key->served browser pixels", draws, [](auto& d) { return d.servedPixels; })
                << "\n";
        if (options.chromium)
            out << Line("key->chromium window pixels", draws, [](auto& d) {
                return d.chromiumPixels;
            }) << "\n";
    } else {
        out << QStringLiteral("%1  not measured: %2\n")
                   .arg(QLatin1String("key->pixels on the display"), -40)
                   .arg(pixelNote);
    }
    out << "where the time goes:\n";
    out << Line("  key->draw command", draws, [](auto& d) { return d.command; }) << "\n";
    out << Line("  draw and save of the game", draws, [](auto& d) {
        return d.drawnAndSaved - d.command;
    }) << "\n";
    out << Line("  key->voice started", draws, [](auto& d) { return d.voiceStart; }) << "\n";
    out << Line("  voice call", draws, [](auto& d) { return d.voiceEnd - d.voiceStart; }) << "\n";
    out << Line("  key->page call", draws, [](auto& d) { return d.pageCallStart; }) << "\n";
    out << Line("  page call to page's document changed", draws, [](auto& d) {
        return d.pageChange - d.pageCallStart;
    }) << "\n";
    out << Line("  page call round trip", draws, [](auto& d) {
        return d.pageCallEnd - d.pageCallStart;
    }) << "\n";
    out << Line("  document changed->first frame", draws, [](auto& d) {
        return d.pageFrame - d.pageChange;
    }) << "\n";
    out << Line("  first frame->number shown", draws, [](auto& d) {
        return d.pageShown - d.pageFrame;
    }) << "\n";
    out << Line("  served page: document changed->first frame", draws, [](auto& d) {
        return d.servedFrame - d.servedChange;
    }) << "\n";
    out << Line("public window first change - operator paint", draws, [](auto& d) {
        return d.pageFrame - d.operatorPaint;
    }) << "\n";
    if (pixelNote.isEmpty()) {
        out << Line("  page's first frame->its window's pixels", draws, [](auto& d) {
            return d.pagePixels - d.pageFrame;
        }) << "\n";
        out << Line("public window pixels - operator number pixels", draws, [](auto& d) {
            return d.pagePixels - d.operatorPixels;
        }) << "\n";
        out << Line("operator board pixels - operator number pixels", draws, [](auto& d) {
            return d.boardPixels - d.operatorPixels;
        }) << "\n";
    }
    return draws.empty() ? 1 : 0;
}
