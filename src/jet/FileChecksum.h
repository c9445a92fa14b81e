#pragma once

#include <QString>

namespace katarix::jet {

// XXH3 (64 bits) of a whole file, as 16 hexadecimal digits; empty when it cannot be read.
// The loader writes it when a copy is complete and the cache checks it when it reuses one.
QString fileChecksum(int fd);
QString fileChecksum(const QString &path);

} // namespace katarix::jet
