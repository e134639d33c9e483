// Backups of the data folder and their restore: what goes in, the check
// before the backup gets its name, the current data moved aside and never
// deleted, and bad zips refused with the data untouched.

#include "TestSupport.h"

#include "core/app/ProgramFolder.h"
#include "core/cards/Schede.h"
#include "core/collection/Cestino.h"
#include "core/transfer/Backup.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
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
        // The zip reader gives backslashes of a name as the folder separators they are.
        QTest::newRow("backslash") << "backslash" << QString::fromUtf8("Attenzione: il backup contiene un file con un nome non ammesso (Schedario/../../fuori.txt).") + untouched;
        QTest::newRow("drive letter") << "drive" << QString::fromUtf8("Attenzione: il backup contiene un file con un nome non ammesso (Schedario/C:fuori.txt).") + untouched;
        QTest::newRow("an archive name a card file cannot have") << "unstorable" << QString::fromUtf8("Attenzione: il backup contiene un file con un nome non ammesso (Ωmega.moc).") + untouched;
        QTest::newRow("duplicate entry") << "duplicate" << QString::fromUtf8("Attenzione: il backup è danneggiato (il file Catalogo_BLOKKO.pro non supera il controllo).") + untouched;
        const QString partial = QString::fromUtf8(" non contiene un numero intero di schede (l'ultima scheda è incompleta).") + untouched
                                + QStringLiteral("\r\n\r\nRipristinare un altro backup.");
        QTest::newRow("catalogue of 2 cards and 3 bytes") << "partial catalogue" << QString::fromUtf8("Attenzione: il backup è danneggiato: il file Catalogo_BLOKKO.pro") + partial;
        QTest::newRow("1,000-byte archive") << "partial archive" << QString::fromUtf8("Attenzione: il backup è danneggiato: il file Castelli.moc") + partial;
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
        } else if (kind == QLatin1String("backslash")) {
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"Schedario\\\\..\\\\..\\\\fuori.txt", "fuori"}});
        } else if (kind == QLatin1String("drive")) {
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"Schedario/C:fuori.txt", "fuori"}});
        } else if (kind == QLatin1String("unstorable")) {
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {QString::fromUtf8("Ωmega.moc"), QByteArray(3382, 'm')}});
        } else if (kind == QLatin1String("duplicate")) {
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"Catalogo_BLOKKO.pro", QByteArray(3419, 'a')},
                            {"Catalogo_BLOKKO.pro", QByteArray(3419, 'b')}});
        } else if (kind == QLatin1String("partial catalogue")) {
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"Catalogo_BLOKKO.pro", QByteArray(2 * 3419 + 3, 'a')}});
        } else if (kind == QLatin1String("partial archive")) {
            pythonZip(zip, {{"Vetrinora-backup.txt", kNote}, {"Castelli.moc", QByteArray(1000, 'a')}});
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

    // A bin entry made elsewhere, in a backup or laid into the data folder
    // by hand, whose journal or index names a file outside the folder (with
    // "..", a backslash, an absolute path or a drive, in any of its fields):
    // the backup is refused as damaged, and the bin neither recovers nor
    // offers nor restores such an entry. Nothing outside the data folder is
    // created, changed or removed.
    void hostileBinNotesReachNothingOutside_data()
    {
        QTest::addColumn<QString>("note"); // "giornale" or "indice"
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("journal relocating photos outside") << "giornale" << "Archivio" << "../../outside/pwn.moc";
        QTest::newRow("index naming a victim outside") << "indice" << "Archivio" << "../../victim.moc";
        const QStringList hostile = {QStringLiteral("..\\..\\outside\\pwn.moc"), QStringLiteral("ROOT/victim.moc"),
                                     QStringLiteral("C:\\victim.moc"), QStringLiteral("C:victim.moc")};
        const QStringList journalFields = {"Operazione", "Archivio", "SchedePrima", "Posizioni", "Fase", "Presenti"};
        const QStringList indexFields = {"Archivio", "Data", "Posizioni"};
        for (const QString &value : hostile) {
            for (const QString &field : journalFields)
                QTest::addRow("giornale %s %s", qPrintable(field), qPrintable(value)) << "giornale" << field << value;
            for (const QString &field : indexFields)
                QTest::addRow("indice %s %s", qPrintable(field), qPrintable(value)) << "indice" << field << value;
        }
    }
    void hostileBinNotesReachNothingOutside()
    {
        QFETCH(QString, note);
        QFETCH(QString, field);
        QFETCH(QString, value);
        if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
            QSKIP("python3 is needed to write the zips");
        // root/victim.moc, root/sib/outside/..., and the data folder root/sib/data.
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("sib/data"));
        value.replace(QStringLiteral("ROOT"), root.path());
        put(root.filePath(QStringLiteral("victim.moc")), "non toccare");
        put(root.filePath(QStringLiteral("sib/outside/pwn.moc")), "non toccare");
        put(root.filePath(QStringLiteral("sib/outside/pwn_Foto_A_1.jpg")), "foto di un altro");
        put(root.filePath(QStringLiteral("sib/outside/pwn_Foto_A_2.jpg")), "altra foto");
        const auto outside = [&] {
            QMap<QString, QByteArray> files = tree(root.path());
            for (auto it = files.begin(); it != files.end();)
                it = it.key().startsWith(QStringLiteral("sib/data/")) ? files.erase(it) : std::next(it);
            return files;
        };
        ProgramFolder::setPathForTests(folder);
        const QByteArray card = QByteArray(3382, 'c');
        put(QDir(folder).filePath(QStringLiteral("Catalogo_BLOKKO.pro")), QByteArray(2 * 3419, 's'));
        put(QDir(folder).filePath(QStringLiteral("Castelli.moc")), card.repeated(2));
        put(QDir(folder).filePath(QStringLiteral("Foto_MOC/Castelli_Foto_A_1.jpg")), "foto 1");

        QList<QPair<QString, QString>> journal = {{"Operazione", "eliminazione"}, {"Archivio", "Castelli.moc"},
                                                  {"SchedePrima", "2"}, {"Posizioni", "1"},
                                                  {"Fase", "ricollocazione"}, {"Presenti", "foto0_1.jpg"}};
        QList<QPair<QString, QString>> index = {{"Archivio", "Castelli.moc"}, {"Data", "2026-12-10T16:30:05"},
                                                {"Posizioni", "1"}};
        for (auto &[key, text] : note == QLatin1String("giornale") ? journal : index)
            if (key == field)
                text = value;
        const auto bytes = [](const QList<QPair<QString, QString>> &values) {
            QByteArray out;
            for (const auto &[key, text] : values)
                out += (key + QLatin1Char('=') + text + QLatin1Char('\n')).toUtf8();
            return out;
        };
        const QString id = QStringLiteral("20261210-163005-000");
        QList<QPair<QString, QByteArray>> entry = {{QStringLiteral("indice"), bytes(index)},
                                                   {QStringLiteral("schede"), card},
                                                   {QStringLiteral("foto0_1.jpg"), "foto nel cestino"}};
        if (note == QLatin1String("giornale"))
            entry.append({QStringLiteral("giornale"), bytes(journal)});

        // In a backup: refused as damaged, the data untouched.
        QList<QPair<QString, QByteArray>> zipEntries = {{"Vetrinora-backup.txt", kNote},
                                                        {"Catalogo_BLOKKO.pro", QByteArray(3419, 'b')}};
        for (const auto &[name, content] : entry)
            zipEntries.append({QStringLiteral("Cestino/%1/%2").arg(id, name), content});
        const QString zip = root.filePath(QStringLiteral("ricevuto.zip"));
        pythonZip(zip, zipEntries);
        const QMap<QString, QByteArray> before = outside();
        // Folders too: an empty one made outside would not show among the files.
        const auto folders = [&] {
            QStringList found;
            QDirIterator it(root.path(), QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString name = QDir(root.path()).relativeFilePath(it.next());
                if (!name.startsWith(QStringLiteral("sib/data")))
                    found << name;
            }
            found.sort();
            return found;
        };
        const QStringList foldersBefore = folders();
        const QMap<QString, QByteArray> inside = tree(folder);
        const QString damaged = QString::fromUtf8("Attenzione: il backup è danneggiato (il file Cestino/%1/%2 non supera "
                                                  "il controllo). I dati attuali non sono stati modificati.")
                                    .arg(id, note);
        for (const bool preview : {true, false}) {
            try {
                if (preview)
                    inspectBackup(zip);
                else
                    restoreBackup(zip, folder, kWhen);
                QFAIL("the backup was accepted");
            } catch (const Error &e) {
                QCOMPARE(e.message(), damaged);
            }
        }
        QCOMPARE(tree(folder), inside);

        // Laid straight into the bin: the start-up recovery, the list and
        // "Ripristina" leave it alone.
        for (const auto &[name, content] : entry)
            put(QDir(folder).filePath(QStringLiteral("Cestino/%1/%2").arg(id, name)), content);
        const QMap<QString, QByteArray> laid = tree(folder);
        Cestino::recover();
        QVERIFY(Cestino::entries().isEmpty());
        if (note == QLatin1String("indice")) {
            try {
                Cestino::restore(id);
                QFAIL("a damaged entry was restored");
            } catch (const Cestino::Failure &e) {
                QCOMPARE(QString::fromUtf8(e.what()),
                         QString::fromUtf8("Attenzione: questa eliminazione del cestino è danneggiata e non può "
                                           "essere ripristinata. Le schede attuali non sono state modificate."));
            }
        }
        QCOMPARE(tree(folder), laid);
        QCOMPARE(outside(), before);
        QCOMPARE(folders(), foldersBefore);
        ProgramFolder::setPathForTests(data->path());
    }

    // A backup never replaces a file: a second one in the same second gets
    // a name of its own, and the first stays as it was.
    void twoBackupsInTheSameSecondAreBothKept()
    {
        fillData();
        const QString first = writeBackup(data->path(), elsewhere->path(), kWhen);
        QFile f(first);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray firstBytes = f.readAll();
        f.close();
        data->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 4, {});
        const QString second = writeBackup(data->path(), elsewhere->path(), kWhen);
        QCOMPARE(second, elsewhere->filePath(QStringLiteral("Vetrinora-backup-2026-12-10-163005-2.zip")));
        QCOMPARE(QDir(elsewhere->path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"Vetrinora-backup-2026-12-10-163005-2.zip", "Vetrinora-backup-2026-12-10-163005.zip"}));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), firstBytes);
        QCOMPARE(inspectBackup(first).setCards, 3);
        QCOMPARE(inspectBackup(second).setCards, 4);
    }

    // A backup killed midway leaves its temporary file in the chosen folder
    // (a USB stick, say); the next start, or the next backup, removes it.
    void aKilledBackupLeavesNothingBehind_data()
    {
        QTest::addColumn<bool>("byNextBackup");
        QTest::newRow("next start") << false;
        QTest::newRow("next backup") << true;
    }
    void aKilledBackupLeavesNothingBehind()
    {
        QFETCH(bool, byNextBackup);
        data->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 3, {});
        QRandomGenerator random(7);
        for (int p = 1; p <= 8; ++p) {
            QByteArray photo(1 << 20, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32 *>(photo.data()), photo.size() / 4);
            put(data->file(QStringLiteral("Schedario/BLOKKO_%1.jpg").arg(p)), photo);
        }
        put(elsewhere->filePath(QStringLiteral("~vetrinora-altrui.tmp")), "not ours: not of our pattern");
        QProcess writer;
        writer.start(QStringLiteral(VETRINORA_RESTORE_WRITER),
                     {QStringLiteral("--backup"), data->path(), elsewhere->path()});
        QVERIFY(writer.waitForStarted());
        QVERIFY(writer.waitForReadyRead(30000));
        QCOMPARE(writer.readAllStandardOutput(), QByteArray("writing\n"));
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished());
        const QStringList left = QDir(elsewhere->path()).entryList({QStringLiteral("~vetrinora-*.tmp")}, QDir::Files | QDir::Hidden);
        QCOMPARE(left.size(), 2); // the killed backup's, and the one that is not ours

        if (byNextBackup) {
            const QString zip = writeBackup(data->path(), elsewhere->path(), kWhen);
            QCOMPARE(QDir(elsewhere->path()).entryList(QDir::Files | QDir::Hidden),
                     (QStringList{"Vetrinora-backup-2026-12-10-163005.zip", "~vetrinora-altrui.tmp"}));
            QCOMPARE(inspectBackup(zip).photos, 8);
        } else {
            QVERIFY(removeBackupLeftover(data->path()));
            QCOMPARE(QDir(elsewhere->path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{"~vetrinora-altrui.tmp"});
        }
        // The note naming it went with it.
        QCOMPARE(QDir(data->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Catalogo_BLOKKO.pro"});
        QVERIFY(!removeBackupLeftover(data->path()));
    }

    // The note is read back like any file: it removes only a temporary file
    // of ours, never what another name stands for.
    void theLeftoverNoteRemovesOnlyOurTemporaryFile_data()
    {
        QTest::addColumn<QString>("named");
        QTest::newRow("a user's file") << "lettera.txt";
        QTest::newRow("a relative path") << "../~vetrinora-abcdef.tmp";
        QTest::newRow("a link of our pattern") << "~vetrinora-link00.tmp";
    }
    void theLeftoverNoteRemovesOnlyOurTemporaryFile()
    {
        QFETCH(QString, named);
        put(elsewhere->filePath(QStringLiteral("lettera.txt")), "da tenere");
        QVERIFY(QFile::link(elsewhere->filePath(QStringLiteral("lettera.txt")),
                            elsewhere->filePath(QStringLiteral("~vetrinora-link00.tmp"))));
        const QMap<QString, QByteArray> before = tree(elsewhere->path());
        put(data->file(QStringLiteral("backup-in-corso.txt")),
            (named.startsWith(QStringLiteral("..")) ? named : elsewhere->filePath(named)).toUtf8());
        QVERIFY(!removeBackupLeftover(data->path()));
        QCOMPARE(tree(elsewhere->path()), before);
        QVERIFY(QFileInfo(elsewhere->filePath(QStringLiteral("~vetrinora-link00.tmp"))).isSymLink());
    }

    // A restore that fills the disk says so, and the data stays as it was.
    void aRestoreThatFillsTheDiskSaysSo()
    {
        SmallDisk disk(data->path(), 1024);
        REQUIRE_SMALL_DISK(disk);
        QTemporaryDir big;
        put(QDir(big.path()).filePath(QStringLiteral("Catalogo_BLOKKO.pro")), QByteArray(3419, 'b'));
        QByteArray photo(2 << 20, Qt::Uninitialized);
        QRandomGenerator(11).fillRange(reinterpret_cast<quint32 *>(photo.data()), photo.size() / 4);
        put(QDir(big.path()).filePath(QStringLiteral("Schedario/BLOKKO_1.jpg")), photo);
        const QString zip = writeBackup(big.path(), elsewhere->path(), kWhen);
        data->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 2, {});
        const QMap<QString, QByteArray> original = tree(data->path());
        try {
            restoreBackup(zip, data->path(), kWhen);
            QFAIL("the restore did not fail");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QString::fromUtf8("Attenzione: il disco è pieno e non c'è spazio per ripristinare il "
                                                    "backup. I dati attuali non sono stati modificati.\r\n\r\nLiberare "
                                                    "spazio sul disco e ripetere il ripristino."));
        }
        QCOMPARE(tree(data->path()), original);
        QCOMPARE(QDir(data->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Catalogo_BLOKKO.pro"});
    }

    // Before the journal of a restore says what moves where, every unpacked
    // file and folder is on the disk: watched through the system calls of a
    // real restore.
    void theUnpackedDataIsSyncedBeforeTheJournal()
    {
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("strace is needed to watch the restore's system calls");
        fillData();
        const QString zip = writeBackup(data->path(), elsewhere->path(), kWhen);
        const qsizetype files = dataFiles(data->path()).size();
        const QString log = elsewhere->filePath(QStringLiteral("strace.log"));
        QProcess p;
        // The leak checker of a sanitizer build cannot run under strace.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:abort_on_error=1"));
        p.setProcessEnvironment(env);
        p.start(strace, {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-e"),
                         QStringLiteral("trace=openat,fsync,rename,renameat,renameat2,close"),
                         QStringLiteral("-o"), log, QStringLiteral(VETRINORA_RESTORE_WRITER),
                         QStringLiteral("--once"), data->path(), zip});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly));
        // pid fd -> path of the open files; the paths synced before the
        // journal took its name.
        QHash<QString, QString> open;
        QSet<QString> synced;
        QStringList created;
        bool journal = false;
        static const QRegularExpression opened(QStringLiteral("^(\\d+)\\s+openat\\([^\"]*\"([^\"]+)\"(.*)\\)\\s+=\\s+(\\d+)"));
        static const QRegularExpression syncedFd(QStringLiteral("^(\\d+)\\s+fsync\\((\\d+)\\)\\s+=\\s+0"));
        static const QRegularExpression renamed(QStringLiteral("^(\\d+)\\s+rename(at2?)?\\(.*\"([^\"]+)\".*\"([^\"]+)\".*\\)\\s+=\\s+0"));
        for (const QByteArray &raw : f.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw);
            if (const auto m = opened.match(line); m.hasMatch()) {
                open.insert(m.captured(1) + QLatin1Char(' ') + m.captured(4), QDir::cleanPath(m.captured(2)));
                if (m.captured(3).contains(QStringLiteral("O_CREAT")) && m.captured(2).contains(QStringLiteral("/dati/")))
                    created << QDir::cleanPath(m.captured(2));
            } else if (const auto s = syncedFd.match(line); s.hasMatch()) {
                if (!journal)
                    synced.insert(open.value(s.captured(1) + QLatin1Char(' ') + s.captured(2)));
            } else if (const auto r = renamed.match(line); r.hasMatch()) {
                if (r.captured(4).endsWith(QStringLiteral("/giornale")))
                    journal = true;
            }
        }
        QVERIFY(journal);
        QCOMPARE(created.size(), files);
        for (const QString &file : created) {
            QVERIFY2(synced.contains(file), qPrintable(file));
            for (QString folder = QFileInfo(file).path(); folder.contains(QStringLiteral("/dati"));
                 folder = QFileInfo(folder).path())
                QVERIFY2(synced.contains(folder), qPrintable(folder));
        }
    }
};

VETRINORA_TEST_MAIN(TestBackup)
#include "test_backup.moc"
