// The collection window in the running program: reached from the start
// screen and from both editors, its totals, opening a card in its editor,
// copying, printing, deleting and restoring, through its named controls.

#include "TestSupport.h"

#include "core/cards/Schede.h"
#include "core/collection/CardFile.h"
#include "core/collection/Cestino.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Tuning.h"
#include "ui/base/Widgets.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/base/FlowLayout.h"
#include "ui/collection/TfrmCollezione.h"
#include "core/transfer/CsvImport.h"
#include "ui/transfer/TfrmImporta.h"
#include "ui/transfer/TransferCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QSettings>
#include <QAbstractButton>
#include "core/app/HelpTopics.h"
#include "ui/base/HelpWindows.h"
#include <QDir>
#include <QHeaderView>
#include <QTextEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Fields = CardFields;

namespace {

// Answers the modal windows that come up one after another while `opening`
// runs, each by its handler in turn; true when every handler ran.
bool withModals(const std::function<void()> &opening, QList<std::function<void(QWidget *)>> handlers)
{
    int next = 0;
    QPointer<QWidget> last;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == last || next >= handlers.size())
            return;
        last = modal;
        handlers[next++](modal);
    });
    watch.start(5);
    opening();
    return next == handlers.size() && !QTest::currentTestFailed();
}

void click(QWidget *window, const char *name)
{
    auto *b = window->findChild<QPushButton *>(QString::fromLatin1(name));
    QVERIFY2(b, name);
    b->click();
}

QStringList csvFirstColumn(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("(manca)")};
    QStringList first;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            first << QString::fromUtf8(line.split(',').front()).remove(QChar(0xFEFF)).remove(QLatin1Char('"'));
    return first;
}

} // namespace

class TestCollectionWindow : public ProgramTest {
    Q_OBJECT

    TfrmCollezione *window() const { return roster->frmCollezione(); }

    void showCatalogue(const QString &name)
    {
        window()->cmbCatalogo->setCurrentIndex(window()->cmbCatalogo->findText(name));
        emit window()->cmbCatalogo->activated(window()->cmbCatalogo->currentIndex());
    }

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

    // A large collection shows its rows at once and its totals right after
    // the table is drawn; a sort by value before then reads the amounts
    // first, and a file that grew in between is shown as it is now.
    // Amounts in the thousands read as an Italian reader writes them; a
    // click on "Data acquisto" puts the purchases in date order, the ones
    // that are no date after them.
    void thousandsAndDatesAsPeopleReadThem()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", "Faro"}, {"Valore", "41000,00"}, {"DataAcquisto", "01/03/2023"},
                             {"InVendita", "Sì"}},
                            {{"NomeSet", "Drago"}, {"Valore", "144,18"}, {"DataAcquisto", "02/02/2019"}},
                            {{"NomeSet", "Nave"}, {"Valore", "0,00"}, {"DataAcquisto", "regalo"}},
                            {{"NomeSet", "Torre"}, {"Valore", "0,00"}, {"DataAcquisto", "04/05/2021"}}});
        openFromStart();
        QCOMPARE(window()->lblTotaleCollezione->text(),
                 QStringLiteral("Catalogo BLOKKO: 4 schede, valore 41.144,18 €; in vendita 1 scheda per "
                                "41.000,00 €"));
        int date = -1;
        for (int c = 0; c < window()->model()->columnCount(); ++c)
            if (window()->model()->headerData(c, Qt::Horizontal).toString() == QStringLiteral("Data acquisto"))
                date = c;
        QVERIFY(date >= 0);
        QHeaderView *header = window()->grdSchede->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(date) + header->sectionSize(date) / 2,
                                 header->height() / 2));
        QStringList shown;
        for (int r = 0; r < window()->model()->rowCount(); ++r)
            shown << window()->model()->index(r, date).data().toString();
        QCOMPARE(shown, (QStringList{"02/02/2019", "04/05/2021", "01/03/2023", "regalo"}));
    }

    void largeCollectionTotalsFollowTheRows_data()
    {
        QTest::addColumn<QString>("before"); // what happens before the totals come
        QTest::newRow("nothing") << "";
        QTest::newRow("sort by value") << "sort";
        QTest::newRow("a card added") << "add";
    }
    void largeCollectionTotalsFollowTheRows()
    {
        QFETCH(QString, before);
        writeCatalogue();
        Tuning tuning = Tuning::current();
        tuning.deferredLoadCards = 1;
        const Tuning::Scoped tuned(tuning);
        roster->showWindow(roster->frmAvvio());
        QTest::mouseClick(roster->frmAvvio()->imgCollezione, Qt::LeftButton);
        QCOMPARE(window()->lblConteggio->text(), QStringLiteral("3 schede su 3"));
        QCOMPARE(window()->lblTotaleCollezione->text(),
                 QStringLiteral("Catalogo BLOKKO: 3 schede, calcolo dei valori in corso..."));
        QCOMPARE(window()->lblTotaleFiltro->text(),
                 QStringLiteral("Schede filtrate: 3 schede, calcolo dei valori in corso..."));
        QCOMPARE(window()->model()->text(2, 0), QStringLiteral("Drago"));
        QString total = QStringLiteral("Catalogo BLOKKO: 3 schede, valore 42,50 €; in vendita 1 scheda per "
                                       "30,00 € (1 importo illeggibile non sommato)");
        if (before == QLatin1String("sort")) {
            int value = -1;
            for (int c = 0; c < window()->model()->columnCount(); ++c)
                if (window()->model()->columnList().at(c).caption == QLatin1String("Valore"))
                    value = c;
            QVERIFY(value >= 0);
            window()->grdSchede->horizontalHeader()->setSortIndicator(value, Qt::AscendingOrder);
            // Numbers by their value, the unreadable amount after them.
            QCOMPARE(window()->model()->text(0, 0), QStringLiteral("Drago"));
            QCOMPARE(window()->model()->text(1, 0), QStringLiteral("Faro"));
            QCOMPARE(window()->model()->text(2, 0), QStringLiteral("Castello"));
        } else if (before == QLatin1String("add")) {
            folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                               {{{"NomeSet", "Faro"}, {"Valore", "30,00"}, {"InVendita", "Sì"}},
                                {{"NomeSet", "Castello"}, {"Valore", "abc"}, {"InVendita", "No"}},
                                {{"NomeSet", "Drago"}, {"Valore", "12,50"}, {"InVendita", "No"}},
                                {{"NomeSet", "Nave"}, {"Valore", "1,00"}}});
            total = QStringLiteral("Catalogo BLOKKO: 4 schede, valore 43,50 €; in vendita 1 scheda per "
                                   "30,00 € (1 importo illeggibile non sommato)");
        }
        QTRY_COMPARE(window()->lblTotaleCollezione->text(), total);
        QCOMPARE(window()->lblIllegibili->text(),
                 QStringLiteral("Importi illeggibili: Catalogo BLOKKO, scheda 2: «abc»"));
        if (before == QLatin1String("add")) {
            QCOMPARE(window()->lblConteggio->text(), QStringLiteral("4 schede su 4"));
            QCOMPARE(window()->model()->text(3, 0), QStringLiteral("Nave"));
        }
        // The wait cursor of the reading is gone, also after a filter.
        QTest::keyClicks(window()->txtFiltro, "fa");
        QCOMPARE(window()->lblConteggio->text(),
                 before == QLatin1String("add") ? QStringLiteral("1 scheda su 4") : QStringLiteral("1 scheda su 3"));
        QVERIFY(!QApplication::overrideCursor());
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
                                         // The latest entry is offered selected; taken
                                         // away, nothing is framed and nothing restores.
                                         QVERIFY(list->item(0)->isSelected());
                                         QCOMPARE(list->currentRow(), 0);
                                         auto *restore = dialog->findChild<QPushButton *>(QStringLiteral("btnRipristina"));
                                         const QPoint entry = list->visualItemRect(list->item(0)).center();
                                         QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, entry);
                                         QVERIFY(list->selectedItems().isEmpty());
                                         QVERIFY(highlightIsSelection(list));
                                         QVERIFY(!restore->isEnabled());
                                         QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
                                         QVERIFY(list->item(0)->isSelected());
                                         QVERIFY(restore->isEnabled());
                                         QTest::mouseClick(restore, Qt::LeftButton);
                                     });
        QVERIFY(shown);
        QCOMPARE(window()->model()->rowCount(), 3);
        QCOMPARE(window()->model()->text(1, 0), QStringLiteral("Faro"));
        QCOMPARE(window()->model()->text(2, 0), QStringLiteral("Drago"));
        QVERIFY(Cestino::entries().isEmpty());
    }
    // Elimina definitivamente takes one entry out of the bin for good, Svuota
    // cestino all of them, each after a confirmation naming the cards lost.
    void binCanBeEmptied()
    {
        writeCatalogue();
        openFromStart();
        for (int row : {0, 0}) {
            selectRows({row});
            services->answers.enqueue(platform::Button::Yes);
            QTest::mouseClick(window()->btnElimina, Qt::LeftButton);
        }
        folder->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC,
                           {{{"NomeProgetto", "Torre"}, {"CostoTotale", "5,00"}}});
        Cestino::remove(CardFile::archiveNamed(QStringLiteral("Castelli")), {0});
        QCOMPARE(Cestino::entries().size(), 3);
        const QString firstGone = Cestino::entries().at(2).titles.join(QStringLiteral(", "));
        services->messages.clear();
        services->answers.enqueue(platform::Button::No);  // the first question: nothing goes
        services->answers.enqueue(platform::Button::Yes);
        services->answers.enqueue(platform::Button::Yes);
        const bool shown = withModal(
            [&] { QTest::mouseClick(window()->btnCestino, Qt::LeftButton); }, [&](QWidget *dialog) {
                auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lstCestino"));
                auto *purge = dialog->findChild<QPushButton *>(QStringLiteral("btnEliminaDefinitivamente"));
                auto *empty = dialog->findChild<QPushButton *>(QStringLiteral("btnSvuota"));
                QVERIFY(list && purge && empty);
                QCOMPARE(list->count(), 3);
                QTest::mouseClick(purge, Qt::LeftButton); // answered No
                QCOMPARE(list->count(), 3);
                QTest::mouseClick(purge, Qt::LeftButton); // the newest, chosen: the archive's card
                QCOMPARE(list->count(), 2);
                QTest::mouseClick(empty, Qt::LeftButton);
                QCOMPARE(list->count(), 0);
                QVERIFY(!purge->isEnabled() && !empty->isEnabled());
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
        QVERIFY(shown);
        QCOMPARE(firstGone, QStringLiteral("Torre"));
        QCOMPARE(services->texts(),
                 (QStringList{QStringLiteral("Eliminare definitivamente dal cestino 1 scheda di \"Castelli\": "
                                             "Torre?\r\n\r\nNon si potranno più ripristinare."),
                              QStringLiteral("Eliminare definitivamente dal cestino 1 scheda di \"Castelli\": "
                                             "Torre?\r\n\r\nNon si potranno più ripristinare."),
                              QStringLiteral("Svuotare il cestino? Saranno eliminate definitivamente 2 schede: "
                                             "Faro (Catalogo BLOKKO); Castello (Catalogo BLOKKO).\r\n\r\n"
                                             "Non si potranno più ripristinare.")}));
        QVERIFY(Cestino::entries().isEmpty());
        QVERIFY(QDir(Cestino::folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        // What was not in the bin stays as it was.
        QCOMPARE(window()->model()->rowCount(), 1);
    }

    // The keyboard: Tab leaves the table for the next control (the arrows
    // move inside it), F1 opens the topic of where the focus is, Esc closes.
    void keyboardTabHelpEscape_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("title");
        QTest::newRow("table") << "grdSchede" << "La finestra Collezione";
        QTest::newRow("filter") << "txtFiltro" << "La finestra Collezione";
        QTest::newRow("bin") << "btnCestino" << "Il Cestino";
        QTest::newRow("delete") << "btnElimina" << "Il Cestino";
        QTest::newRow("backup") << "cmdBackup" << "Copia di sicurezza e ripristino";
        QTest::newRow("restore") << "cmdRipristinaBackup" << "Copia di sicurezza e ripristino";
        QTest::newRow("CSV export") << "cmdEsportaCsv" << "File CSV e fogli di calcolo";
        QTest::newRow("CSV import") << "cmdImportaCsv" << "File CSV e fogli di calcolo";
    }
    void keyboardTabHelpEscape()
    {
        QFETCH(QString, focus);
        QFETCH(QString, title);
        writeCatalogue();
        openFromStart();
        QVERIFY(QTest::qWaitForWindowActive(window()));
        window()->grdSchede->setFocus();
        window()->grdSchede->setCurrentIndex(window()->model()->index(0, 0));
        QTest::keyClick(window()->grdSchede, Qt::Key_Down);
        QCOMPARE(window()->grdSchede->currentIndex().row(), 1);
        QTest::keyClick(window()->grdSchede, Qt::Key_Tab);
        QVERIFY(window()->focusWidget() != window()->grdSchede);
        QVERIFY(qobject_cast<QAbstractButton *>(window()->focusWidget()));

        QWidget *w = window()->findChild<QWidget *>(focus);
        QVERIFY(w);
        w->setFocus();
        HelpTopics::Topic expected;
        for (const HelpTopics::Topic &t : {HelpTopics::collection(), HelpTopics::bin(), HelpTopics::backup(),
                                           HelpTopics::spreadsheets()})
            if (t.title == title)
                expected = t;
        QVERIFY(!expected.paragraphs.isEmpty());
        const bool shown = withModal([&] { QTest::keyClick(w, Qt::Key_F1); }, [&](QWidget *help) {
            auto *guida = qobject_cast<TfrmGuida *>(help);
            QVERIFY(guida);
            QCOMPARE(guida->txtGuida->toPlainText(), expected.text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            guida->close();
        });
        QVERIFY(shown);
        QVERIFY(window()->isVisible());
        window()->activateWindow(); // the help window gone, as a desktop gives it back
        QVERIFY(QTest::qWaitForWindowActive(window()));
        QTest::keyClick(window()->focusWidget(), Qt::Key_Escape);
        QVERIFY(!window()->isVisible());
        QVERIFY(roster->frmAvvio()->isVisible());
    }

    // The window comes back at the size and place it was left.
    void geometryIsRemembered()
    {
        writeCatalogue();
        openFromStart();
        window()->showNormal();
        const QRect placed(40, 50, 900, 640);
        window()->setGeometry(placed);
        QTRY_COMPARE(window()->geometry(), placed);
        QTest::mouseClick(window()->btnEsci, Qt::LeftButton);
        QVERIFY(!window()->isVisible());
        window()->setGeometry(QRect(0, 0, 300, 200));
        openFromStart();
        QTRY_COMPARE(window()->geometry(), placed);
        QVERIFY(!window()->isMaximized());
        // A settings file that does not hold a geometry: maximised, as the
        // first time.
        QTest::mouseClick(window()->btnEsci, Qt::LeftButton);
        QSettings(folder->file(QStringLiteral("Collezione.ini")), QSettings::IniFormat)
            .setValue(QStringLiteral("Finestra/Geometria"), QByteArray("../../rotta"));
        openFromStart();
        QTRY_VERIFY(window()->isMaximized());
    }

    // From the smallest screen to 4K, at the scale this run has
    // (QT_SCALE_FACTOR 1, 1.5 and 2 in three runs): no button is narrower
    // than its text, every button lies inside what the window can scroll
    // to, and no column heading is cut.
    void fitsAtEverySize_data()
    {
        QTest::addColumn<QSize>("screen");
        for (const QSize size : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080),
                                 QSize(3840, 2160)})
            QTest::addRow("%dx%d", size.width(), size.height()) << size;
    }
    void fitsAtEverySize()
    {
        QFETCH(QSize, screen);
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", "Castello Medievale con fossato e ponte levatoio"},
                             {"LuogoConservazione", "Soffitta, scaffale in alto"}, {"Valore", "41000,00"}},
                            {{"NomeSet", "Faro"}, {"Valore", "12,50"}}});
        openFromStart();
        const qreal scale = window()->devicePixelRatioF();
        window()->showNormal();
        const QSize logical(int(screen.width() / scale), int(screen.height() / scale));
        window()->resize(logical);
        QTRY_COMPARE(window()->size(), logical);
        QCoreApplication::processEvents();
        QWidget *stage = window()->panel()->parentWidget();
        const QRect reachable = stage->rect();
        for (QAbstractButton *b : window()->panel()->findChildren<QAbstractButton *>()) {
            if (!b->isVisibleTo(window()))
                continue;
            QVERIFY2(b->width() >= b->sizeHint().width(),
                     qPrintable(QStringLiteral("%1 is %2 px for %3").arg(b->objectName()).arg(b->width()).arg(b->sizeHint().width())));
            const QRect where(b->mapTo(stage, QPoint(0, 0)), b->size());
            QVERIFY2(reachable.contains(where), qPrintable(b->objectName() + QStringLiteral(" out of reach")));
        }
        for (QLabel *l : window()->panel()->findChildren<QLabel *>())
            if (l->isVisibleTo(window()) && !l->text().isEmpty() && !l->wordWrap())
                QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->objectName()));
        QHeaderView *header = window()->grdSchede->horizontalHeader();
        for (int c = 0; c < header->count(); ++c)
            if (!header->isSectionHidden(c))
                QVERIFY2(header->sectionSize(c) >= header->sectionSizeHint(c),
                         qPrintable(window()->model()->headerData(c, Qt::Horizontal).toString()));
        // A name that fits the column's limit is shown whole.
        const int name = 0;
        QVERIFY(header->sectionSize(name)
                >= window()->grdSchede->fontMetrics().horizontalAdvance(QStringLiteral("Castello Medievale con fossato")));
    }

    // Each column is as wide as the standard table makes it, which lays out
    // every sampled cell: the widest text may be short in letters (capitals),
    // hold letters beyond Latin-1, or be the second line of a note.
    void columnsFitTheirWidestText()
    {
        QList<CardFields> cards;
        for (int i = 0; i < 40; ++i)
            cards.append({{"NomeSet", QStringLiteral("illuminati lillipuziani %1").arg(i, 4, 10, QLatin1Char('0'))},
                          {"Tema", QStringLiteral("fili di lino %1").arg(i)},
                          {"Note", QStringLiteral("il filo\r\nlì")},
                          {"Valore", QStringLiteral("%1,50").arg(i)}});
        cards.append({{"NomeSet", QStringLiteral("MWMWMW MWMWMW")},
                      {"Tema", QStringLiteral("ŒŒŒŒ €€€€ ŠŠ")},
                      {"Note", QStringLiteral("breve\r\nuna seconda riga più larga di tutte")},
                      {"Valore", QStringLiteral("41000,00")}});
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, cards);
        openFromStart();
        QTableView plain;
        plain.setFont(window()->grdSchede->font());
        plain.setModel(window()->model());
        plain.verticalHeader()->setDefaultSectionSize(22);
        plain.horizontalHeader()->setSortIndicatorShown(true);
        plain.resize(window()->grdSchede->size());
        plain.show();
        QHeaderView *header = window()->grdSchede->horizontalHeader();
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            plain.resizeColumnToContents(c);
            QVERIFY2(header->sectionSize(c) == plain.columnWidth(c),
                     qPrintable(QStringLiteral("%1: %2 px, not %3").arg(window()->model()->headerData(c, Qt::Horizontal).toString()).arg(header->sectionSize(c)).arg(plain.columnWidth(c))));
        }
    }

    // The start screen's way in has its caption beside the icon.
    void startScreenCaption()
    {
        roster->showWindow(roster->frmAvvio());
        QLabel *caption = roster->frmAvvio()->findChild<QLabel *>(QStringLiteral("lblCollezione"));
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("Collezione"));
        QVERIFY(caption->width() >= caption->sizeHint().width());
        QTest::mouseClick(caption, Qt::LeftButton);
        QVERIFY(window()->isVisible());
    }

    // The transfer commands stand in the command row, in Tab order after the
    // bin and before closing, each with a mnemonic no other control uses.
    void transferCommandsInTheRow()
    {
        writeCatalogue();
        openFromStart();
        const QList<QPair<QPushButton *, QString>> expected = {
            {window()->cmdBackup, QStringLiteral("&Backup...")},
            {window()->cmdRipristinaBackup, QStringLiteral("&Ripristina backup...")},
            {window()->cmdEsportaCsv, QStringLiteral("&Esporta CSV...")},
            {window()->cmdEsportaXlsx, QStringLiteral("Esporta E&xcel...")},
            {window()->cmdImportaCsv, QStringLiteral("&Importa CSV...")},
            {window()->cmdStatistiche, QStringLiteral("&Statistiche")}};
        QWidget *previous = window()->btnCestino;
        QStringList mnemonics;
        for (const auto &[command, caption] : expected) {
            QCOMPARE(command->text(), caption);
            QVERIFY(command->isVisible());
            QCOMPARE(window()->panComandi->indexOf(command),
                     window()->panComandi->indexOf(previous) + 1);
            QCOMPARE(previous->nextInFocusChain(), command);
            previous = command;
        }
        // Then the switch to the gallery, then closing.
        QCOMPARE(previous->nextInFocusChain(), window()->chkGalleria);
        QCOMPARE(window()->chkGalleria->nextInFocusChain(), window()->btnEsci);
        for (QAbstractButton *b : window()->findChildren<QAbstractButton *>()) {
            const int amp = b->text().indexOf(QLatin1Char('&'));
            if (amp >= 0)
                mnemonics << b->text().mid(amp + 1, 1).toUpper();
        }
        mnemonics.sort();
        QCOMPARE(mnemonics, (QStringList{QStringLiteral("B"), QStringLiteral("E"), QStringLiteral("G"),
                                        QStringLiteral("I"), QStringLiteral("R"), QStringLiteral("S"),
                                        QStringLiteral("X")}));
        QCOMPARE(window()->cmdEsportaCsv->shortcut(), QKeySequence(Qt::ALT | Qt::Key_E));
        QTest::mouseClick(window()->cmdEsportaCsv, Qt::LeftButton);
        QCOMPARE(services->fileDialogs.size(), 1);
        QCOMPARE(services->fileDialogs.front().request.proposedName, QStringLiteral("Catalogo_BLOKKO.csv"));
    }

    // The .xlsx export takes the same cards as the CSV export: the filtered
    // ones of the catalogue shown.
    void exportXlsxOfTheFilteredCards()
    {
        writeCatalogue();
        openFromStart();
        showCatalogue(QStringLiteral("Catalogo BLOKKO"));
        QTest::keyClicks(window()->txtFiltro, QStringLiteral("dr"));
        QTemporaryDir out;
        const QString xlsx = out.filePath(QStringLiteral("uscita.xlsx"));
        services->chosenFiles.enqueue(xlsx);
        QCOMPARE(window()->cmdEsportaXlsx->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
        QTest::mouseClick(window()->cmdEsportaXlsx, Qt::LeftButton);
        QCOMPARE(services->fileDialogs.size(), 1);
        QCOMPARE(services->fileDialogs.front().request.proposedName, QStringLiteral("Catalogo_BLOKKO.xlsx"));
        QCOMPARE(services->fileDialogs.front().request.filters, QStringList{QStringLiteral("Cartelle di lavoro Excel (*.xlsx)")});
        QCOMPARE(services->texts(), QStringList{QString::fromUtf8("È stata esportata 1 scheda nel file Excel.")});
        const Transfer::Preview back = Transfer::preview(xlsx);
        QCOMPARE(back.rows.size(), 1);
        QCOMPARE(back.rows.at(0).value(0), QStringLiteral("Drago"));
        QCOMPARE(back.rows.at(0).value(back.headings.indexOf(QStringLiteral("Valore"))), QStringLiteral("12,5"));
    }

    // Export: the catalogue shown, or the cards the filter shows in their
    // order; from the whole collection, the file the user names.
    void exportCsv_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("asked"); // the file named in the question; none: no question
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("message");
        QTest::newRow("catalogue") << "Catalogo BLOKKO" << "" << ""
                                   << QStringList{"Nome set", "Faro", "Castello", "Drago"}
                                   << "Sono state esportate 3 schede nel file CSV.";
        QTest::newRow("catalogue filtered") << "Catalogo BLOKKO" << "dr" << ""
                                            << QStringList{"Nome set", "Drago"}
                                            << QString::fromUtf8("È stata esportata 1 scheda nel file CSV.");
        QTest::newRow("archive") << "Castelli" << "" << "" << QStringList{"Nome progetto", "Torre"}
                                 << QString::fromUtf8("È stata esportata 1 scheda nel file CSV.");
        QTest::newRow("whole collection, set catalogue filtered")
            << "Tutta la collezione" << "o" << "Catalogo BLOKKO"
            << QStringList{"Nome set", "Faro", "Castello", "Drago"} << "Sono state esportate 3 schede nel file CSV.";
        QTest::newRow("whole collection, filtered to other cards")
            << "Tutta la collezione" << "torre" << "Catalogo BLOKKO" << QStringList{"Nome set"}
            << "Sono state esportate 0 schede nel file CSV.";
        QTest::newRow("whole collection, archive") << "Tutta la collezione" << "" << "Castelli"
                                                   << QStringList{"Nome progetto", "Torre"}
                                                   << QString::fromUtf8("È stata esportata 1 scheda nel file CSV.");
    }

    void exportCsv()
    {
        QFETCH(QString, catalogue);
        QFETCH(QString, filter);
        QFETCH(QString, asked);
        writeCatalogue();
        openFromStart();
        showCatalogue(catalogue);
        QTest::keyClicks(window()->txtFiltro, filter);
        QTemporaryDir out;
        const QString csv = out.filePath(QStringLiteral("uscita.csv"));
        services->chosenFiles.enqueue(csv);
        if (asked.isEmpty()) {
            QTest::mouseClick(window()->cmdEsportaCsv, Qt::LeftButton);
        } else {
            QVERIFY(withModal([&] { QTest::mouseClick(window()->cmdEsportaCsv, Qt::LeftButton); },
                              [&](QWidget *dialog) {
                                  QCOMPARE(dialog->objectName(), QStringLiteral("frmDestinazione"));
                                  auto *box = dialog->findChild<QComboBox *>(QStringLiteral("cmbDestinazione"));
                                  QCOMPARE(box->count(), 2); // no new archive to export from
                                  box->setCurrentIndex(box->findText(asked));
                                  click(dialog, "btnContinua");
                              }));
        }
        QTEST(csvFirstColumn(csv), "names");
        QFETCH(QString, message);
        QCOMPARE(services->texts(), QStringList{message});
    }

    // Import into the catalogue shown, another or a new archive whose name
    // follows the rules of "Crea catalogo"; the window then shows the file
    // filled, with its counts.
    void importCsv_data()
    {
        QTest::addColumn<QString>("catalogue");  // shown when the command runs
        QTest::addColumn<QString>("into");       // chosen in the question
        QTest::addColumn<QStringList>("names");  // typed as the new archive's name, in turn
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("file");
        QTest::newRow("catalogue shown") << "Catalogo BLOKKO" << "" << QStringList{} << QStringList{}
                                         << "4 schede su 4" << "Catalogo_BLOKKO.pro";
        QTest::newRow("from the whole collection, the archive")
            << "Tutta la collezione" << "Castelli" << QStringList{} << QStringList{} << "2 schede su 2"
            << "Castelli.moc";
        QTest::newRow("new archive") << "Catalogo BLOKKO" << "Nuovo archivio di MOC"
                                     << QStringList{"", "Ponti?", QString(250, QLatin1Char('p')), "castelli",
                                                    "  Ponti  "}
                                     << QStringList{QString::fromUtf8("Attenzione: per creare l'archivio di MOC è necessario indicarne il nome."),
                                                    QString::fromUtf8("Attenzione: il nome dell'archivio di MOC indicato contiene caratteri non ammessi.\r\n\r\nNon è possibile utilizzare i caratteri \" * / : < > ? \\ ° Ç Ñ ç ñ né caratteri di controllo, né indicare come nome soltanto \".\" o \"..\"."),
                                                    QString::fromUtf8("Attenzione: il nome dell'archivio di MOC indicato è troppo lungo.\r\n\r\nI nomi dei file delle foto delle schede comprendono il nome dell'archivio e non potrebbero essere salvati: inserire un nome più breve."),
                                                    QString::fromUtf8("Attenzione: il nome dell'archivio di MOC indicato è già stato utilizzato in precedenza.\r\n\r\nInserire un nome diverso oppure, per importare le schede in quell'archivio, sceglierlo nell'elenco.")}
                                     << "1 scheda su 1" << "Ponti.moc";
    }

    void importCsv()
    {
        QFETCH(QString, catalogue);
        QFETCH(QString, into);
        QFETCH(QStringList, names);
        QFETCH(QStringList, warnings);
        QFETCH(QString, file);
        writeCatalogue();
        QTemporaryDir in;
        const QString csv = in.filePath(QStringLiteral("entrata.csv"));
        {
            QFile f(csv);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(file.endsWith(QLatin1String(".pro")) ? "Nome set;Valore\r\nMolo;2,00\r\n"
                                                         : "Nome progetto;Costo totale\r\nPonte;2,00\r\n");
        }
        openFromStart();
        showCatalogue(catalogue);
        services->chosenFiles.enqueue(csv);
        const QString target = folder->file(file);
        const QByteArray before = QFileInfo::exists(target) ? folder->read(file) : QByteArray();
        QVERIFY(withModals([&] { QTest::mouseClick(window()->cmdImportaCsv, Qt::LeftButton); },
                           {[&](QWidget *dialog) {
                                QCOMPARE(dialog->objectName(), QStringLiteral("frmDestinazione"));
                                auto *box = dialog->findChild<QComboBox *>(QStringLiteral("cmbDestinazione"));
                                auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("txtNuovoArchivio"));
                                QCOMPARE(box->count(), 3);
                                QCOMPARE(box->itemText(2), QStringLiteral("Nuovo archivio di MOC"));
                                // The catalogue shown is proposed.
                                QCOMPARE(box->currentText(), catalogue == QStringLiteral("Tutta la collezione")
                                                                 ? QStringLiteral("Catalogo BLOKKO")
                                                                 : catalogue);
                                QVERIFY(!name->isEnabled());
                                if (!into.isEmpty())
                                    box->setCurrentIndex(box->findText(into));
                                QCOMPARE(name->isEnabled(), !names.isEmpty());
                                for (const QString &typed : names) {
                                    name->setText(typed);
                                    click(dialog, "btnContinua");
                                }
                                if (names.isEmpty())
                                    click(dialog, "btnContinua");
                                QVERIFY(!dialog->isVisible());
                            },
                            [&](QWidget *preview) {
                                QVERIFY(qobject_cast<TfrmImporta *>(preview));
                                click(preview, "btnImporta");
                            }}));
        QStringList shown = services->texts();
        QCOMPARE(shown.mid(0, warnings.size()), warnings);
        QCOMPARE(shown.size(), warnings.size() + 1);
        QCOMPARE(shown.last(), QString::fromUtf8("È stata importata 1 scheda."));
        QVERIFY(folder->read(file).startsWith(before));
        QCOMPARE(QFileInfo(target).size(), before.size() + (file.endsWith(QLatin1String(".pro"))
                                                                ? Schede::TSchedaSet.size
                                                                : Schede::TSchedaMOC.size));
        QCOMPARE(window()->cmbCatalogo->currentText(), QFileInfo(file).completeBaseName() == QStringLiteral("Catalogo_BLOKKO")
                                                          ? QStringLiteral("Catalogo BLOKKO")
                                                          : QFileInfo(file).completeBaseName());
        QTEST(window()->lblConteggio->text(), "counts");
    }

    // Cancelling the question imports nothing and creates no archive.
    void importCancelled()
    {
        writeCatalogue();
        openFromStart();
        QVERIFY(withModal([&] { QTest::mouseClick(window()->cmdImportaCsv, Qt::LeftButton); },
                          [&](QWidget *dialog) {
                              auto *box = dialog->findChild<QComboBox *>(QStringLiteral("cmbDestinazione"));
                              box->setCurrentIndex(2);
                              dialog->findChild<QLineEdit *>(QStringLiteral("txtNuovoArchivio"))->setText(QStringLiteral("Ponti"));
                              click(dialog, "btnAnnulla");
                          }));
        QVERIFY(services->fileDialogs.isEmpty());
        QVERIFY(!QFileInfo::exists(folder->file(QStringLiteral("Ponti.moc"))));
    }

    // A backup taken from the window and restored from it: the window shows
    // the restored cards and their totals at once.
    void backupAndRestoreReload()
    {
        writeCatalogue();
        openFromStart();
        QTemporaryDir out;
        services->chosenFiles.enqueue(out.path());
        QTest::mouseClick(window()->cmdBackup, Qt::LeftButton);
        const QStringList zips = QDir(out.path()).entryList({QStringLiteral("Vetrinora-backup-*.zip")});
        QCOMPARE(zips.size(), 1);
        QVERIFY(services->texts().last().startsWith(
            QString::fromUtf8("Il backup è stato salvato e controllato con successo nel file:\r\n\r\n")));

        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", "Nave"}, {"Valore", "1,00"}, {"InVendita", "No"}}});
        window()->close();
        openFromStart();
        QCOMPARE(window()->lblConteggio->text(), QStringLiteral("1 scheda su 1"));

        services->clear();
        services->chosenFiles.enqueue(QDir(out.path()).filePath(zips.front()));
        services->answers.enqueue(platform::Button::Yes);
        QTest::mouseClick(window()->cmdRipristinaBackup, Qt::LeftButton);
        QCOMPARE(services->messages.size(), 2);
        QCOMPARE(services->messages.front().kind, platform::MessageKind::Confirmation);
        QVERIFY(services->texts().last().startsWith(
            QString::fromUtf8("Il ripristino è stato completato con successo.")));
        QCOMPARE(window()->lblConteggio->text(), QStringLiteral("3 schede su 3"));
        QCOMPARE(window()->lblTotaleCollezione->text(),
                 QStringLiteral("Catalogo BLOKKO: 3 schede, valore 42,50 €; in vendita 1 scheda per "
                                "30,00 € (1 importo illeggibile non sommato)"));
    }
};

VETRINORA_TEST_MAIN(TestCollectionWindow)
#include "test_collection_window.moc"
