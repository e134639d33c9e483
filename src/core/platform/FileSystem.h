#pragma once
#include <QFileDevice>
#include <QString>

namespace platform {

// True when an existing file is marked read-only: no write permission for its
// owner. The program treats such a file as one it may not write, whoever runs
// it (as the read-only attribute works on Windows, also for administrators).
bool isReadOnly(const QString &path);

// Waits until this process holds the exclusive write lock of the open file
// `handle` (a QFile's handle()); it is released when the file is closed.
// Advisory: it keeps copies of this program from writing one record file at
// the same moment. False where the system or file system has no such lock.
bool lockExclusive(int handle);
// What tells one file from another on its disk (the inode): of an open file
// and of a path. 0 when the system does not say.
qint64 fileIdentity(int handle);
qint64 fileIdentity(const QString &path);

// Read and write for the owner alone.
inline constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The permissions a file newly made in `folder` gets: those of kOwnerOnly
// when the folder itself is closed to its group and to others (a private
// data folder keeps what it holds private, also once copied elsewhere), else
// read and write for everyone, less the process's umask, as any new file.
QFileDevice::Permissions newFilePermissions(const QString &folder);
// Makes the folder `path` and any missing folder above it. Inside a private
// folder (one closed to its group and to others, as the data folder is when
// the program makes it) each new folder is private too, so that what the
// program keeps in it (photos, the bin, a restored backup) stays the user's
// alone; elsewhere new folders are made as any, under the umask. True when
// the folder exists afterwards.
bool makeFolder(const QString &path);
// Syncs a file, or a folder's list of names, to the disk; false when the
// system reports a failure.
bool syncPath(const QString &path);

// Whether a write on `file` that just failed failed for want of space (a
// full disk, ENOSPC, or a used-up quota, EDQUOT) rather than for want of
// permission.
bool isOutOfSpace(const QFileDevice &file);
// The cause of the last failed write of this thread, as the atomic writes
// note it, so that the message shown can name it.
void noteWriteFailure(bool outOfSpace);
void forgetWriteFailure();
// Whether the last failed write ran out of space, or the disk of `folder`
// has (almost) no room left.
bool writeFailedForSpace(const QString &folder);

} // namespace platform
