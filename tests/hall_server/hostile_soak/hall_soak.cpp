// The hall server's soak under a hostile guest, from outside the program: while guests on
// other loopback addresses do every known harmful thing at once, Space is pressed on the real
// operator window (xdotool) and an honest browser on 127.0.0.1 must get every number in order,
// each one saved in "state.ini"; the program's descriptors, memory and CPU are sampled; when the
// guests leave, a fresh browser must join at once. POSIX only, so it measures what it attacks
// from a separate process.
//
//   hall_soak --port P --pid PID --state FILE [--seconds 30] [--interval 1200] [--limit N]
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start, Clock::time_point end = Clock::now()) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

struct Options {
    int port = 0;
    int pid = 0;
    std::string state;
    int seconds = 30;
    int intervalMs = 1200;
    int limit = 0;
};

// A TCP connection from `source` to 127.0.0.1:port, given `waitMs` to be made; -1 when not.
int Connect(const char* source, int port, int waitMs) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in from{};
    from.sin_family = AF_INET;
    inet_pton(AF_INET, source, &from.sin_addr);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    if (bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
        (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 && errno != EINPROGRESS)) {
        close(fd);
        return -1;
    }
    pollfd p{fd, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    if (poll(&p, 1, waitMs) != 1 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 ||
        error != 0) {
        close(fd);
        return -1;
    }
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

bool SendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd, POLLOUT, 0};
            if (poll(&p, 1, 1000) == 1)
                continue;
        }
        return false;
    }
    return true;
}

std::string FeedRequest(int port, const std::string& upgrade = "websocket",
                        const std::string& key = "dGhlIHNhbXBsZSBub25jZQ==",
                        const std::string& end = "\r\n") {
    return "GET /ws HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
           "\r\nUpgrade: " + upgrade +
           "\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\nSec-WebSocket-Key: " + key +
           "\r\n" + end;
}

std::string MaskedFrame(int first, const std::string& payload, bool masked = true) {
    std::string frame;
    frame += static_cast<char>(first);
    frame += static_cast<char>((masked ? 0x80 : 0) | static_cast<int>(payload.size()));
    const char mask[4] = {0x11, 0x22, 0x33, 0x44};
    if (masked)
        frame.append(mask, 4);
    for (std::size_t i = 0; i < payload.size(); ++i)
        frame += masked ? static_cast<char>(payload[i] ^ mask[i % 4]) : payload[i];
    return frame;
}

// A browser on the feed: reads the server's frames and keeps every updateMainScreen count with
// the time it arrived.
class Feed {
public:
    struct Call {
        int count;
        int number;
        Clock::time_point at;
    };

    bool Open(int port, int waitMs) {
        const auto start = Clock::now();
        if (fd_ >= 0)
            close(fd_);
        data_.clear();
        headDone_ = false;
        fd_ = Connect("127.0.0.1", port, waitMs);
        if (fd_ < 0 || !SendAll(fd_, FeedRequest(port)))
            return false;
        // The answer's head, then the catch-up frame.
        while (MsSince(start) < waitMs) {
            if (!ReadSome(100))
                return false;
            if (catchUp_)
                return true;
        }
        return false;
    }
    ~Feed() {
        if (fd_ >= 0)
            close(fd_);
    }
    // Reads what is there within `waitMs`; false once the server closed the connection.
    bool ReadSome(int waitMs) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, waitMs) <= 0)
            return true;
        char buffer[65536];
        const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        const auto now = Clock::now();
        data_.append(buffer, static_cast<std::size_t>(n));
        if (!headDone_) {
            const std::size_t end = data_.find("\r\n\r\n");
            if (end == std::string::npos)
                return true;
            if (data_.compare(0, 12, "HTTP/1.1 101") != 0)
                return false;
            data_.erase(0, end + 4);
            headDone_ = true;
        }
        for (;;) {
            if (data_.size() < 2)
                break;
            std::size_t at = 2;
            std::uint64_t size = static_cast<std::uint8_t>(data_[1]) & 0x7f;
            if (size >= 126) {
                const std::size_t bytes = size == 126 ? 2 : 8;
                if (data_.size() < at + bytes)
                    break;
                size = 0;
                for (std::size_t i = 0; i < bytes; ++i)
                    size = (size << 8) | static_cast<std::uint8_t>(data_[at + i]);
                at += bytes;
            }
            if (data_.size() < at + size)
                break;
            const int opcode = static_cast<std::uint8_t>(data_[0]) & 0x0f;
            if (opcode == 0x8)
                return false;
            if (opcode == 0x1)
                OnText(data_.substr(at, static_cast<std::size_t>(size)), now);
            data_.erase(0, at + static_cast<std::size_t>(size));
        }
        return true;
    }
    std::vector<Call> Calls() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }
    bool CaughtUp() const { return catchUp_; }
    int CatchUpCount() const { return catchUpCount_; }

private:
    void OnText(const std::string& text, Clock::time_point at) {
        if (text.compare(0, 9, "{\"calls\":") != 0)
            return;
        std::vector<Call> found;
        const std::string marker = "[\"updateMainScreen\",";
        for (std::size_t p = text.find(marker); p != std::string::npos;
             p = text.find(marker, p + 1)) {
            int number = 0;
            int count = 0;
            int row = 0;
            if (std::sscanf(text.c_str() + p + marker.size(), "%d,%d,%d", &number, &count, &row) ==
                3)
                found.push_back({count, number, at});
        }
        if (!catchUp_) {
            catchUp_ = true;
            catchUpCount_ = found.empty() ? 0 : found.back().count;
            return;
        }
        const std::lock_guard<std::mutex> lock(mutex_);
        calls_.insert(calls_.end(), found.begin(), found.end());
    }

    int fd_ = -1;
    std::string data_;
    bool headDone_ = false;
    bool catchUp_ = false;
    int catchUpCount_ = 0;
    std::mutex mutex_;
    std::vector<Call> calls_;
};

// The guests: each kind of attack in its own thread, holding as many connections as the
// server leaves it, opening new ones as fast as it can.
class Guests {
public:
    // Each kind keeps at most `cap` connections of its own open; the silent ones of each
    // further address a tenth of that.
    Guests(int port, int cap) : port_(port), cap_(cap) {}
    ~Guests() { Stop(); }

    void Start() {
        const int port = port_;
        const auto held = [this](const char* source, std::function<std::string()> request,
                                 std::function<void(int)> then = nullptr, int cap = 0) {
            threads_.emplace_back([this, source, request, then, cap] {
                const int most = cap > 0 ? cap : cap_;
                std::deque<int> open;
                while (!stop_) {
                    const int fd = Connect(source, port_, 200);
                    if (fd < 0) {
                        ++failed_;
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    } else {
                        ++opened_;
                        const std::string bytes = request();
                        if (!bytes.empty())
                            SendAll(fd, bytes);
                        if (then)
                            then(fd);
                        open.push_back(fd);
                    }
                    // Our own descriptors are bounded too: the oldest is let go.
                    while (int(open.size()) > most) {
                        close(open.front());
                        open.pop_front();
                    }
                    // As fast as a guest's small machine goes, not as fast as ours.
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                for (const int fd : open)
                    close(fd);
            });
        };
        const char* guest = "127.0.0.2";
        // Page requests whose answers are never read, held open.
        held(guest, [port] {
            return "GET /en/ HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n";
        });
        // Upgrade requests ending in a bare LF.
        held(guest,
             [port] { return FeedRequest(port, "websocket", "dGhlIHNhbXBsZSBub25jZQ==", "\n"); });
        // Upgrade requests with a close frame, or junk, in the same write.
        held(guest, [port] {
            static std::atomic<int> turn{0};
            return FeedRequest(port) + (++turn % 2 ? MaskedFrame(0x88, std::string("\x03\xe8", 2))
                                                   : std::string("\x00\x01junk", 6));
        });
        // Silent connections, from many addresses: together they reach the server's bound.
        for (int a = 0; a < 24; ++a) {
            addresses_.push_back("127.0.1." + std::to_string(a + 2));
            held(
                addresses_.back().c_str(), [] { return std::string(); }, nullptr,
                std::max(cap_ / 10, 1));
        }
        // A request line at its limit with its CR and LF in separate packets.
        held(
            guest,
            [port] {
                return std::string("GET /en/?") + std::string(2048 - 18, 'a') + " HTTP/1.1\r";
            },
            [port](int fd) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                SendAll(fd, "\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n");
            });
        // Feeds that ping as fast as they can, or send unmasked frames.
        held(
            guest, [port] { return FeedRequest(port); },
            [](int fd) {
                const std::string pings = [] {
                    std::string all;
                    for (int i = 0; i < 200; ++i)
                        all += MaskedFrame(0x89, "p");
                    return all;
                }();
                SendAll(fd, pings);
                SendAll(fd, MaskedFrame(0x81, "hello", false));
            });
        // Odd upgrades and keys that are not 16 bytes.
        held(guest, [port] {
            static std::atomic<int> turn{0};
            return ++turn % 2 ? FeedRequest(port, "foo, websocket")
                              : FeedRequest(port, "websocket", "bGV0IG1lIGlu");
        });
        // A burst of good feed requests that never read.
        held("127.0.0.3", [port] { return FeedRequest(port); });
    }

    void Stop() {
        stop_ = true;
        for (std::thread& thread : threads_)
            thread.join();
        threads_.clear();
    }
    long Opened() const { return opened_; }
    long Failed() const { return failed_; }

private:
    int port_;
    int cap_;
    std::atomic<bool> stop_{false};
    std::atomic<long> opened_{0};
    std::atomic<long> failed_{0};
    std::deque<std::string> addresses_; // the threads keep pointers into it
    std::vector<std::thread> threads_;
};

struct Sample {
    int descriptors = 0;
    long rssKb = 0;
    double cpuSeconds = 0;
    double serverCpuSeconds = 0; // the hall server's own thread
};

// User and system time in a /proc stat file, in seconds.
double CpuSeconds(const std::string& path) {
    std::ifstream statFile(path);
    const std::string stat((std::istreambuf_iterator<char>(statFile)),
                           std::istreambuf_iterator<char>());
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 > stat.size())
        return 0;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    unsigned long ticks = 0;
    for (int i = 3; fields >> field && i <= 15; ++i) {
        if (i == 14 || i == 15)
            ticks += std::stoul(field);
    }
    return double(ticks) / double(sysconf(_SC_CLK_TCK));
}

std::optional<Sample> SampleProgram(int pid) {
    Sample sample;
    const std::string base = "/proc/" + std::to_string(pid);
    DIR* dir = opendir((base + "/fd").c_str());
    if (!dir)
        return std::nullopt;
    while (const dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.')
            ++sample.descriptors;
    closedir(dir);
    std::ifstream status(base + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            sample.rssKb = std::atol(line.c_str() + 6);
    sample.cpuSeconds = CpuSeconds(base + "/stat");
    if (DIR* tasks = opendir((base + "/task").c_str())) {
        while (const dirent* entry = readdir(tasks)) {
            if (entry->d_name[0] == '.')
                continue;
            const std::string task = base + "/task/" + entry->d_name;
            std::ifstream comm(task + "/comm");
            std::string name;
            std::getline(comm, name);
            if (name == "hall server")
                sample.serverCpuSeconds = CpuSeconds(task + "/stat");
        }
        closedir(tasks);
    }
    return sample;
}

int StateCount(const std::string& path) {
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        if (line.rfind("number_count=", 0) == 0)
            return std::atoi(line.c_str() + 13);
    return -1;
}

bool PressSpace() {
    const char* const argv[] = {"xdotool", "key", "space", nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "xdotool", nullptr, nullptr, const_cast<char* const*>(argv),
                     environ) != 0)
        return false;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t at =
        std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--port")
            options.port = std::atoi(value);
        else if (name == "--pid")
            options.pid = std::atoi(value);
        else if (name == "--state")
            options.state = value;
        else if (name == "--seconds")
            options.seconds = std::atoi(value);
        else if (name == "--interval")
            options.intervalMs = std::atoi(value);
        else if (name == "--limit")
            options.limit = std::atoi(value);
    }
    if (options.port <= 0 || options.pid <= 0 || options.state.empty()) {
        std::fprintf(stderr, "usage: hall_soak --port P --pid PID --state FILE [--seconds S] "
                             "[--interval MS] [--limit N]\n");
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    // Never hang, whatever the program does.
    std::thread([seconds = options.seconds] {
        std::this_thread::sleep_for(std::chrono::seconds(seconds + 120));
        std::fprintf(stderr, "FAIL: the soak did not finish in time\n");
        std::_Exit(1);
    }).detach();

    // The program may still be starting its server.
    Feed honest;
    bool ready = false;
    for (const auto start = Clock::now(); !ready && MsSince(start) < 30000;) {
        ready = honest.Open(options.port, 10000);
        if (!ready)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    if (!ready) {
        std::printf("FAIL: the honest browser could not join before the soak\n");
        return 1;
    }
    std::atomic<bool> honestConnected{true};
    std::atomic<bool> stopFeed{false};
    std::thread feedThread([&] {
        while (!stopFeed && honestConnected)
            if (!honest.ReadSome(100))
                honestConnected = false;
    });

    std::vector<Sample> samples;
    std::mutex sampleMutex;
    std::atomic<bool> stopSampling{false};
    std::atomic<bool> programGone{false};
    std::thread sampler([&] {
        while (!stopSampling) {
            if (const std::optional<Sample> sample = SampleProgram(options.pid)) {
                const std::lock_guard<std::mutex> lock(sampleMutex);
                samples.push_back(*sample);
            } else {
                programGone = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    });
    const std::optional<Sample> before = SampleProgram(options.pid);

    Guests guests(options.port, 400);
    guests.Start();
    const auto soakStart = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2)); // let the guests reach the bound

    std::vector<double> latencies;
    int expected = honest.CatchUpCount();
    int pressed = 0;
    int arrived = 0;
    int saved = 0;
    std::string failure;
    while (MsSince(soakStart) < options.seconds * 1000.0 && failure.empty()) {
        const auto pressAt = Clock::now();
        if (!PressSpace()) {
            failure = "xdotool could not press Space";
            break;
        }
        ++pressed;
        ++expected;
        // The number on the honest browser, in order.
        bool seen = false;
        while (MsSince(pressAt) < 5000) {
            const std::vector<Feed::Call> calls = honest.Calls();
            if (int(calls.size()) >= arrived + 1) {
                const Feed::Call& call = calls[std::size_t(arrived)];
                if (call.count != expected) {
                    failure = "the honest browser got count " + std::to_string(call.count) +
                              " where " + std::to_string(expected) + " was due";
                    break;
                }
                latencies.push_back(MsSince(pressAt, call.at));
                ++arrived;
                seen = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (!failure.empty())
            break;
        if (!seen) {
            failure = "draw " + std::to_string(expected) + " did not reach the honest browser" +
                      (honestConnected ? "" : " (it was disconnected)");
            break;
        }
        // And saved.
        while (MsSince(pressAt) < 5000 && StateCount(options.state) < expected)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (StateCount(options.state) != expected) {
            failure = "state.ini holds " + std::to_string(StateCount(options.state)) +
                      " numbers where " + std::to_string(expected) + " were drawn";
            break;
        }
        ++saved;
        const double rest = options.intervalMs - MsSince(pressAt);
        if (rest > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(int(rest)));
    }
    const double soakMs = MsSince(soakStart);
    guests.Stop();
    const long opened = guests.Opened();

    // The guests are gone: a new browser joins at once.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto joinStart = Clock::now();
    Feed fresh;
    const bool joined = fresh.Open(options.port, 10000);
    const double joinMs = MsSince(joinStart);

    stopSampling = true;
    sampler.join();
    stopFeed = true;
    feedThread.join();
    const bool alive = kill(options.pid, 0) == 0 && !programGone;

    int mostDescriptors = 0;
    long mostRss = 0;
    double cpu = 0;
    double serverCpu = 0;
    {
        const std::lock_guard<std::mutex> lock(sampleMutex);
        for (const Sample& sample : samples) {
            mostDescriptors = std::max(mostDescriptors, sample.descriptors);
            mostRss = std::max(mostRss, sample.rssKb);
        }
        if (!samples.empty() && before) {
            cpu = samples.back().cpuSeconds - before->cpuSeconds;
            serverCpu = samples.back().serverCpuSeconds - before->serverCpuSeconds;
        }
    }

    std::printf("draws: %d pressed, %d on the honest browser in order, %d saved\n", pressed,
                arrived, saved);
    std::printf("honest latency key->browser: p50 %.1f ms, p99 %.1f ms, max %.1f ms\n",
                Percentile(latencies, 0.5), Percentile(latencies, 0.99),
                Percentile(latencies, 1.0));
    std::printf("program: descriptors %d before, at most %d (open-file limit %d); resident memory "
                "%ld MB before, at most %ld MB; CPU %.1f s in %.1f s, the hall server's thread "
                "%.1f s of it\n",
                before ? before->descriptors : 0, mostDescriptors, options.limit,
                before ? before->rssKb / 1024 : 0, mostRss / 1024, cpu, soakMs / 1000.0, serverCpu);
    std::printf("guests: %ld connections opened, %ld not taken within 200 ms\n", opened,
                guests.Failed());
    std::printf("fresh browser joined: %s in %.0f ms\n", joined ? "yes" : "no", joinMs);

    if (failure.empty() && pressed < 5)
        failure = "too few draws";
    if (failure.empty() && !honestConnected)
        failure = "the honest browser was disconnected";
    if (failure.empty() && !alive)
        failure = "the program ended";
    // Far above what the program took before, whatever it buffers: a run-away.
    if (failure.empty() && before && mostRss > before->rssKb + 256 * 1024)
        failure = "the program's memory ran away";
    if (failure.empty() && options.limit > 0 && mostDescriptors >= options.limit - 16)
        failure = "the program's descriptors came close to its limit";
    // A generous guard: a browser locked out would wait for a head time-out of 10 s.
    if (failure.empty() && (!joined || joinMs > 3000))
        failure = "the fresh browser did not join at once";
    if (!failure.empty()) {
        std::printf("FAIL: %s\n", failure.c_str());
        return 1;
    }
    std::printf("soak passed\n");
    return 0;
}
