#include "core/app/DataFolderLock.h"

#include "core/app/Messages.h"
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

DataFolderLock::DataFolderLock(const QString &folder)
    : path_(QDir(folder).filePath(fileName())), lock_(std::make_unique<QLockFile>(path_))
{
    // Only a dead process, or a restart of its computer, frees a lock: a
    // lock file that has not been touched for a while is still held.
    lock_->setStaleLockTime(0);
}

DataFolderLock::~DataFolderLock() = default;

QString DataFolderLock::fileName() { return QStringLiteral("Vetrinora.lock"); }

DataFolderLock::Outcome DataFolderLock::take()
{
    if (lock_->tryLock(0))
        return Outcome::Taken;
    if (lock_->error() != QLockFile::LockFailedError)
        return Outcome::Unavailable;
    QString host;
    QString application;
    qint64 pid = 0;
    lock_->getLockInfo(&pid, &host, &application);
    holder_.pid = pid;
    holder_.computer = host;
    const QFileInfo info(path_);
    holder_.since = info.lastModified();
    holder_.thisComputer = host.isEmpty() || host == QSysInfo::machineHostName();
#ifndef Q_OS_WIN
    // The same computer, but the folder is shared with another user.
    if (holder_.thisComputer && info.ownerId() != uint(::getuid()))
        return Outcome::HeldElsewhere;
#endif
    return holder_.thisComputer ? Outcome::HeldHere : Outcome::HeldElsewhere;
}

namespace {
QString where(const DataFolderLock::Holder &holder)
{
    if (holder.thisComputer)
        return QStringLiteral("da un altro utente di questo computer (\"%1\")")
            .arg(holder.computer.isEmpty() ? QSysInfo::machineHostName() : holder.computer);
    return QStringLiteral("sul computer \"%1\"").arg(holder.computer);
}

QString since(const DataFolderLock::Holder &holder)
{
    if (!holder.since.isValid())
        return QString();
    return QStringLiteral(" dal %1 alle %2")
        .arg(holder.since.toString(QStringLiteral("dd/MM/yyyy")),
             holder.since.toString(QStringLiteral("HH:mm")));
}
} // namespace

QString DataFolderLock::refusalMessage(const QString &folder, const Holder &holder)
{
    return Messages::folderInUse(QDir::toNativeSeparators(QDir::cleanPath(folder)), where(holder),
                                 since(holder), fileName());
}

QString DataFolderLock::noAnswerMessage(const QString &folder, const Holder &holder)
{
    return Messages::folderNotAnswering(QDir::toNativeSeparators(QDir::cleanPath(folder)),
                                        since(holder));
}
