#include "ui/base/Navigation.h"

#include <QtGlobal>

namespace {
Navigation *installed = nullptr;
}

Navigation &navigation()
{
    Q_ASSERT(installed);
    return *installed;
}

void setNavigation(Navigation *navigation) { installed = navigation; }
