#pragma once
// One running program per data folder. The program holds a lock file in the
// data folder for as long as it runs; a second program that finds the lock
// held learns by whom: this computer and this user (the running program is
// then asked to come to the front), or another computer or user (a folder
// shared on a network, a synced folder), which is refused with the name of
// that computer and the time since when it holds the folder.
//
// The lock of a program that ended without releasing it (killed, crashed,
// the computer switched off) is taken over: on this computer when its
// process is gone, after a restart of the computer it was held on. A lock
// never expires by age alone: a program that runs for days keeps it.

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>

class DataFolderLock {
public:
    enum class Outcome {
        Taken,           // this program holds the folder
        HeldHere,        // a live program of this user on this computer holds it
        HeldElsewhere,   // another computer, or another user of this one
        Unavailable,     // no lock can be made (a read-only folder): carry on
    };
    struct Holder {
        QString computer;   // the host name written in the lock
        QDateTime since;    // when the lock was taken
        bool thisComputer = false;
        qint64 pid = 0;
    };

    // The lock of the data folder `folder`.
    explicit DataFolderLock(const QString &folder);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock &) = delete;
    DataFolderLock &operator=(const DataFolderLock &) = delete;

    Outcome take();
    // Who holds the lock, after take() said HeldHere or HeldElsewhere.
    const Holder &holder() const { return holder_; }
    const QString &path() const { return path_; }

    // The lock file's name in the data folder.
    static QString fileName();
    // The refusal shown when another computer or user holds `folder`.
    static QString refusalMessage(const QString &folder, const Holder &holder);
    // The refusal shown when a program of this user holds it but does not
    // answer.
    static QString noAnswerMessage(const QString &folder, const Holder &holder);

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    Holder holder_;
};
