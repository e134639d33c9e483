#include "archives/TfrmCreaCatalogo.h"

TfrmCreaCatalogo::TfrmCreaCatalogo(QWidget *parent)
    : MainLevelWindow(QStringLiteral("frmCreaCatalogo"),
                      QStringLiteral(" Vetrinora - Creazione nuovo archivio MOC"),
                      Colors::steelBlue(), QSize(995, 692), parent)
{
}
