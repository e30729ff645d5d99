#pragma once

#include "SimControl.h"
#include "SimEventThread.h"
#include "net/NetRequestEncoder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <atomic>
#include <memory>
#include <mutex>

class NetClientLink;
class QThread;

// IAlarm and the simulator's controls of an alarm server reached over the network (ws:// or wss://).
// Requests and controls return at once; the network runs on a thread of its own, and events are handed to
// the handler on another one, one at a time, in the server's order.
class NetAlarmClient : public SimControl, public NetRequestEncoder
{
    Q_OBJECT

public:
    enum State { Connecting, Connected, Refused, Lost };

    // caFile: the authority of a server's private certificate, else the system's authorities.
    NetAlarmClient(const QUrl& url, const QByteArray& token, const QString& caFile = QString(),
                   QObject* parent = nullptr);
    ~NetAlarmClient() override;

    QUrl url() const { return address; }
    State state() const { return current.load(); }
    // The server's name, from its welcome.
    QString serverName() const;
    // Stops the network and the event thread; later requests are ignored. The destructor does it too.
    void shutdown();

    void SetEventHandler(IAlarmEvent* handler) override;

    QStringList probeIds() const override;
    QString raiseAlarm(const QString& probeId, const QString& kind = QString(),
                       QString* error = nullptr) override;
    bool storm(int alarmCount, int probeCount, QString* error = nullptr) override;
    void setGeneratorRate(double alarmsPerSecond) override;
    void handleAsOtherOperator(const QString& alarmUid, int handleMode, const QString& note,
                               const QString& principal = QString(),
                               const QString& telephone = QString()) override;
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
    void transmit(const QByteArray& frame);
    void received(const QByteArray& frame);
    void setState(State state, const QString& message);

    const QUrl address;
    std::atomic<State> current{Connecting};
    std::atomic<bool> stopped{false};
    // Held while a frame is handed to the link, so that the link outlives every hand-over.
    std::mutex sendMutex;
    mutable std::mutex mutex;
    QStringList probes;
    QString server;

    SimEventThread delivery;
    std::unique_ptr<QThread> network;
    NetClientLink* link = nullptr; // lives on the network thread, deleted when it ends
};
