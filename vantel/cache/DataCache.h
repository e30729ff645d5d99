#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

class AlarmPresence;
class IAlarm;
class NetAlarmClient;
class SimAlarmServer;
class SimControl;

// Entry point of the alarm service library. A program may install its own IAlarm before first use.
class DataCache
{
public:
    static DataCache* Instance();

    // The installed IAlarm, else the alarm server at the address set, else the embedded simulated server
    // (made on first use).
    IAlarm* GetAlarmPtr();
    void SetAlarmPtr(IAlarm* alarm);

    // The embedded simulated server, made on first use whether or not another IAlarm is installed.
    SimAlarmServer* GetSimulator();
    // Before the simulator's first use only; false afterwards. Empty texts take the server's defaults.
    bool SetScenarioPath(const QString& path);
    bool SetDataFolder(const QString& folder);
    // Before the first GetAlarmPtr() only; false afterwards or for an address that is not ws:// or wss://.
    bool SetServerAddress(const QUrl& url, const QByteArray& token, const QString& caFile = QString());
    // The client of the server at the address set, made on first use; null without an address.
    NetAlarmClient* GetClient();
    // The controls of the server behind GetAlarmPtr(): the remote one's or the embedded simulator's.
    SimControl* GetControl();

    // The operator and the other operators' marks of the server behind GetAlarmPtr(); for an IAlarm the
    // program installed, an operator with all rights and no marks. Made on first use, never null.
    AlarmPresence* GetPresence();

    // The link to the server behind GetAlarmPtr(); the embedded simulator is always connected. Revoked: the
    // server withdrew this operator's access; the client does not reconnect.
    enum LinkState { LinkConnecting, LinkConnected, LinkReconnecting, LinkRefused, LinkRevoked };
    struct LinkStatus
    {
        LinkState state = LinkConnected;
        QString address; // empty for the embedded simulator
        int attempt = 0; // LinkReconnecting: the attempt being made, from 1
        QString message; // why the link was lost or refused, or the server's name
    };
    LinkStatus GetLinkStatus();
    // Called on a thread of the library at every change of the link; replaces the observer set before,
    // and an empty one removes it. Once this returns, the former observer is not running any more.
    void SetLinkObserver(std::function<void(const LinkStatus& status)> observer);
    // An observer beside the one set above, for a library of the program, called the same way; the number
    // returned removes it, and once RemoveLinkObserver returns it is not running any more.
    int AddLinkObserver(std::function<void(const LinkStatus& status)> observer);
    void RemoveLinkObserver(int id);

    // Stops the simulator's thread; the object stays so that pointers to it remain valid. Done by itself
    // when the application object goes.
    void ShutdownSimulator();

private:
    DataCache();
    ~DataCache();
    DataCache(const DataCache&) = delete;
    DataCache& operator=(const DataCache&) = delete;

    std::atomic<IAlarm*> alarm{nullptr};

    std::mutex mutex;
    QString scenarioPath;
    QString dataFolder;
    std::unique_ptr<SimAlarmServer> simulator;
    std::atomic<SimAlarmServer*> ready{nullptr};
    QUrl serverUrl;
    QByteArray serverToken;
    QString serverCa;
    std::unique_ptr<NetAlarmClient> client;
    std::atomic<NetAlarmClient*> clientReady{nullptr};
    std::atomic<bool> served{false};
    std::unique_ptr<AlarmPresence> localPresence;

    std::mutex observerMutex;
    std::function<void(const LinkStatus& status)> linkObserver;
    std::map<int, std::function<void(const LinkStatus& status)>> otherLinkObservers;
    int lastLinkObserverId = 0;
};
