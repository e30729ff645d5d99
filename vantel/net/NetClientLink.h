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
// until it is refused.
class NetClientLink : public QObject
{
    Q_OBJECT

public:
    struct Callbacks
    {
        std::function<void(const QByteArray& frame)> received;
        std::function<void(const QString& reason)> lost;
    };

    NetClientLink(const QUrl& url, const QByteArray& token, const QString& caFile, Callbacks callbacks);
    ~NetClientLink() override;

    // On the link's thread.
    void open();
    void send(const QByteArray& frame);
    void setWelcomed();
    void stopReconnecting();

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
    bool welcomed = false;
    bool reconnect = true;
};
