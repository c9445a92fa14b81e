#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace katarix::test {

// The whole content of a file, or `missing` when it cannot be read.
inline QByteArray fileBytes(const QString &path, const QByteArray &missing = QByteArray())
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : missing;
}

// Writes bytes as the whole file, created or truncated; false when it cannot be written.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace katarix::test
