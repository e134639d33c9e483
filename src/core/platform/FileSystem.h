#pragma once
#include <QString>

namespace platform {

// True when an existing file is marked read-only: no write permission for its
// owner. The program treats such a file as one it may not write, whoever runs
// it (as the read-only attribute works on Windows, also for administrators).
bool isReadOnly(const QString &path);

} // namespace platform
