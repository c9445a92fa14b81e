#pragma once

// The header page of a .mdb as the cache and the password check need it. Internal to src/jet.

#include <QByteArray>
#include <QString>

namespace katarix::jet {

// The first page of a register file and what identifies the file on disk.
struct MdbHeader {
    QByteArray page; // the first page as stored
    int jetVersion = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    QString password; // decoded from the header; empty when the file has none
    bool hasPassword = false;
};

// Reads and checks the header of a Jet 3 or Jet 4 file; throws JetError with the Polish message
// for a missing, empty, foreign, truncated or unsupported file.
MdbHeader readMdbHeader(const QString &path);

} // namespace katarix::jet
