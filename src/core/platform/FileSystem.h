#pragma once
#include <QFileDevice>
#include <QString>

namespace platform {

// True when an existing file is marked read-only: no write permission for its
// owner. The program treats such a file as one it may not write, whoever runs
// it (as the read-only attribute works on Windows, also for administrators).
bool isReadOnly(const QString &path);

// Read and write for the owner alone.
inline constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The permissions a file newly made in `folder` gets: those of kOwnerOnly
// when the folder itself is closed to its group and to others (a private
// data folder keeps what it holds private, also once copied elsewhere), else
// read and write for everyone, less the process's umask, as any new file.
QFileDevice::Permissions newFilePermissions(const QString &folder);

} // namespace platform
