#include "ui/cards/TfrmArmi.h"

#include "core/app/Messages.h"
#include "core/app/ProgramFolder.h"
#include "core/app/Text.h"
#include "ui/base/Widgets.h"
#include "core/cards/PhotoNames.h"
#include "core/cards/Schede.h"
#include "ui/editing/FieldEvents.h"
#include "ui/output/CardPrintWindow.h"
#include "ui/output/ExportWindow.h"
#include "ui/platform/Platform.h"
#include "ui/search/SearchWindows.h"

#include <QLabel>
#include <QLineEdit>

TfrmArmi::TfrmArmi(QWidget *parent) : CardEditor(EditorTables::sets(), parent)
{
    QLabel *title = makeLabel(QStringLiteral("lblTitolo"), QStringLiteral("Scheda del set BLOKKO"),
                              QRect(668, 92, 296, 28), panel());
    QFont font = title->font();
    font.setBold(true);
    font.setPointSize(15);
    title->setFont(font);
    title->setStyleSheet(QStringLiteral("color: #1F3A5F;"));
    wireToolbar();
}

QString TfrmArmi::recordFilePath() const
{
    return ProgramFolder::file(QString::fromLatin1(Schede::kCatalogueFile));
}

QString TfrmArmi::photoFileName(int, const QString &position) const
{
    return PhotoNames::setFileName(position);
}

void TfrmArmi::cmdDuplicaClick()
{
    if (Text::trim(lblPosizione->text()).isEmpty()) {
        platform::warning(this, Messages::duplicateUnsaved());
        return;
    }
    for (const FieldDef &def : config().layout->fields)
        if (def.role == FieldRole::Attachment)
            attachmentLabel(def.control)->clear();
    lblPosizione->clear();
    clearPhoto(0);
    Focus::moveTo(field("txtArma"));
    platform::information(this, Messages::duplicated());
}

void TfrmArmi::cmdTrovaClick()
{
    TfrmTrovaArmi search(this);
    search.lblMemory->setText(QStringLiteral("armi"));
    search.exec();
}

void TfrmArmi::cmdSegnalatiClick()
{
    TfrmArmi_Disponibili summary(this);
    summary.exec();
}

void TfrmArmi::cmdStampaClick()
{
    TfrmStampaArma print(this);
    print.exec();
}

void TfrmArmi::cmdEsportaClick()
{
    TfrmExpArmi exportWindow(this);
    exportWindow.exec();
}
