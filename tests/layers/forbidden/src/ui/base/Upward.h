#pragma once
#include "ui/base/Widgets.h"
#include "ui/app/Roster.h"
