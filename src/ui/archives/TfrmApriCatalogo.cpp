#include "ui/archives/TfrmApriCatalogo.h"

#include "core/app/Messages.h"
#include "core/app/ProgramFolder.h"
#include "ui/base/Navigation.h"
#include "core/app/Text.h"
#include "core/archives/ArchiveNames.h"
#include "ui/platform/Platform.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QShowEvent>

TfrmApriCatalogo::TfrmApriCatalogo(QWidget *parent)
    : ArchiveWindow(QStringLiteral("frmApriCatalogo"),
                    QStringLiteral(" Vetrinora - Apertura archivio MOC"),
                    QStringLiteral(":/images/apri_intestazione.svg"), parent)
{
    QLabel *caption = makeLabel(QStringLiteral("lblElenco"),
                                QStringLiteral("Archivi di MOC presenti nella cartella del programma:"),
                                QRect(150, 124, 695, 20), panel());
    QFont font = caption->font();
    font.setBold(true);
    font.setPointSize(10);
    caption->setFont(font);

    lstFiles = new QListWidget(panel());
    lstFiles->setObjectName(QStringLiteral("lstFiles"));
    lstFiles->setGeometry(150, 148, 695, 392);
    lstFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    selectTheCurrentEntry(lstFiles);

    lblCreati = makeLabel(QStringLiteral("lblCreati"),
                          QStringLiteral("Sono stati creati 0 archivi di MOC."),
                          QRect(150, 550, 695, 24), panel());
    lblCreati->setFont(verdana(12, false));
    lblCreati->setStyleSheet(QStringLiteral("color: green;"));

    btnApri = imageButton(QStringLiteral("btnApri"), QStringLiteral(":/images/btn_apri_archivio.svg"),
                          QRect(150, 600, 220, 44), QStringLiteral("Apri archivio"));
    btnElimina = imageButton(QStringLiteral("btnElimina"), QStringLiteral(":/images/btn_cestino.svg"),
                             QRect(475, 600, 44, 44),
                             QStringLiteral("Elimina l'archivio selezionato"));
    btnAnnulla = imageButton(QStringLiteral("btnAnnulla"), QStringLiteral(":/images/btn_annulla.svg"),
                             QRect(625, 600, 220, 44), QStringLiteral("Annulla"));
    lblMemory = makeLabel(QStringLiteral("lblMemory"), QStringLiteral("avvio"), QRect(), panel());
    lblMemory->hide();
    lblFile = makeLabel(QStringLiteral("lblFile"), QString(), QRect(), panel());
    lblFile->hide();

    connect(btnApri, &Picture::clicked, this, &TfrmApriCatalogo::btnApriClick);
    connect(btnElimina, &Picture::clicked, this, &TfrmApriCatalogo::btnEliminaClick);
    connect(btnAnnulla, &Picture::clicked, this, &TfrmApriCatalogo::btnAnnullaClick);
    nameField(caption, lstFiles);
    picturesAfterControls(this, {btnApri, btnElimina, btnAnnulla, imgGuida});
}

void TfrmApriCatalogo::showEvent(QShowEvent *event)
{
    ArchiveWindow::showEvent(event);
    if (event->spontaneous())
        return;
    lblMemory->setText(QStringLiteral("avvio"));
    lblFile->setText(ProgramFolder::path());
    buildList();
}

void TfrmApriCatalogo::buildList()
{
    lstFiles->clear();
    QFont courier(QStringLiteral("Courier New"), 14);
    courier.setStyleHint(QFont::Monospace);
    for (const QString &file : ArchiveNames::list(ProgramFolder::path())) {
        auto *item = new QListWidgetItem(file, lstFiles);
        item->setData(kFileNameRole, file);
        item->setFont(courier);
        item->setForeground(Qt::black);
    }
    lblCreati->setText(
        QStringLiteral("Sono stati creati %1 archivi di MOC.").arg(lstFiles->count()));
}

QString TfrmApriCatalogo::selectedEntry() const
{
    const QList<QListWidgetItem *> selected = lstFiles->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QString TfrmApriCatalogo::selectedFile() const
{
    const QList<QListWidgetItem *> selected = lstFiles->selectedItems();
    return selected.isEmpty() ? QString()
                              : ProgramFolder::file(selected.first()->data(kFileNameRole).toString());
}

void TfrmApriCatalogo::btnApriClick()
{
    if (lstFiles->count() == 0) {
        platform::warning(this, Messages::noArchiveToOpen());
        return;
    }
    const QString entry = selectedEntry();
    if (entry.isEmpty()) {
        platform::warning(this, Messages::selectArchiveToOpen());
        return;
    }
    lblFile->setText(selectedFile());
    lblMemory->setText(QStringLiteral("cartoline"));
    close();
}

void TfrmApriCatalogo::btnEliminaClick()
{
    if (lstFiles->count() == 0) {
        platform::warning(this, Messages::noArchiveToDelete());
        return;
    }
    const QString entry = selectedEntry();
    if (entry.isEmpty()) {
        platform::warning(this, Messages::selectArchiveToDelete());
        return;
    }
    if (!platform::confirm(this, Messages::confirmArchiveDeletion()))
        return;
    lblFile->setText(selectedFile());
    // Only the archive file goes: its photos and attachments stay.
    if (QFile::remove(lblFile->text()))
        platform::information(this, Messages::archiveDeleted());
    else
        platform::warning(this, Messages::archiveNotDeleted());
    lblMemory->setText(QStringLiteral("avvio"));
    lblFile->clear();
    buildList();
}

void TfrmApriCatalogo::btnAnnullaClick() { close(); }

QWidget *TfrmApriCatalogo::closeTarget()
{
    if (Text::trim(lblMemory->text()) != QLatin1String("cartoline"))
        return MainLevelWindow::closeTarget();
    const QString entry = selectedEntry();
    lblFile->setText(selectedFile());
    return navigation().mocEditorFor(Text::trim(lblFile->text()), entry.left(entry.size() - 4));
}
