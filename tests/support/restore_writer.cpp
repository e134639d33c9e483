// Restores two backups into a program folder in turn, over and over, until
// it is killed: the process that the restore kill test kills at random
// moments. Starts as the program does, by finishing what the last killed
// run left half done.
//   restore_writer FOLDER BACKUP1 BACKUP2
// Prints "ready" once the first restore is complete.
//   restore_writer --once FOLDER BACKUP
// Restores BACKUP into FOLDER once (the sync test watches its system calls).
//   restore_writer --backup FOLDER TARGET
// Writes a backup of FOLDER into TARGET, printing "writing" once its data
// has started to go out, and waits: the backup kill test kills it midway.

#include "LinkedModules.h"
#include "core/transfer/Backup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    linkModulesIn();
    if (argc != 4)
        return 2;
    if (QString::fromLocal8Bit(argv[1]) == QLatin1String("--once")) {
        Transfer::restoreBackup(QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[2]),
                                QDateTime::currentDateTime());
        return 0;
    }
    if (QString::fromLocal8Bit(argv[1]) == QLatin1String("--backup")) {
        bool told = false;
        Transfer::writeBackup(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                              QDateTime::currentDateTime(), [&](qint64, qint64) {
                                  if (!told) {
                                      std::puts("writing");
                                      std::fflush(stdout);
                                      told = true;
                                  }
                                  // Slowly, so that the kill comes in the middle.
                                  QThread::msleep(5);
                                  return true;
                              });
        return 0;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString backups[] = {QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])};
    Transfer::recoverRestore(folder);
    for (long round = 0;; ++round) {
        try {
            Transfer::restoreBackup(backups[round % 2], folder, QDateTime::currentDateTime());
        } catch (const Transfer::Error &) {
            return 1;
        }
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
