// The hall server's feed under load: 500 browsers on 127.0.0.1, each call timed from the page
// call to its arrival at every browser. Counters: latency p50 and p99 over all arrivals.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWebSocket>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "HallServer.h"
#include "PageFanOut.h"
#include "Settings.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Browser {
    std::unique_ptr<QWebSocket> socket;
    int received = 0; // frames with calls
    Clock::time_point last;
};

void BM_HallFeed(benchmark::State& state) {
    const int count = int(state.range(0));
    QTemporaryDir pages;
    zorvi::Settings settings{zorvi::Settings::NoLoad{}};
    zorvi::HallServer::Options options;
    options.htmlRoot = pages.path();
    // Every browser here comes from 127.0.0.1: that address's share is the whole.
    options.limits.maxFeedsPerAddress = options.limits.maxFeeds;
    options.limits.maxWaitingPerAddress = options.limits.maxWaiting;
    zorvi::PageFanOut game;
    zorvi::HallServer server(settings, game, options);
    game.Register(&server);
    std::string error;
    if (!server.Start("127.0.0.1", 0, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::vector<Browser> browsers(static_cast<std::size_t>(count));
    for (Browser& b : browsers) {
        b.socket = std::make_unique<QWebSocket>();
        QObject::connect(b.socket.get(), &QWebSocket::textMessageReceived,
                         [&b](const QString& text) {
                             if (text.startsWith(QLatin1String("{\"calls\""))) {
                                 ++b.received;
                                 b.last = Clock::now();
                             }
                         });
        b.socket->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/ws").arg(server.Port())));
    }
    QElapsedTimer wait;
    wait.start();
    while (server.ClientCount() < count ||
           !std::all_of(browsers.begin(), browsers.end(),
                        [](const Browser& b) { return b.received > 0; })) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (wait.elapsed() > 60000) {
            state.SkipWithError("the browsers did not all connect");
            return;
        }
    }
    game.PageReset(90, "");

    std::vector<double> latenciesUs;
    int number = 0;
    for (auto _ : state) {
        std::vector<int> before;
        before.reserve(browsers.size());
        for (const Browser& b : browsers)
            before.push_back(b.received);
        const auto start = Clock::now();
        ++number;
        game.PageUpdateMainScreen(1 + number % 90, 1 + number % 90, 1);
        // Until every browser has this call.
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            bool all = true;
            for (std::size_t i = 0; i < browsers.size() && all; ++i)
                all = browsers[i].received > before[i];
            if (all)
                break;
        }
        for (const Browser& b : browsers)
            latenciesUs.push_back(
                std::chrono::duration<double, std::micro>(b.last - start).count());
        const auto slowest =
            std::max_element(browsers.begin(), browsers.end(),
                             [](const Browser& a, const Browser& b) { return a.last < b.last; });
        state.SetIterationTime(std::chrono::duration<double>(slowest->last - start).count());
    }
    std::sort(latenciesUs.begin(), latenciesUs.end());
    const auto at = [&](double q) {
        return latenciesUs.empty() ? 0.0
                                   : latenciesUs[std::size_t(q * double(latenciesUs.size() - 1))];
    };
    state.counters["browsers"] = count;
    state.counters["p50_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = at(1.0);
    for (Browser& b : browsers)
        b.socket->abort();
    server.Stop();
}
BENCHMARK(BM_HallFeed)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
