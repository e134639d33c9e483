// The program without a mouse: every picture button is a button to Qt and
// to assistive technology, every field has a name, every control is reached
// with Tab, and the editors' commands have their keys.

#include "TestSupport.h"

#include "core/cards/RecordLayout.h"
#include "core/cards/Schede.h"
#include "ui/app/TfrmCambiaPassword.h"
#include "ui/app/TfrmPassword.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/archives/TfrmApriCatalogo.h"
#include "ui/archives/TfrmCreaCatalogo.h"
#include "ui/base/HelpWindows.h"
#include "ui/base/Widgets.h"
#include "ui/cards/CardEditor.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/collection/TfrmCollezione.h"
#include "ui/collection/TfrmStatistiche.h"
#include "ui/editing/FieldEvents.h"
#include "ui/editing/TfrmAllegaCartella.h"
#include "ui/editing/TfrmWebCam.h"
#include "ui/editing/TfrmZoom.h"
#include "ui/output/CardPrintWindow.h"
#include "ui/output/ExportWindow.h"
#include "ui/search/SearchWindows.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

using Fields = QList<QPair<const char *, QString>>;

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// Controls a user acts on, as assistive technology sees them.
bool isInteractive(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    if (!iface || iface->state().invisible)
        return false;
    switch (iface->role()) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
        return true;
    default:
        return false;
    }
}

QString describe(QWidget *w)
{
    return w->window()->objectName() + QLatin1Char('/') + w->objectName() + QLatin1Char(' ')
           + QLatin1String(w->metaObject()->className());
}

// The controls Tab reaches from the window, in order, once round.
QList<QWidget *> tabChain(QWidget *window)
{
    QList<QWidget *> chain;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            chain << w;
    return chain;
}

// Every clickable picture is a pressable, named button; decoration stays out
// of the way; every visible field has a name; every control is reached by Tab.
void auditWindow(QWidget *window)
{
    const QList<QWidget *> chain = tabChain(window);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || !w->isEnabled())
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(iface, qPrintable(describe(w)));
        if (auto *picture = qobject_cast<Picture *>(w)) {
            if (picture->isClickable()) {
                QVERIFY2(iface->role() == QAccessible::Button, qPrintable(describe(w)));
                QAccessibleActionInterface *actions = iface->actionInterface();
                QVERIFY2(actions, qPrintable(describe(w)));
                QVERIFY2(actions->actionNames().contains(QAccessibleActionInterface::pressAction()),
                         qPrintable(describe(w)));
                QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(describe(w)));
            } else {
                QVERIFY2(iface->role() == QAccessible::Graphic, qPrintable(describe(w)));
                QVERIFY2(w->focusPolicy() == Qt::NoFocus, qPrintable(describe(w)));
            }
        }
        if (qobject_cast<QLineEdit *>(w))
            QVERIFY2(!accessibleName(w).isEmpty(), qPrintable(describe(w)));
        if (isInteractive(w))
            QVERIFY2(chain.contains(w), qPrintable(describe(w) + QStringLiteral(" is not reached by Tab")));
    }
}

} // namespace

class TestKeyboard : public ProgramTest {
    Q_OBJECT

    TfrmArmi *sets() const { return roster->frmArmi(); }
    TfrmCartoline *mocs() const { return roster->frmCartoline(); }
    CardEditor *editor(bool moc) const
    {
        return moc ? static_cast<CardEditor *>(mocs()) : static_cast<CardEditor *>(sets());
    }
    QString recordFile(bool moc) const
    {
        return moc ? QStringLiteral("Castelli.moc") : QStringLiteral("Catalogo_BLOKKO.pro");
    }

    // Three cards named "Card 1" to "Card 3"; the first and third for sale.
    void writeCards(bool moc)
    {
        QList<Fields> cards;
        for (int i = 1; i <= 3; ++i)
            cards.append({{moc ? "NomeProgetto" : "NomeSet", QStringLiteral("Card %1").arg(i)},
                          {"InVendita", i == 2 ? QStringLiteral("No") : QString::fromUtf8("Sì")},
                          {moc ? "CostoTotale" : "Valore", QStringLiteral("0,00")}});
        folder->writeCards(recordFile(moc), moc ? Schede::TSchedaMOC : Schede::TSchedaSet, cards);
    }

    void showActive(QWidget *window)
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    CardEditor *open(bool moc)
    {
        mocs()->lblFile->setText(folder->file(QStringLiteral("Castelli.moc")));
        mocs()->lblNome->setText(QStringLiteral("Castelli"));
        CardEditor *e = editor(moc);
        roster->handOver(roster->frmAvvio(), e);
        showActive(e);
        return e;
    }

    static void addEditorColumn()
    {
        QTest::addColumn<bool>("moc");
        QTest::newRow("set editor") << false;
        QTest::newRow("MOC editor") << true;
    }

    std::pair<QWidget *, std::unique_ptr<QWidget>> makeWindow(const QString &window)
    {
        writeCards(false);
        writeCards(true);
        mocs()->lblFile->setText(folder->file(QStringLiteral("Castelli.moc")));
        mocs()->lblNome->setText(QStringLiteral("Castelli"));
        const QList<QPair<QString, QWidget *>> mainLevel = {
            {QStringLiteral("frmPassword"), static_cast<QWidget *>(roster->frmPassword())},
            {QStringLiteral("frmCambiaPassword"), static_cast<QWidget *>(roster->frmCambiaPassword())},
            {QStringLiteral("frmAvvio"), static_cast<QWidget *>(roster->frmAvvio())},
            {QStringLiteral("frmArmi"), static_cast<QWidget *>(sets())},
            {QStringLiteral("frmCartoline"), static_cast<QWidget *>(mocs())},
            {QStringLiteral("frmCreaCatalogo"), static_cast<QWidget *>(roster->frmCreaCatalogo())},
            {QStringLiteral("frmApriCatalogo"), static_cast<QWidget *>(roster->frmApriCatalogo())},
            {QStringLiteral("frmCollezione"), static_cast<QWidget *>(roster->frmCollezione())}};
        const QList<QPair<QString, std::function<QWidget *()>>> subsidiary = {
            {QStringLiteral("frmTrovaArmi"), [&] { return new TfrmTrovaArmi(sets()); }},
            {QStringLiteral("frmTrovaArmi results"), [&] { return new TfrmTrovaArmi(sets()); }},
            {QStringLiteral("frmTrovaCartoline"), [&] { return new TfrmTrovaCartoline(mocs()); }},
            {QStringLiteral("frmArmi_Disponibili"), [&] { return new TfrmArmi_Disponibili(sets()); }},
            {QStringLiteral("frmInVendita"), [&] { return new TfrmInVendita(mocs()); }},
            {QStringLiteral("frmExpArmi"), [&] { return new TfrmExpArmi(sets()); }},
            {QStringLiteral("frmExpCartoline"), [&] { return new TfrmExpCartoline(mocs()); }},
            {QStringLiteral("frmStampaArma"), [&] { return new TfrmStampaArma(sets()); }},
            {QStringLiteral("frmStampaCartolina"), [&] { return new TfrmStampaCartolina(mocs()); }},
            {QStringLiteral("frmAnteprimaCartolina"), [&] { return new TfrmAnteprimaCartolina(mocs()); }},
            {QStringLiteral("frmAllegaCartella"), [&] { return new TfrmAllegaCartella(sets()); }},
            {QStringLiteral("frmWebCam"), [&] { return new TfrmWebCam(mocs()); }},
            {QStringLiteral("frmZoom"), [&] { return new TfrmZoom(sets()); }},
            {QStringLiteral("frmGuida"), [&] { return new TfrmGuida(sets()); }},
            {QStringLiteral("frmInfo"), [&] { return new TfrmInfo(roster->frmAvvio()); }},
            {QStringLiteral("frmSplash"), [&] { return new TfrmSplash(roster->frmAvvio()); }},
            {QStringLiteral("frmStatistiche"),
             [&] { return new TfrmStatistiche(Statistics::Figures{}, QStringLiteral("Tutta la collezione"), QString()); }}};
        std::unique_ptr<QWidget> owned;
        QWidget *w = nullptr;
        for (const auto &[name, main] : mainLevel)
            if (name == window)
                w = main;
        for (const auto &[name, make] : subsidiary)
            if (name == window) {
                owned.reset(make());
                w = owned.get();
            }
        return {w, std::move(owned)};
    }

private slots:
    // On a screen large enough the panel stands still in the middle of the
    // window, with the window's gradient around it and no scroll bar.
    void aLargeScreenDoesNotScroll()
    {
        for (GradientWindow *w : {static_cast<GradientWindow *>(roster->frmArmi()),
                                  static_cast<GradientWindow *>(roster->frmCartoline()),
                                  static_cast<GradientWindow *>(roster->frmAvvio())}) {
            w->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            QVERIFY(!w->scroller()->horizontalScrollBar()->isVisible());
            QVERIFY(!w->scroller()->verticalScrollBar()->isVisible());
            const QPoint corner = w->panel()->mapTo(w, QPoint(0, 0));
            QCOMPARE(corner, QPoint((w->width() - w->panel()->width()) / 2,
                                    (w->height() - w->panel()->height()) / 2));
            // The gradient's top colour shows at the window's top corner.
            const QImage shot = w->grab().toImage();
            const QColor top = shot.pixelColor(1, 1);
            QVERIFY2(top.blue() > top.red() + 40, qPrintable(top.name()));
            w->hide();
        }
    }

    // ---- names, roles and the Tab chain of every window ----------------------

    void everyWindowIsKeyboardReachable_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *w : {"frmPassword", "frmCambiaPassword", "frmAvvio", "frmArmi",
                              "frmCartoline", "frmCreaCatalogo", "frmApriCatalogo", "frmTrovaArmi",
                              "frmTrovaArmi results", "frmTrovaCartoline", "frmArmi_Disponibili",
                              "frmInVendita", "frmExpArmi", "frmExpCartoline", "frmStampaArma",
                              "frmStampaCartolina", "frmAnteprimaCartolina", "frmAllegaCartella",
                              "frmWebCam", "frmZoom", "frmGuida", "frmInfo", "frmSplash"})
            QTest::newRow(w) << QString::fromLatin1(w);
    }
    void everyWindowIsKeyboardReachable()
    {
        QFETCH(QString, window);
        auto [w, owned] = makeWindow(window);
        QVERIFY(w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        if (window.endsWith(QLatin1String(" results"))) {
            auto *list = static_cast<ListWindow *>(w);
            QTest::mouseClick(list->btnCerca, Qt::LeftButton);
            QVERIFY(list->lstRecords->isVisible());
        }
        auditWindow(w);
        w->hide();
    }

    // ---- Enter on a focused button ---------------------------------------------

    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        const int ret = Qt::Key_Return;
        const int enter = Qt::Key_Enter;
        QTest::newRow("login, OK") << "frmPassword" << "cmdOK" << ret;
        QTest::newRow("login, change password") << "frmPassword" << "btnCambiaPassword" << enter;
        QTest::newRow("password change, close") << "frmCambiaPassword" << "cmdEsci" << ret;
        QTest::newRow("start screen, picture") << "frmAvvio" << "imgApp03" << enter;
        QTest::newRow("open archive, picture") << "frmApriCatalogo" << "btnAnnulla" << ret;
        QTest::newRow("set search, Cerca") << "frmTrovaArmi" << "btnCerca" << ret;
        QTest::newRow("MOC search, Cerca by Enter") << "frmTrovaCartoline" << "btnCerca" << enter;
        QTest::newRow("search results, Trova") << "frmTrovaArmi results" << "btnTrova" << ret;
        QTest::newRow("search results, Chiudi") << "frmTrovaArmi results" << "btnChiudi" << enter;
        QTest::newRow("set summary, Chiudi") << "frmArmi_Disponibili" << "btnChiudi" << ret;
        QTest::newRow("MOC summary, Trova") << "frmInVendita" << "btnTrova" << enter;
        QTest::newRow("export, picture") << "frmExpArmi" << "cmdEsci" << ret;
        QTest::newRow("set print, Annulla") << "frmStampaArma" << "btnAnnulla" << ret;
        QTest::newRow("MOC preview, Annulla") << "frmAnteprimaCartolina" << "btnAnnulla" << enter;
        QTest::newRow("attachments, Annulla") << "frmAllegaCartella" << "btnAnnulla" << ret;
        QTest::newRow("webcam, Annulla") << "frmWebCam" << "btnClose" << enter;
        QTest::newRow("help, Chiudi") << "frmGuida" << "btnChiudi" << ret;
        QTest::newRow("create archive, picture") << "frmCreaCatalogo" << "btnAnnulla" << enter;
        QTest::newRow("collection, Colonne") << "frmCollezione" << "btnColonne" << ret;
        QTest::newRow("collection, Chiudi") << "frmCollezione" << "btnEsci" << enter;
        QTest::newRow("statistics, Chiudi") << "frmStatistiche" << "cmdChiudi" << ret;
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(int, key);
        auto [w, owned] = makeWindow(window);
        QVERIFY(w);
        showActive(w);
        if (window.endsWith(QLatin1String(" results")))
            QTest::mouseClick(static_cast<ListWindow *>(w)->btnCerca, Qt::LeftButton);
        if (auto *login = qobject_cast<TfrmPassword *>(w))
            login->txtPassword->setText(QStringLiteral("sbagliata"));
        QWidget *target = w->findChild<QWidget *>(button);
        QVERIFY(target);
        QVERIFY(target->isVisible() && target->isEnabled());
        target->setFocus(Qt::TabFocusReason);
        QVERIFY(target->hasFocus());
        // A window the press opens is closed again by the scripted services
        // or below; a window the press closes is the press seen.
        QSignalSpy pressed(target, SIGNAL(clicked()));
        QTimer closeOpened;
        connect(&closeOpened, &QTimer::timeout, [w] {
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && modal != w)
                modal->close();
        });
        closeOpened.start(100);
        QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(pressed.count(), 1);
        if (window == QLatin1String("frmPassword") && button == QLatin1String("cmdOK"))
            QCOMPARE(services->texts(), QStringList{QStringLiteral("Attenzione: password errata.")});
        w->hide();
    }

    // Return keeps its own meaning where the window gives it one: in a field
    // of the search window it moves to the next field and presses nothing.
    void returnInAFieldIsNotReturnOnAButton()
    {
        writeCards(false);
        open(false);
        TfrmTrovaArmi w(sets());
        showActive(&w);
        QSignalSpy searched(w.btnCerca, SIGNAL(clicked()));
        QLineEdit *first = w.filter("txtMunizioni");
        Focus::moveTo(first);
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.filter("txtArma"));
        QCOMPARE(searched.count(), 0);
    }

    void fieldsAreNamedByTheirCaptions_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("name");
        QTest::newRow("set name") << false << "txtMunizioni" << "Nome set";
        QTest::newRow("set value, caption at the left with the euro") << false << "txtPrezzo" << "Valore";
        QTest::newRow("set age, accented") << false << "txtCodFisc" << QString::fromUtf8("Età consigliata");
        QTest::newRow("MOC cost") << true << "txtValore" << "Costo totale";
        QTest::newRow("MOC notes, caption at the left") << true << "txtNote" << "Note";
    }
    void fieldsAreNamedByTheirCaptions()
    {
        QFETCH(bool, moc);
        QFETCH(QString, field);
        QFETCH(QString, name);
        CardEditor *e = editor(moc);
        QLineEdit *edit = e->field(field.toStdString());
        QCOMPARE(accessibleName(edit), name);
        auto *caption = e->panel()->findChild<QLabel *>(QStringLiteral("lbl") + field.mid(3));
        QVERIFY(caption);
        QCOMPARE(caption->buddy(), edit);
    }

    // ---- the editors' Tab order ---------------------------------------------

    void tabGoesThroughFieldsThenCommands_data() { addEditorColumn(); }
    void tabGoesThroughFieldsThenCommands()
    {
        QFETCH(bool, moc);
        CardEditor *e = open(moc);
        const EditorConfig &config = e->config();
        QStringList expected;
        for (const FieldPlace &f : config.fields)
            expected << QString::fromLatin1(f.control.data(), qsizetype(f.control.size()));
        for (const ToolItem &t : config.tools)
            if (t.resource)
                expected << QString::fromLatin1(t.name.data(), qsizetype(t.name.size()));
        QCOMPARE(e->focusWidget(), e->field(config.fields.front().control));
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            visited << e->focusWidget()->objectName();
            QTest::keyClick(e->focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, expected);
        // The photo commands follow; the focus sink is never reached and
        // the walk comes back to the first field.
        QWidget *start = e->focusWidget();
        QVERIFY(qobject_cast<Picture *>(start));
        for (QWidget *w = start; w != e->field(config.fields.front().control);
             w = e->focusWidget()) {
            QVERIFY(w != e->btnFocus);
            QVERIFY(qobject_cast<Picture *>(w));
            QTest::keyClick(w, Qt::Key_Tab);
        }
        QAccessibleInterface *sink = QAccessible::queryAccessibleInterface(e->btnFocus);
        QCOMPARE(sink->role(), QAccessible::NoRole);
        QVERIFY(sink->text(QAccessible::Name).isEmpty());
    }

    // ---- pressing picture buttons --------------------------------------------

    void focusedCommandsPressFromTheKeyboard_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("position");
        QTest::newRow("set last by Space") << false << "cmdUltimo" << "space" << "3";
        QTest::newRow("set first by Return") << false << "cmdPrimo" << "return" << "1";
        QTest::newRow("MOC next by Enter") << true << "cmdAvanti" << "enter" << "3";
        QTest::newRow("MOC new card by the press action") << true << "cmdNuovo" << "action" << "";
        QTest::newRow("set previous by the press action") << false << "cmdIndietro" << "action" << "1";
    }
    void focusedCommandsPressFromTheKeyboard()
    {
        QFETCH(bool, moc);
        QFETCH(QString, command);
        QFETCH(QString, how);
        QFETCH(QString, position);
        writeCards(moc);
        CardEditor *e = open(moc);
        e->command("cmdPrimo")->click();
        e->command("cmdAvanti")->click();
        QCOMPARE(e->lblPosizione->text(), QStringLiteral("2"));
        Picture *target = e->command(command.toStdString());
        // A picture takes the focus from Tab, not from the mouse.
        QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY(!target->hasFocus());
        e->command("cmdPrimo")->click();
        e->command("cmdAvanti")->click();
        target->setFocus(Qt::TabFocusReason);
        QVERIFY(target->showsFocusRing());
        if (how == QLatin1String("action")) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(target);
            iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        } else {
            const Qt::Key key = how == QLatin1String("space")    ? Qt::Key_Space
                                : how == QLatin1String("return") ? Qt::Key_Return
                                                                 : Qt::Key_Enter;
            QTest::keyClick(target, key);
        }
        QTRY_COMPARE(e->lblPosizione->text(), position);
        QVERIFY(services->messages.isEmpty());
    }

    // ---- shortcuts -------------------------------------------------------------

    void shortcutsStepThroughCards_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("position");
        for (bool moc : {false, true}) {
            const char *e = moc ? "MOC " : "set ";
            QTest::addRow("%sAlt+Home", e) << moc << int(Qt::Key_Home) << int(Qt::AltModifier) << "1";
            QTest::addRow("%sAlt+End", e) << moc << int(Qt::Key_End) << int(Qt::AltModifier) << "3";
            QTest::addRow("%sAlt+Left", e) << moc << int(Qt::Key_Left) << int(Qt::AltModifier) << "1";
            QTest::addRow("%sAlt+Right", e) << moc << int(Qt::Key_Right) << int(Qt::AltModifier) << "3";
            QTest::addRow("%sPgUp", e) << moc << int(Qt::Key_PageUp) << int(Qt::NoModifier) << "1";
            QTest::addRow("%sPgDn", e) << moc << int(Qt::Key_PageDown) << int(Qt::NoModifier) << "3";
            QTest::addRow("%sCtrl+N", e) << moc << int(Qt::Key_N) << int(Qt::ControlModifier) << "";
        }
        QTest::newRow("set Ctrl+D duplicates") << false << int(Qt::Key_D) << int(Qt::ControlModifier) << "";
    }
    void shortcutsStepThroughCards()
    {
        QFETCH(bool, moc);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, position);
        writeCards(moc);
        CardEditor *e = open(moc);
        e->command("cmdPrimo")->click();
        e->command("cmdAvanti")->click();
        QCOMPARE(e->lblPosizione->text(), QStringLiteral("2"));
        // Typed in a field, as the user works.
        QLineEdit *f = e->field("txtNote");
        f->setFocus();
        QTest::keyClick(f, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(e->lblPosizione->text(), position);
        QVERIFY(e->isVisible()); // no key leaves the editor
        QCOMPARE(f->text(), QString());
    }

    void ctrlSSavesTheCard_data() { addEditorColumn(); }
    void ctrlSSavesTheCard()
    {
        QFETCH(bool, moc);
        CardEditor *e = open(moc);
        const Fields filled =
            moc ? Fields{{"txtTitolo", "Torre"}, {"txtTipologia", "T-01"}, {"txtEditore", "Castelli"},
                         {"txtSerie", "Rossi"}, {"txtDimensioni", "1200"}}
                : Fields{{"txtMunizioni", "Galeone"}, {"txtArma", "Pirati"}, {"txtCalibro", "6285"},
                         {"txtAnno", "1989"}};
        for (const auto &[control, text] : filled)
            e->field(control)->setText(text);
        // The amount is still being typed when the keys are pressed.
        QLineEdit *money = e->field(moc ? "txtValore" : "txtPrezzo");
        money->setFocus();
        money->selectAll();
        QTest::keyClicks(money, QStringLiteral("12,5"));
        QTest::keyClick(money, Qt::Key_S, Qt::ControlModifier);

        QCOMPARE(services->texts(),
                 QStringList{QStringLiteral("La scheda corrente è stata inserita in archivio.")});
        QCOMPARE(e->lblPosizione->text(), QStringLiteral("1"));
        const RecordLayout &layout = moc ? Schede::TSchedaMOC : Schede::TSchedaSet;
        const QByteArray stored = folder->read(recordFile(moc));
        QCOMPARE(stored.size(), qsizetype(layout.size));
        Record card(layout);
        card.bytes() = stored;
        QCOMPARE(card.text(moc ? "CostoTotale" : "Valore"), QStringLiteral("12,50"));
        QCOMPARE(card.text(moc ? "NomeProgetto" : "NomeSet"), filled.first().second);
    }

    void tooltipsShowTheKeys_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("set save") << false << "cmdSalva" << "Salva la scheda in archivio. (Ctrl+S)";
        QTest::newRow("set duplicate") << false << "cmdDuplica"
            << "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti. (Ctrl+D)";
        QTest::newRow("MOC first") << true << "cmdPrimo" << "Visualizza la prima scheda in archivio. (Alt+Home)";
        QTest::newRow("MOC previous shows its first key") << true << "cmdIndietro"
            << "Visualizza la scheda precedente in archivio. (Alt+Left)";
        QTest::newRow("MOC help") << true << "cmdGuida"
            << "Visualizza la pagina della guida sensibile al contesto. (F1)";
        QTest::newRow("set exit has no key") << false << "cmdEsci" << "";
    }
    void tooltipsShowTheKeys()
    {
        QFETCH(bool, moc);
        QFETCH(QString, command);
        QFETCH(QString, tooltip);
        CardEditor *e = editor(moc);
        Picture *p = e->command(command.toStdString());
        QCOMPARE(p->toolTip(), tooltip);
        // The hint bar and the accessible name keep the hint alone.
        QCOMPARE(p->accessibleName(), p->hint());
    }

    // ---- start screen -----------------------------------------------------------

    void startScreenFromTheKeyboard_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("opened");
        QTest::newRow("first Tab, Return") << 1 << int(Qt::Key_Return) << 0 << "frmArmi";
        QTest::newRow("second tile's button, Space") << 4 << int(Qt::Key_Space) << 0 << "frmCreaCatalogo";
        QTest::newRow("third tile, Enter") << 5 << int(Qt::Key_Enter) << 0 << "frmApriCatalogo";
        QTest::newRow("Alt+1") << 0 << int(Qt::Key_1) << int(Qt::AltModifier) << "frmArmi";
        QTest::newRow("Alt+2") << 0 << int(Qt::Key_2) << int(Qt::AltModifier) << "frmCreaCatalogo";
        QTest::newRow("Alt+3") << 0 << int(Qt::Key_3) << int(Qt::AltModifier) << "frmApriCatalogo";
    }
    void startScreenFromTheKeyboard()
    {
        QFETCH(int, tabs);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, opened);
        TfrmAvvio *avvio = roster->frmAvvio();
        showActive(avvio);
        // Nothing shows the focus until the keyboard moves it.
        for (Picture *p : avvio->findChildren<Picture *>())
            QVERIFY(!p->showsFocusRing());
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(avvio->focusWidget() ? avvio->focusWidget() : avvio, Qt::Key_Tab);
        if (tabs == 1) {
            QCOMPARE(avvio->focusWidget(), avvio->imgApp01);
            QVERIFY(avvio->imgApp01->showsFocusRing());
        }
        QWidget *receiver = avvio->focusWidget() ? avvio->focusWidget() : avvio;
        QTest::keyClick(receiver, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QWidget *target = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == opened)
                    target = w;
        QVERIFY(target);
        QTRY_VERIFY(target->isVisible());
        QVERIFY(!avvio->isVisible());
    }

    // ---- result lists ------------------------------------------------------------

    void enterRecallsTheSelectedLine_data()
    {
        QTest::addColumn<bool>("summary");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("position");
        QTest::newRow("search, second line") << false << 1 << "2";
        QTest::newRow("search, nothing selected") << false << -1 << "";
        QTest::newRow("for-sale summary, second line") << true << 1 << "3";
    }
    void enterRecallsTheSelectedLine()
    {
        QFETCH(bool, summary);
        QFETCH(int, row);
        QFETCH(QString, position);
        writeCards(false);
        open(false);
        std::unique_ptr<ListWindow> w;
        if (summary)
            w = std::make_unique<TfrmArmi_Disponibili>(sets());
        else
            w = std::make_unique<TfrmTrovaArmi>(sets());
        if (w->lblMemory) // the search window serves the editor named here
            w->lblMemory->setText(QStringLiteral("armi"));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        if (!summary)
            QTest::mouseClick(w->btnCerca, Qt::LeftButton);
        // Entering the list selects the line it lands on; the case without
        // a selection takes it away afterwards.
        w->lstRecords->setFocus();
        w->lstRecords->clearSelection();
        if (row >= 0)
            w->selectRow(row);
        QTest::keyClick(w->lstRecords, Qt::Key_Return);
        QCOMPARE(sets()->lblPosizione->text(), position);
        QCOMPARE(w->isVisible(), row < 0);
    }
};

VETRINORA_TEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
