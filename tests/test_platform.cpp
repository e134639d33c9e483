// The process-wide set-up and the platform layer: Italian texts and formats,
// software rendering, the shell opener and the general error report.

#include "TestSupport.h"

#include "ui/base/Application.h"
#include "core/app/Formats.h"
#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/platform/System.h"
#include "core/transfer/Backup.h"
#include "core/transfer/CsvImport.h"
#include "core/transfer/FileFormats.h"
#include "core/transfer/SheetRows.h"
#include "core/transfer/XlsxExport.h"
#include "LinkedModules.h"
#include "ui/collection/TfrmStatistiche.h"
#include "ui/platform/Modules.h"
#include "ui/platform/QtServices.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QLocale>
#include <QMessageBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QScopeGuard>
#include <QScreen>
#include <QToolButton>
#include <QTest>
#include <stdexcept>

namespace {
class ThrowingWidget : public QWidget {
protected:
    void keyPressEvent(QKeyEvent *) override
    {
        throw std::runtime_error("Impossibile completare l'operazione richiesta.");
    }
};
} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void stockButtonsAreItalian()
    {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QStringList texts;
        for (QAbstractButton *b : box.buttons())
            texts << b->text().remove(QLatin1Char('&'));
        texts.sort();
        QCOMPARE(texts, QStringList({"Annulla", "No", QString::fromUtf8("Sì")}));
    }

    void datesAndDecimalsIgnoreTheLocale()
    {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(Formats::date(QDate(2026, 3, 7)), QStringLiteral("07/03/2026"));
        QCOMPARE(Formats::decimalSeparator(), QLatin1Char(','));
        QCOMPARE(Formats::time(QTime(14, 5, 9)), QStringLiteral("14:05:09"));
        QLocale::setDefault(before);
        QCOMPARE(Formats::time(QTime(9, 30, 0)), QStringLiteral("09:30:00"));
    }

    // The real program switches software rendering on before it makes its
    // application object: a probe loaded into it reads the setting at that
    // moment and ends it there.
    void softwareRenderingIsSwitchedOn()
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString report = scratch.filePath(QStringLiteral("avvio.txt"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VETRINORA_STARTUP_PROBE));
        environment.insert(QStringLiteral("VETRINORA_STARTUP_PROBE"), report);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), scratch.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), scratch.filePath(QStringLiteral("dati")));
        // A sanitized build: the probe comes before the sanitizer's runtime.
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VETRINORA_PROGRAM), {});
        QVERIFY2(program.waitForFinished(60000), "the program did not stop at its application object");
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                 program.readAllStandardError().constData());
        QFile written(report);
        QVERIFY2(written.open(QIODevice::ReadOnly), "the probe was not loaded into the program");
        QCOMPARE(written.readAll(), QByteArray("software-opengl=on\n"));
    }

    void shellOpenUrls_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("quoted file") << "\"/tmp/Guida.pdf\"" << QUrl::fromLocalFile("/tmp/Guida.pdf");
        QTest::newRow("file with blanks") << "\"/tmp/Le mie MOC/a b.pdf\""
                                          << QUrl::fromLocalFile("/tmp/Le mie MOC/a b.pdf");
        QTest::newRow("web address") << "https://www.vetrinora.it"
                                     << QUrl("https://www.vetrinora.it");
        QTest::newRow("bare www") << "www.vetrinora.it" << QUrl("http://www.vetrinora.it");
        QTest::newRow("quoted mail") << "\"mailto:info@vetrinora.it\""
                                     << QUrl("mailto:info@vetrinora.it");
    }
    void shellOpenUrls()
    {
        QFETCH(QString, command);
        QFETCH(QUrl, url);
        QCOMPARE(platform::urlForCommand(command), url);
    }

    void messageKindsCarryTheirButtons()
    {
        ScriptedServices services;
        using platform::Button;
        platform::information(nullptr, QStringLiteral("i"));
        platform::warning(nullptr, QStringLiteral("w"));
        platform::error(nullptr, QStringLiteral("e"));
        services.answers.enqueue(Button::No);
        QVERIFY(!platform::confirm(nullptr, QStringLiteral("q")));
        services.answers.enqueue(Button::Yes);
        QVERIFY(platform::confirm(nullptr, QStringLiteral("q")));
        platform::showMessage(nullptr, QStringLiteral("m"));
        QStringList seen;
        for (const auto &m : services.messages) {
            QStringList buttons;
            for (Button b : m.buttons)
                buttons << platform::buttonText(b);
            seen << kindName(m.kind) + ":" + m.text + ":" + buttons.join('+');
        }
        QCOMPARE(seen, QStringList({"information:i:OK+Cancel", "warning:w:OK+Cancel",
                                    "error:e:OK+Cancel", "confirmation:q:Yes+No",
                                    "confirmation:q:Yes+No", "plain:m:OK"}));
    }

    // The loader of the camera and print modules: a module or a function it
    // cannot have gives nullptr, and the system's reason is kept and logged.
    void theModuleLoaderKeepsTheReason_data()
    {
        QTest::addColumn<QString>("path");     // relative: in a scratch folder
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("reasonNames"); // empty: found, nothing logged
        QTest::newRow("module missing") << QString("vetrinora_absent")
                                        << QByteArray(platform::kCreateCameraBackend) << QString("vetrinora_absent");
        QTest::newRow("module damaged") << QString("vetrinora_damaged.so")
                                        << QByteArray(platform::kCreateCameraBackend) << QString("vetrinora_damaged.so");
        QTest::newRow("function missing") << QString(VETRINORA_WEBCAM_MODULE)
                                          << QByteArray(platform::kPrintWithDialog) << QString(platform::kPrintWithDialog);
        QTest::newRow("camera") << QString(VETRINORA_WEBCAM_MODULE) << QByteArray(platform::kCreateCameraBackend)
                                << QString();
        QTest::newRow("printing") << QString(VETRINORA_PRINT_MODULE) << QByteArray(platform::kPreviewWithDialog)
                                  << QString();
        QTest::newRow("formats") << QString(VETRINORA_FORMATS_MODULE) << QByteArray(Transfer::kGetFileFormats)
                                 << QString();
        QTest::newRow("channel") << QString(VETRINORA_CHANNEL_MODULE)
                                 << QByteArray(platform::kCreateLocalChannel) << QString();
        QTest::newRow("charts") << QString(VETRINORA_CHARTS_MODULE) << QByteArray(platform::kGetChartMaker)
                                << QString();
    }

    void theModuleLoaderKeepsTheReason()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, name);
        QFETCH(QString, reasonNames);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const bool scratchFile = QDir::isRelativePath(path);
        if (scratchFile)
            path = scratch.filePath(path);
        if (scratchFile && path.endsWith(".so")) {
            QFile damaged(path); // an installation cut short
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write("\x7f" "ELF");
        }
        platform::Module module(path);
        if (reasonNames.isEmpty()) {
            QTest::failOnWarning(QRegularExpression(".*"));
            QVERIFY(module.function<QFunctionPointer>(name.constData()));
            QCOMPARE(module.reason(), QString());
            return;
        }
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^Modulo non disponibile: .*" + QRegularExpression::escape(reasonNames)));
        QVERIFY(!module.function<QFunctionPointer>(name.constData()));
        QVERIFY2(module.reason().contains(reasonNames), qPrintable(module.reason()));
    }

    // Backups and .xlsx files go through the formats module, which the
    // program opens from its folder the first time: without it they end in
    // their message (the loader's reason logged) and nothing is written;
    // with it a backup is written and read back, and a workbook written and
    // read back as rows. Runs before anything else here uses the module,
    // which is then kept for the rest of the run.
    void theFormatsModuleFromTheProgramFolder()
    {
        TestProgramFolder program;
        program.writeCards("Catalogo_BLOKKO.pro", Schede::TSchedaSet,
                           {{{"NomeSet", "Furgone d'epoca"}, {"Valore", "1234,50"}}});
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const QDateTime when(QDate(2026, 12, 11), QTime(10, 0));
        platform::Module::linkIn(Transfer::kGetFileFormats, nullptr); // as the program: no code linked in
        const auto relink = qScopeGuard([] { linkModulesIn(); });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Modulo non disponibile: .*vetrinora_formats"));
        try {
            Transfer::writeBackup(program.path(), out.path(), when);
            QFAIL("a backup was written without the formats module");
        } catch (const Transfer::Error &e) {
            QCOMPARE(e.message(), Transfer::moduleMissingMessage());
        }
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());

        QVERIFY(QFile::copy(VETRINORA_FORMATS_MODULE,
                            program.file(QFileInfo(VETRINORA_FORMATS_MODULE).fileName())));
        const QString zip = Transfer::writeBackup(program.path(), out.path(), when);
        QCOMPARE(Transfer::inspectBackup(zip).setCards, 1);
        const CardStore store(program.file("Catalogo_BLOKKO.pro"), Schede::TSchedaSet);
        const QString xlsx = QDir(out.path()).filePath("schede.xlsx");
        QCOMPARE(Transfer::exportXlsx(store, xlsx), 1);
        QCOMPARE(Transfer::sheetNames(xlsx), QStringList{"Schede"});
        const Transfer::Preview preview = Transfer::preview(xlsx);
        QCOMPARE(preview.rows.size(), 1);
        QVERIFY(preview.rows.first().contains("Furgone d'epoca"));
        QVERIFY(preview.rows.first().contains("1234,5"));
    }

    // Without the charts module the statistics window still opens: each
    // chart gives way to a text that says what is missing, the tables hold
    // the figures, and the log says why.
    void theStatisticsWithoutTheChartsModule()
    {
        TestProgramFolder program;
        platform::Module::linkIn(platform::kGetChartMaker, nullptr); // as the program: no code linked in
        const auto relink = qScopeGuard([] { linkModulesIn(); });
        Statistics::Figures figures;
        figures.cards = 2;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Modulo non disponibile: .*vetrinora_charts"));
        TfrmStatistiche window(figures, "Catalogo BLOKKO", QString());
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        auto *stand = window.findChild<QLabel *>("chtTema");
        QVERIFY(stand);
        QCOMPARE(stand->text(), TfrmStatistiche::chartMissingText());
        QCOMPARE(window.tables().size(), 7);
    }

    // The system calls made for speed and their plain fallbacks give the
    // same results: reads at an offset from several threads at once, which
    // leave the file's position alone, and memory reserved, written and
    // given back.
    void systemCallsAndTheirFallbacks_data()
    {
        QTest::addColumn<bool>("fallback");
        QTest::newRow("fast") << false;
        QTest::newRow("fallback") << true;
    }

    void systemCallsAndTheirFallbacks()
    {
        QFETCH(bool, fallback);
        const auto readAt = fallback ? platform::plain::readAt : platform::readAt;
        const auto pageSize = fallback ? platform::plain::pageSize : platform::pageSize;
        const auto reserve = fallback ? platform::plain::reserveMemory : platform::reserveMemory;
        const auto advise = fallback ? platform::plain::adviseLargePages : platform::adviseLargePages;
        const auto releaseTail = fallback ? platform::plain::releaseMemoryTail : platform::releaseMemoryTail;
        const auto release = fallback ? platform::plain::releaseMemory : platform::releaseMemory;

        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        QByteArray bytes(300000, Qt::Uninitialized);
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 7 + i / 251);
        QFile file(scratch.filePath("records"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        QVERIFY(file.seek(1234));
        std::atomic<int> wrong = 0;
        std::vector<std::thread> readers;
        for (int t = 0; t < 4; ++t)
            readers.emplace_back([&, t] {
                QByteArray block(4096, Qt::Uninitialized);
                for (qint64 at = t * 997; at < bytes.size(); at += 4 * 4096) {
                    const qint64 n = readAt(file.handle(), block.data(), block.size(), at);
                    const qint64 expected = std::min<qint64>(block.size(), bytes.size() - at);
                    if (n != expected || QByteArrayView(block).first(n) != QByteArrayView(bytes).sliced(at, n))
                        ++wrong;
                }
            });
        for (std::thread &r : readers)
            r.join();
        QCOMPARE(wrong.load(), 0);
        char past[16];
        QCOMPARE(readAt(file.handle(), past, sizeof past, bytes.size() - 5), qint64(5));
        QCOMPARE(readAt(file.handle(), past, sizeof past, bytes.size() + 100), qint64(0));
        QCOMPARE(file.pos(), qint64(1234));
        QCOMPARE(file.read(4), bytes.mid(1234, 4));
        QCOMPARE(readAt(-1, past, sizeof past, 0), qint64(-1));

        const std::size_t page = pageSize();
        QVERIFY(page >= 4096 && (page & (page - 1)) == 0);
        const std::size_t size = std::size_t(64) << 20;
        auto *memory = static_cast<char *>(reserve(size));
        QVERIFY(memory);
        QCOMPARE(reinterpret_cast<quintptr>(memory) % page, quintptr(0));
        advise(memory, size);
        memory[0] = 'a';
        memory[size - 1] = 'z';
        // The fast path gives the tail back; the fallback keeps it all.
        QCOMPARE(releaseTail(memory, size, memory + size / 2), !fallback);
        QCOMPARE(memory[0], 'a');
        if (fallback)
            QCOMPARE(memory[size - 1], 'z');
        release(memory, fallback ? size : size / 2);

        // Modification times in seconds since 1970 UTC, whatever the time
        // zone: a photo's time names its thumbnail, shared with other programs.
        const auto modified = fallback ? platform::plain::modifiedSeconds : platform::modifiedSeconds;
        const QString photo = scratch.filePath(QStringLiteral("foto è.jpg"));
        QFile touched(photo);
        QVERIFY(touched.open(QIODevice::WriteOnly));
        const QDateTime when = QDateTime::fromSecsSinceEpoch(1700000123, Qt::UTC);
        QVERIFY(touched.setFileTime(when, QFileDevice::FileModificationTime));
        touched.close();
        const QByteArray zone = qgetenv("TZ");
        for (const char *tz : {"UTC", "Europe/Rome", "America/Los_Angeles"}) {
            qputenv("TZ", tz);
            QCOMPARE(modified(photo), qint64(1700000123));
        }
        qputenv("TZ", zone);
        if (zone.isEmpty())
            qunsetenv("TZ");
        QCOMPARE(modified(scratch.filePath(QStringLiteral("nessuna.jpg"))), qint64(-1));
        QCOMPARE(modified(scratch.path()), qint64(-1));
        QCOMPARE(modified(QString()), qint64(-1));
    }

    // The camera module the webcam window loads, on a machine without a
    // camera: switching on does nothing and raises nothing.
    void theCameraModuleWithoutACamera()
    {
        QLibrary module(QStringLiteral(VETRINORA_WEBCAM_MODULE));
        auto create = reinterpret_cast<platform::CreateCameraBackend>(
            module.resolve(platform::kCreateCameraBackend));
        QVERIFY2(create, qPrintable(module.errorString()));
        std::unique_ptr<platform::CameraBackend> camera(create());
        if (camera->available())
            QSKIP("this machine has a camera");
        camera->start();
        QVERIFY(!camera->isActive());
        QVERIFY(camera->currentFrame().isNull());
        camera->stop();
    }

    // The print module the program loads on the first print: a cancelled
    // print dialog prints nothing, and a page that cannot be painted closes
    // the preview and comes back as its text, never as an exception across
    // the module's boundary.
    void thePrintModule()
    {
        QLibrary module(QStringLiteral(VETRINORA_PRINT_MODULE));
        auto print = reinterpret_cast<platform::PrintWithDialog>(module.resolve(platform::kPrintWithDialog));
        auto preview =
            reinterpret_cast<platform::PreviewWithDialog>(module.resolve(platform::kPreviewWithDialog));
        QVERIFY2(print && preview, qPrintable(module.errorString()));
        platform::PrintJob job;
        job.title = QStringLiteral("Prova");
        job.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                 QPageLayout::Millimeter);
        job.pageCount = 1;
        job.paintPage = [](QPainter &, int, double) { throw std::runtime_error("Pagina non disegnabile."); };
        // A dialog still open after a while is cancelled: the test never hangs.
        int cancelled = 0;
        QTimer cancel;
        cancel.setInterval(300);
        connect(&cancel, &QTimer::timeout, [&cancelled] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                ++cancelled;
                dialog->reject();
            }
        });
        cancel.start();

        QString failure;
        QVERIFY(!print(nullptr, job, &failure));
        QCOMPARE(failure, QString());
        QCOMPARE(cancelled, 1);

        cancelled = 0;
        cancel.start(10000);
        preview(nullptr, job, &failure);
        QCOMPARE(failure, QStringLiteral("Pagina non disegnabile."));
        QCOMPARE(cancelled, 0);
    }

    // The card preview opens as large as the screen with the page whole in
    // it, and offers Full screen and Close beside Qt's own controls.
    void thePreviewFillsTheScreenAndHasItsCommands()
    {
        QLibrary module(QStringLiteral(VETRINORA_PRINT_MODULE));
        auto preview =
            reinterpret_cast<platform::PreviewWithDialog>(module.resolve(platform::kPreviewWithDialog));
        QVERIFY2(preview, qPrintable(module.errorString()));
        platform::PrintJob job;
        job.title = QStringLiteral("Scheda MOC");
        job.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                 QPageLayout::Millimeter);
        job.pageCount = 1;
        job.paintPage = [](QPainter &painter, int, double scale) {
            painter.drawText(QRectF(0, 0, 700 * scale, 40 * scale), QStringLiteral("TITOLO"));
        };
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QStringList seen;
        bool checked = false;
        QTimer look;
        look.setInterval(50);
        connect(&look, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            look.stop();
            const auto finish = qScopeGuard([&] { dialog->reject(); });
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QCOMPARE(dialog->windowTitle(), QStringLiteral(" Anteprima di stampa"));
            QVERIFY(dialog->windowState() & Qt::WindowMaximized);
            // A window manager maximises a little after the window shows.
            QTRY_COMPARE(dialog->frameGeometry().size(), available.size());
            auto *page = dialog->findChild<QPrintPreviewWidget *>();
            QVERIFY(page);
            QCOMPARE(page->zoomMode(), QPrintPreviewWidget::FitInView);
            // The whole A4 page (297 mm high) stands in the window: more than
            // half of its height, at 96 units to the inch, is on the screen.
            QTRY_VERIFY(page->zoomFactor() * 297 / 25.4 * 96 > available.height() / 2.0);
            QVERIFY(page->zoomFactor() * 297 / 25.4 * 96 <= page->height());
            // Qt's own fit, zoom and page controls are still there.
            QStringList actions;
            for (QAction *a : dialog->findChildren<QAction *>())
                actions << a->objectName();
            for (const char *own : {"fitWidthAction", "fitPageAction", "singleModeAction", "overviewModeAction"})
                QVERIFY2(actions.contains(QLatin1String(own)), own);
            QVERIFY(dialog->findChild<QComboBox *>()); // the zoom factor
            QVERIFY(dialog->findChild<QLineEdit *>()); // the page number
            auto *fullScreen = dialog->findChild<QToolButton *>(QStringLiteral("cmdSchermoIntero"));
            auto *close = dialog->findChild<QToolButton *>(QStringLiteral("cmdChiudi"));
            QVERIFY(fullScreen && close);
            seen << fullScreen->text() << close->text();
            QTest::mouseClick(fullScreen, Qt::LeftButton);
            QTRY_VERIFY(dialog->windowState() & Qt::WindowFullScreen);
            QTRY_COMPARE(dialog->frameGeometry(), QGuiApplication::primaryScreen()->geometry());
            QTest::mouseClick(fullScreen, Qt::LeftButton);
            QTRY_VERIFY(!(dialog->windowState() & Qt::WindowFullScreen));
            checked = true;
            QTest::mouseClick(close, Qt::LeftButton);
        });
        // A preview left open by a failed check is closed: the test never hangs.
        QTimer guard;
        connect(&guard, &QTimer::timeout, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        guard.start(20000);
        look.start();
        QString failure;
        preview(nullptr, job, &failure);
        QCOMPARE(failure, QString());
        QVERIFY(checked);
        QCOMPARE(seen, QStringList({QStringLiteral("Schermo intero"), QStringLiteral("Chiudi")}));
    }

    void anUncaughtErrorIsShownAndTheWindowStays()
    {
        ScriptedServices services;
        ThrowingWidget w;
        w.resize(100, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(&w, Qt::Key_Space);
        QCOMPARE(services.texts(),
                 QStringList{QStringLiteral("Impossibile completare l'operazione richiesta.")});
        QCOMPARE(services.messages.first().kind, platform::MessageKind::Error);
        QVERIFY(w.isVisible());
        QTest::keyClick(&w, Qt::Key_Space);
        QCOMPARE(services.messages.size(), 2);
    }
};

VETRINORA_TEST_MAIN(TestPlatform)
#include "test_platform.moc"
