#pragma once
// The charts module's one export (ui/platform/Modules.h). A program that
// links the module's code in (vetrinora_linked_modules) gives it to
// platform::Module::linkIn() instead of opening the module.

#include "ui/platform/Modules.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT platform::ChartMaker *vetrinora_chart_maker();
