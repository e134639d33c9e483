#pragma once
#include "ui/base/Application.h"
#include <QString>
