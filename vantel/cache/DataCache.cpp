#include "DataCache.h"

#include "AlarmPresence.h"

#include "NetAlarmClient.h"
#include "SimAlarmServer.h"

#include <QCoreApplication>
#include <QSqlDatabase>

namespace {

void shutdownSimulator()
{
    DataCache::Instance()->ShutdownSimulator();
}

} // namespace

DataCache::DataCache()
{
    // Qt keeps its database connections and driver plugins in statics of its own. Made before this object,
    // they are destroyed after it, so a simulator still running at exit can close its database.
    QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"));
    QSqlDatabase::connectionNames();
}

DataCache::~DataCache()
{
    if (client)
        client->shutdown();
    if (simulator)
        simulator->shutdown();
}

DataCache* DataCache::Instance()
{
    static DataCache cache;
    return &cache;
}

IAlarm* DataCache::GetAlarmPtr()
{
    if (IAlarm* installed = alarm.load())
        return installed;
    served.store(true);
    if (NetAlarmClient* remote = GetClient())
        return remote;
    return GetSimulator();
}

void DataCache::SetAlarmPtr(IAlarm* alarm)
{
    this->alarm.store(alarm);
}

SimAlarmServer* DataCache::GetSimulator()
{
    if (SimAlarmServer* server = ready.load())
        return server;
    std::lock_guard<std::mutex> lock(mutex);
    if (!simulator) {
        simulator = std::make_unique<SimAlarmServer>(scenarioPath, dataFolder);
        // What an earlier run left unhandled is shown before anything new.
        simulator->announceUnhandled();
        // The module's event handler dies with the statics after the application object; the server must
        // be quiet by then.
        qAddPostRoutine(shutdownSimulator);
        if (QCoreApplication* app = QCoreApplication::instance()) {
            QObject::connect(app, &QCoreApplication::aboutToQuit, simulator.get(),
                             [] { shutdownSimulator(); });
        }
        ready.store(simulator.get());
    }
    return simulator.get();
}

bool DataCache::SetScenarioPath(const QString& path)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (simulator)
        return false;
    scenarioPath = path;
    return true;
}

bool DataCache::SetDataFolder(const QString& folder)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (simulator)
        return false;
    dataFolder = folder;
    return true;
}

void DataCache::ShutdownSimulator()
{
    SimAlarmServer* server = nullptr;
    NetAlarmClient* remote = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex);
        server = simulator.get();
        remote = client.get();
    }
    if (remote)
        remote->shutdown();
    if (server)
        server->shutdown();
}

bool DataCache::SetServerAddress(const QUrl& url, const QByteArray& token, const QString& caFile)
{
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("ws") && scheme != QLatin1String("wss")))
        return false;
    std::lock_guard<std::mutex> lock(mutex);
    if (client || served.load())
        return false;
    serverUrl = url;
    serverToken = token;
    serverCa = caFile;
    return true;
}

NetAlarmClient* DataCache::GetClient()
{
    if (NetAlarmClient* remote = clientReady.load())
        return remote;
    std::lock_guard<std::mutex> lock(mutex);
    if (!client && !serverUrl.isEmpty()) {
        client = std::make_unique<NetAlarmClient>(serverUrl, serverToken, serverCa);
        QObject::connect(client.get(), &NetAlarmClient::stateChanged, [this] {
            const LinkStatus status = GetLinkStatus();
            std::lock_guard<std::mutex> lock(observerMutex);
            if (linkObserver)
                linkObserver(status);
            for (const auto& observer : otherLinkObservers)
                observer.second(status);
        });
        qAddPostRoutine(shutdownSimulator);
        if (QCoreApplication* app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, client.get(), [] { shutdownSimulator(); });
        clientReady.store(client.get());
    }
    return client.get();
}

SimControl* DataCache::GetControl()
{
    GetAlarmPtr();
    if (NetAlarmClient* remote = GetClient())
        return remote;
    return GetSimulator();
}

AlarmPresence* DataCache::GetPresence()
{
    IAlarm* installed = alarm.load();
    if (!installed || installed == clientReady.load() || installed == ready.load()) {
        GetAlarmPtr();
        if (NetAlarmClient* remote = GetClient())
            return remote->presence();
        return GetSimulator()->presence();
    }
    std::lock_guard<std::mutex> lock(mutex);
    if (!localPresence)
        localPresence = std::make_unique<AlarmPresence>();
    return localPresence.get();
}

DataCache::LinkStatus DataCache::GetLinkStatus()
{
    LinkStatus status;
    NetAlarmClient* remote = clientReady.load();
    if (!remote)
        return status;
    status.address = remote->url().toString();
    switch (remote->state()) {
    case NetAlarmClient::Connecting:
        status.state = LinkConnecting;
        break;
    case NetAlarmClient::Connected:
        status.state = LinkConnected;
        status.message = remote->serverName();
        break;
    case NetAlarmClient::Lost:
        status.state = LinkReconnecting;
        status.attempt = remote->attempt();
        status.message = remote->lostReason();
        break;
    case NetAlarmClient::Refused:
        status.state = LinkRefused;
        status.message = remote->lostReason();
        break;
    case NetAlarmClient::Revoked:
        status.state = LinkRevoked;
        status.message = remote->lostReason();
        break;
    }
    return status;
}

void DataCache::SetLinkObserver(std::function<void(const LinkStatus& status)> observer)
{
    std::lock_guard<std::mutex> lock(observerMutex);
    linkObserver = std::move(observer);
}

int DataCache::AddLinkObserver(std::function<void(const LinkStatus& status)> observer)
{
    std::lock_guard<std::mutex> lock(observerMutex);
    if (!observer)
        return 0;
    otherLinkObservers.emplace(++lastLinkObserverId, std::move(observer));
    return lastLinkObserverId;
}

void DataCache::RemoveLinkObserver(int id)
{
    std::lock_guard<std::mutex> lock(observerMutex);
    otherLinkObservers.erase(id);
}
