#pragma once
// Backups: one zip file of all the data of the data folder (the set
// catalogue, the MOC archives, the photo and attachment folders, the
// credential file and the bin, when present), with a small note of its own
// that names it as a backup of this program and gives its date.
//
// A backup is written to a temporary file, read back whole (the CRC and size
// of every entry checked) and only then given its name. A restore checks the
// whole backup into a folder of its own first, then moves the current data
// aside into a dated folder (never deleting it) and the restored data in.

#include "core/transfer/Transfer.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

namespace Transfer {

// Bounds on what a backup may unpack: an entry larger than entryBytes (as
// declared or as read) or a backup larger than totalBytes is refused.
struct BackupLimits {
    qint64 entryBytes = qint64(4) << 30;
    qint64 totalBytes = qint64(64) << 30;
};

// "Vetrinora-backup-YYYY-MM-DD-HHMMSS.zip"; from the second of a second on,
// "Vetrinora-backup-YYYY-MM-DD-HHMMSS-2.zip" and so on.
QString backupFileName(const QDateTime &when, int number = 1);

// A file of the data folder, by its name in the backup ("Schedario/BLOKKO_1.jpg").
struct DataFile {
    QString name;
    QString path;
    qint64 size = 0;
};
QList<DataFile> dataFiles(const QString &folder);

// Writes the backup of `folder` into `targetFolder` and returns its path.
// A backup never replaces a file: its name is the first of backupFileName()'s
// that is free. While it is written, a note in `folder` names its temporary
// file, so that removeBackupLeftover() can remove what a killed run left in
// the chosen folder (a USB stick, say).
// `progress` (bytes done, all bytes) returning false cancels: Transfer::Cancelled,
// and nothing is left behind. Throws Transfer::Error when the file cannot be
// written or fails its check.
QString writeBackup(const QString &folder, const QString &targetFolder, const QDateTime &when,
                    const std::function<bool(qint64, qint64)> &progress = {});

// Removes the temporary file of a backup of `folder` that a killed run left
// behind, as the note in `folder` names it (only a file of our temporary
// name pattern), and the note. Run at start and before each backup; true
// when a leftover was removed.
bool removeBackupLeftover(const QString &folder);

struct BackupContents {
    QDateTime created;
    qint64 setCards = 0;
    QList<QPair<QString, qint64>> archives; // name without ".moc", cards
    int photos = 0;
    int attachments = 0;
    int files = 0;
    qint64 bytes = 0;
};

// Reads the list of a backup (not its data) and what it holds. Throws
// Transfer::Error for a file that is no zip, a zip of another program, an
// entry with a name outside the data folder or too large.
BackupContents inspectBackup(const QString &zip, const BackupLimits &limits = {});
// Reads every entry whole, checking its CRC and size; throws like inspectBackup.
void checkBackup(const QString &zip, const BackupLimits &limits = {});

// The question asked before a restore, with what the backup holds.
QString restoreQuestion(const BackupContents &contents);

// Replaces the data of `folder` with the backup's; the data there before
// goes into "Prima-del-ripristino-YYYY-MM-DD-HHMMSS", whose path is
// returned. The backup is unpacked into "Ripristino-in-corso-..." first; a
// journal there, written before the first move, lets recoverRestore()
// finish a run that was killed. Throws Transfer::Error, with the data untouched, when the backup
// fails its check or the data cannot be moved. `progress` (bytes unpacked,
// all bytes) returning false while the backup is unpacked and checked throws
// Transfer::Cancelled, the data untouched.
QString restoreBackup(const QString &zip, const QString &folder, const QDateTime &when,
                      const BackupLimits &limits = {},
                      const std::function<bool(qint64, qint64)> &progress = {});

// Finishes the restores into `folder` that a killed run left half done, so
// that the data is never half restored: a run killed while unpacking leaves
// the data as it was (its unpacked files are removed); one killed while
// moving is completed, the data before it whole in its
// "Prima-del-ripristino-..." folder. Run at start, before any file is read;
// returns the staging folders ("Ripristino-in-corso-...") of the restores
// completed. A restore whose moves fail again is left for the next start.
QStringList recoverRestore(const QString &folder);

// Messages.
QString notZipMessage();
QString notBackupMessage();
QString badNameMessage(const QString &name);
QString tooLargeMessage(const QString &name);
QString damagedMessage(const QString &name);
QString backupWriteMessage();
QString restoreMoveMessage();
QString restoreDiskFullMessage();
QString partialCardsMessage(const QString &name);

} // namespace Transfer
