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
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {
const QString kShipped = QStringLiteral(VETRINORA_SOURCE_DIR "/src/resources/unins000.dll");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");

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
    QByteArray savedHome, savedDataHome;

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
        qputenv("HOME", at(QStringLiteral("home")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
    }

    void cleanup()
    {
        ProgramFolder::setExecutableFolderForTests(QString());
        qputenv("HOME", savedHome);
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
        const QString found = file == QLatin1String("manual")   ? InstalledFiles::manual()
                              : file == QLatin1String("camera") ? InstalledFiles::cameraModule()
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
