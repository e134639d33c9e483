#include "core/platform/System.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <cstdlib>
#include <new>

#if defined(Q_OS_UNIX)
#define VETRINORA_POSIX 1
#include <cerrno>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace plain {

std::size_t pageSize() { return 4096; }

void *reserveMemory(std::size_t bytes)
{
    // The whole room at once; the system may still back it as it is written.
    return ::operator new(bytes, std::align_val_t(pageSize()), std::nothrow);
}

void adviseLargePages(void *, std::size_t) {}

bool releaseMemoryTail(void *, std::size_t, void *) { return false; }

void releaseMemory(void *base, std::size_t) { ::operator delete(base, std::align_val_t(pageSize())); }

qint64 readAt(int handle, char *buffer, qint64 bytes, qint64 offset)
{
    // One reader at a time, each with the file positioned for it.
    if (handle < 0)
        return -1;
    static QMutex one;
    const QMutexLocker lock(&one);
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return -1;
    const qint64 position = file.pos();
    qint64 done = file.seek(offset) ? 0 : -1;
    while (done >= 0 && done < bytes) {
        const qint64 n = file.read(buffer + done, bytes - done);
        if (n <= 0) {
            done = n < 0 ? -1 : done;
            break;
        }
        done += n;
    }
    file.seek(position); // the file's position as it was
    return done;
}

qint64 modifiedSeconds(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return -1;
    return info.lastModified().toSecsSinceEpoch();
}

} // namespace plain

#ifdef VETRINORA_POSIX

std::size_t pageSize() { return std::size_t(::sysconf(_SC_PAGESIZE)); }

void *reserveMemory(std::size_t bytes)
{
    void *at = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                      -1, 0);
    return at == MAP_FAILED ? nullptr : at;
}

void adviseLargePages([[maybe_unused]] void *at, [[maybe_unused]] std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    ::madvise(at, bytes, MADV_HUGEPAGE);
#endif
}

bool releaseMemoryTail(void *base, std::size_t bytes, void *from)
{
    char *end = static_cast<char *>(base) + bytes;
    if (from < end)
        ::munmap(from, std::size_t(end - static_cast<char *>(from)));
    return true;
}

void releaseMemory(void *base, std::size_t bytes) { ::munmap(base, bytes); }

qint64 readAt(int handle, char *buffer, qint64 bytes, qint64 offset)
{
    qint64 done = 0;
    while (done < bytes) {
        const ssize_t n = ::pread(handle, buffer + done, size_t(bytes - done), off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

qint64 modifiedSeconds(const QString &path)
{
    if (path.isEmpty())
        return -1;
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return -1;
    return qint64(status.st_mtime);
}

#else

std::size_t pageSize() { return plain::pageSize(); }
void *reserveMemory(std::size_t bytes) { return plain::reserveMemory(bytes); }
void adviseLargePages(void *at, std::size_t bytes) { plain::adviseLargePages(at, bytes); }
bool releaseMemoryTail(void *base, std::size_t bytes, void *from)
{
    return plain::releaseMemoryTail(base, bytes, from);
}
void releaseMemory(void *base, std::size_t bytes) { plain::releaseMemory(base, bytes); }
qint64 readAt(int handle, char *buffer, qint64 bytes, qint64 offset)
{
    return plain::readAt(handle, buffer, bytes, offset);
}
qint64 modifiedSeconds(const QString &path) { return plain::modifiedSeconds(path); }

#endif

} // namespace platform
