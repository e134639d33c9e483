#include "ui/app/TfrmCambiaPassword.h"

#include "core/app/Messages.h"
#include "core/app/Credentials.h"
#include "core/app/Crypt.h"
#include "ui/app/PasswordWindows.h"
#include "ui/base/Navigation.h"
#include "ui/base/Widgets.h"
#include "core/app/Text.h"
#include "ui/base/Widgets.h"
#include "ui/editing/FieldBehaviours.h"
#include "ui/editing/FieldEvents.h"
#include "ui/platform/Platform.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmCambiaPassword::TfrmCambiaPassword(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCambiaPassword"));
    makeFixedDialog(this, QStringLiteral(" Cambia password"), QSize(411, 418));

    imgLogo = new Picture(QStringLiteral("imgLogo"), QStringLiteral(":/images/cambia.svg"),
                          QRect(0, 0, 411, 100), this);
    QFont bold = font();
    bold.setBold(true);
    struct Row {
        const char *label;
        const char *caption;
        const char *field;
        const char *halo;
        int y;
    };
    const Row rows[] = {
        {"lblPasswordOld", "Vecchia password:", "txtPasswordOld", "effPasswordOld", 120},
        {"lblPasswordNew", "Nuova password:", "txtPasswordNew", "effPasswordNew", 190},
        {"lblConferma", "Conferma nuova password:", "txtConferma", "effConferma", 260},
    };
    QLineEdit *fields[3];
    Halo *halos[3];
    for (int i = 0; i < 3; ++i) {
        const Row &r = rows[i];
        QLabel *caption = makeLabel(QString::fromLatin1(r.label), QString::fromUtf8(r.caption),
                                    QRect(29, r.y, 353, 20), this);
        caption->setFont(bold);
        fields[i] = makePasswordField(QString::fromLatin1(r.field), QRect(29, r.y + 24, 353, 32),
                                      this);
        nameField(caption, fields[i]);
        halos[i] = FieldBehaviours::attachHalo(fields[i], QString::fromLatin1(r.halo));
        connect(fields[i], &QLineEdit::textChanged, this, &TfrmCambiaPassword::fieldChange);
    }
    txtPasswordOld = fields[0];
    txtPasswordNew = fields[1];
    txtConferma = fields[2];
    effPasswordOld = halos[0];
    effPasswordNew = halos[1];
    effConferma = halos[2];
    FieldBehaviours::returnCycle({txtPasswordOld, txtPasswordNew, txtConferma});

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(29, 352, 170, 38);
    cmdEsci = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    cmdEsci->setGeometry(212, 352, 170, 38);
    for (QPushButton *b : {cmdOK, cmdEsci})
        b->setCursor(Qt::PointingHandCursor);
    lblMemory = makeLabel(QStringLiteral("lblMemory"), QString(), QRect(0, 0, 0, 0), this);
    lblMemory->hide();

    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdOK);
    setTabOrder(cmdOK, cmdEsci);

    cmdOK->setEnabled(false);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);
}

void TfrmCambiaPassword::fieldChange()
{
    cmdOK->setEnabled(!Text::trim(txtPasswordOld->text()).isEmpty()
                      && !Text::trim(txtPasswordNew->text()).isEmpty()
                      && !Text::trim(txtConferma->text()).isEmpty());
}

void TfrmCambiaPassword::refuse(const QString &message)
{
    platform::showMessage(this, message);
    txtPasswordNew->clear();
    txtConferma->clear();
    Focus::moveTo(txtPasswordNew);
}

void TfrmCambiaPassword::cmdOKClick()
{
    try {
        const QString stored = Credentials::storedPassword();
        if (Credentials::normalForm(txtPasswordOld->text()) != stored) {
            platform::showMessage(this, Messages::wrongOldPassword());
            txtPasswordOld->clear();
            Focus::moveTo(txtPasswordOld);
            return;
        }
        if (Text::trim(txtPasswordNew->text()) != Text::trim(txtConferma->text())) {
            refuse(Messages::passwordNotConfirmed());
            return;
        }
        const QString newPassword = Credentials::normalForm(txtPasswordNew->text());
        const QString why = Credentials::whyNotStorable(newPassword);
        if (!why.isEmpty()) {
            refuse(why);
            return;
        }
        lblMemory->setText(Crypt::Scramble(newPassword));
        Credentials::store(newPassword);
        lblMemory->clear();
    } catch (const std::exception &) {
        lblMemory->clear();
        platform::showMessage(this, Messages::passwordChangeFailed());
        return;
    }
    platform::showMessage(this, Messages::passwordChanged());
    close();
}

void TfrmCambiaPassword::cmdEsciClick() { close(); }

void TfrmCambiaPassword::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    lblMemory->clear();
    Focus::moveTo(txtPasswordOld);
}

void TfrmCambiaPassword::closeEvent(QCloseEvent *event)
{
    event->accept();
    navigation().backToLogin();
}

TfrmCambiaPassword::~TfrmCambiaPassword() { FieldEvents::detachAll(this); }
