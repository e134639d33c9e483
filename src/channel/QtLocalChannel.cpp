// The local socket through which a second start of the program asks the
// first to come forward (ui/platform/Modules.h), with Qt Network.
#include "channel/QtLocalChannel.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <memory>

namespace {

const QByteArray kComeForward = QByteArrayLiteral("vetrinora: mostra\n");
const QByteArray kComing = QByteArrayLiteral("vetrinora: ok\n");

class QtLocalChannel final : public platform::LocalChannel {
public:
    bool ask(const QString &name, int waitMs) override
    {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (!socket.waitForConnected(waitMs))
            return false;
        socket.write(kComeForward);
        socket.waitForBytesWritten(1000);
        // The answer says the window came forward; a program busy with a
        // long action answers later, but it is there all the same.
        socket.waitForReadyRead(2000);
        socket.disconnectFromServer();
        return true;
    }

    bool answer(const QString &name, std::function<void()> comeForward) override
    {
        server_ = std::make_unique<QLocalServer>();
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        // A name left by a program of ours that was killed: the caller holds
        // the lock, so nobody answers to it any more.
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) {
            server_.reset();
            return false;
        }
        comeForward_ = std::move(comeForward);
        QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
            while (QLocalSocket *socket = server_->nextPendingConnection()) {
                QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                    if (!socket->canReadLine())
                        return;
                    if (socket->readLine() != kComeForward)
                        return;
                    comeForward_();
                    socket->write(kComing);
                    socket->flush();
                });
            }
        });
        return true;
    }

private:
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> comeForward_;
};

} // namespace

platform::LocalChannel *vetrinora_create_local_channel()
{
    return new QtLocalChannel;
}
