#include "core/transfer/Backup.h"

#include "core/app/Messages.h"
#include "core/cards/Schede.h"
#include "core/collection/Cestino.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SafeName.h"
#include "core/transfer/FileFormats.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <cerrno>
#include <memory>

namespace Transfer {

namespace {

const QLatin1String kNoteName("Vetrinora-backup.txt");
const QLatin1String kNoteFirstLine("Backup di Vetrinora");
const QLatin1String kNoteDate("Creato il: ");
const QLatin1String kCredentials("unins000.dll");
const char *const kFolders[] = {"Schedario", "Foto_MOC", "Documenti_Allegati", "Cestino"};
constexpr qint64 kBlock = 256 * 1024;

QString catalogueName() { return QString::fromLatin1(Schede::kCatalogueFile); }

bool isPhotoFolder(const QString &top)
{
    return top == QLatin1String("Schedario") || top == QLatin1String("Foto_MOC");
}

bool isOurTemporary(const QString &fileName)
{
    return QDir::match(platform::temporaryFilePattern(), fileName);
}

// What an entry name is: a data file of the backup, the note, or neither.
enum class NameKind { Data, Note, Folder, Foreign, Dangerous };

NameKind classify(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || (name.size() >= 2 && name.at(1) == QLatin1Char(':')))
        return NameKind::Dangerous;
    const bool folderEntry = name.endsWith(QLatin1Char('/'));
    const QStringList parts = folderEntry ? name.chopped(1).split(QLatin1Char('/'))
                                          : name.split(QLatin1Char('/'));
    for (const QString &p : parts) {
        if (!SafeName::isBareAnyCharacters(p))
            return NameKind::Dangerous;
    }
    if (parts.size() == 1 && !folderEntry) {
        if (name == kNoteName)
            return NameKind::Note;
        if (name == catalogueName() || name == kCredentials)
            return NameKind::Data;
        // An archive's name must be one a card file of the folder can have.
        if (name.endsWith(QLatin1String(".moc")))
            return SafeName::isBare(name) ? NameKind::Data : NameKind::Dangerous;
        return NameKind::Foreign;
    }
    for (const char *f : kFolders) {
        if (parts.first() == QLatin1String(f))
            return folderEntry ? NameKind::Folder : NameKind::Data;
    }
    return NameKind::Foreign;
}

struct Entry {
    QString name;
    NameKind kind;
    qint64 declared; // -1 when the zip does not say
    bool regular;
};

// Walks the entries of a backup, checking names and sizes. `onEntry` decides
// whether the entry's data is read (handed to `onData` in blocks, the CRC
// checked by the zip reader at the end of each entry).
void walk(const QString &zip, const BackupLimits &limits,
          const std::function<bool(const Entry &)> &onEntry,
          const std::function<void(const Entry &, const char *, qint64)> &onData)
{
    const std::unique_ptr<ZipReader> r = fileFormats().readZip(zip, kBlock);
    if (!r)
        throw Error(notZipMessage());
    bool note = false;
    int entries = 0;
    QSet<QString> seen;
    qint64 total = 0;
    QByteArray block(kBlock, Qt::Uninitialized);
    for (;;) {
        ZipEntry e;
        const ZipReader::Step step = r->next(e);
        if (step == ZipReader::Step::End)
            break;
        if (step == ZipReader::Step::Failed)
            throw Error(entries == 0 ? notZipMessage() : damagedMessage(QString()));
        ++entries;
        Entry entry;
        entry.name = e.name;
        entry.kind = classify(entry.name);
        entry.declared = e.size;
        entry.regular = e.regular;
        if (entry.kind == NameKind::Dangerous)
            throw Error(badNameMessage(entry.name));
        if (entry.kind == NameKind::Foreign)
            continue; // not ours: left in the zip, never unpacked
        if (entry.kind == NameKind::Folder)
            continue;
        if (!entry.regular)
            throw Error(badNameMessage(entry.name));
        if (entry.declared > limits.entryBytes)
            throw Error(tooLargeMessage(entry.name));
        total += std::max<qint64>(entry.declared, 0);
        if (total > limits.totalBytes)
            throw Error(tooLargeMessage(entry.name));
        // Two entries of one name: one would silently replace the other.
        if (seen.contains(entry.name))
            throw Error(damagedMessage(entry.name));
        seen.insert(entry.name);
        if (entry.kind == NameKind::Note)
            note = true;
        if (!onEntry(entry))
            continue;
        qint64 read = 0;
        for (;;) {
            const qint64 n = r->read(block.data(), kBlock);
            if (n == 0)
                break;
            if (n < 0)
                throw Error(damagedMessage(entry.name));
            read += n;
            if (read > limits.entryBytes || (entry.declared >= 0 && read > entry.declared))
                throw Error(tooLargeMessage(entry.name));
            onData(entry, block.constData(), n);
        }
        if (entry.declared >= 0 && read != entry.declared)
            throw Error(damagedMessage(entry.name));
    }
    if (!note)
        throw Error(notBackupMessage());
}

QString topOf(const QString &name) { return name.section(QLatin1Char('/'), 0, 0); }

// A journal or an index of a bin entry ("Cestino/<id>/giornale"): names
// that the bin follows at start and on a restore from it, so checked before
// the backup is accepted.
bool isBinNote(const QString &name)
{
    const QStringList parts = name.split(QLatin1Char('/'));
    return parts.size() == 3 && parts.first() == QLatin1String("Cestino")
           && (parts.last() == QLatin1String("giornale") || parts.last() == QLatin1String("indice"));
}
constexpr qint64 kLongestBinNote = 64 * 1024;

// Throws when a bin journal or index names a file outside the data folder.
void checkBinNotes(const QHash<QString, QByteArray> &notes)
{
    for (auto it = notes.cbegin(); it != notes.cend(); ++it)
        if (!Cestino::isSoundNote(it.value()))
            throw Error(damagedMessage(it.key()));
}

// The record layout of a record file of the backup's top level, or none.
const RecordLayout *recordLayoutOf(const QString &name)
{
    if (name == catalogueName())
        return &Schede::TSchedaSet;
    if (name.endsWith(QLatin1String(".moc")) && !name.contains(QLatin1Char('/')))
        return &Schede::TSchedaMOC;
    return nullptr;
}

// Throws when a record file of the backup does not hold whole cards.
void checkWholeCards(const QString &name, qint64 size)
{
    const RecordLayout *layout = recordLayoutOf(name);
    if (layout && size >= 0 && size % layout->size != 0)
        throw Error(partialCardsMessage(name));
}

} // namespace

QString notZipMessage()
{
    return QStringLiteral("Attenzione: il file scelto non è un archivio zip leggibile oppure è "
                          "danneggiato. I dati attuali non sono stati modificati.");
}

QString notBackupMessage()
{
    return QStringLiteral("Attenzione: il file scelto non è un backup di Vetrinora. I dati attuali "
                          "non sono stati modificati.");
}

QString badNameMessage(const QString &name)
{
    return QStringLiteral("Attenzione: il backup contiene un file con un nome non ammesso (%1). I "
                          "dati attuali non sono stati modificati.")
        .arg(name);
}

QString tooLargeMessage(const QString &name)
{
    return QStringLiteral("Attenzione: il backup contiene un file troppo grande (%1). I dati "
                          "attuali non sono stati modificati.")
        .arg(name);
}

QString damagedMessage(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("Attenzione: il backup è danneggiato. I dati attuali non sono stati "
                              "modificati.");
    return QStringLiteral("Attenzione: il backup è danneggiato (il file %1 non supera il "
                          "controllo). I dati attuali non sono stati modificati.")
        .arg(name);
}

QString partialCardsMessage(const QString &name)
{
    return QStringLiteral("Attenzione: il backup è danneggiato: il file %1 non contiene un numero "
                          "intero di schede (l'ultima scheda è incompleta). I dati attuali non "
                          "sono stati modificati.\r\n\r\nRipristinare un altro backup.")
        .arg(name);
}

QString restoreDiskFullMessage()
{
    return QStringLiteral("Attenzione: il disco è pieno e non c'è spazio per ripristinare il "
                          "backup. I dati attuali non sono stati modificati.\r\n\r\nLiberare "
                          "spazio sul disco e ripetere il ripristino.");
}

QString backupWriteMessage()
{
    return QStringLiteral("Attenzione: il sistema non permette di scrivere il backup nella cartella "
                          "scelta. Nessun file è stato creato.");
}

QString restoreMoveMessage()
{
    return QStringLiteral("Attenzione: il sistema non permette di spostare i dati attuali. Non è "
                          "stato ripristinato nulla.");
}

QString backupFileName(const QDateTime &when, int number)
{
    return QStringLiteral("Vetrinora-backup-") + when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"))
           + (number > 1 ? QStringLiteral("-%1").arg(number) : QString()) + QStringLiteral(".zip");
}

namespace {

// The note in the data folder naming the temporary file of a backup being
// written.
const QLatin1String kPendingBackup("backup-in-corso.txt");

} // namespace

bool removeBackupLeftover(const QString &folder)
{
    const QString notePath = QDir(folder).filePath(kPendingBackup);
    QFile note(notePath);
    if (!note.open(QIODevice::ReadOnly))
        return false;
    const QString named = QString::fromUtf8(note.read(64 * 1024)).trimmed();
    note.close();
    bool removed = false;
    // The note is a file like any other: what it names is checked, and only
    // a temporary file of ours, never a link, is removed.
    const QFileInfo leftover(named);
    if (QDir::isAbsolutePath(named) && SafeName::isBareAnyCharacters(leftover.fileName())
        && isOurTemporary(leftover.fileName()) && !leftover.isSymLink() && leftover.isFile())
        removed = QFile::remove(leftover.filePath());
    QFile::remove(notePath);
    return removed;
}

QList<DataFile> dataFiles(const QString &folder)
{
    const QDir dir(folder);
    QList<DataFile> files;
    const auto add = [&](const QString &name) {
        const QFileInfo info(dir.filePath(name));
        files.append({name, info.filePath(), info.size()});
    };
    QStringList top;
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString name = info.fileName();
        if (name == catalogueName() || name == kCredentials
            || (name.endsWith(QLatin1String(".moc")) && !isOurTemporary(name)))
            top.append(name);
    }
    for (const QString &name : top)
        add(name);
    for (const char *f : kFolders) {
        const QString sub = QString::fromLatin1(f);
        if (!dir.exists(sub))
            continue;
        QStringList names;
        QDirIterator it(dir.filePath(sub), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            if (info.isSymLink() || isOurTemporary(info.fileName()))
                continue;
            names.append(dir.relativeFilePath(info.filePath()));
        }
        names.sort();
        for (const QString &name : names)
            add(name);
    }
    return files;
}

QString writeBackup(const QString &folder, const QString &targetFolder, const QDateTime &when,
                    const std::function<bool(qint64, qint64)> &progress)
{
    const QList<DataFile> files = dataFiles(folder);
    qint64 total = 0;
    for (const DataFile &f : files)
        total += f.size;

    removeBackupLeftover(folder);
    const QDir target(targetFolder);
    QString zipPath = target.filePath(backupFileName(when));
    for (int n = 2; QFileInfo::exists(zipPath) || QFileInfo(zipPath).isSymLink(); ++n)
        zipPath = target.filePath(backupFileName(when, n));
    // Destroyed after `out`: the note goes once the temporary file has gone.
    struct Pending {
        QString note;
        ~Pending()
        {
            if (!note.isEmpty())
                QFile::remove(note);
        }
    } pending;
    platform::AtomicFile out(zipPath);
    out.setOwnerOnly(); // it holds the whole collection and the password file
    if (!out.open())
        throw Error(backupWriteMessage());
    if (platform::AtomicFile::writeAll(QDir(folder).filePath(kPendingBackup),
                                       QFileInfo(out.temporaryPath()).absoluteFilePath().toUtf8()))
        pending.note = QDir(folder).filePath(kPendingBackup);

    const auto sink = [](void *file, const char *bytes, qint64 size) {
        return static_cast<platform::AtomicFile *>(file)->write(QByteArrayView(bytes, qsizetype(size)));
    };
    const std::unique_ptr<ZipWriter> w = fileFormats().writeZip(sink, &out);
    if (!w)
        throw Error(backupWriteMessage());
    const auto header = [&](const QString &name, qint64 size, qint64 modified) {
        if (!w->add(name, size, modified))
            throw Error(backupWriteMessage());
    };
    const auto data = [&](const char *bytes, qint64 length) {
        if (!w->write(bytes, length))
            throw Error(backupWriteMessage());
    };

    const QByteArray note = QString(kNoteFirstLine + QStringLiteral("\r\n") + kNoteDate
                                    + when.toString(Qt::ISODate) + QStringLiteral("\r\n"))
                                .toUtf8();
    header(kNoteName, note.size(), when.toSecsSinceEpoch());
    data(note.constData(), note.size());

    qint64 done = 0;
    QByteArray block(kBlock, Qt::Uninitialized);
    for (const DataFile &f : files) {
        QFile in(f.path);
        if (!in.open(QIODevice::ReadOnly))
            throw Error(backupWriteMessage());
        header(f.name, f.size, QFileInfo(in).lastModified().toSecsSinceEpoch());
        qint64 left = f.size;
        while (left > 0) {
            const qint64 n = in.read(block.data(), std::min(left, kBlock));
            if (n <= 0)
                throw Error(backupWriteMessage());
            data(block.constData(), n);
            left -= n;
            done += n;
            if (progress && !progress(done, total))
                throw Cancelled{};
        }
    }
    if (!w->close())
        throw Error(backupWriteMessage());

    // Read back: every entry there, whole, with its size and CRC.
    QList<QPair<QString, qint64>> found;
    try {
        walk(
            out.temporaryPath(), BackupLimits{total + 1, total + qint64(note.size()) + 1},
            [&](const Entry &e) {
                found.append({e.name, 0});
                return true;
            },
            [&](const Entry &, const char *, qint64 n) { found.last().second += n; });
    } catch (const Error &) {
        throw Error(QStringLiteral("Attenzione: il backup scritto non ha superato il controllo di "
                                   "lettura e non è stato conservato."));
    }
    bool same = found.size() == files.size() + 1 && found.first().first == kNoteName;
    for (qsizetype i = 0; same && i < files.size(); ++i)
        same = found.at(i + 1).first == files.at(i).name && found.at(i + 1).second == files.at(i).size;
    if (!same)
        throw Error(QStringLiteral("Attenzione: il backup scritto non ha superato il controllo di "
                                   "lettura e non è stato conservato."));
    // Another backup may have taken the name meanwhile: it is never replaced.
    if (QFileInfo::exists(out.path()) || QFileInfo(out.path()).isSymLink() || !out.commit())
        throw Error(backupWriteMessage());
    return out.path();
}

BackupContents inspectBackup(const QString &zip, const BackupLimits &limits)
{
    BackupContents c;
    QByteArray note;
    QHash<QString, QByteArray> binNotes;
    walk(
        zip, limits,
        [&](const Entry &e) {
            if (e.kind == NameKind::Note)
                return e.declared >= 0 && e.declared < 4096;
            checkWholeCards(e.name, e.declared);
            ++c.files;
            c.bytes += std::max<qint64>(e.declared, 0);
            const QString top = topOf(e.name);
            if (e.name == catalogueName())
                c.setCards = std::max<qint64>(e.declared, 0) / Schede::TSchedaSet.size;
            else if (e.name.endsWith(QLatin1String(".moc")) && !e.name.contains(QLatin1Char('/')))
                c.archives.append({e.name.chopped(4), std::max<qint64>(e.declared, 0) / Schede::TSchedaMOC.size});
            else if (isPhotoFolder(top))
                ++c.photos;
            else if (top == QLatin1String("Documenti_Allegati"))
                ++c.attachments;
            if (isBinNote(e.name)) {
                binNotes[e.name];
                return true;
            }
            return false;
        },
        [&](const Entry &e, const char *bytes, qint64 n) {
            if (e.kind == NameKind::Note) {
                note.append(bytes, n);
                return;
            }
            QByteArray &binNote = binNotes[e.name];
            if (binNote.size() + n > kLongestBinNote)
                throw Error(damagedMessage(e.name));
            binNote.append(bytes, n);
        });
    checkBinNotes(binNotes);
    const QStringList lines = QString::fromUtf8(note).split(QStringLiteral("\r\n"));
    if (lines.value(0) != kNoteFirstLine)
        throw Error(notBackupMessage());
    for (const QString &line : lines) {
        if (line.startsWith(kNoteDate))
            c.created = QDateTime::fromString(line.mid(kNoteDate.size()), Qt::ISODate);
    }
    std::sort(c.archives.begin(), c.archives.end());
    return c;
}

void checkBackup(const QString &zip, const BackupLimits &limits)
{
    walk(zip, limits, [](const Entry &) { return true; }, [](const Entry &, const char *, qint64) {});
}

QString restoreQuestion(const BackupContents &c)
{
    QList<QPair<QString, QString>> archives;
    for (const auto &a : c.archives)
        archives.append({a.first, QString::number(a.second)});
    return Messages::restoreQuestion(c.created.toString(QStringLiteral("dd/MM/yyyy")),
                                     c.created.toString(QStringLiteral("HH:mm")),
                                     QString::number(c.setCards), archives,
                                     QString::number(c.photos), QString::number(c.attachments));
}

namespace {

const QLatin1String kStagingPrefix("Ripristino-in-corso-");
const QLatin1String kJournal("giornale");
const QLatin1String kStagedData("dati");

// Moves what the journal of a restore names from where it stands to where
// it goes, skipping what has already gone: the current data into the folder
// aside, then the unpacked data in. Each move is one rename, so a name is in
// exactly one place; run again after a kill, it goes on from where it was.
// False when a move failed.
bool rollForward(const QDir &dir, const QString &staging)
{
    QFile journal(QDir(staging).filePath(kJournal));
    if (!journal.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(journal.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    journal.close();
    if (lines.isEmpty())
        return false;
    const QString aside = dir.filePath(lines.front());
    if (!platform::makeFolder(aside))
        return false;
    for (const QString &name : lines.mid(1)) {
        const QString to = QDir(aside).filePath(name);
        if (QFileInfo::exists(to) || !QFileInfo::exists(dir.filePath(name)))
            continue;
        if (!QFile::rename(dir.filePath(name), to))
            return false;
    }
    const QDir data(QDir(staging).filePath(kStagedData));
    for (const QString &name : data.entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (QFileInfo::exists(dir.filePath(name)) || !QFile::rename(data.filePath(name), dir.filePath(name)))
            return false;
    }
    return true;
}

// Removes a staging folder, its journal first: a folder without a journal
// holds nothing that is still to be moved.
void removeStaging(const QString &staging)
{
    QFile::remove(QDir(staging).filePath(kJournal));
    QDir(staging).removeRecursively();
}

} // namespace

QString restoreBackup(const QString &zip, const QString &folder, const QDateTime &when,
                      const BackupLimits &limits, const std::function<bool(qint64, qint64)> &progress)
{
    // Names the backup before anything is written.
    const qint64 total = inspectBackup(zip, limits).bytes;
    qint64 done = 0;
    const QDir dir(folder);
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QString staging = dir.filePath(kStagingPrefix + stamp);
    const QString unpacked = QDir(staging).filePath(kStagedData);
    removeStaging(staging);
    // What a failure to write the unpacked data means: a full disk is named.
    platform::forgetWriteFailure();
    const auto writeFailure = [&] {
        return Error(platform::writeFailedForSpace(folder) ? restoreDiskFullMessage()
                                                           : restoreMoveMessage());
    };
    if (!platform::makeFolder(unpacked)) {
        platform::noteWriteFailure(errno == ENOSPC);
        throw writeFailure();
    }
    struct Cleanup {
        QString path;
        ~Cleanup()
        {
            if (!path.isEmpty())
                removeStaging(path);
        }
    } cleanup{staging};

    // Unpack into the folder of its own, every entry checked. Each file is
    // synced to the disk when it is whole, so that the journal below never
    // names files that a power cut could still leave empty.
    std::unique_ptr<QFile> current;
    QHash<QString, QByteArray> binNotes;
    const auto finishCurrent = [&] {
        if (!current)
            return;
        if (!platform::syncPath(current->fileName())) {
            platform::noteWriteFailure(errno == ENOSPC);
            throw writeFailure();
        }
        current.reset();
    };
    walk(
        zip, limits,
        [&](const Entry &e) {
            finishCurrent();
            if (e.kind == NameKind::Note)
                return false;
            const QString target = QDir(unpacked).filePath(e.name);
            platform::makeFolder(QFileInfo(target).path());
            current = std::make_unique<QFile>(target);
            if (!current->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered,
                               platform::newFilePermissions(QFileInfo(target).path()))) {
                platform::noteWriteFailure(platform::isOutOfSpace(*current));
                throw writeFailure();
            }
            return true;
        },
        [&](const Entry &e, const char *bytes, qint64 n) {
            if (current->write(bytes, n) != n) {
                platform::noteWriteFailure(platform::isOutOfSpace(*current));
                throw writeFailure();
            }
            if (isBinNote(e.name)) {
                QByteArray &binNote = binNotes[e.name];
                if (binNote.size() + n > kLongestBinNote)
                    throw Error(damagedMessage(e.name));
                binNote.append(bytes, n);
            }
            done += n;
            if (progress && !progress(done, total))
                throw Cancelled{};
        });
    finishCurrent();
    // What was unpacked is checked again, as read this time.
    checkBinNotes(binNotes);
    for (const QString &name : QDir(unpacked).entryList(QDir::Files | QDir::Hidden))
        checkWholeCards(name, QFileInfo(QDir(unpacked).filePath(name)).size());
    // The folders too: their entries name the unpacked files.
    QDirIterator folders(unpacked, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (folders.hasNext())
        platform::syncPath(folders.next());
    platform::syncPath(unpacked);
    platform::syncPath(staging);

    // The current data moves aside, the restored data in.
    QString aside = dir.filePath(QStringLiteral("Prima-del-ripristino-") + stamp);
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = dir.filePath(QStringLiteral("Prima-del-ripristino-%1-%2").arg(stamp).arg(n));
    const QDir stagingDir(unpacked);
    QStringList present;
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString name = info.fileName();
        bool data = name == catalogueName() || (name.endsWith(QLatin1String(".moc")) && info.isFile());
        // The password stays as it is when the backup has none to give.
        data = data || (name == kCredentials && stagingDir.exists(kCredentials));
        for (const char *f : kFolders)
            data = data || (info.isDir() && name == QLatin1String(f));
        if (data)
            present.append(name);
    }
    // From here on the journal says what goes where: a run killed before the
    // end is finished at the next start (recoverRestore).
    {
        platform::AtomicFile journal(QDir(staging).filePath(kJournal));
        if (!journal.open()
            || !journal.write((QStringList{QFileInfo(aside).fileName()} + present).join(QLatin1Char('\n')).toUtf8())
            || !journal.commit())
            throw writeFailure();
    }
    if (!platform::makeFolder(aside))
        throw Error(restoreMoveMessage());
    QList<QPair<QString, QString>> moved; // from, to: undone in reverse on failure
    const auto undo = [&] {
        for (auto it = moved.crbegin(); it != moved.crend(); ++it)
            QFile::rename(it->second, it->first);
        // Undone: nothing is left to finish at the next start.
        QFile::remove(QDir(staging).filePath(kJournal));
        QDir().rmdir(aside); // only when everything went back
    };
    for (const QString &name : present) {
        const QString from = dir.filePath(name);
        const QString to = QDir(aside).filePath(name);
        if (!QFile::rename(from, to)) {
            undo();
            throw Error(restoreMoveMessage());
        }
        moved.append({from, to});
    }
    for (const QString &name : stagingDir.entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString from = stagingDir.filePath(name);
        const QString to = dir.filePath(name);
        if (!QFile::rename(from, to)) {
            undo();
            throw Error(restoreMoveMessage());
        }
        moved.append({from, to});
    }
    // The moves reach the disk before the journal goes with the staging folder.
    platform::syncPath(folder);
    platform::syncPath(aside);
    return aside;
}

QStringList recoverRestore(const QString &folder)
{
    const QDir dir(folder);
    QStringList finished;
    // Run at every start: the names are compared as they are, without the
    // pattern matching a name filter would set up.
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!name.startsWith(kStagingPrefix, Qt::CaseInsensitive))
            continue;
        const QString staging = dir.filePath(name);
        if (!QFileInfo::exists(QDir(staging).filePath(kJournal))) {
            // Killed while unpacking: the data was never touched.
            removeStaging(staging);
            continue;
        }
        if (rollForward(dir, staging)) {
            removeStaging(staging);
            finished << name;
        }
    }
    return finished;
}

} // namespace Transfer
