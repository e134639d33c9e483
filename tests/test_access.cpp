// The login gate, the password change and the hand-overs between the
// main-level windows, driven through their named controls.

#include "TestSupport.h"

#include "core/app/Credentials.h"
#include "core/app/Crypt.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/app/TfrmCambiaPassword.h"
#include "ui/app/TfrmPassword.h"
#include "ui/base/Widgets.h"
#include "ui/archives/TfrmCreaCatalogo.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"

#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {
const QString kWrong = QStringLiteral("Attenzione: password errata.");
const QString kReadError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di lettura della password. "
    "Si consiglia di reinstallare il software.");
const QString kOldWrong = QStringLiteral("Attenzione: vecchia password errata.");
const QString kNotConfirmed = QStringLiteral(
    "Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
    "reinserire entrambi i valori.");
const QString kChanged = QStringLiteral("Modifica della password completata con successo.");
const QString kChangeError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di modifica della password. "
    "Si consiglia di reinstallare il software.");
const QString kCredentials = QStringLiteral("unins000.dll");

void pressReturn(QWidget *field) { QTest::keyClick(field, Qt::Key_Return); }
} // namespace

class TestAccess : public ProgramTest {
    Q_OBJECT

    TfrmPassword *login() const { return roster->frmPassword(); }
    TfrmCambiaPassword *change() const { return roster->frmCambiaPassword(); }

    QStringList visibleWindows() const
    {
        QStringList names;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                names << w->objectName();
        return names;
    }

    void login(const QString &typed)
    {
        login()->txtPassword->clear();
        type(login()->txtPassword, typed);
        QTest::mouseClick(login()->cmdOK, Qt::LeftButton);
    }

    void changePassword(const QString &oldPassword, const QString &newPassword,
                        const QString &confirmation)
    {
        type(change()->txtPasswordOld, oldPassword);
        type(change()->txtPasswordNew, newPassword);
        type(change()->txtConferma, confirmation);
        QVERIFY(change()->cmdOK->isEnabled());
        QTest::mouseClick(change()->cmdOK, Qt::LeftButton);
    }

    void openChange()
    {
        QTest::mouseClick(login()->btnCambiaPassword, Qt::LeftButton);
        QCOMPARE(visibleWindows(), QStringList{"frmCambiaPassword"});
    }

private slots:
    void init()
    {
        ProgramTest::init();
        folder->installShippedCredentials();
        roster->start();
        QVERIFY(QTest::qWaitForWindowExposed(login()));
    }

    // ---- login -------------------------------------------------------------

    void startsOnTheLoginAlone()
    {
        QCOMPARE(visibleWindows(), QStringList{"frmPassword"});
        QCOMPARE(login()->windowTitle(), QStringLiteral(" Vetrinora - Accesso"));
        QCOMPARE(login()->size(), QSize(388, 405));
        QCOMPARE(login()->lblRigo05->text(), QStringLiteral("Immetti la password e premi OK."));
        QVERIFY(!login()->cmdOK->isEnabled());
        QCOMPARE(login()->focusWidget(), login()->txtPassword);
        QVERIFY(login()->effPassword->isVisible());
        QCOMPARE(login()->effPassword->geometry(),
                 login()->txtPassword->geometry().adjusted(-4, -4, 4, 4));
        QCOMPARE(login()->txtPassword->echoMode(), QLineEdit::Password);
        QVERIFY(!(login()->windowFlags() & Qt::WindowCloseButtonHint));
    }

    // At a real start the login window comes up alone; the other windows and
    // the program's icon follow once it is drawn, or at once should a
    // password be confirmed before then.
    void theOtherWindowsFollowTheLogin_data()
    {
        QTest::addColumn<bool>("drawnFirst");
        QTest::newRow("drawn first") << true;
        QTest::newRow("password first") << false;
    }
    void theOtherWindowsFollowTheLogin()
    {
        QFETCH(bool, drawnFirst);
        roster.reset();
        qApp->setWindowIcon(QIcon());
        roster = std::make_unique<Roster>(Roster::Creation::LoginFirst);
        QVERIFY(!roster->frmAvvio());
        QVERIFY(QApplication::windowIcon().isNull());
        if (drawnFirst) {
            roster->start();
            QVERIFY(QTest::qWaitForWindowExposed(login()));
            // Drawn, not at the latest moment.
            QTRY_VERIFY_WITH_TIMEOUT(roster->frmAvvio(), 400);
            QCOMPARE(visibleWindows(), QStringList{"frmPassword"});
            type(login()->txtPassword, QStringLiteral("pergamenaverde"));
        } else {
            login()->txtPassword->setText(QStringLiteral("pergamenaverde"));
        }
        login()->cmdOKClick();
        QCOMPARE(visibleWindows(), QStringList{"frmAvvio"});
        QVERIFY(!QApplication::windowIcon().isNull());
    }

    void theHaloFollowsTheFocus()
    {
        login()->cmdEsci->setFocus();
        QVERIFY(!login()->effPassword->isVisible());
        login()->txtPassword->setFocus();
        QVERIFY(login()->effPassword->isVisible());
    }

    void okIsEnabledOnlyWithText()
    {
        type(login()->txtPassword, QStringLiteral("   "));
        QVERIFY(!login()->cmdOK->isEnabled());
        type(login()->txtPassword, QStringLiteral("x"));
        QVERIFY(login()->cmdOK->isEnabled());
        login()->txtPassword->clear();
        QVERIFY(!login()->cmdOK->isEnabled());
    }

    void rightPasswordOpensTheStartScreen_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("small letters") << "pergamenaverde";
        QTest::newRow("capitals") << "PERGAMENAVERDE";
        QTest::newRow("mixed, blanks around") << "  PergamenaVerde  ";
    }
    void rightPasswordOpensTheStartScreen()
    {
        QFETCH(QString, typed);
        login(typed);
        QCOMPARE(services->texts(), QStringList());
        QCOMPARE(visibleWindows(), QStringList{"frmAvvio"});
        QVERIFY(roster->frmAvvio()->isMaximized());
        QCOMPARE(login()->lblMemory->text(), QString());
    }

    void wrongPasswordIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("shorter") << "pergamena";
        QTest::newRow("longer") << "pergamenaverde1";
        QTest::newRow("blank inside") << "pergamena verde";
    }
    void wrongPasswordIsRefused()
    {
        QFETCH(QString, typed);
        login(typed);
        QCOMPARE(services->texts(), QStringList{kWrong});
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Plain);
        QCOMPARE(services->messages.first().buttons, platform::Buttons{platform::Button::Ok});
        QCOMPARE(login()->txtPassword->text(), QString());
        QCOMPARE(login()->focusWidget(), login()->txtPassword);
        QVERIFY(!login()->cmdOK->isEnabled());
        QCOMPARE(visibleWindows(), QStringList{"frmPassword"});
    }

    void returnKey()
    {
        type(login()->txtPassword, QStringLiteral("  "));
        pressReturn(login()->txtPassword);
        QCOMPARE(services->texts(), QStringList());
        QCOMPARE(visibleWindows(), QStringList{"frmPassword"});

        type(login()->txtPassword, QStringLiteral("sbagliata"));
        pressReturn(login()->txtPassword);
        QCOMPARE(services->texts(), QStringList{kWrong});

        type(login()->txtPassword, QStringLiteral("pergamenaverde"));
        pressReturn(login()->txtPassword);
        QCOMPARE(visibleWindows(), QStringList{"frmAvvio"});
    }

    void missingCredentialFileRefusesEverything()
    {
        QFile::remove(folder->file(kCredentials));
        login(QStringLiteral("pergamenaverde"));
        QCOMPARE(services->texts(), QStringList{kWrong});
        QVERIFY(!QFile::exists(folder->file(kCredentials)));
    }

    void unreadableStoredValue()
    {
        folder->write(kCredentials, "[Accesso]\r\nValore=5E22XX\r\n");
        login(QStringLiteral("pergamenaverde"));
        QCOMPARE(services->texts(), QStringList{kReadError});
        QCOMPARE(login()->txtPassword->text(), QStringLiteral("pergamenaverde"));
        QCOMPARE(visibleWindows(), QStringList{"frmPassword"});
    }

    void fileIsReadAfreshAtEveryAttempt()
    {
        login(QStringLiteral("nuova"));
        QCOMPARE(services->texts(), QStringList{kWrong});
        Credentials::store(QStringLiteral("NUOVA"));
        login(QStringLiteral("nuova"));
        QCOMPARE(visibleWindows(), QStringList{"frmAvvio"});
    }

    void accentedLettersAreNotCapitalised()
    {
        Credentials::store(QString::fromUtf8("È"));
        login(QString::fromUtf8("è"));
        QCOMPARE(services->texts(), QStringList{kWrong});
        login(QString::fromUtf8("È"));
        QCOMPARE(visibleWindows(), QStringList{"frmAvvio"});
    }

    // ---- password change ------------------------------------------------

    void changeWindowOpensEmpty()
    {
        openChange();
        QCOMPARE(change()->windowTitle(), QStringLiteral(" Cambia password"));
        QCOMPARE(change()->size(), QSize(411, 418));
        for (QLineEdit *f : {change()->txtPasswordOld, change()->txtPasswordNew,
                             change()->txtConferma}) {
            QCOMPARE(f->text(), QString());
            QCOMPARE(f->echoMode(), QLineEdit::Password);
        }
        QVERIFY(!change()->cmdOK->isEnabled());
        QCOMPARE(change()->focusWidget(), change()->txtPasswordOld);
        QVERIFY(change()->effPasswordOld->isVisible());
        QVERIFY(!change()->effPasswordNew->isVisible());
        QCOMPARE(change()->cmdEsci->text(), QStringLiteral("Chiudi"));
    }

    void changeOkNeedsAllThreeFields_data()
    {
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("all three") << "a" << "b" << "c" << true;
        QTest::newRow("old blank") << "  " << "b" << "c" << false;
        QTest::newRow("new empty") << "a" << "" << "c" << false;
        QTest::newRow("confirmation blank") << "a" << "b" << " " << false;
    }
    void changeOkNeedsAllThreeFields()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        QFETCH(QString, confirmation);
        QFETCH(bool, enabled);
        openChange();
        type(change()->txtPasswordOld, oldPassword);
        type(change()->txtPasswordNew, newPassword);
        type(change()->txtConferma, confirmation);
        QCOMPARE(change()->cmdOK->isEnabled(), enabled);
    }

    void returnWalksTheThreeFields()
    {
        openChange();
        type(change()->txtPasswordOld, QStringLiteral("pergamenaverde"));
        pressReturn(change()->txtPasswordOld);
        QCOMPARE(change()->focusWidget(), change()->txtPasswordNew);
        QVERIFY(change()->effPasswordNew->isVisible());
        QVERIFY(!change()->effPasswordOld->isVisible());
        type(change()->txtPasswordNew, QStringLiteral("a"));
        pressReturn(change()->txtPasswordNew);
        QCOMPARE(change()->focusWidget(), change()->txtConferma);
        type(change()->txtConferma, QStringLiteral("a"));
        const QByteArray before = folder->read(kCredentials);
        pressReturn(change()->txtConferma);
        QCOMPARE(change()->focusWidget(), change()->txtPasswordOld);
        QCOMPARE(services->texts(), QStringList());
        QCOMPARE(folder->read(kCredentials), before);
    }

    void wrongOldPassword()
    {
        openChange();
        const QByteArray before = folder->read(kCredentials);
        changePassword(QStringLiteral("pergamena"), QStringLiteral("nuova"), QStringLiteral("nuova"));
        QCOMPARE(services->texts(), QStringList{kOldWrong});
        QCOMPARE(change()->txtPasswordOld->text(), QString());
        QCOMPARE(change()->txtPasswordNew->text(), QStringLiteral("nuova"));
        QCOMPARE(change()->txtConferma->text(), QStringLiteral("nuova"));
        QCOMPARE(change()->focusWidget(), change()->txtPasswordOld);
        QCOMPARE(folder->read(kCredentials), before);
        QCOMPARE(visibleWindows(), QStringList{"frmCambiaPassword"});
    }

    void confirmationMustMatchExactly()
    {
        openChange();
        const QByteArray before = folder->read(kCredentials);
        changePassword(QStringLiteral("pergamenaverde"), QStringLiteral("parola"),
                       QStringLiteral("PAROLA"));
        QCOMPARE(services->texts(), QStringList{kNotConfirmed});
        QCOMPARE(change()->txtPasswordOld->text(), QStringLiteral("pergamenaverde"));
        QCOMPARE(change()->txtPasswordNew->text(), QString());
        QCOMPARE(change()->txtConferma->text(), QString());
        QCOMPARE(change()->focusWidget(), change()->txtPasswordNew);
        QCOMPARE(folder->read(kCredentials), before);
    }

    void successfulChange()
    {
        openChange();
        changePassword(QStringLiteral(" PergamenaVerde "), QStringLiteral("  parola  "),
                       QStringLiteral("parola"));
        QCOMPARE(services->texts(), QStringList{kChanged});
        QCOMPARE(folder->read(kCredentials),
                 QByteArray("[Accesso]\r\nValore=") + Crypt::Scramble("PAROLA").toLatin1() + "\r\n");
        // Back on the login window, its field emptied and focused.
        QCOMPARE(visibleWindows(), QStringList{"frmPassword"});
        QCOMPARE(login()->txtPassword->text(), QString());
        QCOMPARE(login()->focusWidget(), login()->txtPassword);
        QCOMPARE(change()->lblMemory->text(), QString());

        services->clear();
        login(QStringLiteral("pergamenaverde"));
        QCOMPARE(services->texts(), QStringList{kWrong});
        login(QStringLiteral("PaRoLa"));
        QCOMPARE(visibleWindows(), QStringList{"frmAvvio"});
    }

    void oneCharacterPassword()
    {
        openChange();
        changePassword(QStringLiteral("pergamenaverde"), QStringLiteral("x"), QStringLiteral("x"));
        QCOMPARE(services->texts(), QStringList{kChanged});
        QCOMPARE(Credentials::storedPassword(), QStringLiteral("X"));
    }

    void otherContentOfTheFileSurvives()
    {
        const QByteArray head("; Vetrinora\r\n[Impostazioni]\r\nValore=non toccare\r\n\r\n[Accesso]\r\nValore=");
        const QByteArray tail("\r\nAltro=1\r\n[Fine]\r\nX=\xE8\r\n");
        folder->write(kCredentials, head + Crypt::Scramble("PERGAMENAVERDE").toLatin1() + tail);
        openChange();
        changePassword(QStringLiteral("pergamenaverde"), QStringLiteral("blokko"),
                       QStringLiteral("blokko"));
        QCOMPARE(services->texts(), QStringList{kChanged});
        QCOMPARE(folder->read(kCredentials),
                 head + Crypt::Scramble("BLOKKO").toLatin1() + tail);
    }

    void unwritableFileKeepsTheOldPassword()
    {
        const QByteArray before = folder->read(kCredentials);
        QFile::setPermissions(folder->file(kCredentials), QFile::ReadOwner | QFile::ReadGroup);
        openChange();
        changePassword(QStringLiteral("pergamenaverde"), QStringLiteral("nuova"),
                       QStringLiteral("nuova"));
        QCOMPARE(services->texts(), QStringList{kChangeError});
        QCOMPARE(visibleWindows(), QStringList{"frmCambiaPassword"});
        QCOMPARE(change()->txtPasswordNew->text(), QStringLiteral("nuova"));
        QCOMPARE(folder->read(kCredentials), before);
        QFile::setPermissions(folder->file(kCredentials), QFile::ReadOwner | QFile::WriteOwner);
        QTest::mouseClick(change()->cmdEsci, Qt::LeftButton);
        login(QStringLiteral("pergamenaverde"));
        QCOMPARE(visibleWindows(), QStringList{"frmAvvio"});
    }

    void unreadableStoredValueStopsTheChange()
    {
        folder->write(kCredentials, "[Accesso]\r\nValore=QQ\r\n");
        openChange();
        changePassword(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("y"));
        QCOMPARE(services->texts(), QStringList{kChangeError});
        QCOMPARE(folder->read(kCredentials), QByteArray("[Accesso]\r\nValore=QQ\r\n"));
    }

    void missingFileMakesTheOldPasswordWrong()
    {
        QFile::remove(folder->file(kCredentials));
        openChange();
        changePassword(QStringLiteral("pergamenaverde"), QStringLiteral("y"), QStringLiteral("y"));
        QCOMPARE(services->texts(), QStringList{kOldWrong});
        QVERIFY(!QFile::exists(folder->file(kCredentials)));
    }

    void passwordsTheFileCannotHoldAreRefused_data()
    {
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("message");
        QTest::newRow("euro sign") << QString::fromUtf8("€uro")
                                   << QString::fromUtf8(
                                          "Attenzione: la nuova password contiene il carattere "
                                          "\"€\", che non può essere memorizzato. Usare soltanto "
                                          "lettere, cifre e simboli dell'alfabeto latino.");
        QTest::newRow("256 characters")
            << QString(256, QLatin1Char('a'))
            << QStringLiteral("Attenzione: la nuova password non può superare i 255 caratteri. "
                              "Inserire una password più breve.");
    }
    void passwordsTheFileCannotHoldAreRefused()
    {
        QFETCH(QString, newPassword);
        QFETCH(QString, message);
        const QByteArray before = folder->read(kCredentials);
        openChange();
        changePassword(QStringLiteral("pergamenaverde"), newPassword, newPassword);
        QCOMPARE(services->texts(), QStringList{message});
        QCOMPARE(folder->read(kCredentials), before);
        QCOMPARE(change()->txtPasswordNew->text(), QString());
        QCOMPARE(change()->focusWidget(), change()->txtPasswordNew);
    }

    void longestStorablePassword()
    {
        openChange();
        const QString longest(255, QLatin1Char('z'));
        changePassword(QStringLiteral("pergamenaverde"), longest, longest);
        QCOMPARE(services->texts(), QStringList{kChanged});
        QCOMPARE(Credentials::storedPassword(), longest.toUpper());
    }

    void closeReturnsToTheLogin()
    {
        type(login()->txtPassword, QStringLiteral("abc"));
        openChange();
        QTest::mouseClick(change()->cmdEsci, Qt::LeftButton);
        QCOMPARE(visibleWindows(), QStringList{"frmPassword"});
        QCOMPARE(login()->txtPassword->text(), QString());
        QCOMPARE(login()->focusWidget(), login()->txtPassword);
        QVERIFY(!login()->cmdOK->isEnabled());
    }

    // ---- start screen and hand-overs -----------------------------------

    void startScreenLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("clickable");
        QTest::newRow("header") << "shpIntestazione" << QRect(8, 8, 978, 114) << false;
        QTest::newRow("title") << "icoTitoloApp" << QRect(96, 23, 805, 64) << false;
        QTest::newRow("subtitle") << "imgSottotitolo" << QRect(17, 90, 961, 22) << false;
        QTest::newRow("tile panel 1") << "bkgApp06" << QRect(8, 128, 320, 480) << false;
        QTest::newRow("tile panel 2") << "bkgApp08" << QRect(337, 128, 320, 480) << false;
        QTest::newRow("tile panel 3") << "bkgApp10" << QRect(666, 128, 320, 480) << false;
        QTest::newRow("tile 1") << "imgApp01" << QRect(19, 150, 298, 388) << true;
        QTest::newRow("tile 2") << "imgApp02" << QRect(348, 150, 298, 388) << true;
        QTest::newRow("tile 3") << "imgApp03" << QRect(677, 150, 298, 388) << true;
        QTest::newRow("button 1") << "btnApp01" << QRect(40, 544, 258, 45) << true;
        QTest::newRow("button 2") << "btnApp02" << QRect(369, 544, 258, 45) << true;
        QTest::newRow("button 3") << "btnApp03" << QRect(698, 544, 258, 45) << true;
        QTest::newRow("info") << "imgInfo" << QRect(16, 16, 30, 30) << true;
        QTest::newRow("help") << "imgGuida" << QRect(950, 16, 29, 28) << true;
        QTest::newRow("footer") << "shpCalce" << QRect(8, 616, 978, 70) << false;
        QTest::newRow("site") << "imgSito" << QRect(17, 626, 961, 22) << true;
        QTest::newRow("splash") << "imgCopyright" << QRect(16, 658, 23, 22) << true;
        QTest::newRow("exit") << "imgEsci" << QRect(958, 662, 17, 18) << true;
    }
    void startScreenLayout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(bool, clickable);
        TfrmAvvio *avvio = roster->frmAvvio();
        QCOMPARE(avvio->panel()->size(), QSize(995, 692));
        auto *w = avvio->panel()->findChild<QWidget *>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), geometry);
        QCOMPARE(w->cursor().shape(), clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
        if (auto *picture = qobject_cast<Picture *>(w)) {
            QVERIFY2(QFile::exists(picture->resource()), qPrintable(picture->resource()));
            if (clickable)
                QVERIFY(!picture->accessibleName().isEmpty());
        }
    }

    void startScreenPanelIsCentred()
    {
        login(QStringLiteral("pergamenaverde"));
        TfrmAvvio *avvio = roster->frmAvvio();
        avvio->showNormal();
        avvio->resize(1280, 900);
        QTRY_COMPARE(avvio->size(), QSize(1280, 900));
        QCOMPARE(avvio->panel()->geometry().center(), avvio->rect().center());
    }

    void mainWindowCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("start") << "frmAvvio" << " Vetrinora";
        QTest::newRow("sets") << "frmArmi" << " Vetrinora - Catalogo BLOKKO";
        QTest::newRow("create") << "frmCreaCatalogo" << " Vetrinora - Creazione nuovo archivio MOC";
        QTest::newRow("open") << "frmApriCatalogo" << " Vetrinora - Apertura archivio MOC";
        QTest::newRow("mocs") << "frmCartoline" << " Vetrinora - Archivio MOC";
    }
    void mainWindowCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QWidget *found = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == name)
                found = w;
        QVERIFY(found);
        QCOMPARE(found->windowTitle(), caption);
    }

    void tilesHandOverAndCloseReturns_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("target");
        QTest::newRow("tile 1") << "imgApp01" << "frmArmi";
        QTest::newRow("button 1") << "btnApp01" << "frmArmi";
        QTest::newRow("tile 2") << "imgApp02" << "frmCreaCatalogo";
        QTest::newRow("button 2") << "btnApp02" << "frmCreaCatalogo";
        QTest::newRow("tile 3") << "imgApp03" << "frmApriCatalogo";
        QTest::newRow("button 3") << "btnApp03" << "frmApriCatalogo";
    }
    void tilesHandOverAndCloseReturns()
    {
        QFETCH(QString, control);
        QFETCH(QString, target);
        login(QStringLiteral("pergamenaverde"));
        auto *picture = roster->frmAvvio()->findChild<Picture *>(control);
        QVERIFY(picture);
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
        QCOMPARE(visibleWindows(), QStringList{target});
        QWidget *shown = QApplication::activeWindow();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == target)
                shown = w;
        QVERIFY(shown->isMaximized());
        // The close box returns to the start screen; the program goes on.
        QSignalSpy ended(roster.get(), &Roster::programEnded);
        shown->close();
        QCOMPARE(visibleWindows(), QStringList{"frmAvvio"});
        QCOMPARE(ended.count(), 0);
    }

    void waysOut_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("start screen close box") << 0;
        QTest::newRow("exit icon") << 1;
        QTest::newRow("login Esci") << 2;
    }
    void waysOut()
    {
        QFETCH(int, way);
        QSignalSpy ended(roster.get(), &Roster::programEnded);
        if (way == 2) {
            QTest::mouseClick(login()->cmdEsci, Qt::LeftButton);
        } else {
            login(QStringLiteral("pergamenaverde"));
            if (way == 0)
                roster->frmAvvio()->close();
            else
                QTest::mouseClick(roster->frmAvvio()->imgEsci, Qt::LeftButton, {},
                                  QPoint(8, 9));
        }
        QCOMPARE(ended.count(), 1);
        QCOMPARE(visibleWindows(), QStringList());
    }
};

VETRINORA_TEST_MAIN(TestAccess)
#include "test_access.moc"
