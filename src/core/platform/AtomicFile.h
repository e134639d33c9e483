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

namespace platform {

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
    bool ownerOnly_ = false;
};

// The name pattern of the temporary files this program writes.
QString temporaryFilePattern();
// Removes leftover temporary files of ours from `folder` (not its
// subfolders); returns how many were removed.
int removeTemporaryLeftovers(const QString &folder);

} // namespace platform
