// Nothing lost when a save fails: files replaced whole or not at all on a
// full disk, under a size limit and when the process is killed mid-save;
// photos stored exactly as they were when unchanged.

#include "DurabilityPictures.h"
#include "TestSupport.h"

#include "core/app/Credentials.h"
#include "core/app/Crypt.h"
#include "core/app/ProgramFolder.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/app/TfrmCambiaPassword.h"
#include "ui/app/TfrmPassword.h"
#include "ui/base/Widgets.h"
#include "ui/cards/CardEditor.h"
#include "core/cards/Schede.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/editing/PhotoBox.h"
#include "ui/editing/TfrmAllegaCartella.h"
#include "ui/output/ExportWindow.h"
#include "core/platform/AtomicFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QString kChangeError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di modifica della password. "
    "Si consiglia di reinstallare il software.");
const QString kExportQuestion = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede "
    "presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kExportFailed = QStringLiteral(
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di "
    "Excel non sia già aperto.");
const QString kUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");

QString photoNotSaved(const QString &path)
{
    return QStringLiteral("Attenzione: non è stato possibile salvare la foto della scheda nel file \"")
           + QDir::toNativeSeparators(path)
           + QStringLiteral("\".\r\n\r\nLa scheda è stata salvata in archivio; la foto che il file "
                            "conteneva prima è rimasta invariata. Controllare lo spazio libero "
                            "sul disco e i permessi della cartella.");
}

QByteArray jpeg(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

QImage picture(QColor colour)
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(colour);
    for (int x = 0; x < image.width(); x += 5)
        for (int y = 0; y < image.height(); ++y)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 90));
    return image;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

#ifdef Q_OS_UNIX
// Runs `action` with writes limited to `bytes` per file, as a nearly full
// disk would have it.
template <typename Action>
void withFileSizeLimit(rlim_t bytes, Action action)
{
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = old;
    tight.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &tight);
    action();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
}
#endif

} // namespace

class TestDurability : public ProgramTest {
    Q_OBJECT

    QString setPhoto(int n) const
    {
        return folder->file(QStringLiteral("Schedario")) + QDir::separator()
               + QStringLiteral("BLOKKO_%1.jpg").arg(n);
    }
    QString mocPhoto(char side, int n) const
    {
        return folder->file(QStringLiteral("Foto_MOC")) + QDir::separator()
               + QStringLiteral("Castelli_Foto_%1_%2.jpg").arg(QLatin1Char(side)).arg(n);
    }
    static void put(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    static QByteArray contentOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeSets(int count)
    {
        QList<TestProgramFolder::Fields> cards;
        for (int i = 1; i <= count; ++i)
            cards.append({{"NomeSet", QStringLiteral("Set %1").arg(i)}, {"Tema", "Pirati"},
                          {"CodiceSet", "6285"}, {"AnnoUscita", "1989"}, {"Valore", "0,00"},
                          {"InVendita", "No"}});
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, cards);
    }
    CardEditor *openSets()
    {
        TfrmArmi *editor = roster->frmArmi();
        roster->handOver(roster->frmAvvio(), editor);
        return editor;
    }
    CardEditor *openCastelli()
    {
        TfrmCartoline *editor = roster->frmCartoline();
        editor->lblFile->setText(folder->file(QStringLiteral("Castelli.moc")));
        editor->lblNome->setText(QStringLiteral("Castelli"));
        roster->handOver(roster->frmAvvio(), editor);
        return editor;
    }
    static void click(CardEditor *editor, const char *command)
    {
        Picture *p = editor->command(command);
        QVERIFY2(p, command);
        QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center());
    }

private slots:
    // ---- the atomic write itself -----------------------------------------------

    void aFileIsReplacedWholeWithNothingLeftBeside()
    {
        const QString path = folder->file(QStringLiteral("dati.bin"));
        put(path, "vecchio");
        QVERIFY(platform::AtomicFile::writeAll(path, "nuovo contenuto"));
        QCOMPARE(contentOf(path), QByteArray("nuovo contenuto"));
        QCOMPARE(entries(folder->path()), QStringList{"dati.bin"});
        QVERIFY(platform::AtomicFile::writeAll(folder->file(QStringLiteral("nuovo.bin")), ""));
        QCOMPARE(QFileInfo(folder->file(QStringLiteral("nuovo.bin"))).size(), 0);
    }

#ifdef Q_OS_UNIX
    void aWriteLimitKeepsTheOldFile()
    {
        const QString path = folder->file(QStringLiteral("dati.bin"));
        const QString source = folder->file(QStringLiteral("sorgente.bin"));
        put(path, "vecchio");
        put(source, QByteArray(64 * 1024, 's'));
        bool written = true;
        bool copied = true;
        withFileSizeLimit(16 * 1024, [&] {
            written = platform::AtomicFile::writeAll(path, QByteArray(64 * 1024, 'n'));
            copied = platform::AtomicFile::copy(source, path);
        });
        QVERIFY(!written);
        QVERIFY(!copied);
        QCOMPARE(contentOf(path), QByteArray("vecchio"));
        QCOMPARE(entries(folder->path()), QStringList({"dati.bin", "sorgente.bin"}));
    }
#endif

    void leftoversOfOursAreRemovedAtTheNextStart()
    {
        roster.reset();
        const QStringList ours = {"~vetrinora-a1b2c3.tmp", "Schedario/~vetrinora-zzzzzz.tmp",
                                  "Foto_MOC/~vetrinora-000000.tmp",
                                  "Documenti_Allegati/~vetrinora-qwerty.tmp"};
        const QStringList theirs = {"manuale.pdf.copia", "~vetrinora-ab.tmp", "unins000.dll.backup",
                                    "Catalogo_BLOKKO.xls.copia1", "Documenti_Allegati/unins000.dll.Xy12Zw",
                                    "Catalogo_BLOKKO.xls", "Documenti_Allegati/nota.txt.123456",
                                    "Schedario/BLOKKO_1.jpg", "Castelli.moc"};
        for (const QString &name : ours + theirs)
            put(folder->file(name), "x");
        roster = std::make_unique<Roster>();
        for (const QString &name : ours)
            QVERIFY2(!QFile::exists(folder->file(name)), qPrintable(name));
        for (const QString &name : theirs)
            QVERIFY2(QFile::exists(folder->file(name)), qPrintable(name));
    }

    // ---- a real full disk ----------------------------------------------------------

    void fullDiskKeepsTheOldPassword()
    {
        SmallDisk disk(folder->path());
        REQUIRE_SMALL_DISK(disk);
        folder->installShippedCredentials();
        const QByteArray before = folder->read(QStringLiteral("unins000.dll"));
        roster->start();
        disk.fill();
        QTest::mouseClick(roster->frmPassword()->btnCambiaPassword, Qt::LeftButton);
        TfrmCambiaPassword *change = roster->frmCambiaPassword();
        type(change->txtPasswordOld, QStringLiteral("pergamenaverde"));
        type(change->txtPasswordNew, QStringLiteral("nuova"));
        type(change->txtConferma, QStringLiteral("nuova"));
        QTest::mouseClick(change->cmdOK, Qt::LeftButton);
        QCOMPARE(services->texts(), QStringList{kChangeError});
        QCOMPARE(folder->read(QStringLiteral("unins000.dll")), before);
        QCOMPARE(entries(folder->path()), QStringList({"filler", "unins000.dll"}));
        disk.free();
        QCOMPARE(Credentials::storedPassword(), QStringLiteral("PERGAMENAVERDE"));
    }

    void fullDiskKeepsTheOldExport()
    {
        SmallDisk disk(folder->path());
        REQUIRE_SMALL_DISK(disk);
        writeSets(3);
        folder->write(QStringLiteral("Catalogo_BLOKKO.xls"), "esportazione precedente");
        disk.fill();
        TfrmExpArmi w(roster->frmArmi());
        w.show();
        services->answers.enqueue(platform::Button::Yes);
        QTest::mouseClick(w.cmdEsporta, Qt::LeftButton);
        QCOMPARE(services->texts(), QStringList({kExportQuestion, kExportFailed}));
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.xls")),
                 QByteArray("esportazione precedente"));
        QCOMPARE(entries(folder->path()),
                 QStringList({"Catalogo_BLOKKO.pro", "Catalogo_BLOKKO.xls", "filler"}));
    }

    void fullDiskKeepsTheOldPhotoAndSaysSo()
    {
        SmallDisk disk(folder->path());
        REQUIRE_SMALL_DISK(disk);
        writeSets(1);
        const QByteArray old = jpeg(picture(Qt::red), 90);
        put(setPhoto(1), old);
        CardEditor *editor = openSets();
        click(editor, "cmdPrimo");
        QCOMPARE(editor->lblPosizione->text(), QStringLiteral("1"));
        editor->photoBox(0)->setImage(picture(Qt::green)); // a new photo, not yet stored
        disk.fill();
        click(editor, "cmdSalva");
        QCOMPARE(services->texts(), QStringList({photoNotSaved(setPhoto(1)), kUpdated}));
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Warning);
        QCOMPARE(contentOf(setPhoto(1)), old);
        QCOMPARE(entries(folder->file(QStringLiteral("Schedario"))), QStringList{"BLOKKO_1.jpg"});
    }

    // A card appended in part before the disk filled up is cut off again: the
    // file keeps its whole cards and nothing else.
    void fullDiskLeavesNoPartOfACard()
    {
        SmallDisk disk(folder->path());
        REQUIRE_SMALL_DISK(disk);
        writeSets(1);
        const QByteArray before = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        CardEditor *editor = openSets();
        for (const auto &[control, value] :
             QList<QPair<const char *, QString>>{{"txtMunizioni", "Galeone"}, {"txtArma", "Pirati"},
                                                 {"txtCalibro", "6285"}, {"txtAnno", "1989"}})
            editor->field(control)->setText(value);
        disk.fill(); // the last page of the file still has room for part of a card
        click(editor, "cmdSalva");
        QCOMPARE(services->texts(),
                 QStringList{QStringLiteral(
                     "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                     "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                     "installazione del programma.")});
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
        QCOMPARE(editor->lblPosizione->text(), QString());
    }

    void fullDiskKeepsTheOldAttachment()
    {
        SmallDisk disk(folder->path());
        REQUIRE_SMALL_DISK(disk);
        const QString attached = folder->file(QStringLiteral("Documenti_Allegati"))
                                 + QDir::separator() + QStringLiteral("istruzioni.pdf");
        put(attached, "versione 1");
        QTemporaryDir elsewhere;
        const QString chosen = elsewhere.filePath(QStringLiteral("istruzioni.pdf"));
        put(chosen, QByteArray(256 * 1024, 'v'));
        disk.fill();
        TfrmAllegaCartella w(roster->frmArmi());
        services->chosenFiles.enqueue(chosen);
        services->answers.enqueue(platform::Button::Yes);
        QTest::mouseClick(w.btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(contentOf(attached), QByteArray("versione 1"));
        QCOMPARE(entries(folder->file(QStringLiteral("Documenti_Allegati"))),
                 QStringList{"istruzioni.pdf"});
    }

    // ---- photos --------------------------------------------------------------------

    // A photo read from its file and saved again unchanged keeps the file's
    // very bytes: no quality is lost however often the card is saved.
    void anUnchangedPhotoKeepsItsBytes_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::newRow("set card") << false;
        QTest::newRow("MOC card") << true;
    }
    void anUnchangedPhotoKeepsItsBytes()
    {
        QFETCH(bool, moc);
        const QByteArray a = jpeg(picture(Qt::red), 40);
        const QByteArray b = jpeg(picture(Qt::blue), 40);
        CardEditor *editor = nullptr;
        QStringList photos;
        if (moc) {
            folder->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC,
                               {{{"NomeProgetto", "Torre"}, {"CodiceID", "T-01"},
                                 {"Tema", "Castelli"}, {"Designer", "Rossi"},
                                 {"NumeroPezzi", "1200"}, {"CostoTotale", "0,00"},
                                 {"InVendita", "No"}}});
            photos = {mocPhoto('A', 1), mocPhoto('B', 1)};
            editor = openCastelli();
        } else {
            writeSets(1);
            photos = {setPhoto(1)};
            editor = openSets();
        }
        put(photos[0], a);
        if (moc)
            put(photos[1], b);
        for (int round = 0; round < 3; ++round) {
            click(editor, "cmdPrimo");
            editor->field("txtNote")->setText(QStringLiteral("giro %1").arg(round));
            click(editor, "cmdSalva");
            QCOMPARE(services->texts().last(), kUpdated);
            QCOMPARE(contentOf(photos[0]), a);
            if (moc)
                QCOMPARE(contentOf(photos[1]), b);
        }
        // A changed picture is encoded anew.
        editor->photoBox(0)->setImage(picture(Qt::green));
        click(editor, "cmdSalva");
        QVERIFY(contentOf(photos[0]) != a);
        QCOMPARE(Photos::load(photos[0]).size(), QSize(320, 240));
    }

    void aChosenJpegIsStoredAsItIs()
    {
        QTemporaryDir elsewhere;
        const QByteArray original = jpeg(picture(Qt::darkCyan), 75);
        const QString chosen = elsewhere.filePath(QStringLiteral("galeone.jpg"));
        put(chosen, original);
        CardEditor *editor = openSets();
        services->chosenFiles.enqueue(chosen);
        QTest::mouseClick(editor->findChild<QWidget *>(QStringLiteral("btnCaricaFoto")),
                          Qt::LeftButton);
        for (const auto &[control, value] :
             QList<QPair<const char *, QString>>{{"txtMunizioni", "Galeone"}, {"txtArma", "Pirati"},
                                                 {"txtCalibro", "6285"}, {"txtAnno", "1989"}})
            editor->field(control)->setText(value);
        click(editor, "cmdSalva");
        QCOMPARE(services->texts().last(), kInserted);
        QCOMPARE(contentOf(setPhoto(1)), original);
    }

    void aPhotoThatCannotBeWrittenIsReported()
    {
        writeSets(1);
        QVERIFY(QDir().mkpath(setPhoto(1))); // a folder where the photo file should go
        CardEditor *editor = openSets();
        click(editor, "cmdPrimo");
        editor->photoBox(0)->setImage(picture(Qt::green));
        click(editor, "cmdSalva");
        QCOMPARE(services->texts(), QStringList({photoNotSaved(setPhoto(1)), kUpdated}));
        QVERIFY(QFileInfo(setPhoto(1)).isDir());
        QCOMPARE(entries(folder->file(QStringLiteral("Schedario"))), QStringList());
    }

    // Photo A cannot be written: photo B is written all the same, and the
    // message names only the file that failed.
    void onePhotoFailingNeverCostsTheOther()
    {
        folder->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC,
                           {{{"NomeProgetto", "Torre"}, {"CodiceID", "T-01"}, {"Tema", "Castelli"},
                             {"Designer", "Rossi"}, {"NumeroPezzi", "1200"},
                             {"CostoTotale", "0,00"}, {"InVendita", "No"}}});
        QVERIFY(QDir().mkpath(mocPhoto('A', 1))); // a folder where photo A should go
        CardEditor *editor = openCastelli();
        click(editor, "cmdPrimo");
        editor->photoBox(1)->setImage(picture(Qt::green));
        click(editor, "cmdSalva");
        QCOMPARE(services->texts(), QStringList({photoNotSaved(mocPhoto('A', 1)), kUpdated}));
        QCOMPARE(Photos::load(mocPhoto('B', 1)).size(), QSize(320, 240));
    }

    // ---- attachments ---------------------------------------------------------------

    // The copy is made under a name of its own: a file of the user's that
    // happens to be called like a temporary copy is never touched.
    void attachingNeverTouchesAnotherFileOfTheFolder()
    {
        const QString folderPath = folder->file(QStringLiteral("Documenti_Allegati"));
        put(folderPath + QStringLiteral("/istruzioni.pdf.copia"), "mio");
        QTemporaryDir elsewhere;
        const QString chosen = elsewhere.filePath(QStringLiteral("istruzioni.pdf"));
        put(chosen, "PDF-1");
        TfrmAllegaCartella w(roster->frmArmi());
        services->chosenFiles.enqueue(chosen);
        QTest::mouseClick(w.btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(contentOf(folderPath + QStringLiteral("/istruzioni.pdf")), QByteArray("PDF-1"));
        QCOMPARE(contentOf(folderPath + QStringLiteral("/istruzioni.pdf.copia")), QByteArray("mio"));
        QCOMPARE(entries(folderPath), QStringList({"istruzioni.pdf", "istruzioni.pdf.copia"}));
    }

    // ---- killed in the middle of a save --------------------------------------------

    void aKilledSaveLeavesAWholeFile_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("photo") << QStringLiteral("photo");
        QTest::newRow("credential file") << QStringLiteral("credentials");
    }
    void aKilledSaveLeavesAWholeFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("killing a process at random moments needs a POSIX signal");
#else
        QFETCH(QString, mode);
        const bool photo = mode == QLatin1String("photo");
        const QString path = folder->file(photo ? QStringLiteral("BLOKKO_1.jpg")
                                                : QStringLiteral("unins000.dll"));
        QList<QByteArray> versions;
        if (photo) {
            for (int which : {0, 1}) {
                const QString reference = folder->file(QStringLiteral("riferimento.jpg"));
                QVERIFY(Photos::save(durabilityPicture(which), reference));
                versions << contentOf(reference);
                QFile::remove(reference);
            }
        } else {
            versions << "[Accesso]\r\nValore=PRIMA\r\n" << "[Accesso]\r\nValore=SECONDA\r\n";
        }
        put(path, versions[0]);
        QRandomGenerator random(20261210);
        const int kills = 100;
        for (int k = 0; k < kills; ++k) {
            QProcess writer;
            writer.start(QStringLiteral(VETRINORA_DURABILITY_WRITER), {mode, path});
            QVERIFY(writer.waitForStarted());
            QVERIFY(writer.waitForReadyRead(20000));
            QThread::usleep(random.bounded(photo ? 40000 : 5000));
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());
            const QByteArray now = contentOf(path);
            QVERIFY2(versions.contains(now),
                     qPrintable(QStringLiteral("kill %1 left %2 bytes").arg(k).arg(now.size())));
        }
        // The kills leave temporary files behind; the next start clears them.
        ProgramFolder::removeTemporaryLeftovers();
        QCOMPARE(entries(folder->path()), QStringList{QFileInfo(path).fileName()});
#endif
    }
};

VETRINORA_TEST_MAIN(TestDurability)
#include "test_durability.moc"
