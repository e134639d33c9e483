#include "archives/TfrmApriCatalogo.h"

#include "app/ProgramFolder.h"
#include "app/Roster.h"
#include "app/Text.h"
#include "cards/TfrmCartoline.h"

#include <QFileInfo>
#include <QLabel>

TfrmApriCatalogo::TfrmApriCatalogo(QWidget *parent)
    : MainLevelWindow(QStringLiteral("frmApriCatalogo"),
                      QStringLiteral(" Vetrinora - Apertura archivio MOC"), Colors::steelBlue(),
                      QSize(995, 692), parent)
{
    lblMemory = makeLabel(QStringLiteral("lblMemory"), QStringLiteral("avvio"), QRect(), panel());
    lblMemory->hide();
    lblFile = makeLabel(QStringLiteral("lblFile"), QString(), QRect(), panel());
    lblFile->hide();
}

void TfrmApriCatalogo::showEvent(QShowEvent *event)
{
    MainLevelWindow::showEvent(event);
    lblMemory->setText(QStringLiteral("avvio"));
    lblFile->setText(ProgramFolder::path());
}

QWidget *TfrmApriCatalogo::closeTarget()
{
    if (Text::trim(lblMemory->text()) != QLatin1String("cartoline"))
        return MainLevelWindow::closeTarget();
    TfrmCartoline *editor = Roster::instance().frmCartoline();
    const QString path = Text::trim(lblFile->text());
    const QString entry = QFileInfo(path).fileName();
    editor->lblFile->setText(path);
    editor->lblNome->setText(entry.left(entry.size() - 4));
    return editor;
}
