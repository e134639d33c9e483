// The backup, restore, CSV export and import commands as the collection
// window runs them: the file dialogs and messages through the platform layer,
// the import preview with its field boxes and marked cells.

#include "TestSupport.h"

#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/transfer/Backup.h"
#include "ui/transfer/TfrmImporta.h"
#include "ui/transfer/TransferCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using platform::Button;
using platform::MessageKind;

namespace {
const QDateTime kWhen(QDate(2026, 12, 10), QTime(16, 30, 5));
}

class TestTransfer : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> folder;
    std::unique_ptr<ScriptedServices> services;
    std::unique_ptr<QTemporaryDir> elsewhere;
    std::unique_ptr<TransferCommands> commands;

    QString catalogue() const { return folder->file(QStringLiteral("Catalogo_BLOKKO.pro")); }

private slots:
    void init()
    {
        folder = std::make_unique<TestProgramFolder>();
        services = std::make_unique<ScriptedServices>();
        elsewhere = std::make_unique<QTemporaryDir>();
        commands = std::make_unique<TransferCommands>();
        commands->now = [] { return kWhen; };
        folder->installShippedCredentials();
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", "Faro"}, {"Valore", "3,00"}, {"InVendita", "No"}},
                            {{"NomeSet", "Porto"}, {"Valore", "5,00"}, {"InVendita", QString::fromUtf8("Sì")}}});
    }
    void cleanup()
    {
        commands.reset();
        services.reset();
        elsewhere.reset();
        folder.reset();
    }

    void backupGoesToTheChosenFolderUnderItsDatedName()
    {
        services->chosenFiles.enqueue(elsewhere->path());
        QVERIFY(commands->backup(nullptr));
        QCOMPARE(services->fileDialogs.size(), 1);
        QVERIFY(services->fileDialogs[0].folder);
        QCOMPARE(services->fileDialogs[0].request.title, QStringLiteral("Scegliere la cartella in cui salvare il backup"));
        const QString zip = elsewhere->filePath(QStringLiteral("Vetrinora-backup-2026-12-10-163005.zip"));
        QVERIFY(QFileInfo::exists(zip));
        QCOMPARE(QDir(elsewhere->path()).entryList(QDir::Files), QStringList{QFileInfo(zip).fileName()});
        QCOMPARE(services->messages.size(), 1);
        QCOMPARE(services->messages[0].kind, MessageKind::Information);
        QCOMPARE(services->messages[0].text,
                 QString::fromUtf8("Il backup è stato salvato e controllato con successo nel file:\r\n\r\n") + zip);
    }

    // A folder that cannot take the file: a warning, and nothing written.
    void backupIntoAFolderThatIsGoneWarns()
    {
        services->chosenFiles.enqueue(elsewhere->filePath(QStringLiteral("sparita")));
        QVERIFY(!commands->backup(nullptr));
        QCOMPARE(services->texts(), QStringList{Transfer::backupWriteMessage()});
        QCOMPARE(services->messages[0].kind, MessageKind::Warning);
        QCOMPARE(QDir(elsewhere->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void backupCancelledInTheDialogWritesNothing()
    {
        QVERIFY(!commands->backup(nullptr));
        QVERIFY(services->messages.isEmpty());
        QCOMPARE(QDir(elsewhere->path()).entryList(QDir::Files), QStringList());
    }

    void restoreAsksWithTheContentsAndOnlyYesReplaces()
    {
        services->chosenFiles.enqueue(elsewhere->path());
        QVERIFY(commands->backup(nullptr));
        const QString zip = elsewhere->filePath(QStringLiteral("Vetrinora-backup-2026-12-10-163005.zip"));
        const QByteArray saved = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 4, {});
        const QByteArray changed = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        services->clear();

        services->chosenFiles.enqueue(zip);
        services->answers.enqueue(Button::No);
        QVERIFY(!commands->restore(nullptr));
        QCOMPARE(services->messages.size(), 1);
        QCOMPARE(services->messages[0].kind, MessageKind::Confirmation);
        QVERIFY(services->messages[0].text.startsWith(
            QString::fromUtf8("Il backup scelto è stato creato il 10/12/2026 alle 16:30 e contiene:\r\n"
                              "- Catalogo BLOKKO: 2 schede\r\n- 0 foto e 0 allegati\r\n\r\n")));
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), changed);

        services->clear();
        services->chosenFiles.enqueue(zip);
        services->answers.enqueue(Button::Yes);
        QVERIFY(commands->restore(nullptr));
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), saved);
        QCOMPARE(folder->read(QStringLiteral("Prima-del-ripristino-2026-12-10-163005/Catalogo_BLOKKO.pro")), changed);
        QCOMPARE(services->messages.last().kind, MessageKind::Information);
        QCOMPARE(services->messages.last().text,
                 QString::fromUtf8("Il ripristino è stato completato con successo.\r\n\r\nI dati presenti "
                                   "prima del ripristino sono stati conservati nella cartella:\r\n")
                     + QDir(folder->path()).filePath(QStringLiteral("Prima-del-ripristino-2026-12-10-163005")));
    }

    void restoreOfAFileThatIsNoBackupWarns()
    {
        folder->write(QStringLiteral("finto.zip"), "niente");
        services->chosenFiles.enqueue(folder->file(QStringLiteral("finto.zip")));
        const QByteArray before = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        QVERIFY(!commands->restore(nullptr));
        QCOMPARE(services->messages.size(), 1);
        QCOMPARE(services->messages[0].kind, MessageKind::Warning);
        QCOMPARE(services->messages[0].text,
                 QString::fromUtf8("Attenzione: il file scelto non è un archivio zip leggibile oppure è "
                                   "danneggiato. I dati attuali non sono stati modificati."));
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
    }

    void exportWritesTheChosenFile_data()
    {
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("lines");
        QTest::newRow("all") << false << QString::fromUtf8("Sono state esportate 2 schede nel file CSV.") << 3;
        QTest::newRow("filtered") << true << QString::fromUtf8("È stata esportata 1 scheda nel file CSV.") << 2;
    }
    void exportWritesTheChosenFile()
    {
        QFETCH(bool, filtered);
        const QString out = elsewhere->filePath(QStringLiteral("uscita.csv"));
        services->chosenFiles.enqueue(out);
        QVERIFY(commands->exportCsv(nullptr, catalogue(),
                                    filtered ? std::optional<QList<qint64>>(QList<qint64>{1}) : std::nullopt));
        QCOMPARE(services->fileDialogs[0].request.proposedName, QStringLiteral("Catalogo_BLOKKO.csv"));
        QTEST(services->messages.last().text, "message");
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QTEST(int(f.readAll().count("\r\n")), "lines");
    }

    void importShowsThePreviewAndReports()
    {
        const QString csv = elsewhere->filePath(QStringLiteral("entrata.csv"));
        {
            QFile f(csv);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Nome set;Prezzo;In vendita;Altro\r\n" + QByteArray(55, 'n') + ";12,5;si;x\r\nMo\xC5\x82o;1,5 circa;no;y\r\n");
        }
        services->chosenFiles.enqueue(csv);
        const QString archive = folder->file(QStringLiteral("Nuovo.moc"));
        Q_UNUSED(archive);
        bool ok = false;
        QVERIFY(withModal([&] { ok = commands->importCsv(nullptr, catalogue()); },
                          [&](QWidget *w) {
                              auto *window = qobject_cast<TfrmImporta *>(w);
                              QVERIFY(window);
                              QCOMPARE(window->objectName(), QStringLiteral("frmImporta"));
                              auto *grid = window->findChild<QTableWidget *>(QStringLiteral("grdAnteprima"));
                              QCOMPARE(grid->rowCount(), 3);
                              QCOMPARE(grid->item(2, 0)->text(), QString::fromUtf8("Moło"));
                              // Entering the preview frames only a selected cell.
                              QVERIFY(QTest::qWaitForWindowActive(window));
                              grid->setFocus(Qt::TabFocusReason);
                              QVERIFY(grid->hasFocus());
                              QVERIFY(highlightIsSelection(grid));
                              QTest::keyClick(grid, Qt::Key_Down);
                              QVERIFY(grid->selectionModel()->hasSelection());
                              QVERIFY(highlightIsSelection(grid));
                              grid->clearSelection();
                              QVERIFY(highlightIsSelection(grid));
                              // Proposed: "Nome set" and "In vendita"; "Prezzo" names no field.
                              auto *price = window->findChild<QComboBox *>(QStringLiteral("cmbCampo1"));
                              QCOMPARE(window->findChild<QComboBox *>(QStringLiteral("cmbCampo0"))->currentText(),
                                       QStringLiteral("Nome set"));
                              QCOMPARE(price->currentText(), QStringLiteral("(non importare)"));
                              QCOMPARE(window->findChild<QComboBox *>(QStringLiteral("cmbCampo2"))->currentText(),
                                       QStringLiteral("In vendita"));
                              QCOMPARE(grid->item(1, 0)->background().color(), TfrmImporta::cutColour());
                              QCOMPARE(grid->item(2, 0)->background().style(), Qt::NoBrush);
                              QCOMPARE(grid->item(2, 0)->toolTip(),
                                       QString::fromUtf8("Caratteri che saranno sostituiti: ł → l"));
                              QCOMPARE(grid->item(2, 1)->background().style(), Qt::NoBrush);
                              // The user maps "Prezzo" to the value: "1,5 circa" is marked.
                              price->setCurrentIndex(price->findText(QStringLiteral("Valore")));
                              QCOMPARE(grid->item(2, 1)->background().color(), TfrmImporta::unreadableColour());
                              QCOMPARE(grid->item(1, 1)->background().style(), Qt::NoBrush);
                              window->findChild<QPushButton *>(QStringLiteral("btnImporta"))->click();
                          }));
        QVERIFY(ok);
        QCOMPARE(services->messages.size(), 1);
        QCOMPARE(services->messages[0].kind, MessageKind::Information);
        QCOMPARE(services->messages[0].text,
                 QString::fromUtf8("Sono state importate 2 schede.\r\n\r\nCelle troncate alla lunghezza "
                                   "massima del campo: 1.\r\n- riga 2, Nome set: ")
                     + QString(55, 'n')
                     + QString::fromUtf8("\r\n\r\nValori non riconosciuti (registrati come \"0,00\" o "
                                         "\"No\"): 1.\r\n- riga 3, Prezzo: 1,5 circa\r\n\r\nCaratteri che il "
                                         "catalogo non può contenere, registrati come indicato: 1.\r\n"
                                         "- riga 3, Nome set: ł → l"));
        const CardStore store(catalogue(), Schede::TSchedaSet);
        QCOMPARE(store.count(), 4);
        QCOMPARE(store.read(2).text("Valore"), QStringLiteral("12,50"));
        QCOMPARE(store.read(2).text("InVendita"), QString::fromUtf8("Sì"));
        QCOMPARE(store.read(3).text("Valore"), QStringLiteral("0,00"));
        QCOMPARE(store.read(3).text("NomeSet"), QStringLiteral("Molo"));
    }

    void importMarksPresentCardsAndTakesCorrectedCells_data()
    {
        QTest::addColumn<bool>("skip");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("present skipped")
            << true << QString::fromUtf8("È stata importata 1 scheda.\r\n\r\nSchede già presenti nel catalogo, non importate: 2.")
            << QStringList{"Faro", "Porto", "Molo"};
        QTest::newRow("all imported")
            << false << QString::fromUtf8("Sono state importate 3 schede.")
            << QStringList{"Faro", "Porto", "faro", "Molo", "Porto"};
    }
    void importMarksPresentCardsAndTakesCorrectedCells()
    {
        QFETCH(bool, skip);
        const QString csv = elsewhere->filePath(QStringLiteral("entrata.csv"));
        {
            QFile f(csv);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Nome set;Valore\r\nfaro;3\r\nMolo;circa 4\r\nPorto;5\r\n");
        }
        services->chosenFiles.enqueue(csv);
        bool ok = false;
        QVERIFY(withModal([&] { ok = commands->importCsv(nullptr, catalogue()); },
                          [&](QWidget *w) {
                              auto *window = qobject_cast<TfrmImporta *>(w);
                              QVERIFY(window);
                              auto *grid = window->findChild<QTableWidget *>(QStringLiteral("grdAnteprima"));
                              auto *box = window->findChild<QCheckBox *>(QStringLiteral("chkSaltaPresenti"));
                              QVERIFY(box);
                              QCOMPARE(box->text(), QString::fromUtf8("Salta le schede già presenti"));
                              QVERIFY(box->isChecked());
                              QVERIFY(!window->findChild<QComboBox *>(QStringLiteral("cmbFoglio"))->isVisibleTo(window));
                              QVERIFY(window->rowPresent(0));
                              QVERIFY(!window->rowPresent(1));
                              QVERIFY(window->rowPresent(2));
                              QCOMPARE(grid->item(1, 0)->background().color(), TfrmImporta::presentColour());
                              QCOMPARE(grid->item(2, 0)->background().style(), Qt::NoBrush);
                              QCOMPARE(grid->item(2, 1)->background().color(), TfrmImporta::unreadableColour());
                              // The unreadable amount is corrected in its cell and checked again.
                              grid->setCurrentCell(2, 1);
                              grid->editItem(grid->item(2, 1));
                              auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(grid->model()->index(2, 1)));
                              QVERIFY(editor);
                              editor->selectAll();
                              QTest::keyClicks(editor, "4,5");
                              QCOMPARE(editor->text(), QStringLiteral("4,5"));
                              QTest::keyClick(editor, Qt::Key_Return);
                              QTRY_COMPARE(grid->item(2, 1)->text(), QStringLiteral("4,5")); // committed from the event loop
                              QCOMPARE(grid->item(2, 1)->background().style(), Qt::NoBrush);
                              box->setChecked(skip);
                              window->findChild<QPushButton *>(QStringLiteral("btnImporta"))->click();
                          }));
        QVERIFY(ok);
        QCOMPARE(services->messages.size(), 1);
        QTEST(services->messages[0].text, "report");
        QFETCH(QStringList, names);
        const CardStore store(catalogue(), Schede::TSchedaSet);
        QCOMPARE(store.count(), names.size());
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(store.read(i).text("NomeSet"), names.at(i));
        const qint64 molo = names.indexOf(QStringLiteral("Molo"));
        QCOMPARE(store.read(molo).text("Valore"), QStringLiteral("4,50"));
    }

    void importCancelledInThePreviewWritesNothing()
    {
        const QString csv = elsewhere->filePath(QStringLiteral("entrata.csv"));
        {
            QFile f(csv);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Nome progetto,Costo totale\nPonte,3\n");
        }
        services->chosenFiles.enqueue(csv);
        const QString archive = folder->file(QStringLiteral("Nuovo.moc"));
        bool ok = true;
        QVERIFY(withModal([&] { ok = commands->importCsv(nullptr, archive); },
                          [&](QWidget *w) {
                              QCOMPARE(w->findChild<QComboBox *>(QStringLiteral("cmbCampo1"))->currentText(),
                                       QStringLiteral("Costo totale"));
                              w->findChild<QPushButton *>(QStringLiteral("btnAnnulla"))->click();
                          }));
        QVERIFY(!ok);
        QVERIFY(services->messages.isEmpty());
        QVERIFY(!QFileInfo::exists(archive));
    }

    void importOfABadFileWarnsWithoutAPreview()
    {
        const QString csv = elsewhere->filePath(QStringLiteral("vuoto.csv"));
        {
            QFile f(csv);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Nome set;Tema\r\n");
        }
        services->chosenFiles.enqueue(csv);
        const QByteArray before = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        QVERIFY(!commands->importCsv(nullptr, catalogue()));
        QCOMPARE(services->texts(),
                 QStringList{QString::fromUtf8("Attenzione: il file scelto contiene soltanto la riga di "
                                               "intestazione. Non è stata importata nessuna scheda.")});
        QCOMPARE(services->messages[0].kind, MessageKind::Warning);
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
    }
};

VETRINORA_TEST_MAIN(TestTransfer)
#include "test_transfer.moc"
