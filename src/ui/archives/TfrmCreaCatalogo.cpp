#include "ui/archives/TfrmCreaCatalogo.h"

#include "core/app/Messages.h"
#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
#include "core/app/Text.h"
#include "core/archives/ArchiveNames.h"
#include "ui/editing/FieldBehaviours.h"
#include "ui/editing/FieldEvents.h"
#include "ui/platform/Platform.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

TfrmCreaCatalogo::TfrmCreaCatalogo(QWidget *parent)
    : ArchiveWindow(QStringLiteral("frmCreaCatalogo"),
                    QStringLiteral(" Vetrinora - Creazione nuovo archivio MOC"),
                    QStringLiteral(":/images/crea_intestazione.svg"), parent)
{
    QLabel *hint = makeLabel(QStringLiteral("lblIstruzioni"),
                             QStringLiteral("Indicare il nome per esteso del nuovo archivio di MOC "
                                            "e confermare con il pulsante Applica e chiudi."),
                             QRect(150, 190, 695, 44), panel());
    hint->setWordWrap(true);
    QFont font = hint->font();
    font.setPointSize(12);
    hint->setFont(font);
    QLabel *caption = makeLabel(QStringLiteral("lblNomeArchivio"),
                                QStringLiteral("Nome del nuovo archivio MOC:"),
                                QRect(150, 258, 695, 20), panel());
    font.setBold(true);
    font.setPointSize(10);
    caption->setFont(font);

    txtFile = new QLineEdit(panel());
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setGeometry(150, 282, 695, 32);
    txtFile->setMaxLength(250);
    QFont fieldFont(QStringLiteral("Verdana"), 14);
    fieldFont.setStyleHint(QFont::SansSerif);
    txtFile->setFont(fieldFont);
    FieldBehaviours::paintField(txtFile, FieldBehaviours::aliceBlue());
    FieldEvents::of(txtFile)->onKeyDown([](QKeyEvent *key) {
        return key->text().size() == 1 && ArchiveNames::refusedWhileTyping(key->text().at(0));
    });

    btnApplica = imageButton(QStringLiteral("btnApplica"), QStringLiteral(":/images/btn_applica.svg"),
                             QRect(150, 360, 220, 44), QStringLiteral("Applica e chiudi"));
    btnAnnulla = imageButton(QStringLiteral("btnAnnulla"), QStringLiteral(":/images/btn_annulla.svg"),
                             QRect(625, 360, 220, 44), QStringLiteral("Annulla"));
    lblFile = makeLabel(QStringLiteral("lblFile"), QString(), QRect(), panel());
    lblFile->hide();

    connect(btnApplica, &Picture::clicked, this, &TfrmCreaCatalogo::btnApplicaClick);
    connect(btnAnnulla, &Picture::clicked, this, &TfrmCreaCatalogo::btnAnnullaClick);
    nameField(caption, txtFile);
    picturesAfterControls(this, {btnApplica, btnAnnulla, imgGuida});
}

void TfrmCreaCatalogo::showEvent(QShowEvent *event)
{
    ArchiveWindow::showEvent(event);
    if (event->spontaneous())
        return;
    txtFile->clear();
    Focus::moveTo(txtFile);
}

QString TfrmCreaCatalogo::nameProblem(const QString &name)
{
    if (name.isEmpty())
        return Messages::archiveNameMissing();
    if (!ArchiveNames::isAcceptable(name))
        return Messages::archiveNameCharacters();
    if (!ArchiveNames::fileNamesFit(name))
        return Messages::archiveNameTooLong();
    return {};
}

void TfrmCreaCatalogo::btnApplicaClick()
{
    lblFile->clear();
    const QString name = Text::trim(txtFile->text());
    if (const QString problem = nameProblem(name); !problem.isEmpty()) {
        platform::warning(this, problem);
        Focus::moveTo(txtFile);
        return;
    }
    const QString fileName = name + QStringLiteral(".moc");
    lblFile->setText(ProgramFolder::file(fileName));
    if (ArchiveNames::existsIgnoringCase(ProgramFolder::path(), fileName)) {
        platform::warning(this, Messages::archiveNameUsed());
        return;
    }
    QFile file(lblFile->text());
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        VetrinoraApplication::reportError(Messages::archiveFileNotCreated(lblFile->text()));
        return;
    }
    file.close();
    platform::information(this, Messages::archiveCreated());
    close();
}

void TfrmCreaCatalogo::btnAnnullaClick() { close(); }

TfrmCreaCatalogo::~TfrmCreaCatalogo() { FieldEvents::detachAll(this); }
