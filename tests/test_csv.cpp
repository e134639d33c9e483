// CSV export and import of cards: the bytes written, the files read back
// (encodings, separators, the program's own spreadsheet), each cell stored as
// the card editor stores it, and bad files refused with nothing written.

#include "TestSupport.h"

#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/cards/Windows1252.h"
#include "core/output/Spreadsheet.h"
#include "core/transfer/CsvExport.h"
#include "core/transfer/CsvImport.h"
#include "core/transfer/Transfer.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace Transfer;

namespace {

// Cards as the editors save them: amounts normalised, the flag "Sì" or "No".
QList<CardFields> setCards()
{
    return {
        {{"NomeSet", QString::fromUtf8("Città sul fiume")}, {"Tema", "Castelli, \"medievali\""},
         {"MinifigureIncluse", "re; regina"}, {"Note", "a < b & c"}, {"Valore", "1234,50"},
         {"InVendita", QString::fromUtf8("Sì")}, {"File01", "istruzioni.pdf"},
         {"Desc01", "Istruzioni"}},
        {{"NomeSet", "Faro"}, {"Valore", "0,00"}, {"InVendita", "No"}},
        {{"NomeSet", QString(50, QLatin1Char('x'))}, {"DataAcquisto", "01/02/2020"},
         {"Valore", "7,05"}, {"InVendita", "No"}},
    };
}

QList<CardFields> mocCards()
{
    return {
        {{"NomeProgetto", QString::fromUtf8("Torre dell'orologio è alta")}, {"CostoTotale", "99,90"},
         {"LivelloDifficolta", QString::fromUtf8("difficoltà alta")}, {"InVendita", "No"},
         {"Desc03", "ultima"}},
        {{"NomeProgetto", "Ponte"}, {"Scala", "1:40"}, {"CostoTotale", "0,00"},
         {"InVendita", QString::fromUtf8("Sì")}},
    };
}

QByteArray w1252(const char *utf8) { return Windows1252::encode(QString::fromUtf8(utf8)); }

} // namespace

class TestCsv : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> folder;

    CardStore store(const QString &name, const RecordLayout &layout) const
    {
        return CardStore(folder->file(name), layout);
    }

private slots:
    void init() { folder = std::make_unique<TestProgramFolder>(); }
    void cleanup() { folder.reset(); }

    void exportWritesHeadingsAndQuotedCells()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, {setCards().at(0)});
        const QString out = folder->file(QStringLiteral("out.csv"));
        QCOMPARE(exportCsv(store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet), out), 1);
        const QByteArray bytes = folder->read(QStringLiteral("out.csv"));
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF\"Nome set\",\"Tema\",\"Minifigure incluse\","));
        const QList<QByteArray> lines = bytes.mid(3).split('\n');
        QCOMPARE(lines.size(), 3); // two rows, each ended by CR LF
        QVERIFY(lines.at(0).endsWith(
            "\"Valore\",\"In vendita\",\"Allegato 1\",\"Allegato 2\",\"Allegato 3\","
            "\"Descrizione allegato 1\",\"Descrizione allegato 2\",\"Descrizione allegato 3\"\r"));
        QCOMPARE(lines.at(1),
                 QByteArray("\"Città sul fiume\",\"Castelli, \"\"medievali\"\"\",\"re; regina\","
                            "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"a < b & c\","
                            "\"1234,50\",\"Sì\",\"istruzioni.pdf\",\"\",\"\",\"Istruzioni\",\"\",\"\"\r"));
    }

    void exportOfChosenRows()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, setCards());
        const QString out = folder->file(QStringLiteral("scelte.csv"));
        QCOMPARE(exportCsv(store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet), out,
                           QList<qint64>{2, 0}),
                 2);
        const QList<QByteArray> lines = folder->read(QStringLiteral("scelte.csv")).split('\n');
        QVERIFY(lines.at(1).startsWith("\"xxxxxxxxxx"));
        QVERIFY(lines.at(2).startsWith("\"Città sul fiume\""));
    }

    void exportToAFolderThatRefusesLeavesNothing()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, setCards());
        try {
            exportCsv(store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet),
                      folder->file(QStringLiteral("manca/out.csv")));
            QFAIL("the export did not fail");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QString::fromUtf8(
                "Attenzione: il sistema non permette di scrivere il file CSV.\r\n\r\n"
                "Accertarsi che il file non sia già aperto in un altro programma e che la "
                "cartella scelta consenta la scrittura."));
        }
    }

    void roundTripGivesTheSameRecordFile_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::newRow("catalogo") << false;
        QTest::newRow("archivio MOC") << true;
    }
    void roundTripGivesTheSameRecordFile()
    {
        QFETCH(bool, moc);
        const RecordLayout &layout = moc ? Schede::TSchedaMOC : Schede::TSchedaSet;
        const QString source = moc ? QStringLiteral("Castelli.moc") : QStringLiteral("Catalogo_BLOKKO.pro");
        folder->writeCards(source, layout, moc ? mocCards() : setCards());
        const QString csv = folder->file(QStringLiteral("giro.csv"));
        exportCsv(store(source, layout), csv);

        const Preview p = preview(csv);
        QCOMPARE(p.encoding, QStringLiteral("UTF-8"));
        QCOMPARE(p.separator, QLatin1Char(','));
        const Mapping mapping = proposeMapping(layout, p.headings);
        for (qsizetype i = 0; i < mapping.size(); ++i)
            QCOMPARE(mapping.at(i), int(i));
        const ImportReport report = importFile(csv, mapping, store(QStringLiteral("vuoto.moc"), layout));
        QCOMPARE(report.imported, qint64(moc ? 2 : 3));
        QCOMPARE(report.cutCount, 0);
        QCOMPARE(report.unreadableCount, 0);
        QCOMPARE(folder->read(QStringLiteral("vuoto.moc")), folder->read(source));
    }

    void importAppendsAfterTheCardsThere()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, {setCards().at(1)});
        const QByteArray before = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        folder->write(QStringLiteral("in.csv"), "Nome set,Valore\r\nNuovo,3\r\n");
        const ImportReport r = importFile(folder->file(QStringLiteral("in.csv")), {0, 14},
                                          store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
        QCOMPARE(r.imported, 1);
        const QByteArray after = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        QCOMPARE(after.left(before.size()), before);
        const Record card = CardStore(folder->file(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet).read(1);
        QCOMPARE(card.text("NomeSet"), QStringLiteral("Nuovo"));
        QCOMPARE(card.text("Valore"), QStringLiteral("3,00"));
        QCOMPARE(card.text("InVendita"), QStringLiteral("No"));
    }

    void encodingAndSeparatorAreRecognised_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("row");
        const QStringList row{QString::fromUtf8("Città"), QStringLiteral("12,50"), QString::fromUtf8("Sì")};
        QTest::newRow("UTF-8 with BOM, comma")
            << QByteArray("\xEF\xBB\xBFNome set,Valore,In vendita\r\nCittà,\"12,50\",Sì\r\n") << "UTF-8" << "," << row;
        QTest::newRow("UTF-8 without BOM, semicolon")
            << QByteArray("Nome set;Valore;In vendita\nCittà;12,50;Sì\n") << "UTF-8" << ";" << row;
        QTest::newRow("Windows-1252, semicolon")
            << (w1252("Nome set;Valore;In vendita\r\nCittà;12,50;Sì\r\n")) << "Windows-1252" << ";" << row;
        QTest::newRow("tab")
            << QByteArray("Nome set\tValore\tIn vendita\nCittà\t12,50\tSì") << "UTF-8" << "\t" << row;
        QTest::newRow("one column")
            << QByteArray("Nome set\nCittà\n") << "UTF-8" << "," << QStringList{QString::fromUtf8("Città")};
    }
    void encodingAndSeparatorAreRecognised()
    {
        QFETCH(QByteArray, bytes);
        folder->write(QStringLiteral("in.csv"), bytes);
        const Preview p = preview(folder->file(QStringLiteral("in.csv")));
        QTEST(p.encoding, "encoding");
        QTEST(QString(p.separator), "separator");
        QCOMPARE(p.rows.size(), 1);
        QTEST(p.rows.at(0), "row");
        QCOMPARE(p.headings.first(), QStringLiteral("Nome set"));
    }

    void headingsProposeTheirFields_data()
    {
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<QList<int>>("mapping");
        QTest::newRow("captions, names, case and accents")
            << QStringList{"NOME SET", "eta consigliata", QString::fromUtf8("Valore: €"), "pezzimancanti",
                           "Colonna ignota", "Nome set", "in vendita", "Allegato 2"}
            << QList<int>{0, 11, 14, 7, -1, -1, 15, 17};
        QTest::newRow("no match") << QStringList{"a", "", "b"} << QList<int>{-1, -1, -1};
    }
    void headingsProposeTheirFields()
    {
        QFETCH(QStringList, headings);
        QTEST(proposeMapping(Schede::TSchedaSet, headings), "mapping");
    }

    void cellsAreStoredAsTheEditorStoresThem_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<bool>("unreadable");
        QTest::newRow("trimmed") << "NomeSet" << "  Faro \t" << "Faro" << false << false;
        QTest::newRow("line breaks") << "Note" << "prima\r\nseconda\nterza" << "prima seconda terza" << false << false;
        QTest::newRow("exactly the capacity") << "NomeSet" << QString(50, 'a') << QString(50, 'a') << false << false;
        QTest::newRow("one past the capacity") << "NomeSet" << QString(51, 'a') << QString(50, 'a') << true << false;
        QTest::newRow("cut before a blank") << "DataAcquisto" << QString(29, 'a') + " bb" << QString(29, 'a') << true << false;
        QTest::newRow("amount") << "Valore" << "12,5" << "12,50" << false << false;
        QTest::newRow("amount rounded") << "Valore" << "0,125" << "0,13" << false << false;
        QTest::newRow("empty amount") << "Valore" << "" << "0,00" << false << false;
        QTest::newRow("amount with a point") << "Valore" << "12.50" << "12,50" << false << false;
        QTest::newRow("euro before, Italian groups") << "Valore" << QString::fromUtf8("€ 1.234,50") << "1234,50" << false << false;
        QTest::newRow("euro after") << "Valore" << QString::fromUtf8("1.234,50 €") << "1234,50" << false << false;
        QTest::newRow("euro after, no blank") << "Valore" << QString::fromUtf8("12.999,99€") << "12999,99" << false << false;
        QTest::newRow("EUR") << "Valore" << "EUR 12" << "12,00" << false << false;
        QTest::newRow("English groups") << "Valore" << "1,234.50" << "1234,50" << false << false;
        QTest::newRow("point, one decimal") << "Valore" << "1234.5" << "1234,50" << false << false;
        QTest::newRow("lone point before three digits") << "Valore" << "1.234" << "1234,00" << false << false;
        QTest::newRow("Italian millions") << "Valore" << "1.234.567" << "1234567,00" << false << false;
        QTest::newRow("English millions") << "Valore" << "1,234,567.5" << "1234567,50" << false << false;
        QTest::newRow("blank groups") << "Valore" << QString::fromUtf8("1\u00A0234,50 €") << "1234,50" << false << false;
        QTest::newRow("minus and euro") << "Valore" << QString::fromUtf8("-€ 1.234,50") << "-1234,50" << false << false;
        QTest::newRow("euro and minus") << "Valore" << QString::fromUtf8("€ -12,5") << "-12,50" << false << false;
        QTest::newRow("parentheses") << "Valore" << QString::fromUtf8("(1.234,50 €)") << "-1234,50" << false << false;
        QTest::newRow("parentheses inside") << "Valore" << QString::fromUtf8("€ (12)") << "-12,00" << false << false;
        QTest::newRow("groups of two") << "Valore" << "1.23.456" << "0,00" << false << true;
        QTest::newRow("group after the decimals") << "Valore" << "1,234.567,8" << "0,00" << false << true;
        QTest::newRow("euro alone") << "Valore" << QString::fromUtf8("€") << "0,00" << false << true;
        QTest::newRow("currency in a word") << "Valore" << "12 EURI" << "0,00" << false << true;
        QTest::newRow("two amounts") << "Valore" << "12 13" << "0,00" << false << true;
        QTest::newRow("amount with words") << "Valore" << "dieci euro" << "0,00" << false << true;
        QTest::newRow("long amount") << "Valore" << "999999999999999" << "999999999999999" << true << false;
        QTest::newRow("Sì") << "InVendita" << QString::fromUtf8("Sì") << QString::fromUtf8("Sì") << false << false;
        QTest::newRow("si") << "InVendita" << "si" << QString::fromUtf8("Sì") << false << false;
        QTest::newRow("YES") << "InVendita" << "YES" << QString::fromUtf8("Sì") << false << false;
        QTest::newRow("true") << "InVendita" << "true" << QString::fromUtf8("Sì") << false << false;
        QTest::newRow("1") << "InVendita" << "1" << QString::fromUtf8("Sì") << false << false;
        QTest::newRow("x") << "InVendita" << " X " << QString::fromUtf8("Sì") << false << false;
        QTest::newRow("No") << "InVendita" << "No" << "No" << false << false;
        QTest::newRow("false") << "InVendita" << "false" << "No" << false << false;
        QTest::newRow("0") << "InVendita" << "0" << "No" << false << false;
        QTest::newRow("empty flag") << "InVendita" << "" << "No" << false << false;
        QTest::newRow("forse") << "InVendita" << "forse" << "No" << false << true;
    }
    void cellsAreStoredAsTheEditorStoresThem()
    {
        QFETCH(QString, field);
        QFETCH(QString, cell);
        const Converted c = convert(*Schede::TSchedaSet.field(field.toStdString()), cell);
        QTEST(c.text, "stored");
        QTEST(c.cut, "cut");
        QTEST(c.unreadable, "unreadable");
    }

    void reportListsCutCellsAndUnreadAmounts()
    {
        folder->write(QStringLiteral("in.csv"),
                      "Nome set;Valore;In vendita\n" + QByteArray(60, 'n') + ";12 euri;si\nFaro;3;no\n");
        const ImportReport r = importFile(folder->file(QStringLiteral("in.csv")), {0, 14, 15},
                                          store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
        QCOMPARE(r.imported, 2);
        QCOMPARE(reportText(r),
                 QString::fromUtf8("Sono state importate 2 schede.\r\n\r\n"
                                   "Celle troncate alla lunghezza massima del campo: 1.\r\n"
                                   "- riga 2, Nome set: ")
                     + QString(60, 'n')
                     + QString::fromUtf8("\r\n\r\nValori non riconosciuti (registrati come \"0,00\" o "
                                         "\"No\"): 1.\r\n- riga 2, Valore: 12 euri"));
        QCOMPARE(Record::textAt(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")).constData(),
                                *Schede::TSchedaSet.field("NomeSet")),
                 QString(50, 'n'));
    }

    void quotedCellsMayHoldLineBreaks()
    {
        folder->write(QStringLiteral("in.csv"), "Nome set,Note\r\n\"Faro\",\"riga uno\r\nriga \"\"due\"\"\"\r\n");
        const ImportReport r = importFile(folder->file(QStringLiteral("in.csv")), {0, 13},
                                          store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
        QCOMPARE(r.imported, 1);
        const Record card = CardStore(folder->file(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet).read(0);
        QCOMPARE(card.text("Note"), QStringLiteral("riga uno riga \"due\""));
    }

    void theProgramsOwnSpreadsheetIsRead()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        Spreadsheet::Writer writer(buffer);
        const Spreadsheet::Heading headings[] = {{QStringLiteral("Nome set"), 280},
                                                 {QStringLiteral("Valore"), 200},
                                                 {QStringLiteral("In vendita"), 180}};
        writer.head(QStringLiteral("Catalogo BLOKKO"), headings);
        writer.beginRow();
        writer.cell(w1252("Città & <mare>"));
        writer.cell("12,5");
        writer.cell(w1252("Sì"));
        writer.endRow();
        QVERIFY(writer.finish());
        folder->write(QStringLiteral("Catalogo_BLOKKO.xls"), buffer.data());

        const Preview p = preview(folder->file(QStringLiteral("Catalogo_BLOKKO.xls")));
        QCOMPARE(p.headings, (QStringList{"Nome set", "Valore", "In vendita"}));
        const ImportReport r = importFile(folder->file(QStringLiteral("Catalogo_BLOKKO.xls")),
                                          proposeMapping(Schede::TSchedaSet, p.headings),
                                          store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
        QCOMPARE(r.imported, 1);
        const Record card = CardStore(folder->file(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet).read(0);
        QCOMPARE(card.text("NomeSet"), QString::fromUtf8("Città & <mare>"));
        QCOMPARE(card.text("Valore"), QStringLiteral("12,50"));
        QCOMPARE(card.text("InVendita"), QString::fromUtf8("Sì"));
    }

    void badFilesAreRefusedAndNothingIsWritten_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QString none = QString::fromUtf8(" Non è stata importata nessuna scheda.");
        QTest::newRow("empty") << QByteArray() << QString::fromUtf8("Attenzione: il file scelto è vuoto.") + none;
        QTest::newRow("blank lines") << QByteArray("\r\n\r\n") << QString::fromUtf8("Attenzione: il file scelto è vuoto.") + none;
        QTest::newRow("heading only")
            << QByteArray("Nome set;Tema\r\n")
            << QString::fromUtf8("Attenzione: il file scelto contiene soltanto la riga di intestazione.") + none;
        QTest::newRow("heading and empty rows")
            << QByteArray("Nome set;Tema\r\n;\r\n;\r\n")
            << QString::fromUtf8("Attenzione: il file scelto contiene soltanto la riga di intestazione.") + none;
        QTest::newRow("ragged row")
            << QByteArray("Nome set;Tema\r\nA;B\r\nC;D;E\r\n")
            << QString::fromUtf8("Attenzione: la riga 3 del file ha 3 colonne, mentre l'intestazione ne ha 2.") + none;
        QTest::newRow("short row")
            << QByteArray("Nome set;Tema\r\nA;B\r\nC\r\n")
            << QString::fromUtf8("Attenzione: la riga 3 del file ha 1 colonne, mentre l'intestazione ne ha 2.") + none;
        QTest::newRow("quote left open")
            << QByteArray("Nome set,Tema\r\nA,\"B\r\n")
            << QString::fromUtf8("Attenzione: il file CSV non è scritto correttamente (virgolette non chiuse o fuori posto alla riga 2).") + none;
        QTest::newRow("quote inside a cell")
            << QByteArray("Nome set,Tema\r\nA,B\"C\"\r\n")
            << QString::fromUtf8("Attenzione: il file CSV non è scritto correttamente (virgolette non chiuse o fuori posto alla riga 2).") + none;
        QByteArray garbage;
        for (int i = 0; i < 5000; ++i)
            garbage += char((i * 7919) % 256);
        QTest::newRow("binary garbage")
            << garbage
            << QString::fromUtf8("Attenzione: il file scelto non è un file CSV né un foglio esportato da Vetrinora.") + none;
        QTest::newRow("a cell with no end")
            << "Nome set\r\n\"" + QByteArray(3 << 20, 'a')
            << QString::fromUtf8("Attenzione: il file CSV non è scritto correttamente (virgolette non chiuse o fuori posto alla riga 2).") + none;
    }
    void badFilesAreRefusedAndNothingIsWritten()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, setCards());
        const QByteArray before = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        folder->write(QStringLiteral("in.csv"), bytes);
        try {
            importFile(folder->file(QStringLiteral("in.csv")), {0, 1},
                       store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
            QFAIL("the import did not fail");
        } catch (const Error &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files).size(), 2);
    }

    void aCancelHalfWayLeavesTheFileAsItWas()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, setCards());
        const QByteArray before = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        QByteArray csv = "Nome set\r\n";
        for (int i = 0; i < 5000; ++i)
            csv += "Set " + QByteArray::number(i) + "\r\n";
        folder->write(QStringLiteral("in.csv"), csv);
        int calls = 0;
        bool cancelled = false;
        try {
            importFile(folder->file(QStringLiteral("in.csv")), {0},
                       store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet),
                       [&](qint64, qint64) { return ++calls < 3; });
        } catch (const Cancelled &) {
            cancelled = true;
        }
        QVERIFY(cancelled);
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files).size(), 2);
    }

    void aLargeFileIsReadInBlocks()
    {
        // About 8 MB: the import reports its way through the file, so it
        // never holds the file whole.
        QByteArray csv = "Nome set;Note\r\n";
        const QByteArray note(120, 'n');
        for (int i = 0; i < 60000; ++i)
            csv += "Set " + QByteArray::number(i) + ";" + note + "\r\n";
        folder->write(QStringLiteral("grande.csv"), csv);
        QList<qint64> positions;
        const ImportReport r = importFile(folder->file(QStringLiteral("grande.csv")), {0, 13},
                                          store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet),
                                          [&](qint64 done, qint64 size) {
                                              if (size != csv.size())
                                                  return false;
                                              positions.append(done);
                                              return true;
                                          });
        QCOMPARE(r.imported, 60000);
        QVERIFY(positions.size() > 50);
        QVERIFY(positions.first() <= 128 * 1024);
        QVERIFY(std::is_sorted(positions.begin(), positions.end()));
        QCOMPARE(positions.last(), qint64(csv.size()));
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")).size(), qint64(60000) * 3419);
    }

    void nothingMappedIsRefused()
    {
        folder->write(QStringLiteral("in.csv"), "a,b\r\n1,2\r\n");
        try {
            importFile(folder->file(QStringLiteral("in.csv")), {-1, -1},
                       store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
            QFAIL("the import did not fail");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QString::fromUtf8("Attenzione: nessuna colonna del file è associata a un campo della scheda. Indicare almeno un campo da riempire."));
        }
    }

    void theSpreadsheetProgramReadsTheExport()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, setCards());
        exportCsv(store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet),
                  folder->file(QStringLiteral("Catalogo.csv")));
        // Read as CSV with "," and UTF-8 (76), written back with ";".
        QByteArray errors;
        const QByteArray csv = folder->convertToCsv(soffice, QStringLiteral("Catalogo.csv"),
                                                    QStringLiteral("CSV:44,34,76"), QStringLiteral("out"), &errors);
        QVERIFY2(!csv.isEmpty(), errors.constData());
        const QStringList lines = QString::fromUtf8(csv).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines.at(0).startsWith(QStringLiteral("Nome set;Tema;Minifigure incluse")));
        QVERIFY2(lines.at(1).startsWith(QString::fromUtf8("Città sul fiume;\"Castelli, \"\"medievali\"\"\";\"re; regina\";")),
                 qPrintable(lines.at(1)));
        // The amount may come back as a number, written in the locale's way.
        QVERIFY(lines.at(1).contains(QString::fromUtf8(";a < b & c;1234")));
        QVERIFY(lines.at(1).contains(QString::fromUtf8(";Sì;istruzioni.pdf;;;Istruzioni;")));
    }
};

VETRINORA_TEST_MAIN(TestCsv)
#include "test_csv.moc"
