#include "core/platform/FileSystem.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

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

bool syncPath(const QString &path)
{
#ifdef Q_OS_WIN
    QFile file(path);
    if (QFileInfo(path).isDir())
        return true; // folders have no handle to flush there
    return file.open(QIODevice::ReadWrite) && file.flush() && _commit(file.handle()) == 0;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int result;
    do
        result = ::fsync(fd);
    while (result != 0 && errno == EINTR);
    const int err = errno;
    ::close(fd);
    errno = err;
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

bool makeFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    const QString absolute = info.absoluteFilePath();
    const QString parent = info.absolutePath();
    if (parent.isEmpty() || parent == absolute || !makeFolder(parent))
        return false;
    const bool made = newFilePermissions(parent) == kOwnerOnly
                          ? QDir().mkdir(absolute, kOwnerOnly | QFileDevice::ExeOwner)
                          : QDir().mkdir(absolute);
    return made || QFileInfo(absolute).isDir();
}

namespace {
thread_local bool lastFailureForSpace = false;
} // namespace

bool isOutOfSpace(const QFileDevice &file)
{
    const int err = errno;
#ifdef EDQUOT
    if (err == EDQUOT)
        return true;
#endif
    return file.error() == QFileDevice::ResourceError || err == ENOSPC;
}

void noteWriteFailure(bool outOfSpace) { lastFailureForSpace = outOfSpace; }

void forgetWriteFailure() { lastFailureForSpace = false; }

bool writeFailedForSpace(const QString &folder)
{
    if (lastFailureForSpace)
        return true;
    // The temporary file that filled the disk is gone by now, which gives a
    // little room back: "almost none" counts as none.
    const QStorageInfo disk(folder);
    return disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < 64 * 1024;
}

} // namespace platform
