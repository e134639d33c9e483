#pragma once
// A comment may name any header: #include "ui/app/Roster.h"
#include <QString>
