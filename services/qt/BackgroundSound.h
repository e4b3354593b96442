#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QProcess;

namespace zorvi {

// Runs one outside program (the background sound loop) as a child process that cannot
// outlive this program, not even when this program is killed.
class BackgroundSound {
public:
    BackgroundSound();
    virtual ~BackgroundSound(); // ends the program
    BackgroundSound(const BackgroundSound&) = delete;
    BackgroundSound& operator=(const BackgroundSound&) = delete;

    // Starts the program unless one runs. A failed start holds nothing, so the next call
    // tries again.
    void Start(const QString& program, const QStringList& arguments);
    // Ends the program if one runs and waits for it.
    void Stop();

    bool Running() const;
    long long ProcessId() const; // 0 when none runs

private:
    std::unique_ptr<QProcess> process_;
#ifdef _WIN32
    void* job_ = nullptr; // kills the program when this process ends, however it ends
#endif
};

} // namespace zorvi
