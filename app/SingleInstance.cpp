#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace qzr {

namespace {

constexpr int HandOverMilliseconds = 1000;
const QByteArray ShowRequest = "show\n";

} // namespace

QString TSingleInstance::NameForThisSession()
{
    const QByteArray bus = qgetenv("VHID_BUS");
    const QByteArray which =
        bus.isEmpty() ? QByteArray("system")
                      : QCryptographicHash::hash(bus, QCryptographicHash::Sha256).toHex().left(16);
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(
            QStringLiteral("qzr-%1-%2.instance").arg(::getuid()).arg(QString::fromLatin1(which)));
}

TSingleInstance::TSingleInstance(QString name, QObject* parent)
    : QObject(parent), FName(std::move(name))
{}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::HandOver()
{
    QLocalSocket socket;
    socket.connectToServer(FName);
    if (!socket.waitForConnected(HandOverMilliseconds))
        return false;
    socket.write(ShowRequest);
    const bool sent = socket.waitForBytesWritten(HandOverMilliseconds);
    socket.disconnectFromServer();
    return sent;
}

bool TSingleInstance::Listen()
{
    // Two programs starting together: the lock lets one of them find out
    // that the other listens already, instead of removing its socket.
    QLockFile lock(FName + ".lock");
    if (!lock.tryLock(HandOverMilliseconds))
        return false;
    QLocalSocket probe;
    probe.connectToServer(FName);
    if (probe.waitForConnected(HandOverMilliseconds / 10))
        return false;
    QLocalServer::removeServer(FName);
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::TakeConnection);
    return FServer->listen(FName);
}

void TSingleInstance::TakeConnection()
{
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == ShowRequest && OnShowRequest)
                    OnShowRequest();
            }
        });
    }
}

} // namespace qzr
