#include "ui/editing/TfrmAllegaCartella.h"
#include "core/app/Messages.h"
#include "core/platform/FileSystem.h"

#include "ui/base/OpenURL.h"
#include "core/app/ProgramFolder.h"
#include "ui/base/Navigation.h"
#include "ui/editing/CardHost.h"
#include "core/app/Text.h"
#include "ui/base/Widgets.h"
#include "core/editing/AttachmentNames.h"
#include "core/platform/AtomicFile.h"
#include "ui/platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Copies a file over another in one step: a failed copy never leaves the old
// file half-replaced, and the temporary copy has a name of its own that no
// file of the user's can have.
void copyReplacing(const QString &source, const QString &destination)
{
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(destination).canonicalFilePath())
        return;
    platform::AtomicFile::copy(source, destination);
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget *parent) : QDialog(parent)
{
    makeFixedModal(this, QStringLiteral("frmAllegaCartella"), QStringLiteral(" Allega file"),
                   QSize(634, 534));
    new Picture(QStringLiteral("imgIntestazione"), QStringLiteral(":/images/allega_intestazione.svg"),
                QRect(12, 10, 610, 96), this);
    QFont labelFont = font();
    labelFont.setBold(true);
    for (int i = 0; i < 3; ++i) {
        const int y = 120 + i * 124;
        const QString n = QStringLiteral("0%1").arg(i + 1);
        QLabel *fileCaption = makeLabel(QStringLiteral("lblFile") + n,
                                        QStringLiteral("Nome %1° file allegato:").arg(i + 1),
                                        QRect(20, y, 380, 18), this);
        fileCaption->setFont(labelFont);
        txtFile[i] = new QLineEdit(this);
        txtFile[i]->setObjectName(QStringLiteral("txtFile") + n);
        txtFile[i]->setGeometry(20, y + 20, 380, 28);
        txtFile[i]->setReadOnly(true);
        txtFile[i]->setFont(verdana(10));
        imgCancella[i] = new Picture(QStringLiteral("imgCancella") + n, QStringLiteral(":/images/gomma.svg"),
                                     QRect(408, y + 23, 22, 22), this);
        imgCancella[i]->setClickable(true);
        imgCancella[i]->setHint(QStringLiteral("Elimina il file dalla scheda"));
        btnSfoglia[i] = makeButton(QStringLiteral("btnSfoglia") + n, QStringLiteral("Sfoglia..."),
                               QRect(438, y + 19, 92, 32), this);
        btnApri[i] = makeButton(QStringLiteral("btnApri") + n, QStringLiteral("Apri"),
                            QRect(536, y + 19, 78, 32), this);
        btnApri[i]->setEnabled(false);
        QLabel *descCaption = makeLabel(QStringLiteral("lblDesc") + n,
                                        QStringLiteral("Descrizione %1° file allegato:").arg(i + 1),
                                        QRect(20, y + 56, 380, 18), this);
        descCaption->setFont(labelFont);
        txtDesc[i] = new QLineEdit(this);
        txtDesc[i]->setObjectName(QStringLiteral("txtDesc") + n);
        txtDesc[i]->setGeometry(20, y + 76, 594, 28);
        txtDesc[i]->setFont(verdana(12));
        // Each eraser sits in the Tab order where it stands, after its file.
        nameField(fileCaption, txtFile[i]);
        nameField(descCaption, txtDesc[i]);
        connect(txtFile[i], &QLineEdit::textChanged, this, [this, i](const QString &text) {
            btnApri[i]->setEnabled(!Text::trim(text).isEmpty());
        });
        connect(btnSfoglia[i], &QPushButton::clicked, this, [this, i] { attach(i); });
        connect(btnApri[i], &QPushButton::clicked, this, [this, i] { open(i); });
        connect(imgCancella[i], &Picture::clicked, this, [this, i] { erase(i); });
    }
    btnAnnulla = makeButton(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(20, 488, 180, 36), this);
    btnApplica = makeButton(QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"),
                        QRect(434, 488, 180, 36), this);
    lblMemory = makeLabel(QStringLiteral("lblMemory"), QString(), QRect(), this);
    lblMemory->hide();
    connect(btnAnnulla, &QPushButton::clicked, this, &QWidget::close);
    connect(btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
}

QString TfrmAllegaCartella::folder()
{
    return ProgramFolder::file(QStringLiteral("Documenti_Allegati"));
}

void TfrmAllegaCartella::attach(int slot)
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Selezionare il file da allegare:");
    request.filters = {QStringLiteral("Tutti i file (*)")};
    const QString chosen = platform::services().openFile(this, request);
    if (chosen.isEmpty())
        return;
    // A name the card's record could not give back is refused before
    // anything is copied; the slot keeps what it held.
    const QString name = Text::trim(QFileInfo(chosen).fileName());
    switch (AttachmentNames::problemOf(name)) {
    case AttachmentNames::Problem::TooLong:
        platform::warning(this, Messages::attachmentNameTooLong());
        return;
    case AttachmentNames::Problem::NotStorable:
        platform::warning(this,
                          Messages::attachmentNameCharacters(AttachmentNames::unstorableCharacters(name)));
        return;
    case AttachmentNames::Problem::None:
        break;
    }
    txtFile[slot]->setText(QFileInfo(chosen).fileName());
    // Failures from here on are silent: the slot keeps the name.
    if (!platform::makeFolder(folder()))
        return;
    // Never through a link that leads out of the folder.
    const QString destination = AttachmentNames::pathInFolder(folder(), Text::trim(txtFile[slot]->text()));
    if (destination.isEmpty())
        return;
    if (QFile::exists(destination)
        && !platform::confirm(this, Messages::attachmentExists()))
        return;
    copyReplacing(chosen, destination);
}

void TfrmAllegaCartella::open(int slot)
{
    // A stored name opens only a file of the attachment folder.
    const QString path = AttachmentNames::pathInFolder(folder(), Text::trim(txtFile[slot]->text()));
    if (path.isEmpty()) {
        platform::warning(this, Messages::attachmentMissing());
        return;
    }
    TMisc::Open(QLatin1Char('"') + path + QLatin1Char('"'));
}

void TfrmAllegaCartella::erase(int slot) { txtFile[slot]->clear(); }

void TfrmAllegaCartella::btnApplicaClick()
{
    const QString word = Text::trim(lblMemory->text());
    CardHost *editor = nullptr;
    if (word == QLatin1String("armi"))
        editor = dynamic_cast<CardHost *>(navigation().window(Place::Sets));
    else if (word == QLatin1String("cartoline"))
        editor = dynamic_cast<CardHost *>(navigation().window(Place::Mocs));
    if (!editor)
        return;
    writeTo(editor);
    close();
}

namespace {
constexpr const char *kFiles[] = {"lblFile01", "lblFile02", "lblFile03"};
constexpr const char *kDescriptions[] = {"lblDesc01", "lblDesc02", "lblDesc03"};
} // namespace

void TfrmAllegaCartella::readFrom(const CardHost *editor)
{
    for (int i = 0; i < 3; ++i) {
        txtFile[i]->setText(Text::trim(editor->attachmentLabel(kFiles[i])->text()));
        txtDesc[i]->setText(Text::trim(editor->attachmentLabel(kDescriptions[i])->text()));
    }
}

void TfrmAllegaCartella::writeTo(CardHost *editor) const
{
    for (int i = 0; i < 3; ++i) {
        editor->attachmentLabel(kFiles[i])->setText(Text::trim(txtFile[i]->text()));
        editor->attachmentLabel(kDescriptions[i])->setText(Text::trim(txtDesc[i]->text()));
    }
}
