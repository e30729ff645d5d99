#include "SimImageListener.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>

namespace {
constexpr qint64 maxRequestBytes = 8192;
constexpr qint64 maxFileBytes = 16 << 20;
// A connection is served within this or cut, so that idle ones never pile up.
constexpr int idleTimeoutMs = 3000;
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
            QTimer::singleShot(idleTimeoutMs, socket, [socket] {
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

void SimImageListener::serve(QTcpSocket* socket)
{
    if (socket->property("served").toBool())
        return;
    const QByteArray head = socket->peek(maxRequestBytes);
    if (!head.contains("\r\n\r\n") && head.size() < maxRequestBytes)
        return;
    socket->setProperty("served", true);
    static const QRegularExpression request(
        QStringLiteral("^GET /([A-Za-z0-9%_-][A-Za-z0-9%._-]*)(\\?\\S*)? HTTP/1\\.[01]\r\n"));
    const QRegularExpressionMatch match = request.match(QString::fromLatin1(head));
    // A name of one folder only: escapes may spell any character but a separator.
    const QString name =
        match.hasMatch() ? QString::fromUtf8(QByteArray::fromPercentEncoding(match.captured(1).toLatin1()))
                         : QString();
    const bool plain = !name.isEmpty() && !name.startsWith(QLatin1Char('.')) &&
                       !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
                       !name.contains(QChar());
    QFile file(plain ? QDir(folder).filePath(name) : QString());
    QByteArray body;
    if (plain && file.size() <= maxFileBytes && file.open(QIODevice::ReadOnly))
        body = file.readAll();
    const QByteArray status = file.isOpen() ? "200 OK" : "404 Not Found";
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + (file.isOpen() ? "image/png" : "text/plain") +
                  "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
                  body);
    socket->disconnectFromHost();
}
