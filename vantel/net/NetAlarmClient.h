#pragma once

#include "AlarmEventThread.h"
#include "AlarmPresence.h"
#include "NetCodec.h"
#include "NetPresence.h"
#include "NetRequestEncoder.h"
#include "SimControl.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>

class NetClientLink;
class QThread;

// IAlarm and the simulator's controls of an alarm server reached over the network (ws:// or wss://).
// Requests and controls return at once; the network runs on a thread of its own, and events are handed to
// the handler on another one, one at a time, in the server's order. After a lost link it reconnects by
// itself and asks for the pushes after the last one it delivered, so the handler sees each push once. A
// request that cannot be sent, or whose answer the link lost, is answered at once with an error. The
// server's welcome says who this client's operator is; its marks say which alarms other operators have
// open. An operator the server removed is not reconnected.
class NetAlarmClient : public SimControl, public NetRequestEncoder
{
    Q_OBJECT

public:
    enum State { Connecting, Connected, Refused, Lost, Revoked };
    // How long raiseAlarm waits for the server to name the new alarm.
    static constexpr int RaiseWaitMs = 5000;

    // caFile: the authority of a server's private certificate, else the system's authorities.
    NetAlarmClient(const QUrl& url, const QByteArray& token, const QString& caFile = QString(),
                   QObject* parent = nullptr);
    ~NetAlarmClient() override;

    QUrl url() const { return address; }
    State state() const { return current.load(); }
    // While Lost: the number of the reconnection being tried, from 1.
    int attempt() const { return attempts.load(); }
    // The number of the last push handed to the handler, -1 for none yet.
    qint64 lastDelivered() const { return delivered.load(); }
    // Pushes received in catch-ups since the start.
    qint64 replayedPushes() const { return replayed.load(); }
    // Events received and not yet handed to the handler.
    int pendingEvents() const { return delivery.pendingEvents(); }
    // The server's name, from its welcome.
    QString serverName() const;
    // Why the link was last lost or refused.
    QString lostReason() const;
    // Stops the network and the event thread; later requests are ignored. The destructor does it too.
    void shutdown();
    // Test seam: closes the connection under the client and lets it reconnect only after holdMs.
    void cutLink(int holdMs);

    void SetEventHandler(IAlarmEvent* handler) override;

    QStringList probeIds() const override;
    // The server names the alarm: this waits for its answer, RaiseWaitMs at most.
    QString raiseAlarm(const QString& probeId, const QString& kind = QString(),
                       QString* error = nullptr) override;
    bool storm(int alarmCount, int probeCount, QString* error = nullptr) override;
    void setGeneratorRate(double alarmsPerSecond) override;
    void handleAsOtherOperator(const QString& alarmUid, int handleMode, const QString& note,
                               const QString& principal = QString(),
                               const QString& telephone = QString()) override;
    void takeAsOtherOperator(const QStringList& alarmUids, const QString& operatorName) override;
    AlarmPresence* presence() { return &marks; }

    void setAnswerDelay(int milliseconds) override;
    void failNextRequests(int count, int errorCode = DefaultFailureCode,
                          const QString& errorMsg = QString()) override;
    void failAlarms(const QStringList& alarmUids, int errorCode = DefaultFailureCode,
                    const QString& errorMsg = QString()) override;
    void dropNextAnswers(int count) override;
    void clearFaults() override;

signals:
    // From the network thread.
    void stateChanged(NetAlarmClient::State state, const QString& message);

private:
    // Runs work on the network thread, unless stopped.
    void onLink(std::function<void(NetClientLink*)> work);
    void runLinkWork();
    void transmit(const QByteArray& frame);
    void transmitRequest(const QByteArray& frame, const Failure& failure);
    void received(const QByteArray& frame);
    void deliver(NetCodec::ServerMessage& message);
    void failOutstanding();
    void raised(qint64 ref, const QString& uid);
    void fail(const Failure& failure);
    void setState(State state, const QString& message);

    const QUrl address;
    std::atomic<State> current{Connecting};
    std::atomic<int> attempts{0};
    std::atomic<qint64> delivered{-1};
    std::atomic<qint64> nextRequestId{1};
    std::atomic<qint64> replayed{0};
    bool catchingUp = false; // on the network thread only
    // Requests sent and not yet answered, by id; on the network thread only.
    std::map<qint64, Failure> outstanding;
    std::atomic<bool> stopped{false};
    // Held while work is handed to the link, so that the link outlives every hand-over.
    std::mutex sendMutex;
    std::deque<std::function<void(NetClientLink*)>> linkWork;
    mutable std::mutex mutex;
    QStringList probes;
    QString server;
    QString reason;

    // Raises waiting for the uid the server gives, by reference.
    std::mutex raiseMutex;
    std::map<qint64, std::shared_ptr<std::promise<QString>>> raises;
    NetPresence marks;
    AlarmEventThread delivery;
    std::unique_ptr<QThread> network;
    NetClientLink* link = nullptr; // lives on the network thread, deleted when it ends
};
