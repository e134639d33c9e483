// The search and for-sale lists, driven through their named controls over
// record files written with the program's own codec.

#include "TestSupport.h"

#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Tuning.h"
#include "ui/base/Widgets.h"
#include "core/cards/RecordFile.h"
#include "core/cards/Schede.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/editing/PhotoBox.h"
#include "core/app/Text.h"
#include "core/search/ResultModel.h"
#include "ui/search/SearchWindows.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>
#include <memory>
#include <optional>

using Fields = CardFields;

namespace {
const QString kNotApplicable =
    QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");
const QString kAccess = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");

// Cards not for sale unless their fields say otherwise.
Fields notForSale(const Fields &fields) { return Fields{{"InVendita", QStringLiteral("No")}} + fields; }
QList<Fields> notForSale(const QList<Fields> &cards)
{
    QList<Fields> out;
    for (const Fields &f : cards)
        out.append(notForSale(f));
    return out;
}

QByteArray recordBytes(const RecordLayout &layout, const Fields &fields)
{
    return cardWith(layout, notForSale(fields)).bytes();
}
} // namespace

class TestSearch : public ProgramTest {
    Q_OBJECT

    TfrmArmi *sets() const { return roster->frmArmi(); }
    TfrmCartoline *mocs() const { return roster->frmCartoline(); }

    void writeSets(const QList<Fields> &cards)
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           notForSale(cards));
    }

    void writeMocs(const QList<Fields> &cards)
    {
        folder->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC, notForSale(cards));
    }

    QStringList lines(ListWindow &w) const { return w.results()->lines(); }

    void search(ListWindow &w, const QList<QPair<const char *, QString>> &filters)
    {
        for (const auto &[control, text] : filters)
            w.filter(control)->setText(text);
        QTest::mouseClick(w.btnCerca, Qt::LeftButton);
    }

    void doubleClick(ListWindow &w, int row)
    {
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.selectRow(row);
        w.lstRecords->scrollTo(w.results()->index(row));
        QCoreApplication::processEvents();
        const QRect r = w.lstRecords->visualRect(w.results()->index(row));
        // A click and then the double click, as a mouse does.
        QTest::mouseClick(w.lstRecords->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(w.lstRecords->viewport(), Qt::LeftButton, {}, r.center());
    }

private slots:
    void init()
    {
        ProgramTest::init();
        roster->handOver(roster->frmAvvio(), sets());
        mocs()->lblFile->setText(folder->file(QStringLiteral("Castelli.moc")));
        mocs()->lblNome->setText(QStringLiteral("Castelli"));
    }

    // ---- lines ----------------------------------------------------------------

    void setLineColumns()
    {
        const QByteArray r = recordBytes(
            Schede::TSchedaSet,
            {{"NomeSet", QString(40, QLatin1Char('N'))},
             {"Tema", QStringLiteral("Pirati")},
             {"CodiceSet", QString(25, QLatin1Char('C'))},
             {"NumeroPezzi", QStringLiteral("1234567890123")},
             {"AnnoUscita", QStringLiteral("1989")},
             {"Valore", QStringLiteral("999999999999999")}});
        const QString line = ResultLines::build(r.constData(), Schede::TSchedaSet, ResultLines::setColumns());
        QCOMPARE(line, QString(28, QLatin1Char('N')) + QStringLiteral("  Tema: ")
                           + QStringLiteral("Pirati").leftJustified(30) + QStringLiteral("  Cod. ")
                           + QString(20, QLatin1Char('C')) + QStringLiteral("  Pezzi: 123456789012")
                           + QStringLiteral("  Anno: ") + QStringLiteral("1989").leftJustified(12)
                           + QString::fromUtf8("  Valore: € 999999999999999"));
        QCOMPARE(line.size(), 146 + 15);
    }

    void mocLineColumns()
    {
        const QByteArray r = recordBytes(
            Schede::TSchedaMOC,
            {{"NomeProgetto", QStringLiteral("  Torre  ")},
             {"CodiceID", QString(30, QLatin1Char('I'))},
             {"Tema", QStringLiteral("Castelli")},
             {"Designer", QString(30, QLatin1Char('D'))},
             {"Scala", QStringLiteral("1:40")},
             {"CostoTotale", QStringLiteral("12,50")}});
        const QString line = ResultLines::build(r.constData(), Schede::TSchedaMOC, ResultLines::mocColumns());
        QCOMPARE(line, QStringLiteral("Torre").leftJustified(28) + QStringLiteral("  ID: ")
                           + QString(20, QLatin1Char('I')) + QStringLiteral("  Tema: ")
                           + QStringLiteral("Castelli").leftJustified(25)
                           + QStringLiteral("  Designer: ") + QString(24, QLatin1Char('D'))
                           + QStringLiteral("  Scala: 1:40      ") + QString::fromUtf8("  € 12,50"));
        QCOMPARE(line.size(), 146 + 5);
    }

    // ---- searching ----------------------------------------------------------

    void matchRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("year");
        QTest::addColumn<bool>("listed");
        // The card: NomeSet "Galeone è pirata", AnnoUscita "1989".
        QTest::newRow("small letters") << "galeone" << "" << true;
        QTest::newRow("capitals") << "GALEONE" << "" << true;
        QTest::newRow("inside a word") << "leon" << "" << true;
        QTest::newRow("accent in the same case") << QString::fromUtf8("è") << "" << true;
        QTest::newRow("accented capital") << QString::fromUtf8("È") << "" << false;
        QTest::newRow("both filters match") << "pirata" << "198" << true;
        QTest::newRow("second filter does not") << "pirata" << "1990" << false;
        QTest::newRow("trailing blank at the field's end") << "pirata " << "" << false;
        QTest::newRow("trailing blank inside") << "galeone " << "" << true;
        QTest::newRow("blank-only filter counts nothing") << "   " << "" << true;
        QTest::newRow("blanks and a missing year") << "   " << "2000" << false;
    }
    void matchRule()
    {
        QFETCH(QString, name);
        QFETCH(QString, year);
        QFETCH(bool, listed);
        writeSets({{{"NomeSet", QString::fromUtf8("Galeone è pirata")}, {"AnnoUscita", "1989"}}});
        TfrmTrovaArmi w(sets());
        w.show();
        search(w, {{"txtMunizioni", name}, {"txtAnno", year}});
        QCOMPARE(w.results()->count(), listed ? 1 : 0);
    }

    void everyCardWithoutFilters()
    {
        writeSets({{{"NomeSet", "beta"}}, {{"NomeSet", "Alfa"}}, {{"NomeSet", "_sotto"}},
                   {{"NomeSet", "Zeta"}}, {{"NomeSet", "123"}}});
        TfrmTrovaArmi w(sets());
        const QAbstractItemModelTester tester(w.results(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        w.lblMemory->setText(QStringLiteral("armi"));
        w.show();
        QVERIFY(w.panAvvio->isVisible());
        QVERIFY(!w.panContainer->isVisible());
        QCOMPARE(w.focusWidget(), w.filter("txtMunizioni"));
        QCOMPARE(w.windowTitle(), QStringLiteral(" Trova set BLOKKO in catalogo"));
        QCOMPARE(w.size(), QSize(862, 560));
        search(w, {});
        QCOMPARE(w.lblConta->text(), QStringLiteral("0"));
        QStringList firsts;
        for (const QString &l : lines(w))
            firsts << l.left(28).trimmed();
        // Letters a-z count as A-Z; everything else by its code.
        QCOMPARE(firsts, QStringList({"123", "Alfa", "beta", "Zeta", "_sotto"}));
        QCOMPARE(w.lblTrovate->text(), QStringLiteral("Il presente riepilogo contiene 5 schede"));
        QVERIFY(w.panContainer->isVisible());
        QVERIFY(!w.panAvvio->isVisible());
        QCOMPARE(w.focusWidget(), w.txtTrova);
        QCOMPARE(w.results()->data(w.results()->index(0), Qt::FontRole).value<QFont>().family(),
                 QStringLiteral("Courier New"));
    }

    void countOfFilledFilters()
    {
        writeMocs({{{"NomeProgetto", "Torre"}, {"Tema", "Castelli"}}});
        TfrmTrovaCartoline w(mocs());
        w.show();
        search(w, {{"txtTitolo", "torre"}, {"txtEditore", "CAST"}, {"txtNote", "  "}});
        QCOMPARE(w.lblConta->text(), QStringLiteral("2"));
        QCOMPARE(w.results()->count(), 1);
    }

    void aMissingCatalogueIsCreatedEmpty()
    {
        TfrmTrovaArmi w(sets());
        w.show();
        search(w, {});
        QVERIFY(QFile::exists(folder->file("Catalogo_BLOKKO.pro")));
        QCOMPARE(w.lblTrovate->text(), QStringLiteral("Il presente riepilogo contiene 0 schede"));
    }

    void anUnreadableFileStopsTheSearch()
    {
        writeSets({{{"NomeSet", "a"}}});
        QFile::setPermissions(folder->file("Catalogo_BLOKKO.pro"), QFile::ReadOwner);
        TfrmTrovaArmi w(sets());
        w.show();
        QTest::mousePress(w.btnCerca, Qt::LeftButton);
        QVERIFY(w.lblAttendere->isVisible());
        QTest::mouseRelease(w.btnCerca, Qt::LeftButton);
        QCOMPARE(services->texts(), QStringList{kAccess});
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Plain);
        QVERIFY(w.panAvvio->isVisible());
        QVERIFY(w.lblAttendere->isVisible());
        QFile::setPermissions(folder->file("Catalogo_BLOKKO.pro"), QFile::ReadOwner | QFile::WriteOwner);
    }

    void returnKeys()
    {
        writeSets({{{"NomeSet", "a"}}});
        TfrmTrovaArmi w(sets());
        w.show();
        w.filter("txtNote")->setFocus();
        QTest::keyClick(w.filter("txtNote"), Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.filter("txtMunizioni"));
        QVERIFY(w.panAvvio->isVisible()); // Return never searches
        QTest::keyClick(w.filter("txtAnno"), Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.filter("txtMatricola"));
        QVERIFY(w.findChild<QWidget *>("effCampo06")->isVisible());
        search(w, {});
        w.txtTrova->setText(QStringLiteral("zzz"));
        QTest::keyClick(w.txtTrova, Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.btnTrova);
        QCOMPARE(services->texts(), QStringList());
        QCOMPARE(w.selectedRow(), -1);
    }

    void findCyclesThroughTheMatches()
    {
        writeSets({{{"NomeSet", "a rosso"}}, {{"NomeSet", "b blu"}}, {{"NomeSet", "c ROSSO"}},
                   {{"NomeSet", "d verde"}}, {{"NomeSet", "e rossiccio"}}});
        TfrmTrovaArmi w(sets());
        w.show();
        search(w, {});
        w.txtTrova->setText(QStringLiteral("ROSS"));
        QList<int> rows;
        for (int i = 0; i < 4; ++i) {
            QTest::mouseClick(w.btnTrova, Qt::LeftButton);
            rows << w.selectedRow();
        }
        QCOMPARE(rows, QList<int>({0, 2, 4, 0}));
        // A new text starts again from the top.
        w.txtTrova->setText(QStringLiteral("verde"));
        QTest::mouseClick(w.btnTrova, Qt::LeftButton);
        QCOMPARE(w.selectedRow(), 3);
        // Nothing found, or an empty text: the selection stays.
        w.txtTrova->setText(QStringLiteral("nero"));
        QTest::mouseClick(w.btnTrova, Qt::LeftButton);
        w.txtTrova->clear();
        QTest::mouseClick(w.btnTrova, Qt::LeftButton);
        QCOMPARE(w.selectedRow(), 3);
        QCOMPARE(services->texts(), QStringList());
    }

    // The line the list frames as current is always the selected line, the
    // one a double click or Enter recalls; with none selected none is framed.
    void theHighlightedLineIsTheSelectedOne_data()
    {
        QTest::addColumn<bool>("summary");
        QTest::newRow("search results") << false;
        QTest::newRow("for-sale summary") << true;
    }
    void theHighlightedLineIsTheSelectedOne()
    {
        QFETCH(bool, summary);
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", "a rosso"}, {"InVendita", QString::fromUtf8("Sì")}},
                            {{"NomeSet", "b blu"}, {"InVendita", QString::fromUtf8("Sì")}}});
        std::unique_ptr<ListWindow> w;
        if (summary)
            w = std::make_unique<TfrmArmi_Disponibili>(sets());
        else
            w = std::make_unique<TfrmTrovaArmi>(sets());
        w->show();
        if (!summary)
            search(*w, {});
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QListView *list = w->lstRecords;
        QCOMPARE(w->results()->count(), 2);
        // Entering the list selects the line it frames.
        // (The editor may come to the front once more as the window opens.)
        QTRY_VERIFY([&] {
            w->activateWindow();
            list->setFocus(Qt::TabFocusReason);
            return list->hasFocus();
        }());
        QCOMPARE(list->currentIndex().row(), 0);
        QCOMPARE(w->selectedRow(), 0);
        QVERIFY(highlightIsSelection(list));
        const QRect first = list->visualRect(w->results()->index(0));
        // The user takes the selection away: the frame goes with it.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, first.center());
        QCOMPARE(w->selectedRow(), -1);
        QVERIFY(highlightIsSelection(list));
        // Trova and the arrows select what they frame.
        w->txtTrova->setText(QStringLiteral("blu"));
        QTest::mouseClick(w->btnTrova, Qt::LeftButton);
        QCOMPARE(w->selectedRow(), 1);
        QCOMPARE(list->currentIndex().row(), 1);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(w->selectedRow(), 0);
        QVERIFY(highlightIsSelection(list));
    }

    void findOnAnEmptyList()
    {
        TfrmArmi_Disponibili w(sets());
        w.show();
        QTest::mouseClick(w.btnTrova, Qt::LeftButton);
        QCOMPARE(services->texts(), QStringList{kNotApplicable});
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Plain);
    }

    void recallEachOfTwoIdenticalLines()
    {
        const Fields same{{"NomeSet", "Faro"}, {"Tema", "Mare"}, {"Valore", "10,00"}};
        writeSets({{{"NomeSet", "Altro"}}, same + Fields{{"Note", "primo"}},
                   same + Fields{{"Note", "secondo"}, {"InVendita", QString::fromUtf8("Sì")}}});
        for (const auto &[row, position, note] :
             {std::tuple{1, "2", "primo"}, std::tuple{2, "3", "secondo"}}) {
            TfrmTrovaArmi w(sets());
            w.lblMemory->setText(QStringLiteral("armi"));
            w.show();
            search(w, {{"txtMunizioni", "faro"}});
            QCOMPARE(lines(w).size(), 2);
            QCOMPARE(lines(w).at(0), lines(w).at(1));
            doubleClick(w, row - 1);
            QVERIFY(!w.isVisible());
            QCOMPARE(sets()->lblPosizione->text(), QString::fromLatin1(position));
            QCOMPARE(sets()->field("txtNote")->text(), QString::fromLatin1(note));
        }
        QVERIFY(sets()->forSaleBox->isChecked());
        QCOMPARE(sets()->field("txtPrezzo")->text(), QStringLiteral("10,00"));
    }

    // The card on screen has changes not yet saved: the recall asks first;
    // Annulla keeps the list and the card, No recalls the card found.
    void recallAsksAboutUnsavedChanges()
    {
        writeSets({{{"NomeSet", "Faro"}}});
        sets()->field("txtMunizioni")->setText(QStringLiteral("in corso"));
        TfrmTrovaArmi w(sets());
        w.lblMemory->setText(QStringLiteral("armi"));
        w.show();
        search(w, {});
        services->answers.enqueue(platform::Button::Cancel);
        doubleClick(w, 0);
        QCOMPARE(services->texts(), QStringList{QStringLiteral("Salvare le modifiche alla scheda?")});
        QVERIFY(w.isVisible());
        QCOMPARE(sets()->field("txtMunizioni")->text(), QStringLiteral("in corso"));
        services->answers.enqueue(platform::Button::No);
        doubleClick(w, 0);
        QVERIFY(!w.isVisible());
        QCOMPARE(sets()->field("txtMunizioni")->text(), QStringLiteral("Faro"));
        QCOMPARE(sets()->lblPosizione->text(), QStringLiteral("1"));
    }

    void recallWithoutTheCallerWordLoadsNothing()
    {
        writeSets({{{"NomeSet", "Faro"}}});
        sets()->field("txtMunizioni")->setText(QStringLiteral("in corso"));
        TfrmTrovaArmi w(sets());
        w.show();
        search(w, {});
        doubleClick(w, 0);
        QVERIFY(!w.isVisible());
        QCOMPARE(sets()->field("txtMunizioni")->text(), QStringLiteral("in corso"));
        QCOMPARE(sets()->lblPosizione->text(), QString());
    }

    void recallIntoTheMocEditorWithPhotos()
    {
        writeMocs({{{"NomeProgetto", "Torre"}}, {{"NomeProgetto", "Ponte"}, {"File01", "a.pdf"}}});
        QDir(folder->path()).mkpath(QStringLiteral("Foto_MOC"));
        QImage a(40, 30, QImage::Format_RGB32), b(30, 40, QImage::Format_RGB32);
        a.fill(Qt::red);
        b.fill(Qt::blue);
        QVERIFY(a.save(folder->file("Foto_MOC/Castelli_Foto_A_2.jpg")));
        QVERIFY(b.save(folder->file("Foto_MOC/Castelli_Foto_B_2.jpg")));
        TfrmTrovaCartoline w(mocs());
        w.lblMemory->setText(QStringLiteral("cartoline"));
        w.show();
        search(w, {{"txtTitolo", "PONTE"}});
        doubleClick(w, 0);
        QCOMPARE(mocs()->lblPosizione->text(), QStringLiteral("2"));
        QCOMPARE(mocs()->field("txtTitolo")->text(), QStringLiteral("Ponte"));
        QCOMPARE(mocs()->attachmentLabel("lblFile01")->text(), QStringLiteral("a.pdf"));
        QCOMPARE(mocs()->photoBox(0)->image().size(), QSize(40, 30));
        QCOMPARE(mocs()->photoBox(1)->image().size(), QSize(30, 40));
    }

    void recallIntoTheSetEditorWithItsPhoto()
    {
        writeSets({{{"NomeSet", "Faro"}, {"InVendita", QString::fromUtf8("Sì")}}});
        QDir(folder->path()).mkpath(QStringLiteral("Schedario"));
        QImage a(40, 30, QImage::Format_RGB32);
        a.fill(Qt::red);
        QVERIFY(a.save(folder->file("Schedario/BLOKKO_1.jpg")));
        TfrmArmi_Disponibili w(sets());
        w.show();
        QCOMPARE(w.results()->count(), 1);
        doubleClick(w, 0);
        QCOMPARE(sets()->lblPosizione->text(), QStringLiteral("1"));
        QCOMPARE(sets()->photoBox(0)->image().size(), QSize(40, 30));
        QVERIFY(!w.isVisible());
    }

    // ---- for-sale summaries -------------------------------------------------

    void whoIsForSale()
    {
        // Raw for-sale bytes: "Sì " with a trailing blank, and an empty field.
        const QList<std::pair<const char *, QByteArray>> flags = {
            {"yes", QByteArray("\x02S\xEC", 3)},
            {"yes blank", QByteArray("\x03S\xEC ", 4)},
            {"no", QByteArray("\x02No", 3)},
            {"empty", QByteArray("\x00", 1)}};
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           int(flags.size()), [&](Record &r, int position) {
                               const auto &[name, flag] = flags.at(position - 1);
                               r.setText("NomeSet", QString::fromLatin1(name));
                               r.bytes().replace(Schede::TSchedaSet.forSale().offset, flag.size(), flag);
                           });
        writeMocs({{{"NomeProgetto", "yes"}, {"InVendita", QString::fromUtf8("Sì")}},
                   {{"NomeProgetto", "no"}, {"InVendita", "No"}},
                   {{"NomeProgetto", "empty"}, {"InVendita", ""}},
                   {{"NomeProgetto", "other"}, {"InVendita", "x"}}});

        TfrmArmi_Disponibili setList(sets());
        setList.show();
        QStringList names;
        for (const QString &l : lines(setList))
            names << l.left(28).trimmed();
        QCOMPARE(names, QStringList({"yes", "yes blank"}));
        QCOMPARE(setList.windowTitle(), QStringLiteral(" Riepilogo set BLOKKO in vendita"));
        QCOMPARE(setList.lblRigo03->text(),
                 QStringLiteral("Fare doppio clic su una voce in elenco per richiamare la scheda"));
        QCOMPARE(setList.focusWidget(), setList.txtTrova);
        QVERIFY(!setList.lblTrovate);

        TfrmInVendita mocList(mocs());
        mocList.show();
        names.clear();
        for (const QString &l : lines(mocList))
            names << l.left(28).trimmed();
        QCOMPARE(names, QStringList({"empty", "other", "yes"}));
        QCOMPARE(mocList.windowTitle(), QStringLiteral(" Riepilogo MOC in vendita"));
        QCOMPARE(mocList.lblRigo03->text(),
                 QStringLiteral("Fare doppio clic sulla voce in elenco per richiamare la scheda"));
    }

    void summaryOverAMissingCatalogue()
    {
        TfrmArmi_Disponibili w(sets());
        w.show();
        QCOMPARE(w.results()->count(), 0);
        QVERIFY(QFile::exists(folder->file("Catalogo_BLOKKO.pro")));
        QCOMPARE(services->texts(), QStringList());
    }

    // ---- large lists ----------------------------------------------------------

    // A catalogue large enough to be read in two halves at once, with names
    // that differ only in case, accents, code-page signs, blanks and lengths,
    // and identical lines far apart.
    QList<Fields> variedCards(bool moc) const
    {
        const QStringList pieces = {"a", "A", "b", "B", "z", "Z", "_", "[", QString::fromUtf8("è"),
                                    QString::fromUtf8("È"), QString::fromUtf8("€"),
                                    QString(QChar(0x81)), QString::fromUtf8("ÿ"), " ", "1", "10",
                                    "9", QString(31, QLatin1Char('m'))};
        quint32 seed = 12345;
        const auto next = [&](int n) {
            seed = seed * 1103515245u + 12345u;
            return int((seed >> 16) % quint32(n));
        };
        const auto text = [&](int most) {
            QString t;
            for (int k = next(most + 1); k > 0; --k)
                t += pieces.at(next(int(pieces.size())));
            return t;
        };
        QList<Fields> cards;
        for (int i = 0; i < 1500; ++i) {
            const QString money = QStringList({"1", "10", "1,00", "9", ""}).at(next(5));
            const QString forSale = QStringList({QString::fromUtf8("Sì"), "No", "", "x"}).at(next(4));
            if (moc)
                cards.append({{"NomeProgetto", text(3)}, {"CodiceID", text(2)}, {"Tema", text(1)},
                              {"Designer", text(2)}, {"Scala", text(1)}, {"CostoTotale", money},
                              {"InVendita", forSale}});
            else
                cards.append({{"NomeSet", text(3)}, {"Tema", text(1)}, {"CodiceSet", text(2)},
                              {"NumeroPezzi", text(1)}, {"AnnoUscita", text(2)},
                              {"Valore", money}, {"InVendita", forSale}});
        }
        return cards;
    }

    void largeListsFollowTheSimpleRule_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("filters"); // control, text, control, text...
        QTest::newRow("sets, no filter") << false << "search" << QStringList();
        QTest::newRow("sets, capital letter") << false << "search" << QStringList({"txtMunizioni", "A"});
        QTest::newRow("sets, two filters") << false << "search"
                                           << QStringList({"txtMunizioni", "b", "txtAnno", "1"});
        QTest::newRow("sets, accent and blank") << false << "search"
                                                << QStringList({"txtArma", QString::fromUtf8("è"), "txtMunizioni", " "});
        QTest::newRow("sets for sale") << false << "summary" << QStringList();
        QTest::newRow("mocs, no filter") << true << "search" << QStringList();
        QTest::newRow("mocs, sign") << true << "search" << QStringList({"txtTitolo", QString::fromUtf8("€")});
        QTest::newRow("mocs for sale") << true << "summary" << QStringList();
    }
    void largeListsFollowTheSimpleRule()
    {
        QFETCH(bool, moc);
        QFETCH(QString, kind);
        QFETCH(QStringList, filters);
        const QList<Fields> cards = variedCards(moc);
        moc ? writeMocs(cards) : writeSets(cards);
        const RecordLayout &layout = moc ? Schede::TSchedaMOC : Schede::TSchedaSet;
        const auto columns = moc ? ResultLines::mocColumns() : ResultLines::setColumns();

        // The rule at its plainest: every record in turn, each filter as typed
        // found in its field with A-Z taken as a-z, the lines sorted one by one
        // in the list's order, equal lines in file order.
        QFile file(folder->file(moc ? QStringLiteral("Castelli.moc")
                                    : QStringLiteral("Catalogo_BLOKKO.pro")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray all = file.readAll();
        int filled = 0;
        for (int i = 1; i < filters.size(); i += 2)
            filled += Text::trim(filters[i]).isEmpty() ? 0 : 1;
        QList<QPair<QString, qint64>> expected;
        for (qint64 k = 0; k * layout.size < all.size(); ++k) {
            const char *record = all.constData() + k * layout.size;
            bool listed;
            if (kind == QLatin1String("summary")) {
                const QString flag = Record::textAt(record, layout.forSale());
                listed = moc ? flag != QLatin1String("No") : flag == QString::fromUtf8("Sì");
            } else {
                int found = 0;
                for (int i = 0; i + 1 < filters.size(); i += 2) {
                    const FieldDef *field = layout.fieldForControl(filters[i].toStdString());
                    const QString needle = Text::foldAZ(filters[i + 1]);
                    if (!needle.isEmpty()
                        && Text::foldAZ(Record::textAt(record, *field)).contains(needle))
                        ++found;
                }
                listed = found >= filled;
            }
            if (listed)
                expected.append({ResultLines::build(record, layout, columns), k});
        }
        std::stable_sort(expected.begin(), expected.end(), [](const auto &a, const auto &b) {
            return Text::lessFoldingAZ(a.first, b.first);
        });
        QVERIFY(expected.size() > 10);

        std::unique_ptr<ListWindow> w;
        CardHost *editor = moc ? static_cast<CardHost *>(mocs()) : sets();
        if (kind == QLatin1String("summary")) {
            w.reset(moc ? static_cast<ListWindow *>(new TfrmInVendita(editor))
                        : new TfrmArmi_Disponibili(editor));
            const QAbstractItemModelTester tester(w->results(), QAbstractItemModelTester::FailureReportingMode::QtTest);
            w->show();
        } else {
            w.reset(moc ? static_cast<ListWindow *>(new TfrmTrovaCartoline(editor))
                        : new TfrmTrovaArmi(editor));
            w->show();
            QList<QPair<const char *, QString>> typed;
            QList<QByteArray> names;
            for (int i = 0; i + 1 < filters.size(); i += 2)
                names.append(filters[i].toLatin1());
            for (int i = 0; i + 1 < filters.size(); i += 2)
                typed.append({names[i / 2].constData(), filters[i + 1]});
            search(*w, typed);
        }
        QList<QPair<QString, qint64>> shown;
        for (int row = 0; row < w->results()->count(); ++row)
            shown.append({w->results()->entry(row).line, w->results()->entry(row).record});
        QCOMPARE(shown.size(), expected.size());
        for (int row = 0; row < shown.size(); ++row)
            QCOMPARE(shown[row], expected[row]);
    }

    void aLongScanCanBeCancelled_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("escape");
        QTest::newRow("set search, Annulla") << "frmTrovaArmi" << false;
        QTest::newRow("set search, Esc") << "frmTrovaArmi" << true;
        QTest::newRow("moc search, Esc") << "frmTrovaCartoline" << true;
        QTest::newRow("set summary, Annulla") << "frmArmi_Disponibili" << false;
        QTest::newRow("moc summary, Esc") << "frmInVendita" << true;
    }
    void aLongScanCanBeCancelled()
    {
        QFETCH(QString, window);
        QFETCH(bool, escape);
        writeSets(variedCards(false));
        writeMocs(variedCards(true));
        const bool moc = window.contains(QLatin1String("Cartoline")) || window == QLatin1String("frmInVendita");
        CardHost *editor = moc ? static_cast<CardHost *>(mocs()) : sets();
        std::unique_ptr<ListWindow> w;
        if (window == QLatin1String("frmTrovaArmi"))
            w.reset(new TfrmTrovaArmi(editor));
        else if (window == QLatin1String("frmTrovaCartoline"))
            w.reset(new TfrmTrovaCartoline(editor));
        else if (window == QLatin1String("frmArmi_Disponibili"))
            w.reset(new TfrmArmi_Disponibili(editor));
        else
            w.reset(new TfrmInVendita(editor));
        const bool isSearch = w->btnCerca != nullptr;

        // The scan holds still once the file is open, until it is cancelled,
        // and the window shows at once that it is working.
        Tuning tuning = Tuning::current();
        tuning.busyDelayMs = 0;
        tuning.scanPause = [](const std::atomic<bool> &cancelled) {
            while (!cancelled)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        std::optional<Tuning::Scoped> tuned(std::in_place, tuning);
        // Another window, which goes on taking input while the scan runs.
        QWidget other;
        auto *otherText = new QLineEdit(&other);
        auto *otherButton = new QPushButton(QStringLiteral("Altro"), &other);
        otherButton->move(0, 40);
        QSignalSpy otherClicks(otherButton, &QPushButton::clicked);
        other.show();
        bool seen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (!w->panLavoro->isVisible())
                return;
            poll.stop();
            seen = true;
            QCOMPARE(w->btnInterrompi->text(), QStringLiteral("Annulla"));
            QCOMPARE(w->lblLavoro->text(), QStringLiteral("Lettura dell'archivio in corso..."));
            if (isSearch) {
                // Nothing else takes input meanwhile.
                QTest::keyClicks(w->filter(moc ? "txtTitolo" : "txtMunizioni"), QStringLiteral("xy"));
                QTest::mouseClick(w->btnAnnulla, Qt::LeftButton);
                QVERIFY(w->isVisible());
            }
            QTest::keyClicks(otherText, QStringLiteral("ok"));
            QTest::mouseClick(otherButton, Qt::LeftButton);
            if (escape)
                QTest::keyClick(w->focusWidget() ? w->focusWidget() : w.get(), Qt::Key_Escape);
            else
                QTest::mouseClick(w->btnInterrompi, Qt::LeftButton);
        });
        poll.start(5);
        w->show();
        if (isSearch) {
            w->filter(moc ? "txtTitolo" : "txtMunizioni")->setText(QStringLiteral("a"));
            QTest::mouseClick(w->btnCerca, Qt::LeftButton);
        }
        tuned.reset();
        QVERIFY(seen);
        QCOMPARE(otherText->text(), QStringLiteral("ok"));
        QCOMPARE(otherClicks.count(), 1);
        QVERIFY(!w->panLavoro->isVisible());
        QCOMPARE(w->results()->count(), 0);
        QCOMPARE(services->texts(), QStringList());
        if (isSearch) {
            // The filter page as it was before "Cerca".
            QVERIFY(w->isVisible());
            QVERIFY(w->panAvvio->isVisible());
            QVERIFY(!w->panContainer->isVisible());
            QVERIFY(!w->lblAttendere->isVisible());
            QCOMPARE(w->lblConta->text(), QStringLiteral("0"));
            QCOMPARE(w->filter(moc ? "txtTitolo" : "txtMunizioni")->text(), QStringLiteral("a"));
            // And "Cerca" works again.
            QTest::mouseClick(w->btnCerca, Qt::LeftButton);
            QVERIFY(w->panContainer->isVisible());
            QVERIFY(w->results()->count() > 0);
            QCOMPARE(w->lblConta->text(), QStringLiteral("1"));
        } else {
            // Back to the editor, as before the list was asked for.
            QTRY_VERIFY(!w->isVisible());
        }
    }

    // ---- the memory of the lists ------------------------------------------------

    // An array written past the room reserved for it moves to a larger
    // block with its values; it never writes past its block.
    void bigArraysGrowPastTheirRoom_data()
    {
        QTest::addColumn<int>("reserved");
        QTest::addColumn<int>("written");
        QTest::newRow("no room at all") << 0 << 1000;
        QTest::newRow("room for three") << 3 << 5000;
        QTest::newRow("a run larger than the doubled room") << 16 << 3000000;
    }
    void bigArraysGrowPastTheirRoom()
    {
#ifndef QT_NO_DEBUG
        QSKIP("a debug build stops where less room was reserved than written");
#endif
        QFETCH(int, reserved);
        QFETCH(int, written);
        platform::BigArray<quint32> values{std::size_t(reserved)};
        for (int i = 0; i < written; ++i)
            values.push_back(quint32(i) * 7u);
        platform::BigArray<char> bytes{std::size_t(reserved)};
        std::memset(bytes.grow(std::size_t(written)), 'x', std::size_t(written));
        bytes.push_back('y');
        QCOMPARE(values.size(), std::size_t(written));
        QVERIFY(values.capacity() >= values.size());
        for (int i = 0; i < written; ++i)
            if (values[std::size_t(i)] != quint32(i) * 7u)
                QFAIL(qPrintable(QStringLiteral("value %1 lost in the move").arg(i)));
        QCOMPARE(bytes.size(), std::size_t(written) + 1);
        QCOMPARE(std::count(bytes.begin(), bytes.end(), 'x'), std::ptrdiff_t(written));
        QCOMPARE(bytes[std::size_t(written)], 'y');
        QVERIFY_THROWS_EXCEPTION(std::length_error, bytes.resize(bytes.capacity() + 1));

        // A list part given less room than its lines.
        std::vector<LineList::Part> parts(1);
        parts[0].reserve(1, 4);
        QStringList expected;
        for (int i = 0; i < 300; ++i) {
            const QByteArray line = QByteArray::number((i * 37) % 300).rightJustified(3, '0') + QByteArray(i % 40, 'z');
            parts[0].add(line, i);
            expected << QString::fromLatin1(line);
        }
        parts[0].sort();
        const LineList list = LineList::merge(std::move(parts));
        std::sort(expected.begin(), expected.end());
        QStringList shown;
        for (qsizetype row = 0; row < list.size(); ++row)
            shown << list.text(row);
        QCOMPARE(shown, expected);
    }

    // ---- the editors open their lists ----------------------------------------

    void editorsOpenTheirLists_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("marker");
        QTest::newRow("set search") << false << "cmdTrova" << "frmTrovaArmi" << "armi";
        QTest::newRow("set summary") << false << "cmdSegnalati" << "frmArmi_Disponibili" << "";
        QTest::newRow("moc search") << true << "cmdTrova" << "frmTrovaCartoline" << "cartoline";
        QTest::newRow("moc summary") << true << "cmdCercaDisponibili" << "frmInVendita" << "";
    }
    void editorsOpenTheirLists()
    {
        QFETCH(bool, moc);
        QFETCH(QString, command);
        QFETCH(QString, window);
        QFETCH(QString, marker);
        CardEditor *editor = moc ? static_cast<CardEditor *>(mocs()) : sets();
        if (moc)
            roster->handOver(sets(), mocs());
        Picture *p = editor->command(command.toStdString());
        QVERIFY(p);
        const auto checkAndClose = [&](QWidget *modal) {
            auto *list = qobject_cast<ListWindow *>(modal);
            QVERIFY(list);
            QCOMPARE(list->objectName(), window);
            QCOMPARE(list->parentWidget(), editor);
            if (list->lblMemory)
                QCOMPARE(list->lblMemory->text(), marker);
            list->close();
        };
        QVERIFY(withModal([&] { QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center()); },
                          checkAndClose));
    }
};

VETRINORA_TEST_MAIN(TestSearch)
#include "test_search.moc"
