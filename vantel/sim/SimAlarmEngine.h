#pragma once

#include "AlarmData.h"
#include "AlarmEventThread.h"
#include "AlarmProcessData.h"
#include "SimAlarmCatalogue.h"
#include "SimReplay.h"
#include "SimScenario.h"

#include <QString>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QDateTime;
class SimAlarmStore;

// The simulated alarm server's behaviour: it answers requests from its store and produces alarms. Every
// operation but the constructor and the static ones runs on the server's thread, so it needs no lock of its
// own.
class SimAlarmEngine
{
public:
    using ErrorReport = std::function<void(const QString& message)>;
    using ReplayDone = std::function<void(const std::shared_ptr<const SimReplay>& replay)>;

    SimAlarmEngine(const SimScenario& scenario, const QString& dataFolder, AlarmEventThread& thread,
                   ErrorReport reportError);
    ~SimAlarmEngine();
    SimAlarmEngine(const SimAlarmEngine&) = delete;
    SimAlarmEngine& operator=(const SimAlarmEngine&) = delete;

    void open();
    void close();

    // Requests of IAlarm; each answers with its event unless an answer is to be dropped.
    // principal and telephone: the operator who handles them.
    void handleAlarms(const std::vector<std::string>& alarmUids, const std::string& note, int mode,
                      const std::string& requester, bool batch, const std::string& principal,
                      const std::string& telephone);
    void reply(const std::string& alarmUid, bool second);
    void recordsCount(const std::string& storeUid, const std::string& startTime, const std::string& endTime,
                      const std::string& requester, int state);
    void records(const std::string& storeUid, const std::string& startTime, const std::string& endTime,
                 int state, int first, int count);
    void handleNotes(const std::string& alarmUid);
    void storeDevicesCollection(const std::string& storeUid, const std::string& startTime,
                                const std::string& endTime, const std::string& tag);
    void allStoresCollection(const std::string& startTime, const std::string& endTime,
                             const std::string& tag);

    // The page of at most limit pushes that starts at from, handed to done on the event thread in the
    // place of the pushes' queue where it ends.
    void replay(const SimReplay::Position& from, int limit, ReplayDone done);
    // Pushes every alarm not yet handled as new, oldest first: for a handler met on a database from an
    // earlier run.
    void announceUnhandled();

    // Control.
    void addAlarm(const AlarmData& alarm);
    void storm(int remaining, int probeCount, int sequence);
    void handleAsOperator(const std::string& alarmUid, int mode, const std::string& note,
                          const std::string& principal, const std::string& telephone);
    void setGeneratorRate(double alarmsPerSecond);
    void setAnswerDelay(int milliseconds);
    void failNext(int count, int errorCode, const std::string& errorMsg);
    void failAlarms(const std::set<std::string>& alarmUids, int errorCode, const std::string& errorMsg);
    void dropNext(int count);
    void clearFaults();
    // Where clients fetch the live images of the data folder's "images".
    void setImageBase(const QString& url) { imageBase = url; }

    static AlarmData makeAlarm(const SimScenario::Probe& probe, const SimAlarmCatalogue::Kind& kind,
                               const QDateTime& time, const std::string& alarmUid);
    static AlarmData makeAlarm(const SimScenario::Probe& probe, const SimAlarmCatalogue::Kind& kind,
                               const std::string& alarmTime, const std::string& createTime,
                               const std::string& alarmUid);
    // The handled record of an alarm, with no handling yet.
    static AlarmProcessData processOf(const AlarmData& alarm);
    static std::string createTimeText();

private:
    enum class Gate { Pass, Fail, Drop };
    struct Outcome
    {
        int code = 0;
        std::string message;
    };

    Gate admit(const std::vector<std::string>& alarmUids, Outcome* outcome);
    bool storageReady(Outcome* outcome) const;
    bool readPeriod(const std::string& startTime, const std::string& endTime, bool required,
                    QByteArray* start, QByteArray* end, Outcome* outcome) const;
    bool applyHandlings(const std::vector<std::string>& alarmUids, int mode, const std::string& note,
                        const std::string& principal, const std::string& telephone, Outcome* outcome,
                        std::vector<SimReplay::Push>* pushes);
    void publishHandled(const std::vector<SimReplay::Push>& pushes);
    void publishPush(const SimReplay::Push& push);
    // Stored handlings come with their alarm; their pushes carry the alarm's record.
    static void completeRecords(std::vector<SimReplay::Push>* pushes);
    std::string takeLiveImages(const AlarmData& alarm);
    void storeAndPush(const std::vector<AlarmData>& alarms);
    void generate();
    void answer(AlarmEventThread::Event event);
    void push(AlarmEventThread::Event event);

    const SimScenario& scenario;
    const QString folder;
    AlarmEventThread& thread;
    ErrorReport reportError;
    std::unique_ptr<SimAlarmStore> store;
    QString openError;

    int answerDelay = 0;
    int failCount = 0;
    Outcome failNextOutcome;
    std::set<std::string> failingUids;
    Outcome failUidOutcome;
    int dropCount = 0;
    QString imageBase;
};
