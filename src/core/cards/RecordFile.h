#pragma once
// A headerless file of fixed-size records, opened for one action and closed at
// its end. Record k starts at byte k x record size; a trailing partial record
// is never read. Every failure throws RecordFile::Error; the caller shows
// accessMessage().

#include "core/cards/RecordLayout.h"

#include <QFile>
#include <QString>
#include <stdexcept>

class RecordFile {
public:
    struct Error : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    RecordFile(const QString &path, int recordSize);
    ~RecordFile();
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    // Opens the file for reading and writing at record 0; a missing file is
    // created empty. An existing file that cannot be opened for reading and
    // writing (read-only, locked, not a file) is left untouched.
    void openOrCreate();
    // Before a write: waits for the file's write lock, so that no other copy
    // of the program rewrites the file meanwhile. When the file was replaced
    // while waiting (a rewrite renamed a new file over it), the new one is
    // opened and locked instead.
    void lockForWriting();
    qint64 size() const; // whole records
    void seek(qint64 record); // 0 .. size()
    void read(Record &record);
    void write(const Record &record); // at the position: overwrite or append
    // Reads up to `count` whole records from the position into `buffer`
    // (end to end, the buffer reused from call to call), for scans of the
    // whole file. Returns how many were read.
    qint64 readRecords(qint64 count, QByteArray &buffer);
    // Reads up to `count` whole records starting at record `first` into
    // `buffer`, without moving the position: several threads may read
    // different parts of the open file at once. Returns how many were read
    // (fewer at the end of the file).
    qint64 readRecordsAt(qint64 first, qint64 count, char *buffer) const;
    int recordSize() const { return recordSize_; }
    qint64 position() const { return position_; }
    // Closes the file; throws when what was written did not reach the file.
    void close();

    const QString &path() const { return path_; }

private:
    void fail(const char *what) const;

    QString path_;
    int recordSize_;
    QFile file_;
    qint64 position_ = 0;
};

// The message shown when a record action fails.
QString recordAccessMessage();
// The message of a record file that could not be written whole because the
// disk is full.
QString recordDiskFullMessage();
// The message of a failed write of a record file in `folder`: the full-disk
// one when the last failed write of this thread ran out of space (or the
// folder's disk has no room left), else recordAccessMessage().
QString writeFailureMessage(const QString &folder);
