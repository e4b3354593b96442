#include "PageProbe.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <chrono>
#include <limits>
#include <memory>

namespace zorvi::latency {

namespace {

// The probe. After arm(n) the first change of the document starts a chain of animation
// frames: the first one's time is the frame that carries the change to the screen; "shown" is the
// first frame from which the number stays fully shown (a roll-in or a colour transition still
// running means the players cannot read it yet).
constexpr const char* kProbeScript = R"JS(
(function () {
  if (window.__zorviLatency) return 1;
  var z = window.__zorviLatency = { armed: false, want: -1, rec: null };
  var clock = function (t) { return performance.timeOrigin + t; };
  function upright(el) {
    var s = getComputedStyle(el);
    if (parseFloat(s.opacity) < 0.95) return false;
    if (s.transform === "none") return true;
    var m = /matrix\(([^)]*)\)/.exec(s.transform);
    if (!m) return false;
    var v = m[1].split(",").map(parseFloat);
    var scale = Math.sqrt(v[0] * v[0] + v[1] * v[1]);
    var turn = Math.abs(Math.atan2(v[1], v[0])) * 180 / Math.PI;
    return scale > 0.8 && scale < 1.25 && turn < 10;
  }
  // A frame is "good" when the number reads n, the ball is upright, about full size and opaque, and
  // the cell of n is marked; the number counts as shown from the first good frame of a run of
  // good frames in which the cell's colour no longer changes.
  function watch(rec) {
    var runColour = null, runStart = 0, frames = 0;
    // The time the frame's work runs, not its nominal start: an idle page's next frame can
    // carry a start time from before the change.
    function step() {
      var now = clock(performance.now());
      if (!rec.frame) rec.frame = now;
      frames++;
      var ball = document.getElementById("ball");
      var number = document.getElementById("number");
      var cell = document.querySelector("#board .cell.latest");
      var good = ball && number && cell && number.textContent === String(z.want) &&
                 cell.textContent === String(z.want) && upright(ball);
      var colour = good ? getComputedStyle(cell).backgroundColor : null;
      if (good && runStart && colour === runColour) {
        rec.shown = runStart;
        return;
      }
      runColour = colour;
      runStart = good ? now : 0;
      if (frames < 300) requestAnimationFrame(step);
    }
    requestAnimationFrame(step);
  }
  // Only the main screen counts: a served page also changes for its live feed's state.
  var observer = new MutationObserver(function () {
    if (!z.armed) return;
    z.armed = false;
    if (z.want < 0) {
      var shown = document.getElementById("number");
      z.want = shown ? Number(shown.textContent) : -1;
    }
    z.rec = { mutation: clock(performance.now()), frame: 0, shown: 0 };
    watch(z.rec);
  });
  var watched = ["ball", "board", "info"].map(function (id) {
    return document.getElementById(id);
  }).filter(Boolean);
  if (!watched.length) watched = [document.documentElement];
  watched.forEach(function (node) {
    observer.observe(node, { subtree: true, childList: true, attributes: true,
                             characterData: true });
  });
  z.arm = function (n) { z.want = n; z.rec = null; z.armed = true; return 1; };
  return 1;
})()
)JS";

} // namespace

double NowMs() {
    using namespace std::chrono;
    return double(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count()) /
           1000.0;
}

QVariant Evaluate(QWebEnginePage* page, const QString& script, int timeoutMs) {
    if (!page)
        return {};
    struct State {
        bool done = false;
        QVariant value;
        QPointer<QEventLoop> loop;
    };
    // The answer may come after the time-out: its state outlives this call.
    auto state = std::make_shared<State>();
    page->runJavaScript(script, [state](const QVariant& value) {
        state->done = true;
        state->value = value;
        if (state->loop)
            state->loop->quit();
    });
    if (!state->done) {
        QEventLoop loop;
        state->loop = &loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return state->value;
}

bool PageProbe::Install() {
    return Evaluate(page_, QString::fromLatin1(kProbeScript)).toInt() == 1;
}

bool PageProbe::Calibrate() {
    double bestRoundTrip = std::numeric_limits<double>::infinity();
    for (int i = 0; i < 15; ++i) {
        const double sent = NowMs();
        const QVariant value =
            Evaluate(page_, QStringLiteral("performance.timeOrigin + performance.now()"));
        const double received = NowMs();
        bool ok = false;
        const double pageTime = value.toDouble(&ok);
        if (!ok)
            continue;
        if (received - sent < bestRoundTrip) {
            bestRoundTrip = received - sent;
            offsetMs_ = pageTime - (sent + received) / 2;
        }
    }
    return bestRoundTrip < std::numeric_limits<double>::infinity();
}

bool PageProbe::Arm(int expectedNumber) {
    return Evaluate(page_, QStringLiteral("window.__zorviLatency ? "
                                          "window.__zorviLatency.arm(%1) : 0")
                               .arg(expectedNumber))
               .toInt() == 1;
}

PageRecord PageProbe::Read() {
    const QVariant value = Evaluate(
        page_,
        QStringLiteral("JSON.stringify(window.__zorviLatency && window.__zorviLatency.rec)"));
    const QJsonObject rec = QJsonDocument::fromJson(value.toString().toUtf8()).object();
    const auto local = [&](const char* key) {
        const double t = rec.value(QLatin1String(key)).toDouble();
        return t > 0 ? t - offsetMs_ : 0.0;
    };
    return PageRecord{local("mutation"), local("frame"), local("shown")};
}

} // namespace zorvi::latency
