#include "core/platform/AtomicFile.h"

#include "core/platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

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

AtomicFile::AtomicFile(const QString &path) : path_(path) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open()
{
    const QString folder = QFileInfo(path_).absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_.setFileName(folder + QLatin1Char('/') + kPrefix + randomTag() + kSuffix);
        // NewOnly: the name is ours alone, never a file that was already there.
        if (temporary_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
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
                         && temporary_.flush() && syncToDisk(temporary_);
    if (!written && !spoilt_)
        noteWriteFailure(isOutOfSpace(temporary_));
    temporary_.close();
    if (!written || temporary_.error() != QFileDevice::NoError) {
        discard();
        return false;
    }
    // The new file keeps the permissions of the one it replaces.
    if (QFileInfo::exists(path_))
        QFile::setPermissions(temporary_.fileName(), QFile::permissions(path_));
    if (!replace(temporary_.fileName(), path_)) {
        discard();
        return false;
    }
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

bool AtomicFile::writeAll(const QString &path, QByteArrayView bytes)
{
    AtomicFile file(path);
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
