#include "core/collection/Cestino.h"

#include "core/app/ProgramFolder.h"
#include "core/cards/Windows1252.h"
#include "core/cards/RecordFile.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstdio>

namespace Cestino {

namespace {

const QString kJournal = QStringLiteral("giornale");
const QString kIndex = QStringLiteral("indice");
const QString kRecords = QStringLiteral("schede");
const QString kBeingMade = QStringLiteral(".nuovo");
const QString kGoing = QStringLiteral(".via");

using Values = QHash<QString, QString>;

QByteArray format(const QList<QPair<QString, QString>> &values)
{
    QByteArray out;
    for (const auto &[key, value] : values)
        out += (key + QLatin1Char('=') + value + QLatin1Char('\n')).toUtf8();
    return out;
}

Values parse(const QByteArray &bytes)
{
    Values values;
    for (const QByteArray &line : bytes.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            values.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    return values;
}

Values parse(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return parse(f.readAll());
}

// Whether the names of a journal or an index may be followed: the record
// file it names is one of the program folder. One that fails is damaged,
// or made elsewhere to reach outside the folder, and is never acted on.
bool sound(const Values &values)
{
    if (!CardFile::isRecordFileName(values.value(QStringLiteral("Archivio"))))
        return false;
    // The other fields hold no names at all: anything else in them is damage.
    const auto only = [](const QString &text, QLatin1String allowed) {
        for (const QChar c : text)
            if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && !allowed.contains(c))
                return false;
        return true;
    };
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString &key = it.key();
        const QString &value = it.value();
        bool ok = true;
        if (key == QLatin1String("Posizioni") || key == QLatin1String("SchedePrima"))
            ok = only(value, QLatin1String(","));
        else if (key == QLatin1String("Data"))
            ok = only(value, QLatin1String("-:T+Z."));
        else if (key == QLatin1String("Operazione"))
            ok = value == QLatin1String("eliminazione") || value == QLatin1String("ripristino");
        else if (key == QLatin1String("Fase"))
            ok = value == QLatin1String("registrazione") || value == QLatin1String("ricollocazione");
        else if (key == QLatin1String("Presenti"))
            for (const QString &photo : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
                ok = ok && photo.startsWith(QLatin1String("foto")) && photo.endsWith(QLatin1String(".jpg"))
                     && only(photo.mid(4, photo.size() - 8), QLatin1String("_"));
        if (!ok)
            return false;
    }
    return true;
}

QString joined(const std::vector<qint64> &numbers)
{
    QStringList parts;
    for (qint64 n : numbers)
        parts << QString::number(n);
    return parts.join(QLatin1Char(','));
}

std::vector<qint64> numbers(const QString &text)
{
    std::vector<qint64> out;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        out.push_back(part.toLongLong());
    return out;
}

[[noreturn]] void fail() { throw Failure(writeFailureMessage(folder()).toStdString()); }

// A record file that could not be replaced: another program changed it
// meanwhile, or the system refused.
[[noreturn]] void failCommit(const platform::AtomicFile &out, const CardFile &file)
{
    if (out.changedMeanwhile())
        throw Failure(CardStore::changedFileMessage(file.fileName()).toStdString());
    fail();
}

void write(const QString &path, const QByteArray &bytes)
{
    if (!platform::AtomicFile::writeAll(path, bytes))
        fail();
}

// Renames over an existing file, as the system's rename does.
bool renameOver(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QString binPhoto(int slot, qint64 position)
{
    return QStringLiteral("foto%1_%2.jpg").arg(slot).arg(position);
}

// Takes a folder out of the bin: renamed first, so that a half-removed
// folder is never taken for an entry.
void dropFolder(const QString &path)
{
    const QString going = path + kGoing;
    if (renameOver(path, going) || QFileInfo(going).isDir())
        QDir(going).removeRecursively();
}

QString entryPath(const QString &id) { return folder() + id + QDir::separator(); }

// Deletion, after the record file was replaced: the photos from the first
// deleted card on go into the entry, then those of the cards that stay come
// back under their new positions.
void finishRemove(const QString &entry, const Values &journal)
{
    const CardFile file = CardFile::fromFileName(journal.value(QStringLiteral("Archivio")));
    const std::vector<qint64> deleted = numbers(journal.value(QStringLiteral("Posizioni")));
    const qint64 before = journal.value(QStringLiteral("SchedePrima")).toLongLong();
    if (deleted.empty())
        return;
    if (journal.value(QStringLiteral("Fase")) == QStringLiteral("registrazione")) {
        const QStringList photos = QDir(file.photoFolder).entryList(QDir::Files);
        for (int slot = 0; slot < file.photoPrefixes.size(); ++slot)
            for (const QString &name : photos) {
                const qint64 p = file.photoPosition(slot, name);
                if (p >= deleted.front() && p <= before)
                    renameOver(file.photoFolder + name, entry + binPhoto(slot, p));
            }
        write(entry + kJournal, format({{QStringLiteral("Operazione"), QStringLiteral("eliminazione")},
                                        {QStringLiteral("Archivio"), journal.value(QStringLiteral("Archivio"))},
                                        {QStringLiteral("SchedePrima"), QString::number(before)},
                                        {QStringLiteral("Posizioni"), joined(deleted)},
                                        {QStringLiteral("Fase"), QStringLiteral("ricollocazione")}}));
    }
    platform::makeFolder(file.photoFolder);
    const QStringList kept = QDir(entry).entryList({QStringLiteral("foto*.jpg")}, QDir::Files);
    for (const QString &name : kept) {
        // foto<slot>_<position>.jpg
        const qsizetype bar = name.indexOf(QLatin1Char('_'));
        bool okSlot = false, okPosition = false;
        const int slot = name.mid(4, bar - 4).toInt(&okSlot);
        const qint64 p = name.mid(bar + 1, name.size() - bar - 5).toLongLong(&okPosition);
        if (bar < 0 || !okSlot || !okPosition || slot < 0 || slot >= file.photoPrefixes.size())
            continue;
        const auto below = std::lower_bound(deleted.begin(), deleted.end(), p);
        if (below != deleted.end() && *below == p)
            continue; // a deleted card's photo stays in the bin
        renameOver(entry + name, file.photoPath(slot, p - (below - deleted.begin())));
    }
    QFile::remove(entry + kJournal);
}

// Restore, after the record file was replaced: the photos go to the new
// positions at the end of the file, then the entry leaves the bin.
void finishRestore(const QString &entry, const Values &journal)
{
    const CardFile file = CardFile::fromFileName(journal.value(QStringLiteral("Archivio")));
    const std::vector<qint64> positions = numbers(journal.value(QStringLiteral("Posizioni")));
    const qint64 before = journal.value(QStringLiteral("SchedePrima")).toLongLong();
    const QStringList present = journal.value(QStringLiteral("Presenti")).split(QLatin1Char(','));
    platform::makeFolder(file.photoFolder);
    for (std::size_t j = 0; j < positions.size(); ++j)
        for (int slot = 0; slot < file.photoPrefixes.size(); ++slot) {
            const QString target = file.photoPath(slot, before + qint64(j) + 1);
            const QString source = entry + binPhoto(slot, positions[j]);
            if (present.contains(binPhoto(slot, positions[j]))) {
                if (QFileInfo::exists(source))
                    renameOver(source, target);
            } else {
                // No photo of this card: none of an older card may show.
                QFile::remove(target);
            }
        }
    dropFolder(entry.chopped(1));
}

qint64 fileSize(const CardFile &file) { return QFileInfo(file.path).size(); }

} // namespace

bool isSoundNote(const QByteArray &bytes) { return sound(parse(bytes)); }

QString damagedEntryMessage()
{
    return QStringLiteral("Attenzione: questa eliminazione del cestino è danneggiata e non può "
                          "essere ripristinata. Le schede attuali non sono state modificate.");
}

QString folder() { return ProgramFolder::file(QStringLiteral("Cestino")) + QDir::separator(); }

QString remove(const CardFile &file, std::vector<qint64> indices)
{
    platform::forgetWriteFailure();
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    if (indices.empty())
        return {};
    const CardStore store = file.store();
    qint64 before = 0;
    QByteArray dropped;
    platform::AtomicFile out(file.path);
    try {
        if (indices.front() < 0 || !out.open())
            fail();
        // The count is the one of the copy: the commit below refuses a file
        // that has changed since.
        dropped = store.copyInto(out, indices, {}, &before);
        if (indices.back() >= before)
            fail();
    } catch (const CardStore::Failure &) {
        fail();
    }

    QString id = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    for (int n = 2; QFileInfo::exists(folder() + id) || QFileInfo::exists(folder() + id + kBeingMade); ++n)
        id = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) + QString::number(n);
    const QString making = folder() + id + kBeingMade;
    if (!platform::makeFolder(making))
        fail();
    std::vector<qint64> positions;
    for (qint64 i : indices)
        positions.push_back(i + 1);
    const QList<QPair<QString, QString>> journal{
        {QStringLiteral("Operazione"), QStringLiteral("eliminazione")},
        {QStringLiteral("Archivio"), file.fileName()},
        {QStringLiteral("SchedePrima"), QString::number(before)},
        {QStringLiteral("Posizioni"), joined(positions)},
        {QStringLiteral("Fase"), QStringLiteral("registrazione")}};
    try {
        const QString dir = making + QDir::separator();
        write(dir + kRecords, dropped);
        write(dir + kIndex,
              format({{QStringLiteral("Archivio"), file.fileName()},
                      {QStringLiteral("Data"), QDateTime::currentDateTime().toString(Qt::ISODate)},
                      {QStringLiteral("Posizioni"), joined(positions)}}));
        write(dir + kJournal, format(journal));
        if (!renameOver(making, folder() + id))
            fail();
    } catch (const Failure &) {
        QDir(making).removeRecursively();
        throw;
    }
    // The step that decides: until the record file is replaced, the deletion
    // has not happened.
    if (!out.commit()) {
        dropFolder(folder() + id);
        failCommit(out, file);
    }
    Values values;
    for (const auto &[key, value] : journal)
        values.insert(key, value);
    finishRemove(entryPath(id), values);
    return id;
}

QList<Entry> entries()
{
    QList<Entry> list;
    const QStringList ids = QDir(folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &id : ids) {
        if (id.endsWith(kBeingMade) || id.endsWith(kGoing))
            continue;
        const QString dir = entryPath(id);
        if (QFileInfo::exists(dir + kJournal) || !QFileInfo::exists(dir + kIndex))
            continue;
        const Values index = parse(dir + kIndex);
        if (!sound(index))
            continue; // damaged: not offered
        Entry e;
        e.id = id;
        e.fileName = index.value(QStringLiteral("Archivio"));
        const CardFile file = CardFile::fromFileName(e.fileName);
        e.name = file.name;
        e.when = QDateTime::fromString(index.value(QStringLiteral("Data")), Qt::ISODate);
        for (qint64 p : numbers(index.value(QStringLiteral("Posizioni"))))
            e.positions << p;
        QFile records(dir + kRecords);
        if (records.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = records.readAll();
            const FieldDef &first = file.layout->fields.front();
            for (qsizetype at = 0; at + file.layout->size <= bytes.size(); at += file.layout->size)
                e.titles << Record::textAt(bytes.constData() + at, first);
        }
        list << e;
    }
    return list;
}

void restore(const QString &id)
{
    platform::forgetWriteFailure();
    const QString dir = entryPath(id);
    const Values index = parse(dir + kIndex);
    if (!sound(index))
        throw Failure(damagedEntryMessage().toStdString());
    const CardFile file = CardFile::fromFileName(index.value(QStringLiteral("Archivio")));
    const std::vector<qint64> positions = numbers(index.value(QStringLiteral("Posizioni")));
    QFile recordsFile(dir + kRecords);
    if (positions.empty() || !recordsFile.open(QIODevice::ReadOnly))
        fail();
    const QByteArray records = recordsFile.readAll();
    recordsFile.close();
    if (records.size() != qsizetype(positions.size()) * file.layout->size)
        fail();
    const CardStore store = file.store();
    qint64 before = 0;
    platform::AtomicFile out(file.path);
    try {
        if (!out.open())
            fail();
        store.copyInto(out, {}, records, &before);
    } catch (const CardStore::Failure &) {
        fail();
    }
    QStringList present;
    for (qint64 p : positions)
        for (int slot = 0; slot < file.photoPrefixes.size(); ++slot)
            if (QFileInfo::exists(dir + binPhoto(slot, p)))
                present << binPhoto(slot, p);
    const QList<QPair<QString, QString>> journal{
        {QStringLiteral("Operazione"), QStringLiteral("ripristino")},
        {QStringLiteral("Archivio"), file.fileName()},
        {QStringLiteral("SchedePrima"), QString::number(before)},
        {QStringLiteral("Posizioni"), joined(positions)},
        {QStringLiteral("Presenti"), present.join(QLatin1Char(','))},
        {QStringLiteral("Fase"), QStringLiteral("registrazione")}};
    write(dir + kJournal, format(journal));
    if (!out.commit()) {
        QFile::remove(dir + kJournal);
        failCommit(out, file);
    }
    Values values;
    for (const auto &[key, value] : journal)
        values.insert(key, value);
    finishRestore(dir, values);
}

void purge(const QString &id)
{
    // Only an entry that the bin lists: never a name with a separator or
    // one that leads outside the bin.
    const QList<Entry> all = entries();
    const bool listed = std::any_of(all.cbegin(), all.cend(), [&](const Entry &e) { return e.id == id; });
    if (!listed)
        return;
    // Renamed first, so that a run killed midway leaves a folder that the
    // next start removes, never half an entry that looks whole.
    const QString path = folder() + id;
    dropFolder(path);
    if (QFileInfo::exists(path) || QFileInfo::exists(path + kGoing))
        fail();
}

void recover()
{
    const QDir bin(folder());
    if (!bin.exists())
        return;
    for (const QString &name : bin.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString path = folder() + name;
        if (name.endsWith(kBeingMade) || name.endsWith(kGoing)) {
            QDir(path).removeRecursively();
            continue;
        }
        const QString dir = path + QDir::separator();
        if (!QFileInfo::exists(dir + kJournal))
            continue;
        const Values journal = parse(dir + kJournal);
        if (!sound(journal))
            continue; // damaged: left as it is, nothing followed
        const CardFile file = CardFile::fromFileName(journal.value(QStringLiteral("Archivio")));
        const qint64 before = journal.value(QStringLiteral("SchedePrima")).toLongLong();
        const qint64 moved = qint64(numbers(journal.value(QStringLiteral("Posizioni"))).size());
        const qint64 size = fileSize(file);
        try {
            if (journal.value(QStringLiteral("Operazione")) == QStringLiteral("ripristino")) {
                if (size == (before + moved) * file.layout->size)
                    finishRestore(dir, journal);
                else
                    QFile::remove(dir + kJournal); // not put back: the entry stays
            } else {
                if (journal.value(QStringLiteral("Fase")) != QStringLiteral("registrazione")
                    || size == (before - moved) * file.layout->size)
                    finishRemove(dir, journal);
                else
                    dropFolder(path); // not deleted: nothing had moved yet
            }
        } catch (const Failure &) {
            // Left for the next start.
        }
    }
}

} // namespace Cestino
