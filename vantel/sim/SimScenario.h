#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <string>

// What the simulated alarm server knows of the monitored sites: stores, the probes that raise alarms (with
// their device and store) and the user who handles alarms. Read once; never changed afterwards, so it can
// be read from any thread.
class SimScenario
{
public:
    struct Probe
    {
        QString probeId;
        std::string probeName;
        std::string storeUid;
        std::string deviceId;
        std::string deviceName;
        int channelIndex = 0;
    };

    // An unreadable file gives an empty scenario and a one-line error naming the file and the problem.
    static SimScenario load(const QString& path, QString* error);

    const Probe* probe(const QString& probeId) const;
    const QVector<Probe>& probes() const { return probeList; }
    QStringList probeIds() const;
    QStringList storeUids() const { return stores; }
    std::string storeName(const std::string& storeUid) const;
    std::string userName() const { return user; }
    std::string userTelephone() const { return telephone; }

private:
    QVector<Probe> probeList;
    QHash<QString, int> probeIndex;
    QStringList stores;
    QHash<QString, QString> storeNames;
    std::string user;
    std::string telephone;
};
