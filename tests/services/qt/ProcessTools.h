#pragma once

#include <QList>
#include <QString>

namespace zorvi::test {

// What /proc tells about one process.
struct ProcessInfo {
    bool exists = false;
    QString name;     // the short command name
    char state = '?'; // 'Z' for a zombie
    long long parent = 0;
    long long cpuTicks = 0; // user + system time
};

ProcessInfo ReadProcess(long long pid);
// A process that no longer runs: gone, or a zombie nobody has reaped yet.
bool ProcessEnded(long long pid);
// The running children of a process with the given command name.
QList<long long> ChildrenNamed(long long parent, const QString& name);
// The command line of a process, one entry per argument.
QStringList CommandLine(long long pid);

} // namespace zorvi::test
