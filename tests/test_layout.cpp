// Where the collection and the program's own files are found: a portable
// program folder (the credential file beside the executable) keeps everything
// there; an installed program keeps the collection in the user's data folder,
// created on the first start with the initial credential file, and finds its
// own files in the installation. Each test lays out real folders under a
// fresh home of its own.

#include "TestSupport.h"

#include "core/app/Credentials.h"
#include "core/app/InstalledFiles.h"
#include "core/app/ProgramFolder.h"
#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/collection/Cestino.h"
#include "core/collection/CardFile.h"
#include "core/platform/FileSystem.h"
#include "core/transfer/Backup.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/app/TfrmPassword.h"
#include "ui/base/Application.h"
#include "ui/base/HelpWindows.h"
#include "ui/base/Widgets.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/editing/PhotoBox.h"
#include "ui/output/ExportWindow.h"
#include "ui/platform/QtServices.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {
const QString kShipped = QStringLiteral(VETRINORA_SOURCE_DIR "/src/resources/unins000.dll");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kExportQuestion = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede "
    "presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kExported = QStringLiteral(
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString kExportFailed = QStringLiteral(
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di "
    "Excel non sia già aperto.");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
}

// The permission bits of a file or folder, as ls shows them in octal.
int modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// Every file under a folder, relative to it, sorted.
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}
} // namespace

class TestLayout : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    QByteArray savedHome, savedDataHome, savedConfigHome;

    QString at(const QString &relative) const { return root->filePath(relative); }
    QString dataHome() const { return at(QStringLiteral("home/.local/share")); }
    QString dataFolder() const { return dataHome() + QStringLiteral("/Vetrinora"); }

    // An installation under root/usr as the install rules lay it out; its
    // executable folder is the one the program resolves against.
    void install(bool withCredentials = true) const
    {
        QDir().mkpath(at(QStringLiteral("usr/" VETRINORA_TEST_BINDIR)));
        writeFile(at(QStringLiteral("usr/" VETRINORA_TEST_DOCDIR "/Guida.pdf")), "%PDF-1.4\n");
        QDir().mkpath(at(QStringLiteral("usr/" VETRINORA_TEST_SHAREDDIR)));
        if (withCredentials)
            QFile::copy(kShipped, at(QStringLiteral("usr/" VETRINORA_TEST_SHAREDDIR "/unins000.dll")));
        ProgramFolder::setExecutableFolderForTests(at(QStringLiteral("usr/" VETRINORA_TEST_BINDIR)));
    }

    // The user's documents folder as an Italian desktop names it, in the
    // desktop's own list of the user's folders.
    QString documents() const
    {
        const QString config = at(QStringLiteral("home/.config"));
        writeFile(config + QStringLiteral("/user-dirs.dirs"),
                  "XDG_DESKTOP_DIR=\"$HOME/Scrivania\"\nXDG_DOCUMENTS_DIR=\"$HOME/Documenti\"\n");
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        QDir().mkpath(at(QStringLiteral("home/Documenti")));
        return at(QStringLiteral("home/Documenti"));
    }

    // Exports the catalogue from the set export window, choosing `chosen` in
    // the save dialog (none: the dialog is cancelled) and answering the
    // question whether to open the file with `open`.
    static void exportSets(ScriptedServices &services, Roster &roster, const QString &chosen,
                           platform::Button open = platform::Button::No)
    {
        TfrmExpArmi w(roster.frmArmi());
        w.show();
        services.answers.clear();
        services.answers.enqueue(platform::Button::Yes);
        services.answers.enqueue(open);
        if (!chosen.isEmpty())
            services.chosenFiles.enqueue(chosen);
        QTest::mouseClick(w.cmdEsporta, Qt::LeftButton, {}, w.cmdEsporta->rect().center());
    }

    void portable() const
    {
        QDir().mkpath(at(QStringLiteral("Vetrinora")));
        QFile::copy(kShipped, at(QStringLiteral("Vetrinora/unins000.dll")));
        ProgramFolder::setExecutableFolderForTests(at(QStringLiteral("Vetrinora")));
    }

private slots:
    void init()
    {
        root = std::make_unique<QTemporaryDir>();
        QVERIFY(root->isValid());
        savedHome = qgetenv("HOME");
        savedDataHome = qgetenv("XDG_DATA_HOME");
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", at(QStringLiteral("home")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
    }

    void cleanup()
    {
        ProgramFolder::setExecutableFolderForTests(QString());
        qputenv("HOME", savedHome);
        if (savedConfigHome.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", savedConfigHome);
        if (savedDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedDataHome);
        root.reset();
    }

    void portableFolderHoldsTheCollection()
    {
        portable();
        QCOMPARE(ProgramFolder::layout(), ProgramFolder::Layout::Portable);
        QCOMPARE(ProgramFolder::path(), at(QStringLiteral("Vetrinora/")));
        QCOMPARE(ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro")),
                 at(QStringLiteral("Vetrinora/Catalogo_BLOKKO.pro")));
        // Nothing is written in the home folder.
        QVERIFY(!QFileInfo::exists(at(QStringLiteral("home"))));
    }

    void installedProgramUsesTheUserDataFolder()
    {
        install();
        const QStringList installed = filesUnder(at(QStringLiteral("usr")));
        QCOMPARE(ProgramFolder::layout(), ProgramFolder::Layout::Installed);
        QCOMPARE(ProgramFolder::path(), dataFolder() + QLatin1Char('/'));
        QCOMPARE(ProgramFolder::file(QStringLiteral("Schedario")), dataFolder() + QStringLiteral("/Schedario"));
        // Created on the first start, holding the initial credential file alone;
        // nothing is written into the installation.
        QCOMPARE(filesUnder(at(QStringLiteral("home"))),
                 QStringList{".local/share/Vetrinora/unins000.dll"});
        QCOMPARE(readAll(dataFolder() + QStringLiteral("/unins000.dll")), readAll(kShipped));
        QCOMPARE(filesUnder(at(QStringLiteral("usr"))), installed);
    }

    void withoutXdgDataHomeTheFolderIsInTheHome()
    {
        qunsetenv("XDG_DATA_HOME");
        install();
        QCOMPARE(ProgramFolder::path(), at(QStringLiteral("home/.local/share/Vetrinora/")));
        QVERIFY(QFileInfo::exists(at(QStringLiteral("home/.local/share/Vetrinora/unins000.dll"))));
    }

    // The program's own files in each layout, as the install rules place them.
    void programFiles_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("portable manual") << false << "manual" << "Vetrinora/Guida.pdf";
        QTest::newRow("portable camera") << false << "camera" << "Vetrinora/vetrinora_webcam";
        QTest::newRow("installed manual") << true << "manual" << "usr/" VETRINORA_TEST_DOCDIR "/Guida.pdf";
        QTest::newRow("installed camera")
            << true << "camera" << "usr/" VETRINORA_TEST_MODULEDIR "/vetrinora_webcam";
        QTest::newRow("portable printing") << false << "printing" << "Vetrinora/vetrinora_print";
        QTest::newRow("installed printing")
            << true << "printing" << "usr/" VETRINORA_TEST_MODULEDIR "/vetrinora_print";
        QTest::newRow("portable formats") << false << "formats" << "Vetrinora/vetrinora_formats";
        QTest::newRow("installed formats")
            << true << "formats" << "usr/" VETRINORA_TEST_MODULEDIR "/vetrinora_formats";
    }
    void programFiles()
    {
        QFETCH(bool, installed);
        QFETCH(QString, file);
        QFETCH(QString, expected);
        if (installed)
            install();
        else
            portable();
        const QString found = file == QLatin1String("manual")    ? InstalledFiles::manual()
                              : file == QLatin1String("camera")  ? InstalledFiles::cameraModule()
                              : file == QLatin1String("formats") ? InstalledFiles::formatsModule()
                                                                 : InstalledFiles::printModule();
        QCOMPARE(found, QDir::cleanPath(at(expected)));
    }

    // Printing is a module of the installation; where it is missing, the
    // program says that printing cannot start instead of failing silently,
    // and the log says why. The program loads the module once, at its first
    // print: the check runs in a process of its own, which has printed
    // nothing before it, whatever this one did.
    void printingWithoutItsModuleSaysSo()
    {
        if (!qEnvironmentVariableIsSet("VETRINORA_TEST_ALONE")) {
            QProcess alone;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("VETRINORA_TEST_ALONE"), QStringLiteral("1"));
            alone.setProcessEnvironment(environment);
            alone.setProcessChannelMode(QProcess::MergedChannels);
            alone.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("printingWithoutItsModuleSaysSo")});
            QVERIFY(alone.waitForFinished(120000));
            const QByteArray output = alone.readAll();
            QVERIFY2(alone.exitStatus() == QProcess::NormalExit && alone.exitCode() == 0, output.constData());
            QVERIFY2(output.contains("PASS   : TestLayout::printingWithoutItsModuleSaysSo()"), output.constData());
            return;
        }
        portable();
        const QRegularExpression why(QStringLiteral("^Modulo non disponibile: .*vetrinora_print.*"));
        QTest::ignoreMessage(QtWarningMsg, why);
        QTest::ignoreMessage(QtWarningMsg, why);
        platform::PrintJob job;
        job.title = QStringLiteral("Prova");
        job.pageCount = 1;
        job.paintPage = [](QPainter &, int, double) {};
        platform::QtServices qt;
        for (bool preview : {false, true}) {
            try {
                if (preview)
                    qt.preview(nullptr, job);
                else
                    qt.print(nullptr, job);
                QFAIL("printing started without its module");
            } catch (const std::runtime_error &e) {
                QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Impossibile avviare la stampa."));
            }
        }
    }

    // Without the camera module there is no camera, and the log says why.
    void theCameraWithoutItsModuleIsUnavailable()
    {
        portable();
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Modulo non disponibile: .*vetrinora_webcam.*")));
        platform::QtServices qt;
        const std::unique_ptr<platform::VideoInput> camera = qt.openVideoInput();
        QVERIFY(!camera->available());
        camera->start();
        QVERIFY(!camera->isActive());
        QVERIFY(camera->currentFrame().isNull());
    }

    // The credential file of the data folder at the start, from what the
    // folder and the installation hold beforehand.
    void credentialsAtTheStart_data()
    {
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<QByteArray>("before");  // null: no credential file in the folder
        QTest::addColumn<bool>("shipped");       // the installation holds its credential file
        QTest::addColumn<QByteArray>("expected"); // null: still none
        const QByteArray initial = readAll(kShipped);
        const QByteArray changed = "[Accesso]\r\nValore=0E2F\r\n";
        QTest::newRow("first start") << false << QByteArray() << true << initial;
        QTest::newRow("folder restored without it") << true << QByteArray() << true << initial;
        QTest::newRow("changed password kept") << true << changed << true << changed;
        QTest::newRow("installation without it") << false << QByteArray() << false << QByteArray();
    }
    void credentialsAtTheStart()
    {
        QFETCH(bool, folderExists);
        QFETCH(QByteArray, before);
        QFETCH(bool, shipped);
        QFETCH(QByteArray, expected);
        if (folderExists)
            writeFile(dataFolder() + QStringLiteral("/Catalogo_BLOKKO.pro"), QByteArray(3419, 'x'));
        if (!before.isNull())
            writeFile(dataFolder() + QStringLiteral("/unins000.dll"), before);
        install(shipped);
        QCOMPARE(ProgramFolder::path(), dataFolder() + QLatin1Char('/'));
        QVERIFY(QFileInfo(dataFolder()).isDir());
        const QString credentials = dataFolder() + QStringLiteral("/unins000.dll");
        QCOMPARE(QFileInfo::exists(credentials), !expected.isNull());
        QCOMPARE(readAll(credentials), expected.isNull() ? QByteArray() : expected);
        if (folderExists)
            QCOMPARE(readAll(dataFolder() + QStringLiteral("/Catalogo_BLOKKO.pro")), QByteArray(3419, 'x'));
    }

    // The collection is private: the installed data folder is made for its
    // user alone, and so is every file made in it; the credential file and
    // a backup are the owner's alone in both layouts. A portable folder keeps
    // the mode it has, and so do the files made in it.
    void privateByDefault_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("newFileMode");
        QTest::newRow("installed") << true << 0700 << 0600;
        QTest::newRow("portable") << false << 0755 << 0644;
    }
    void privateByDefault()
    {
        QFETCH(bool, installed);
        const mode_t savedMask = ::umask(022);
        const auto restoreMask = qScopeGuard([&] { ::umask(savedMask); });
        installed ? install() : portable();
        const QString folder = ProgramFolder::path();
        QTEST(modeOf(folder), "folderMode");
        const QString credentials = ProgramFolder::file(QStringLiteral("unins000.dll"));
        if (installed)
            QCOMPARE(modeOf(credentials), 0600); // the initial one, copied in
        Credentials::store(Credentials::normalForm(QStringLiteral("nuova")));
        QCOMPARE(Credentials::storedPassword(), QStringLiteral("NUOVA"));
        QCOMPARE(modeOf(credentials), 0600);

        Record card(Schede::TSchedaSet);
        card.setText(*Schede::TSchedaSet.field("NomeSet"), QStringLiteral("Faro"));
        CardStore(ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet).append(card);
        QTEST(modeOf(ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"))), "newFileMode");
        // A file replaced whole keeps the mode it had.
        QVERIFY(QFile::setPermissions(ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        CardStore(ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro")), Schede::TSchedaSet)
            .appendAll([&](const std::function<void(const Record &)> &put) { put(card); });
        QCOMPARE(modeOf(ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"))), 0640);

        // The backup goes to a folder open to others: still the owner's alone.
        QDir().mkpath(at(QStringLiteral("chiavetta")));
        QCOMPARE(modeOf(at(QStringLiteral("chiavetta"))), 0755);
        const QString zip = Transfer::writeBackup(folder, at(QStringLiteral("chiavetta")),
                                                QDateTime(QDate(2026, 3, 1), QTime(10, 0)));
        QCOMPARE(modeOf(zip), 0600);

        // The folders the program makes inside the data folder, and what it
        // keeps there: a card's photo, the bin, a restored backup.
        const CardFile sets = CardFile::catalogue();
        const QString photo = sets.photoPath(0, 1);
        QVERIFY(platform::makeFolder(QFileInfo(photo).absolutePath()));
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(Photos::save(picture, photo));
        QTEST(modeOf(QFileInfo(photo).absolutePath()), "folderMode");
        QTEST(modeOf(photo), "newFileMode");
        const QString withPhoto = Transfer::writeBackup(folder, at(QStringLiteral("chiavetta")),
                                                      QDateTime(QDate(2026, 3, 1), QTime(11, 0)));

        const QString entry = Cestino::remove(sets, {0});
        QTEST(modeOf(Cestino::folder()), "folderMode");
        QTEST(modeOf(Cestino::folder() + entry), "folderMode");
        QVERIFY(!QFileInfo::exists(photo));

        QVERIFY(QDir(QFileInfo(photo).absolutePath()).removeRecursively());
        Transfer::restoreBackup(withPhoto, folder, QDateTime(QDate(2026, 3, 1), QTime(12, 0)));
        QVERIFY(QFileInfo::exists(photo));
        QTEST(modeOf(QFileInfo(photo).absolutePath()), "folderMode");
        QTEST(modeOf(photo), "newFileMode");
        QTEST(modeOf(ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"))), "newFileMode");
    }

    // The installed program through its windows: the initial password opens
    // it, and a saved set card lands in the user's data folder.
    void installedProgramSavesIntoTheDataFolder()
    {
        install();
        const QStringList installed = filesUnder(at(QStringLiteral("usr")));
        ScriptedServices services;
        Roster roster;
        roster.start();
        TfrmPassword *login = roster.frmPassword();
        QVERIFY(QTest::qWaitForWindowExposed(login));
        type(login->txtPassword, QStringLiteral("pergamenaverde"));
        QTest::mouseClick(login->cmdOK, Qt::LeftButton);
        QVERIFY(services.texts().isEmpty());
        QVERIFY(roster.frmAvvio()->isVisible());

        TfrmArmi *editor = roster.frmArmi();
        roster.handOver(roster.frmAvvio(), editor);
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor));
        for (const auto &[control, value] : {std::pair{"txtMunizioni", "Galeone"}, {"txtArma", "Pirati"},
                                             {"txtCalibro", "6285"}, {"txtAnno", "1989"}})
            editor->field(control)->setText(QString::fromUtf8(value));
        Picture *save = editor->command("cmdSalva");
        QTest::mouseClick(save, Qt::LeftButton, {}, save->rect().center());
        QCOMPARE(services.texts(), QStringList{kInserted});

        const QByteArray card = readAll(dataFolder() + QStringLiteral("/Catalogo_BLOKKO.pro"));
        QCOMPARE(card.size(), 3419);
        QCOMPARE(card.mid(0, 8), QByteArray("\x07Galeone"));
        QVERIFY(QFileInfo(dataFolder() + QStringLiteral("/Schedario/BLOKKO_1.jpg")).isFile());
        QCOMPARE(filesUnder(at(QStringLiteral("usr"))), installed);
    }

    // The installed program saves the spreadsheet where the user says: the
    // save dialog starts in the Documents folder, then in the folder used
    // last, which Cartelle.ini keeps from one run to the next.
    void installedExportAsksWhereToSave()
    {
        install();
        const QString docs = documents();
        const QString chosenFolder = at(QStringLiteral("fogli"));
        QDir().mkpath(chosenFolder);
        {
            ScriptedServices services;
            Roster roster;
            exportSets(services, roster, chosenFolder + QStringLiteral("/catalogo di prova.xls"));
            QCOMPARE(services.texts(), (QStringList{kExportQuestion, kExported}));
            QCOMPARE(services.fileDialogs.size(), 1);
            const ScriptedServices::FileDialog &dialog = services.fileDialogs.first();
            QVERIFY(dialog.save);
            QCOMPARE(dialog.request.title, QStringLiteral("Salva il foglio di Excel"));
            QCOMPARE(dialog.request.filters, QStringList{QStringLiteral("Fogli di Excel (*.xls)")});
            QCOMPARE(dialog.request.proposedName, docs + QStringLiteral("/Catalogo_BLOKKO.xls"));
            QVERIFY(dialog.request.overwritePrompt);
            QVERIFY(readAll(chosenFolder + QStringLiteral("/catalogo di prova.xls")).startsWith(spreadsheetHead("Catalogo BLOKKO")));
            QVERIFY(!QFileInfo::exists(dataFolder() + QStringLiteral("/Catalogo_BLOKKO.xls")));
            QCOMPARE(QSettings(dataFolder() + QStringLiteral("/Cartelle.ini"), QSettings::IniFormat)
                         .value(QStringLiteral("Excel/UltimaCartella")).toString(),
                     chosenFolder);

            services.clear();
            exportSets(services, roster, QString());
            QCOMPARE(services.fileDialogs.size(), 1);
            QCOMPARE(services.fileDialogs.first().request.proposedName, chosenFolder + QStringLiteral("/Catalogo_BLOKKO.xls"));
        }
        // The next run of the program starts there too.
        ProgramFolder::setExecutableFolderForTests(at(QStringLiteral("usr/" VETRINORA_TEST_BINDIR)));
        ScriptedServices services;
        Roster roster;
        exportSets(services, roster, QString());
        QCOMPARE(services.fileDialogs.size(), 1);
        QCOMPARE(services.fileDialogs.first().request.proposedName, chosenFolder + QStringLiteral("/Catalogo_BLOKKO.xls"));
        // A remembered folder that is gone gives way to the Documents folder.
        QDir(chosenFolder).removeRecursively();
        services.clear();
        exportSets(services, roster, QString());
        QCOMPARE(services.fileDialogs.first().request.proposedName, docs + QStringLiteral("/Catalogo_BLOKKO.xls"));
    }

    // A cancelled save dialog writes nothing, anywhere; a folder that cannot
    // be written and a file no program opens are reported.
    void installedExportCancelledOrFailing_data()
    {
        QTest::addColumn<QString>("target"); // relative to the test's root; empty: cancelled
        QTest::addColumn<bool>("readOnlyDisk");
        QTest::addColumn<int>("openFailures");
        QTest::addColumn<bool>("written");
        QTest::newRow("cancelled") << QString() << false << 0 << false;
        QTest::newRow("folder gone") << QStringLiteral("sparita/Catalogo.xls") << false << 0 << false;
        QTest::newRow("read-only disk") << QStringLiteral("chiavetta/Catalogo.xls") << true << 0 << false;
        QTest::newRow("no program opens it") << QStringLiteral("Catalogo.xls") << false << 1 << true;
    }

    void installedExportCancelledOrFailing()
    {
        QFETCH(QString, target);
        QFETCH(bool, readOnlyDisk);
        QFETCH(int, openFailures);
        QFETCH(bool, written);
        install();
        documents();
        const QString stick = at(QStringLiteral("chiavetta"));
        bool mounted = false;
        const auto unmount = qScopeGuard([&] {
            if (mounted)
                QProcess::execute(QStringLiteral("umount"), {stick});
        });
        if (readOnlyDisk) {
            // A real read-only file system, as a write-protected stick is.
            QDir().mkpath(stick);
            mounted = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                                  QStringLiteral("-o"), QStringLiteral("ro,size=64k"),
                                                                  QStringLiteral("tmpfs"), stick})
                      == 0;
            if (!mounted)
                QSKIP("no read-only file system could be mounted (mounting needs root)");
        }
        ScriptedServices services;
        Roster roster;
        services.openFailures = openFailures;
        {
            // Opening the window makes the empty catalogue's record file.
            TfrmExpArmi w(roster.frmArmi());
            w.show();
        }
        const QStringList before = filesUnder(root->path());
        const QString path = target.isEmpty() ? QString() : at(target);
        exportSets(services, roster, path, openFailures ? platform::Button::Yes : platform::Button::No);
        QCOMPARE(services.fileDialogs.size(), 1);
        if (target.isEmpty()) {
            QCOMPARE(services.texts(), QStringList{kExportQuestion});
            QCOMPARE(filesUnder(root->path()), before);
            QVERIFY(before.contains(QStringLiteral("home/.local/share/Vetrinora/Catalogo_BLOKKO.pro")));
        } else if (!written) {
            QCOMPARE(services.texts(), (QStringList{kExportQuestion, kExportFailed}));
            QCOMPARE(services.messages.last().kind, platform::MessageKind::Plain);
            QVERIFY(!QFileInfo::exists(path));
        } else {
            QCOMPARE(services.opened, QStringList{QLatin1Char('"') + path + QLatin1Char('"')});
            QCOMPARE(services.texts(),
                     (QStringList{kExportQuestion, kExported,
                                  QStringLiteral("Il file è stato salvato, ma nessun programma lo ha aperto:\r\n\r\n")
                                      + path
                                      + QStringLiteral("\r\n\r\nInstallare un programma per i fogli di calcolo (ad "
                                                       "esempio LibreOffice Calc) e aprire il file da lì.")}));
            QCOMPARE(services.messages.last().kind, platform::MessageKind::Warning);
            QVERIFY(readAll(path).startsWith(spreadsheetHead("Catalogo BLOKKO")));
        }
    }

    // The portable program folder keeps its export beside the collection,
    // with no dialog.
    void portableExportGoesIntoTheProgramFolder()
    {
        portable();
        documents();
        ScriptedServices services;
        Roster roster;
        exportSets(services, roster, QString());
        QVERIFY(services.fileDialogs.isEmpty());
        QCOMPARE(services.texts(), (QStringList{kExportQuestion, kExported}));
        QVERIFY(readAll(at(QStringLiteral("Vetrinora/Catalogo_BLOKKO.xls"))).startsWith(spreadsheetHead("Catalogo BLOKKO")));
        QVERIFY(!QFileInfo::exists(at(QStringLiteral("Vetrinora/Cartelle.ini"))));
        QCOMPARE(QDir(at(QStringLiteral("home/Documenti"))).entryList(QDir::Files), QStringList());
    }

    // The help window's link opens the installed manual.
    void helpOpensTheInstalledManual()
    {
        install();
        ScriptedServices services;
        Roster roster;
        TfrmGuida help(roster.frmAvvio());
        help.show();
        QTest::mousePress(help.lnkWeb, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(help.lnkWeb, Qt::LeftButton, {}, QPoint(5, 5));
        const QString manual = at(QStringLiteral("usr/" VETRINORA_TEST_DOCDIR "/Guida.pdf"));
        QCOMPARE(services.opened, QStringList{QLatin1Char('"') + QDir::cleanPath(manual) + QLatin1Char('"')});
    }

    // The program's icon is drawn, and no window replaces it with another.
    void everyWindowShowsTheProgramIcon()
    {
        const QIcon icon = QApplication::windowIcon();
        QVERIFY(!icon.isNull());
        for (int size : {16, 48, 256}) {
            const QImage image = icon.pixmap(size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            QVERIFY2(qAlpha(image.pixel(size / 2, size / 2)) == 255, qPrintable(QString::number(size)));
        }
        portable();
        ScriptedServices services;
        Roster roster;
        TfrmGuida help(roster.frmAvvio());
        TfrmInfo info(roster.frmAvvio());
        QList<QWidget *> windows = QApplication::topLevelWidgets();
        QVERIFY(windows.contains(&help) && windows.contains(&info) && windows.contains(roster.frmArmi()));
        for (QWidget *w : windows)
            QVERIFY2(w->windowIcon().cacheKey() == icon.cacheKey(), qPrintable(w->objectName()));
    }
};

VETRINORA_TEST_MAIN(TestLayout)
#include "test_layout.moc"
