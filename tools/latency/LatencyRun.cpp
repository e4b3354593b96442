#include "LatencyRun.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <cmath>
#include <functional>
#include <memory>
#include <unistd.h>

#include "CZorviApp.h"
#include "CZorviDlg.h"
#include "ChromiumFlags.h"
#include "ControlIds.h"
#include "DrawSource.h"
#include "Folders.h"
#include "Game.h"
#include "Helpers.h"
#include "PageProbe.h"
#include "PublicScreenDlg.h"
#include "Settings.h"

namespace zorvi::latency {

namespace {

constexpr int kNumberCount = 75;
constexpr const char* kVoiceName = "Latency";

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const double until = NowMs() + timeoutMs;
    while (!done()) {
        if (NowMs() > until)
            return false;
        Wait(2);
    }
    return true;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A short tone as 16-bit mono PCM at 22050 Hz, about as long as a called number.
QByteArray ToneWave(int number) {
    constexpr int kRate = 22050;
    constexpr int kSamples = kRate * 7 / 10;
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + kSamples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(kRate) << quint32(kRate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(kSamples * 2);
    const double pitch = 300.0 + 5.0 * number;
    for (int i = 0; i < kSamples; ++i)
        out << qint16(8000.0 * std::sin(2.0 * M_PI * pitch * i / kRate));
    return data;
}

// A coupon series of a few 75-number coupons: five columns, each five numbers of its range.
QByteArray CouponSeries(int coupons) {
    QByteArray bytes;
    for (int k = 0; k < coupons; ++k)
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 5; ++column)
                bytes.append(char(column * 15 + (row * 3 + k) % 15 + 1));
    return bytes;
}

// A program folder and a data folder of the run's own, under a temporary folder; the program
// folder becomes the working directory.
bool PrepareFolders(const QTemporaryDir& root, const Options& options, int hallPort,
                    QString& error) {
    const QString program = root.filePath(QStringLiteral("program"));
    QFile page(options.page);
    if (!page.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the page %1").arg(options.page);
        return false;
    }
    const QByteArray pageBytes = page.readAll();
    bool ok = WriteBytes(program + QStringLiteral("/kup75.hex"), CouponSeries(10));
    for (const char* lang : {"fi", "se", "en"})
        ok = ok &&
             WriteBytes(program +
                            QStringLiteral("/html/%1/public_screen.htm").arg(QLatin1String(lang)),
                        pageBytes);
    if (options.voice) {
        const QString voice = program + QStringLiteral("/audio/") + QLatin1String(kVoiceName);
        for (int n = 1; n <= kNumberCount && ok; ++n)
            ok = WriteBytes(voice + QStringLiteral("/%1.wav").arg(n), ToneWave(n));
        ok = ok && WriteBytes(voice + QStringLiteral("/numeroraja.wav"), ToneWave(0)) &&
             WriteBytes(voice + QStringLiteral("/oikein.wav"), ToneWave(1));
    }
    if (!ok) {
        error = QStringLiteral("cannot write the program folder under %1").arg(root.path());
        return false;
    }
    qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("xdg")).toLocal8Bit());
    QDir::setCurrent(program);

    Helpers::EnsureDataFolder();
    Settings settings(Settings::NoLoad{});
    settings.language = 2;
    settings.public_screen = 1;
    settings.public_screen_width = options.screenWidth;
    settings.public_screen_height = options.screenHeight;
    settings.enable_background_voice = 0;
    settings.voice = options.voice ? kVoiceName : "";
    settings.disable_animation = options.animation ? 0 : 1;
    settings.ball_source = options.balls ? 1 : 0;
    if (!settings.SaveSettings()) {
        error = QStringLiteral("cannot write the settings");
        return false;
    }
    // The hall server's keys by name: a program without the server leaves them alone.
    if (hallPort > 0 && !Helpers::WriteIniValues(Settings::kFileName,
                                                 {{"hall_server", "1"},
                                                  {"hall_server_port", std::to_string(hallPort)},
                                                  {"hall_server_address", "127.0.0.1"}})) {
        error = QStringLiteral("cannot write the settings");
        return false;
    }
    return true;
}

// A port on 127.0.0.1 that is free now (0: none found).
int FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const int port = probe.serverPort();
    probe.close();
    return port;
}

// A browser in the hall: a page view of its own, loading the page from the hall server.
struct ServedBrowser {
    std::unique_ptr<QWebEngineView> view;
    std::unique_ptr<PageProbe> probe;

    // Loads the page; a note saying what failed, or empty when the page is up with its probe.
    QString Open(int port) {
        view = std::make_unique<QWebEngineView>();
        view->setWindowTitle(QStringLiteral("served page"));
        view->resize(1280, 720);
        view->move(0, 0);
        view->show();
        bool loaded = false, ok = false;
        QObject::connect(view.get(), &QWebEngineView::loadFinished, [&](bool success) {
            loaded = true;
            ok = success;
        });
        const QUrl url(QStringLiteral("http://127.0.0.1:%1/en/").arg(port));
        view->load(url);
        if (!WaitUntil([&] { return loaded; }, 10000) || !ok)
            return QStringLiteral("no hall server answered at %1").arg(url.toString());
        probe = std::make_unique<PageProbe>(view->page());
        if (!probe->Install() || !probe->Calibrate())
            return QStringLiteral("the served page did not answer");
        // The page connects its live feed once loaded; the game comes with the connection.
        const bool live = WaitUntil(
            [&] {
                return Evaluate(view->page(), QStringLiteral("document.querySelectorAll("
                                                             "'#board .cell').length"))
                           .toInt() >= kNumberCount;
            },
            5000);
        Wait(1000);
        return live ? QString() : QStringLiteral("the served page showed no board");
    }
};

// The operator window as the program builds it, noting when the draw reaches the voice and
// the page call.
class TimedWindow : public CZorviDlg {
public:
    using CZorviDlg::CZorviDlg;

    void EnableControl(int id, bool enable) override {
        const double now = NowMs();
        if (std::isnan(current.command))
            current.command = now;
        // The first request after the number is drawn and saved.
        if (id == Control::CancelNumber && std::isnan(current.drawnAndSaved))
            current.drawnAndSaved = now;
        CZorviDlg::EnableControl(id, enable);
    }
    void SayNumber(int number) override {
        current.voiceStart = NowMs();
        CZorviDlg::SayNumber(number);
        current.voiceEnd = NowMs();
    }

    DrawTimes current; // absolute times until the draw is done
};

// A page registered with the game's fan-out before the real pages (`first`) or after them: it
// notes when the draw's page call starts and when every page has taken it.
class PageClock : public PageCalls {
public:
    PageClock(TimedWindow*& window, bool first) : window_(window), first_(first) {}
    void PageReset(int, const std::string&) override {}
    void PageUpdateMainScreen(int currentNumber, int, int) override {
        if (!window_)
            return;
        if (first_) {
            window_->current.number = currentNumber;
            window_->current.pageCallStart = NowMs();
        } else {
            window_->current.pageCallEnd = NowMs();
        }
    }
    void PageShowTicket(const PageTicket&) override {}
    void PageShowGame(const PageGame&) override {}

private:
    TimedWindow*& window_;
    bool first_;
};

// Notes when Space reaches the program, before any other filter sees it, and when the
// operator window's current number is first painted with the new number.
class KeyAndPaintClock : public QObject {
public:
    // Installed on the application after the operator window's own key filter, so it sees
    // every key first, and every paint. `key` is Space, or Enter for a ball entered.
    KeyAndPaintClock(CZorviDlg& window, int key) : window_(window), key_(key) {}

    void Arm() {
        keyAt = paintAt = boardAt = -1;
        armed_ = true;
    }

    double keyAt = -1;
    double paintAt = -1; // the current number, showing the new one
    double boardAt = -1; // the new number's board cell

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && armed_ && keyAt < 0) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == key_ || (key_ == Qt::Key_Return && key->key() == Qt::Key_Enter)) &&
                !key->isAutoRepeat())
                keyAt = NowMs();
        } else if (event->type() == QEvent::Paint && keyAt >= 0) {
            const int current = window_.State().CurrentNumber();
            if (current <= 0)
                return false;
            if (paintAt < 0 && watched == window_.ControlById(Control::CurrentNumber) &&
                window_.ControlText(Control::CurrentNumber).toInt() == current)
                paintAt = NowMs();
            else if (boardAt < 0 &&
                     watched == window_.ControlById(Control::FirstBoardCell + current - 1))
                boardAt = NowMs();
        }
        return false;
    }

private:
    CZorviDlg& window_;
    int key_;
    bool armed_ = false;
};

void PressSpace(bool xdotool) {
    if (xdotool) {
        QProcess::startDetached(QStringLiteral("xdotool"),
                                {QStringLiteral("key"), QStringLiteral("space")});
        return;
    }
    // Posted, not sent: the key goes through the event loop as a platform key does.
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        return;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space,
                                                      Qt::NoModifier, QStringLiteral(" ")));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space,
                                                      Qt::NoModifier, QStringLiteral(" ")));
}

// A ball typed into the focused field, then Enter: the time runs from Enter, as from Space.
void TypeBall(int ball, bool xdotool, std::function<void()> beforeEnter) {
    const QString digits = QString::number(ball);
    if (xdotool) {
        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("type"), digits});
        Wait(50); // the digits through the event loop before Enter
        beforeEnter();
        QProcess::startDetached(QStringLiteral("xdotool"),
                                {QStringLiteral("key"), QStringLiteral("Return")});
        return;
    }
    QWidget* target = QApplication::focusWidget();
    if (!target)
        return;
    for (const QChar digit : digits) {
        const int key = Qt::Key_0 + digit.digitValue();
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(digit)));
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, QString(digit)));
    }
    Wait(20);
    beforeEnter();
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                      Qt::NoModifier, QStringLiteral("\r")));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return,
                                                      Qt::NoModifier, QStringLiteral("\r")));
}

double Since(double t, double origin) {
    return t > 0 && origin > 0 ? t - origin : kNotSeen;
}

} // namespace

// The pixel watch as a child process: the changes it saw, by area, on this process's clock.
class PixelWatch {
public:
    ~PixelWatch() {
        if (process_.state() != QProcess::NotRunning) {
            process_.closeWriteChannel();
            if (!process_.waitForFinished(2000))
                process_.kill();
        }
    }

    // Starts watching the areas ("WINDOW:X,Y,W,H"); a note saying why not, or empty.
    QString Start(const QStringList& areas) {
        const QString program = QDir(QCoreApplication::applicationDirPath())
                                    .filePath(QStringLiteral("zorvi-pixel-watch"));
        if (!QFileInfo::exists(program))
            return QStringLiteral("zorvi-pixel-watch was not built (no X11 development files)");
        changes_.assign(std::size_t(areas.size()), {});
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { Read(); });
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (qEnvironmentVariableIsSet("ZORVI_LATENCY_AREAS"))
            qInfo("pixel areas: %s", qPrintable(areas.join(QLatin1Char(' '))));
        process_.start(program, areas);
        if (!process_.waitForStarted(5000))
            return QStringLiteral("zorvi-pixel-watch did not start");
        // Its first round only takes the pixels as they are.
        Wait(100);
        if (process_.state() != QProcess::Running)
            return QStringLiteral("zorvi-pixel-watch: ") +
                   QString::fromLocal8Bit(process_.readAllStandardError()).trimmed();
        return {};
    }

    // The first change of an area after `t0` (and within 3 s), or kNotSeen.
    double FirstAfter(int area, double t0) {
        Read();
        for (const double at : changes_.at(std::size_t(area)))
            if (at > t0 && at < t0 + 3000)
                return at;
        return kNotSeen;
    }

private:
    void Read() {
        while (process_.canReadLine()) {
            const QList<QByteArray> parts = process_.readLine().trimmed().split(' ');
            bool okArea = false, okTime = false;
            if (parts.size() != 2)
                continue;
            const int area = parts[0].toInt(&okArea);
            const double at = parts[1].toDouble(&okTime);
            if (okArea && okTime && area >= 0 && std::size_t(area) < changes_.size())
                changes_[std::size_t(area)].push_back(at);
        }
    }

    QProcess process_;
    std::vector<std::vector<double>> changes_;
};

// An area of the screen where a widget is: what a person sees there, whichever window draws it.
// Debian's chromium in a window of its own on the served page, as a browser in the hall shows
// it: the comparison for our page views' pixels.
class ChromiumWindow {
public:
    static constexpr QRect kPlace{1280, 720, 1280, 720};

    ~ChromiumWindow() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    // A note saying why not, or empty once the window has had time to show the page.
    QString Open(int port) {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (program.isEmpty())
            return QStringLiteral("no chromium installed");
        QStringList args = QuietChromiumFlags(profile_.path());
        args << QStringLiteral("--window-position=%1,%2").arg(kPlace.x()).arg(kPlace.y())
             << QStringLiteral("--window-size=%1,%2").arg(kPlace.width()).arg(kPlace.height())
             << QStringLiteral("--app=http://127.0.0.1:%1/en/").arg(port);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start(program, args);
        if (!process_.waitForStarted(10000))
            return QStringLiteral("chromium did not start");
        Wait(5000);
        if (process_.state() != QProcess::Running)
            return QStringLiteral("chromium ended at once");
        return {};
    }

private:
    QTemporaryDir profile_;
    QProcess process_;
};

QString AreaOf(QWidget* top, const QRect& rect) {
    const QPoint onScreen = top->mapToGlobal(rect.topLeft());
    return QStringLiteral("0:%1,%2,%3,%4")
        .arg(onScreen.x())
        .arg(onScreen.y())
        .arg(rect.width())
        .arg(rect.height());
}

QRect RectIn(QWidget* top, QWidget* child) {
    return QRect(child->mapTo(top, QPoint(0, 0)), child->size());
}

bool RunLatency(const Options& options, std::vector<DrawTimes>& draws, QString& keysUsed,
                QString& servedNote, QString& pixelNote, QString& error) {
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/zorvi-latency-XXXXXX"));
    if (!root.isValid()) {
        error = QStringLiteral("no temporary folder");
        return false;
    }
    const QString oldCwd = QDir::currentPath();
    const int hallPort = options.served ? FreePort() : 0;
    if (options.served && hallPort == 0)
        servedNote = QStringLiteral("no free port on 127.0.0.1");
    if (!PrepareFolders(root, options, hallPort, error))
        return false;

    const bool xcb = QGuiApplication::platformName() == QLatin1String("xcb");
    const bool haveXdotool = !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
    bool xdotool = false;
    if (options.keys == QLatin1String("xdotool")) {
        if (!xcb || !haveXdotool) {
            error = QStringLiteral("xdotool keys need the xcb platform (an X server) and xdotool");
            return false;
        }
        xdotool = true;
    } else if (options.keys == QLatin1String("auto")) {
        xdotool = xcb && haveXdotool;
    }
    keysUsed = xdotool ? QStringLiteral("xdotool (real X key events on %1)")
                             .arg(QString::fromLocal8Bit(qgetenv("DISPLAY")))
                       : QStringLiteral("Qt key events posted to the event loop (%1)")
                             .arg(QGuiApplication::platformName());

    OsRandomSource source;
    TimedWindow* timed = nullptr;
    PageClock callStart(timed, true);
    PageClock callEnd(timed, false);
    CZorviApp::Parts parts;
    parts.makeScreen = [](const Settings& settings, const PageFanOut& pages, QWidget* owner) {
        return std::make_unique<PublicScreenDlg>(settings, pages, owner);
    };
    parts.makeWindow = [&timed](Game& game) {
        auto made = std::make_unique<TimedWindow>(game);
        timed = made.get();
        return made;
    };
    parts.gameBuilt = [&callStart](Game& game) { game.Pages().Register(&callStart); };
    auto program = std::make_unique<CZorviApp>(source, std::move(parts));
    program->GetGame().Pages().Register(&callEnd);
    TimedWindow* window = timed;
    window->Start();
    window->show();
    window->activateWindow();
    WaitUntil([&] { return window->isActiveWindow(); }, 5000);
    if (QApplication::activeModalWidget()) {
        error = QStringLiteral("the start-up left a message open");
        return false;
    }
    QWidget* screen = window->PublicScreen().window();
    auto* view = screen ? screen->findChild<QWebEngineView*>(QStringLiteral("page_view")) : nullptr;
    if (!view) {
        error = QStringLiteral("the players' window did not open");
        return false;
    }
    PageProbe probe(view->page());
    if (!WaitUntil([&] { return probe.Install(); }, 10000) || !probe.Calibrate()) {
        error = QStringLiteral("the players' page did not answer");
        return false;
    }

    ServedBrowser browser;
    if (hallPort > 0)
        servedNote = browser.Open(hallPort);
    PageProbe* served = servedNote.isEmpty() ? browser.probe.get() : nullptr;
    if (!served && servedNote.isEmpty())
        servedNote = QStringLiteral("not asked for");
    // The served page's window may have taken the activation.
    window->activateWindow();
    WaitUntil([&] { return window->isActiveWindow(); }, 2000);

    // The pixels, where a display has them: every window beside the others, none covering
    // another, so that each area on the screen is the window's own.
    PixelWatch pixels;
    int servedArea = -1;
    ChromiumWindow chromium;
    int chromiumArea = -1;
    QString chromiumNote;
    if (!xcb) {
        pixelNote = QStringLiteral("no X display (the %1 platform has no pixels to watch)")
                        .arg(QGuiApplication::platformName());
    } else {
        const QRect desk = QGuiApplication::primaryScreen()->geometry();
        screen->move(0, 0);
        window->move(screen->width(), 0);
        if (browser.view)
            browser.view->move(0, screen->height());
        const bool fits =
            window->frameGeometry().right() < desk.right() + 1 &&
            window->frameGeometry().bottom() < desk.bottom() + 1 &&
            (!browser.view || browser.view->frameGeometry().bottom() < desk.bottom() + 1);
        if (!fits) {
            pixelNote = QStringLiteral("the windows do not fit side by side on a %1x%2 screen "
                                       "(2560x1440 does)")
                            .arg(desk.width())
                            .arg(desk.height());
        } else {
            QRect board;
            for (int n = 1; n <= kNumberCount; ++n)
                if (QWidget* cell = window->ControlById(Control::FirstBoardCell + n - 1))
                    board |= RectIn(window, cell);
            QStringList areas{
                AreaOf(window, RectIn(window, window->ControlById(Control::CurrentNumber))),
                AreaOf(window, board), AreaOf(screen, RectIn(screen, view))};
            if (browser.view) {
                servedArea = int(areas.size());
                areas << AreaOf(browser.view.get(), browser.view->rect());
            }
            if (options.chromium && hallPort > 0 && desk.contains(ChromiumWindow::kPlace)) {
                chromiumNote = chromium.Open(hallPort);
                if (!chromiumNote.isEmpty())
                    qWarning("chromium window not measured: %s", qPrintable(chromiumNote));
                if (chromiumNote.isEmpty()) {
                    chromiumArea = int(areas.size());
                    const QRect place = ChromiumWindow::kPlace;
                    areas << QStringLiteral("0:%1,%2,%3,%4")
                                 .arg(place.x())
                                 .arg(place.y())
                                 .arg(place.width())
                                 .arg(place.height());
                }
            }
            Wait(300); // the moved windows drawn where they now are
            pixelNote = pixels.Start(areas);
        }
        window->activateWindow();
        WaitUntil([&] { return window->isActiveWindow(); }, 2000);
    }
    const bool watchPixels = pixelNote.isEmpty();

    KeyAndPaintClock clock(*window, options.balls ? Qt::Key_Return : Qt::Key_Space);
    qApp->installEventFilter(&clock);

    double lastKey = 0;
    for (int i = 0; i < options.draws; ++i) {
        const int before = window->State().number_count;
        if (before >= kNumberCount)
            break;
        WaitUntil([&] { return NowMs() - lastKey >= options.intervalMs; }, options.intervalMs);
        if (!options.balls)
            WaitUntil([&] { return window->IsControlEnabled(Control::Draw); }, 3000);
        if (!window->isActiveWindow()) {
            window->activateWindow();
            WaitUntil([&] { return window->isActiveWindow(); }, 1000);
        }
        probe.Arm(-1);
        if (served)
            served->Arm(-1);
        window->current = DrawTimes{};
        if (options.balls) {
            // The ball the machine gave: any not drawn yet, here the sequence's next.
            const ProgramState& state = window->State();
            const int ball = state.randomizer_numbers[static_cast<std::size_t>(before)];
            TypeBall(ball, xdotool, [&] {
                clock.Arm();
                lastKey = NowMs();
            });
        } else {
            clock.Arm();
            lastKey = NowMs();
            PressSpace(xdotool);
        }
        const bool drew = WaitUntil(
            [&] {
                return window->State().number_count > before && window->current.pageCallEnd > 0 &&
                       clock.paintAt > 0;
            },
            3000);
        // Time for the page's roll-in to end before its record is read.
        Wait(std::max(200, options.intervalMs - int(NowMs() - lastKey) - 50));
        if (!drew || clock.keyAt < 0)
            continue;
        const PageRecord page = probe.Read();
        const DrawTimes& at = window->current;
        const double t0 = clock.keyAt;
        DrawTimes d;
        d.number = at.number;
        d.command = Since(at.command, t0);
        d.drawnAndSaved = Since(at.drawnAndSaved, t0);
        d.voiceStart = Since(at.voiceStart, t0);
        d.voiceEnd = Since(at.voiceEnd, t0);
        d.pageCallStart = Since(at.pageCallStart, t0);
        d.pageCallEnd = Since(at.pageCallEnd, t0);
        d.operatorPaint = Since(clock.paintAt, t0);
        d.operatorBoard = Since(clock.boardAt, t0);
        d.pageChange = Since(page.mutation, t0);
        d.pageFrame = Since(page.frame, t0);
        d.pageShown = Since(page.shown, t0);
        if (served) {
            const PageRecord far = served->Read();
            d.servedChange = Since(far.mutation, t0);
            d.servedFrame = Since(far.frame, t0);
            d.servedShown = Since(far.shown, t0);
        }
        if (watchPixels) {
            d.operatorPixels = Since(pixels.FirstAfter(0, t0), t0);
            d.boardPixels = Since(pixels.FirstAfter(1, t0), t0);
            d.pagePixels = Since(pixels.FirstAfter(2, t0), t0);
            if (servedArea >= 0)
                d.servedPixels = Since(pixels.FirstAfter(servedArea, t0), t0);
            if (chromiumArea >= 0)
                d.chromiumPixels = Since(pixels.FirstAfter(chromiumArea, t0), t0);
        }
        draws.push_back(d);
    }
    qApp->removeEventFilter(&clock);
    browser.probe.reset();
    browser.view.reset();
    program->GetGame().Pages().Unregister(&callEnd);
    program->GetGame().Pages().Unregister(&callStart);
    program.reset();
    QDir::setCurrent(oldCwd);
    return true;
}

} // namespace zorvi::latency
