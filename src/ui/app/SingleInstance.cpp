#include "ui/app/SingleInstance.h"

#include "ui/platform/Platform.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {
const QByteArray kComeForward = QByteArrayLiteral("vetrinora: mostra\n");
const QByteArray kComing = QByteArrayLiteral("vetrinora: ok\n");

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

bool SingleInstance::handOver(int waitMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(folder_));
    if (!socket.waitForConnected(waitMs))
        return false;
    socket.write(kComeForward);
    socket.waitForBytesWritten(1000);
    // The answer says the window came forward; a program busy with a long
    // action answers later, but it is there all the same.
    socket.waitForReadyRead(2000);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::listen()
{
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = serverName(folder_);
    // A name left by a program of ours that was killed: the lock says that
    // nobody answers to it any more.
    QLocalServer::removeServer(name);
    if (!server_->listen(name))
        return; // no hand-over then; the lock still keeps the folder ours
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QByteArray line = socket->readLine();
                if (line != kComeForward)
                    return;
                emit raiseRequested();
                socket->write(kComing);
                socket->flush();
            });
        }
    });
}

SingleInstance::Claim SingleInstance::claim()
{
    if (handOver(300))
        return Claim::HandedOver;
    switch (lock_.take()) {
    case DataFolderLock::Outcome::Taken:
    case DataFolderLock::Outcome::Unavailable:
        listen();
        return Claim::Owner;
    case DataFolderLock::Outcome::HeldElsewhere:
        refuse(DataFolderLock::refusalMessage(folder_, lock_.holder()));
        return Claim::Refused;
    case DataFolderLock::Outcome::HeldHere:
        break;
    }
    // The program holding the folder may be starting still: it takes the
    // lock first and answers a moment later.
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        if (handOver(250))
            return Claim::HandedOver;
        if (lock_.take() == DataFolderLock::Outcome::Taken) {
            listen();
            return Claim::Owner; // it ended meanwhile
        }
        QThread::msleep(100);
    }
    refuse(DataFolderLock::noAnswerMessage(folder_, lock_.holder()));
    return Claim::Refused;
}
