#include "cards/TfrmCartoline.h"

#include <QLabel>

TfrmCartoline::TfrmCartoline(QWidget *parent)
    : MainLevelWindow(QStringLiteral("frmCartoline"), QStringLiteral(" Vetrinora - Archivio MOC"),
                      Colors::steelBlue(), QSize(995, 692), parent)
{
    lblNome = makeLabel(QStringLiteral("lblNome"), QStringLiteral("NOME ARCHIVIO MOC"),
                        QRect(462, 100, 500, 30), panel());
    QFont font = lblNome->font();
    font.setBold(true);
    font.setPointSize(16);
    lblNome->setFont(font);
    lblFile = makeLabel(QStringLiteral("lblFile"), QString(), QRect(0, 0, 0, 0), panel());
    lblFile->hide();
}
