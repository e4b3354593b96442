#include "BackgroundSound.h"

#include <QProcess>

#if defined(Q_OS_LINUX)
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace zorvi {

namespace {

// A start that fails to exec reports back at once; the bound only guards a stuck system.
constexpr int kStartWaitMs = 5000;
constexpr int kStopWaitMs = 5000;

} // namespace

BackgroundSound::BackgroundSound() {
#ifdef Q_OS_WIN
    job_ = CreateJobObjectW(nullptr, nullptr);
    if (job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
#endif
}

BackgroundSound::~BackgroundSound() {
    Stop();
#ifdef Q_OS_WIN
    if (job_)
        CloseHandle(job_);
#endif
}

void BackgroundSound::Start(const QString& program, const QStringList& arguments) {
    if (Running())
        return;
    process_.reset();

    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
#if defined(Q_OS_LINUX)
    // Runs in the child before the program is loaded: the kernel kills the child when this
    // process dies, and a parent that died before that was armed is caught by its pid.
    const pid_t parent = getpid();
    process->setChildProcessModifier([parent] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(0);
    });
#elif defined(Q_OS_WIN)
    process->setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
#endif
    process->start();
    if (!process->waitForStarted(kStartWaitMs)) {
        process->kill();
        process->waitForFinished(kStopWaitMs);
        return;
    }
#ifdef Q_OS_WIN
    if (job_) {
        HANDLE handle = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE,
                                    static_cast<DWORD>(process->processId()));
        if (handle) {
            AssignProcessToJobObject(job_, handle);
            CloseHandle(handle);
        }
    }
#endif
    process_ = std::move(process);
}

void BackgroundSound::Stop() {
    if (!process_)
        return;
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(kStopWaitMs);
    }
    process_.reset();
}

bool BackgroundSound::Running() const {
    return process_ && process_->state() != QProcess::NotRunning;
}

long long BackgroundSound::ProcessId() const {
    return Running() ? process_->processId() : 0;
}

} // namespace zorvi
