#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class QTimer;
class QWebSocket;

// The client's connection to the alarm server, living on the client's network thread. It opens with the
// hello, holds back other frames until the server has welcomed it, and reconnects after a lost connection
// until it is refused, with pauses that grow from 100 ms to 2 s.
class NetClientLink : public QObject
{
    Q_OBJECT

public:
    struct Callbacks
    {
        std::function<void(const QByteArray& frame)> received;
        // attempt: the number of the reconnection about to be tried, from 1.
        std::function<void(const QString& reason, int attempt)> lost;
        // The number of the last push delivered, for the hello; -1 for none.
        std::function<qint64()> since;
    };

    NetClientLink(const QUrl& url, const QByteArray& token, const QString& caFile, Callbacks callbacks);
    ~NetClientLink() override;

    // On the link's thread.
    void open();
    // Sent at once, or held until the welcome.
    void send(const QByteArray& frame);
    // Sent at once, or false when the server has not welcomed this connection.
    bool sendNow(const QByteArray& frame);
    bool isWelcomed() const { return welcomed; }
    void setWelcomed();
    void stopReconnecting();
    // The server closed for its operator's removal: there is no reconnection.
    bool wasRevoked() const { return revoked; }
    // Aborts the connection and tries again only after holdMs: what a broken cable does.
    void cut(int holdMs);

private:
    void connectSocket();
    void onConnected();
    void onDisconnected();

    const QUrl url;
    const QByteArray token;
    const QString caFile;
    Callbacks callbacks;
    QWebSocket* socket = nullptr;
    QTimer* retry = nullptr;
    QList<QByteArray> waiting;
    int attempt = 0;
    int holdMs = 0;
    bool welcomed = false;
    bool reconnect = true;
    bool revoked = false;
};
