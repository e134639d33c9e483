#include "ui/search/ListWindow.h"
#include "ui/editing/HintBar.h"
#include "ui/output/ExportWindow.h"
