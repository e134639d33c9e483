#pragma once
// Files that are replaced whole or not at all.
//
// The new content goes to a temporary file in the target's own folder; only
// once every byte has been written, checked and synced to the disk is it
// renamed over the target. A failure anywhere (a full disk, a write limit, a
// kill) leaves the old file exactly as it was. The temporary names follow one
// pattern of our own, so that a leftover of a killed run can be recognised
// and removed at the next start.

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// A running digest of the bytes of a file, fed in pieces of any size: the
// same bytes give the same value however they were cut.
class ContentDigest {
public:
    void add(QByteArrayView bytes);
    quint64 value() const;
    qint64 length() const { return length_; }

private:
    void mix(QByteArrayView block);
    static constexpr qsizetype kBlock = 64 << 10;
    QByteArray pending_;
    quint64 hash_ = 0x9e3779b97f4a7c15ULL;
    qint64 length_ = 0;
};

// What a file looked like when a rewrite started reading it: its size and
// modification time, taken before the first byte was read, and the digest
// of the bytes read from its start.
struct FileOrigin {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch
    qint64 identity = 0; // the file's inode (0 where there is none)
    ContentDigest read;

    // The state of `path` now, with nothing read yet.
    static FileOrigin of(const QString &path);
    // True when `path` still has this size, time and identity and its
    // first read.length() bytes still give read.value().
    bool unchangedAt(const QString &path) const;
};

class AtomicFile {
public:
    explicit AtomicFile(const QString &path);
    ~AtomicFile(); // an uncommitted temporary file is removed
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // The file is to be readable and writable by its owner alone, whatever
    // the one it replaces; called before open(). Otherwise a file that
    // replaces another keeps that one's permissions, and a new file gets
    // those of a new file of its folder (platform::newFilePermissions).
    void setOwnerOnly() { ownerOnly_ = true; }
    // Creates the temporary file; false when the folder refuses it.
    bool open();
    // The temporary file, open for writing without a buffer of its own, so
    // that each write reports its own failure.
    QIODevice &device() { return temporary_; }
    // Writes all of `bytes`; false (and the file is spoilt) on any failure.
    bool write(QByteArrayView bytes);
    // Syncs the temporary file and renames it over the target. False, with
    // the target untouched and the temporary file removed, when anything
    // written before failed or when the sync or the rename fails.
    bool commit();
    // Gives up: the temporary file is removed, the target untouched.
    void discard();

    // The content replaces a file read from `origin`: commit() checks, just
    // before its rename, that the target is still as it was then. When
    // another program changed it meanwhile, commit() writes nothing,
    // returns false and changedMeanwhile() is true.
    void expectOrigin(const FileOrigin &origin) { origin_ = origin; }
    // A file that can be made again at any time (a cache entry) need not
    // wait for the disk: commit() still renames only a complete file, but
    // leaves syncing it to the system.
    void setDurable(bool durable) { durable_ = durable; }
    bool changedMeanwhile() const { return changed_; }

    const QString &path() const { return path_; }
    // The temporary file being written, so that it can be read back and
    // checked before commit(); empty when none is open.
    QString temporaryPath() const { return temporary_.fileName(); }

    // Replaces `path` with `bytes` in one step.
    static bool writeAll(const QString &path, QByteArrayView bytes, bool ownerOnly = false);
    // Replaces `destination` with a copy of `source` in one step.
    static bool copy(const QString &source, const QString &destination);

private:
    QString path_;
    QFile temporary_;
    bool spoilt_ = false;
    bool durable_ = true;
    std::optional<FileOrigin> origin_;
    bool changed_ = false;
    bool ownerOnly_ = false;
};

// The name pattern of the temporary files this program writes.
QString temporaryFilePattern();
// Removes leftover temporary files of ours from `folder` (not its
// subfolders); returns how many were removed.
int removeTemporaryLeftovers(const QString &folder);

} // namespace platform
