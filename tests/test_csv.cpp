// CSV export and import of cards: the bytes written, the files read back
// (encodings, separators, the program's own spreadsheet), each cell stored as
// the card editor stores it, and bad files refused with nothing written.

#include "TestSupport.h"

#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/cards/Windows1252.h"
#include "core/output/Spreadsheet.h"
#include "core/transfer/CsvExport.h"
#include "core/editing/Money.h"
#include "core/transfer/CsvImport.h"
#include "core/transfer/SheetRows.h"
#include "core/transfer/XlsxExport.h"
#include "core/transfer/Transfer.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>
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

// Cells a spreadsheet program would read as formulas or signed numbers, and
// one that only looks like a formula's piece; the amounts are the program's own.
const QStringList kFormulaCells{QStringLiteral("=1+1"), QStringLiteral("=HYPERLINK(\"http://x\")"),
                                QStringLiteral("=cmd|' /C calc'!A0"), QStringLiteral("+1"),
                                QStringLiteral("-1"), QStringLiteral("@SUM(1)"),
                                QStringLiteral("cmd|' /C calc'!A0")};

QList<CardFields> formulaCards()
{
    QList<CardFields> cards;
    for (const QString &cell : kFormulaCells)
        cards.append({{"NomeSet", cell}, {"Tema", cell}, {"Valore", QStringLiteral("-12,50")},
                      {"InVendita", QStringLiteral("No")}});
    return cards;
}

bool guarded(const QString &cell) { return !cell.startsWith(QLatin1String("cmd")); }

QByteArray w1252(const char *utf8) { return Windows1252::encode(QString::fromUtf8(utf8)); }

// A catalogue as an Italian collector keeps it in a spreadsheet: a euro
// currency format with thousands, a number with thousands, a date, two
// paragraphs in a cell, and a second sheet. LibreOffice turns it into the
// .ods, .xlsx and shown-as-formatted CSV the tests read.
const char kCatalogueSheet[] = R"FODS(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:automatic-styles>
  <number:currency-style style:name="N1P0" number:language="it" number:country="IT" style:volatile="true">
   <number:currency-symbol number:language="it" number:country="IT">€</number:currency-symbol><number:text> </number:text>
   <number:number number:decimal-places="2" number:min-decimal-places="2" number:min-integer-digits="1" number:grouping="true"/>
  </number:currency-style>
  <number:currency-style style:name="N1" number:language="it" number:country="IT">
   <style:text-properties fo:color="#ff0000"/><number:text>-</number:text>
   <number:currency-symbol number:language="it" number:country="IT">€</number:currency-symbol><number:text> </number:text>
   <number:number number:decimal-places="2" number:min-decimal-places="2" number:min-integer-digits="1" number:grouping="true"/>
   <style:map style:condition="value()&gt;=0" style:apply-style-name="N1P0"/>
  </number:currency-style>
  <number:number-style style:name="N2" number:language="it" number:country="IT">
   <number:number number:decimal-places="0" number:min-decimal-places="0" number:min-integer-digits="1" number:grouping="true"/>
  </number:number-style>
  <number:date-style style:name="N3" number:language="it" number:country="IT">
   <number:day number:style="long"/><number:text>/</number:text><number:month number:style="long"/><number:text>/</number:text><number:year number:style="long"/>
  </number:date-style>
  <style:style style:name="euro" style:family="table-cell" style:data-style-name="N1"/>
  <style:style style:name="migliaia" style:family="table-cell" style:data-style-name="N2"/>
  <style:style style:name="data" style:family="table-cell" style:data-style-name="N3"/>
 </office:automatic-styles>
 <office:body>
  <office:spreadsheet>
   <table:table table:name="Catalogo">
    <table:table-row>
     <table:table-cell office:value-type="string"><text:p>Nome set</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>Codice set</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>Valore</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>Anno uscita</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>Numero pezzi</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>Data acquisto</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>Note</text:p></table:table-cell>
    </table:table-row>
    <table:table-row>
     <table:table-cell office:value-type="string"><text:p>Città sul fiume</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>60200</text:p></table:table-cell>
     <table:table-cell table:style-name="euro" office:value-type="currency" office:currency="EUR" office:value="1234.5"><text:p>€ 1.234,50</text:p></table:table-cell>
     <table:table-cell office:value-type="float" office:value="2019"><text:p>2019</text:p></table:table-cell>
     <table:table-cell table:style-name="migliaia" office:value-type="float" office:value="1500"><text:p>1.500</text:p></table:table-cell>
     <table:table-cell table:style-name="data" office:value-type="date" office:date-value="2023-03-01"><text:p>01/03/2023</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>prima riga</text:p><text:p>è  seconda</text:p></table:table-cell>
    </table:table-row>
    <table:table-row>
     <table:table-cell office:value-type="string"><text:p>Faro</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>31051</text:p></table:table-cell>
     <table:table-cell table:style-name="euro" office:value-type="currency" office:currency="EUR" office:value="12999.99"><text:p>€ 12.999,99</text:p></table:table-cell>
     <table:table-cell office:value-type="float" office:value="2016"><text:p>2016</text:p></table:table-cell>
     <table:table-cell table:style-name="migliaia" office:value-type="float" office:value="12"><text:p>12</text:p></table:table-cell>
     <table:table-cell/>
     <table:table-cell/>
    </table:table-row>
   </table:table>
   <table:table table:name="Venduti">
    <table:table-row>
     <table:table-cell office:value-type="string"><text:p>Nome set</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>Valore</text:p></table:table-cell>
    </table:table-row>
    <table:table-row>
     <table:table-cell office:value-type="string"><text:p>Nave</text:p></table:table-cell>
     <table:table-cell table:style-name="euro" office:value-type="currency" office:currency="EUR" office:value="-7.05"><text:p>-€ 7,05</text:p></table:table-cell>
    </table:table-row>
   </table:table>
  </office:spreadsheet>
 </office:body>
</office:document>
)FODS";

} // namespace

class TestCsv : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> folder;
    QTemporaryDir sheets; // catalogo.ods, catalogo.xlsx, catalogo.csv made by LibreOffice
    QString sofficeErrors;

    CardStore store(const QString &name, const RecordLayout &layout) const
    {
        return CardStore(folder->file(name), layout);
    }

    // Converts the spreadsheet into `target` ("ods", "xlsx", "csv:...") with LibreOffice.
    void convertSheet(const QString &soffice, const QString &target)
    {
        QProcess lo;
        QStringList environment = QProcess::systemEnvironment();
        environment << QStringLiteral("HOME=") + sheets.path();
        lo.setEnvironment(environment);
        lo.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                           QStringLiteral("-env:UserInstallation=file://") + sheets.filePath(QStringLiteral("lo")),
                           QStringLiteral("--convert-to"), target, QStringLiteral("--outdir"), sheets.path(),
                           sheets.filePath(QStringLiteral("catalogo.fods"))});
        lo.waitForFinished(180000);
        sofficeErrors += QString::fromLocal8Bit(lo.readAllStandardError());
    }

    // A spreadsheet made by LibreOffice, or an empty text (and the test skipped).
    QString sheet(const QString &name) const
    {
        return QFileInfo::exists(sheets.filePath(name)) ? sheets.filePath(name) : QString();
    }

private slots:
    void initTestCase()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            return;
        QFile fods(sheets.filePath(QStringLiteral("catalogo.fods")));
        QVERIFY(fods.open(QIODevice::WriteOnly));
        fods.write(kCatalogueSheet);
        fods.close();
        convertSheet(soffice, QStringLiteral("ods"));
        convertSheet(soffice, QStringLiteral("xlsx"));
        // The CSV as LibreOffice saves it with "save cell contents as shown".
        convertSheet(soffice, QStringLiteral("csv:Text - txt - csv (StarCalc):59,34,76,1,,1040,false,true,true"));
    }

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

    // A cell that a spreadsheet would read as a formula begins with a
    // zero-width space; an amount and any other cell are written as they are.
    void exportGuardsFormulaCells()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, formulaCards());
        exportCsv(store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet), folder->file(QStringLiteral("out.csv")));
        const QList<QByteArray> lines = folder->read(QStringLiteral("out.csv")).split('\n');
        QCOMPARE(lines.size(), kFormulaCells.size() + 2);
        for (qsizetype i = 0; i < kFormulaCells.size(); ++i) {
            QByteArray quoted = kFormulaCells.at(i).toUtf8();
            quoted.replace("\"", "\"\"");
            const QByteArray cell = '"' + QByteArray(guarded(kFormulaCells.at(i)) ? "\xE2\x80\x8B" : "") + quoted + '"';
            QVERIFY2(lines.at(i + 1).startsWith(cell + ',' + cell + ','), lines.at(i + 1).constData());
            QVERIFY(lines.at(i + 1).contains(",\"-12,50\","));
        }
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
        QTest::addColumn<bool>("formulas");
        QTest::newRow("catalogo") << false << false;
        QTest::newRow("archivio MOC") << true << false;
        QTest::newRow("celle come formule") << false << true;
    }
    void roundTripGivesTheSameRecordFile()
    {
        QFETCH(bool, moc);
        QFETCH(bool, formulas);
        const QList<CardFields> cards = formulas ? formulaCards() : moc ? mocCards() : setCards();
        const RecordLayout &layout = moc ? Schede::TSchedaMOC : Schede::TSchedaSet;
        const QString source = moc ? QStringLiteral("Castelli.moc") : QStringLiteral("Catalogo_BLOKKO.pro");
        folder->writeCards(source, layout, cards);
        const QString csv = folder->file(QStringLiteral("giro.csv"));
        exportCsv(store(source, layout), csv);

        const Preview p = preview(csv);
        QCOMPARE(p.encoding, QStringLiteral("UTF-8"));
        QCOMPARE(p.separator, QLatin1Char(','));
        const Mapping mapping = proposeMapping(layout, p.headings);
        for (qsizetype i = 0; i < mapping.size(); ++i)
            QCOMPARE(mapping.at(i), int(i));
        const ImportReport report = importFile(csv, mapping, store(QStringLiteral("vuoto.moc"), layout));
        QCOMPARE(report.imported, qint64(cards.size()));
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
        QTest::newRow("a million billion") << "Valore" << "1000000000000000" << "0,00" << false << true;
        QTest::newRow("rounded to a million billion") << "Valore" << "999999999999999,5" << "0,00" << false << true;
        QTest::newRow("minus a million billion") << "Valore" << "-1000000000000000" << "0,00" << false << true;
        QTest::newRow("amount beyond") << "Valore" << "1e30" << "0,00" << false << true;
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
        const QString tooLong = QString::fromUtf8("Attenzione: il file CSV contiene alla riga 2 una cella troppo lunga (oltre 1 MB "
                                                  "di testo), che nessun campo di una scheda può contenere.") + none
                                + QString::fromUtf8("\r\n\r\nAprire il file con un foglio di calcolo, accorciare la cella e importarlo di nuovo.");
        QTest::newRow("a well-quoted cell of 50 MB")
            << "Nome set\r\n\"\"\"inizio\"\"" + QByteArray(50 << 20, 'a') + "\"\r\nAltro\r\n" << tooLong;
        QTest::newRow("a quoted cell of 3 MB ending the file")
            << "Nome set\r\n\"" + QByteArray(3 << 20, 'a') + "\"" << tooLong;
        QTest::newRow("an unquoted cell of 3 MB")
            << "Nome set\r\n" + QByteArray(3 << 20, 'a') + "\r\n" << tooLong;
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

    // A full disk during an import is named as such, not as a matter of
    // permissions; the catalogue stays as it was.
    void aFullDiskDuringAnImportSaysSo()
    {
        SmallDisk disk(folder->path(), 1024);
        REQUIRE_SMALL_DISK(disk);
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 100, {});
        const QByteArray before = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        QByteArray csv = "Nome set;Tema\r\n";
        for (int i = 0; i < 200; ++i)
            csv += "Galeone " + QByteArray::number(i) + ";Pirati\r\n";
        folder->write(QStringLiteral("in.csv"), csv);
        disk.fill();
        try {
            importFile(folder->file(QStringLiteral("in.csv")), {0, 1},
                       store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
            QFAIL("the import did not fail");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QString::fromUtf8("Attenzione: il disco è pieno e l'archivio non può essere scritto. Le "
                                                    "schede non sono state modificate.\r\n\r\nLiberare spazio sul disco "
                                                    "e ripetere l'operazione."));
        }
        disk.free();
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"Catalogo_BLOKKO.pro", "in.csv"}));
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

    // Characters the catalogue cannot hold are stored as their nearest
    // letter or "?", and the report says which, cell by cell.
    void reportListsReplacedCharacters()
    {
        folder->write(QStringLiteral("in.csv"), "Nome set;Tema\nFaro;\xCE\xA9mega \xC5\x91 \xC5\x82 \xF0\x9F\x98\x80\nPonte;Citt\xC3\xA0\n");
        const ImportReport r = importFile(folder->file(QStringLiteral("in.csv")), {0, 1},
                                          store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
        QCOMPARE(r.imported, 2);
        QCOMPARE(reportText(r),
                 QString::fromUtf8("Sono state importate 2 schede.\r\n\r\n"
                                   "Caratteri che il catalogo non può contenere, registrati come "
                                   "indicato: 1.\r\n- riga 2, Tema: Ω → ?, ő → o, ł → l, 😀 → ?"));
        const CardStore cards = store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet);
        QCOMPARE(cards.read(0).text("Tema"), QStringLiteral("?mega o l ?"));
        QCOMPARE(cards.read(1).text("Tema"), QString::fromUtf8("Città"));
    }

    // A file taken for UTF-8 from its first block, whose bytes further on are
    // not UTF-8, is Windows-1252 after all: read again whole as such, and the
    // report says so. One with UTF-8 letters before the bad bytes stays UTF-8
    // and the report lists what could not be read.
    void encodingIsJudgedOnTheWholeFile_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("readAgain");
        QTest::addColumn<QString>("replaced");
        QTest::newRow("ASCII first") << QByteArray("Primo") << QStringLiteral("Primo") << true << QString();
        QTest::newRow("UTF-8 first") << QByteArray("Citt\xC3\xA0") << QString::fromUtf8("Città") << false
                                     << QString::fromUtf8("\xEF\xBF\xBD → ?");
    }
    void encodingIsJudgedOnTheWholeFile()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, readAgain);
        QByteArray csv = "Nome set;Note\n" + head + ";x\n";
        while (csv.size() < 100 * 1024)
            csv += "Set;" + QByteArray(100, 'n') + "\n";
        csv += "Citt\xE0 vecchia;fine\n";
        folder->write(QStringLiteral("in.csv"), csv);
        QCOMPARE(preview(folder->file(QStringLiteral("in.csv"))).encoding, QStringLiteral("UTF-8"));
        const ImportReport r = importFile(folder->file(QStringLiteral("in.csv")), {0, 13},
                                          store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
        QCOMPARE(r.readAsWindows1252, readAgain);
        QCOMPARE(reportText(r).contains(readAsWindows1252Message()), readAgain);
        const CardStore cards = store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet);
        QCOMPARE(cards.count(), r.imported);
        QTEST(cards.read(0).text("NomeSet"), "first");
        const QString last = cards.read(r.imported - 1).text("NomeSet");
        QCOMPARE(last, readAgain ? QString::fromUtf8("Città vecchia") : QStringLiteral("Citt? vecchia"));
        QTEST(r.replaced.isEmpty() ? QString() : r.replaced.first().text, "replaced");
    }

    // What LibreOffice shows of cells that would be formulas: the text as
    // typed (a zero-width space before it, which shows as nothing), held as
    // text, never computed; the amount is left as it was.
    void theSpreadsheetProgramShowsFormulaCellsAsText()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, formulaCards());
        exportCsv(store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet),
                  folder->file(QStringLiteral("Formule.csv")));
        QByteArray errors;
        const QByteArray csv = folder->convertToCsv(soffice, QStringLiteral("Formule.csv"),
                                                    QStringLiteral("CSV:44,34,76"), QStringLiteral("out"),
                                                    &errors, true);
        QVERIFY2(!csv.isEmpty(), errors.constData());
        const QStringList lines = QString::fromUtf8(csv).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), kFormulaCells.size() + 1);
        for (qsizetype i = 0; i < kFormulaCells.size(); ++i) {
            QString shown = lines.at(i + 1);
            shown.remove(QChar(0x200B));
            QString cell = kFormulaCells.at(i);
            cell.replace(QLatin1String("\""), QLatin1String("\"\""));
            // Quoted: LibreOffice holds the cell as text.
            QVERIFY2(shown.startsWith(QLatin1Char('"') + cell + QStringLiteral("\";\"") + cell + QLatin1Char('"')),
                     qPrintable(lines.at(i + 1)));
        }
    }

    void spreadsheetsAreReadByTheirValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("pieces");
        QTest::newRow("ods") << "catalogo.ods" << "ODS" << "1500";
        QTest::newRow("xlsx") << "catalogo.xlsx" << "XLSX" << "1500";
        QTest::newRow("csv as shown") << "catalogo.csv" << "UTF-8" << "1.500";
    }
    void spreadsheetsAreReadByTheirValues()
    {
        QFETCH(QString, name);
        const QString path = sheet(name);
        if (path.isEmpty())
            QSKIP(qPrintable(QStringLiteral("LibreOffice made no ") + name + QLatin1Char(' ') + sofficeErrors));
        const Preview p = preview(path);
        QCOMPARE(p.headings, (QStringList{"Nome set", "Codice set", "Valore", "Anno uscita", "Numero pezzi",
                                          "Data acquisto", "Note"}));
        QTEST(p.encoding, "kind");
        QCOMPARE(p.rows.size(), 2);
        QCOMPARE(p.rowNumbers, (QList<qint64>{2, 3}));
        const Mapping mapping = proposeMapping(Schede::TSchedaSet, p.headings);
        QVERIFY(!mapping.contains(-1));
        const ImportReport r = importFile(path, mapping, store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
        QCOMPARE(r.imported, 2);
        QCOMPARE(r.unreadableCount, 0);
        const CardStore cards(folder->file(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet);
        const Record first = cards.read(0);
        QCOMPARE(first.text("NomeSet"), QString::fromUtf8("Città sul fiume"));
        QCOMPARE(first.text("CodiceSet"), QStringLiteral("60200"));
        QCOMPARE(first.text("Valore"), QStringLiteral("1234,50"));
        QCOMPARE(first.text("AnnoUscita"), QStringLiteral("2019"));
        QTEST(first.text("NumeroPezzi"), "pieces");
        QCOMPARE(first.text("DataAcquisto"), QStringLiteral("01/03/2023"));
        QCOMPARE(first.text("Note"), QString::fromUtf8("prima riga è  seconda"));
        const Record second = cards.read(1);
        QCOMPARE(second.text("Valore"), QStringLiteral("12999,99"));
        QCOMPARE(second.text("DataAcquisto"), QString());
        QCOMPARE(*Money::cents(first.text("Valore")) + *Money::cents(second.text("Valore")), 1423449);
    }

    void aSheetOtherThanTheFirstIsRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("ods") << "catalogo.ods";
        QTest::newRow("xlsx") << "catalogo.xlsx";
    }
    void aSheetOtherThanTheFirstIsRead()
    {
        QFETCH(QString, name);
        const QString path = sheet(name);
        if (path.isEmpty())
            QSKIP("LibreOffice made no spreadsheet");
        QCOMPARE(sheetNames(path), (QStringList{"Catalogo", "Venduti"}));
        QCOMPARE(preview(path).sheets, (QStringList{"Catalogo", "Venduti"}));
        const Preview p = preview(path, 20, 1);
        QCOMPARE(p.sheet, 1);
        QCOMPARE(p.headings, (QStringList{"Nome set", "Valore"}));
        ImportOptions options;
        options.sheet = 1;
        const ImportReport r = importFile(path, proposeMapping(Schede::TSchedaSet, p.headings),
                                          store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet), options);
        QCOMPARE(r.imported, 1);
        const Record card = CardStore(folder->file(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet).read(0);
        QCOMPARE(card.text("NomeSet"), QStringLiteral("Nave"));
        QCOMPARE(card.text("Valore"), QStringLiteral("-7,05"));
    }

    void importingTheSameFileTwiceSkipsThePresentCards_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("ods") << "catalogo.ods";
        QTest::newRow("csv as shown") << "catalogo.csv";
    }
    void importingTheSameFileTwiceSkipsThePresentCards()
    {
        QFETCH(QString, name);
        const QString path = sheet(name);
        if (path.isEmpty())
            QSKIP("LibreOffice made no spreadsheet");
        // Already there: the first card under other case and blanks; a card of
        // the same name under another code is another card.
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", QString::fromUtf8("CITTÀ SUL  FIUME")}, {"CodiceSet", "60200"}, {"Valore", "1,00"}, {"InVendita", "No"}},
                            {{"NomeSet", "Faro"}, {"CodiceSet", "31052"}, {"Valore", "0,00"}, {"InVendita", "No"}}});
        const Mapping mapping = proposeMapping(Schede::TSchedaSet, preview(path).headings);
        ImportOptions options;
        options.skipPresent = true;
        ImportReport r = importFile(path, mapping, store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet), options);
        QCOMPARE(r.imported, 1);
        QCOMPARE(r.skipped, 1);
        QCOMPARE(reportText(r), QString::fromUtf8("È stata importata 1 scheda.\r\n\r\n"
                                                  "Schede già presenti nel catalogo, non importate: 1."));
        r = importFile(path, mapping, store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet), options);
        QCOMPARE(r.imported, 0);
        QCOMPARE(r.skipped, 2);
        QCOMPARE(CardStore(folder->file(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet).count(), 3);
        // Without the option every row comes in, as before.
        r = importFile(path, mapping, store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet));
        QCOMPARE(r.imported, 2);
    }

    void presentMocsAreKnownByCodeAndProject()
    {
        folder->writeCards(QStringLiteral("Archivio_MOC.moc"), Schede::TSchedaMOC,
                           {{{"NomeProgetto", "Ponte"}, {"CodiceID", "M-1"}, {"CostoTotale", "0,00"}, {"InVendita", "No"}}});
        folder->write(QStringLiteral("in.csv"), "Nome progetto;Codice ID\nPonte;m-1\nPonte;M-2\n");
        const Preview p = preview(folder->file(QStringLiteral("in.csv")));
        const Mapping mapping = proposeMapping(Schede::TSchedaMOC, p.headings);
        QVERIFY(!mapping.contains(-1));
        const PresentCards present(store(QStringLiteral("Archivio_MOC.moc"), Schede::TSchedaMOC));
        QVERIFY(present.contains(cardFromRow(Schede::TSchedaMOC, mapping, p.rows.at(0))));
        QVERIFY(!present.contains(cardFromRow(Schede::TSchedaMOC, mapping, p.rows.at(1))));
    }

    void cellsCorrectedInThePreviewAreImported()
    {
        folder->write(QStringLiteral("in.csv"), "Nome set;Valore\nFaro;circa 3\nMolo;4\nPorto;boh\n");
        ImportOptions options;
        options.corrections[2][1] = QStringLiteral("3,20");
        const ImportReport r = importFile(folder->file(QStringLiteral("in.csv")), {0, 14},
                                          store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet), options);
        QCOMPARE(r.imported, 3);
        QCOMPARE(r.unreadableCount, 1);
        QCOMPARE(r.unreadable.at(0).row, 4);
        const CardStore cards(folder->file(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet);
        QCOMPARE(cards.read(0).text("Valore"), QStringLiteral("3,20"));
        QCOMPARE(cards.read(1).text("Valore"), QStringLiteral("4,00"));
    }

    void damagedSpreadsheetsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("zip cut short") << QByteArray("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10);
        QTest::newRow("zip of other things") << QByteArray();
    }
    void damagedSpreadsheetsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        if (bytes.isEmpty()) {
            const QString path = sheet(QStringLiteral("catalogo.ods"));
            if (path.isEmpty())
                QSKIP("LibreOffice made no spreadsheet");
            // The .ods with its content renamed: still a zip, no sheet.
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            bytes = f.readAll();
            bytes.replace("content.xml", "contenu.xml");
            bytes.replace("xl/workbook.xml", "xl/workbook.xmz");
        }
        folder->write(QStringLiteral("rotto.ods"), bytes);
        try {
            preview(folder->file(QStringLiteral("rotto.ods")));
            QFAIL("the file was read");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QString::fromUtf8(
                "Attenzione: il file scelto non è un foglio di calcolo ODS o XLSX leggibile (è "
                "danneggiato o di un altro tipo). Salvarlo di nuovo dal programma di fogli di "
                "calcolo, oppure come CSV. Non è stata importata nessuna scheda."));
        }
    }

    // Worksheets as other programs write them: prefixed names, single
    // quotes, empty cells, comments, character references, CDATA, line ends
    // of any kind, rich text with a reading guide, cells and rows without
    // references, every cell type, namespaces declared anywhere, entities a
    // DTD declares, and a sheet long enough that its tags and texts straddle
    // the blocks it is read in. A sheet cut short or holding what no sheet
    // holds (an undeclared prefix or entity, bytes that are no UTF-8, a cell
    // of megabytes, entities that expand without end) is refused; a sheet
    // nested deep is read.
    void xlsxSheetsAreReadWhateverTheirWriter_data()
    {
        QTest::addColumn<QByteArray>("sheetData");
        QTest::addColumn<QList<QStringList>>("rows"); // none: refused
        QTest::addColumn<QByteArray>("doctype");      // before the root element
        QTest::newRow("prefixes, quotes, empty cells, comments")
            << QByteArray("<x:sheetData><!-- <row r=\"9\"> --><x:row r='1'><x:c r='A1' t='inlineStr'><x:is><x:t>Nome set</x:t>"
                          "</x:is></x:c><x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t>Note</x:t></x:is></x:c></x:row>"
                          "<x:row r=\"2\"><x:c r=\"A2\" s=\"0\"/><x:c r = \"B2\"  t = 'inlineStr' ><x:is><x:t>uno</x:t>"
                          "</x:is></x:c></x:row></x:sheetData>")
            << QList<QStringList>{{"Nome set", "Note"}, {"", "uno"}} << QByteArray();
        QTest::newRow("references, CDATA, line ends, rich text, numbers")
            << QByteArray("<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>a &amp; b &lt;c&gt; &#233;&#xE8; "
                          "&quot;q&quot; &apos;</x:t></x:is></x:c><x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t><![CDATA[x < y & z]]>"
                          "</x:t></x:is></x:c><x:c r=\"C1\" t=\"inlineStr\"><x:is><x:t>riga\r\nseconda\rterza</x:t></x:is></x:c>"
                          "<x:c r=\"D1\" t=\"inlineStr\"><x:is><x:r><x:t>Ca</x:t></x:r><x:r><x:t>sa</x:t></x:r><x:rPh><x:t>KASA</x:t>"
                          "</x:rPh></x:is></x:c><x:c r=\"E1\"><x:v>0012.50</x:v></x:c><x:c r=\"F1\" t=\"b\"><x:v>1</x:v></x:c>"
                          "</x:row></x:sheetData>")
            << QList<QStringList>{{QString::fromUtf8("a & b <c> éè \"q\" '"), "x < y & z", "riga\nseconda\nterza", "Casa",
                                   "12,5", "true"}}
            << QByteArray();
        QByteArray many = "<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>Nome set</x:t></x:is></x:c>"
                          "<x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t>Valore</x:t></x:is></x:c></x:row>";
        QList<QStringList> manyRows{{"Nome set", "Valore"}};
        for (int r = 2; r <= 20000; ++r) {
            const QByteArray n = QByteArray::number(r);
            many += "<x:row r=\"" + n + "\"><x:c r=\"A" + n + "\" t=\"inlineStr\"><x:is><x:t>Set &amp; " + n
                    + "</x:t></x:is></x:c><x:c r=\"B" + n + "\"><x:v>" + n + ".25</x:v></x:c></x:row>";
            manyRows.append({QStringLiteral("Set & %1").arg(r), QStringLiteral("%1,25").arg(r)});
        }
        QTest::newRow("many blocks") << many + "</x:sheetData>" << manyRows << QByteArray();
        QTest::newRow("cut short")
            << QByteArray("<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>Nome set</x:t></x:is></x:c>")
            << QList<QStringList>() << QByteArray();
        QTest::newRow("an entity no sheet has")
            << QByteArray("<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>a&nbsp;b</x:t></x:is></x:c>"
                          "</x:row></x:sheetData>")
            << QList<QStringList>() << QByteArray();

        const QByteArray ns = "\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
        QTest::newRow("no references, every type")
            << QByteArray("<x:sheetData><x:row><x:c t=\"inlineStr\"><x:is><x:t>Nome set</x:t></x:is></x:c><x:c t=\"inlineStr\">"
                          "<x:is><x:t>Note</x:t></x:is></x:c><x:c t=\"inlineStr\"><x:is><x:t>Tema</x:t></x:is></x:c></x:row>"
                          "<x:row><x:c t=\"str\"><x:f>A1</x:f><x:v>calcolato</x:v></x:c><x:c t=\"e\"><x:v>#N/A</x:v></x:c>"
                          "<x:c t=\"n\"><x:v>1e3</x:v></x:c></x:row><x:row r=\"4\"><x:c r=\"C4\" t=\"b\"><x:v>0</x:v></x:c>"
                          "</x:row></x:sheetData>")
            << QList<QStringList>{{"Nome set", "Note", "Tema"}, {"calcolato", "#N/A", "1000"}, {"", "", ""},
                                  {"", "", "false"}}
            << QByteArray();
        QTest::newRow("a default namespace, a prefix declared on a cell")
            << "<sheetData xmlns=" + ns + "><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>uno</t></is></c><y:c xmlns:y="
                   + ns + " r=\"B1\" y:t=\"inlineStr\"><y:is><y:t>due</y:t></y:is></y:c></row></sheetData>"
            << QList<QStringList>{{"uno", "due"}} << QByteArray();
        QTest::newRow("comments and instructions within a text, the rest of the file not read")
            << QByteArray("<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>a<!-- no -->b<?pi x?>c</x:t>"
                          "</x:is></x:c></x:row></x:sheetData><x:altro>&ignoto;</x:altro>")
            << QList<QStringList>{{"abc"}} << QByteArray();
        QTest::newRow("entities the sheet declares")
            << QByteArray("<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>&marca; &amp; co</x:t>"
                          "</x:is></x:c></x:row></x:sheetData>")
            << QList<QStringList>{{"Blokko & co"}}
            << QByteArray("<!DOCTYPE x:worksheet [<!ENTITY marca \"Blokko\">]>");
        QByteArray nested = "<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>in fondo</x:t>";
        for (int i = 0; i < 50000; ++i)
            nested += "<x:z>";
        for (int i = 0; i < 50000; ++i)
            nested += "</x:z>";
        QTest::newRow("nested deep") << nested + "</x:is></x:c></x:row></x:sheetData>"
                                     << QList<QStringList>{{"in fondo"}} << QByteArray();
        QTest::newRow("an undeclared prefix")
            << QByteArray("<x:sheetData><x:row r=\"1\"><z:c r=\"A1\" t=\"inlineStr\"><z:is><z:t>a</z:t></z:is></z:c>"
                          "</x:row></x:sheetData>")
            << QList<QStringList>() << QByteArray();
        QTest::newRow("a prefix used past the element that declares it")
            << "<x:sheetData><x:row r=\"1\"><y:c xmlns:y=" + ns + " r=\"A1\" t=\"inlineStr\"><y:is><y:t>a</y:t></y:is>"
                   "</y:c><y:c r=\"B1\" t=\"inlineStr\"><y:is><y:t>b</y:t></y:is></y:c></x:row></x:sheetData>"
            << QList<QStringList>() << QByteArray();
        QTest::newRow("bytes that are no UTF-8")
            << QByteArray("<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>Citt\xE0</x:t></x:is></x:c>"
                          "</x:row></x:sheetData>")
            << QList<QStringList>() << QByteArray();
        QTest::newRow("a cell of more than a megabyte")
            << "<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>" + QByteArray((1 << 20) + 10, 'a')
                   + "</x:t></x:is></x:c></x:row></x:sheetData>"
            << QList<QStringList>() << QByteArray();
        QByteArray laughs = "<!DOCTYPE x:worksheet [<!ENTITY a0 \"ahah\">";
        for (int i = 1; i <= 12; ++i)
            laughs += "<!ENTITY a" + QByteArray::number(i) + " \"" + QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
        laughs += "]>";
        QTest::newRow("entities that expand without end")
            << QByteArray("<x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>&a12;</x:t></x:is></x:c>"
                          "</x:row></x:sheetData>")
            << QList<QStringList>() << laughs;
    }

    void xlsxSheetsAreReadWhateverTheirWriter()
    {
        QFETCH(QByteArray, sheetData);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QByteArray, doctype);
        folder->write(QStringLiteral("sheet1.xml"),
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + doctype + "<x:worksheet "
                      "xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                      + sheetData + "</x:worksheet>");
        const QString xlsx = folder->file(QStringLiteral("altro.xlsx"));
        QProcess zip;
        zip.start(QStringLiteral("python3"),
                  {QStringLiteral("-c"),
                   QStringLiteral(
                       "import sys, zipfile\n"
                       "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED)\n"
                       "m = 'http://schemas.openxmlformats.org/'\n"
                       "z.writestr('xl/workbook.xml', '<workbook xmlns=\"' + m + 'spreadsheetml/2006/main\" xmlns:r=\"' + m"
                       " + 'officeDocument/2006/relationships\"><sheets><sheet name=\"Foglio\" sheetId=\"1\" r:id=\"rId1\"/>"
                       "</sheets></workbook>')\n"
                       "z.writestr('xl/_rels/workbook.xml.rels', '<Relationships xmlns=\"' + m + 'package/2006/relationships\">"
                       "<Relationship Id=\"rId1\" Type=\"' + m + 'officeDocument/2006/relationships/worksheet\" "
                       "Target=\"worksheets/sheet1.xml\"/></Relationships>')\n"
                       "z.write(sys.argv[2], 'xl/worksheets/sheet1.xml')\n"
                       "z.close()\n"),
                   xlsx, folder->file(QStringLiteral("sheet1.xml"))});
        QVERIFY(zip.waitForFinished(60000));
        QVERIFY2(zip.exitCode() == 0, zip.readAllStandardError().constData());
        QList<QStringList> read;
        try {
            const std::unique_ptr<RowSource> source = openRows(xlsx);
            QStringList row;
            while (source->next(row))
                read.append(row);
            QVERIFY2(!rows.isEmpty(), "the sheet was read");
        } catch (const Error &e) {
            QVERIFY2(rows.isEmpty(), qPrintable(e.message()));
            QCOMPARE(e.message(), notSheetMessage());
            return;
        }
        QCOMPARE(read.size(), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(read.at(i), rows.at(i));
    }

    // The .xlsx export's cell types, read back by the program's own reader: a
    // number or a date comes back in its normal form ("0012" as "12",
    // "1/3/23" as "01/03/2023"), a text as it was stored.
    void xlsxExportGivesEachFieldItsType_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("readBack");
        const auto row = [](const char *name, const char *field, const char *stored, const char *readBack) {
            QTest::newRow(name) << QString::fromLatin1(field) << QString::fromUtf8(stored) << QString::fromUtf8(readBack);
        };
        row("year", "AnnoUscita", "2019", "2019");
        row("year with leading zeros", "AnnoUscita", "0012", "12");
        row("year in words", "AnnoUscita", "circa 2016", "circa 2016");
        row("fifteen digits", "NumeroPezzi", "123456789012345", "123456789012345");
        row("sixteen digits", "NumeroPezzi", "1234567890123456", "1234567890123456");
        row("groups", "NumeroPezzi", "1.500", "1500");
        row("four groups", "NumeroPezzi", "12.345.678.901.234", "12345678901234");
        row("five groups", "NumeroPezzi", "1.234.567.890.123.456", "1.234.567.890.123.456");
        row("a long first group", "NumeroPezzi", "1234.567", "1234.567");
        row("a short group", "NumeroPezzi", "1.50", "1.50");
        row("a trailing point", "NumeroPezzi", "150.", "150.");
        row("a sign", "NumeroPezzi", "-5", "-5");
        row("day/month/year", "DataAcquisto", "01/03/2023", "01/03/2023");
        row("short day, month and year", "DataAcquisto", "1/3/23", "01/03/2023");
        row("dashes and points", "DataAcquisto", "5.6-70", "05/06/1970");
        row("a two-digit year before 70", "DataAcquisto", "5/6/69", "05/06/2069");
        row("year first", "DataAcquisto", "2021-12-24", "24/12/2021");
        row("year first, short", "DataAcquisto", "2021-2-5", "05/02/2021");
        row("year first with slashes", "DataAcquisto", "2021/12/24", "2021/12/24");
        row("no such day", "DataAcquisto", "31/02/2020", "31/02/2020");
        row("before 1900", "DataAcquisto", "1/1/1899", "1/1/1899");
        row("three-digit day", "DataAcquisto", "001/01/2020", "001/01/2020");
        row("three-digit year", "DataAcquisto", "1/1/202", "1/1/202");
        row("month and year", "DataAcquisto", "12/2020", "12/2020");
        row("date in words", "DataAcquisto", "marzo 2020", "marzo 2020");
        row("amount", "Valore", "1234,50", "1234,5");
        row("negative amount", "Valore", "-0,49", "-0,49");
        row("amount as typed", "Valore", "12,5", "12,5");
        row("text with accents", "Note", "però € “sì”", "però € “sì”");
        row("text with markup", "Note", "a < b & c > d", "a < b & c > d");
    }

    void xlsxExportGivesEachFieldItsType()
    {
        QFETCH(QString, field);
        QFETCH(QString, stored);
        QFETCH(QString, readBack);
        const QByteArray name = field.toLatin1();
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", QStringLiteral("Faro")}, {name.constData(), stored}}});
        const QString out = folder->file(QStringLiteral("Catalogo.xlsx"));
        QCOMPARE(exportXlsx(store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet), out), 1);
        const std::unique_ptr<RowSource> source = openRows(out);
        QStringList headings, cells;
        QVERIFY(source->next(headings));
        QVERIFY(source->next(cells));
        const int column = int(headings.indexOf(heading(*Schede::TSchedaSet.field(name.constData()))));
        QVERIFY(column >= 0);
        QCOMPARE(cells.value(column), readBack);
    }

    // A number cell of a sheet comes back with a decimal comma and no more
    // digits than it needs, whether it is a plain decimal or not.
    void sheetNumbersReadAsTheProgramWritesThem_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        const QList<QPair<const char *, const char *>> cases{
            {"0012.50", "12,5"}, {"-3", "-3"}, {"1234.5", "1234,5"}, {"-0.5", "-0,5"}, {"0.1", "0,1"},
            {"1.10", "1,1"}, {"100", "100"}, {"100000000000000", "100000000000000"},
            {"00000000000000000001", "1"}, {"1234567.000000000000000000", "1234567"},
            {"0.0001", "0,0001"}, {"0.00010", "0,0001"}, {"0.00001", "0,00001"},
            {"0.000123456789012345", "0,000123456789012345"}, {"0.123456789012345", "0,123456789012345"},
            {"0.1234567890123456", "0,123456789012346"}, {"12345.678901234567", "12345,6789012346"},
            {"0.30000000000000004", "0,3"}, {"9.99999999999999", "9,99999999999999"},
            {"99999999999999.9", "99999999999999,9"}, {"999999999999999", "999999999999999"},
            {"999999999999999.5", "1e+15"}, {"1234567890123456", "1234567890123456"},
            {"0", "0"}, {"-0", "0"}, {"0.000", "0"}, {"12.", "12"}, {".5", "0,5"}, {"+5", "5"},
            {"1e3", "1000"}, {"1E-5", "1E-5"}, {"1.5.2", "1,5,2"}, {"--1", "--1"}, {"-", "-"},
            {"abc", "abc"}};
        for (const auto &[value, text] : cases)
            QTest::newRow(value) << QString::fromLatin1(value) << QString::fromLatin1(text);
    }

    void sheetNumbersReadAsTheProgramWritesThem()
    {
        QFETCH(QString, value);
        QFETCH(QString, text);
        QCOMPARE(numberText(value), text);
    }

    // The .xlsx export read back by LibreOffice (turned into a flat
    // OpenDocument file, whose cells say the type LibreOffice gave them):
    // amounts are euro amounts, years and piece counts numbers, dates dates
    // where they read as dates, accents whole; the amounts add up.
    void xlsxExportIsReadBackByLibreOffice()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", QString::fromUtf8("Città sul fiume")}, {"AnnoUscita", "2019"},
                             {"NumeroPezzi", "1500"}, {"DataAcquisto", "01/03/2023"}, {"Valore", "1234,50"},
                             {"InVendita", QString::fromUtf8("Sì")}, {"Note", QString::fromUtf8("però €")}},
                            {{"NomeSet", "Faro"}, {"AnnoUscita", "circa 2016"}, {"NumeroPezzi", "1.200"},
                             {"DataAcquisto", "marzo 2020"}, {"Valore", "12999,99"}, {"InVendita", "No"}},
                            {{"NomeSet", "Molo"}, {"DataAcquisto", "2021-12-24"}, {"Valore", "-0,49"}, {"InVendita", "No"}}});
        const QString out = folder->file(QStringLiteral("Catalogo.xlsx"));
        QCOMPARE(exportXlsx(store(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet), out), 3);
        QProcess lo;
        QStringList environment = QProcess::systemEnvironment();
        environment << QStringLiteral("HOME=") + folder->path();
        lo.setEnvironment(environment);
        lo.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                           QStringLiteral("-env:UserInstallation=file://") + folder->path() + QStringLiteral("lo"),
                           QStringLiteral("--convert-to"), QStringLiteral("fods"),
                           QStringLiteral("--outdir"), folder->file(QStringLiteral("back")), out});
        lo.waitForFinished(180000);
        const QByteArray fods = folder->read(QStringLiteral("back/Catalogo.fods"));
        QVERIFY2(!fods.isEmpty(), lo.readAllStandardError().constData());

        // Each cell of the first sheet as "type:value" ("string:Faro",
        // "currency:1234.5", "date:2023-03-01").
        QList<QStringList> rows;
        QXmlStreamReader x(fods);
        QString type, value, text;
        int repeat = 1;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("table-row"))
                rows.append(QStringList());
            else if (x.isStartElement() && x.name() == QLatin1String("table-cell")) {
                type = x.attributes().value(QLatin1String("office:value-type")).toString();
                value = x.attributes().value(type == QLatin1String("date") ? QLatin1String("office:date-value")
                                                                           : QLatin1String("office:value")).toString();
                if (type == QLatin1String("currency"))
                    value += QLatin1Char(' ') + x.attributes().value(QLatin1String("office:currency")).toString();
                repeat = x.attributes().value(QLatin1String("table:number-columns-repeated")).toInt();
                text.clear();
            } else if (x.isStartElement() && x.name() == QLatin1String("p"))
                text += x.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (x.isEndElement() && x.name() == QLatin1String("table-cell")) {
                for (int i = 0; i < std::clamp(repeat, 1, 30); ++i)
                    rows.last().append(type + QLatin1Char(':') + (type == QLatin1String("string") ? text : value));
            } else if (x.isEndElement() && x.name() == QLatin1String("table"))
                break;
        }
        QVERIFY(rows.size() >= 4);
        QCOMPARE(rows[0].value(0), QStringLiteral("string:Nome set"));
        // Name, year, pieces, date, notes, amount, for sale.
        const QList<int> columns{0, 4, 5, 12, 13, 14, 15};
        const auto pick = [&](int row) {
            QStringList cells;
            for (const int c : columns)
                cells.append(rows[row].value(c));
            return cells;
        };
        QCOMPARE(pick(1), (QStringList{QString::fromUtf8("string:Città sul fiume"), "float:2019", "float:1500",
                                       "date:2023-03-01", QString::fromUtf8("string:però €"),
                                       "currency:1234.5 EUR", QString::fromUtf8("string:Sì")}));
        QCOMPARE(pick(2), (QStringList{"string:Faro", "string:circa 2016", "float:1200", "string:marzo 2020",
                                       ":", "currency:12999.99 EUR", "string:No"}));
        QCOMPARE(pick(3).at(3), QStringLiteral("date:2021-12-24"));
        QCOMPARE(pick(3).at(5), QStringLiteral("currency:-0.49 EUR"));
        double sum = 0;
        for (int r = 1; r <= 3; ++r)
            sum += rows[r].value(14).section(QLatin1Char(':'), 1).section(QLatin1Char(' '), 0, 0).toDouble();
        QCOMPARE(qRound64(sum * 100), qint64(1423400));
        // A headless conversion keeps no view settings: the frozen heading row
        // and its filter are read from the workbook's own sheet.
        QProcess unzip;
        unzip.start(QStringLiteral("python3"), {QStringLiteral("-c"),
                                                QStringLiteral("import sys, zipfile; sys.stdout.write(zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml').decode())"),
                                                out});
        QVERIFY(unzip.waitForFinished(60000));
        const QByteArray sheetXml = unzip.readAllStandardOutput();
        QVERIFY2(sheetXml.contains("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"),
                 sheetXml.left(600).constData());
        QVERIFY(sheetXml.contains("<autoFilter ref=\"A1:V4\"/>"));
        QVERIFY(fods.contains("table:database-range") && fods.contains("table:display-filter-buttons=\"true\""));
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
