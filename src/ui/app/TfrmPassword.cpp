#include "ui/app/TfrmPassword.h"

#include "core/app/Messages.h"
#include "core/app/Credentials.h"
#include "ui/base/Navigation.h"
#include "core/app/Text.h"
#include "ui/base/Widgets.h"
#include "ui/editing/FieldBehaviours.h"
#include "ui/editing/FieldEvents.h"
#include "ui/platform/Platform.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLineEdit *makePasswordField(const QString &objectName, const QRect &geometry, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setGeometry(geometry);
    field->setEchoMode(QLineEdit::Password);
    QFont font(QStringLiteral("Verdana"), 14, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    field->setFont(font);
    return field;
}

void makeFixedDialog(QWidget *window, const QString &caption, QSize clientSize)
{
    window->setWindowTitle(caption);
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(clientSize);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
}

TfrmPassword::TfrmPassword(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPassword"));
    makeFixedDialog(this, QStringLiteral(" Vetrinora - Accesso"), QSize(388, 405));

    imgLogo = new Picture(QStringLiteral("imgLogo"), QStringLiteral(":/images/login.svg"),
                          QRect(0, 0, 388, 110), this);
    lblRigo05 = makeLabel(QStringLiteral("lblRigo05"),
                          QStringLiteral("Immetti la password e premi OK."),
                          QRect(18, 136, 353, 22), this);
    QFont bold = lblRigo05->font();
    bold.setBold(true);
    bold.setPointSize(11);
    lblRigo05->setFont(bold);

    txtPassword = makePasswordField(QStringLiteral("txtPassword"), QRect(18, 172, 353, 32), this);
    effPassword = FieldBehaviours::attachHalo(txtPassword, QStringLiteral("effPassword"));
    // The line above the field asks for the password; the field is named for it.
    lblRigo05->setBuddy(txtPassword);
    txtPassword->setAccessibleName(QStringLiteral("Password"));

    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), QRect(18, 232, 170, 38), this);
    cmdEsci = makeButton(QStringLiteral("cmdEsci"), QStringLiteral("Esci"),
                         QRect(201, 232, 170, 38), this);
    auto *separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setGeometry(18, 296, 353, 2);
    makeLabel(QStringLiteral("lblRigo06"), QStringLiteral("Vuoi scegliere una nuova password?"),
              QRect(18, 312, 353, 20), this);
    btnCambiaPassword = makeButton(QStringLiteral("btnCambiaPassword"),
                                   QStringLiteral("Cambia password"), QRect(18, 342, 353, 38), this);
    lblMemory = makeLabel(QStringLiteral("lblMemory"), QString(), QRect(0, 0, 0, 0), this);
    lblMemory->hide();

    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambiaPassword);

    cmdOK->setEnabled(false);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(btnCambiaPassword, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);
    connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
    FieldEvents::of(txtPassword)->onKeyDown([this](QKeyEvent *key) {
        if (isReturnKey(key) && !Text::trim(txtPassword->text()).isEmpty())
            cmdOKClick();
        return false;
    });
}

void TfrmPassword::txtPasswordChange()
{
    cmdOK->setEnabled(!Text::trim(txtPassword->text()).isEmpty());
}

void TfrmPassword::cmdOKClick()
{
    try {
        lblMemory->setText(Credentials::storedPassword());
        const bool right = Credentials::normalForm(txtPassword->text()) == lblMemory->text();
        lblMemory->clear();
        if (!right) {
            platform::showMessage(this, Messages::wrongPassword());
            txtPassword->clear();
            Focus::moveTo(txtPassword);
            return;
        }
        navigation().handOver(this, Place::Start);
    } catch (const std::exception &) {
        lblMemory->clear();
        platform::showMessage(this, Messages::passwordReadFailed());
    }
}

void TfrmPassword::cmdEsciClick()
{
    close();
}

void TfrmPassword::btnCambiaPasswordClick()
{
    navigation().handOver(this, Place::ChangePassword);
}

void TfrmPassword::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Focus::moveTo(txtPassword);
}

void TfrmPassword::closeEvent(QCloseEvent *event)
{
    // The login window is the main window: closing it ends the program.
    event->accept();
    navigation().endProgram();
}

TfrmPassword::~TfrmPassword() { FieldEvents::detachAll(this); }
