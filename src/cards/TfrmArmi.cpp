#include "cards/TfrmArmi.h"

TfrmArmi::TfrmArmi(QWidget *parent)
    : MainLevelWindow(QStringLiteral("frmArmi"), QStringLiteral(" Vetrinora - Catalogo BLOKKO"),
                      QColor(0x42, 0x7A, 0xA8), QSize(996, 692), parent)
{
}
