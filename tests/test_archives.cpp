// Creating, listing, opening and deleting MOC archives.

#include "TestSupport.h"

#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Widgets.h"
#include "core/app/Text.h"
#include "core/archives/ArchiveNames.h"
#include "ui/archives/TfrmApriCatalogo.h"
#include "ui/archives/TfrmCreaCatalogo.h"
#include "core/cards/PhotoNames.h"
#include "ui/cards/TfrmCartoline.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <memory>

using platform::MessageKind;

namespace {
const QString kEmptyName =
    QStringLiteral("Attenzione: per creare l'archivio di MOC è necessario indicarne il nome.");
const QString kInUse = QStringLiteral(
    "Attenzione: il nome dell'archivio di MOC indicato è già stato utilizzato in precedenza."
    "\r\n\r\nInserire un nome diverso oppure, se si desidera aprire un archivio di MOC già "
    "creato, premere il pulsante Apri archivio MOC.");
const QString kCreated = QStringLiteral(
    "Il file relativo al nuovo archivio di MOC è stato creato con successo.\r\n\r\nE' ora "
    "possibile visualizzarlo nell'elenco degli archivi MOC esistenti.");
const QString kBadName = QString::fromUtf8(
    "Attenzione: il nome dell'archivio di MOC indicato contiene caratteri non ammessi.\r\n\r\n"
    "Non è possibile utilizzare i caratteri \" * / : < > ? \\ ° Ç Ñ ç ñ né caratteri di "
    "controllo, né indicare come nome soltanto \".\" o \"..\".");
const QString kQuestion = QStringLiteral(
    "Si sta per eliminare l'archivio di MOC selezionato. Si ricorda che il file eliminato non "
    "potrà essere recuperato.\r\n\r\nSi conferma l'eliminazione dell'archivio?");
const QString kDeleted = QStringLiteral("L'archivio di MOC è stato eliminato con successo.");
const QString kTooLong = QStringLiteral(
    "Attenzione: il nome dell'archivio di MOC indicato è troppo lungo.\r\n\r\nI nomi dei file "
    "delle foto delle schede comprendono il nome dell'archivio e non potrebbero essere salvati: "
    "inserire un nome più breve.");
} // namespace

class TestArchives : public ProgramTest {
    Q_OBJECT

    TfrmCreaCatalogo *create() const { return roster->frmCreaCatalogo(); }
    TfrmApriCatalogo *openWindow() const { return roster->frmApriCatalogo(); }

    void showCreate() { roster->handOver(roster->frmAvvio(), create()); }
    void showOpen() { roster->handOver(roster->frmAvvio(), openWindow()); }

    void clickPicture(Picture *p) { QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center()); }

    QStringList listed() const
    {
        QStringList entries;
        for (int i = 0; i < openWindow()->lstFiles->count(); ++i)
            entries << openWindow()->lstFiles->item(i)->text();
        return entries;
    }

    void select(const QString &entry)
    {
        const auto items = openWindow()->lstFiles->findItems(entry, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        items.first()->setSelected(true);
    }

    QStringList mocFiles() const
    {
        return QDir(folder->path()).entryList({QStringLiteral("*.moc")}, QDir::Files, QDir::Name);
    }

private slots:
    // ---- create ---------------------------------------------------------------

    void createTrimsTheNameAndClosesTheWindow()
    {
        showCreate();
        QCOMPARE(create()->focusWidget(), create()->txtFile);
        QTest::keyClicks(create()->txtFile, QStringLiteral("  Castelli  "));
        clickPicture(create()->btnApplica);
        QCOMPARE(services->texts(), QStringList{kCreated});
        QCOMPARE(services->messages.first().kind, MessageKind::Information);
        QCOMPARE(mocFiles(), QStringList{"Castelli.moc"});
        QCOMPARE(QFileInfo(folder->file("Castelli.moc")).size(), qint64(0));
        QVERIFY(!create()->isVisible());
        QVERIFY(roster->frmAvvio()->isVisible());
        // Shown again, the field is empty.
        showCreate();
        QCOMPARE(create()->txtFile->text(), QString());
    }

    void aNameInUseIgnoresLetterCase()
    {
        folder->write(QStringLiteral("Castelli.moc"), "abc");
        showCreate();
        QTest::keyClicks(create()->txtFile, QStringLiteral("castelli"));
        clickPicture(create()->btnApplica);
        QCOMPARE(services->texts(), QStringList{kInUse});
        QCOMPARE(services->messages.first().kind, MessageKind::Warning);
        QCOMPARE(mocFiles(), QStringList{"Castelli.moc"});
        QCOMPARE(folder->read("Castelli.moc"), QByteArray("abc"));
        QVERIFY(create()->isVisible());
        QCOMPARE(create()->txtFile->text(), QStringLiteral("castelli"));
    }

    void anEmptyNameIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
    }
    void anEmptyNameIsRefused()
    {
        QFETCH(QString, typed);
        showCreate();
        create()->txtFile->setText(typed);
        create()->btnAnnulla->setFocus();
        clickPicture(create()->btnApplica);
        QCOMPARE(services->texts(), QStringList{kEmptyName});
        QCOMPARE(create()->focusWidget(), create()->txtFile);
        QCOMPARE(mocFiles(), QStringList());
    }

    void typingFilter()
    {
        showCreate();
        type(create()->txtFile, QString::fromUtf8("\"*/:<>?\\°ÇÑçñ"));
        QCOMPARE(create()->txtFile->text(), QString());
        QTest::keyClicks(create()->txtFile, QStringLiteral("a|b c"));
        QCOMPARE(create()->txtFile->text(), QStringLiteral("a|b c"));
        // Return creates nothing.
        QTest::keyClick(create()->txtFile, Qt::Key_Return);
        QCOMPARE(mocFiles(), QStringList());
        QCOMPARE(services->texts(), QStringList());
    }

    void pastedNamesThatCannotBeFilesAreRefused_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::newRow("slash") << "a/b";
        QTest::newRow("backslash") << "..\\fuori";
        QTest::newRow("colon") << "C:nome";
        QTest::newRow("refused letter") << QString::fromUtf8("Niño");
        QTest::newRow("control character") << "a\tb";
        QTest::newRow("dot") << ".";
        QTest::newRow("two dots") << "..";
    }
    void pastedNamesThatCannotBeFilesAreRefused()
    {
        QFETCH(QString, pasted);
        showCreate();
        create()->txtFile->setText(pasted);
        clickPicture(create()->btnApplica);
        QCOMPARE(services->texts(), QStringList{kBadName});
        QCOMPARE(services->messages.first().kind, MessageKind::Warning);
        QCOMPARE(mocFiles(), QStringList());
        QCOMPARE(QDir(folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QVERIFY(create()->isVisible());
    }

    // The archive's own file and the photo files named after it must fit the
    // file system's 255 bytes; the rule is checked against real files.
    void fileNamesFit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fits");
        const QChar e(0xE8); // two bytes in UTF-8
        QTest::newRow("short") << "Castelli" << true;
        QTest::newRow("233 letters") << QString(233, QLatin1Char('a')) << true;
        QTest::newRow("234 letters") << QString(234, QLatin1Char('a')) << false;
        QTest::newRow("240 letters") << QString(240, QLatin1Char('a')) << false;
        QTest::newRow("250 letters") << QString(250, QLatin1Char('a')) << false;
        QTest::newRow("116 accented letters") << QString(116, e) << true;
        QTest::newRow("117 accented letters") << QString(117, e) << false;
    }
    void fileNamesFit()
    {
        QFETCH(QString, name);
        QFETCH(bool, fits);
        QCOMPARE(ArchiveNames::fileNamesFit(name), fits);
        // Photo B of card 9999999999, the longest name the archive gets.
        QFile photo(folder->file(PhotoNames::mocFileName(name, 1, QStringLiteral("9999999999"))));
        QCOMPARE(photo.open(QIODevice::WriteOnly), fits);
    }

    void aNameTooLongForThePhotosIsRefused_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("240") << 240;
        QTest::newRow("250") << 250;
    }
    void aNameTooLongForThePhotosIsRefused()
    {
        QFETCH(int, length);
        showCreate();
        create()->txtFile->setText(QString(length, QLatin1Char('m')));
        create()->btnAnnulla->setFocus();
        clickPicture(create()->btnApplica);
        QCOMPARE(services->texts(), QStringList{kTooLong});
        QCOMPARE(services->messages.first().kind, MessageKind::Warning);
        QCOMPARE(mocFiles(), QStringList());
        QVERIFY(create()->isVisible());
        QCOMPARE(create()->focusWidget(), create()->txtFile);
        QCOMPARE(create()->txtFile->text().size(), length);
    }

    void theLongestNameThatFitsIsCreated()
    {
        const QString name(233, QLatin1Char('m'));
        showCreate();
        create()->txtFile->setText(name);
        clickPicture(create()->btnApplica);
        QCOMPARE(services->texts(), QStringList{kCreated});
        QCOMPARE(mocFiles(), QStringList{name + ".moc"});
    }

    // ---- list, open, delete ---------------------------------------------------

    // A file copied in by hand under the name of another with blanks before
    // it is listed as it is, and every action takes that very file.
    void entriesActOnTheirOwnFile_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("remove"); // delete it, or open it
        QTest::newRow("blank, delete") << " Castelli.moc" << true;
        QTest::newRow("blank, open") << " Castelli.moc" << false;
        QTest::newRow("tab and blanks, delete") << "\t  Castelli.moc" << true;
        QTest::newRow("tab and blanks, open") << "\t  Castelli.moc" << false;
    }
    void entriesActOnTheirOwnFile()
    {
        QFETCH(QString, entry);
        QFETCH(bool, remove);
        folder->write(QStringLiteral("Castelli.moc"), "vero");
        folder->write(entry, "copia");
        showOpen();
        QCOMPARE(listed(), QStringList({entry, QStringLiteral("Castelli.moc")}));
        select(entry);
        if (remove) {
            services->answers.enqueue(platform::Button::Yes);
            clickPicture(openWindow()->btnElimina);
            QCOMPARE(services->texts(), QStringList({kQuestion, kDeleted}));
            QVERIFY(!QFile::exists(folder->file(entry)));
            QCOMPARE(listed(), QStringList{"Castelli.moc"});
        } else {
            clickPicture(openWindow()->btnApri);
            TfrmCartoline *editor = roster->frmCartoline();
            QVERIFY(editor->isVisible());
            QCOMPARE(editor->lblFile->text(), folder->file(entry));
            QCOMPARE(editor->recordFilePath(), folder->file(entry));
            QCOMPARE(editor->lblNome->text(), entry.left(entry.size() - 4));
        }
        QCOMPARE(folder->read(QStringLiteral("Castelli.moc")), QByteArray("vero"));
    }

    void theListIsSortedAndCounted()
    {
        for (const char *name : {"zeta.moc", "Alfa.moc", "beta.moc", "note.txt", "_prova.moc"})
            folder->write(QString::fromLatin1(name), QByteArray());
        QDir(folder->path()).mkpath(QStringLiteral("sotto"));
        folder->write(QStringLiteral("sotto/annidato.moc"), QByteArray());
        showOpen();
        // "_" (code 95) comes after the letters folded to capitals.
        QCOMPARE(listed(), QStringList({"Alfa.moc", "beta.moc", "zeta.moc", "_prova.moc"}));
        QCOMPARE(openWindow()->lblCreati->text(), QStringLiteral("Sono stati creati 4 archivi di MOC."));
        const QFont font = openWindow()->lstFiles->item(0)->font();
        QCOMPARE(font.family(), QStringLiteral("Courier New"));
        QCOMPARE(font.pointSize(), 14);
        QCOMPARE(openWindow()->lstFiles->item(0)->foreground().color(), QColor(Qt::black));
    }

    void oneArchiveStillReadsInThePlural()
    {
        folder->write(QStringLiteral("Unico.moc"), QByteArray());
        showOpen();
        QCOMPARE(openWindow()->lblCreati->text(), QStringLiteral("Sono stati creati 1 archivi di MOC."));
    }

    void openNeedsAListAndASelection()
    {
        showOpen();
        QCOMPARE(openWindow()->lblCreati->text(), QStringLiteral("Sono stati creati 0 archivi di MOC."));
        clickPicture(openWindow()->btnApri);
        clickPicture(openWindow()->btnElimina);
        folder->write(QStringLiteral("Castelli.moc"), QByteArray());
        openWindow()->buildList();
        clickPicture(openWindow()->btnApri);
        clickPicture(openWindow()->btnElimina);
        QCOMPARE(services->texts(),
                 QStringList({QStringLiteral("Attenzione: l'elenco non contiene nessun archivio."),
                              QStringLiteral("Attenzione: l'elenco non contiene nessun archivio di MOC."),
                              QStringLiteral("Attenzione: selezionare l'archivio di MOC dall'elenco "
                                             "prima di premere il pulsante Apri archivio."),
                              QStringLiteral("Attenzione: selezionare dall'elenco l'archivio da "
                                             "eliminare prima di premere il pulsante del cestino.")}));
        for (const auto &m : services->messages)
            QCOMPARE(m.kind, MessageKind::Warning);
        QVERIFY(openWindow()->isVisible());
    }

    // The entry the list frames is the entry "Apri archivio" opens: entering
    // the list selects the archive it lands on; taking the selection away
    // leaves nothing framed, and then the warning comes.
    void theHighlightedArchiveIsTheSelectedOne_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Down") << "down";
        QTest::newRow("Home") << "home";
        QTest::newRow("click") << "click";
    }
    void theHighlightedArchiveIsTheSelectedOne()
    {
        QFETCH(QString, how);
        folder->write(QStringLiteral("Unico.moc"), QByteArray());
        showOpen();
        QListWidget *list = openWindow()->lstFiles;
        openWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(openWindow()));
        list->setFocus(Qt::TabFocusReason);
        QVERIFY(list->hasFocus());
        QVERIFY(highlightIsSelection(list));
        if (list->currentRow() >= 0)
            QVERIFY(list->item(list->currentRow())->isSelected());

        // Taken away, nothing is framed and the button says so.
        const QPoint entry = list->visualItemRect(list->item(0)).center();
        if (list->selectedItems().isEmpty())
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, entry);
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(list->currentRow(), -1);
        clickPicture(openWindow()->btnApri);
        QCOMPARE(services->texts(), QStringList{QStringLiteral(
                                        "Attenzione: selezionare l'archivio di MOC dall'elenco "
                                        "prima di premere il pulsante Apri archivio.")});

        if (how == QLatin1String("click"))
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
        else
            QTest::keyClick(list, how == QLatin1String("down") ? Qt::Key_Down : Qt::Key_Home);
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(list->item(0)->isSelected());
        QVERIFY(highlightIsSelection(list));
        clickPicture(openWindow()->btnApri);
        QTRY_VERIFY(roster->frmCartoline()->isVisible());
        QCOMPARE(roster->frmCartoline()->lblNome->text(), QStringLiteral("Unico"));
        QCOMPARE(services->messages.size(), 1);
    }

    // Opened with the keyboard alone, the window's only archive opens
    // without a warning once the list has the focus.
    void theFocusedListOpensItsFramedArchive()
    {
        folder->write(QStringLiteral("Unico.moc"), QByteArray());
        showOpen();
        QListWidget *list = openWindow()->lstFiles;
        openWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(openWindow()));
        list->setFocus(Qt::TabFocusReason);
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(list->item(0)->isSelected());
        clickPicture(openWindow()->btnApri);
        QTRY_VERIFY(roster->frmCartoline()->isVisible());
        QCOMPARE(services->texts(), QStringList());
    }

    void openHandsTheArchiveToTheMocEditor()
    {
        folder->write(QStringLiteral("Castelli.moc"), QByteArray());
        folder->write(QStringLiteral("Navi.moc"), QByteArray());
        showOpen();
        select(QStringLiteral("Castelli.moc"));
        clickPicture(openWindow()->btnApri);
        TfrmCartoline *editor = roster->frmCartoline();
        QVERIFY(editor->isVisible());
        QVERIFY(!openWindow()->isVisible());
        QVERIFY(!roster->frmAvvio()->isVisible());
        QCOMPARE(editor->lblFile->text(), folder->file(QStringLiteral("Castelli.moc")));
        QCOMPARE(editor->lblNome->text(), QStringLiteral("Castelli"));
        QCOMPARE(editor->lblPosizione->text(), QString());
        // Closing the MOC editor returns to the start screen, not here.
        editor->close();
        QVERIFY(roster->frmAvvio()->isVisible());
        QVERIFY(!openWindow()->isVisible());
    }

    void deleteAsksFirst()
    {
        folder->write(QStringLiteral("Castelli.moc"), "x");
        QDir(folder->path()).mkpath(QStringLiteral("Foto_MOC"));
        folder->write(QStringLiteral("Foto_MOC/Castelli_Foto_A_1.jpg"), "foto");
        showOpen();
        select(QStringLiteral("Castelli.moc"));
        services->answers.enqueue(platform::Button::No);
        clickPicture(openWindow()->btnElimina);
        QCOMPARE(services->texts(), QStringList{kQuestion});
        QCOMPARE(services->messages.first().kind, MessageKind::Confirmation);
        QCOMPARE(mocFiles(), QStringList{"Castelli.moc"});

        services->clear();
        services->answers.enqueue(platform::Button::Yes);
        clickPicture(openWindow()->btnElimina);
        QCOMPARE(services->texts(), QStringList({kQuestion, kDeleted}));
        QCOMPARE(services->messages.last().kind, MessageKind::Information);
        QCOMPARE(mocFiles(), QStringList());
        QVERIFY(QFile::exists(folder->file("Foto_MOC/Castelli_Foto_A_1.jpg")));
        QCOMPARE(listed(), QStringList());
        QCOMPARE(openWindow()->lblCreati->text(), QStringLiteral("Sono stati creati 0 archivi di MOC."));
        QCOMPARE(openWindow()->lblMemory->text(), QStringLiteral("avvio"));
        QVERIFY(openWindow()->isVisible());
        openWindow()->close();
        QVERIFY(roster->frmAvvio()->isVisible());
    }

    void aDeletionThatFailsIsNotReportedAsDone()
    {
        folder->write(QStringLiteral("Castelli.moc"), "x");
        showOpen();
        select(QStringLiteral("Castelli.moc"));
        services->answers.enqueue(platform::Button::Yes);
        // The file goes away (another copy of the program) before the answer.
        services->onMessage = [&](const ScriptedServices::Message &) {
            QFile::remove(folder->file("Castelli.moc"));
        };
        clickPicture(openWindow()->btnElimina);
        services->onMessage = nullptr;
        QCOMPARE(services->texts().size(), 2);
        QCOMPARE(services->texts().last(),
                 QStringLiteral("Attenzione: non è stato possibile eliminare l'archivio di MOC "
                                "selezionato.\r\n\r\nAccertarsi di possedere i privilegi di "
                                "scrittura nella cartella di installazione del programma."));
        QCOMPARE(listed(), QStringList());
    }

    void sortRule()
    {
        QVERIFY(Text::lessFoldingAZ("alfa", "Beta"));
        QVERIFY(Text::lessFoldingAZ("Zeta", "_a"));
        QVERIFY(!Text::lessFoldingAZ("ABC", "abc"));
        QVERIFY(!Text::lessFoldingAZ("abc", "ABC"));
        QVERIFY(Text::lessFoldingAZ("ab", "abc"));
    }
};

VETRINORA_TEST_MAIN(TestArchives)
#include "test_archives.moc"
