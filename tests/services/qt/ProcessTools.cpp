#include "ProcessTools.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace zorvi::test {

ProcessInfo ReadProcess(long long pid) {
    ProcessInfo info;
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return info;
    const QByteArray stat = file.readAll();
    // "pid (name) state ppid ..."; the name may hold spaces and parentheses.
    const qsizetype open = stat.indexOf('(');
    const qsizetype close = stat.lastIndexOf(')');
    if (open < 0 || close < open)
        return info;
    info.exists = true;
    info.name = QString::fromUtf8(stat.mid(open + 1, close - open - 1));
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (fields.size() > 12) {
        info.state = fields[0].isEmpty() ? '?' : fields[0][0];
        info.parent = fields[1].toLongLong();
        info.cpuTicks = fields[11].toLongLong() + fields[12].toLongLong();
    }
    return info;
}

bool ProcessEnded(long long pid) {
    const ProcessInfo info = ReadProcess(pid);
    return !info.exists || info.state == 'Z' || info.state == 'X';
}

QList<long long> ChildrenNamed(long long parent, const QString& name) {
    QList<long long> found;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const long long pid = entry.toLongLong(&number);
        if (!number)
            continue;
        const ProcessInfo info = ReadProcess(pid);
        if (info.exists && info.parent == parent && info.name == name && !ProcessEnded(pid))
            found.append(pid);
    }
    return found;
}

QStringList CommandLine(long long pid) {
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray all = file.readAll();
    if (all.endsWith('\0'))
        all.chop(1);
    QStringList args;
    for (const QByteArray& part : all.split('\0'))
        args.append(QString::fromLocal8Bit(part));
    return args;
}

} // namespace zorvi::test
