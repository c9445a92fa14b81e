#pragma once

// Processes a test looks for by their command line (the loader helper is given the path of the
// copy it writes, so a cache folder's name finds the loaders writing into it).

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

namespace katarix::test {

inline QList<qint64> pidsMentioning(const QString &text)
{
    QList<qint64> pids;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(text.toUtf8()))
            pids << pid.toLongLong();
    }
    return pids;
}

inline int processesMentioning(const QString &text)
{
    return int(pidsMentioning(text).size());
}

} // namespace katarix::test
