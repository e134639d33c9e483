// The two card editors, driven through their named controls, on real record
// and photo files in the test's own program folder.

#include "TestSupport.h"

#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Widgets.h"
#include "ui/cards/CardEditor.h"
#include "core/cards/RecordFile.h"
#include "core/cards/Schede.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/editing/FieldEvents.h"
#include "ui/editing/PhotoBox.h"
#include "ui/editing/TfrmZoom.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

using platform::MessageKind;

namespace {

const QString kEmpty = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kAccess = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");

// The mandatory fields of each editor with a value, in the order they are checked.
const QList<QPair<QString, QString>> kSetMandatory = {
    {"txtMunizioni", "Galeone"}, {"txtArma", "Pirati"}, {"txtCalibro", "6285"}, {"txtAnno", "1989"}};
const QList<QPair<QString, QString>> kMocMandatory = {{"txtTitolo", "Torre"},
                                                      {"txtTipologia", "T-01"},
                                                      {"txtEditore", "Castelli"},
                                                      {"txtSerie", "Rossi"},
                                                      {"txtDimensioni", "1200"}};

QColor fillOf(QWidget *w)
{
    const QImage image = w->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() - 4);
}

} // namespace

class TestEditors : public ProgramTest {
    Q_OBJECT

    const RecordLayout &layout(bool moc) const { return moc ? Schede::TSchedaMOC : Schede::TSchedaSet; }
    QString fileName(bool moc, const QString &archive = QStringLiteral("Castelli")) const
    {
        return moc ? archive + QStringLiteral(".moc") : QStringLiteral("Catalogo_BLOKKO.pro");
    }
    const char *firstField(bool moc) const { return moc ? "NomeProgetto" : "NomeSet"; }

    // Shows an editor as the program does: from the start screen, or for MOCs
    // with the archive handed over by the open-archive window. False when the
    // editor does not become the active window: use as QVERIFY(open(...)).
    template <typename Editor>
    [[nodiscard]] bool open(Editor *&shown, bool moc,
                            const QString &archive = QStringLiteral("Castelli"))
    {
        CardEditor *editor = moc ? static_cast<CardEditor *>(roster->frmCartoline())
                                 : roster->frmArmi();
        if (moc) {
            roster->frmCartoline()->lblFile->setText(folder->file(archive + QStringLiteral(".moc")));
            roster->frmCartoline()->lblNome->setText(archive);
        }
        editor->hide();
        roster->handOver(roster->frmAvvio(), editor);
        editor->activateWindow();
        shown = static_cast<Editor *>(editor);
        return QTest::qWaitForWindowActive(editor);
    }

    // Writes cards whose first field reads "Card 1", "Card 2", ...
    void writeCards(bool moc, int count, const std::function<void(Record &, int)> &extra = {},
                    const QString &archive = QStringLiteral("Castelli"))
    {
        folder->writeCards(fileName(moc, archive), layout(moc), count, [&](Record &r, int i) {
            r.setText(firstField(moc), QStringLiteral("Card %1").arg(i));
            r.setText("InVendita", QStringLiteral("No"));
            r.setText(moc ? "CostoTotale" : "Valore", QStringLiteral("0,00"));
            if (extra)
                extra(r, i);
        });
    }

    Record cardOnDisk(bool moc, int position, const QString &archive = QStringLiteral("Castelli"))
    {
        Record r(layout(moc));
        r.bytes() = folder->read(fileName(moc, archive)).mid((position - 1) * layout(moc).size,
                                                             layout(moc).size);
        return r;
    }

    qint64 fileSize(bool moc) const { return QFileInfo(folder->file(fileName(moc))).size(); }

    void fillMandatory(CardEditor *editor, bool moc)
    {
        for (const auto &[control, value] : moc ? kMocMandatory : kSetMandatory)
            editor->field(control.toStdString())->setText(value);
    }

    void click(CardEditor *editor, const char *command)
    {
        Picture *p = editor->command(command);
        QVERIFY2(p, command);
        QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center());
    }

    QString position(CardEditor *e) const { return e->lblPosizione->text(); }
    QString shownFirst(CardEditor *e, bool moc) const
    {
        return e->field(moc ? "txtTitolo" : "txtMunizioni")->text();
    }

    static void addEditorColumn()
    {
        QTest::addColumn<bool>("moc");
        QTest::newRow("sets") << false;
        QTest::newRow("mocs") << true;
    }

private slots:
    // ---- layout -------------------------------------------------------------

    void controlsAtTheirPlaces_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("set name") << false << "txtMunizioni" << QRect(620, 164, 344, 22);
        QTest::newRow("set value") << false << "txtPrezzo" << QRect(464, 512, 141, 22);
        QTest::newRow("set notes") << false << "txtNote" << QRect(30, 596, 583, 22);
        QTest::newRow("set photo") << false << "imgFoto" << QRect(38, 102, 567, 378);
        QTest::newRow("set focus sink") << false << "btnFocus" << QRect(0, 0, 25, 20);
        QTest::newRow("moc title") << true << "txtTitolo" << QRect(462, 148, 300, 22);
        QTest::newRow("moc cost") << true << "txtValore" << QRect(594, 286, 168, 22);
        QTest::newRow("moc notes") << true << "txtNote" << QRect(506, 598, 290, 22);
        QTest::newRow("moc photo A") << true << "imgFoto" << QRect(74, 90, 366, 260);
        QTest::newRow("moc photo B") << true << "imgFoto02" << QRect(74, 364, 366, 260);
        QTest::newRow("moc archive name") << true << "lblNome" << QRect(462, 92, 500, 30);
    }
    void controlsAtTheirPlaces()
    {
        QFETCH(bool, moc);
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        CardEditor *editor = nullptr;
        QVERIFY(open(editor, moc));
        auto *w = editor->panel()->findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(w->geometry(), geometry);
    }

    void fixedPartsOfEachEditor()
    {
        CardEditor *sets = nullptr;
        QVERIFY(open(sets, false));
        QCOMPARE(sets->windowTitle(), QStringLiteral(" Vetrinora - Catalogo BLOKKO"));
        QCOMPARE(sets->panel()->size(), QSize(996, 692));
        QCOMPARE(sets->lblPosizione->width(), 74);
        QCOMPARE(sets->forSaleBox->objectName(), QStringLiteral("chkSegnala"));
        QCOMPARE(sets->forSaleBox->pos(), QPoint(508, 561));
        QCOMPARE(sets->forSaleBox->text(), QStringLiteral("In vendita"));
        QVERIFY(sets->command("cmdDuplica"));
        QVERIFY(!sets->command("cmdAnteprima"));
        QCOMPARE(sets->panel()->findChild<QLabel *>("lblPrezzo")->text(),
                 QString::fromUtf8("Valore: €"));
        CardEditor *mocs = nullptr;
        QVERIFY(open(mocs, true));
        QCOMPARE(mocs->panel()->size(), QSize(995, 692));
        QCOMPARE(mocs->lblPosizione->width(), 45);
        QCOMPARE(mocs->forSaleBox->objectName(), QStringLiteral("chkInVendita"));
        QCOMPARE(mocs->forSaleBox->pos(), QPoint(858, 596));
        QVERIFY(!mocs->command("cmdDuplica"));
        QVERIFY(mocs->command("cmdAnteprima"));
        QVERIFY(mocs->command("cmdSlideShow"));
        QCOMPARE(mocs->panel()->findChild<QLabel *>("lblTesto")->text(),
                 QStringLiteral("Set BLOKKO usati:"));
        // Every label sits 18 above its box, at the same left edge.
        QCOMPARE(mocs->panel()->findChild<QLabel *>("lblTesto")->pos(), QPoint(462, 470 - 18));
    }

    void editBoxesStopAtTheCapacity_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("capacity");
        QTest::newRow("set date") << false << "txtRecapito" << 30;
        QTest::newRow("set name") << false << "txtMunizioni" << 50;
        QTest::newRow("set value") << false << "txtPrezzo" << 15;
        QTest::newRow("moc title") << true << "txtTitolo" << 120;
        QTest::newRow("moc scale") << true << "txtAnno" << 10;
        QTest::newRow("moc cost") << true << "txtValore" << 12;
    }
    void editBoxesStopAtTheCapacity()
    {
        QFETCH(bool, moc);
        QFETCH(QString, control);
        QFETCH(int, capacity);
        CardEditor *editor = nullptr;
        QVERIFY(open(editor, moc));
        QLineEdit *f = editor->field(control.toStdString());
        f->clear();
        QTest::keyClicks(f, QString(capacity + 1, QLatin1Char('9')));
        QCOMPARE(f->text().size(), capacity);
    }

    // ---- showing and navigating --------------------------------------------

    void openingShowsANewCard_data() { addEditorColumn(); }
    void openingShowsANewCard()
    {
        QFETCH(bool, moc);
        writeCards(moc, 3);
        CardEditor *editor = nullptr;
        QVERIFY(open(editor, moc));
        click(editor, "cmdUltimo");
        QCOMPARE(position(editor), QStringLiteral("3"));
        editor->close();
        QCOMPARE(roster->frmAvvio()->isVisible(), true);
        QVERIFY(open(editor, moc));
        QCOMPARE(position(editor), QString());
        QCOMPARE(shownFirst(editor, moc), QString());
        QCOMPARE(editor->field(moc ? "txtValore" : "txtPrezzo")->text(), QStringLiteral("0,00"));
        QCOMPARE(editor->focusWidget(), editor->field(moc ? "txtTitolo" : "txtMunizioni"));
        QCOMPARE(editor->photoBox(0)->image(), editor->placeholderBox(0)->image());
        QVERIFY(!editor->forSaleBox->isChecked());
        QCOMPARE(services->texts(), QStringList());
    }

    void threeCardWalk_data() { addEditorColumn(); }
    void threeCardWalk()
    {
        QFETCH(bool, moc);
        writeCards(moc, 3);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        const auto step = [&](const char *command, const char *label) {
            click(e, command);
            QCOMPARE(position(e), QString::fromLatin1(label));
            if (*label)
                QCOMPARE(shownFirst(e, moc), QStringLiteral("Card ") + QString::fromLatin1(label));
        };
        step("cmdPrimo", "1");
        step("cmdAvanti", "2");
        step("cmdAvanti", "3");
        step("cmdAvanti", "3"); // at the end: nothing, no message
        step("cmdUltimo", "3");
        step("cmdIndietro", "2");
        step("cmdIndietro", "1");
        step("cmdIndietro", "1"); // at the start: nothing, no message
        QCOMPARE(services->texts(), QStringList());
        // From a new card, next and previous both go to card 1.
        click(e, "cmdNuovo");
        step("cmdIndietro", "1");
        click(e, "cmdNuovo");
        step("cmdAvanti", "1");
        QCOMPARE(services->texts(), QStringList());
    }

    void emptyArchiveMessages_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("command");
        for (bool moc : {false, true})
            for (const char *c : {"cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo"})
                QTest::addRow("%s %s", moc ? "mocs" : "sets", c) << moc << QString::fromLatin1(c);
    }
    void emptyArchiveMessages()
    {
        QFETCH(bool, moc);
        QFETCH(QString, command);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        QVERIFY(!QFile::exists(folder->file(fileName(moc))));
        e->field(moc ? "txtTitolo" : "txtMunizioni")->setText(QStringLiteral("in corso"));
        click(e, command.toLatin1().constData());
        QCOMPARE(services->texts(), QStringList{kEmpty});
        QCOMPARE(services->messages.first().kind, MessageKind::Information);
        QCOMPARE(services->messages.first().buttons,
                 (platform::Buttons{platform::Button::Ok, platform::Button::Cancel}));
        QCOMPARE(position(e), QString());
        QCOMPARE(shownFirst(e, moc), QStringLiteral("in corso"));
        // The missing file is created empty on the way.
        QVERIFY(QFile::exists(folder->file(fileName(moc))));
        QCOMPARE(fileSize(moc), qint64(0));
    }

    void previousOnCardOneSaysNothingEvenOnAnEmptyFile()
    {
        CardEditor *e = nullptr;
        QVERIFY(open(e, false));
        e->lblPosizione->setText(QStringLiteral("1"));
        click(e, "cmdIndietro");
        QCOMPARE(services->texts(), QStringList());
        QCOMPARE(position(e), QStringLiteral("1"));
    }

    void forSaleFlagOnShowing()
    {
        writeCards(false, 3, [](Record &r, int i) {
            r.setText("InVendita", i == 1 ? QString::fromUtf8("Sì") : i == 2 ? "No" : "");
        });
        CardEditor *e = nullptr;
        QVERIFY(open(e, false));
        click(e, "cmdPrimo");
        QVERIFY(e->forSaleBox->isChecked());
        click(e, "cmdUltimo"); // neither yes nor no: left as it was
        QVERIFY(e->forSaleBox->isChecked());
        click(e, "cmdIndietro");
        QVERIFY(!e->forSaleBox->isChecked());
        click(e, "cmdAvanti");
        QVERIFY(!e->forSaleBox->isChecked());
    }

    // Leaving a card with changes not yet saved asks first, whatever the way
    // out; Sì saves as Salva does, No drops the changes, Annulla stays.
    void unsavedChangesAreAskedAbout_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("answer"); // "" when no question is expected
        QTest::addColumn<bool>("edit");
        for (bool moc : {false, true}) {
            const char *editor = moc ? "mocs" : "sets";
            for (const char *way : {"cmdAvanti", "PgDown", "cmdUltimo", "cmdNuovo", "cmdEsci", "close box"})
                for (const char *answer : {"Sì", "No", "Annulla"})
                    QTest::addRow("%s, %s, %s", editor, way, answer) << moc << QString::fromLatin1(way)
                                                                    << QString::fromUtf8(answer) << true;
            for (const char *way : {"cmdAvanti", "cmdNuovo", "cmdEsci"})
                QTest::addRow("%s, %s, not edited", editor, way) << moc << QString::fromLatin1(way)
                                                                 << QString() << false;
        }
        QTest::addRow("sets, cmdCollezione, Sì") << false << "cmdCollezione" << "Sì" << true;
        QTest::addRow("sets, cmdCollezione, Annulla") << false << "cmdCollezione" << "Annulla" << true;
        QTest::addRow("sets, Ctrl+L, No") << false << "Ctrl+L" << "No" << true;
    }
    void unsavedChangesAreAskedAbout()
    {
        QFETCH(bool, moc);
        QFETCH(QString, way);
        QFETCH(QString, answer);
        QFETCH(bool, edit);
        writeCards(moc, 2, [moc](Record &r, int) {
            for (const auto &[control, value] : moc ? kMocMandatory : kSetMandatory)
                if (control != QLatin1String(moc ? "txtTitolo" : "txtMunizioni"))
                    r.setText(*r.layout().fieldForControl(control.toStdString()), value);
        });
        const QByteArray before = folder->read(fileName(moc));
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        click(e, "cmdPrimo");
        QLineEdit *note = e->field("txtNote");
        if (edit) {
            note->setFocus();
            type(note, QStringLiteral("modifica"));
        } else {
            // Edited and then back as it was: nothing to ask.
            type(note, QStringLiteral("x"));
            QTest::keyClick(note, Qt::Key_Backspace);
        }
        const platform::Button button = answer == QLatin1String("No") ? platform::Button::No
                                        : answer == QLatin1String("Annulla") ? platform::Button::Cancel
                                                                             : platform::Button::Yes;
        services->answers.enqueue(button);
        if (way == QLatin1String("PgDown"))
            QTest::keyClick(note, Qt::Key_PageDown);
        else if (way == QLatin1String("Ctrl+L"))
            QTest::keyClick(note, Qt::Key_L, Qt::ControlModifier);
        else if (way == QLatin1String("close box"))
            e->close();
        else
            click(e, way.toLatin1().constData());

        if (answer.isEmpty()) {
            QCOMPARE(services->texts(), QStringList());
            services->answers.clear();
            QCOMPARE(folder->read(fileName(moc)), before);
            return;
        }
        QVERIFY(!services->messages.isEmpty());
        QCOMPARE(services->messages.first().text, QStringLiteral("Salvare le modifiche alla scheda?"));
        QCOMPARE(services->messages.first().kind, MessageKind::Confirmation);
        QCOMPARE(services->messages.first().buttons,
                 (platform::Buttons{platform::Button::Yes, platform::Button::No, platform::Button::Cancel}));
        const bool stays = button == platform::Button::Cancel;
        const bool saved = button == platform::Button::Yes;
        if (saved) {
            QCOMPARE(services->texts().value(1),
                     QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate "
                                    "in archivio."));
            QCOMPARE(cardOnDisk(moc, 1).text("Note"), QStringLiteral("modifica"));
        } else {
            QCOMPARE(services->texts().size(), 1);
            QCOMPARE(folder->read(fileName(moc)), before);
        }
        const bool leavesWindow = way == QLatin1String("cmdEsci") || way == QLatin1String("close box")
                                  || way == QLatin1String("cmdCollezione") || way == QLatin1String("Ctrl+L");
        if (stays) {
            QVERIFY(e->isVisible());
            QCOMPARE(position(e), QStringLiteral("1"));
            QCOMPARE(note->text(), QStringLiteral("modifica"));
        } else if (leavesWindow) {
            QVERIFY(!e->isVisible());
        } else if (way == QLatin1String("cmdNuovo")) {
            QCOMPARE(position(e), QString());
            QCOMPARE(note->text(), QString());
        } else {
            QCOMPARE(position(e), QStringLiteral("2"));
        }
    }

    // Sì with a mandatory field empty: the save's own warning, and the card
    // stays on screen with its changes.
    void aFailedSaveKeepsTheCard_data() { addEditorColumn(); }
    void aFailedSaveKeepsTheCard()
    {
        QFETCH(bool, moc);
        writeCards(moc, 2);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        click(e, "cmdPrimo");
        e->field("txtNote")->setText(QStringLiteral("modifica"));
        services->answers.enqueue(platform::Button::Yes);
        click(e, "cmdAvanti");
        QCOMPARE(services->texts().size(), 2);
        QCOMPARE(services->messages.at(1).kind, MessageKind::Warning);
        QCOMPARE(position(e), QStringLiteral("1"));
        QCOMPARE(e->field("txtNote")->text(), QStringLiteral("modifica"));
    }

    // A money field selects its whole text whenever it takes the focus, so
    // that what is typed replaces it, however the focus came.
    void moneyFieldTakesWhatIsTyped_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("arrival");
        for (bool moc : {false, true})
            for (const char *arrival : {"click at the start", "click in the middle", "click at the end",
                                        "Tab", "Return", "program"})
                QTest::addRow("%s, %s", moc ? "mocs" : "sets", arrival) << moc << QString::fromLatin1(arrival);
    }
    void moneyFieldTakesWhatIsTyped()
    {
        QFETCH(bool, moc);
        QFETCH(QString, arrival);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        fillMandatory(e, moc);
        QLineEdit *money = e->field(moc ? "txtValore" : "txtPrezzo");
        QLineEdit *before = e->field(moc ? "txtAnno" : "txtNote");
        QCOMPARE(money->text(), QStringLiteral("0,00"));
        if (arrival.startsWith(QLatin1String("click"))) {
            const QRect r = money->rect();
            const int x = arrival.endsWith(QLatin1String("start")) ? 3
                          : arrival.endsWith(QLatin1String("end")) ? r.width() - 3 : r.width() / 2;
            QTest::mouseClick(money, Qt::LeftButton, {}, QPoint(x, r.height() / 2));
        } else if (arrival == QLatin1String("program")) {
            Focus::moveTo(money);
        } else {
            if (arrival == QLatin1String("Tab") && !moc) {
                // The check box lies between the notes and the value.
                Focus::moveTo(e->forSaleBox);
                QTest::keyClick(e->forSaleBox, Qt::Key_Tab);
            } else {
                Focus::moveTo(before);
                QTest::keyClick(before, arrival == QLatin1String("Tab") ? Qt::Key_Tab : Qt::Key_Return);
            }
        }
        QCOMPARE(e->focusWidget(), money);
        QCOMPARE(money->selectedText(), QStringLiteral("0,00"));
        QTest::keyClicks(money, QStringLiteral("1234,5"));
        QCOMPARE(money->text(), QStringLiteral("1234,5"));
        click(e, "cmdSalva");
        QCOMPARE(money->text(), QStringLiteral("1234,50"));
        QCOMPARE(cardOnDisk(moc, 1).text(moc ? "CostoTotale" : "Valore"), QStringLiteral("1234,50"));
    }

    // Home, End, Shift with the arrows and Ctrl+A work inside the field;
    // letters and points still do not get in.
    void moneyFieldEditingKeys()
    {
        CardEditor *e = nullptr;
        QVERIFY(open(e, false));
        QLineEdit *money = e->field("txtPrezzo");
        Focus::moveTo(money);
        QTest::keyClicks(money, QStringLiteral("150"));
        QTest::keyClick(money, Qt::Key_Home);
        QTest::keyClicks(money, QStringLiteral("2"));
        QCOMPARE(money->text(), QStringLiteral("2150"));
        QTest::keyClick(money, Qt::Key_End);
        QTest::keyClicks(money, QStringLiteral(",5a."));
        QCOMPARE(money->text(), QStringLiteral("2150,5"));
        QTest::keyClick(money, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(money, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(money->selectedText(), QStringLiteral(",5"));
        QTest::keyClick(money, Qt::Key_End);
        QTest::keyClick(money, Qt::Key_Left);
        QTest::keyClick(money, Qt::Key_Left);
        QTest::keyClick(money, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(money->selectedText(), QStringLiteral("2150"));
        QTest::keyClick(money, Qt::Key_End);
        QTest::keyClick(money, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(money->selectedText(), QStringLiteral("2150,5"));
        QTest::keyClicks(money, QStringLiteral("7"));
        QCOMPARE(money->text(), QStringLiteral("7"));
    }

    void unreadableFileIsReported_data() { addEditorColumn(); }
    void unreadableFileIsReported()
    {
        QFETCH(bool, moc);
        writeCards(moc, 2);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        click(e, "cmdPrimo");
        const QString path = folder->file(fileName(moc));
        const QByteArray before = folder->read(fileName(moc));
        QFile::setPermissions(path, QFile::ReadOwner);
        e->field(moc ? "txtNote" : "txtNote")->setText(QStringLiteral("scritto"));
        click(e, "cmdAvanti");
        QCOMPARE(services->texts(), QStringList{kAccess});
        QCOMPARE(services->messages.first().kind, MessageKind::Error);
        QCOMPARE(position(e), QStringLiteral("1"));
        QCOMPARE(e->field("txtNote")->text(), QStringLiteral("scritto"));
        fillMandatory(e, moc);
        click(e, "cmdSalva");
        QCOMPARE(services->texts(), QStringList({kAccess, kAccess}));
        QCOMPARE(folder->read(fileName(moc)), before);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    // ---- saving -------------------------------------------------------------

    void appendToAMissingFile_data() { addEditorColumn(); }
    void appendToAMissingFile()
    {
        QFETCH(bool, moc);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        fillMandatory(e, moc);
        e->field("txtNote")->setText(QString::fromUtf8("  Città è già  "));
        e->forSaleBox->setChecked(true);
        click(e, "cmdSalva");
        QCOMPARE(services->texts(), QStringList{kInserted});
        QCOMPARE(services->messages.first().kind, MessageKind::Information);
        QCOMPARE(position(e), QStringLiteral("1"));
        QCOMPARE(fileSize(moc), qint64(layout(moc).size));
        // The record byte for byte: what the codec writes for the same texts.
        Record expected(layout(moc));
        for (const auto &[control, value] : moc ? kMocMandatory : kSetMandatory)
            expected.setText(*layout(moc).fieldForControl(control.toStdString()), value);
        expected.setText("Note", QString::fromUtf8("Città è già"));
        expected.setText(moc ? "CostoTotale" : "Valore", QStringLiteral("0,00"));
        expected.setText("InVendita", QString::fromUtf8("Sì"));
        QCOMPARE(folder->read(fileName(moc)), expected.bytes());
        // A card saved without a photo gets the placeholder as its photo file.
        const QStringList photos = moc ? QStringList{"Foto_MOC/Castelli_Foto_A_1.jpg",
                                                     "Foto_MOC/Castelli_Foto_B_1.jpg"}
                                       : QStringList{"Schedario/BLOKKO_1.jpg"};
        for (const QString &p : photos) {
            const QImage stored = Photos::load(folder->file(p));
            QVERIFY2(!stored.isNull(), qPrintable(p));
            QCOMPARE(stored.size(), e->placeholderBox(0)->image().size());
        }
        QCOMPARE(e->focusWidget(), e->btnFocus);
    }

    // Characters the record file cannot hold: before saving, the editor
    // says what they will become; No goes back to the card with nothing
    // written, Yes saves and the fields then show what was stored.
    void replacedCharactersAreAnnounced_data() { addEditorColumn(); }
    void replacedCharactersAreAnnounced()
    {
        QFETCH(bool, moc);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        fillMandatory(e, moc);
        const QString typed = QString::fromUtf8("Ωmega ő ł Città 😀");
        e->field("txtNote")->setText(typed);
        e->field(moc ? "txtSerie" : "txtArma")->setText(QString::fromUtf8("Łódź"));
        const QString question = QString::fromUtf8(
            "Attenzione: alcuni caratteri della scheda non possono essere memorizzati e saranno "
            "sostituiti così: Ł → L, ź → z, Ω → ?, ő → o, ł → l, 😀 → ?.\r\n\r\nSi vuole salvare la "
            "scheda con queste sostituzioni? Scegliere No per tornare alla scheda e correggerla.");
        services->answers.enqueue(platform::Button::No);
        click(e, "cmdSalva");
        QCOMPARE(services->messages.size(), 1);
        QCOMPARE(services->messages.first().kind, MessageKind::Confirmation);
        // The characters in the order of the fields on the record.
        const QString asked = services->messages.first().text;
        QCOMPARE(asked, question);
        QVERIFY(!QFileInfo::exists(folder->file(fileName(moc))));
        QCOMPARE(e->field("txtNote")->text(), typed);
        QCOMPARE(position(e), QString());

        services->clear();
        services->answers.enqueue(platform::Button::Yes);
        click(e, "cmdSalva");
        QCOMPARE(services->texts().size(), 2);
        QCOMPARE(services->texts().at(0), asked);
        QCOMPARE(services->texts().at(1), kInserted);
        QCOMPARE(position(e), QStringLiteral("1"));
        QCOMPARE(cardOnDisk(moc, 1).text("Note"), QString::fromUtf8("?mega o l Città ?"));
        QCOMPARE(e->field("txtNote")->text(), QString::fromUtf8("?mega o l Città ?"));
        QCOMPARE(e->field(moc ? "txtSerie" : "txtArma")->text(), QString::fromUtf8("Lódz"));

        // Text the file holds as it is asks nothing.
        services->clear();
        click(e, "cmdSalva");
        QCOMPARE(services->texts(), QStringList{kUpdated});
    }

    void appendToSevenCards_data() { addEditorColumn(); }
    void appendToSevenCards()
    {
        QFETCH(bool, moc);
        writeCards(moc, 7);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        fillMandatory(e, moc);
        click(e, "cmdSalva");
        QCOMPARE(position(e), QStringLiteral("8"));
        QCOMPARE(fileSize(moc), qint64(8 * layout(moc).size));
        QCOMPARE(cardOnDisk(moc, 8).text(firstField(moc)), (moc ? kMocMandatory : kSetMandatory)[0].second);
        // Saving the same card again overwrites it.
        services->clear();
        e->field("txtNote")->setText(QStringLiteral("seconda"));
        click(e, "cmdSalva");
        QCOMPARE(services->texts(), QStringList{kUpdated});
        QCOMPARE(fileSize(moc), qint64(8 * layout(moc).size));
        QCOMPARE(cardOnDisk(moc, 8).text("Note"), QStringLiteral("seconda"));
    }

    void updateInPlace_data() { addEditorColumn(); }
    void updateInPlace()
    {
        QFETCH(bool, moc);
        writeCards(moc, 7, [&](Record &r, int) {
            for (const auto &[control, value] : moc ? kMocMandatory : kSetMandatory)
                if (control != QLatin1String(moc ? "txtTitolo" : "txtMunizioni"))
                    r.setText(*r.layout().fieldForControl(control.toStdString()), value);
        });
        const QByteArray before = folder->read(fileName(moc));
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        click(e, "cmdPrimo");
        click(e, "cmdAvanti");
        click(e, "cmdAvanti");
        QCOMPARE(position(e), QStringLiteral("3"));
        e->field("txtNote")->setText(QStringLiteral("restaurato"));
        click(e, "cmdSalva");
        QCOMPARE(services->texts(), QStringList{kUpdated});
        QCOMPARE(position(e), QStringLiteral("3"));
        const QByteArray after = folder->read(fileName(moc));
        QCOMPARE(after.size(), before.size());
        const int size = layout(moc).size;
        QCOMPARE(after.left(2 * size), before.left(2 * size));
        QCOMPARE(after.mid(3 * size), before.mid(3 * size));
        QCOMPARE(cardOnDisk(moc, 3).text("Note"), QStringLiteral("restaurato"));
        QCOMPARE(cardOnDisk(moc, 3).text(firstField(moc)), QStringLiteral("Card 3"));
    }

    void mandatoryFieldsInOrder_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<int>("missing");
        QTest::addColumn<QString>("message");
        const char *set[] = {"il nome del set BLOKKO", "il tema del set BLOKKO",
                             "il codice del set BLOKKO", "l'anno di uscita del set BLOKKO"};
        const char *moc[] = {"il nome del progetto", "il codice ID del progetto",
                             "il tema della MOC", "il designer della MOC",
                             "il numero totale di pezzi utilizzati"};
        for (int i = 0; i < 4; ++i)
            QTest::addRow("set %d", i) << false << i
                                       << QStringLiteral("Attenzione: per salvare la scheda è "
                                                         "necessario indicare ")
                                              + QString::fromUtf8(set[i]) + ".";
        for (int i = 0; i < 5; ++i)
            QTest::addRow("moc %d", i) << true << i
                                       << QStringLiteral("Attenzione: per salvare la scheda è "
                                                         "necessario indicare ")
                                              + QString::fromUtf8(moc[i]) + ".";
    }
    void mandatoryFieldsInOrder()
    {
        QFETCH(bool, moc);
        QFETCH(int, missing);
        QFETCH(QString, message);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        fillMandatory(e, moc);
        const QString control = (moc ? kMocMandatory : kSetMandatory)[missing].first;
        e->field(control.toStdString())->setText(QStringLiteral("   "));
        // A later empty field is not reached.
        e->field((moc ? kMocMandatory : kSetMandatory).last().first.toStdString())->setText(
            missing == (moc ? 4 : 3) ? QStringLiteral(" ") : QString());
        click(e, "cmdSalva");
        QCOMPARE(services->texts(), QStringList{message});
        QCOMPARE(services->messages.first().kind, MessageKind::Warning);
        QCOMPARE(e->focusWidget(), e->field(control.toStdString()));
        QVERIFY(!QFile::exists(folder->file(fileName(moc))));
        QCOMPARE(position(e), QString());
    }

    void moneyIsNormalisedBeforeSaving_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("set, half") << false << "12,5" << "12,50";
        QTest::newRow("set, erased") << false << "" << "0,00";
        QTest::newRow("moc, rounding") << true << "3,456" << "3,46";
        QTest::newRow("moc, erased") << true << "" << "0,00";
    }
    void moneyIsNormalisedBeforeSaving()
    {
        QFETCH(bool, moc);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        fillMandatory(e, moc);
        QLineEdit *money = e->field(moc ? "txtValore" : "txtPrezzo");
        money->setFocus();
        money->clear();
        QTest::keyClicks(money, typed);
        QCOMPARE(money->text(), typed);
        click(e, "cmdSalva");
        QCOMPARE(money->text(), stored);
        QCOMPARE(cardOnDisk(moc, 1).text(moc ? "CostoTotale" : "Valore"), stored);
    }

    void longestAmountsAreHeldWhole_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("shown");
        QTest::newRow("set, fifteen nines") << false << "999999999999999,00";
        QTest::newRow("moc, twelve nines") << true << "999999999999,00";
    }
    void longestAmountsAreHeldWhole()
    {
        QFETCH(bool, moc);
        QFETCH(QString, shown);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        QLineEdit *money = e->field(moc ? "txtValore" : "txtPrezzo");
        money->setFocus();
        money->clear();
        QTest::keyClicks(money, QString(20, QLatin1Char('9')));
        e->btnFocus->setFocus();
        QCOMPARE(money->text(), shown);
    }

    void moneyKeyFilterAndReturn_data() { addEditorColumn(); }
    void moneyKeyFilterAndReturn()
    {
        QFETCH(bool, moc);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        QLineEdit *money = e->field(moc ? "txtValore" : "txtPrezzo");
        money->setFocus();
        money->clear();
        QTest::keyClicks(money, QStringLiteral("1a2.-, 5x"));
        QCOMPARE(money->text(), QStringLiteral("12,5"));
        QTest::keyClick(money, Qt::Key_Left);
        QTest::keyClick(money, Qt::Key_Backspace);
        QCOMPARE(money->text(), QStringLiteral("125"));
        QTest::keyClick(money, Qt::Key_Return);
        QCOMPARE(e->focusWidget(), e->field(moc ? "txtDimensioni" : "txtMunizioni"));
        QCOMPARE(money->text(), QStringLiteral("125,00"));
        QCOMPARE(money->alignment() & Qt::AlignRight, Qt::AlignRight);
    }

    // The typing limit stops only new characters: at the limit, and in the
    // longer text a normalised amount may be, Backspace, Delete and the
    // arrows still edit the field.
    void moneyKeysWorkAtTheTypingLimit_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("full"); // as many digits as may be typed
        QTest::newRow("set value") << false << "123456789012345";
        QTest::newRow("moc cost") << true << "123456789012";
    }
    void moneyKeysWorkAtTheTypingLimit()
    {
        QFETCH(bool, moc);
        QFETCH(QString, full);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        QLineEdit *money = e->field(moc ? "txtValore" : "txtPrezzo");
        money->setFocus();
        money->clear();
        QTest::keyClicks(money, full + QStringLiteral("9,"));
        QCOMPARE(money->text(), full);

        QTest::keyClick(money, Qt::Key_Backspace);
        QCOMPARE(money->text(), full.chopped(1));
        QTest::keyClick(money, Qt::Key_8);
        QCOMPARE(money->text(), full.chopped(1) + QLatin1Char('8'));
        QTest::keyClick(money, Qt::Key_Left);
        QTest::keyClick(money, Qt::Key_Delete);
        QCOMPARE(money->text(), full.chopped(1));
        QTest::keyClick(money, Qt::Key_8);
        QTest::keyClick(money, Qt::Key_Left);
        QTest::keyClick(money, Qt::Key_Left);
        QTest::keyClick(money, Qt::Key_Right);
        QTest::keyClick(money, Qt::Key_Backspace); // the last digit but one
        QCOMPARE(money->text(), full.chopped(2) + QLatin1Char('8'));

        // Normalised past the limit, the text is held whole and still edits.
        money->setText(full);
        e->btnFocus->setFocus();
        QCOMPARE(money->text(), full + QStringLiteral(",00"));
        money->setFocus();
        money->end(false);
        QTest::keyClick(money, Qt::Key_Left);
        QTest::keyClick(money, Qt::Key_Left);
        QTest::keyClick(money, Qt::Key_Right);
        QTest::keyClick(money, Qt::Key_Backspace);
        QCOMPARE(money->text(), full + QStringLiteral(",0"));
        QTest::keyClick(money, Qt::Key_Delete);
        QCOMPARE(money->text(), full + QStringLiteral(","));
        QTest::keyClick(money, Qt::Key_7);
        QCOMPARE(money->text(), full + QStringLiteral(",")); // still past the limit
        QTest::keyClick(money, Qt::Key_Backspace);
        QTest::keyClick(money, Qt::Key_Backspace);
        QTest::keyClick(money, Qt::Key_7);
        QCOMPARE(money->text(), full.chopped(1) + QLatin1Char('7'));
    }

    void duplicateThenSave()
    {
        writeCards(false, 7, [](Record &r, int i) {
            r.setText("Tema", QStringLiteral("Tema %1").arg(i));
            r.setText("CodiceSet", QStringLiteral("C%1").arg(i));
            r.setText("AnnoUscita", QStringLiteral("19%1").arg(80 + i));
            r.setText("Valore", QStringLiteral("%1,00").arg(i));
            r.setText("InVendita", QString::fromUtf8("Sì"));
            r.setText("File01", QStringLiteral("manuale.pdf"));
            r.setText("Desc01", QStringLiteral("Istruzioni"));
        });
        const Record card4 = cardOnDisk(false, 4);
        TfrmArmi *e = nullptr;
        QVERIFY(open(e, false));
        click(e, "cmdUltimo");
        click(e, "cmdIndietro");
        click(e, "cmdIndietro");
        click(e, "cmdIndietro");
        QCOMPARE(position(e), QStringLiteral("4"));
        QCOMPARE(e->attachmentLabel("lblFile01")->text(), QStringLiteral("manuale.pdf"));
        click(e, "cmdDuplica");
        QCOMPARE(services->texts(),
                 QStringList{QStringLiteral("E' ora possibile apportare le proprie modifiche alla "
                                            "scheda corrente.\n\r\n\rAl termine premere Salva per "
                                            "inserire la scheda in archivio.")});
        QCOMPARE(services->messages.first().kind, MessageKind::Information);
        QCOMPARE(position(e), QString());
        QCOMPARE(e->attachmentLabel("lblFile01")->text(), QString());
        QCOMPARE(e->focusWidget(), e->field("txtArma"));
        QCOMPARE(e->photoBox(0)->image(), e->placeholderBox(0)->image());
        QVERIFY(e->forSaleBox->isChecked());
        click(e, "cmdSalva");
        QCOMPARE(position(e), QStringLiteral("8"));
        QCOMPARE(fileSize(false), qint64(8 * 3419));
        const Record card8 = cardOnDisk(false, 8);
        for (const FieldDef &f : Schede::TSchedaSet.fields)
            QCOMPARE(card8.text(f), f.role == FieldRole::Attachment ? QString() : card4.text(f));
        QCOMPARE(cardOnDisk(false, 4).bytes(), card4.bytes());
    }

    void duplicateNeedsASavedCard()
    {
        TfrmArmi *e = nullptr;
        QVERIFY(open(e, false));
        e->field("txtArma")->setText(QStringLiteral("Spazio"));
        e->cmdDuplicaClick();
        QCOMPARE(services->texts(),
                 QStringList{QStringLiteral("Attenzione: la duplicazione di una scheda può "
                                            "avvenire soltanto dopo che questa è stata inserita "
                                            "in archivio.")});
        QCOMPARE(services->messages.first().kind, MessageKind::Warning);
        QCOMPARE(e->field("txtArma")->text(), QStringLiteral("Spazio"));
        QVERIFY(!QFile::exists(folder->file(fileName(false))));
    }

    void newCardLeavesTheFileAlone_data() { addEditorColumn(); }
    void newCardLeavesTheFileAlone()
    {
        QFETCH(bool, moc);
        writeCards(moc, 5);
        const QByteArray before = folder->read(fileName(moc));
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        click(e, "cmdUltimo");
        QCOMPARE(position(e), QStringLiteral("5"));
        click(e, "cmdNuovo");
        QCOMPARE(position(e), QString());
        QCOMPARE(shownFirst(e, moc), QString());
        QCOMPARE(e->focusWidget(), e->field(moc ? "txtTitolo" : "txtMunizioni"));
        QCOMPARE(folder->read(fileName(moc)), before);
    }

    // ---- field behaviours ------------------------------------------------

    void paintedFields_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QColor>("resting");
        QTest::newRow("set field") << false << "txtArma" << QColor(0xF0, 0xF8, 0xFF);
        QTest::newRow("set money") << false << "txtPrezzo" << QColor(0xFF, 0xFF, 0xFF);
        QTest::newRow("moc field") << true << "txtNote" << QColor(0xF0, 0xF8, 0xFF);
        QTest::newRow("moc money") << true << "txtValore" << QColor(0xF0, 0xF8, 0xFF);
    }
    void paintedFields()
    {
        QFETCH(bool, moc);
        QFETCH(QString, control);
        QFETCH(QColor, resting);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        QLineEdit *f = e->field(control.toStdString());
        f->clear();
        QCOMPARE(fillOf(f), resting);
        f->setFocus();
        QCOMPARE(fillOf(f), QColor(0xFF, 0xFF, 0x00));
        const QImage image = f->grab().toImage();
        QCOMPARE(image.pixelColor(0, image.height() / 2), QColor(0x87, 0xCE, 0xEB));
        e->btnFocus->setFocus();
        QCOMPARE(fillOf(f), resting);
    }

    void returnCycles_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("set first") << false << "txtMunizioni" << "txtArma";
        QTest::newRow("set notes skip the box") << false << "txtNote" << "txtPrezzo";
        QTest::newRow("set last") << false << "txtPrezzo" << "txtMunizioni";
        QTest::newRow("set age") << false << "txtCodFisc" << "txtRecapito";
        QTest::newRow("moc scale") << true << "txtAnno" << "txtValore";
        QTest::newRow("moc cost") << true << "txtValore" << "txtDimensioni";
        QTest::newRow("moc last") << true << "txtNote" << "txtTitolo";
        QTest::newRow("moc place") << true << "txtLuogo" << "txtNote";
    }
    void returnCycles()
    {
        QFETCH(bool, moc);
        QFETCH(QString, from);
        QFETCH(QString, to);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        QLineEdit *f = e->field(from.toStdString());
        f->setFocus();
        QTest::keyClick(f, Qt::Key_Return);
        QCOMPARE(e->focusWidget(), e->field(to.toStdString()));
    }

    void focusSinkTrimsOneField_data() { addEditorColumn(); }
    void focusSinkTrimsOneField()
    {
        QFETCH(bool, moc);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        const char *trimmed = moc ? "txtTitolo" : "txtArma";
        e->field(trimmed)->setText(QStringLiteral("  Pirati  "));
        e->field("txtNote")->setText(QStringLiteral("  note  "));
        e->btnFocus->setFocus();
        QTest::keyClick(e->btnFocus, Qt::Key_Space);
        QCOMPARE(e->field(trimmed)->text(), QStringLiteral("Pirati"));
        QCOMPARE(e->field("txtNote")->text(), QStringLiteral("  note  "));
    }

    void hintBar_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("blank");
        QTest::newRow("set save") << false << "cmdSalva" << "Salva la scheda in archivio." << "shpSfondo";
        QTest::newRow("set for sale") << false << "chkSegnala"
                                      << QString::fromUtf8("Spunta questa casella per annotare che il set BLOKKO è in vendita.")
                                      << "bkgPrezzo";
        QTest::newRow("set zoom") << false << "btnZoomFoto"
                                  << "Visualizza la foto nelle sue dimensioni reali." << "imgFoto";
        QTest::newRow("moc search") << true << "cmdTrova" << "Trova schede in archivio." << "shpInfo";
        QTest::newRow("moc webcam B") << true << "btnAcquisisciFoto02"
                                      << "Acquisisci la foto da WebCam." << "imgFoto02";
        QTest::newRow("moc exit") << true << "cmdEsci" << "Esci da questa schermata." << "lblNome";
    }
    void hintBar()
    {
        QFETCH(bool, moc);
        QFETCH(QString, command);
        QFETCH(QString, hint);
        QFETCH(QString, blank);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        QVERIFY(QTest::qWaitForWindowExposed(e));
        QCOMPARE(e->panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
        auto *target = e->panel()->findChild<QWidget *>(command);
        QVERIFY(target);
        QTest::mouseMove(target, QPoint(5, 5));
        QTRY_COMPARE(e->panInfo->text(), hint);
        // A text field leaves the hint; the background empties the bar.
        QLineEdit *f = e->field("txtNote");
        QVERIFY(!f->underMouse());
        QTest::mouseMove(f, QPoint(5, 5));
        // The field is marked as under the pointer as the move reaches it:
        // from then on the move has been handled.
        QTRY_VERIFY(f->underMouse());
        QCOMPARE(e->panInfo->text(), hint);
        auto *background = e->panel()->findChild<QWidget *>(blank);
        QVERIFY(background);
        QTest::mouseMove(e, e->mapFromGlobal(background->mapToGlobal(QPoint(1, 1))));
        QTRY_COMPARE(e->panInfo->text(), QString());
        if (auto *p = qobject_cast<Picture *>(target))
            QCOMPARE(p->accessibleName(), hint);
    }

    // Around the centred panel the pointer is over the window itself, which
    // empties the bar as the panel's own background does.
    void hintBarOutsideThePanel_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("where");
        for (bool moc : {false, true})
            for (const char *where : {"left", "right", "above", "below", "corner"})
                QTest::addRow("%s, %s", moc ? "MOC" : "set", where) << moc << QString::fromLatin1(where);
    }
    void hintBarOutsideThePanel()
    {
        QFETCH(bool, moc);
        QFETCH(QString, where);
        CardEditor *e = nullptr;
        QVERIFY(open(e, moc));
        QVERIFY(QTest::qWaitForWindowExposed(e));
        const QRect panel(e->panel()->mapTo(e, QPoint(0, 0)), e->panel()->size());
        QVERIFY2(panel.left() > 20 && panel.top() > 20, "the screen is larger than the panel");
        const QPoint at = where == QLatin1String("left")    ? QPoint(panel.left() / 2, panel.center().y())
                          : where == QLatin1String("right") ? QPoint((panel.right() + e->width()) / 2, panel.center().y())
                          : where == QLatin1String("above") ? QPoint(panel.center().x(), panel.top() / 2)
                          : where == QLatin1String("below") ? QPoint(panel.center().x(), (panel.bottom() + e->height()) / 2)
                                                            : QPoint(5, e->height() - 5);
        QVERIFY(!panel.contains(at));
        QTest::mouseMove(e->command("cmdNuovo"), QPoint(5, 5));
        QTRY_COMPARE(e->panInfo->text(),
                     QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda."));
        QTest::mouseMove(e, at);
        QTRY_COMPARE(e->panInfo->text(), QString());
    }

    // ---- photos ---------------------------------------------------------------

    void photoFileNames()
    {
        writeCards(true, 11, {}, QStringLiteral("Castelli"));
        TfrmCartoline *e = nullptr;
        QVERIFY(open(e, true, QStringLiteral("Castelli")));
        click(e, "cmdUltimo");
        QCOMPARE(e->photoFilePath(1),
                 folder->path() + QStringLiteral("Foto_MOC") + QDir::separator()
                     + QStringLiteral("Castelli_Foto_B_11.jpg"));
        CardEditor *sets = nullptr;
        QVERIFY(open(sets, false));
        sets->lblPosizione->setText(QStringLiteral("12"));
        QCOMPARE(sets->photoFilePath(0), folder->path() + QStringLiteral("Schedario")
                                             + QDir::separator() + QStringLiteral("BLOKKO_12.jpg"));
    }

    void twoArchivesKeepSeparatePhotos()
    {
        QImage red(40, 30, QImage::Format_RGB32);
        red.fill(Qt::red);
        QImage blue(30, 40, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        for (const auto &[archive, image] : {std::pair{QStringLiteral("Castelli"), red},
                                             std::pair{QStringLiteral("Navi"), blue}}) {
            CardEditor *e = nullptr;
            QVERIFY(open(e, true, archive));
            fillMandatory(e, true);
            e->photoBox(0)->setImage(image);
            click(e, "cmdSalva");
            QCOMPARE(position(e), QStringLiteral("1"));
        }
        QCOMPARE(Photos::load(folder->file("Foto_MOC/Castelli_Foto_A_1.jpg")).size(), QSize(40, 30));
        QCOMPARE(Photos::load(folder->file("Foto_MOC/Navi_Foto_A_1.jpg")).size(), QSize(30, 40));
        // Shown again, each card gets its own photo back.
        CardEditor *e = nullptr;
        QVERIFY(open(e, true, QStringLiteral("Castelli")));
        click(e, "cmdPrimo");
        QCOMPARE(e->photoBox(0)->image().size(), QSize(40, 30));
    }

    void missingPhotoBShowsBothPlaceholders()
    {
        writeCards(true, 1);
        QDir(folder->path()).mkdir(QStringLiteral("Foto_MOC"));
        QImage red(40, 30, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(folder->file("Foto_MOC/Castelli_Foto_A_1.jpg")));
        CardEditor *e = nullptr;
        QVERIFY(open(e, true));
        e->photoBox(0)->setImage(red);
        services->answers.enqueue(platform::Button::No); // the new card's photo is dropped
        click(e, "cmdPrimo");
        QCOMPARE(e->photoBox(0)->image(), e->placeholderBox(0)->image());
        QCOMPARE(e->photoBox(1)->image(), e->placeholderBox(1)->image());
        // With both files there, both show.
        QVERIFY(red.save(folder->file("Foto_MOC/Castelli_Foto_B_1.jpg")));
        click(e, "cmdUltimo");
        QCOMPARE(e->photoBox(0)->image().size(), QSize(40, 30));
        QCOMPARE(e->photoBox(1)->image().size(), QSize(40, 30));
    }

    void showingACardCreatesThePhotoFolder()
    {
        writeCards(false, 1);
        CardEditor *e = nullptr;
        QVERIFY(open(e, false));
        click(e, "cmdPrimo");
        QVERIFY(QFileInfo(folder->file(QStringLiteral("Schedario"))).isDir());
        QCOMPARE(e->photoBox(0)->image(), e->placeholderBox(0)->image());
    }

    void loadSaveClearPhotos()
    {
        QImage green(64, 48, QImage::Format_RGB32);
        green.fill(Qt::green);
        QVERIFY(green.save(folder->file("verde.bmp")));
        folder->write(QStringLiteral("rotto.jpg"), "non è una foto");
        CardEditor *e = nullptr;
        QVERIFY(open(e, false));

        services->chosenFiles.enqueue(folder->file("verde.bmp"));
        click(e, "btnCaricaFoto");
        QCOMPARE(services->fileDialogs.size(), 1);
        const auto &request = services->fileDialogs.first().request;
        QVERIFY(!services->fileDialogs.first().save);
        QCOMPARE(request.title, QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."));
        QCOMPARE(request.filters, QStringList({"Immagine JPEG (*.jpg *.jpeg)", "Immagine Bitmap (*.bmp)"}));
        QCOMPARE(e->photoBox(0)->image().size(), QSize(64, 48));

        click(e, "btnCaricaFoto"); // cancelled: nothing changes
        QCOMPARE(e->photoBox(0)->image().size(), QSize(64, 48));

        services->chosenFiles.enqueue(folder->file("Esportata"));
        click(e, "btnSalvaFoto");
        const auto &save = services->fileDialogs.last();
        QVERIFY(save.save);
        QCOMPARE(save.request.title,
                 QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."));
        QCOMPARE(save.request.filters, QStringList{"File Jpeg (*.jpg)"});
        QCOMPARE(save.request.proposedName, QStringLiteral("Foto.jpg"));
        QCOMPARE(save.request.defaultExtension, QStringLiteral("jpg"));
        QVERIFY(save.request.overwritePrompt);
        QCOMPARE(QImageReader(folder->file("Esportata.jpg")).format(), QByteArray("jpeg"));

        services->chosenFiles.enqueue(folder->file("rotto.jpg"));
        click(e, "btnCaricaFoto"); // not a picture: the placeholder
        QCOMPARE(e->photoBox(0)->image(), e->placeholderBox(0)->image());

        e->photoBox(0)->setImage(green);
        click(e, "btnCancFoto");
        QCOMPARE(e->photoBox(0)->image(), e->placeholderBox(0)->image());
        QCOMPARE(services->texts(), QStringList());
    }

    void clearedPhotoReplacesTheStoredOne()
    {
        QImage green(64, 48, QImage::Format_RGB32);
        green.fill(Qt::green);
        CardEditor *e = nullptr;
        QVERIFY(open(e, false));
        fillMandatory(e, false);
        e->photoBox(0)->setImage(green);
        click(e, "cmdSalva");
        QCOMPARE(Photos::load(folder->file("Schedario/BLOKKO_1.jpg")).size(), QSize(64, 48));
        click(e, "btnCancFoto");
        click(e, "cmdSalva");
        QCOMPARE(Photos::load(folder->file("Schedario/BLOKKO_1.jpg")).size(), QSize(567, 378));
    }

    void zoomShowsThePhotoAndClosesOnAClick()
    {
        QImage green(64, 48, QImage::Format_RGB32);
        green.fill(Qt::green);
        CardEditor *e = nullptr;
        QVERIFY(open(e, true));
        e->photoBox(1)->setImage(green);
        const auto checkAndClick = [&](QWidget *modal) {
            auto *zoom = qobject_cast<TfrmZoom *>(modal);
            QVERIFY(zoom);
            QCOMPARE(zoom->windowTitle(),
                     QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
            QCOMPARE(zoom->imgFoto->image(), green);
            const QSize screen = QGuiApplication::primaryScreen()->size();
            QCOMPARE(zoom->imgFoto->size(), screen - QSize(60, 90));
            QTest::mouseClick(zoom->imgFoto, Qt::LeftButton);
            QVERIFY(!zoom->isVisible());
        };
        QVERIFY(withModal([&] { click(e, "btnZoomFoto02"); }, checkAndClick));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
};

VETRINORA_TEST_MAIN(TestEditors)
#include "test_editors.moc"
