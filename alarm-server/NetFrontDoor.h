#pragma once

#include <QByteArray>
#include <QSslConfiguration>
#include <QString>
#include <QTcpServer>

#include <functional>
#include <memory>

class QHostAddress;
class QTcpSocket;

// The alarm server's one port. Each connection (through TLS when a certificate is set) first sends the head
// of a request: a WebSocket upgrade is handed on with it still unread, a GET of a live image is answered
// when its query carries a key that keyValid accepts (403 otherwise) and the connection closed. A
// connection gets a few seconds for its head; at most MaxWaiting wait at once, MaxWaitingPerAddress of them
// from one address, and more are closed at once.
class NetFrontDoor : public QTcpServer
{
    Q_OBJECT

public:
    static constexpr int MaxWaiting = 256;
    static constexpr int MaxWaitingPerAddress = 64;

    NetFrontDoor(const QString& imageFolder, std::function<bool(const QByteArray& key)> keyValid,
                 QObject* parent = nullptr);
    ~NetFrontDoor() override;

    void setTls(const QSslConfiguration& tls);

signals:
    // The socket's head is an upgrade; the receiver takes it over.
    void upgrade(QTcpSocket* socket);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void readHead(QTcpSocket* socket);
    // Connections waiting for their head, in all and from the peer.
    int waiting(const QHostAddress& peer, int* fromPeer) const;

    const QString folder;
    const std::function<bool(const QByteArray& key)> keyValid;
    std::unique_ptr<QSslConfiguration> tls;
};
