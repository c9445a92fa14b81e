#include "FileChecksum.h"

#include <QFile>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace katarix::jet {

QString fileChecksum(int fd)
{
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    // Read in pieces rather than mapped whole: hashing a large copy must not make it count
    // towards the memory of the process.
    XXH3_state_t *state = XXH3_createState();
    if (!state || XXH3_64bits_reset(state) == XXH_ERROR) {
        XXH3_freeState(state);
        return {};
    }
    constexpr size_t kPiece = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[kPiece]);
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer.get(), kPiece, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            XXH3_freeState(state);
            return {};
        }
        if (n == 0)
            break;
        XXH3_64bits_update(state, buffer.get(), size_t(n));
        offset += n;
    }
    const XXH64_hash_t hash = XXH3_64bits_digest(state);
    XXH3_freeState(state);
    return QStringLiteral("%1").arg(quint64(hash), 16, 16, QLatin1Char('0'));
}

QString fileChecksum(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const QString checksum = fileChecksum(fd);
    ::close(fd);
    return checksum;
}

} // namespace katarix::jet
