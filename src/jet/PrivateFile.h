#pragma once

#include <QFile>

namespace katarix::jet {

// Opens file for writing so that only its owner can read it: a new file is created 0600, an
// existing one with wider modes is tightened before anything is written. Everything the program
// writes from the register (reports, lists) holds personal data.
bool openPrivate(QFile &file, QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Truncate);

} // namespace katarix::jet
