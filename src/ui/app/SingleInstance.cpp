#include "ui/app/SingleInstance.h"

#include "ui/platform/Modules.h"
#include "ui/platform/Platform.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {
// No window is up yet: the message stands alone, with its OK.
void refuse(const QString &text)
{
    platform::services().message(nullptr, platform::MessageKind::Error, text, {platform::Button::Ok});
}
} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent), folder_(folder), lock_(folder)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString &folder)
{
    QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QByteArray key = canonical.toUtf8();
#ifndef Q_OS_WIN
    key += '\0' + QByteArray::number(qulonglong(::getuid()));
#endif
    return QStringLiteral("vetrinora-")
           + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

platform::LocalChannel *SingleInstance::channel()
{
    if (!channelTried_) {
        channelTried_ = true;
        if (const auto create = platform::channelModule().function<platform::CreateLocalChannel>(
                platform::kCreateLocalChannel))
            channel_.reset(create());
    }
    return channel_.get();
}

bool SingleInstance::handOver(int waitMs)
{
    platform::LocalChannel *c = channel();
    return c && c->ask(serverName(folder_), waitMs);
}

void SingleInstance::answerOtherStarts()
{
    if (platform::LocalChannel *c = channel())
        c->answer(serverName(folder_), [this] { emit raiseRequested(); });
}

SingleInstance::Claim SingleInstance::claim()
{
    switch (lock_.take()) {
    case DataFolderLock::Outcome::Taken:
        return Claim::Owner;
    case DataFolderLock::Outcome::Unavailable:
        // No lock can be made (a read-only folder): only the answer of a
        // program already running tells that the folder is in use.
        if (handOver(300))
            return Claim::HandedOver;
        return Claim::Owner;
    case DataFolderLock::Outcome::HeldElsewhere:
        refuse(DataFolderLock::refusalMessage(folder_, lock_.holder()));
        return Claim::Refused;
    case DataFolderLock::Outcome::HeldHere:
        break;
    }
    // The program holding the folder may be starting still: it takes the
    // lock first and answers once its windows are made, which a slow disk or
    // the completion of a restore that was cut short can make long. While
    // its lock is less than a minute old it is waited for that long; an
    // older lock whose program does not answer is refused after 5 seconds.
    const QDateTime since = lock_.holder().since;
    const bool starting = since.isValid() && since.secsTo(QDateTime::currentDateTime()) < kStartingSeconds;
    const QDeadlineTimer deadline(starting ? kStartingSeconds * 1000 : kAnswerMs);
    while (!deadline.hasExpired()) {
        if (handOver(250))
            return Claim::HandedOver;
        if (lock_.take() == DataFolderLock::Outcome::Taken)
            return Claim::Owner; // it ended meanwhile
        QThread::msleep(100);
    }
    refuse(DataFolderLock::noAnswerMessage(folder_, lock_.holder()));
    return Claim::Refused;
}
