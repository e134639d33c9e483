// The collection window in the running program: reached from the start
// screen and from both editors, its totals, opening a card in its editor,
// copying, printing, deleting and restoring, through its named controls.

#include "TestSupport.h"

#include "core/cards/Schede.h"
#include "core/collection/CardFile.h"
#include "core/collection/Cestino.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Widgets.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/collection/TfrmCollezione.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using Fields = CardFields;

class TestCollectionWindow : public ProgramTest {
    Q_OBJECT

    TfrmCollezione *window() const { return roster->frmCollezione(); }

    void writeCatalogue()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", "Faro"}, {"Valore", "30,00"}, {"InVendita", "Sì"}},
                            {{"NomeSet", "Castello"}, {"Valore", "abc"}, {"InVendita", "No"}},
                            {{"NomeSet", "Drago"}, {"Valore", "12,50"}, {"InVendita", "No"}}});
        folder->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC,
                           {{{"NomeProgetto", "Torre"}, {"CostoTotale", "5,00"}, {"InVendita", "Sì"}}});
    }

    void openFromStart()
    {
        roster->showWindow(roster->frmAvvio());
        QTest::mouseClick(roster->frmAvvio()->imgCollezione, Qt::LeftButton);
        QVERIFY(window()->isVisible());
        QVERIFY(!roster->frmAvvio()->isVisible());
    }

    void selectRows(const QList<int> &rows)
    {
        window()->grdSchede->clearSelection();
        for (int r : rows)
            window()->grdSchede->selectionModel()->select(
                window()->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        window()->grdSchede->selectionModel()->setCurrentIndex(window()->model()->index(rows.front(), 0),
                                                               QItemSelectionModel::NoUpdate);
    }

private slots:
    // From the start screen: the set catalogue with its totals; the whole
    // collection with the archive; closing goes back to the start screen.
    void startScreenAndTotals()
    {
        writeCatalogue();
        openFromStart();
        QCOMPARE(window()->cmbCatalogo->currentText(), QStringLiteral("Catalogo BLOKKO"));
        QCOMPARE(window()->lblConteggio->text(), QStringLiteral("3 schede su 3"));
        QCOMPARE(window()->lblTotaleCollezione->text(),
                 QStringLiteral("Catalogo BLOKKO: 3 schede, valore 42,50 €; in vendita 1 scheda per "
                                "30,00 € (1 importo illeggibile non sommato)"));
        QCOMPARE(window()->lblIllegibili->text(),
                 QStringLiteral("Importi illeggibili: Catalogo BLOKKO, scheda 2: «abc»"));
        QCOMPARE(window()->lblTotaleSelezione->text(),
                 QStringLiteral("Selezione: 0 schede, valore 0,00 €; in vendita 0 schede per 0,00 €"));
        QTest::keyClicks(window()->txtFiltro, "dr");
        QCOMPARE(window()->lblConteggio->text(), QStringLiteral("1 scheda su 3"));
        QCOMPARE(window()->lblTotaleFiltro->text(),
                 QStringLiteral("Schede filtrate: 1 scheda, valore 12,50 €; in vendita 0 schede per 0,00 €"));
        selectRows({0});
        QCOMPARE(window()->lblTotaleSelezione->text(),
                 QStringLiteral("Selezione: 1 scheda, valore 12,50 €; in vendita 0 schede per 0,00 €"));

        window()->cmbCatalogo->setCurrentIndex(window()->cmbCatalogo->findText(QStringLiteral("Tutta la collezione")));
        emit window()->cmbCatalogo->activated(window()->cmbCatalogo->currentIndex());
        QCOMPARE(window()->txtFiltro->text(), QString());
        QCOMPARE(window()->lblTotaleCollezione->text(),
                 QStringLiteral("Tutta la collezione: 4 schede, valore 47,50 €; in vendita 2 schede per "
                                "35,00 € (1 importo illeggibile non sommato)"));
        QCOMPARE(window()->cmbCatalogo->count(), 3);
        QTest::mouseClick(window()->btnEsci, Qt::LeftButton);
        QVERIFY(roster->frmAvvio()->isVisible());
        QVERIFY(!window()->isVisible());
    }

    // Each editor has the new command; closing the window returns to it.
    void fromEditors_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<bool>("shortcut");
        QTest::newRow("set editor, button") << false << false;
        QTest::newRow("set editor, Ctrl+L") << false << true;
        QTest::newRow("MOC editor, button") << true << false;
    }

    void fromEditors()
    {
        QFETCH(bool, moc);
        QFETCH(bool, shortcut);
        writeCatalogue();
        CardEditor *editor = moc ? static_cast<CardEditor *>(roster->frmCartoline())
                                 : static_cast<CardEditor *>(roster->frmArmi());
        roster->showWindow(editor);
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        Picture *command = editor->command("cmdCollezione");
        QVERIFY(command);
        // Beyond the last toolbar band: no command stands there.
        for (Picture *other : editor->findChildren<Picture *>())
            if (other != command && other->isVisible() && other->geometry().intersects(command->geometry()))
                QFAIL(qPrintable(other->objectName()));
        if (shortcut) {
            editor->activateWindow();
            QTest::keyClick(editor, Qt::Key_L, Qt::ControlModifier);
        } else {
            QTest::mouseClick(command, Qt::LeftButton);
        }
        QVERIFY(window()->isVisible());
        QVERIFY(!editor->isVisible());
        window()->close();
        QVERIFY(editor->isVisible());
    }

    // Double click or Enter shows the card in its editor at its position.
    void openInEditor_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("position");
        QTest::newRow("set, double click") << "Catalogo BLOKKO" << false << "Drago" << "3";
        QTest::newRow("set, Enter") << "Catalogo BLOKKO" << true << "Drago" << "3";
        QTest::newRow("archive") << "Castelli" << false << "Torre" << "1";
    }

    void openInEditor()
    {
        QFETCH(QString, catalogue);
        QFETCH(bool, enter);
        QFETCH(QString, name);
        QFETCH(QString, position);
        writeCatalogue();
        openFromStart();
        window()->cmbCatalogo->setCurrentIndex(window()->cmbCatalogo->findText(catalogue));
        emit window()->cmbCatalogo->activated(window()->cmbCatalogo->currentIndex());
        // Sorted by name, then filtered down to the wanted card.
        window()->grdSchede->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
        QCOMPARE(window()->model()->text(window()->model()->rowCount() - 1, 0),
                 catalogue == QStringLiteral("Castelli") ? name : QStringLiteral("Castello"));
        QTest::keyClicks(window()->txtFiltro, name.toLower());
        QCOMPARE(window()->model()->rowCount(), 1);
        QCOMPARE(window()->model()->text(0, 0), name);
        selectRows({0});
        if (enter) {
            QTest::keyClick(window()->grdSchede, Qt::Key_Return);
        } else {
            const QRect cell = window()->grdSchede->visualRect(window()->model()->index(0, 0));
            QVERIFY(QTest::qWaitForWindowExposed(window()));
            QTest::mousePress(window()->grdSchede->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseRelease(window()->grdSchede->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(window()->grdSchede->viewport(), Qt::LeftButton, {}, cell.center());
        }
        CardEditor *editor = catalogue == QStringLiteral("Castelli")
                                 ? static_cast<CardEditor *>(roster->frmCartoline())
                                 : static_cast<CardEditor *>(roster->frmArmi());
        QVERIFY(editor->isVisible());
        QVERIFY(!window()->isVisible());
        QCOMPARE(editor->lblPosizione->text(), position);
        QCOMPARE(editor->field(editor->config().layout->fields.front().control)->text(), name);
        if (editor == roster->frmCartoline())
            QCOMPARE(roster->frmCartoline()->lblNome->text(), QStringLiteral("Castelli"));
        // The editor goes on from there as after navigation.
        if (editor == roster->frmArmi()) {
            QTest::mouseClick(editor->command("cmdIndietro"), Qt::LeftButton);
            QCOMPARE(editor->lblPosizione->text(), QStringLiteral("2"));
        }
    }

    void copyAndPrint()
    {
        writeCatalogue();
        openFromStart();
        selectRows({0, 2});
        QTest::mouseClick(window()->btnCopia, Qt::LeftButton);
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4); // heading, two cards, the closing line break
        QVERIFY(lines.at(0).startsWith(QStringLiteral("Nome set\tTema\t")));
        QVERIFY(lines.at(1).startsWith(QStringLiteral("Faro\t")));
        QVERIFY(lines.at(2).startsWith(QStringLiteral("Drago\t")));
        QCOMPARE(lines.at(1).count(QLatin1Char('\t')), lines.at(0).count(QLatin1Char('\t')));

        QTest::mouseClick(window()->btnStampa, Qt::LeftButton);
        QCOMPARE(services->printed.size(), 1);
        QCOMPARE(services->printed.front().job.layout.orientation(), QPageLayout::Landscape);
        QCOMPARE(services->printed.front().job.layout.pageSize().id(), QPageSize::A4);
        QVERIFY(services->printed.front().job.pageCount >= 1);
    }

    // Deleting asks first, naming the cards; No leaves everything, Yes
    // moves them into the bin, from which Ripristina brings them back.
    void deleteAndRestore()
    {
        writeCatalogue();
        openFromStart();
        selectRows({0, 2});
        services->answers.enqueue(platform::Button::No);
        QTest::mouseClick(window()->btnElimina, Qt::LeftButton);
        const QString question = QStringLiteral(
            "Eliminare le 2 schede?\r\n\r\nCatalogo BLOKKO, scheda 1: Faro\r\nCatalogo BLOKKO, "
            "scheda 3: Drago\r\n\r\nLe schede eliminate e le loro foto vanno nel Cestino, da cui si "
            "possono ripristinare.");
        QCOMPARE(services->texts(), QStringList{question});
        QCOMPARE(services->messages.front().kind, platform::MessageKind::Confirmation);
        QCOMPARE(window()->model()->rowCount(), 3);

        services->answers.enqueue(platform::Button::Yes);
        QTest::mouseClick(window()->btnElimina, Qt::LeftButton);
        QCOMPARE(window()->model()->rowCount(), 1);
        QCOMPARE(window()->model()->text(0, 0), QStringLiteral("Castello"));
        QCOMPARE(Cestino::entries().size(), 1);

        const bool shown = withModal([&] { QTest::mouseClick(window()->btnCestino, Qt::LeftButton); },
                                     [](QWidget *dialog) {
                                         auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lstCestino"));
                                         QVERIFY(list);
                                         QCOMPARE(list->count(), 1);
                                         QVERIFY(list->item(0)->text().endsWith(QStringLiteral(" - Catalogo BLOKKO: Faro, Drago")));
                                         QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnRipristina")),
                                                           Qt::LeftButton);
                                     });
        QVERIFY(shown);
        QCOMPARE(window()->model()->rowCount(), 3);
        QCOMPARE(window()->model()->text(1, 0), QStringLiteral("Faro"));
        QCOMPARE(window()->model()->text(2, 0), QStringLiteral("Drago"));
        QVERIFY(Cestino::entries().isEmpty());
    }
};

VETRINORA_TEST_MAIN(TestCollectionWindow)
#include "test_collection_window.moc"
