#include "HallServer.h"

#include <QDir>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QThread>
#include <utility>

#include "Folders.h"
#include "MachineAddresses.h"
#include "PageFanOut.h"
#include "Settings.h"

#if defined(__linux__)
#include <sys/resource.h>
#endif

namespace zorvi {

namespace {

QString ProgramHtmlRoot() {
    return QDir(QString::fromStdString(Helpers::GetProgramFolder().string()))
        .filePath(QStringLiteral("html"));
}

std::string UrlHost(const QHostAddress& address) {
    const QString text = address.toString();
    if (address.protocol() == QAbstractSocket::IPv6Protocol)
        return "[" + text.toStdString() + "]";
    return text.toStdString();
}

// A thousand browsers need a thousand descriptors; the usual soft limit is 1024 for the
// whole program. Raised towards the hard limit, never lowered. Returns the limit in force.
std::int64_t AllowEnoughFiles(const HallLimits& limits) {
#if defined(__linux__)
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 1024;
    const rlim_t wanted =
        rlim_t(limits.maxFeeds + limits.maxWaiting) * 2 + rlim_t(limits.reserveDescriptors) + 1024;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < wanted) {
        limit.rlim_cur =
            limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
        setrlimit(RLIMIT_NOFILE, &limit);
        getrlimit(RLIMIT_NOFILE, &limit);
    }
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > rlim_t(1) << 30)
        return std::int64_t(1) << 30;
    return std::int64_t(limit.rlim_cur);
#else
    // Sockets on Windows are not counted against a small per-process table.
    (void)limits;
    return std::int64_t(1) << 30;
#endif
}

} // namespace

HallServer::HallServer(const Settings& settings, const PageFanOut& pages)
    : HallServer(settings, pages, Options{}) {}

HallServer::HallServer(const Settings& settings, const PageFanOut& pages, Options options)
    : settings_(settings), pages_(pages), options_(std::move(options)),
      joinFrame_(HallFrames::JoinFrame({}, 0, {})) {}

HallServer::~HallServer() {
    Stop();
}

bool HallServer::Start(const std::string& address, int port, std::string* error) {
    Stop();
    limits_ = FitToDescriptors(options_.limits, AllowEnoughFiles(options_.limits));
    const QString root = options_.htmlRoot.isEmpty() ? ProgramHtmlRoot() : options_.htmlRoot;
    auto thread = std::make_unique<QThread>();
    thread->setObjectName(QStringLiteral("hall server"));
    auto* core = new HallServerCore(limits_, root, &status_);
    core->moveToThread(thread.get());
    QObject::connect(thread.get(), &QThread::finished, core, &QObject::deleteLater);
    thread->start();

    QString failure;
    int port_chosen = 0;
    const QString listenOn = QString::fromStdString(address);
    address_ = address;
    const PageGame game = pages_.Game();
    const std::string joinFrame = joinFrame_;
    const bool animationOff = settings_.disable_animation != 0;
    const int language = settings_.language;
    // Binding takes a moment only; the operator must learn at once when the port is taken.
    QMetaObject::invokeMethod(
        core,
        [&] {
            failure = core->Listen(listenOn, port);
            port_chosen = core->Port();
            core->Push(game, animationOff, language, {});
            core->SetJoinFrame(joinFrame);
        },
        Qt::BlockingQueuedConnection);
    if (!failure.isEmpty()) {
        thread->quit();
        thread->wait();
        if (error)
            *error = failure.toStdString();
        return false;
    }
    thread_ = std::move(thread);
    core_ = core;
    port_ = port_chosen;
    return true;
}

void HallServer::Stop() {
    if (!core_)
        return;
    HallServerCore* core = core_;
    QMetaObject::invokeMethod(
        core, [core] { core->Close(); }, Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    thread_.reset();
    core_ = nullptr;
    port_ = 0;
    status_.feeds.store(0);
}

std::vector<std::string> HallServer::TakeNotes() {
    const std::lock_guard<std::mutex> lock(status_.mutex);
    return std::exchange(status_.notes, {});
}

std::string HallServer::Url() const {
    if (!core_)
        return {};
    std::string host;
    if (!address_.empty()) {
        host = UrlHost(QHostAddress(QString::fromStdString(address_)));
    } else {
        // Listening everywhere: the address a phone in the hall can reach, IPv4 first.
        const std::vector<std::string> addresses = MachineAddresses();
        host = addresses.empty() ? std::string("127.0.0.1") : addresses.front();
        if (host.find(':') != std::string::npos)
            host = "[" + host + "]";
    }
    return "http://" + host + ":" + std::to_string(port_) + "/";
}

void HallServer::SetJoinCode(const std::string& url, int size, const std::string& modules) {
    joinFrame_ = HallFrames::JoinFrame(url, size, modules);
    if (!core_)
        return;
    HallServerCore* core = core_;
    QMetaObject::invokeMethod(
        core, [core, frame = joinFrame_] { core->SetJoinFrame(frame); }, Qt::QueuedConnection);
}

void HallServer::SetCoupons(std::shared_ptr<const std::vector<std::uint8_t>> series,
                            std::uint32_t couponSize, int numberCount,
                            std::vector<std::pair<int, int>> inPlay) {
    std::shared_ptr<const CouponSeries> snapshot = std::make_shared<const CouponSeries>(
        MakeCouponSeries(std::move(series), couponSize, numberCount, std::move(inPlay)));
    {
        const std::lock_guard<std::mutex> lock(status_.couponsMutex);
        status_.coupons.swap(snapshot);
    }
    // The old snapshot, perhaps the last hold on a whole series, is let go outside the lock.
}

const PageGame& HallServer::Game() const {
    return pages_.Game();
}

void HallServer::Push(const PageCall& call) {
    if (core_)
        PushEncoded(HallFrames::EncodeCall(call, settings_.disable_animation != 0));
}

void HallServer::PushEncoded(std::string call) {
    if (!core_)
        return;
    HallServerCore* core = core_;
    // The browsers on the feed get the call itself; one that joins after it gets the record,
    // which already holds the call (a recall excepted: the update that follows removes the ball).
    QMetaObject::invokeMethod(
        core,
        [core, game = pages_.Game(), animationOff = settings_.disable_animation != 0,
         language = settings_.language,
         frame = std::move(call)] { core->Push(game, animationOff, language, frame); },
        Qt::QueuedConnection);
}

void HallServer::PageReset(int numberCount, const std::string& commitment) {
    Push(PageResetCall{numberCount, commitment});
}

void HallServer::PageUpdateMainScreen(int currentNumber, int count, int row) {
    Push(PageUpdateCall{currentNumber, count, row});
}

void HallServer::PageShowTicket(const PageTicket& ticket) {
    Push(ticket);
}

void HallServer::PageShowGame(const PageGame&) {
    if (!core_)
        return;
    HallServerCore* core = core_;
    QMetaObject::invokeMethod(
        core,
        [core, game = pages_.Game(), animationOff = settings_.disable_animation != 0,
         language = settings_.language] { core->PushWholeGame(game, animationOff, language); },
        Qt::QueuedConnection);
}

void HallServer::PageShowSeal(const std::string& seal) {
    Push(PageSealCall{seal});
}

void HallServer::PageShowRecall(int ball) {
    PushEncoded(HallFrames::EncodeRecall(ball));
}

void HallServer::PageShowPrizeBoard(const PagePrizeBoard& board) {
    Push(board);
}

void HallServer::PageShowJoinCode(const PageJoinCode& code) {
    SetJoinCode(code.url, code.size, code.modules);
}

std::vector<std::string> HallServer::MachineAddresses() {
    return zorvi::MachineAddresses();
}

} // namespace zorvi
