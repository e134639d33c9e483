#include "ui/cards/TfrmCartoline.h"

#include "core/app/Text.h"
#include "core/cards/PhotoNames.h"
#include "ui/base/Widgets.h"
#include "ui/editing/HintBar.h"
#include "ui/editing/TfrmSlideshow.h"
#include "ui/output/CardPrintWindow.h"
#include "ui/output/ExportWindow.h"
#include "ui/search/SearchWindows.h"

#include <QLabel>

TfrmCartoline::TfrmCartoline(QWidget *parent) : CardEditor(EditorTables::mocs(), parent)
{
    lblNome = makeLabel(QStringLiteral("lblNome"), QStringLiteral("NOME ARCHIVIO MOC"),
                        QRect(462, 92, 500, 30), panel());
    QFont font = lblNome->font();
    font.setBold(true);
    font.setPointSize(16);
    lblNome->setFont(font);
    lblNome->setStyleSheet(QStringLiteral("color: #1F3A5F;"));
    hintBar->addBlank(lblNome);
    lblFile = makeLabel(QStringLiteral("lblFile"), QString(), QRect(), panel());
    lblFile->hide();
    wireToolbar();
}

void TfrmCartoline::cmdTrovaClick()
{
    TfrmTrovaCartoline search(this);
    search.lblMemory->setText(QStringLiteral("cartoline"));
    search.exec();
}

void TfrmCartoline::cmdCercaDisponibiliClick()
{
    TfrmInVendita summary(this);
    summary.exec();
}

void TfrmCartoline::cmdStampaClick()
{
    TfrmStampaCartolina print(this);
    print.exec();
}

void TfrmCartoline::cmdAnteprimaClick()
{
    TfrmAnteprimaCartolina preview(this);
    preview.exec();
}

QString TfrmCartoline::archiveName() const { return Text::trim(lblNome->text()); }

QString TfrmCartoline::recordFilePath() const { return Text::trim(lblFile->text()); }

QString TfrmCartoline::photoFileName(int slot, const QString &position) const
{
    return PhotoNames::mocFileName(Text::trim(lblNome->text()), slot, position);
}

void TfrmCartoline::cmdEsportaClick()
{
    TfrmExpCartoline exportWindow(this);
    exportWindow.exec();
}

void TfrmCartoline::cmdSlideShowClick()
{
    TfrmSlideshow_Euro_01 show(this);
    show.exec();
}
