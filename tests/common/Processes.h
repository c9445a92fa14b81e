#pragma once

// Processes a test looks for by their command line (the loader helper is given the path of the
// copy it writes, so a cache folder's name finds the loaders writing into it).

#include <QDir>
#include <QFile>
#include <QString>

namespace katarix::test {

inline int processesMentioning(const QString &text)
{
    int count = 0;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(text.toUtf8()))
            ++count;
    }
    return count;
}

} // namespace katarix::test
