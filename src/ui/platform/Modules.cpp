#include "ui/platform/Modules.h"

#include "core/app/InstalledFiles.h"

namespace platform {

// Each opened where the installation puts it, the first time it is wanted.
Module &cameraModule() { static Module m(InstalledFiles::cameraModule()); return m; }
Module &printModule() { static Module m(InstalledFiles::printModule()); return m; }
Module &channelModule() { static Module m(InstalledFiles::channelModule()); return m; }
Module &chartsModule() { static Module m(InstalledFiles::chartsModule()); return m; }

} // namespace platform
