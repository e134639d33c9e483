#include "core/platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>
#endif

namespace platform {

bool isReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !(info.permissions() & QFileDevice::WriteOwner);
}

bool lockExclusive([[maybe_unused]] int handle)
{
#ifdef Q_OS_WIN
    return false;
#else
    int result;
    do
        result = ::flock(handle, LOCK_EX);
    while (result != 0 && errno == EINTR);
    return result == 0;
#endif
}

qint64 fileIdentity([[maybe_unused]] int handle)
{
#ifndef Q_OS_WIN
    struct stat st;
    if (::fstat(handle, &st) == 0)
        return qint64(st.st_ino);
#endif
    return 0;
}

qint64 fileIdentity([[maybe_unused]] const QString &path)
{
#ifndef Q_OS_WIN
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return qint64(st.st_ino);
#endif
    return 0;
}

QFileDevice::Permissions newFilePermissions(const QString &folder)
{
    constexpr QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                                | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                                | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileInfo info(folder);
    if (info.isDir() && !(info.permissions() & others))
        return kOwnerOnly;
    return kOwnerOnly | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
           | QFileDevice::WriteOther;
}

} // namespace platform
