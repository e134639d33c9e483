// Builds the user manual "Guida.pdf": a title page, a table of contents with
// the page where each chapter starts, the chapters written in
// tools/guida/GuidaText.cpp around the program's own help topics, and
// pictures of the real windows taken on the offscreen platform with a small
// sample collection in a scratch folder.
//   make_guida <output.pdf>
#include "LinkedModules.h"
#include "guida/GuidaText.h"
#include "guida/PdfOutline.h"

#include "core/app/HelpTopics.h"
#include "core/app/ProgramFolder.h"
#include "ui/cards/EditorConfig.h"
#include "core/cards/Schede.h"
#include "core/transfer/CsvImport.h"
#include "core/transfer/Transfer.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/app/TfrmCambiaPassword.h"
#include "ui/app/TfrmPassword.h"
#include "ui/archives/TfrmApriCatalogo.h"
#include "ui/archives/TfrmCreaCatalogo.h"
#include "ui/base/Application.h"
#include "ui/base/HelpWindows.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/collection/GalleryView.h"
#include "ui/collection/TfrmCollezione.h"
#include "ui/collection/TfrmStatistiche.h"
#include "ui/editing/TfrmAllegaCartella.h"
#include "ui/editing/TfrmWebCam.h"
#include "ui/output/CardPrintWindow.h"
#include "ui/output/ExportWindow.h"
#include "ui/platform/Platform.h"
#include "ui/search/SearchWindows.h"
#include "ui/transfer/TfrmImporta.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

// The windows are photographed without anyone at the keyboard: every
// message is acknowledged, every question answered yes, every file dialog
// cancelled, and there is no camera.
class NoCamera : public platform::VideoInput {
public:
    bool available() const override { return false; }
    void start() override {}
    void stop() override {}
    bool isActive() const override { return false; }
    QImage currentFrame() override { return {}; }
};

class Unattended : public platform::Services {
public:
    platform::Button message(QWidget *, platform::MessageKind kind, const QString &,
                             const platform::Buttons &) override
    {
        return kind == platform::MessageKind::Confirmation ? platform::Button::Yes
                                                           : platform::Button::Ok;
    }
    QString openFile(QWidget *, const platform::FileDialogRequest &) override { return {}; }
    QString saveFile(QWidget *, const platform::FileDialogRequest &) override { return {}; }
    void shellOpen(const QString &) override {}
    bool print(QWidget *, const platform::PrintJob &) override { return false; }
    void preview(QWidget *, const platform::PrintJob &) override {}
    std::unique_ptr<platform::VideoInput> openVideoInput() override
    {
        return std::make_unique<NoCamera>();
    }
};

QImage grab(QWidget &window, QSize size = {})
{
    if (size.isValid())
        window.resize(size);
    window.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QImage image = window.grab().toImage();
    window.hide();
    QCoreApplication::processEvents();
    return image;
}

void type(QWidget &editor, const char *control, const QString &text)
{
    if (auto *f = editor.findChild<QLineEdit *>(QString::fromLatin1(control)))
        f->setText(text);
    else
        std::fprintf(stderr, "make_guida: no field %s\n", control);
}

QImage icon(const char *resource)
{
    QImage image(56, 56, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QSvgRenderer svg(QString::fromLatin1(resource));
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

using Pictures = QList<QPair<QString, QImage>>;

// Takes the pictures of the windows, filling a sample collection in the
// scratch folder on the way: three sets (two for sale) and a MOC archive.
Pictures takePictures(const QString &folder)
{
    Pictures pictures;
    const auto add = [&](const QString &name, const QImage &image) {
        pictures << qMakePair(name, image);
    };

    {
        TfrmPassword login;
        add(u"accesso.png"_s, grab(login));
        TfrmCambiaPassword change;
        add(u"cambia_password.png"_s, grab(change));
    }
    TfrmAvvio start;
    add(u"avvio.png"_s, grab(start, QSize(1011, 708)));
    {
        TfrmGuida help(nullptr);
        help.setTopic(HelpTopics::startScreen());
        add(u"guida.png"_s, grab(help));
    }

    TfrmArmi sets;
    sets.resize(1012, 708);
    sets.show();
    QCoreApplication::processEvents();
    struct SampleSet {
        const char *name, *theme, *figures, *code, *year, *pieces, *place, *state, *value;
        bool forSale;
    };
    const SampleSet samples[] = {
        {"Faro sulla scogliera", "City", "Guardiano del faro, pescatore", "6174", "1995", "412",
         "Vetrina del soggiorno", "Ottimo, scatola integra", "85,00", false},
        {"Base lunare Alfa", "Space", "Due astronauti", "6930", "1987", "754", "Soffitta",
         "Buono, scatola segnata", "140,00", true},
        {"Galeone dei pirati", "Pirati", "Capitano, tre pirati, pappagallo", "6285", "1989", "850",
         "Vetrina del soggiorno", "Ottimo, completo di istruzioni", "320,00", true},
    };
    for (const SampleSet &s : samples) {
        sets.cmdNuovoClick();
        type(sets, "txtMunizioni", QString::fromUtf8(s.name));
        type(sets, "txtArma", QString::fromUtf8(s.theme));
        type(sets, "txtAccessori", QString::fromUtf8(s.figures));
        type(sets, "txtCalibro", QString::fromUtf8(s.code));
        type(sets, "txtAnno", QString::fromUtf8(s.year));
        type(sets, "txtMatricola", QString::fromUtf8(s.pieces));
        type(sets, "txtPeso", u"1,2 kg"_s);
        type(sets, "txtDimensioni", u"48 x 38 x 9 cm"_s);
        type(sets, "txtLuogo", QString::fromUtf8(s.place));
        type(sets, "txtProprietario", QString::fromUtf8(s.state));
        type(sets, "txtCodFisc", u"8-12 anni"_s);
        type(sets, "txtRecapito", u"12/04/2021"_s);
        type(sets, "txtNote", u"Acquistato a una fiera di collezionisti."_s);
        type(sets, "txtPrezzo", QString::fromUtf8(s.value));
        sets.forSaleBox->setChecked(s.forSale);
        sets.cmdSalvaClick();
    }
    add(u"set.png"_s, grab(sets));
    {
        TfrmTrovaArmi search(&sets);
        search.show();
        QCoreApplication::processEvents();
        if (QLineEdit *f = search.filter("txtLuogo"))
            f->setText(u"vetrina"_s);
        add(u"trova_filtri.png"_s, search.grab().toImage());
        search.btnCerca->click();
        add(u"trova.png"_s, grab(search));
    }
    {
        TfrmArmi_Disponibili forSale(&sets);
        add(u"in_vendita.png"_s, grab(forSale));
    }
    {
        TfrmExpArmi exportWindow(&sets);
        add(u"esporta.png"_s, grab(exportWindow));
    }
    {
        TfrmStampaArma print(&sets);
        add(u"stampa.png"_s, grab(print));
    }
    {
        TfrmAllegaCartella attach(&sets);
        attach.txtFile[0]->setText(u"Galeone dei pirati - istruzioni.pdf"_s);
        attach.txtDesc[0]->setText(u"Istruzioni di montaggio, 64 pagine"_s);
        attach.txtFile[1]->setText(u"Galeone dei pirati - ricevuta.jpg"_s);
        attach.txtDesc[1]->setText(u"Ricevuta d'acquisto"_s);
        add(u"allegati.png"_s, grab(attach));
    }
    sets.hide();

    for (const QString &name : {u"Castelli medievali"_s, u"Treni e ferrovie"_s, u"Mosaici"_s}) {
        QFile archive(folder + u'/' + name + u".moc"_s);
        if (!archive.open(QIODevice::WriteOnly))
            std::fprintf(stderr, "make_guida: cannot create a sample archive\n");
    }
    {
        TfrmCreaCatalogo create;
        create.txtFile->setText(u"Astronavi"_s);
        add(u"crea_archivio.png"_s, grab(create));
        TfrmApriCatalogo open;
        add(u"apri_archivio.png"_s, grab(open));
    }
    TfrmCartoline mocs;
    mocs.lblNome->setText(u"Castelli medievali"_s);
    mocs.lblFile->setText(QDir::toNativeSeparators(folder + u"/Castelli medievali.moc"_s));
    mocs.resize(1011, 708);
    mocs.show();
    QCoreApplication::processEvents();
    mocs.cmdNuovoClick();
    type(mocs, "txtTitolo", u"Torre di guardia"_s);
    type(mocs, "txtTipologia", u"CAS-014"_s);
    type(mocs, "txtEditore", u"Castelli"_s);
    type(mocs, "txtSerie", u"Mario Rossi"_s);
    type(mocs, "txtDescrizione", u"Torre quadrata a tre piani con ponte levatoio funzionante"_s);
    type(mocs, "txtAnno", u"1:40"_s);
    type(mocs, "txtValore", u"95,00"_s);
    type(mocs, "txtDimensioni", u"1850"_s);
    type(mocs, "txtCarta", u"Torre di guardia - istruzioni.pdf"_s);
    type(mocs, "txtRarita", u"SNOT"_s);
    type(mocs, "txtMittente", u"Grigio chiaro, marrone"_s);
    type(mocs, "txtIndirizzoMit", u"Due piastre 48 x 48"_s);
    type(mocs, "txtDestinatario", u"38 x 38 x 52 cm"_s);
    type(mocs, "txtIndirizzoDes", u"14 ore"_s);
    type(mocs, "txtTesto", u"6080, 6074"_s);
    type(mocs, "txtData", u"Media"_s);
    type(mocs, "txtFrancobollo", u"12+"_s);
    type(mocs, "txtTimbro", u"2,4 kg"_s);
    type(mocs, "txtStato", u"Completato"_s);
    type(mocs, "txtLuogo", u"Mensola dello studio"_s);
    type(mocs, "txtNote", u"Il ponte levatoio riusa le catene di un vecchio set."_s);
    mocs.cmdSalvaClick();
    add(u"moc.png"_s, grab(mocs));
    {
        TfrmWebCam webcam(&mocs);
        add(u"webcam.png"_s, grab(webcam));
    }
    mocs.hide();

    {
        // The whole collection, one set selected so that every line of the
        // totals bar has something to say.
        TfrmCollezione collection;
        collection.resize(995, 692);
        collection.show();
        QCoreApplication::processEvents();
        collection.cmbCatalogo->setCurrentIndex(collection.cmbCatalogo->count() - 1);
        collection.cmbCatalogoChange();
        collection.grdSchede->selectRow(2);
        add(u"collezione.png"_s, grab(collection, QSize(995, 692)));
        // Its statistics, opened by its own command.
        collection.show();
        collection.cmdStatisticheClick();
        if (auto *statistics = collection.findChild<TfrmStatistiche *>()) {
            add(u"statistiche.png"_s, grab(*statistics, QSize(1000, 640)));
            statistics->close();
        }
    }
    {
        // The gallery of the sets, each with a photo of its box.
        const QColor boxes[] = {QColor(0xD0, 0x3A, 0x2F), QColor(0x2F, 0x5D, 0xA8), QColor(0xE8, 0xB7, 0x2C)};
        for (int n = 1; n <= 3; ++n) {
            QImage photo(640, 480, QImage::Format_RGB32);
            photo.fill(QColor(0xEE, 0xEB, 0xE4));
            QPainter painter(&photo);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(boxes[n - 1]);
            painter.drawRoundedRect(QRect(120, 90, 400, 300), 12, 12);
            painter.setBrush(boxes[n - 1].lighter(130));
            for (int x = 0; x < 4; ++x)
                for (int y = 0; y < 3; ++y)
                    painter.drawEllipse(QPoint(190 + x * 87, 160 + y * 80), 26, 26);
            painter.end();
            QDir(folder).mkpath(u"Schedario"_s);
            photo.save(folder + u"/Schedario/BLOKKO_%1.jpg"_s.arg(n), "JPG", 90);
        }
        TfrmCollezione collection;
        collection.resize(995, 692);
        collection.show();
        QCoreApplication::processEvents();
        if (!collection.chkGalleria->isChecked())
            collection.chkGalleria->click();
        QElapsedTimer waited;
        waited.start();
        const auto allShown = [&] {
            for (int row : collection.lstGalleria->visibleRows())
                if (collection.lstGalleria->thumbnails()->find(collection.lstGalleria->photoOf(row)).state
                    == ThumbnailQueue::State::Waiting)
                    return false;
            return !collection.lstGalleria->visibleRows().isEmpty();
        };
        while (!allShown() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        collection.lstGalleria->setCurrentIndex(
            collection.model()->index(2, collection.lstGalleria->modelColumn()));
        add(u"galleria.png"_s, grab(collection, QSize(995, 692)));
        // The windows after this one find the table again.
        collection.chkGalleria->click();
    }
    {
        // A sheet as an Italian spreadsheet saves it: Windows-1252, ";"
        // between cells, one column the cards have no field for, a note too
        // long for its field and an amount with a thousands point.
        const QString sheet = folder + u"/../Inventario.csv"_s;
        QFile csv(sheet);
        const QString note =
            u"Completo di istruzioni e scatola originale, adesivi già applicati in modo "
            "preciso, mattoncini bianchi leggermente ingialliti, una minifigura con il casco "
            "sostituito, il foglio degli adesivi avanzati conservato a parte nella busta "
            "originale insieme alla ricevuta del negozio"_s;
        const QString text =
            u"Nome set;Anno uscita;Valore;In vendita;Note;Prezzo pagato\r\n"
            "Castello del leone;1984;210,00;Sì;Completo di istruzioni;180\r\n"
            "Stazione di servizio;1989;1.250,00;No;"_s
            + note
            + u";40\r\n"
              "Nave spaziale;1979;450;x;Scatola con un angolo rovinato;300\r\n"
              "Treno merci;1980;;no;Motore a 12 V funzionante;95\r\n"_s;
        if (!csv.open(QIODevice::WriteOnly) || csv.write(text.toLatin1()) < 0)
            std::fprintf(stderr, "make_guida: cannot write the sample sheet\n");
        csv.close();
        try {
            TfrmImporta preview(Schede::TSchedaSet, Transfer::preview(sheet),
                                folder + u"/Catalogo_BLOKKO.pro"_s);
            add(u"importa.png"_s, grab(preview, QSize(1000, 330)));
        } catch (const Transfer::Error &e) {
            std::fprintf(stderr, "make_guida: %s\n", qPrintable(e.message()));
        }
    }

    const QPair<const EditorConfig *, QString> editors[] = {{&EditorTables::sets(), u"set_"_s},
                                                            {&EditorTables::mocs(), u"moc_"_s}};
    for (const auto &[config, prefix] : editors)
        for (const ToolItem &item : config->tools)
            if (item.resource)
                add(prefix + QString::fromLatin1(item.name.data(), qsizetype(item.name.size()))
                        + u".png"_s,
                    icon(item.resource));
    return pictures;
}

const QString kStyle = uR"(
h1 { color: #1F3A5F; font-size: 20pt; margin-bottom: 12px; }
h3 { color: crimson; font-size: 12pt; margin-top: 14px; }
p { margin-bottom: 6px; }
p.guida { color: #000000; }
p.messaggio { margin-top: 8px; margin-bottom: 4px; }
td, th { font-size: 9pt; }
)"_s;

QString toc(const QList<Guida::Chapter> &chapters, const QList<int> &pages)
{
    QString html = u"<h1 style=\"page-break-before: always;\">Indice</h1>"
                   "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"5\">"_s;
    for (qsizetype i = 0; i < chapters.size(); ++i)
        html += u"<tr><td style=\"font-size: 12pt;\">"_s + QString::number(i + 1) + u". "_s
                + chapters[i].title.toHtmlEscaped()
                + u"</td><td align=\"right\" style=\"font-size: 12pt;\">"_s
                + (i < pages.size() ? QString::number(pages[i]) : u"000"_s) + u"</td></tr>"_s;
    return html + u"</table>"_s;
}

QString wholeHtml(const QList<Guida::Chapter> &chapters, const QList<int> &pages)
{
    QString html = u"<p align=\"center\" style=\"font-size: 40pt; color: #1F3A5F;\"><br><br>"
                   "<b>Vetrinora</b></p>"
                   "<p align=\"center\" style=\"font-size: 18pt; color: crimson;\">Guida "
                   "all'utilizzo del software</p>"
                   "<p align=\"center\" style=\"font-size: 12pt;\">Catalogo dei set BLOKKO e "
                   "archivi delle proprie MOC</p>"
                   "<p align=\"center\"><br><img src=\"accesso.png\" width=\"300\"></p>"_s;
    html += toc(chapters, pages);
    for (qsizetype i = 0; i < chapters.size(); ++i)
        html += u"<h1 style=\"page-break-before: always;\">"_s + QString::number(i + 1)
                + u". "_s + chapters[i].title.toHtmlEscaped() + u"</h1>"_s + chapters[i].html;
    return html;
}

// Keeps each paragraph of the running text on one page: a paragraph that
// would cross the foot of a page starts on the next one. Drawing a page then
// never touches a line of a neighbouring page, which the PDF would keep,
// clipped out of sight but still found by search and copy.
void setHtml(QTextDocument &document, const QString &html)
{
    document.setHtml(html);
    const qreal pageHeight = document.pageSize().height();
    for (int round = 0; round < 200; ++round) {
        document.pageCount(); // the layout runs lazily: finish it
        QTextBlock crossing;
        for (QTextBlock block = document.begin(); block.isValid() && !crossing.isValid();
             block = block.next()) {
            const QTextLayout *layout = block.layout();
            QTextCursor at(block);
            if (!layout || layout->lineCount() < 2 || at.currentTable()
                || at.currentFrame() != document.rootFrame())
                continue;
            const QTextLine last = layout->lineAt(layout->lineCount() - 1);
            const qreal top = layout->position().y() + layout->lineAt(0).y();
            const qreal bottom = layout->position().y() + last.y() + last.height();
            if (std::floor(top / pageHeight) != std::floor((bottom - 1) / pageHeight))
                crossing = block;
        }
        if (crossing.isValid()) {
            QTextBlockFormat format;
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(crossing).mergeBlockFormat(format);
            continue;
        }
        // A table that fits on a page is kept whole the same way.
        bool moved = false;
        for (QTextFrame *frame : document.rootFrame()->childFrames()) {
            auto *table = qobject_cast<QTextTable *>(frame);
            const QRectF r = document.documentLayout()->frameBoundingRect(frame);
            if (table && r.height() < pageHeight
                && table->format().pageBreakPolicy() != QTextFormat::PageBreak_AlwaysBefore
                && std::floor(r.top() / pageHeight) != std::floor((r.bottom() - 1) / pageHeight)) {
                // Its heading goes along with it.
                const QTextBlock heading = document.findBlock(table->firstPosition() - 1);
                if (heading.isValid() && heading.blockFormat().headingLevel() > 0) {
                    QTextBlockFormat format;
                    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                    QTextCursor(heading).mergeBlockFormat(format);
                } else {
                    QTextTableFormat format = table->format();
                    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                    table->setFormat(format);
                }
                moved = true;
                break;
            }
        }
        if (!moved)
            return;
    }
}

// The page (from 1) on which each first-level heading starts, in order.
QList<int> headingPages(QTextDocument &document)
{
    const qreal pageHeight = document.pageSize().height();
    document.pageCount(); // the layout runs lazily: finish it
    QList<int> pages;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1 || !block.layout()
            || block.layout()->lineCount() == 0)
            continue;
        const qreal y = block.layout()->position().y() + block.layout()->lineAt(0).y() + 1;
        pages << int(std::floor(y / pageHeight)) + 1;
    }
    return pages;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_guida <output.pdf>\n");
        return 2;
    }
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "make_guida: no scratch folder\n");
        return 1;
    }
    // A screen as large as a desktop one, so every window is photographed
    // whole at its own size, never fitted to a small screen.
    QFile screen(scratch.filePath(u"screen.json"_s));
    if (!screen.open(QIODevice::WriteOnly)
        || screen.write(R"({ "windowFrameMargins": false, "screens": [ { "name": "Schermo",
            "x": 0, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96,
            "logicalBaseDpi": 96, "dpr": 1 } ] })") < 0)
        return 1;
    screen.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen.fileName()));
    // The gallery's thumbnails go to the scratch folder, not the user's cache.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.filePath(u"cache"_s)));
    VetrinoraApplication::prepareProcess();
    VetrinoraApplication app(argc, argv);
    app.prepare();
    // The manual's pictures show the charts, whose module is linked in.
    linkModulesIn();

    Unattended unattended;
    platform::setServices(&unattended);
    const QString data = scratch.filePath(u"dati"_s);
    if (!QDir().mkpath(data)) {
        std::fprintf(stderr, "make_guida: no scratch folder\n");
        return 1;
    }
    ProgramFolder::setPathForTests(data);
    const Pictures pictures = takePictures(data);
    ProgramFolder::setPathForTests(QString());
    platform::setServices(nullptr);
    for (const QString &name : Guida::pictureNames()) {
        const auto taken = std::find_if(pictures.begin(), pictures.end(),
                                        [&](const auto &p) { return p.first == name; });
        if (taken == pictures.end() || taken->second.isNull()) {
            std::fprintf(stderr, "make_guida: no picture %s\n", qPrintable(name));
            return 1;
        }
    }

    const QString output = QString::fromLocal8Bit(argv[1]);
    QPdfWriter pdf(output);
    pdf.setTitle(u"Vetrinora - Guida all'utilizzo del software"_s);
    pdf.setCreator(u"Vetrinora"_s);
    pdf.setResolution(300);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(18, 16, 18, 14), QPageLayout::Millimeter));
    const QRect paint = pdf.pageLayout().paintRectPixels(pdf.resolution());
    const int footer = pdf.resolution() * 3 / 10; // about 7.5 mm for the page number

    const QList<Guida::Chapter> chapters = Guida::chapters();
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&pdf);
    document.setDocumentMargin(0);
    document.setPageSize(QSizeF(paint.width(), paint.height() - footer));
    QFont font(u"Liberation Sans"_s, 10);
    font.setStyleHint(QFont::SansSerif);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(kStyle);
    for (const auto &[name, image] : pictures)
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);

    // Lay out once to learn where each chapter starts, then again with those
    // pages in the table of contents, until the pages stand still.
    QList<int> pages;
    for (int pass = 0; pass < 4; ++pass) {
        setHtml(document, wholeHtml(chapters, pages));
        const QList<int> found = headingPages(document).mid(1); // past "Indice"
        if (found == pages)
            break;
        pages = found;
    }
    setHtml(document, wholeHtml(chapters, pages));
    if (headingPages(document).mid(1) != pages) {
        std::fprintf(stderr, "make_guida: the table of contents does not settle\n");
        return 1;
    }

    const int pageCount = document.pageCount();
    const qreal pageHeight = document.pageSize().height();
    // The running text's blocks, each with its page: a page draws only its
    // own, since the layout draws a block that merely touches the page whole.
    QList<QPair<QTextBlock, int>> blockPages;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextCursor at(block);
        if (!block.layout() || block.layout()->lineCount() == 0 || at.currentTable()
            || at.currentFrame() != document.rootFrame())
            continue;
        const qreal top = block.layout()->position().y() + block.layout()->lineAt(0).y();
        blockPages << qMakePair(block, int(std::floor((top + 1) / pageHeight)));
    }
    QPainter painter(&pdf);
    QFont footerFont(u"Liberation Sans"_s, 9);
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0)
            pdf.newPage();
        painter.save();
        painter.translate(0, -page * pageHeight);
        const QRectF visible(0, page * pageHeight, paint.width(), pageHeight);
        painter.setClipRect(visible);
        for (auto &[block, onPage] : blockPages)
            block.setVisible(onPage == page);
        document.drawContents(&painter, visible);
        painter.restore();
        if (page > 0) {
            painter.setFont(footerFont);
            painter.setPen(QColor(0x1F, 0x3A, 0x5F));
            painter.drawText(QRectF(0, paint.height() - footer / 2, paint.width(), footer / 2),
                             Qt::AlignHCenter | Qt::AlignBottom, QString::number(page + 1));
        }
    }
    if (!painter.end()) {
        std::fprintf(stderr, "make_guida: cannot write %s\n", argv[1]);
        return 1;
    }

    QList<PdfOutline::Entry> outline;
    outline << PdfOutline::Entry{u"Indice"_s, 2};
    for (qsizetype i = 0; i < chapters.size(); ++i)
        outline << PdfOutline::Entry{QString::number(i + 1) + u". "_s + chapters[i].title,
                                     pages[i]};
    const QString failure = PdfOutline::add(output, outline);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "make_guida: %s\n", qPrintable(failure));
        return 1;
    }
    return 0;
}
