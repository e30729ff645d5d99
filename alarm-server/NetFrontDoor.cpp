#include "NetFrontDoor.h"

#include "SimImageListener.h"

#include <QRegularExpression>
#include <QSslSocket>
#include <QTimer>
#include <QUrlQuery>

namespace {
// Marks the connections that wait for their head, for the caps.
const char* const waitingProperty = "vigWaiting";
const QString idleTimerName = QStringLiteral("vigIdle");
} // namespace

NetFrontDoor::NetFrontDoor(const QString& imageFolder, std::function<bool(const QByteArray& key)> keyValid,
                           QObject* parent)
    : QTcpServer(parent), folder(imageFolder), keyValid(std::move(keyValid))
{
}

NetFrontDoor::~NetFrontDoor() = default;

void NetFrontDoor::setTls(const QSslConfiguration& configuration)
{
    tls = std::make_unique<QSslConfiguration>(configuration);
}

int NetFrontDoor::waiting(const QHostAddress& peer, int* fromPeer) const
{
    int all = 0;
    for (const QTcpSocket* socket : findChildren<QTcpSocket*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!socket->property(waitingProperty).toBool())
            continue;
        ++all;
        *fromPeer += socket->peerAddress().isEqual(peer) ? 1 : 0;
    }
    return all;
}

void NetFrontDoor::incomingConnection(qintptr descriptor)
{
    QSslSocket* secure = tls ? new QSslSocket(this) : nullptr;
    QTcpSocket* socket = secure ? secure : new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        socket->deleteLater();
        return;
    }
    int fromPeer = 0;
    if (waiting(socket->peerAddress(), &fromPeer) >= MaxWaiting || fromPeer >= MaxWaitingPerAddress) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->setProperty(waitingProperty, true);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHead(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    auto* idle = new QTimer(socket);
    idle->setObjectName(idleTimerName);
    idle->setSingleShot(true);
    connect(idle, &QTimer::timeout, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    idle->start(SimImageListener::IdleTimeoutMs);
    if (secure) {
        secure->setSslConfiguration(*tls);
        connect(secure, qOverload<const QList<QSslError>&>(&QSslSocket::sslErrors), secure,
                [secure] { secure->abort(); });
        secure->startServerEncryption();
    }
}

void NetFrontDoor::readHead(QTcpSocket* socket)
{
    if (!socket->property(waitingProperty).toBool())
        return;
    const QByteArray head = socket->peek(SimImageListener::MaxRequestBytes);
    if (!SimImageListener::isHeadComplete(head))
        return;
    socket->setProperty(waitingProperty, false);
    static const QRegularExpression upgrading(QStringLiteral("^GET [^\r\n]*\r\n(?:[^\r\n]+\r\n)*"
                                                             "upgrade:[ \t]*websocket[ \t]*\r\n"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (upgrading.match(QString::fromLatin1(head)).hasMatch()) {
        disconnect(socket, nullptr, this, nullptr);
        disconnect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        delete socket->findChild<QTimer*>(idleTimerName, Qt::FindDirectChildrenOnly);
        emit upgrade(socket);
        return;
    }
    socket->write(SimImageListener::answer(folder, head, [this](const QUrlQuery& query) {
        return keyValid(query.queryItemValue(QStringLiteral("key")).toLatin1());
    }));
    socket->disconnectFromHost();
}
