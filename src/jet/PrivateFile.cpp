#include "jet/PrivateFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace katarix::jet {

namespace {

bool refuse(int error, QString *reason)
{
    if (reason)
        *reason = qt_error_string(error);
    return false;
}

} // namespace

bool openPrivate(QFile &file, QIODevice::OpenMode mode, QString *reason)
{
    const QByteArray path = QFile::encodeName(file.fileName());
    int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0 && errno == EEXIST) {
        // An existing file as it is: its mode is neither widened nor narrowed. The owner's write
        // bit is checked as well, since root opens any file for writing.
        fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return refuse(errno, reason);
        struct stat status {};
        int error = 0;
        if (::fstat(fd, &status) != 0)
            error = errno;
        else if (S_ISREG(status.st_mode) && !(status.st_mode & S_IWUSR))
            error = EACCES;
        if (error != 0) {
            ::close(fd);
            return refuse(error, reason);
        }
    }
    if (fd < 0)
        return refuse(errno, reason);
    struct stat status {};
    if ((mode & QIODevice::Truncate) && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        ::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        return refuse(error, reason);
    }
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

void removeUnfinished(QFile &file, const QString &name)
{
    file.close();
    struct stat status {};
    const QByteArray path = QFile::encodeName(name);
    if (::lstat(path.constData(), &status) == 0 && S_ISREG(status.st_mode))
        ::unlink(path.constData());
}

} // namespace katarix::jet
