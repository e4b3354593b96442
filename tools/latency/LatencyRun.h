#pragma once

#include <QString>
#include <limits>
#include <vector>

namespace zorvi::latency {

struct Options {
    int draws = 30;
    int intervalMs = 1300;  // between draws: past the one-second draw lock and the roll-in
    bool voice = true;      // tone recordings in a voice folder of the run's own
    bool animation = true;  // the page's animation setting
    int screenWidth = 1280; // the players' window
    int screenHeight = 720;
    QString keys = QStringLiteral("auto"); // auto, xdotool, qt
    QString page;                          // the page file; empty: the one built in
    bool verbose = false;
    bool served = true; // the hall server on 127.0.0.1 and a browser page loaded from it
    // A plain chromium window on the served page as well, for its pixels beside ours.
    bool chromium = false;
    // Balls from the hall's ball machine: each number typed into the ball field and Enter,
    // measured from Enter, instead of Space.
    bool balls = false;
};

inline constexpr double kNotSeen = std::numeric_limits<double>::quiet_NaN();

// One draw, every time on this process's clock in milliseconds since the key reached the
// program (kNotSeen: not seen).
struct DrawTimes {
    int number = -1;
    double command = kNotSeen;       // the Draw command's first request to the window
    double drawnAndSaved = kNotSeen; // the number drawn and the game saved
    double voiceStart = kNotSeen, voiceEnd = kNotSeen;
    double pageCallStart = kNotSeen, pageCallEnd = kNotSeen;
    double operatorPaint = kNotSeen; // the operator window's current number
    double operatorBoard = kNotSeen; // the operator window's board cell of the number
    double pageChange = kNotSeen;    // the page's document changed
    double pageFrame = kNotSeen;     // the page's first frame after the change
    double pageShown = kNotSeen;     // the page shows the number fully
    double servedChange = kNotSeen;  // the same three for the page served to a browser
    double servedFrame = kNotSeen;
    double servedShown = kNotSeen;
    // What a person sees: the first change of the pixels on the display after the key, read
    // by an X client of its own (zorvi-pixel-watch), for the operator window's current number
    // and board, the players' window and the served browser.
    double operatorPixels = kNotSeen;
    double boardPixels = kNotSeen;
    double pagePixels = kNotSeen;
    double servedPixels = kNotSeen;
    double chromiumPixels = kNotSeen; // a plain chromium window on the served page
};

// Runs the operator window and the players' window with its page as the program does, presses
// Space (or enters a ball and Enter) `draws` times and returns what it measured; `keysUsed` tells
// how the keys were sent. Returns false (with `error`) when the run could not start. `servedNote`
// tells why the served browser was not measured (empty when it was). `pixelNote` tells why the
// pixels were not watched (empty when they were).
bool RunLatency(const Options& options, std::vector<DrawTimes>& draws, QString& keysUsed,
                QString& servedNote, QString& pixelNote, QString& error);

} // namespace zorvi::latency
