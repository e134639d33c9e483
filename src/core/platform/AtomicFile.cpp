#include "core/platform/AtomicFile.h"

#include "core/platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QHashFunctions>
#include <QRandomGenerator>

#include <algorithm>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

const QLatin1String kPrefix("~vetrinora-");
const QLatin1String kSuffix(".tmp");

QString randomTag()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < 6; ++i)
        tag += QLatin1Char(letters[QRandomGenerator::global()->bounded(36)]);
    return tag;
}

bool syncToDisk(QFile &file)
{
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    int result;
    do
        result = ::fsync(file.handle());
    while (result != 0 && errno == EINTR);
    return result == 0;
#endif
}

bool replace(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
           != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// Makes the rename itself durable: the folder's entry is synced too.
void syncFolder([[maybe_unused]] const QString &folder)
{
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

} // namespace

void ContentDigest::add(QByteArrayView bytes)
{
    length_ += bytes.size();
    if (!pending_.isEmpty()) {
        const qsizetype take = std::min<qsizetype>(kBlock - pending_.size(), bytes.size());
        pending_.append(bytes.data(), take);
        bytes = bytes.sliced(take);
        if (pending_.size() < kBlock)
            return;
        mix(pending_);
        pending_.clear();
    }
    while (bytes.size() >= kBlock) {
        mix(bytes.first(kBlock));
        bytes = bytes.sliced(kBlock);
    }
    if (!bytes.isEmpty())
        pending_.append(bytes.data(), bytes.size());
}

void ContentDigest::mix(QByteArrayView block)
{
    // A fixed seed, so that two readings of the same bytes agree.
    hash_ = (hash_ ^ quint64(qHashBits(block.data(), size_t(block.size()), size_t(hash_))))
            * 0x100000001b3ULL;
}

quint64 ContentDigest::value() const
{
    quint64 h = hash_;
    if (!pending_.isEmpty())
        h = (h ^ quint64(qHashBits(pending_.constData(), size_t(pending_.size()), size_t(h))))
            * 0x100000001b3ULL;
    return h ^ quint64(length_);
}

FileOrigin FileOrigin::of(const QString &path)
{
    FileOrigin origin;
    const QFileInfo info(path);
    origin.exists = info.exists();
    if (origin.exists) {
        origin.size = info.size();
        origin.modified = info.lastModified().toMSecsSinceEpoch();
        origin.identity = fileIdentity(path);
    }
    return origin;
}

bool FileOrigin::unchangedAt(const QString &path) const
{
    const FileOrigin now = of(path);
    if (now.exists != exists || now.size != size || now.modified != modified
        || now.identity != identity)
        return false;
    if (read.length() == 0)
        return true;
    // The bytes themselves: a change inside the same tick of the clock
    // leaves the time as it was.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    ContentDigest again;
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 left = read.length();
    while (left > 0) {
        const qint64 n = file.read(block.data(), std::min<qint64>(left, block.size()));
        if (n <= 0)
            return false;
        again.add(QByteArrayView(block.constData(), n));
        left -= n;
    }
    return again.value() == read.value();
}

AtomicFile::AtomicFile(const QString &path) : path_(path) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open()
{
    const QString folder = QFileInfo(path_).absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_.setFileName(folder + QLatin1Char('/') + kPrefix + randomTag() + kSuffix);
        // NewOnly: the name is ours alone, never a file that was already there.
        // Made with the permissions of a new file of the folder (or the
        // owner's alone when asked), so no one else reads it while written.
        if (temporary_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered,
                            ownerOnly_ ? kOwnerOnly : newFilePermissions(folder))) {
            spoilt_ = false;
            return true;
        }
        if (!temporary_.exists()) {
            noteWriteFailure(isOutOfSpace(temporary_));
            return false; // refused for another reason than the name
        }
    }
    return false;
}

bool AtomicFile::write(QByteArrayView bytes)
{
    if (!temporary_.isOpen() || spoilt_)
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = temporary_.write(bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            noteWriteFailure(isOutOfSpace(temporary_));
            spoilt_ = true;
            return false;
        }
        done += n;
    }
    return true;
}

bool AtomicFile::commit()
{
    if (!temporary_.isOpen())
        return false;
    const bool written = !spoilt_ && temporary_.error() == QFileDevice::NoError
                         && temporary_.flush() && (!durable_ || syncToDisk(temporary_));
    if (!written && !spoilt_)
        noteWriteFailure(isOutOfSpace(temporary_));
    temporary_.close();
    if (!written || temporary_.error() != QFileDevice::NoError) {
        discard();
        return false;
    }
    // Nothing is put over what another program wrote while this content
    // was being made from the old one.
    // The old file's write lock is held from the check to the rename, so
    // that no copy of the program writes a card into it in between; one
    // waiting for it finds the new file in its place.
    QFile old(path_);
    if (origin_ && origin_->exists && old.open(QIODevice::ReadOnly))
        lockExclusive(old.handle());
    if (origin_ && !origin_->unchangedAt(path_)) {
        changed_ = true;
        discard();
        return false;
    }
    // The new file keeps the permissions of the one it replaces.
    if (!ownerOnly_ && QFileInfo::exists(path_))
        QFile::setPermissions(temporary_.fileName(), QFile::permissions(path_));
    if (!replace(temporary_.fileName(), path_)) {
        discard();
        return false;
    }
    if (durable_)
        syncFolder(QFileInfo(path_).absolutePath());
    temporary_.setFileName(QString());
    return true;
}

void AtomicFile::discard()
{
    if (temporary_.fileName().isEmpty())
        return;
    if (temporary_.isOpen())
        temporary_.close();
    QFile::remove(temporary_.fileName());
    temporary_.setFileName(QString());
}

bool AtomicFile::writeAll(const QString &path, QByteArrayView bytes, bool ownerOnly)
{
    AtomicFile file(path);
    if (ownerOnly)
        file.setOwnerOnly();
    return file.open() && file.write(bytes) && file.commit();
}

bool AtomicFile::copy(const QString &source, const QString &destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    AtomicFile out(destination);
    if (!out.open())
        return false;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(chunk.data(), chunk.size());
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (!out.write(QByteArrayView(chunk.constData(), n)))
            return false;
    }
    return out.commit();
}

QString temporaryFilePattern() { return kPrefix + QStringLiteral("??????") + kSuffix; }

int removeTemporaryLeftovers(const QString &folder)
{
    const QDir dir(folder);
    int removed = 0;
    const QFileInfoList found = dir.entryInfoList(QStringList{temporaryFilePattern()},
                                                  QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &info : found)
        if (!info.isSymLink() && QFile::remove(info.absoluteFilePath()))
            ++removed;
    return removed;
}

} // namespace platform
