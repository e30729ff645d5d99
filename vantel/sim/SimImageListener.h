#pragma once

#include <QString>
#include <QTcpServer>

#include <functional>

class QTcpSocket;
class QUrlQuery;

// SimImageServer's side on its thread: answers each GET with the named file of the folder, then closes.
// A connection has a few seconds to be served; at most MaxConnections are open at once.
class SimImageListener : public QTcpServer
{
    Q_OBJECT

public:
    static constexpr int MaxConnections = 64;
    // A connection is served within this or cut, so that idle ones never pile up.
    static constexpr int IdleTimeoutMs = 3000;
    static constexpr qint64 MaxRequestBytes = 8192;

    explicit SimImageListener(const QString& folder);

    // On the listener's thread: the port listened on, 0 when listening failed.
    quint16 start();

    // Whether the head of a request is all there, or as much as is read of one.
    static bool isHeadComplete(const QByteArray& head);
    // The whole HTTP answer to a request head: the named file of the folder (a plain name only), 404, or 403
    // when allowed refuses the request's query.
    static QByteArray answer(const QString& folder, const QByteArray& head,
                             const std::function<bool(const QUrlQuery& query)>& allowed = {});

private:
    void serve(QTcpSocket* socket);

    const QString folder;
    int open = 0;
};
