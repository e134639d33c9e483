#include "core/cards/CardStore.h"

#include "core/cards/RecordFile.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/BigMemory.h"
#include "core/platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace {

constexpr qint64 kRecordsPerRead = 256;

// Runs one action on the open file and closes it; every failure of the file
// becomes a CardStore::Failure.
template <typename Action>
auto withFile(const QString &path, const RecordLayout &layout, Action action)
{
    try {
        RecordFile file(path, layout.size);
        file.openOrCreate();
        if constexpr (std::is_void_v<decltype(action(file))>) {
            action(file);
            file.close();
        } else {
            auto result = action(file);
            file.close();
            return result;
        }
    } catch (const RecordFile::Error &e) {
        throw CardStore::Failure(e.what());
    }
}

} // namespace

CardStore::CardStore(const QString &path, const RecordLayout &layout)
    : path_(path), layout_(&layout)
{
}

qint64 CardStore::count() const
{
    return withFile(path_, *layout_, [](RecordFile &file) { return file.size(); });
}

Record CardStore::read(qint64 index) const
{
    return withFile(path_, *layout_, [&](RecordFile &file) {
        Record card(*layout_);
        file.seek(index);
        file.read(card);
        return card;
    });
}

CardStore::Chosen
CardStore::readChosen(const std::function<std::optional<qint64>(qint64)> &choose) const
{
    return withFile(path_, *layout_, [&](RecordFile &file) {
        Chosen chosen;
        chosen.count = file.size();
        if (const std::optional<qint64> index = choose(chosen.count)) {
            Record card(*layout_);
            file.seek(*index);
            file.read(card);
            chosen.card = card;
            chosen.index = *index;
        }
        return chosen;
    });
}

qint64 CardStore::write(std::optional<qint64> index, const Record &card) const
{
    return withFile(path_, *layout_, [&](RecordFile &file) {
        file.lockForWriting();
        file.seek(index ? *index : file.size());
        file.write(card);
        return file.position();
    });
}

qint64 CardStore::update(qint64 index, const Record &card, const Record &expected) const
{
    return withFile(path_, *layout_, [&](RecordFile &file) {
        file.lockForWriting();
        Record now(*layout_);
        if (index < 0 || index >= file.size())
            throw Changed(changedCardMessage().toStdString());
        file.seek(index);
        file.read(now);
        if (now.bytes() != expected.bytes())
            throw Changed(changedCardMessage().toStdString());
        file.seek(index);
        file.write(card);
        return file.position();
    });
}

qint64 CardStore::appendAll(
    const std::function<void(const std::function<void(const Record &)> &)> &produce) const
{
    // A full disk is named as such, not as a matter of permissions.
    platform::forgetWriteFailure();
    const auto failed = [this] {
        return Failure(writeFailureMessage(QFileInfo(path_).absolutePath()).toStdString());
    };
    const qint64 size = layout_->size;
    qint64 count = 0;
    // Opening the file first creates a missing one, as every action does.
    this->count();
    // The cards copied are those of the file as it is now; a card that
    // another program adds before the rename makes the commit refuse.
    platform::FileOrigin origin = platform::FileOrigin::of(path_);
    const qint64 existing = origin.size / size;
    platform::AtomicFile out(path_);
    if (!out.open())
        throw failed();
    constexpr qint64 kBuffer = 1 << 20;
    QByteArray buffer;
    buffer.reserve(kBuffer + size);
    const auto flush = [&] {
        if (!out.write(buffer))
            throw failed();
        buffer.resize(0); // keeps its room for the next cards
    };
    {
        QFile in(path_);
        if (!in.open(QIODevice::ReadOnly))
            throw failed();
        qint64 left = existing * size;
        QByteArray block(kBuffer, Qt::Uninitialized);
        while (left > 0) {
            const qint64 n = in.read(block.data(), std::min(left, kBuffer));
            if (n <= 0)
                throw failed();
            if (!out.write(QByteArrayView(block.constData(), n)))
                throw failed();
            origin.read.add(QByteArrayView(block.constData(), n));
            left -= n;
        }
        count = existing;
    }
    out.expectOrigin(origin);
    produce([&](const Record &card) {
        buffer += card.bytes();
        ++count;
        if (buffer.size() >= kBuffer)
            flush();
    });
    flush();
    if (!out.commit()) {
        if (out.changedMeanwhile())
            throw Changed(changedFileMessage(QFileInfo(path_).fileName()).toStdString());
        throw failed();
    }
    return count;
}

void CardStore::scan(const std::function<void(const char *, qint64)> &visit,
                     const std::function<void(qint64)> &opened) const
{
    withFile(path_, *layout_, [&](RecordFile &file) {
        if (opened)
            opened(file.size());
        QByteArray block;
        while (file.position() < file.size()) {
            const qint64 first = file.position();
            const qint64 read = file.readRecords(kRecordsPerRead, block);
            for (qint64 i = 0; i < read; ++i)
                visit(block.constData() + i * layout_->size, first + i);
        }
    });
}

QByteArray CardStore::readRange(qint64 first, qint64 count) const
{
    return withFile(path_, *layout_, [&](RecordFile &file) {
        QByteArray block;
        if (first < file.size()) {
            file.seek(first);
            file.readRecords(count, block);
            block.truncate(qsizetype(std::min(count, file.size() - first)) * layout_->size);
        }
        return block;
    });
}

QByteArray CardStore::copyInto(platform::AtomicFile &out, const std::vector<qint64> &drop,
                               QByteArrayView extra, qint64 *sourceCount) const
{
    constexpr qint64 kRecordsPerCopy = 2048;
    const int size = layout_->size;
    platform::FileOrigin origin = platform::FileOrigin::of(path_);
    return withFile(path_, *layout_, [&](RecordFile &file) {
        if (!origin.exists)
            origin = platform::FileOrigin::of(path_); // created empty just now
        QByteArray dropped;
        QByteArray block;
        auto next = drop.begin();
        const auto failed = [] { throw RecordFile::Error("the copy could not be written"); };
        while (file.position() < file.size()) {
            const qint64 first = file.position();
            const qint64 read = file.readRecords(kRecordsPerCopy, block);
            origin.read.add(QByteArrayView(block.constData(), read * size));
            // Runs of kept records go out in one write.
            qint64 runStart = 0;
            for (qint64 i = 0; i < read; ++i) {
                if (next == drop.end() || *next != first + i)
                    continue;
                if (i > runStart && !out.write(QByteArrayView(block.constData() + runStart * size,
                                                              (i - runStart) * size)))
                    failed();
                dropped.append(block.constData() + i * size, size);
                runStart = i + 1;
                ++next;
            }
            if (read > runStart && !out.write(QByteArrayView(block.constData() + runStart * size,
                                                             (read - runStart) * size)))
                failed();
        }
        if (!extra.isEmpty() && !out.write(extra))
            failed();
        out.expectOrigin(origin);
        if (sourceCount)
            *sourceCount = file.position();
        return dropped;
    });
}

namespace {
// Runs shorter than this are not worth a thread.
constexpr qint64 kLeastPerPart = 256;

int partsUsed(qint64 count, int parts)
{
    return int(std::clamp<qint64>(count / kLeastPerPart, 1, std::max(parts, 1)));
}
} // namespace

qint64 CardStore::mostPerPart(qint64 count, int parts)
{
    const qint64 used = partsUsed(count, parts);
    return (std::max<qint64>(count, 0) + used - 1) / used;
}

bool CardStore::scanParts(int parts,
                          const std::function<void(int, const char *, qint64)> &visit,
                          const std::function<void(int)> &done,
                          const std::function<void(qint64)> &opened,
                          const std::atomic<bool> *cancelled, std::atomic<qint64> *progress) const
{
    // Batches of about a quarter of a megabyte: the system's copy lands in
    // the cache and the cards are read from there; a batch of several
    // megabytes takes twice as long to read as the same file in these.
    constexpr qint64 kBatchBytes = 256 << 10;
    const qint64 kBatch = std::max<qint64>(1, kBatchBytes / layout_->size);
    return withFile(path_, *layout_, [&](RecordFile &file) {
        const qint64 count = file.size();
        if (opened)
            opened(count);
        parts = partsUsed(count, parts);
        std::atomic<bool> stopped = false;
        const auto stop = [&] { return stopped.load() || (cancelled && cancelled->load()); };
        std::vector<std::exception_ptr> errors(parts);
        const auto run = [&](int part) {
            try {
                const qint64 first = count * part / parts;
                const qint64 last = count * (part + 1) / parts;
                const platform::BigBlock block(size_t(std::min(kBatch, last - first) * layout_->size));
                for (qint64 at = first; at < last && !stop();) {
                    const qint64 read = file.readRecordsAt(at, std::min(kBatch, last - at), block.data());
                    if (read <= 0)
                        break; // the file got shorter under us: its end is here
                    for (qint64 i = 0; i < read; ++i)
                        visit(part, block.data() + i * layout_->size, at + i);
                    at += read;
                    if (progress)
                        *progress += read;
                }
                if (!stop())
                    done(part);
            } catch (...) {
                errors[part] = std::current_exception();
                stopped = true;
            }
        };
        std::vector<std::thread> threads;
        for (int part = 1; part < parts; ++part)
            threads.emplace_back(run, part);
        run(0);
        for (std::thread &t : threads)
            t.join();
        for (const std::exception_ptr &e : errors)
            if (e)
                std::rethrow_exception(e);
        return !stop();
    });
}

QString CardStore::accessMessage() { return recordAccessMessage(); }

QString CardStore::changedFileMessage(const QString &name)
{
    return QStringLiteral("Attenzione: mentre l'operazione era in corso, un'altra copia del "
                          "programma (o un altro programma) ha modificato il file \"%1\"; "
                          "per non perdere le sue modifiche l'operazione è stata annullata e "
                          "il file è rimasto com'era.\r\n\r\nChiudere le altre copie di "
                          "Vetrinora che usano la stessa cartella dei dati e ripetere "
                          "l'operazione.")
        .arg(name);
}

QString CardStore::changedCardMessage()
{
    return QStringLiteral("Attenzione: dopo che la scheda è stata aperta, un'altra copia del "
                          "programma (o un altro programma) l'ha modificata o spostata in "
                          "archivio; le modifiche non sono state salvate, per non sovrascrivere "
                          "un'altra scheda.\r\n\r\nAnnotare le modifiche, riaprire la scheda "
                          "dall'archivio e ripeterle.");
}
