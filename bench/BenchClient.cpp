#include "BenchClient.h"

#include "NetCodec.h"

#include <QWebSocket>

#include <algorithm>

BenchClient::BenchClient(const QUrl& url, const QByteArray& token, qint64 since, QObject* parent)
    : QObject(parent), socket(new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this))
{
    socket->setMaxAllowedIncomingFrameSize(quint64(NetCodec::MaxAnswerBytes));
    socket->setMaxAllowedIncomingMessageSize(quint64(NetCodec::MaxAnswerBytes));
    connect(socket, &QWebSocket::connected, this,
            [this, token, since] { socket->sendBinaryMessage(NetCodec::hello(token, since)); });
    connect(socket, &QWebSocket::binaryMessageReceived, this, &BenchClient::received);
    connect(socket, &QWebSocket::disconnected, this, [this] { isClosed = true; });
    socket->open(url);
}

BenchClient::~BenchClient() = default;

void BenchClient::send(const QByteArray& frame)
{
    socket->sendBinaryMessage(frame);
}

void BenchClient::startWatch()
{
    watch.start();
    lastPush = 0;
    longestWait = 0;
}

void BenchClient::received(const QByteArray& frame)
{
    // Compact JSON with sorted keys: a new alarm starts with its record "a" and ends with its "seq".
    if (frame.startsWith("{\"a\":[")) {
        ++alarmCount;
        const int at = frame.lastIndexOf("\"seq\":");
        if (at > 0)
            seq = frame.mid(at + 6, frame.size() - at - 7).toLongLong();
        if (watch.isValid()) {
            const qint64 now = watch.nsecsElapsed();
            longestWait = std::max(longestWait, now - lastPush);
            lastPush = now;
        }
    } else if (frame.startsWith("{\"op\":\"caughtUp\"")) {
        isCaughtUp = true;
    } else if (frame.contains("\"op\":\"welcome\"")) {
        isWelcomed = true;
    } else if (frame.contains("\"result\":")) {
        ++answerCount;
    }
}
