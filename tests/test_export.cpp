// The spreadsheet export of both editors, checked byte for byte.

#include "TestSupport.h"

#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Widgets.h"
#include "core/cards/Schede.h"
#include "core/transfer/CsvImport.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/editing/HintBar.h"
#include "ui/output/ExportWindow.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using Fields = CardFields;

namespace {

const QString kFirstQuestion = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede "
    "presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kSecondQuestion = QStringLiteral(
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString kFailed = QStringLiteral(
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di "
    "Excel non sia già aperto.");

// The file as the collector's spreadsheet program expects it, written out
// here piece by piece.
QByteArray headings(const QList<QPair<QByteArray, int>> &cells)
{
    QByteArray out;
    for (const auto &[text, width] : cells)
        out += "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width)
               + ">" + text + "</td>";
    return out + "</tr>";
}

const QList<QPair<QByteArray, int>> kSetHeadings = {
    {"Nome set", 280}, {"Tema", 350}, {"Minifigure incluse", 400}, {"Codice set", 200},
    {"Anno uscita", 200}, {"Numero pezzi", 250}, {"Peso scatola", 250}, {"Pezzi mancanti", 400},
    {"Dimensioni scatola", 300}, {"Luogo conservazione", 250}, {"Stato conservazione", 280},
    {"Et\xE0 consigliata", 250}, {"Data acquisto", 250}, {"Note", 400}, {"Valore", 200},
    {"In vendita", 180}};

QByteArray row(const QList<QByteArray> &cells)
{
    QByteArray out = "<tr>";
    for (const QByteArray &c : cells)
        out += "<td style=\"text-align: left;\">" + c + "</td>";
    return out + "</tr>";
}

const QByteArray kTail = "</table></body></html>";

} // namespace

class TestExport : public ProgramTest {
    Q_OBJECT

    // Shows the set export window, answers the two questions and exports.
    void exportSets(ExportWindow &w, platform::Button first = platform::Button::Yes,
                    platform::Button second = platform::Button::No)
    {
        services->answers.enqueue(first);
        services->answers.enqueue(second);
        Picture *p = w.cmdEsporta;
        QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center());
    }

private slots:
    void init()
    {
        ProgramTest::init();
        roster->frmCartoline()->lblFile->setText(folder->file(QStringLiteral("Castelli.moc")));
    }

    void smallCatalogueByteForByte()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", QString::fromUtf8("Città")}, {"Tema", "Treni"},
                             {"Note", "a < b & c > d"}, {"Valore", "12,50"},
                             {"InVendita", QString::fromUtf8("Sì")}},
                            {{"NomeSet", "Faro"}, {"InVendita", "No"}}});
        TfrmExpArmi w(roster->frmArmi());
        w.show();
        exportSets(w);
        QCOMPARE(services->texts(), QStringList({kFirstQuestion, kSecondQuestion}));
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Confirmation);
        QCOMPARE(services->opened, QStringList());
        QList<QByteArray> first(16), second(16);
        first[0] = "Citt\xE0";
        first[1] = "Treni";
        first[13] = "a &lt; b &amp; c &gt; d";
        first[14] = "12,50";
        first[15] = "S\xEC";
        second[0] = "Faro";
        second[15] = "No";
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.xls")),
                 spreadsheetHead("Catalogo BLOKKO") + headings(kSetHeadings) + row(first) + row(second)
                     + kTail);
    }

    // Cells a spreadsheet would read as formulas or signed numbers begin with
    // a zero-width space, written as a character reference; every other byte
    // is as before, the amount included. The program's own import of the
    // file gives the text back as it was.
    void formulaCellsAreGuarded()
    {
        const QList<QByteArray> cells{"=1+1", "=HYPERLINK(\"http://x\")", "=cmd|' /C calc'!A0", "+1",
                                      "-1", "@SUM(1)", "cmd|' /C calc'!A0", "-12,50", "a=b"};
        QList<Fields> cards;
        for (const QByteArray &c : cells)
            cards.append({{"NomeSet", QString::fromLatin1(c)}, {"Valore", "-12,50"}, {"InVendita", "No"}});
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, cards);
        TfrmExpArmi w(roster->frmArmi());
        w.show();
        exportSets(w);
        QByteArray rows;
        for (const QByteArray &c : cells) {
            QList<QByteArray> cellsOfRow(16);
            const bool guard = !c.startsWith("cmd") && c != "-12,50" && c != "a=b";
            cellsOfRow[0] = (guard ? "&#8203;" : "") + c;
            cellsOfRow[14] = "-12,50";
            cellsOfRow[15] = "No";
            rows += row(cellsOfRow);
        }
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.xls")),
                 spreadsheetHead("Catalogo BLOKKO") + headings(kSetHeadings) + rows + kTail);
        const Transfer::Preview p = Transfer::preview(folder->file(QStringLiteral("Catalogo_BLOKKO.xls")));
        QCOMPARE(p.rows.size(), cells.size());
        for (qsizetype i = 0; i < cells.size(); ++i)
            QCOMPARE(p.rows.at(i).at(0), QString::fromLatin1(cells.at(i)));

        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        QByteArray errors;
        const QByteArray csv = folder->convertToCsv(soffice, QStringLiteral("Catalogo_BLOKKO.xls"),
                                                    QStringLiteral("calc_HTML_WebQuery"), QStringLiteral("csv"),
                                                    &errors, true);
        QVERIFY2(!csv.isEmpty(), errors.constData());
        const QStringList lines = QString::fromUtf8(csv).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), cells.size() + 1);
        for (qsizetype i = 0; i < cells.size() - 2; ++i) {
            QString shown = lines.at(i + 1);
            shown.remove(QChar(0x200B));
            QString cell = QString::fromLatin1(cells.at(i));
            cell.replace(QLatin1String("\""), QLatin1String("\"\""));
            // Quoted: LibreOffice holds the cell as text, as typed.
            QVERIFY2(shown.startsWith(QLatin1Char('"') + cell + QStringLiteral("\";")), qPrintable(lines.at(i + 1)));
        }
    }

    void emptyCatalogueWritesTenEmptyRows()
    {
        TfrmExpArmi w(roster->frmArmi());
        w.show();
        QCOMPARE(w.model()->rowCount(), 10);
        QCOMPARE(w.model()->cellText(0, 0), QString());
        QVERIFY(QFile::exists(folder->file("Catalogo_BLOKKO.pro")));
        exportSets(w);
        QByteArray rows;
        for (int i = 0; i < 10; ++i)
            rows += row(QList<QByteArray>(16));
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.xls")),
                 spreadsheetHead("Catalogo BLOKKO") + headings(kSetHeadings) + rows + kTail);
    }

    void threeCardsAndTheGrid()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", "  uno  "}}, {{"NomeSet", "due"}}, {{"NomeSet", "tre"}}});
        TfrmExpArmi w(roster->frmArmi());
        QCOMPARE(w.windowTitle(), QStringLiteral(" Esporta catalogo BLOKKO in Excel"));
        QCOMPARE(w.size(), QSize(862, 560));
        const QAbstractItemModelTester tester(w.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        w.show();
        ExportModel *m = w.model();
        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->columnCount(), 17);
        QCOMPARE(m->cellText(2, 0), QStringLiteral("3"));
        QCOMPARE(m->cellText(0, 1), QStringLiteral("uno"));
        QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("N."));
        QCOMPARE(m->headerData(12, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString::fromUtf8("Età consigliata"));
        QCOMPARE(w.grdRecords->columnWidth(0), 60);
        QCOMPARE(w.grdRecords->columnWidth(m->columnNamed("colNote")), 350);
        QCOMPARE(w.grdRecords->verticalHeader()->defaultSectionSize(), 21);
        QVERIFY(w.grdRecords->alternatingRowColors());
        // Editable and read-only columns.
        for (const auto &[name, editable] : {std::pair{"colNum", false}, std::pair{"colMunizioni", false},
                                             std::pair{"colComponenti", true}, std::pair{"colNote", true},
                                             std::pair{"colValore", false}, std::pair{"colVenduta", false}})
            QCOMPARE(bool(m->flags(m->index(0, m->columnNamed(name))) & Qt::ItemIsEditable), editable);
        exportSets(w);
        const QByteArray file = folder->read(QStringLiteral("Catalogo_BLOKKO.xls"));
        QCOMPARE(file.count("<tr>"), 4);
        QCOMPARE(file.count("font-weight: bold;"), 16);
        QVERIFY(!file.contains('\n') && !file.contains('\r'));
    }

    void anEditedCellReachesTheFileOnly()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", "uno"}, {"Note", "vecchia"}}});
        const QByteArray before = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        TfrmExpArmi w(roster->frmArmi());
        const QAbstractItemModelTester tester(w.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        w.show();
        ExportModel *m = w.model();
        const QModelIndex note = m->index(0, m->columnNamed("colNote"));
        const QModelIndex name = m->index(0, m->columnNamed("colMunizioni"));
        QVERIFY(m->setData(note, QString::fromUtf8("nuova è"), Qt::EditRole));
        QVERIFY(!m->setData(name, QStringLiteral("no"), Qt::EditRole));
        exportSets(w);
        const QByteArray file = folder->read(QStringLiteral("Catalogo_BLOKKO.xls"));
        QVERIFY(file.contains("<td style=\"text-align: left;\">nuova \xE8</td>"));
        QVERIFY(file.contains("<td style=\"text-align: left;\">uno</td>"));
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
    }

    void mocArchiveHeadings()
    {
        folder->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC,
                           {{{"NomeProgetto", "Torre"}, {"InVendita", ""}}});
        TfrmExpCartoline w(roster->frmCartoline());
        QCOMPARE(w.windowTitle(), QStringLiteral(" Esporta archivio MOC in Excel"));
        w.show();
        QCOMPARE(w.model()->columnCount(), 23);
        exportSets(w);
        const QByteArray file = folder->read(QStringLiteral("Archivio_MOC.xls"));
        QVERIFY(file.startsWith(spreadsheetHead("Archivio MOC")));
        QCOMPARE(file.count("font-weight: bold;"), 22);
        QVERIFY(file.contains("width=450>Descrizione MOC</td>"));
        QVERIFY(file.contains("width=250>Livello difficolt\xE0</td>"));
        QVERIFY(file.contains("width=200>In vendita</td></tr><tr><td style=\"text-align: left;\">Torre</td>"));
        QVERIFY(file.endsWith("<td style=\"text-align: left;\"></td></tr>" + kTail));
    }

    void answersToTheQuestions()
    {
        TfrmExpArmi w(roster->frmArmi());
        w.show();
        exportSets(w, platform::Button::No);
        QCOMPARE(services->texts(), QStringList{kFirstQuestion});
        QVERIFY(!QFile::exists(folder->file("Catalogo_BLOKKO.xls")));
        services->clear();
        services->answers.clear();
        exportSets(w, platform::Button::Yes, platform::Button::Yes);
        QCOMPARE(services->opened,
                 QStringList{QLatin1Char('"') + folder->file("Catalogo_BLOKKO.xls") + QLatin1Char('"')});
        QVERIFY(w.isVisible()); // the export can be repeated
    }

    void aReadOnlyExportIsReportedAndKept()
    {
        folder->write(QStringLiteral("Catalogo_BLOKKO.xls"), "vecchio");
        QFile::setPermissions(folder->file("Catalogo_BLOKKO.xls"), QFile::ReadOwner);
        TfrmExpArmi w(roster->frmArmi());
        w.show();
        exportSets(w);
        QCOMPARE(services->texts(), QStringList({kFirstQuestion, kFailed}));
        QCOMPARE(services->messages.last().kind, platform::MessageKind::Plain);
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.xls")), QByteArray("vecchio"));
        QFile::setPermissions(folder->file("Catalogo_BLOKKO.xls"), QFile::ReadOwner | QFile::WriteOwner);
    }

#ifdef Q_OS_UNIX
    // A write that fails half-way (here: the file size limit, as on a full
    // disk) leaves the last good export whole.
    void aWriteFailingHalfWayKeepsTheOldFile()
    {
        QList<Fields> cards;
        for (int i = 0; i < 50; ++i)
            cards.append({{"NomeSet", QStringLiteral("Set %1").arg(i)}, {"Note", QString(200, 'n')}});
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, cards);
        folder->write(QStringLiteral("Catalogo_BLOKKO.xls"), "vecchio");
        TfrmExpArmi w(roster->frmArmi());
        w.show();
        struct rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit tight = old;
        tight.rlim_cur = 4000;
        setrlimit(RLIMIT_FSIZE, &tight);
        exportSets(w);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(services->texts(), QStringList({kFirstQuestion, kFailed}));
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.xls")), QByteArray("vecchio"));
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files).size(), 2);
    }
#endif

    void hintBar()
    {
        TfrmExpArmi w(roster->frmArmi());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.panInfo->text(), QStringLiteral("Esportazione archivio in Microsoft Excel."));
        w.hintBar->pointerOver(w.cmdGuida);
        QCOMPARE(w.panInfo->text(), QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
        w.hintBar->pointerOver(w.grdRecords->viewport());
        QCOMPARE(w.panInfo->text(), QString());
        QTest::mouseMove(w.cmdEsci, QPoint(5, 5));
        QTRY_COMPARE(w.panInfo->text(), QStringLiteral("Esci da questo ambiente di lavoro."));
        // The window's own margin around the panel empties the bar too.
        const QRect panel(w.findChild<QWidget *>(QStringLiteral("panContainer"))->mapTo(&w, QPoint(0, 0)),
                          QSize(837, 533));
        for (const QPoint at : {QPoint(4, 200), QPoint(400, w.height() - 4), QPoint(w.width() - 4, 4)}) {
            QVERIFY(!panel.contains(at));
            w.hintBar->setText(QStringLiteral("suggerimento"));
            QTest::mouseMove(&w, at);
            QTRY_COMPARE(w.panInfo->text(), QString());
        }
        QCOMPARE(w.cmdEsporta->cursor().shape(), Qt::PointingHandCursor);
    }

    // What the collector sees: the file opened by LibreOffice, as CSV.
    void libreOfficeReadsTheFile()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", QString::fromUtf8("Città è più")}, {"Note", "a < b & c"},
                             {"InVendita", QString::fromUtf8("Sì")}}});
        TfrmExpArmi w(roster->frmArmi());
        w.show();
        exportSets(w);
        QByteArray errors;
        const QByteArray csv = folder->convertToCsv(soffice, QStringLiteral("Catalogo_BLOKKO.xls"),
                                                    QStringLiteral("calc_HTML_WebQuery"), QStringLiteral("csv"), &errors);
        QVERIFY2(!csv.isEmpty(), errors.constData());
        const QStringList lines = QString::fromUtf8(csv).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const QStringList cells = lines.at(1).trimmed().split(QLatin1Char(';'));
        QCOMPARE(cells.value(0), QString::fromUtf8("Città è più"));
        QCOMPARE(cells.value(13), QStringLiteral("a < b & c"));
        QCOMPARE(cells.value(15), QString::fromUtf8("Sì"));
        QVERIFY(lines.at(0).startsWith(QStringLiteral("Nome set;Tema;Minifigure incluse")));
    }
};

VETRINORA_TEST_MAIN(TestExport)
#include "test_export.moc"
