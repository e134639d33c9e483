#include "core/platform/FileSystem.h"

#include <QFileInfo>

namespace platform {

bool isReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !(info.permissions() & QFileDevice::WriteOwner);
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
