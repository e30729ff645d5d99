#include "BenchServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

BenchServer::~BenchServer()
{
    stop();
}

bool BenchServer::start(const QString& dataFolder, const QString& scenarioFile, QString* error)
{
    const QString program = qEnvironmentVariableIsSet("ALARM_STORM_SERVER")
                                ? qEnvironmentVariable("ALARM_STORM_SERVER")
                                : QCoreApplication::applicationDirPath() + QStringLiteral("/alarm-server");
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, {"--listen", "127.0.0.1:0", "--data", dataFolder, "--scenario", scenarioFile});
    const QByteArray line = process.waitForReadyRead(30000) ? process.readLine() : QByteArray();
    const int at = line.indexOf("ws://");
    QFile tokenFile(QDir(dataFolder).filePath(QStringLiteral("token")));
    if (at < 0 || !tokenFile.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 did not start").arg(program);
        return false;
    }
    address = QUrl(QString::fromLatin1(line.mid(at).split(',').first()));
    secret = tokenFile.readAll().trimmed();
    return true;
}

void BenchServer::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    }
}

double BenchServer::statusMegabytes(const QByteArray& field) const
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process.processId()));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}
