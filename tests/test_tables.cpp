// The name tables that join the record layouts to the rest of the program:
// the editors' control tables, the searches' filters and result lines, the
// export columns, the attachment window and the printed card templates. A
// name that resolves nowhere does not stop the program; a column comes out
// empty or a printed box keeps its placeholder. The walk below names every
// such name at once; the MOC export and the MOC card are then checked field
// by field.

#include "TestSupport.h"

#include "ui/app/Roster.h"
#include "core/app/Text.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Widgets.h"
#include "ui/cards/CardEditor.h"
#include "core/cards/CardStore.h"
#include "ui/cards/EditorConfig.h"
#include "core/cards/Schede.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/editing/HintBar.h"
#include "ui/editing/PhotoBox.h"
#include "ui/editing/TfrmAllegaCartella.h"
#include "ui/output/CardPrintWindow.h"
#include "ui/output/ExportWindow.h"
#include "core/reports/Report.h"
#include "ui/search/ListWindow.h"
#include "core/search/ResultLines.h"
#include "ui/search/SearchWindows.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <span>
#include <string_view>

namespace {

QString str(std::string_view view) { return QString::fromLatin1(view.data(), view.size()); }

// Every name that does not resolve, as "table: entry: what is wrong".
class Problems {
public:
    void add(const QString &table, const QString &entry, const QString &what)
    {
        list_ << table + QStringLiteral(": ") + entry + QStringLiteral(": ") + what;
    }
    bool isEmpty() const { return list_.isEmpty(); }
    qsizetype size() const { return list_.size(); }
    QByteArray report() const
    {
        return (QStringLiteral("names that do not resolve:\n  ") + list_.join(QStringLiteral("\n  ")))
            .toUtf8();
    }

private:
    QStringList list_;
};

bool shownInEditor(FieldRole role) { return role != FieldRole::Attachment; }
bool editedInBox(FieldRole role) { return role == FieldRole::Text || role == FieldRole::Money; }

// A text of its own for every field of a layout, fitting the field.
QString distinctText(const RecordLayout &layout, const FieldDef &f)
{
    const int index = int(&f - layout.fields.data());
    switch (f.role) {
    case FieldRole::ForSale: return yesText();
    case FieldRole::Money: return QString::number(index) + QStringLiteral(",50");
    default: return (QString::number(index) + QLatin1Char('-') + f.fieldName()).left(f.capacity);
    }
}

Record distinctCard(const RecordLayout &layout)
{
    Record card(layout);
    for (const FieldDef &f : layout.fields)
        card.setText(f, distinctText(layout, f));
    return card;
}

// The field a text was made for by distinctText, or nullptr.
const FieldDef *fieldWithText(const RecordLayout &layout, const QString &text)
{
    for (const FieldDef &f : layout.fields)
        if (!text.isEmpty() && distinctText(layout, f) == text)
            return &f;
    return nullptr;
}

// "Costo totale: €" -> "Costo totale": the caption as a column heading.
QString headingOf(const FieldDef &f)
{
    QString caption = f.captionText();
    caption.remove(QChar(0x20AC));
    caption = caption.trimmed();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption;
}

// A record built byte by byte from the layout's offsets: the texts are
// Latin-1 characters, which Windows-1252 stores as the same single byte.
QByteArray rawRecord(const RecordLayout &layout, const QList<QPair<const char *, QString>> &texts)
{
    QByteArray bytes(layout.size, '\0');
    for (const auto &[name, text] : texts) {
        const FieldDef *f = layout.field(name);
        if (!f)
            qFatal("no field %s in %s", name, layout.name.data());
        for (QChar c : text)
            if (c.unicode() > 0xFF || (c.unicode() >= 0x80 && c.unicode() < 0xA0))
                qFatal("%s: not a single Windows-1252 byte", name);
        const QByteArray latin1 = text.toLatin1();
        if (latin1.size() > f->capacity)
            qFatal("%s: longer than the field", name);
        bytes[f->offset] = char(latin1.size());
        std::copy(latin1.cbegin(), latin1.cend(), bytes.begin() + f->offset + 1);
    }
    return bytes;
}

constexpr bool inLayout(std::span<const FieldDef> fields, std::string_view name)
{
    for (const FieldDef &f : fields)
        if (f.name == name)
            return true;
    return false;
}

// ---- the MOC archive's spreadsheet and printed card, written out here ----

struct ExpectedColumn {
    std::string_view field;
    const char *heading; // Windows-1252
    int width;
};

constexpr ExpectedColumn kMocExport[] = {
    {"NomeProgetto", "Nome progetto", 300},
    {"CodiceID", "Codice ID", 250},
    {"Tema", "Tema", 300},
    {"Designer", "Designer", 250},
    {"DescrizioneMOC", "Descrizione MOC", 450},
    {"Scala", "Scala", 200},
    {"CostoTotale", "Costo totale", 250},
    {"NumeroPezzi", "Numero pezzi", 250},
    {"DocumentoIstruzioni", "Documento istruzioni", 300},
    {"TecnicaPrincipale", "Tecnica principale", 300},
    {"ColoriPredominanti", "Colori predominanti", 300},
    {"StrutturaSupporto", "Struttura di supporto", 300},
    {"DimensioniOpera", "Dimensioni opera", 350},
    {"TempoMontaggio", "Tempo totale montaggio", 350},
    {"SetUsati", "Set BLOKKO usati", 450},
    {"LivelloDifficolta", "Livello difficolt\xE0", 250},
    {"EtaConsigliata", "Et\xE0 consigliata", 250},
    {"PesoComplessivo", "Peso complessivo", 250},
    {"StatoProgetto", "Stato progetto", 250},
    {"LuogoConservazione", "Luogo conservazione", 350},
    {"Note", "Note", 400},
    {"InVendita", "In vendita", 200},
};

constexpr bool allInLayout(std::span<const ExpectedColumn> columns, std::span<const FieldDef> fields)
{
    for (const ExpectedColumn &c : columns)
        if (!inLayout(fields, c.field))
            return false;
    return true;
}
static_assert(allInLayout(kMocExport, Schede::kMocFields),
              "every expected MOC export column names a field of TSchedaMOC");

// A MOC card with a text of its own in every field, the characters the
// spreadsheet escapes and accented letters among them.
const QList<QPair<const char *, QString>> kMocCard = {
    {"NomeProgetto", QStringLiteral("Torre dell'orologio")},
    {"CodiceID", QStringLiteral("T-01 & c")},
    {"Tema", QStringLiteral("Castelli")},
    {"Designer", QStringLiteral("Rossi <M.>")},
    {"DescrizioneMOC", QStringLiteral("Torre con orologio funzionante")},
    {"Scala", QStringLiteral("1:40")},
    {"CostoTotale", QStringLiteral("123,45")},
    {"NumeroPezzi", QStringLiteral("1200")},
    {"DocumentoIstruzioni", QStringLiteral("istruzioni_torre.pdf")},
    {"TecnicaPrincipale", QStringLiteral("SNOT")},
    {"ColoriPredominanti", QStringLiteral("Grigio e blu")},
    {"StrutturaSupporto", QStringLiteral("Base 48x48")},
    {"DimensioniOpera", QStringLiteral("38 x 38 x 60 cm")},
    {"TempoMontaggio", QStringLiteral("14 ore")},
    {"SetUsati", QStringLiteral("10305, 10280")},
    {"LivelloDifficolta", QString::fromUtf8("Difficoltà alta")},
    {"EtaConsigliata", QString::fromUtf8("Età 16+")},
    {"PesoComplessivo", QStringLiteral("2,4 kg")},
    {"StatoProgetto", QStringLiteral("Completato")},
    {"LuogoConservazione", QString::fromUtf8("Città, soggiorno")},
    {"Note", QStringLiteral("Vetrina A")},
    {"InVendita", QString::fromUtf8("Sì")},
    {"File01", QStringLiteral("torre.ldr")},
    {"Desc01", QStringLiteral("Modello digitale")},
};

QString mocCardText(std::string_view field)
{
    for (const auto &[name, text] : kMocCard)
        if (name == field)
            return text;
    return {};
}

QByteArray spreadsheetCell(const QString &text)
{
    QByteArray escaped;
    for (char c : text.toLatin1()) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        default: escaped += c;
        }
    }
    return "<td style=\"text-align: left;\">" + escaped + "</td>";
}

} // namespace

class TestTables : public ProgramTest {
    Q_OBJECT

    void openMocArchive(const QString &archive)
    {
        roster->frmCartoline()->lblFile->setText(folder->file(archive + QStringLiteral(".moc")));
        roster->frmCartoline()->lblNome->setText(archive);
    }

    // ---- the walk, table by table ---------------------------------------------

    // What the editor tables name, before any window is built: a field place
    // that resolves to no field would stop the editor from being built.
    static void checkEditorTables(const EditorConfig &config, Problems &problems)
    {
        const RecordLayout &layout = *config.layout;
        const QString editor = QString::fromLatin1(config.objectName);
        const QString layoutName = str(layout.name);
        QStringList placed;
        for (const FieldPlace &place : config.fields) {
            const FieldDef *f = layout.fieldForControl(place.control);
            if (!f)
                problems.add(editor + QStringLiteral(" field places"), str(place.control),
                             QStringLiteral("no field of %1 has this control").arg(layoutName));
            else if (!shownInEditor(f->role))
                problems.add(editor + QStringLiteral(" field places"), str(place.control),
                             QStringLiteral("is the hidden attachment label of %1").arg(f->fieldName()));
            placed << str(place.control);
        }
        for (const FieldDef &f : layout.fields)
            if (shownInEditor(f.role) && !placed.contains(f.controlName()))
                problems.add(editor + QStringLiteral(" field places"), f.fieldName(),
                             QStringLiteral("its control %1 has no place on the card").arg(f.controlName()));
        for (const MandatoryField &m : config.mandatory) {
            const FieldDef *f = layout.fieldForControl(m.control);
            if (!f || !editedInBox(f->role) || !placed.contains(str(m.control)))
                problems.add(editor + QStringLiteral(" mandatory fields"), str(m.control),
                             QStringLiteral("not an edit box of %1 on the card").arg(layoutName));
        }
        const FieldDef *sink = layout.fieldForControl(config.trimmedBySink);
        if (!sink || !editedInBox(sink->role))
            problems.add(editor + QStringLiteral(" field trimmed by btnFocus"), str(config.trimmedBySink),
                         QStringLiteral("not an edit box of %1").arg(layoutName));
    }

    static bool editorBuildable(const EditorConfig &config)
    {
        for (const FieldPlace &place : config.fields)
            if (!config.layout->fieldForControl(place.control))
                return false;
        return true;
    }

    static void checkResultLines(const QString &table, const RecordLayout &layout,
                                 std::span<const LineColumn> columns, Problems &problems)
    {
        for (const LineColumn &c : columns)
            if (!layout.field(c.field))
                problems.add(table, str(c.field), QStringLiteral("no field of %1").arg(str(layout.name)));
    }

    // The built editor: every control its tables name is there, the hint bar
    // knows the commands and the background controls, and the attachment
    // window reads and writes the six attachment labels of the layout.
    static void checkEditorWindow(CardEditor *editor, Problems &problems)
    {
        const EditorConfig &config = editor->config();
        const RecordLayout &layout = *config.layout;
        const QString name = editor->objectName();
        auto exists = [&](const QString &table, std::string_view control) {
            const QString n = str(control);
            if (n == QLatin1String("panContainer") ? !editor->panel() : !editor->findChild<QWidget *>(n))
                problems.add(name + QLatin1Char(' ') + table, n, QStringLiteral("no such control in the editor"));
        };
        for (const FieldPlace &place : config.fields) {
            exists(QStringLiteral("field places"), place.control);
            const FieldDef *f = layout.fieldForControl(place.control);
            if (f && editedInBox(f->role) && !editor->field(place.control))
                problems.add(name + QStringLiteral(" field places"), str(place.control),
                             QStringLiteral("the editor has no edit box of this name"));
            if (f && f->role == FieldRole::ForSale
                && (!editor->forSaleBox || editor->forSaleBox->objectName() != str(place.control)))
                problems.add(name + QStringLiteral(" field places"), str(place.control),
                             QStringLiteral("is not the editor's for-sale box"));
        }
        for (const MandatoryField &m : config.mandatory)
            if (!editor->field(m.control))
                problems.add(name + QStringLiteral(" mandatory fields"), str(m.control),
                             QStringLiteral("the editor has no edit box of this name"));
        if (!editor->field(config.trimmedBySink))
            problems.add(name + QStringLiteral(" field trimmed by btnFocus"), str(config.trimmedBySink),
                         QStringLiteral("the editor has no edit box of this name"));

        for (const ToolItem &tool : config.tools) {
            exists(QStringLiteral("toolbar"), tool.name);
            if (!tool.resource) {
                if (!editor->lblPosizione || editor->lblPosizione->objectName() != str(tool.name))
                    problems.add(name + QStringLiteral(" toolbar"), str(tool.name),
                                 QStringLiteral("is not the editor's position label"));
                continue;
            }
            Picture *command = editor->command(tool.name);
            if (!command) {
                problems.add(name + QStringLiteral(" toolbar"), str(tool.name),
                             QStringLiteral("the editor has no command of this name"));
                continue;
            }
            editor->hintBar->pointerOver(command);
            if (editor->panInfo->text() != QString::fromUtf8(tool.hint))
                problems.add(name + QStringLiteral(" hints"), str(tool.name),
                             QStringLiteral("the hint bar shows \"%1\"").arg(editor->panInfo->text()));
        }
        for (std::string_view band : config.toolBands)
            exists(QStringLiteral("toolbar bands"), band);
        for (const Decoration &d : config.decorations)
            exists(QStringLiteral("decorations"), d.name);
        for (int slot = 0; slot < int(config.photos.size()); ++slot) {
            const PhotoSlot &p = config.photos[slot];
            for (std::string_view control : {p.box, p.twin, p.load, p.webcam, p.save, p.clear, p.zoom})
                if (!control.empty())
                    exists(QStringLiteral("photo slots"), control);
            if (!editor->photoBox(slot) || editor->photoBox(slot)->objectName() != str(p.box))
                problems.add(name + QStringLiteral(" photo slots"), str(p.box),
                             QStringLiteral("is not the photo box of slot %1").arg(slot));
        }
        for (std::string_view blank : config.blankers) {
            exists(QStringLiteral("hint bar blankers"), blank);
            const QString n = str(blank);
            QWidget *w = n == QLatin1String("panContainer") ? editor->panel()
                                                             : editor->findChild<QWidget *>(n);
            if (!w)
                continue;
            editor->hintBar->setText(QStringLiteral("suggerimento"));
            editor->hintBar->pointerOver(w);
            if (!editor->panInfo->text().isEmpty())
                problems.add(name + QStringLiteral(" hint bar blankers"), n,
                             QStringLiteral("does not empty the hint bar"));
        }

        // The attachment labels: hidden labels of the editor, read into and
        // written back from the attachment window's slots in field order.
        bool labels = true;
        for (const FieldDef &f : layout.fields) {
            if (f.role == FieldRole::Attachment && !editor->attachmentLabel(f.control)) {
                problems.add(name + QStringLiteral(" attachment labels"), f.controlName(),
                             QStringLiteral("the editor has no label for field %1").arg(f.fieldName()));
                labels = false;
            }
        }
        if (!labels)
            return;
        auto slotField = [&](const char *kind, int slot) {
            return layout.field(QStringLiteral("%1%2").arg(QLatin1String(kind)).arg(slot + 1, 2, 10, QLatin1Char('0')).toStdString());
        };
        for (const FieldDef &f : layout.fields)
            if (f.role == FieldRole::Attachment)
                editor->attachmentLabel(f.control)->setText(QStringLiteral("letto ") + f.fieldName());
        TfrmAllegaCartella window(editor);
        window.readFrom(editor);
        for (int slot = 0; slot < 3; ++slot) {
            for (const auto &[kind, box] : {std::pair{"File", window.txtFile[slot]}, std::pair{"Desc", window.txtDesc[slot]}}) {
                const FieldDef *f = slotField(kind, slot);
                if (!f || box->text() != QStringLiteral("letto ") + f->fieldName())
                    problems.add(name + QStringLiteral(" attachment window"), box->objectName(),
                                 QStringLiteral("reads \"%1\" instead of its field %2%3")
                                     .arg(box->text(), QLatin1String(kind)).arg(slot + 1, 2, 10, QLatin1Char('0')));
                box->setText(QStringLiteral("scritto ") + box->objectName());
            }
        }
        window.writeTo(editor);
        for (int slot = 0; slot < 3; ++slot) {
            for (const auto &[kind, box] : {std::pair{"File", window.txtFile[slot]}, std::pair{"Desc", window.txtDesc[slot]}}) {
                const FieldDef *f = slotField(kind, slot);
                if (f && editor->attachmentLabel(f->control)->text() != QStringLiteral("scritto ") + box->objectName())
                    problems.add(name + QStringLiteral(" attachment window"), box->objectName(),
                                 QStringLiteral("is not written back to label %1").arg(f->controlName()));
            }
        }
    }

    static void checkListWindow(ListWindow &window, CardEditor *editor, Problems &problems)
    {
        const ListWindowConfig &config = window.config();
        const RecordLayout &layout = *config.layout;
        const QString name = window.objectName();
        for (const FilterPlace &f : config.filters) {
            if (!layout.fieldForControl(f.control))
                problems.add(name + QStringLiteral(" filters"), str(f.control),
                             QStringLiteral("no field of %1 has this control").arg(str(layout.name)));
            if (!window.filter(f.control))
                problems.add(name + QStringLiteral(" filters"), str(f.control),
                             QStringLiteral("the window has no filter of this name"));
            if (!editor->field(f.control))
                problems.add(name + QStringLiteral(" filters"), str(f.control),
                             QStringLiteral("not named after an edit box of %1").arg(editor->objectName()));
        }
        checkResultLines(name + QStringLiteral(" result lines"), layout, config.columns, problems);
    }

    // The grid of an export window over a card whose every field has a text
    // of its own: each column shows one field, under that field's caption,
    // and every field of the card has its column.
    static void checkExport(ExportWindow &window, const RecordLayout &layout, Problems &problems)
    {
        window.show();
        const ExportModel *model = window.model();
        const QString table = window.objectName() + QStringLiteral(" columns");
        QList<const FieldDef *> shown;
        for (int c = 1; c < model->columnCount(); ++c) {
            const QString heading = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            const QString entry = QStringLiteral("column %1 \"%2\"").arg(c).arg(heading);
            const QString text = model->cellText(0, c);
            const FieldDef *f = fieldWithText(layout, text);
            if (!f) {
                problems.add(table, entry,
                             text.isEmpty()
                                 ? QStringLiteral("stays empty: its field does not resolve in %1").arg(str(layout.name))
                                 : QStringLiteral("shows \"%1\", the text of no field").arg(text));
                continue;
            }
            if (shown.contains(f))
                problems.add(table, entry, QStringLiteral("shows field %1 a second time").arg(f->fieldName()));
            shown << f;
            if (headingOf(*f) != heading)
                problems.add(table, entry,
                             QStringLiteral("shows field %1, captioned \"%2\"").arg(f->fieldName(), f->captionText()));
        }
        for (const FieldDef &f : layout.fields)
            if (shownInEditor(f.role) && !shown.contains(&f))
                problems.add(table, f.fieldName(), QStringLiteral("no column shows this field"));
        window.close();
    }

    // The page a card print window prepares from the editor showing a card
    // whose every field has a text of its own: each field's memo carries its
    // field's text, and no memo named like a control is left unfilled.
    static void checkCardPrint(CardPrintWindow &window, CardEditor *editor, const QString &archive,
                               Problems &problems)
    {
        const RecordLayout &layout = *editor->config().layout;
        const QString table = window.objectName();
        report::Prepared prepared;
        window.show();
        try {
            prepared = window.preparePage();
        } catch (const std::exception &e) {
            problems.add(table, QStringLiteral("card template"), QString::fromUtf8(e.what()));
            return;
        }
        window.close();
        if (prepared.pages.size() != 1) {
            problems.add(table, QStringLiteral("card template"),
                         QStringLiteral("%1 pages instead of one").arg(prepared.pages.size()));
            return;
        }
        const report::Page &page = prepared.pages.first();
        for (const FieldDef &f : layout.fields) {
            if (!editedInBox(f.role))
                continue;
            const report::Placed *memo = page.find(f.controlName());
            if (!memo || memo->object.kind != report::ObjectKind::Memo)
                problems.add(table, f.controlName(),
                             QStringLiteral("no memo of this name in the card template: field %1 is not printed")
                                 .arg(f.fieldName()));
            else if (memo->object.lines != QStringList{distinctText(layout, f)})
                problems.add(table, f.controlName(),
                             QStringLiteral("prints \"%1\" instead of field %2")
                                 .arg(memo->object.lines.join(QLatin1Char('|')), f.fieldName()));
        }
        for (const report::Placed &p : page.objects) {
            if (p.object.kind != report::ObjectKind::Memo)
                continue;
            const QString &n = p.object.name;
            const FieldDef *f = layout.fieldForControl(n.toStdString());
            if (f && !editedInBox(f->role))
                problems.add(table, n, QStringLiteral("a memo named after control of field %1, which is printed by nobody")
                                           .arg(f->fieldName()));
            else if (n == QLatin1String("txtNome") && p.object.lines != QStringList{archive})
                problems.add(table, n, QStringLiteral("does not print the archive's name"));
            else if (n == QLatin1String("txtCalce")
                     && !p.object.lines.value(0).startsWith(QStringLiteral("Stampa eseguita in data ")))
                problems.add(table, n, QStringLiteral("does not print the date line"));
            else if (!f && n.startsWith(QLatin1String("txt")) && n != QLatin1String("txtNome")
                     && n != QLatin1String("txtCalce"))
                problems.add(table, n,
                             QStringLiteral("a value memo that nothing fills: it prints \"%1\"")
                                 .arg(p.object.lines.join(QLatin1Char('|'))));
        }
        const report::Placed *photo = page.find(QStringLiteral("imgLogo"));
        if (!photo || photo->object.kind != report::ObjectKind::Picture || photo->object.picture.isNull())
            problems.add(table, QStringLiteral("imgLogo"), QStringLiteral("the card's photo is not printed"));
    }

private slots:
    // The walk builds its windows itself, once the tables they are built
    // from are known to resolve.
    void init()
    {
        if (QByteArray(QTest::currentTestFunction()) != "everyNameResolves")
            ProgramTest::init();
    }

    // Every editor, search, export, attachment and print table against the
    // record layouts and the windows built from them; one list of every
    // name that does not resolve.
    void everyNameResolves()
    {
        Problems problems;
        for (const EditorConfig *config : {&EditorTables::sets(), &EditorTables::mocs()})
            checkEditorTables(*config, problems);
        checkResultLines(QStringLiteral("set result lines"), Schede::TSchedaSet,
                         ResultLines::setColumns(), problems);
        checkResultLines(QStringLiteral("MOC result lines"), Schede::TSchedaMOC,
                         ResultLines::mocColumns(), problems);
        if (!editorBuildable(EditorTables::sets()) || !editorBuildable(EditorTables::mocs()))
            QVERIFY2(false, problems.report().constData()); // the editors cannot be built

        folder = std::make_unique<TestProgramFolder>();
        services = std::make_unique<ScriptedServices>();
        roster = std::make_unique<Roster>();
        TfrmArmi *sets = roster->frmArmi();
        TfrmCartoline *mocs = roster->frmCartoline();
        openMocArchive(QStringLiteral("Castelli"));
        folder->write(QStringLiteral("Catalogo_BLOKKO.pro"), distinctCard(Schede::TSchedaSet).bytes());
        folder->write(QStringLiteral("Castelli.moc"), distinctCard(Schede::TSchedaMOC).bytes());

        for (CardEditor *editor : {static_cast<CardEditor *>(sets), static_cast<CardEditor *>(mocs)}) {
            checkEditorWindow(editor, problems);
            const RecordLayout &layout = *editor->config().layout;
            editor->showCard(distinctCard(layout), 1);
            for (const FieldDef &f : layout.fields)
                if (editedInBox(f.role) && editor->field(f.control)
                    && editor->field(f.control)->text() != distinctText(layout, f))
                    problems.add(editor->objectName() + QStringLiteral(" card"), f.controlName(),
                                 QStringLiteral("shows \"%1\" instead of field %2")
                                     .arg(editor->field(f.control)->text(), f.fieldName()));
        }

        {
            TfrmTrovaArmi search(sets);
            checkListWindow(search, sets, problems);
            TfrmArmi_Disponibili forSale(sets);
            checkListWindow(forSale, sets, problems);
            TfrmTrovaCartoline mocSearch(mocs);
            checkListWindow(mocSearch, mocs, problems);
            TfrmInVendita mocForSale(mocs);
            checkListWindow(mocForSale, mocs, problems);
        }
        {
            TfrmExpArmi setExport(sets);
            checkExport(setExport, Schede::TSchedaSet, problems);
            TfrmExpCartoline mocExport(mocs);
            checkExport(mocExport, Schede::TSchedaMOC, problems);
        }
        {
            TfrmStampaArma setPrint(sets);
            checkCardPrint(setPrint, sets, QString(), problems);
            TfrmStampaCartolina mocPrint(mocs);
            checkCardPrint(mocPrint, mocs, QStringLiteral("Castelli"), problems);
            TfrmAnteprimaCartolina mocPreview(mocs);
            checkCardPrint(mocPreview, mocs, QStringLiteral("Castelli"), problems);
        }
        try {
            printList(nullptr, QStringLiteral("Riepilogo"), {QStringLiteral("una riga")});
            if (services->printed.size() != 1 || services->printed.first().pages.size() != 1)
                problems.add(QStringLiteral("list report"), QStringLiteral("riepilogo"),
                             QStringLiteral("did not print one page"));
        } catch (const std::exception &e) {
            problems.add(QStringLiteral("list report"), QStringLiteral("riepilogo"), QString::fromUtf8(e.what()));
        }
        QVERIFY2(problems.isEmpty(), problems.report().constData());
    }

    // The MOC archive's spreadsheet, heading row included, with every column
    // carrying its own field of a card whose every field has a text of its own.
    void mocExportWritesEveryField()
    {
        openMocArchive(QStringLiteral("Castelli"));
        folder->write(QStringLiteral("Castelli.moc"),
                      rawRecord(Schede::TSchedaMOC, kMocCard)
                          + rawRecord(Schede::TSchedaMOC, {{"NomeProgetto", QStringLiteral("Faro")}}));
        TfrmExpCartoline w(roster->frmCartoline());
        w.show();
        services->answers.enqueue(platform::Button::Yes);
        services->answers.enqueue(platform::Button::No);
        QTest::mouseClick(w.cmdEsporta, Qt::LeftButton, {}, w.cmdEsporta->rect().center());
        QCOMPARE(services->messages.size(), 2);
        const QByteArray file = folder->read(QStringLiteral("Archivio_MOC.xls"));

        QByteArray headings;
        QByteArray full = "<tr>";
        QByteArray nameOnly = "<tr>";
        for (const ExpectedColumn &c : kMocExport) {
            headings += "<td style=\"text-align: left; font-weight: bold;\" width="
                        + QByteArray::number(c.width) + ">" + c.heading + "</td>";
            const QByteArray cell = spreadsheetCell(mocCardText(c.field));
            QVERIFY2(file.contains("<tr>" + cell) || file.contains("</td>" + cell),
                     qPrintable(QStringLiteral("column of %1 lacks \"%2\"")
                                    .arg(str(c.field), mocCardText(c.field))));
            full += cell;
            nameOnly += spreadsheetCell(c.field == "NomeProgetto" ? QStringLiteral("Faro") : QString());
        }
        QCOMPARE(file, spreadsheetHead("Archivio MOC") + headings + "</tr>" + full + "</tr>" + nameOnly
                           + "</tr></table></body></html>");
    }

    // The MOC card, read from its archive into the editor, printed and
    // previewed: every field's memo carries that field's text.
    void mocCardPrintsEveryField_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::newRow("print") << false;
        QTest::newRow("preview") << true;
    }
    void mocCardPrintsEveryField()
    {
        QFETCH(bool, preview);
        openMocArchive(QStringLiteral("Castelli"));
        folder->write(QStringLiteral("Castelli.moc"), rawRecord(Schede::TSchedaMOC, kMocCard));
        TfrmCartoline *editor = roster->frmCartoline();
        roster->handOver(roster->frmAvvio(), editor);
        editor->cmdPrimoClick();
        QCOMPARE(editor->lblPosizione->text(), QStringLiteral("1"));

        std::unique_ptr<CardPrintWindow> w;
        if (preview)
            w = std::make_unique<TfrmAnteprimaCartolina>(editor);
        else
            w = std::make_unique<TfrmStampaCartolina>(editor);
        w->show();
        QTest::mouseClick(w->btnStampa, Qt::LeftButton);
        QCOMPARE(services->texts(), QStringList());
        QCOMPARE(services->printed.size(), 1);
        QCOMPARE(services->printed.first().preview, preview);
        QCOMPARE(services->printed.first().pages.size(), 1);

        const report::Prepared prepared = w->preparePage();
        QCOMPARE(prepared.pages.size(), 1);
        const report::Page &page = prepared.pages.first();
        for (const FieldDef &f : Schede::TSchedaMOC.fields) {
            if (!editedInBox(f.role))
                continue;
            const QString expected = mocCardText(f.name);
            QVERIFY2(!expected.isEmpty(), qPrintable(f.fieldName()));
            const report::Placed *memo = page.find(f.controlName());
            QVERIFY2(memo && memo->object.kind == report::ObjectKind::Memo,
                     qPrintable(QStringLiteral("no memo %1 for field %2").arg(f.controlName(), f.fieldName())));
            QVERIFY2(memo->object.lines == QStringList{expected},
                     qPrintable(QStringLiteral("memo %1 prints \"%2\", field %3 holds \"%4\"")
                                    .arg(f.controlName(), memo->object.lines.join(QLatin1Char('|')),
                                         f.fieldName(), expected)));
        }
        QCOMPARE(page.find(QStringLiteral("txtNome"))->object.lines, QStringList{"Castelli"});
    }
};

VETRINORA_TEST_MAIN(TestTables)
#include "test_tables.moc"
