#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QUrl>

// alarm-server in a process of its own on a free loopback port: the one named by ALARM_STORM_SERVER (to
// measure another build against the same clients), else the one beside this program.
class BenchServer
{
public:
    BenchServer() = default;
    ~BenchServer();
    BenchServer(const BenchServer&) = delete;
    BenchServer& operator=(const BenchServer&) = delete;

    // False with the reason in error.
    bool start(const QString& dataFolder, const QString& scenarioFile, QString* error);
    // Terminates it and waits; the database stays for a later start.
    void stop();

    QUrl url() const { return address; }
    QByteArray token() const { return secret; }
    // The largest resident size the process has had, and the present one, in MiB.
    double peakMegabytes() const { return statusMegabytes("VmHWM:"); }
    double residentMegabytes() const { return statusMegabytes("VmRSS:"); }

private:
    double statusMegabytes(const QByteArray& field) const;

    QProcess process;
    QUrl address;
    QByteArray secret;
};
