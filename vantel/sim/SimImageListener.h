#pragma once

#include <QString>
#include <QTcpServer>

class QTcpSocket;

// SimImageServer's side on its thread: answers each GET with the named file of the folder, then closes.
// A connection has a few seconds to be served; at most MaxConnections are open at once.
class SimImageListener : public QTcpServer
{
    Q_OBJECT

public:
    static constexpr int MaxConnections = 64;

    explicit SimImageListener(const QString& folder);

    // On the listener's thread: the port listened on, 0 when listening failed.
    quint16 start();

private:
    void serve(QTcpSocket* socket);

    const QString folder;
    int open = 0;
};
