// How fast the simulated alarm server delivers a storm: alarms per second reaching a handler that only
// counts them. Each alarm is stored in SQLite before it is pushed, so this is the server's whole road.
// On a busy machine the wall clock says more about the neighbours than about the server; the processor
// time of the process is printed beside it.
//
//   vantel_storm [alarms per round] [probes] [rounds]

#include "IAlarmEvent.h"
#include "SimAlarmServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <vector>

namespace {

class CountingHandler : public IAlarmEvent
{
public:
    void expect(int total)
    {
        std::lock_guard<std::mutex> lock(mutex);
        wanted = total;
        seen = 0;
    }
    void wait()
    {
        std::unique_lock<std::mutex> lock(mutex);
        reached.wait(lock, [this] { return seen >= wanted; });
    }

    void OnNewAlarm(const AlarmData&) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (++seen == wanted)
            reached.notify_all();
    }
    void OnAlarmHandled(const AlarmProcessData&) override {}
    void OnHandleAlarmResult(const char*, int, const char*, const char*) override {}
    void OnHandleAlarmsResult(const std::vector<std::string>&, int, const char*, const char*) override {}
    void OnReplyA(intptr_t, int, const char*) override {}
    void OnReplyB(intptr_t, int, const char*) override {}
    void OnAlarmRecordsCount(int, const char*, int, const char*) override {}
    void OnAlarmRecords(const std::vector<AlarmData>&, int, const char*) override {}
    void OnAlarmHandleNotes(const char*, const AlarmProcessData&, int, const char*) override {}
    void OnStoreDevicesAlarmsCollection(std::vector<AlarmCountData>, std::vector<ItemAlarmCountData>,
                                        const char*, int, const char*) override
    {
    }
    void OnAllStoresAlarmsCollection(std::vector<AlarmCountData>, const char*, int, const char*) override {}

private:
    std::mutex mutex;
    std::condition_variable reached;
    int wanted = 0;
    int seen = 0;
};

QString writeScenario(const QString& folder, int probes)
{
    QJsonArray stores, devices, probeList;
    for (int i = 0; i < probes; ++i) {
        const QString store = QStringLiteral("S%1").arg(i / 10, 3, 10, QLatin1Char('0'));
        const QString device = QStringLiteral("D%1").arg(i / 5, 3, 10, QLatin1Char('0'));
        if (i % 10 == 0)
            stores.append(QJsonObject{{"storeUid", store}, {"storeName", store}});
        if (i % 5 == 0)
            devices.append(QJsonObject{{"deviceId", device}, {"deviceName", device}, {"storeUid", store}});
        probeList.append(QJsonObject{{"probeId", QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0'))},
                                     {"probeName", QStringLiteral("Probe %1").arg(i)},
                                     {"storeUid", store},
                                     {"deviceId", device},
                                     {"channelIndex", i % 5 + 1}});
    }
    const QJsonObject root{{"user", QJsonObject{{"name", "Bench"}, {"telephone", "0"}}},
                           {"stores", stores},
                           {"devices", devices},
                           {"probes", probeList}};
    const QString path = QDir(folder).filePath(QStringLiteral("scenario.json"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(root).toJson());
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int alarms = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int probes = args.size() > 2 ? args.at(2).toInt() : 50;
    const int rounds = args.size() > 3 ? args.at(3).toInt() : 3;
    if (alarms <= 0 || probes <= 0 || rounds <= 0) {
        std::fprintf(stderr, "usage: vantel_storm [alarms per round] [probes] [rounds]\n");
        return 2;
    }

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    SimAlarmServer server(writeScenario(dir.path(), probes), dir.filePath(QStringLiteral("db")));
    CountingHandler handler;
    server.SetEventHandler(&handler);

    std::vector<double> rates;
    for (int round = 1; round <= rounds; ++round) {
        handler.expect(alarms);
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpuStart = std::clock();
        QString error;
        if (!server.storm(alarms, probes, &error)) {
            std::fprintf(stderr, "%s\n", qUtf8Printable(error));
            return 1;
        }
        handler.wait();
        const double seconds = clock.nsecsElapsed() / 1e9;
        const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        rates.push_back(alarms / seconds);
        std::printf("round %d: %d alarms over %d probes in %.3f s: %.0f alarms/s (%.3f s of processor time: "
                    "%.0f alarms per processor second)\n",
                    round, alarms, probes, seconds, rates.back(), cpuSeconds, alarms / cpuSeconds);
    }
    std::sort(rates.begin(), rates.end());
    std::printf("median: %.0f alarms/s\n", rates.at(rates.size() / 2));
    server.SetEventHandler(nullptr);
    return 0;
}
