#include "core/cards/RecordFile.h"

#include "core/platform/FileSystem.h"
#include "core/platform/System.h"

#include <QFileInfo>
#include <algorithm>

RecordFile::RecordFile(const QString &path, int recordSize)
    : path_(path), recordSize_(recordSize), file_(path)
{
}

RecordFile::~RecordFile()
{
    if (file_.isOpen())
        file_.close();
}

void RecordFile::fail(const char *what) const
{
    throw Error(std::string(what) + ": " + path_.toStdString());
}

void RecordFile::openOrCreate()
{
    const QFileInfo info(path_);
    QIODevice::OpenMode mode = QIODevice::ReadWrite | QIODevice::Unbuffered;
    if (info.exists()) {
        if (!info.isFile() || platform::isReadOnly(path_))
            fail("file not writable");
        mode |= QIODevice::ExistingOnly;
    } else {
        mode |= QIODevice::NewOnly;
    }
    if (!(info.exists() ? file_.open(mode) : file_.open(mode, platform::newFilePermissions(info.absolutePath()))))
        fail("cannot open file");
    position_ = 0;
}

void RecordFile::lockForWriting()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!platform::lockExclusive(file_.handle()))
            return; // no locks here: the rewrites' own check still holds
        if (platform::fileIdentity(file_.handle()) == platform::fileIdentity(path_))
            return;
        file_.close();
        openOrCreate();
    }
    fail("file replaced over and over");
}

qint64 RecordFile::size() const
{
    if (!file_.isOpen())
        fail("file not open");
    return file_.size() / recordSize_;
}

void RecordFile::seek(qint64 record)
{
    if (record < 0 || record > size())
        fail("seek outside the file");
    position_ = record;
}

void RecordFile::read(Record &record)
{
    if (record.layout().size != recordSize_)
        fail("record of another layout");
    if (position_ >= size())
        fail("read past the last record");
    if (!file_.seek(position_ * recordSize_))
        fail("seek failed");
    QByteArray buffer(recordSize_, '\0');
    if (file_.read(buffer.data(), recordSize_) != recordSize_)
        fail("read failed");
    record.bytes() = buffer;
    ++position_;
}

qint64 RecordFile::readRecords(qint64 count, QByteArray &buffer)
{
    count = std::min(count, size() - position_);
    if (count <= 0)
        return 0;
    if (!file_.seek(position_ * recordSize_))
        fail("seek failed");
    const qint64 bytes = count * recordSize_;
    if (buffer.size() < bytes)
        buffer.resize(bytes);
    if (file_.read(buffer.data(), bytes) != bytes)
        fail("read failed");
    position_ += count;
    return count;
}

qint64 RecordFile::readRecordsAt(qint64 first, qint64 count, char *buffer) const
{
    if (!file_.isOpen())
        fail("file not open");
    const qint64 done = platform::readAt(file_.handle(), buffer, count * recordSize_, first * recordSize_);
    if (done < 0)
        fail("read failed");
    return done / recordSize_;
}

void RecordFile::write(const Record &record)
{
    if (record.layout().size != recordSize_)
        fail("record of another layout");
    if (!file_.isOpen() || position_ > size())
        fail("write outside the file");
    if (!file_.seek(position_ * recordSize_))
        fail("seek failed");
    const qint64 before = file_.size();
    if (file_.write(record.bytes()) != recordSize_) {
        // A card appended in part (a full disk, a size limit) is cut off
        // again, so the file ends with its last whole card.
        if (file_.size() > before)
            file_.resize(before);
        fail("write failed");
    }
    ++position_;
}

void RecordFile::close()
{
    if (!file_.isOpen())
        return;
    const bool flushed = file_.flush();
    file_.close();
    if (!flushed || file_.error() != QFileDevice::NoError)
        fail("close failed");
}

QString recordDiskFullMessage()
{
    return QStringLiteral("Attenzione: il disco è pieno e l'archivio non può essere scritto. Le "
                          "schede non sono state modificate.\r\n\r\nLiberare spazio sul disco "
                          "e ripetere l'operazione.");
}

QString writeFailureMessage(const QString &folder)
{
    return platform::writeFailedForSpace(folder) ? recordDiskFullMessage() : recordAccessMessage();
}

QString recordAccessMessage()
{
    return QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                          "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                          "installazione del programma.");
}
