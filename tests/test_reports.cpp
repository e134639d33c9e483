// The report engine and the printed pages: the list report of the search and
// for-sale windows, and the set and MOC card pages with their photo.

#include "TestSupport.h"

#include "core/app/Formats.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Widgets.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/editing/PhotoBox.h"
#include "ui/output/CardPrintWindow.h"
#include "core/reports/Report.h"
#include "ui/search/ListWindow.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTemporaryDir>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace {

bool near(double a, double b) { return std::abs(a - b) < 0.01; }

// "Stampa eseguita in data 07/03/2026 alle ore 12:01:38": today's date and
// the time as hours, minutes and seconds, with nothing after them.
bool isDateLine(const QString &line)
{
    const QRegularExpression form(QStringLiteral("^Stampa eseguita in data ")
                                  + QRegularExpression::escape(Formats::date(QDate::currentDate()))
                                  + QStringLiteral(" alle ore [0-2][0-9]:[0-5][0-9]:[0-5][0-9]$"));
    return form.match(line).hasMatch();
}

const report::Placed &placed(const report::Page &page, const QString &name)
{
    const report::Placed *p = page.find(name);
    if (!p)
        qFatal("no object %s on the page", qPrintable(name));
    return *p;
}

QColor pixel(const QImage &image, double x, double y)
{
    return image.pixelColor(int(x), int(y));
}

} // namespace

class TestReports : public ProgramTest {
    Q_OBJECT

    const ScriptedServices::Printed &onlyJob() const
    {
        if (services->printed.size() != 1)
            qFatal("expected one print job, got %d", int(services->printed.size()));
        return services->printed.first();
    }

private slots:
    // ---- list report ----------------------------------------------------------

    void emptyList()
    {
        printList(nullptr, QStringLiteral("Riepilogo MOC in vendita"), {});
        const auto &job = onlyJob();
        QCOMPARE(job.job.pageCount, 1);
        QCOMPARE(job.job.layout.orientation(), QPageLayout::Landscape);
        QCOMPARE(job.job.layout.pageSize().id(), QPageSize::A4);
        QCOMPARE(job.job.layout.margins(QPageLayout::Millimeter), QMarginsF(10, 10, 10, 10));
        report::Template t = report::Template::load(QStringLiteral(":/reports/riepilogo.json"));
        QCOMPARE(t.name, QStringLiteral("Riepilogo dati"));
        const QImage page = job.pages.first();
        // The title bar, white on slate grey; the date line right under an
        // empty band 10 high.
        QCOMPARE(pixel(page, 9, 5), QColor(0x70, 0x80, 0x90));
        QCOMPARE(pixel(page, 5, 5), QColor(Qt::white));
        QCOMPARE(pixel(page, 20, 30.24 + 10 + 7.56 + 2), QColor(0x70, 0x80, 0x90));
        QCOMPARE(pixel(page, 20, 30.24 + 10 + 7.56 + 20), QColor(Qt::white));
    }

    void hundredLinesSpillOntoASecondPage()
    {
        QStringList lines;
        for (int i = 0; i < 100; ++i)
            lines << QStringLiteral("Riga %1 [DATE]").arg(i, 3, 10, QLatin1Char('0'));
        report::Template t = report::Template::load(QStringLiteral(":/reports/riepilogo.json"));
        t.setText(QStringLiteral("txtTitolo"), QStringLiteral("Riepilogo set BLOKKO in catalogo"));
        t.setLines(QStringLiteral("txtRiepilogo"), lines);
        t.object(QStringLiteral("txtRiepilogo")).rect.setHeight(100 * 12.822);
        t.band(QStringLiteral("MasterData")).height = 100 * 12.822 + 10;
        const report::Prepared p = report::prepare(t);
        QVERIFY(near(p.printable.height(), 718.11));
        QVERIFY(near(p.printable.width(), 1046.93));
        QCOMPARE(p.pages.size(), 2);
        const auto &title = placed(p.pages[0], QStringLiteral("txtTitolo"));
        QVERIFY(near(title.rect.x(), 7.56) && near(title.rect.y(), 3.78));
        QCOMPARE(title.object.lines, QStringList{"Riepilogo set BLOKKO in catalogo"});
        const auto &first = placed(p.pages[0], QStringLiteral("txtRiepilogo"));
        const auto &second = placed(p.pages[1], QStringLiteral("txtRiepilogo"));
        QVERIFY(near(first.rect.y(), 30.24));
        QCOMPARE(first.object.lines.size() + second.object.lines.size(), 100);
        // Split, the memo keeps its line pitch: the two parts are as tall as
        // the whole memo, each as tall as its own lines.
        QVERIFY(near(first.rect.height(), first.object.lines.size() * 12.822));
        QVERIFY(near(second.rect.height(), second.object.lines.size() * 12.822));
        QVERIFY(near(first.rect.height() + second.rect.height(), 1282.2));
        QCOMPARE(first.object.lines.first(), QStringLiteral("Riga 000 [DATE]"));
        QCOMPARE(second.object.lines.first(), lines.at(first.object.lines.size()));
        QVERIFY(first.rect.bottom() <= p.printable.height());
        QVERIFY(near(second.rect.y(), 0));
        QVERIFY(!p.pages[0].find(QStringLiteral("txtPagina")));
        const auto &footer = placed(p.pages[1], QStringLiteral("txtPagina"));
        QVERIFY(near(footer.rect.y(), second.rect.bottom() + 10 + 7.56));
        QVERIFY(!p.pages[1].find(QStringLiteral("txtTitolo")));
    }

    // A template whose master-data memo could never be laid out is refused
    // with an error, at once.
    void unprintableMemoIsRefused_data()
    {
        QTest::addColumn<QString>("memoRect");
        QTest::addColumn<double>("bandHeight");
        QTest::addColumn<QString>("error");
        const QString tooBig = QStringLiteral(
            "Impossibile preparare la stampa \"Prova\": il riquadro di testo \"txtElenco\" del "
            "modello non entra in una pagina.");
        const QString noHeight = QStringLiteral(
            "Impossibile preparare la stampa \"Prova\": il riquadro di testo \"txtElenco\" del "
            "modello non ha un'altezza valida.");
        // The printable height of an A4 portrait page with 10 mm margins is
        // about 1047 units.
        QTest::newRow("top below the page") << "[0, 1100, 200, 40]" << 1200.0 << tooBig;
        QTest::newRow("first line reaching past the page") << "[0, 1030, 200, 60]" << 1200.0 << tooBig;
        QTest::newRow("lines taller than a page") << "[0, 0, 200, 3300]" << 3300.0 << tooBig;
        QTest::newRow("zero height") << "[0, 10, 200, 0]" << 1200.0 << noHeight;
        QTest::newRow("negative height") << "[0, 10, 200, -40]" << 1200.0 << noHeight;
    }
    void unprintableMemoIsRefused()
    {
        QFETCH(QString, memoRect);
        QFETCH(double, bandHeight);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("prova.json")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"({"name": "Prova", "page": {"margin": 10}, "bands": [
            {"name": "Titolo", "kind": "title", "height": 30,
             "objects": [{"name": "txtTitolo", "kind": "memo", "rect": [0, 0, 200, 20], "text": "Titolo"}]},
            {"name": "MasterData", "kind": "masterdata", "height": %1,
             "objects": [{"name": "txtElenco", "kind": "memo", "rect": %2, "text": "uno\ndue\ntre"}]}]})")
                       .arg(bandHeight)
                       .arg(memoRect)
                       .toUtf8());
        file.close();
        report::Template t = report::Template::load(file.fileName());
        QCOMPARE(t.band(QStringLiteral("MasterData")).objects.first().lines.size(), 3);

        // The layout runs on a thread of its own: a layout that never ends
        // stops the test at once instead of hanging it.
        std::packaged_task<report::Prepared()> task([t] { return report::prepare(t); });
        std::future<report::Prepared> result = task.get_future();
        std::thread(std::move(task)).detach();
        if (result.wait_for(std::chrono::seconds(2)) != std::future_status::ready)
            qFatal("the report layout did not end");
        try {
            result.get();
            QFAIL("the template was accepted");
        } catch (const report::Error &e) {
            QCOMPARE(QString::fromUtf8(e.what()), error);
        }
    }

    // ---- card pages ---------------------------------------------------------------

    void setCardPage()
    {
        TfrmArmi *editor = roster->frmArmi();
        roster->handOver(roster->frmAvvio(), editor);
        editor->field("txtMunizioni")->setText(QStringLiteral("  Galeone dei pirati  "));
        editor->field("txtArma")->setText(QString(120, QLatin1Char('W')));
        editor->field("txtPrezzo")->setText(QStringLiteral("49,90"));
        editor->field("txtNote")->setText(QStringLiteral("Scatola [integra]"));
        QImage photo(300, 200, QImage::Format_RGB32);
        photo.fill(QColor(200, 30, 30));
        editor->photoBox(0)->setImage(photo);

        TfrmStampaArma w(editor);
        QCOMPARE(w.windowTitle(), QStringLiteral(" Stampa documento"));
        QCOMPARE(w.size(), QSize(364, 287));
        w.show();
        QTest::mouseClick(w.btnStampa, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        const auto &job = onlyJob();
        QVERIFY(!job.preview);
        QCOMPARE(job.job.pageCount, 1);
        QCOMPARE(job.job.layout.orientation(), QPageLayout::Portrait);

        const report::Prepared p = w.preparePage();
        const report::Page &page = p.pages.first();
        const auto &name = placed(page, QStringLiteral("txtMunizioni"));
        QCOMPARE(name.object.lines, QStringList{"Galeone dei pirati"});
        QVERIFY(near(name.rect.x(), 11.34) && near(name.rect.y(), 12.09));
        QCOMPARE(placed(page, QStringLiteral("txtPrezzo")).object.lines, QStringList{"49,90"});
        QCOMPARE(placed(page, QStringLiteral("txtNote")).object.lines, QStringList{"Scatola [integra]"});
        QCOMPARE(placed(page, QStringLiteral("titImporto")).object.lines, QStringList{"Valore:"});
        const QString dateLine = placed(page, QStringLiteral("txtCalce")).object.lines.first();
        QVERIFY2(isDateLine(dateLine), qPrintable(dateLine));
        const auto &theme = placed(page, QStringLiteral("txtArma"));
        QVERIFY(near(theme.rect.x(), 7.56) && near(theme.rect.y(), 548.03 + 18.90 + 3.78));
        QVERIFY(near(placed(page, QStringLiteral("txtRecapito")).rect.y(), 918.43 + 18.90 + 3.78));

        const QImage image = job.pages.first();
        // The photo, scaled into its frame and centred; the blue title band.
        const QRectF frame = placed(page, QStringLiteral("imgLogo")).rect;
        QCOMPARE(pixel(image, frame.center().x(), frame.center().y()), QColor(200, 30, 30));
        QCOMPARE(pixel(image, frame.left() + 2, frame.center().y()), QColor(Qt::white));
        QCOMPARE(pixel(image, 6, 6), QColor(0xB0, 0xC4, 0xDE));
        // A field longer than its box is cut at the box's edge.
        bool spilled = false;
        for (int x = 352; x < 364; ++x)
            for (int y = int(theme.rect.top()); y < int(theme.rect.bottom()); ++y)
                spilled |= image.pixelColor(x, y) != QColor(Qt::white);
        QVERIFY(!spilled);
    }

    void mocCardPreview()
    {
        TfrmCartoline *editor = roster->frmCartoline();
        editor->lblFile->setText(folder->file(QStringLiteral("Castelli.moc")));
        editor->lblNome->setText(QStringLiteral("Castelli"));
        roster->handOver(roster->frmAvvio(), editor);
        editor->field("txtTitolo")->setText(QStringLiteral("Torre"));
        editor->field("txtValore")->setText(QStringLiteral("12,50"));
        editor->field("txtData")->setText(QStringLiteral("  difficile "));
        QImage photo(100, 300, QImage::Format_RGB32);
        photo.fill(QColor(30, 160, 30));
        editor->photoBox(0)->setImage(photo);

        TfrmAnteprimaCartolina w(editor);
        QCOMPARE(w.windowTitle(), QStringLiteral(" Anteprima di stampa"));
        QCOMPARE(w.btnStampa->text(), QStringLiteral("Mostra anteprima"));
        w.show();
        QTest::mouseClick(w.btnStampa, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        const auto &job = onlyJob();
        QVERIFY(job.preview);
        const report::Page page = w.preparePage().pages.first();
        QCOMPARE(placed(page, QStringLiteral("txtNome")).object.lines, QStringList{"Castelli"});
        QCOMPARE(placed(page, QStringLiteral("txtTitolo")).object.lines, QStringList{"Torre"});
        QCOMPARE(placed(page, QStringLiteral("txtValore")).object.lines, QStringList{"12,50"});
        QCOMPARE(placed(page, QStringLiteral("txtData")).object.lines, QStringList{"difficile"});
        QVERIFY(near(placed(page, QStringLiteral("txtValore")).rect.x(), 177.64 + 3.78));
        QVERIFY(near(placed(page, QStringLiteral("txtValore")).rect.y(), 842.84 + 18.90 + 5.29));
        QCOMPARE(placed(page, QStringLiteral("titRaccomandazioni")).object.lines, QStringList{"NOTE"});
        QVERIFY(!page.find(QStringLiteral("txtCalce")));
        const QImage image = job.pages.first();
        const QRectF frame = placed(page, QStringLiteral("imgLogo")).rect;
        QCOMPARE(pixel(image, frame.center().x(), frame.center().y()), QColor(30, 160, 30));
        QCOMPARE(pixel(image, 10, 25), QColor(0x41, 0x69, 0xE1));
    }

    void failuresCancelAndAnnulla_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<QString>("message");
        QTest::newRow("print fails") << 0
                                     << QStringLiteral("Attenzione: la stampa non è andata a buon "
                                                       "fine.\n\r\n\rSi consiglia di ridurre le "
                                                       "dimensioni della foto.");
        QTest::newRow("dialog cancelled") << 1 << QString();
        QTest::newRow("Annulla") << 2 << QString();
    }
    void failuresCancelAndAnnulla()
    {
        QFETCH(int, way);
        QFETCH(QString, message);
        TfrmCartoline *editor = roster->frmCartoline();
        TfrmStampaCartolina w(editor);
        w.show();
        services->printFails = way == 0;
        services->printAnswer = way != 1;
        QTest::mouseClick(way == 2 ? w.btnAnnulla : w.btnStampa, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(services->texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (way == 0)
            QCOMPARE(services->messages.first().kind, platform::MessageKind::Warning);
        for (const auto &p : services->printed)
            QVERIFY(p.pages.isEmpty());
    }

    void editorsOpenTheirPrintWindows_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("window");
        QTest::newRow("set print") << false << "cmdStampa" << "frmStampaArma";
        QTest::newRow("moc print") << true << "cmdStampa" << "frmStampaCartolina";
        QTest::newRow("moc preview") << true << "cmdAnteprima" << "frmAnteprimaCartolina";
    }
    void editorsOpenTheirPrintWindows()
    {
        QFETCH(bool, moc);
        QFETCH(QString, command);
        QFETCH(QString, window);
        CardEditor *editor = moc ? static_cast<CardEditor *>(roster->frmCartoline()) : roster->frmArmi();
        roster->handOver(roster->frmAvvio(), editor);
        Picture *p = editor->command(command.toStdString());
        QVERIFY(p);
        const auto checkAndCancel = [&](QWidget *modal) {
            auto *w = qobject_cast<CardPrintWindow *>(modal);
            QVERIFY(w);
            QCOMPARE(w->objectName(), window);
            QCOMPARE(w->imgLogo->image(), editor->photoBox(0)->image());
            QTest::mouseClick(w->btnAnnulla, Qt::LeftButton);
            QVERIFY(!w->isVisible());
        };
        QVERIFY(withModal([&] { QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center()); },
                          checkAndCancel));
        QCOMPARE(services->printed.size(), 0);
    }
};

VETRINORA_TEST_MAIN(TestReports)
#include "test_reports.moc"
