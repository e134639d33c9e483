#include "ui/app/Roster.h"
#include "ui/collection/TfrmCollezione.h"
#include "ui/platform/Platform.h"
#include "core/app/Text.h"
#include <QWidget>
