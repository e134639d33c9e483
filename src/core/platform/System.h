#pragma once
// The system calls the program makes for speed, in one place: each has a
// POSIX fast path and a plain fallback (namespace `plain`, also built where
// the fast path is used, so both can be tested), so that a build for another
// system needs no change anywhere else.

#include <QString>
#include <QtGlobal>
#include <cstddef>

namespace platform {

// The size of a memory page.
std::size_t pageSize();
// Room for `bytes` of memory, aligned to at least a page, that the system
// backs only as it is written; nullptr when there is none left.
void *reserveMemory(std::size_t bytes);
// Asks the system to back the memory from `at` for `bytes` with large pages
// where it can; only a hint.
void adviseLargePages(void *at, std::size_t bytes);
// Gives back the room from `from` to the end of what reserveMemory(`bytes`)
// returned at `base`; false (and nothing given back) where the system cannot
// give back a part.
bool releaseMemoryTail(void *base, std::size_t bytes, void *from);
// Gives back the whole of what reserveMemory(`bytes`) returned at `base`.
void releaseMemory(void *base, std::size_t bytes);

// Reads up to `bytes` at `offset` of the open file `handle` (a QFile's
// handle()) into `buffer`, without moving the file's position: several
// threads may read one file at once. Returns the bytes read, fewer only at
// the end of the file, or -1 on a failure.
qint64 readAt(int handle, char *buffer, qint64 bytes, qint64 offset);

// The modification time of the regular file at `path`, in whole seconds
// since 1970 UTC, or -1 when there is no such file. Asked for every picture
// drawn: the fast path is one stat, without the local time zone that a
// QDateTime would look up on each call.
qint64 modifiedSeconds(const QString &path);

// Asks the processor to fetch the memory at `address` ahead of its use.
inline void prefetch([[maybe_unused]] const void *address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#endif
}

namespace plain {
std::size_t pageSize();
void *reserveMemory(std::size_t bytes);
void adviseLargePages(void *at, std::size_t bytes);
bool releaseMemoryTail(void *base, std::size_t bytes, void *from);
void releaseMemory(void *base, std::size_t bytes);
qint64 readAt(int handle, char *buffer, qint64 bytes, qint64 offset);
qint64 modifiedSeconds(const QString &path);
} // namespace plain

} // namespace platform
