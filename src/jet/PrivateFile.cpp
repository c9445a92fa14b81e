#include "jet/PrivateFile.h"

namespace katarix::jet {

bool openPrivate(QFile &file, QIODevice::OpenMode mode)
{
    constexpr QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (file.exists() && (file.permissions() & ~(owner | QFileDevice::ReadUser | QFileDevice::WriteUser)))
        file.setPermissions(owner); // a failure here shows as a failed open or stays as it was
    return file.open(mode, owner);
}

} // namespace katarix::jet
