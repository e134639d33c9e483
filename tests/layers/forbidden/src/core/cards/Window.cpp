#include "core/cards/CardStore.h"
#  include <QDialog>
