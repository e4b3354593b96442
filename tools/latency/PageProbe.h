#pragma once

#include <QString>
#include <QVariant>

class QWebEnginePage;

namespace zorvi::latency {

// Milliseconds since the epoch, with the fraction: the clock both sides of a measurement read
// (the page reads it through performance.timeOrigin + performance.now()).
double NowMs();

// Runs a script expression in the page and waits for its value (at most timeoutMs); an invalid
// value when the page did not answer. Other events run meanwhile.
QVariant Evaluate(QWebEnginePage* page, const QString& script, int timeoutMs = 5000);

// What the probe in the page saw of one draw, in page-clock milliseconds since the epoch
// (0: not seen).
struct PageRecord {
    double mutation = 0; // the page's document changed (the page function has returned)
    double frame = 0;    // the first animation frame after that change: the frame that shows it
    double shown = 0;    // the first frame with the new number fully shown (no longer moving in)
};

// A small script put into the player's page (not part of the page) that watches the document
// for the first change after it is armed and notes the animation frames that follow.
class PageProbe {
public:
    explicit PageProbe(QWebEnginePage* page) : page_(page) {}

    bool Install();
    // Estimates the page clock's offset to NowMs() from the quickest of a few round trips.
    bool Calibrate();
    bool Arm(int expectedNumber);
    // The record of the last armed draw, on this process's clock.
    PageRecord Read();
    double OffsetMs() const { return offsetMs_; }

private:
    QWebEnginePage* page_;
    double offsetMs_ = 0; // page clock minus NowMs()
};

} // namespace zorvi::latency
