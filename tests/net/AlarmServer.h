#pragma once

#include "DataCache.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

// Generous: sanitizer builds on a shared machine are slow. Nothing is measured.
static const int Patience = 30000;

// alarm-server in a child process, on loopback, keeping its data in a folder of its own.
class AlarmServer
{
public:
    // On the port given or any free one; false, with a warning, if it never says where it listens.
    bool start(const QString& folder, const QStringList& options = {}, quint16 on = 0, int patience = 15000)
    {
        if (errorLog.isEmpty())
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        else
            process.setStandardErrorFile(errorLog, QIODevice::Append);
        process.start(
            QStringLiteral(VIG_ALARM_SERVER),
            QStringList{"--listen", QStringLiteral("127.0.0.1:%1").arg(on), "--data", folder, "--scenario",
                        qEnvironmentVariable("VIG_SCENARIO", VIG_SOURCE_DIR "/scenarios/demo.json")} +
                options);
        if (!process.waitForStarted() || !QTest::qWaitFor([this] { return process.canReadLine(); }, patience))
            return false;
        const QString line = QString::fromUtf8(process.readLine());
        const QRegularExpressionMatch listening = QRegularExpression("wss?://127.0.0.1:(\\d+)").match(line);
        if (!listening.hasMatch()) {
            qWarning("alarm-server announced: %s", qPrintable(line));
            return false;
        }
        url = QUrl(listening.captured(0));
        port = quint16(listening.captured(1).toUInt());
        tokenFile.setFileName(folder + QStringLiteral("/token"));
        if (!tokenFile.open(QIODevice::ReadOnly))
            return false;
        token = tokenFile.readAll().trimmed();
        tokenFile.close();
        return true;
    }
    // On a fresh folder, with the module's alarm service pointed at it and a fresh relation store.
    bool startForModule(const QString& folder, int patience)
    {
        QDir(folder).removeRecursively();
        QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
        return start(folder, {}, 0, patience) && DataCache::Instance()->SetServerAddress(url, token);
    }
    bool stop(int patience = 15000)
    {
        process.terminate();
        return process.waitForFinished(patience);
    }

    // The server's errors go to this file if set, else to the test's.
    QString errorLog;
    QProcess process;
    QUrl url;
    quint16 port = 0;
    QFile tokenFile;
    QByteArray token;
};
