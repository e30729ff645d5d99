#include "NetClientLink.h"

#include "NetCodec.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimer>
#include <QWebSocket>

#include <algorithm>
#include <utility>

namespace {
constexpr int firstPauseMs = 100;
constexpr int longestPauseMs = 2000;
// Controls made while the server is away wait for it, up to this many; requests are answered at once.
constexpr int maxWaiting = 10000;
} // namespace

NetClientLink::NetClientLink(const QUrl& url, const QByteArray& token, const QString& caFile,
                             Callbacks callbacks)
    : url(url), token(token), caFile(caFile), callbacks(std::move(callbacks))
{
}

NetClientLink::~NetClientLink() = default;

void NetClientLink::open()
{
    retry = new QTimer(this);
    retry->setSingleShot(true);
    connect(retry, &QTimer::timeout, this, &NetClientLink::connectSocket);
    connectSocket();
}

void NetClientLink::connectSocket()
{
    if (socket)
        socket->deleteLater();
    socket = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
    socket->setMaxAllowedIncomingMessageSize(quint64(NetCodec::MaxAnswerBytes));
    socket->setMaxAllowedIncomingFrameSize(quint64(NetCodec::MaxAnswerBytes));
    if (!caFile.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        QList<QSslCertificate> authorities = tls.caCertificates();
        authorities.append(QSslCertificate::fromPath(caFile));
        tls.setCaCertificates(authorities);
        socket->setSslConfiguration(tls);
    }
    connect(socket, &QWebSocket::connected, this, &NetClientLink::onConnected);
    connect(socket, &QWebSocket::disconnected, this, &NetClientLink::onDisconnected);
    connect(socket, &QWebSocket::binaryMessageReceived, this,
            [this](const QByteArray& frame) { callbacks.received(frame); });
    connect(socket, &QWebSocket::textMessageReceived, this,
            [this](const QString& frame) { callbacks.received(frame.toUtf8()); });
    socket->open(url);
}

void NetClientLink::onConnected()
{
    socket->sendBinaryMessage(NetCodec::hello(token, callbacks.since()));
}

void NetClientLink::onDisconnected()
{
    welcomed = false;
    revoked = revoked || socket->closeCode() == QWebSocketProtocol::CloseCode(NetCodec::CloseRevoked);
    const QString reason = revoked ? socket->closeReason() : socket->errorString();
    if (revoked)
        stopReconnecting();
    ++attempt;
    callbacks.lost(reason, attempt);
    if (!reconnect)
        return;
    const int pause = std::min(longestPauseMs, firstPauseMs << std::min(attempt - 1, 8));
    retry->start(std::max(pause, std::exchange(holdMs, 0)));
}

void NetClientLink::cut(int hold)
{
    if (!socket)
        return;
    holdMs = hold;
    socket->abort();
}

void NetClientLink::send(const QByteArray& frame)
{
    if (welcomed && socket && socket->isValid()) {
        socket->sendBinaryMessage(frame);
        return;
    }
    if (waiting.size() < maxWaiting)
        waiting.append(frame);
}

bool NetClientLink::sendNow(const QByteArray& frame)
{
    if (!welcomed || !socket || !socket->isValid())
        return false;
    socket->sendBinaryMessage(frame);
    return true;
}

void NetClientLink::setWelcomed()
{
    welcomed = true;
    attempt = 0;
    const QList<QByteArray> held = std::exchange(waiting, {});
    for (const QByteArray& frame : held)
        socket->sendBinaryMessage(frame);
}

void NetClientLink::stopReconnecting()
{
    reconnect = false;
    if (retry)
        retry->stop();
}
