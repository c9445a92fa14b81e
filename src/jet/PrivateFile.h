#pragma once

#include <QFile>
#include <QString>

namespace katarix::jet {

// Opens file for writing; everything the program writes from the register (reports, lists) holds
// personal data.
//  - A missing file is created 0600, so a new document is its owner's alone from its first byte.
//  - An existing file is written only as it is and keeps its mode (the user chose who may read
//    it): one whose owner may not write it (a document made read-only, say with chmod a-w) or that
//    cannot be opened for writing is refused and keeps its bytes.
// Truncate in mode empties the file once it is open. On failure *reason (when given) says why.
bool openPrivate(QFile &file, QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Truncate,
                 QString *reason = nullptr);

// Closes file and removes path, what was written to it, when that is a regular file (a document
// or list left unfinished); a device such as /dev/full or /dev/null is left alone. (A QFile
// opened by openPrivate works on a descriptor and does not know its name.)
void removeUnfinished(QFile &file, const QString &path);

} // namespace katarix::jet
