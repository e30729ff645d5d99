#pragma once

#include "AlarmData.h"
#include "AlarmEventThread.h"
#include "AlarmPresence.h"
#include "IAlarm.h"
#include "SimControl.h"
#include "SimReplay.h"
#include "SimScenario.h"

#include <QMetaObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>

class QDateTime;
class SimAlarmEngine;
class SimImageServer;

// A simulated alarm server behind IAlarm: it keeps its alarms in SQLite under its data folder, raises
// alarms for the probes of a scenario file and answers requests on a thread of its own. Requests and the
// control operations below may be called from any thread; they return at once and take effect on the
// server's thread in the order they were called. Events wait until a handler is registered.
class SimAlarmServer : public SimControl, public IAlarm
{
    Q_OBJECT

public:
    // Error codes of the answers. Injected failures carry the code they were given.
    enum ErrorCode {
        BadArgument = 400,
        UnknownAlarm = 404,
        AlarmClosed = 409,
        TooManyAlarms = 413,
        StorageError = 500,
        InjectedFailure = 503,
    };

    // Empty arguments take the defaults below. The data folder is relative to the working directory unless
    // it is absolute; it holds "alarms.db" and the folder "images".
    // A handling naming more alarms is refused with TooManyAlarms.
    enum { MaxHandledAlarms = 10000 };

    explicit SimAlarmServer(const QString& scenarioPath = QString(), const QString& dataFolder = QString(),
                            QObject* parent = nullptr);
    ~SimAlarmServer() override;

    // The environment variable VIG_SCENARIO if set, else "scenarios/demo.json".
    static QString defaultScenarioPath();
    // "AlarmServerDB".
    static QString defaultDataFolder();
    // Keys of the alarm kinds raiseAlarm knows: "intrusion", "door-forced", "glass-break", "tamper", ...
    static QStringList alarmKinds();

    QString scenarioPath() const { return scenarioFile; }
    QString dataFolder() const { return folder; }
    // Empty when the scenario was read.
    QString scenarioError() const { return scenarioProblem; }
    QStringList probeIds() const override;
    QStringList storeUids() const;
    // The last error of a control operation, also sent with controlFailed.
    QString lastError() const;
    // Events produced and not yet delivered: they wait for a handler, or for an answer delay.
    int pendingEvents() const;

    // A new alarm of the probe, now. An empty kind takes the kinds in turn. Returns the new alarm's uid,
    // or an empty text and the reason in error for an unknown probe or kind.
    QString raiseAlarm(const QString& probeId, const QString& kind = QString(),
                       QString* error = nullptr) override;
    QString raiseAlarmAt(const QString& probeId, const QString& kind, const QDateTime& alarmTime,
                         QString* error = nullptr);
    // Stores the record as it is, whatever its texts hold, and pushes it; an empty uid gets a new one.
    QString injectAlarm(const AlarmData& alarm);
    // alarmCount alarms of the first probeCount probes, in turn, as fast as the server can.
    bool storm(int alarmCount, int probeCount, QString* error = nullptr) override;
    // New alarms of random probes and kinds; 0 stops. Off at start.
    void setGeneratorRate(double alarmsPerSecond) override;
    // A handling by somebody else: the alarm changes and OnAlarmHandled is pushed, with no answer to anyone.
    // An empty principal is "Another operator".
    void handleAsOtherOperator(const QString& alarmUid, int handleMode, const QString& note,
                               const QString& principal = QString(),
                               const QString& telephone = QString()) override;

    // Answers (not pushed events) come this much later; events keep their order.
    void takeAsOtherOperator(const QStringList& alarmUids, const QString& operatorName) override;
    AlarmPresence* presence() { return &marks; }

    void setAnswerDelay(int milliseconds) override;
    // The next count requests are answered with this error.
    void failNextRequests(int count, int errorCode = InjectedFailure,
                          const QString& errorMsg = QString()) override;
    // Requests that name one of these alarms (handlings, notes, replies) fail until clearFaults.
    void failAlarms(const QStringList& alarmUids, int errorCode = InjectedFailure,
                    const QString& errorMsg = QString()) override;
    // The next count requests are never answered.
    void dropNextAnswers(int count) override;
    void clearFaults() override;

    // The handler first gets every alarm not yet handled as a new alarm, oldest first: for a server started
    // on the database of an earlier run, before anything newer.
    void announceUnhandled();
    // A page of at most limit pushes stored after a client's number, or for a client without one the
    // unhandled alarms as new ones and then what followed; done gets it on the event thread after every push
    // it holds and before any later one. The page tells where the next starts.
    void replay(const SimReplay::Position& from, int limit,
                std::function<void(const std::shared_ptr<const SimReplay>& page)> done);

    // A handling request made by this operator; RequestHandleAlarm(s) name the scenario's user.
    void handleAlarmsAs(const QString& principal, const QString& telephone,
                        const std::vector<std::string>& alarmUids, const char* handleNote, int handleMode,
                        const char* requester, bool batch);
    // Runs work on the server's thread after everything called before.
    void inOrder(std::function<void()> work);
    // Runs done on the event thread once every event produced so far is delivered, delayed answers too.
    void afterEarlierEvents(std::function<void()> done);

    // Stops the thread; later requests are ignored and no event is delivered any more. The destructor does
    // it too. Not from within an event.
    void shutdown();
    bool isShutDown() const;

    void SetEventHandler(IAlarmEvent* handler) override;
    void RequestHandleAlarm(const char* alarmUid, const char* handleNote, int handleMode, bool informKeeper,
                            const char* requester) override;
    void RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                             int handleMode, bool informKeeper, const char* requester) override;
    void RequestReplyA(const char* alarmUid) override;
    void RequestReplyB(const char* alarmUid) override;
    void RequestAlarmRecordsCount(const char* storeUid, const char* startTime, const char* endTime,
                                  const char* requester, int state) override;
    void RequestAlarmRecords(const char* storeUid, const char* startTime, const char* endTime, int state,
                             int first, int count, int reserved) override;
    void RequestAlarmHandleNotes(const char* alarmUid, int reserved) override;
    void RequestStoreDevicesAlarmsCollection(const char* storeUid, const char* startTime, const char* endTime,
                                             const char* tag) override;
    void RequestAllStoresAlarmsCollection(const char* startTime, const char* endTime,
                                          const char* tag) override;

private:
    void report(const QString& message);
    bool post(std::function<void(SimAlarmEngine*)> work);

    const QString scenarioFile;
    const QString folder;
    QString scenarioProblem;
    SimScenario scenario;
    std::atomic<int> nextKind{0};

    mutable std::mutex errorMutex;
    QString lastErrorText;
    std::mutex watchMutex;
    QMetaObject::Connection handlerWatch;

    AlarmPresence marks;
    AlarmEventThread thread;
    std::unique_ptr<SimAlarmEngine> engine;
    std::unique_ptr<SimImageServer> images;
};
