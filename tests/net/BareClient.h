#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebSocket>

// A client that speaks the protocol by hand and keeps what it receives.
class BareClient : public QObject
{
public:
    BareClient()
    {
        connect(&socket, &QWebSocket::binaryMessageReceived, this, [this](const QByteArray& frame) {
            received.append(QJsonDocument::fromJson(frame).object());
        });
        connect(&socket, &QWebSocket::disconnected, this, [this] { closed = true; });
    }
    BareClient(quint16 port, const QByteArray& token, qint64 since = -1, QObject* parent = nullptr)
        : BareClient()
    {
        setParent(parent);
        open(port, token, since);
    }
    // Says hello with the token once connected, unless it is null; since: the last push seen.
    void open(quint16 port, const QByteArray& token, qint64 since = -1)
    {
        if (!token.isNull()) {
            connect(&socket, &QWebSocket::connected, this, [this, token, since] {
                send(QStringLiteral(R"({"op":"hello","version":1,"token":"%1","since":%2})")
                         .arg(QString::fromLatin1(token))
                         .arg(since));
            });
        }
        socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(port)));
    }
    bool isOpen() const { return socket.state() == QAbstractSocket::ConnectedState; }
    void send(const QString& json) { socket.sendBinaryMessage(json.toUtf8()); }
    // The first message of this operation whose field has this value.
    QJsonObject find(const QString& op, const QString& field = QString(), const QJsonValue& value = {}) const
    {
        for (const QJsonObject& message : received) {
            if (message.value("op") == op && (field.isEmpty() || message.value(field) == value))
                return message;
        }
        return {};
    }
    bool hasAlarm(const QString& uid) const { return alarms().contains(uid); }
    // The uids of the new alarms received, in order.
    QStringList alarms() const
    {
        QStringList uids;
        for (const QJsonObject& message : received) {
            if (message.value("op") == "alarm")
                uids.append(message.value("a").toArray().at(0).toString());
        }
        return uids;
    }

    QWebSocket socket;
    QList<QJsonObject> received;
    bool closed = false;
};
