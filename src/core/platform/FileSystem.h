#pragma once
#include <QFileDevice>
#include <QString>

namespace platform {

// True when an existing file is marked read-only: no write permission for its
// owner. The program treats such a file as one it may not write, whoever runs
// it (as the read-only attribute works on Windows, also for administrators).
bool isReadOnly(const QString &path);

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
