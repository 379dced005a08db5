// One running tarmel per user, over a local socket.
#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <unistd.h>

namespace tarmel {

QString InstanceServerName(const QString& iniFileName) {
    const QByteArray hash =
        QCryptographicHash::hash(iniFileName.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("ProjTarmel-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
}

bool SendToInstance(const QString& serverName, const QString& message, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(message.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return true;
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)) {
    // Only this user may connect.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

bool SingleInstance::Claim() {
    // Ask first: listening with user-only access replaces an existing socket file silently.
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(1000)) return false;
    // Nobody answers: no instance, or a crashed one left its socket behind.
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Handled after this slot returns: a reload runs requests that turn the event loop,
            // during which the sender may hang up and its socket be deleted.
            while (socket->canReadLine()) {
                const QString line = QString::fromUtf8(socket->readLine()).trimmed();
                if (line.isEmpty()) continue;
                QMetaObject::invokeMethod(
                    this, [this, line] { emit messageReceived(line); }, Qt::QueuedConnection);
            }
        });
    }
}

}  // namespace tarmel
