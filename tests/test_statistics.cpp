// The statistics of the collection: the figures against a small known
// catalogue and archive, and the statistics window opened from the
// collection window with its charts, tables, copy, print and saved files.

#include "TestSupport.h"

#include "core/cards/Schede.h"
#include "core/collection/CardFile.h"
#include "core/collection/CollectionModel.h"
#include "core/collection/Statistics.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/HelpWindows.h"
#include "ui/collection/TfrmCollezione.h"
#include "ui/collection/TfrmStatistiche.h"

#include <QAbstractBarSeries>
#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPieSeries>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using Fields = CardFields;
using Statistics::Group;

namespace {

// Six sets and four MOCs with every case the figures meet: amounts that do
// not read (and an empty one), purchase dates in each form and some that are
// no date, years that are no year, pieces grouped by thousands or not a
// number, empty themes and designers.
void writeCollection(const TestProgramFolder &folder)
{
    folder.writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                      {{{"NomeSet", "Faro"}, {"Tema", "City"}, {"AnnoUscita", "2019"}, {"DataAcquisto", "25/12/2019"},
                        {"NumeroPezzi", "1.500"}, {"Valore", "100,00"}, {"InVendita", "Sì"}},
                       {{"NomeSet", "Drago"}, {"Tema", "Castelli"}, {"AnnoUscita", "2019"}, {"DataAcquisto", "5/3/20"},
                        {"NumeroPezzi", "300"}, {"Valore", "250,50"}, {"InVendita", "No"}},
                       {{"NomeSet", "Nave"}, {"Tema", "Pirati"}, {"AnnoUscita", "1989"}, {"DataAcquisto", "2021-06-01"},
                        {"NumeroPezzi", "abc"}, {"Valore", "abc"}, {"InVendita", "Sì"}},
                       {{"NomeSet", "Torre"}, {"Tema", "Castelli"}, {"AnnoUscita", "circa 1990"},
                        {"DataAcquisto", "12/2020"}, {"Valore", "1200,00"}, {"InVendita", "No"}},
                       {{"NomeSet", "Treno"}, {"Tema", "City"}, {"AnnoUscita", "2020"}, {"DataAcquisto", "regalo"},
                        {"NumeroPezzi", "700"}, {"Valore", "49,90"}, {"InVendita", "Sì"}},
                       {{"NomeSet", "Castello"}, {"AnnoUscita", "2019"}, {"NumeroPezzi", "100"}, {"Valore", "10,00"},
                        {"InVendita", "No"}}});
    folder.writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC,
                      {{{"NomeProgetto", "Fortezza"}, {"Tema", "Castelli"}, {"Designer", "Anna"},
                        {"StatoProgetto", "Finito"}, {"CostoTotale", "300,00"}, {"NumeroPezzi", "2000"},
                        {"InVendita", "No"}},
                       {{"NomeProgetto", "Borgo"}, {"Tema", "Castelli"}, {"Designer", "Anna"},
                        {"StatoProgetto", "In corso"}, {"CostoTotale", "75,25"}, {"NumeroPezzi", "500"},
                        {"InVendita", "Sì"}},
                       {{"NomeProgetto", "Ponte"}, {"Tema", "City"}, {"Designer", "Marco"}, {"StatoProgetto", "Finito"},
                        {"NumeroPezzi", "50"}, {"InVendita", "No"}},
                       {{"NomeProgetto", "Mulino"}, {"Tema", "Castelli"}, {"StatoProgetto", "Finito"},
                        {"CostoTotale", "12,00"}, {"NumeroPezzi", "1.200"}, {"InVendita", "No"}}});
}

QString groupsText(const QList<Group> &groups)
{
    QStringList parts;
    for (const Group &g : groups)
        parts << QStringLiteral("%1 %2 %3 %4").arg(g.name).arg(g.cards).arg(g.cents).arg(g.unreadable);
    return parts.join(QStringLiteral("; "));
}

QStringList tableRows(const QTableWidget *table)
{
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << table->item(r, c)->text();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QList<double> barValues(QWidget *window, const char *chartName)
{
    auto *view = window->findChild<QChartView *>(QString::fromLatin1(chartName));
    if (!view || view->chart()->series().isEmpty())
        return {};
    auto *series = qobject_cast<QAbstractBarSeries *>(view->chart()->series().front());
    if (!series || series->barSets().isEmpty())
        return {};
    QList<double> values;
    for (int i = 0; i < series->barSets().front()->count(); ++i)
        values << series->barSets().front()->at(i);
    return values;
}

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput();
}

} // namespace

class TestStatistics : public ProgramTest {
    Q_OBJECT

    TfrmCollezione *collection() const { return roster->frmCollezione(); }

    void openCollection(const QString &shown)
    {
        roster->showWindow(roster->frmAvvio());
        QTest::mouseClick(roster->frmAvvio()->imgCollezione, Qt::LeftButton);
        QVERIFY(collection()->isVisible());
        QComboBox *box = collection()->cmbCatalogo;
        box->setCurrentIndex(box->findText(shown));
        QCOMPARE(box->currentText(), shown);
        emit box->activated(box->currentIndex());
    }

    TfrmStatistiche *openStatistics()
    {
        QTest::mouseClick(collection()->cmdStatistiche, Qt::LeftButton);
        // An earlier window, closed, may wait to be deleted.
        QList<TfrmStatistiche *> open;
        for (TfrmStatistiche *w : collection()->findChildren<TfrmStatistiche *>())
            if (w->isVisible())
                open << w;
        if (open.size() != 1 || !QTest::qWaitForWindowActive(open.front()))
            return nullptr;
        return open.front();
    }

private slots:
    // Every figure of the whole collection, counted by hand.
    void figuresOfTheWholeCollection()
    {
        writeCollection(*folder);
        const Statistics::Figures f = Statistics::compute(CardFile::everything());
        QCOMPARE(f.cards, 10);
        QCOMPARE(f.sets, 6);
        QCOMPARE(f.mocs, 4);
        QCOMPARE(f.cents, 199765);
        QCOMPARE(f.unreadable, 2); // "abc" and an empty cost
        QCOMPARE(f.forSale, 4);
        QCOMPARE(f.forSaleCents, 22515);
        QCOMPARE(f.forSaleUnreadable, 1);
        QCOMPARE(f.pieces, 6350);
        QCOMPARE(f.piecesCounted, 8);
        QCOMPARE(f.piecesUnreadable, 1);
        QCOMPARE(f.noReleaseYear, 1);
        QCOMPARE(f.noPurchaseDate, 2);
        QVERIFY(!f.overflow);
        QCOMPARE(groupsText(f.byTheme),
                 QStringLiteral("Castelli 5 183775 0; City 3 14990 1; (non indicato) 1 1000 0; Pirati 1 0 1"));
        QCOMPARE(groupsText(f.byReleaseYear), QStringLiteral("1989 1 0 1; 2019 3 36050 0; 2020 1 4990 0"));
        // 25/12/2019, 5/3/20, 2021-06-01 and 12/2020; "regalo" and an empty date apart.
        QCOMPARE(groupsText(f.byPurchaseYear), QStringLiteral("2019 1 10000 0; 2020 2 145050 0; 2021 1 0 1"));
        QCOMPARE(groupsText(f.byDesigner), QStringLiteral("Anna 2 37525 0; (non indicato) 1 1200 0; Marco 1 0 1"));
        QCOMPARE(groupsText(f.byState), QStringLiteral("Finito 3 31200 1; In corso 1 7525 0"));
        QStringList top;
        for (const Statistics::Card &c : f.mostValuable)
            top << QStringLiteral("%1 %2 %3 %4").arg(c.name, c.file).arg(c.position).arg(c.cents);
        QCOMPARE(top, (QStringList{"Torre Catalogo BLOKKO 4 120000", "Fortezza Castelli 1 30000",
                                   "Drago Catalogo BLOKKO 2 25050", "Faro Catalogo BLOKKO 1 10000",
                                   "Borgo Castelli 2 7525", "Treno Catalogo BLOKKO 5 4990",
                                   "Mulino Castelli 4 1200", "Castello Catalogo BLOKKO 6 1000"}));
    }

    // Only the chosen cards count; the ten most valuable are ten, equal
    // amounts in file order.
    void chosenCardsAndTheTopTen()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 14, [](Record &r, int i) {
            r.setText("NomeSet", QStringLiteral("Set %1").arg(i));
            r.setText("Valore", QStringLiteral("%1,00").arg(i <= 2 ? 50 : i));
        });
        const QList<CardFile> files{CardFile::catalogue()};
        Statistics::Figures f = Statistics::compute(files);
        QCOMPARE(f.mostValuable.size(), Statistics::kMostValuable);
        QCOMPARE(f.mostValuable.front().name, QStringLiteral("Set 1")); // 50,00 before Set 2's, in file order
        QCOMPARE(f.mostValuable.at(1).name, QStringLiteral("Set 2"));
        QCOMPARE(f.mostValuable.at(2).name, QStringLiteral("Set 14"));
        QCOMPARE(f.mostValuable.back().name, QStringLiteral("Set 7"));

        f = Statistics::compute(files, std::vector<std::vector<qint64>>{{0, 4, 13}});
        QCOMPARE(f.cards, 3);
        QCOMPARE(f.cents, 5000 + 500 + 1400);
        QCOMPARE(f.mostValuable.size(), 3);
        f = Statistics::compute(files, std::vector<std::vector<qint64>>(1));
        QCOMPARE(f.cards, 0);
        QCOMPARE(f.mostValuable.size(), 0);
    }

    // Through the collection window: the whole collection's window shows
    // the figures in its tables and charts, in Italian form.
    void windowOverTheWholeCollection()
    {
        writeCollection(*folder);
        openCollection(QStringLiteral("Tutta la collezione"));
        QCOMPARE(collection()->cmdStatistiche->text(), QStringLiteral("&Statistiche"));
        TfrmStatistiche *w = openStatistics();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->lblTitolo->text(), QStringLiteral("Statistiche: Tutta la collezione"));
        QCOMPARE(w->lblRiepilogo->text(),
                 QStringLiteral("10 schede (6 set, 4 MOC). Valore: 1.997,65 €. In vendita: 4 schede per 225,15 €. "
                                "Pezzi in totale: 6.350. Importi non leggibili, non sommati: 2 schede. Numero "
                                "pezzi non leggibile: 1 scheda."));
        QStringList tabs;
        for (int i = 0; i < w->tabGrafici->count(); ++i)
            tabs << w->tabGrafici->tabText(i);
        QCOMPARE(tabs, (QStringList{"Per tema", "Per anno di uscita", "Per anno di acquisto", "In vendita",
                                    "Le dieci più preziose", "MOC per designer", "MOC per stato"}));
        QCOMPARE(tableRows(w->tblTema), (QStringList{"Castelli|5|1.837,75 €|0", "City|3|149,90 €|1",
                                                     "(non indicato)|1|10,00 €|0", "Pirati|1|0,00 €|1"}));
        QCOMPARE(barValues(w, "chtTema"), (QList<double>{1837.75, 149.90, 10.0, 0.0}));
        QCOMPARE(tableRows(w->tblAnnoUscita),
                 (QStringList{"1989|1|0,00 €|1", "2019|3|360,50 €|0", "2020|1|49,90 €|0"}));
        QCOMPARE(tableRows(w->tblAnnoAcquisto),
                 (QStringList{"2019|1|100,00 €|0", "2020|2|1.450,50 €|0", "2021|1|0,00 €|1"}));
        QCOMPARE(barValues(w, "chtAnnoAcquisto"), (QList<double>{100.0, 1450.50, 0.0}));
        QCOMPARE(tableRows(w->tblInVendita), (QStringList{"In vendita|4|225,15 €|1", "Non in vendita|6|1.772,50 €|1",
                                                          "Totale|10|1.997,65 €|2"}));
        QCOMPARE(tableRows(w->tblPiuPreziose).front(), QStringLiteral("1|Torre|Catalogo BLOKKO|4|1.200,00 €"));
        QCOMPARE(tableRows(w->tblPiuPreziose).size(), 8);
        QCOMPARE(tableRows(w->tblDesigner),
                 (QStringList{"Anna|2|375,25 €|0", "(non indicato)|1|12,00 €|0", "Marco|1|0,00 €|1"}));
        QCOMPARE(barValues(w, "chtDesigner"), (QList<double>{2, 1, 1}));
        QCOMPARE(tableRows(w->tblStato), (QStringList{"Finito|3|312,00 €|1", "In corso|1|75,25 €|0"}));
        auto *pie = w->findChild<QChartView *>(QStringLiteral("chtInVendita"));
        QVERIFY(pie);
        auto *slices = qobject_cast<QPieSeries *>(pie->chart()->series().front());
        QVERIFY(slices);
        QCOMPARE(slices->slices().front()->value(), 225.15);

        // A second opening replaces the first window.
        QPointer<TfrmStatistiche> first = w;
        QVERIFY(openStatistics());
        QTRY_VERIFY(!first);
    }

    // With a filter written in the collection window, the statistics
    // count exactly the cards the table shows.
    void theFilterApplies()
    {
        writeCollection(*folder);
        openCollection(QStringLiteral("Catalogo BLOKKO"));
        QTest::keyClicks(collection()->txtFiltro, "castel");
        QCOMPARE(collection()->model()->rowCount(), 3); // Drago, Torre (theme) and Castello (name)
        TfrmStatistiche *w = openStatistics();
        QVERIFY(w);
        QCOMPARE(w->lblTitolo->text(), QStringLiteral("Statistiche: Catalogo BLOKKO, schede filtrate per «castel»"));
        QCOMPARE(w->figures().cards, collection()->model()->rowCount());
        QCOMPARE(w->figures().cents, 146050);
        QCOMPARE(tableRows(w->tblTema), (QStringList{"Castelli|2|1.450,50 €|0", "(non indicato)|1|10,00 €|0"}));
        QCOMPARE(w->figures().byDesigner.size(), 0);
    }

    // The selected cells, or the whole table, go to the clipboard as
    // tab-separated lines, by the button and by Ctrl+C.
    void copyToTheClipboard()
    {
        writeCollection(*folder);
        openCollection(QStringLiteral("Tutta la collezione"));
        TfrmStatistiche *w = openStatistics();
        QVERIFY(w);
        QTest::mouseClick(w->cmdCopia, Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Tema\tSchede\tValore\tImporti non leggibili\nCastelli\t5\t1.837,75 €\t0\n"
                                "City\t3\t149,90 €\t1\n(non indicato)\t1\t10,00 €\t0\nPirati\t1\t0,00 €\t1\n"));
        w->tabGrafici->setCurrentIndex(5);
        w->tblDesigner->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 1), true);
        w->tblDesigner->setRangeSelected(QTableWidgetSelectionRange(2, 2, 2, 2), true);
        w->tblDesigner->setFocus();
        QApplication::clipboard()->clear();
        QTest::keyClick(w->tblDesigner, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Anna\t2\t\n(non indicato)\t1\t\n\t\t0,00 €\n"));
    }

    // Saved as a PNG picture of every chart and as an A4 PDF of a page per
    // chart, read back; a file that cannot be written is said so.
    void saveAsPictureAndDocument()
    {
        writeCollection(*folder);
        openCollection(QStringLiteral("Tutta la collezione"));
        TfrmStatistiche *w = openStatistics();
        QVERIFY(w);
        const QString png = folder->file(QStringLiteral("grafici")); // no suffix: a picture
        services->chosenFiles << png;
        QTest::mouseClick(w->cmdSalva, Qt::LeftButton);
        QCOMPARE(services->fileDialogs.size(), 1);
        QCOMPARE(services->fileDialogs.front().request.filters, TfrmStatistiche::saveFilters());
        QCOMPARE(services->texts(), QStringList());
        const QImage picture(png + QStringLiteral(".png"));
        QCOMPARE(picture.size(), QSize(1600, 70 + 4 * 450));
        // Charts were drawn: the picture is far from a white page.
        int coloured = 0;
        for (int y = 0; y < picture.height(); y += 5)
            for (int x = 0; x < picture.width(); x += 5)
                coloured += picture.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY2(coloured > picture.width() * picture.height() / 25 / 20, qPrintable(QString::number(coloured)));

        const QString pdf = folder->file(QStringLiteral("Statistiche.pdf"));
        services->chosenFiles << pdf;
        QTest::mouseClick(w->cmdSalva, Qt::LeftButton);
        const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdf}));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+7\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 842 pts \\(A4\\)"))), qPrintable(info));
        const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
        const QStringList pages = text.split(QLatin1Char('\f'));
        QVERIFY(pages.size() >= 7);
        QVERIFY2(pages.at(0).contains(QStringLiteral("Valore per tema")), qPrintable(pages.at(0)));
        QVERIFY(pages.at(0).contains(QStringLiteral("Castelli")));
        QVERIFY(pages.at(0).contains(QStringLiteral("1.837,75 €")));
        QVERIFY(pages.at(4).contains(QStringLiteral("Torre")));
        QVERIFY(pages.at(6).contains(QStringLiteral("In corso")));

        services->chosenFiles << folder->file(QStringLiteral("manca/Statistiche.pdf"));
        QTest::mouseClick(w->cmdSalva, Qt::LeftButton);
        QCOMPARE(services->texts(),
                 QStringList{QStringLiteral("Non è stato possibile salvare il file \"%1\". Controlla che la "
                                            "cartella esista e che si possa scrivere, poi riprova.")
                                 .arg(folder->file(QStringLiteral("manca/Statistiche.pdf")))});
    }

    // Printed on A4 through the platform layer, a page per chart.
    void print()
    {
        writeCollection(*folder);
        openCollection(QStringLiteral("Tutta la collezione"));
        TfrmStatistiche *w = openStatistics();
        QVERIFY(w);
        QTest::mouseClick(w->cmdStampa, Qt::LeftButton);
        QCOMPARE(services->printed.size(), 1);
        const ScriptedServices::Printed &printed = services->printed.front();
        QVERIFY(!printed.preview);
        QCOMPARE(printed.job.layout.pageSize().id(), QPageSize::A4);
        QCOMPARE(printed.job.layout.orientation(), QPageLayout::Portrait);
        QCOMPARE(printed.job.pageCount, 7);
        QCOMPARE(printed.pages.size(), 7);
        for (const QImage &page : printed.pages) {
            int dark = 0;
            for (int y = 0; y < page.height(); y += 4)
                for (int x = 0; x < page.width(); x += 4)
                    dark += qGray(page.pixel(x, y)) < 128;
            QVERIFY(dark > 100);
        }
    }

    // Esc closes the window, F1 opens its help topic, and the size it was
    // left at comes back at the next opening.
    void keysAndGeometry()
    {
        writeCollection(*folder);
        openCollection(QStringLiteral("Catalogo BLOKKO"));
        QPointer<TfrmStatistiche> w = openStatistics();
        QVERIFY(w);
        QVERIFY(withModal([&] { QTest::keyClick(w, Qt::Key_F1); },
                          [](QWidget *modal) {
                              auto *help = qobject_cast<TfrmGuida *>(modal);
                              QVERIFY(help);
                              QCOMPARE(help->lblTitolo->text(), QStringLiteral("Statistiche della collezione"));
                              modal->close();
                          }));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->resize(700, 500);
        QTest::keyClick(w, Qt::Key_Escape);
        QTRY_VERIFY(!w);
        w = openStatistics();
        QVERIFY(w);
        QCOMPARE(w->size(), QSize(700, 500));
    }
};

VETRINORA_TEST_MAIN(TestStatistics)
#include "test_statistics.moc"
