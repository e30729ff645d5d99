#include "SimImageListener.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

namespace {
constexpr qint64 maxFileBytes = 16 << 20;
} // namespace

SimImageListener::SimImageListener(const QString& folder) : folder(folder)
{
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            // Past the cap a connection is closed at once: the descriptors stay for those being served.
            if (open >= MaxConnections) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            ++open;
            connect(socket, &QObject::destroyed, this, [this] { --open; });
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QTimer::singleShot(IdleTimeoutMs, socket, [socket] {
                socket->abort();
                socket->deleteLater();
            });
        }
    });
}

quint16 SimImageListener::start()
{
    return listen(QHostAddress::LocalHost) ? serverPort() : 0;
}

bool SimImageListener::isHeadComplete(const QByteArray& head)
{
    return head.contains("\r\n\r\n") || head.size() >= MaxRequestBytes;
}

void SimImageListener::serve(QTcpSocket* socket)
{
    if (socket->property("served").toBool())
        return;
    const QByteArray head = socket->peek(MaxRequestBytes);
    if (!isHeadComplete(head))
        return;
    socket->setProperty("served", true);
    socket->write(answer(folder, head));
    socket->disconnectFromHost();
}

QByteArray SimImageListener::answer(const QString& folder, const QByteArray& head,
                                    const std::function<bool(const QUrlQuery& query)>& allowed)
{
    static const QRegularExpression request(
        QStringLiteral("^GET /([A-Za-z0-9%_-][A-Za-z0-9%._-]*)(?:\\?(\\S*))? HTTP/1\\.[01]\r\n"));
    const QRegularExpressionMatch match = request.match(QString::fromLatin1(head));
    // A name of one folder only: escapes may spell any character but a separator.
    const QString name =
        match.hasMatch() ? QString::fromUtf8(QByteArray::fromPercentEncoding(match.captured(1).toLatin1()))
                         : QString();
    const bool plain = !name.isEmpty() && !name.startsWith(QLatin1Char('.')) &&
                       !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
                       !name.contains(QChar());
    const bool permitted = !allowed || (match.hasMatch() && allowed(QUrlQuery(match.captured(2))));
    QFile file(plain && permitted ? QDir(folder).filePath(name) : QString());
    QByteArray body;
    if (!file.fileName().isEmpty() && file.size() <= maxFileBytes && file.open(QIODevice::ReadOnly))
        body = file.readAll();
    const QByteArray status = !permitted ? "403 Forbidden" : file.isOpen() ? "200 OK" : "404 Not Found";
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + (file.isOpen() ? "image/png" : "text/plain") +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}
