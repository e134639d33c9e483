#include "LinkedModules.h"

#include "channel/QtLocalChannel.h"
#include "charts/QtChartMaker.h"
#include "core/platform/Module.h"
#include "formats/LibraryFormats.h"

void linkModulesIn()
{
    platform::Module::linkIn(Transfer::kGetFileFormats, reinterpret_cast<QFunctionPointer>(&vetrinora_file_formats));
    platform::Module::linkIn(platform::kCreateLocalChannel,
                             reinterpret_cast<QFunctionPointer>(&vetrinora_create_local_channel));
    platform::Module::linkIn(platform::kGetChartMaker, reinterpret_cast<QFunctionPointer>(&vetrinora_chart_maker));
}
