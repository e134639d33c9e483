// Backups of the data folder and their restore: what goes in, the check
// before the backup gets its name, the current data moved aside and never
// deleted, and bad zips refused with the data untouched.

#include "TestSupport.h"

#include "core/cards/Schede.h"
#include "core/transfer/Backup.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <QStandardPaths>
#include <QtTest>

using namespace Transfer;

namespace {

const QDateTime kWhen(QDate(2026, 12, 10), QTime(16, 30, 5));

// Every file under `folder`, by relative name, with its bytes.
QMap<QString, QByteArray> tree(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(path), f.readAll());
    }
    return files;
}

void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Writes a zip with Python's zipfile: entries given as name and text; a name
// ending in "@stored" is stored instead of deflated.
void pythonZip(const QString &path, const QList<QPair<QString, QByteArray>> &entries)
{
    QString script = QStringLiteral("import zipfile,sys\nz=zipfile.ZipFile(sys.argv[1],'w')\n");
    int i = 0;
    for (const auto &[name, bytes] : entries) {
        const bool stored = name.endsWith(QStringLiteral("@stored"));
        const QString n = stored ? name.chopped(7) : name;
        const QString content = path + QStringLiteral(".%1").arg(i++);
        put(content, bytes);
        script += QStringLiteral("zi=zipfile.ZipInfo(%1)\nzi.compress_type=%2\nz.writestr(zi, open('%3','rb').read())\n")
                      .arg(QStringLiteral("'") + n + QStringLiteral("'"),
                           stored ? QStringLiteral("zipfile.ZIP_STORED") : QStringLiteral("zipfile.ZIP_DEFLATED"),
                           content);
    }
    script += QStringLiteral("z.close()\n");
    QProcess p;
    p.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, path});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
}

// The data of a program folder in a tree: the record files and the data
// folders, nothing else.
QMap<QString, QByteArray> dataTree(const QString &folder)
{
    QMap<QString, QByteArray> files;
    const QMap<QString, QByteArray> all = tree(folder);
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        const QString top = it.key().section(QLatin1Char('/'), 0, 0);
        if (top == QLatin1String("Catalogo_BLOKKO.pro") || (top.endsWith(QLatin1String(".moc")) && !it.key().contains(QLatin1Char('/')))
            || QStringList{QStringLiteral("Schedario"), QStringLiteral("Foto_MOC"), QStringLiteral("Documenti_Allegati"),
                           QStringLiteral("Cestino")}.contains(top))
            files.insert(it.key(), it.value());
    }
    return files;
}

const QByteArray kNote = "Backup di Vetrinora\r\nCreato il: 2026-01-02T03:04:05\r\n";

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> data;
    std::unique_ptr<QTemporaryDir> elsewhere;

    void fillData() const
    {
        data->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 3, {});
        data->writeCards(QString::fromUtf8("Città.moc"), Schede::TSchedaMOC, 2, {});
        data->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC, 1, {});
        data->installShippedCredentials();
        put(data->file(QStringLiteral("Schedario/BLOKKO_1.jpg")), QByteArray(5000, 'j'));
        put(data->file(QString::fromUtf8("Foto_MOC/Città_1_01.jpg")), QByteArray(3000, 'k'));
        put(data->file(QStringLiteral("Documenti_Allegati/manuale.pdf")), "%PDF-1.4 manuale");
        put(data->file(QStringLiteral("Cestino/vecchio.txt")), "vecchio");
        put(data->file(QStringLiteral("altro.txt")), "non fa parte dei dati");
    }

private slots:
    void init()
    {
        data = std::make_unique<TestProgramFolder>();
        elsewhere = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        data.reset();
        elsewhere.reset();
    }

    void backupThenRestoreBringsTheDataBack()
    {
        fillData();
        const QMap<QString, QByteArray> original = tree(data->path());
        QString zip;
        try {
            zip = writeBackup(data->path(), elsewhere->path(), kWhen);
        } catch (const Error &e) {
            QFAIL(qPrintable(e.message()));
        }
        QCOMPARE(zip, elsewhere->filePath(QStringLiteral("Vetrinora-backup-2026-12-10-163005.zip")));
        QCOMPARE(QDir(elsewhere->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Vetrinora-backup-2026-12-10-163005.zip")});

        const BackupContents c = inspectBackup(zip);
        QCOMPARE(c.created, QDateTime(QDate(2026, 12, 10), QTime(16, 30, 5)));
        QCOMPARE(c.setCards, 3);
        QCOMPARE(c.archives, (QList<QPair<QString, qint64>>{{"Castelli", 1}, {QString::fromUtf8("Città"), 2}}));
        QCOMPARE(c.photos, 2);
        QCOMPARE(c.attachments, 1);
        QCOMPARE(restoreQuestion(c),
                 QString::fromUtf8("Il backup scelto è stato creato il 10/12/2026 alle 16:30 e contiene:\r\n"
                                   "- Catalogo BLOKKO: 3 schede\r\n- archivio MOC Castelli: 1 schede\r\n"
                                   "- archivio MOC Città: 2 schede\r\n- 2 foto e 1 allegati\r\n\r\n"
                                   "I dati attuali saranno spostati in una cartella \"Prima-del-ripristino\" "
                                   "con la data di oggi e sostituiti da quelli del backup. Si conferma il ripristino?"));

        // The data changes after the backup; the restore brings the backup's back.
        data->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 5, {});
        data->writeCards(QStringLiteral("Nuovo.moc"), Schede::TSchedaMOC, 1, {});
        QVERIFY(QFile::remove(data->file(QStringLiteral("Schedario/BLOKKO_1.jpg"))));
        put(data->file(QStringLiteral("Schedario/BLOKKO_4.jpg")), "nuova");
        const QMap<QString, QByteArray> changed = tree(data->path());

        const QString aside = restoreBackup(zip, data->path(), QDateTime(QDate(2026, 12, 11), QTime(9, 5, 7)));
        QCOMPARE(aside, QDir(data->path()).filePath(QStringLiteral("Prima-del-ripristino-2026-12-11-090507")));
        QMap<QString, QByteArray> now = tree(data->path());
        QMap<QString, QByteArray> before;
        for (auto it = now.begin(); it != now.end();) {
            if (it.key().startsWith(QStringLiteral("Prima-del-ripristino-2026-12-11-090507/"))) {
                before.insert(it.key().section(QLatin1Char('/'), 1), it.value());
                it = now.erase(it);
            } else {
                ++it;
            }
        }
        QCOMPARE(now, original);
        // Everything there before is kept aside; only the file that is no data stayed.
        QMap<QString, QByteArray> expectedAside = changed;
        expectedAside.remove(QStringLiteral("altro.txt"));
        QCOMPARE(before, expectedAside);
    }

    void aCancelledBackupLeavesNothing()
    {
        fillData();
        int calls = 0;
        bool cancelled = false;
        try {
            writeBackup(data->path(), elsewhere->path(), kWhen, [&](qint64, qint64) { return ++calls < 2; });
        } catch (const Cancelled &) {
            cancelled = true;
        }
        QVERIFY(cancelled);
        QCOMPARE(QDir(elsewhere->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void aCancelledRestoreLeavesTheData()
    {
        fillData();
        const QString zip = writeBackup(data->path(), elsewhere->path(), kWhen);
        data->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 7, {});
        const QMap<QString, QByteArray> changed = tree(data->path());
        bool cancelled = false;
        qint64 last = 0;
        try {
            restoreBackup(zip, data->path(), kWhen, {}, [&](qint64 done, qint64) {
                last = done;
                return done < 3419;
            });
        } catch (const Cancelled &) {
            cancelled = true;
        }
        QVERIFY(cancelled);
        QVERIFY(last >= 3419);
        QCOMPARE(tree(data->path()), changed);
        QCOMPARE(QDir(data->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{"Cestino", "Documenti_Allegati", "Foto_MOC", "Schedario"}));
    }

    void aFolderThatRefusesTheBackupLeavesNothing()
    {
        fillData();
        try {
            writeBackup(data->path(), elsewhere->filePath(QStringLiteral("manca")), kWhen);
            QFAIL("the backup did not fail");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QString::fromUtf8("Attenzione: il sistema non permette di scrivere il backup nella cartella scelta. Nessun file è stato creato."));
        }
    }

    void badBackupsAreRefusedAndTheDataStays_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QString untouched = QString::fromUtf8(" I dati attuali non sono stati modificati.");
        QTest::newRow("not a zip") << "text" << QString::fromUtf8("Attenzione: il file scelto non è un archivio zip leggibile oppure è danneggiato.") + untouched;
        QTest::newRow("empty file") << "empty" << QString::fromUtf8("Attenzione: il file scelto non è un archivio zip leggibile oppure è danneggiato.") + untouched;
        QTest::newRow("truncated") << "truncated" << QString::fromUtf8("Attenzione: il file scelto non è un archivio zip leggibile oppure è danneggiato.") + untouched;
        QTest::newRow("another program's zip") << "foreign" << QString::fromUtf8("Attenzione: il file scelto non è un backup di Vetrinora.") + untouched;
        QTest::newRow("dot-dot") << "dotdot" << QString::fromUtf8("Attenzione: il backup contiene un file con un nome non ammesso (Schedario/../../fuori.txt).") + untouched;
        QTest::newRow("absolute") << "absolute" << QString::fromUtf8("Attenzione: il backup contiene un file con un nome non ammesso (/tmp/fuori.txt).") + untouched;
        QTest::newRow("zip bomb") << "bomb" << QString::fromUtf8("Attenzione: il backup contiene un file troppo grande (Schedario/BLOKKO_1.jpg).") + untouched;
        QTest::newRow("bad CRC") << "crc" << QString::fromUtf8("Attenzione: il backup è danneggiato (il file Catalogo_BLOKKO.pro non supera il controllo).") + untouched;
    }
    void badBackupsAreRefusedAndTheDataStays()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
            QSKIP("python3 is needed to write the zips");
        fillData();
        const QMap<QString, QByteArray> original = tree(data->path());
        const QString zip = elsewhere->filePath(QStringLiteral("prova.zip"));
        BackupLimits limits;
        if (kind == QLatin1String("text")) {
            put(zip, "Questo non è uno zip\n");
        } else if (kind == QLatin1String("empty")) {
            put(zip, QByteArray());
        } else if (kind == QLatin1String("truncated")) {
            const QString whole = writeBackup(data->path(), elsewhere->path(), kWhen);
            QFile f(whole);
            QVERIFY(f.open(QIODevice::ReadOnly));
            put(zip, f.readAll().chopped(200));
        } else if (kind == QLatin1String("foreign")) {
            pythonZip(zip, {{"leggimi.txt", "ciao"}, {"Catalogo_BLOKKO.pro", ""}});
        } else if (kind == QLatin1String("dotdot")) {
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"Schedario/../../fuori.txt", "fuori"}});
        } else if (kind == QLatin1String("absolute")) {
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"/tmp/fuori.txt", "fuori"}});
        } else if (kind == QLatin1String("bomb")) {
            limits.entryBytes = 1 << 20;
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"Schedario/BLOKKO_1.jpg", QByteArray(4 << 20, '\0')}});
        } else if (kind == QLatin1String("crc")) {
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"Catalogo_BLOKKO.pro@stored", QByteArray(3419, 'A')}});
            QFile f(zip);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QByteArray bytes = f.readAll();
            const qsizetype at = bytes.indexOf(QByteArray(100, 'A'));
            QVERIFY(at > 0);
            bytes[at + 50] = 'B';
            f.seek(0);
            f.write(bytes);
        }
        try {
            inspectBackup(zip, limits);
            restoreBackup(zip, data->path(), kWhen, limits);
            QFAIL("the restore did not fail");
        } catch (const Error &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(tree(data->path()), original);
        QCOMPARE(QDir(data->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{"Cestino", "Documenti_Allegati", "Foto_MOC", "Schedario"}));
        QVERIFY(!QFileInfo::exists(QDir(data->path()).filePath(QStringLiteral("../fuori.txt"))));
    }

    void aBombDeclaringASmallSizeIsStoppedWhileRead()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
            QSKIP("python3 is needed to write the zips");
        fillData();
        const QMap<QString, QByteArray> original = tree(data->path());
        const QString zip = elsewhere->filePath(QStringLiteral("bomba.zip"));
        pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"Schedario/BLOKKO_1.jpg", QByteArray(4 << 20, '\0')}});
        // The local and central headers say 100 bytes; the data inflates to 4 MB.
        QFile f(zip);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        const QByteArray real = QByteArray::fromHex("00004000"); // 4 MB, little-endian
        const QByteArray fake = QByteArray::fromHex("64000000");
        QVERIFY(bytes.count(real) >= 2);
        bytes.replace(real, fake);
        f.seek(0);
        f.write(bytes);
        f.close();
        try {
            restoreBackup(zip, data->path(), kWhen);
            QFAIL("the restore did not fail");
        } catch (const Error &e) {
            QVERIFY2(e.message().startsWith(QString::fromUtf8("Attenzione: il backup")), qPrintable(e.message()));
        }
        QCOMPARE(tree(data->path()), original);
    }
    // A restore killed at random moments, over and over: after the start-up
    // recovery the data is whole, either the data before or the backup's, no
    // unpacked files are left and every folder set aside holds one whole
    // set of data.
    void killedMidRestore()
    {
        const auto records = [](const RecordLayout &layout, int cards, char tag) {
            Record r(layout);
            r.setText(layout.fields.front(), QString(QLatin1Char(tag)));
            return r.bytes().repeated(cards);
        };
        const auto fill = [&](const QString &folder, char tag, int cards, const QStringList &archives) {
            put(QDir(folder).filePath(QStringLiteral("Catalogo_BLOKKO.pro")), records(Schede::TSchedaSet, cards, tag));
            for (const QString &a : archives)
                put(QDir(folder).filePath(a), records(Schede::TSchedaMOC, cards + 1, tag));
            for (int p = 1; p <= 30; ++p)
                put(QDir(folder).filePath(QStringLiteral("Schedario/BLOKKO_%1.jpg").arg(p)), QByteArray(20000, tag));
            put(QDir(folder).filePath(QStringLiteral("Documenti_Allegati/%1.pdf").arg(QLatin1Char(tag))),
                QByteArray(3000, tag));
        };
        QTemporaryDir first, second;
        fill(first.path(), 'a', 3, {QStringLiteral("Castelli.moc")});
        fill(second.path(), 'b', 5, {QStringLiteral("Navi.moc"), QStringLiteral("Porti.moc")});
        fill(data->path(), 'o', 2, {});
        const QList<QMap<QString, QByteArray>> wholes = {dataTree(data->path()), dataTree(first.path()),
                                                         dataTree(second.path())};
        QVERIFY(QDir().mkpath(elsewhere->filePath(QStringLiteral("b"))));
        const QString zips[] = {writeBackup(first.path(), elsewhere->path(), kWhen),
                                writeBackup(second.path(), elsewhere->filePath(QStringLiteral("b")), kWhen)};
        QVERIFY(QFileInfo::exists(zips[1]));

        QRandomGenerator random(20261210);
        for (int k = 0; k < 60; ++k) {
            QProcess writer;
            writer.start(QStringLiteral(VETRINORA_RESTORE_WRITER), {data->path(), zips[0], zips[1]});
            QVERIFY(writer.waitForStarted());
            QVERIFY(writer.waitForReadyRead(30000));
            QThread::usleep(random.bounded(40000));
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());

            recoverRestore(data->path());
            const QString at = QStringLiteral("after kill %1").arg(k);
            const QDir dir(data->path());
            QVERIFY2(dir.entryList({QStringLiteral("Ripristino-in-corso-*")}, QDir::Dirs).isEmpty(), qPrintable(at));
            const QMap<QString, QByteArray> now = dataTree(data->path());
            QVERIFY2(now == wholes[1] || now == wholes[2], qPrintable(at));
            for (const QString &aside : dir.entryList({QStringLiteral("Prima-del-ripristino-*")}, QDir::Dirs))
                QVERIFY2(wholes.contains(dataTree(dir.filePath(aside))), qPrintable(at + QLatin1Char(' ') + aside));
        }
    }

    // What a killed run leaves, laid out by hand: unpacked files without a
    // journal are removed with the data untouched; a journal whose moves
    // were half made is completed.
    void recoveryOfALaidOutState_data()
    {
        QTest::addColumn<bool>("journal");
        QTest::addColumn<bool>("halfAside"); // the catalogue already moved aside
        QTest::addColumn<bool>("halfIn");    // and the photos already moved in
        QTest::newRow("unpacking") << false << false << false;
        QTest::newRow("journal written, nothing moved") << true << false << false;
        QTest::newRow("some data moved aside") << true << true << false;
        QTest::newRow("some data moved in") << true << true << true;
    }
    void recoveryOfALaidOutState()
    {
        QFETCH(bool, journal);
        QFETCH(bool, halfAside);
        QFETCH(bool, halfIn);
        put(data->file(QStringLiteral("Catalogo_BLOKKO.pro")), "vecchio catalogo");
        put(data->file(QStringLiteral("Schedario/BLOKKO_1.jpg")), "vecchia foto");
        const QString staging = data->file(QStringLiteral("Ripristino-in-corso-2026-12-10-163005"));
        const QString aside = data->file(QStringLiteral("Prima-del-ripristino-2026-12-10-163005"));
        put(staging + QStringLiteral("/dati/Catalogo_BLOKKO.pro"), "nuovo catalogo");
        put(staging + QStringLiteral("/dati/Schedario/BLOKKO_1.jpg"), "nuova foto");
        if (journal)
            put(staging + QStringLiteral("/giornale"),
                "Prima-del-ripristino-2026-12-10-163005\nCatalogo_BLOKKO.pro\nSchedario");
        if (halfAside) {
            QVERIFY(QDir().mkpath(aside));
            QVERIFY(QFile::rename(data->file(QStringLiteral("Catalogo_BLOKKO.pro")), aside + QStringLiteral("/Catalogo_BLOKKO.pro")));
        }
        if (halfIn) {
            QVERIFY(QFile::rename(data->file(QStringLiteral("Schedario")), aside + QStringLiteral("/Schedario")));
            QVERIFY(QFile::rename(staging + QStringLiteral("/dati/Schedario"), data->file(QStringLiteral("Schedario"))));
        }

        QCOMPARE(recoverRestore(data->path()),
                 journal ? QStringList{QStringLiteral("Ripristino-in-corso-2026-12-10-163005")} : QStringList{});
        QVERIFY(!QFileInfo::exists(staging));
        const QMap<QString, QByteArray> before = {{QStringLiteral("Catalogo_BLOKKO.pro"), "vecchio catalogo"},
                                                  {QStringLiteral("Schedario/BLOKKO_1.jpg"), "vecchia foto"}};
        const QMap<QString, QByteArray> after = {{QStringLiteral("Catalogo_BLOKKO.pro"), "nuovo catalogo"},
                                                 {QStringLiteral("Schedario/BLOKKO_1.jpg"), "nuova foto"}};
        QCOMPARE(dataTree(data->path()), journal ? after : before);
        if (journal)
            QCOMPARE(dataTree(aside), before);
        else
            QVERIFY(!QFileInfo::exists(aside));
    }
};

VETRINORA_TEST_MAIN(TestBackup)
#include "test_backup.moc"
