#include "ui/platform/Modules.h"

#include "core/app/InstalledFiles.h"

namespace platform {

Module &cameraModule()
{
    static Module module(InstalledFiles::cameraModule());
    return module;
}

Module &printModule()
{
    static Module module(InstalledFiles::printModule());
    return module;
}

Module &chartsModule()
{
    static Module module(InstalledFiles::chartsModule());
    return module;
}

Module &channelModule()
{
    static Module module(InstalledFiles::channelModule());
    return module;
}

} // namespace platform
