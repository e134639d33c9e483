#include "core/platform/FileSystem.h"

#include <QFileInfo>

namespace platform {

bool isReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace platform
