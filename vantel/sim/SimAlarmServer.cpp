#include "SimAlarmServer.h"

#include "AlarmUid.h"
#include "IAlarmEvent.h"
#include "SimAlarmCatalogue.h"
#include "SimAlarmEngine.h"
#include "SimImageServer.h"
#include "SimLogging.h"

#include <QDateTime>
#include <QDir>

#include <set>

namespace {

std::string text(const char* value)
{
    return value ? std::string(value) : std::string();
}

std::string local(const char* value)
{
    return value ? QString::fromLocal8Bit(value).toUtf8().toStdString() : std::string();
}

std::string utf8(const QString& value)
{
    return value.toUtf8().toStdString();
}

QString failWith(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return QString();
}

} // namespace

SimAlarmServer::SimAlarmServer(const QString& scenarioPath, const QString& dataFolder, QObject* parent)
    : SimControl(parent)
    , scenarioFile(scenarioPath.isEmpty() ? defaultScenarioPath() : scenarioPath)
    , folder(dataFolder.isEmpty() ? defaultDataFolder() : dataFolder)
{
    scenario = SimScenario::load(scenarioFile, &scenarioProblem);
    if (!scenarioProblem.isEmpty()) {
        lastErrorText = scenarioProblem;
        qCWarning(vigServer, "%s", qUtf8Printable(scenarioProblem));
    }
    marks.setSelf({QString::fromStdString(scenario.userName()),
                   QString::fromStdString(scenario.userTelephone()), AlarmPresence::Control});
    engine = std::make_unique<SimAlarmEngine>(scenario, folder, thread,
                                              [this](const QString& message) { report(message); });
    SimAlarmEngine* work = engine.get();
    images = std::make_unique<SimImageServer>(QDir(folder).absoluteFilePath(QStringLiteral("images")));
    thread.start([work] { work->close(); });
    thread.post([work, base = images->baseUrl()] {
        work->open();
        work->setImageBase(base);
    });
}

SimAlarmServer::~SimAlarmServer()
{
    shutdown();
}

QString SimAlarmServer::defaultScenarioPath()
{
    const QString path = qEnvironmentVariable("VIG_SCENARIO");
    return path.isEmpty() ? QStringLiteral("scenarios/demo.json") : path;
}

QString SimAlarmServer::defaultDataFolder()
{
    return QStringLiteral("AlarmServerDB");
}

QStringList SimAlarmServer::alarmKinds()
{
    return SimAlarmCatalogue::keys();
}

QStringList SimAlarmServer::probeIds() const
{
    return scenario.probeIds();
}

QStringList SimAlarmServer::storeUids() const
{
    return scenario.storeUids();
}

QString SimAlarmServer::lastError() const
{
    std::lock_guard<std::mutex> lock(errorMutex);
    return lastErrorText;
}

int SimAlarmServer::pendingEvents() const
{
    return thread.pendingEvents();
}

void SimAlarmServer::report(const QString& message)
{
    {
        std::lock_guard<std::mutex> lock(errorMutex);
        lastErrorText = message;
    }
    emit controlFailed(message);
}

bool SimAlarmServer::post(std::function<void(SimAlarmEngine*)> work)
{
    SimAlarmEngine* target = engine.get();
    return thread.post([target, work = std::move(work)] { work(target); });
}

QString SimAlarmServer::raiseAlarm(const QString& probeId, const QString& kind, QString* error)
{
    return raiseAlarmAt(probeId, kind, QDateTime::currentDateTime(), error);
}

QString SimAlarmServer::raiseAlarmAt(const QString& probeId, const QString& kindKey,
                                     const QDateTime& alarmTime, QString* error)
{
    const SimScenario::Probe* probe = scenario.probe(probeId);
    if (!probe)
        return failWith(error, QObject::tr("Unknown probe \"%1\".").arg(probeId));
    const SimAlarmCatalogue::Kind* kind =
        kindKey.isEmpty() ? &SimAlarmCatalogue::at(nextKind++ % SimAlarmCatalogue::count())
                          : SimAlarmCatalogue::find(kindKey);
    if (!kind)
        return failWith(error, QObject::tr("Unknown alarm kind \"%1\"; known kinds: %2.")
                                   .arg(kindKey, alarmKinds().join(QStringLiteral(", "))));
    if (!alarmTime.isValid())
        return failWith(error, QObject::tr("Invalid alarm time."));
    const std::string uid = AlarmUid::make();
    const AlarmData alarm = SimAlarmEngine::makeAlarm(*probe, *kind, alarmTime, uid);
    if (!post([alarm](SimAlarmEngine* work) { work->addAlarm(alarm); }))
        return failWith(error, QObject::tr("The alarm server is shut down."));
    return QString::fromStdString(uid);
}

QString SimAlarmServer::injectAlarm(const AlarmData& alarm)
{
    AlarmData record = alarm;
    if (record.alarmUid.empty())
        record.alarmUid = AlarmUid::make();
    if (!post([record](SimAlarmEngine* work) { work->addAlarm(record); }))
        return QString();
    return QString::fromStdString(record.alarmUid);
}

bool SimAlarmServer::storm(int alarmCount, int probeCount, QString* error)
{
    if (alarmCount <= 0 || probeCount <= 0) {
        failWith(error, QObject::tr("A storm needs a positive number of alarms and of probes."));
        return false;
    }
    if (scenario.probes().isEmpty()) {
        failWith(error, QObject::tr("The scenario has no probe."));
        return false;
    }
    if (!post([alarmCount, probeCount](SimAlarmEngine* work) { work->storm(alarmCount, probeCount, 0); })) {
        failWith(error, QObject::tr("The alarm server is shut down."));
        return false;
    }
    return true;
}

void SimAlarmServer::setGeneratorRate(double alarmsPerSecond)
{
    post([alarmsPerSecond](SimAlarmEngine* work) { work->setGeneratorRate(alarmsPerSecond); });
}

void SimAlarmServer::handleAsOtherOperator(const QString& alarmUid, int handleMode, const QString& note,
                                           const QString& principal, const QString& telephone)
{
    marks.setTaken({alarmUid}, QString());
    const std::string who = utf8(principal.isEmpty() ? QObject::tr("Another operator") : principal);
    post([uid = utf8(alarmUid), handleMode, note = utf8(note), who, tel = utf8(telephone)](
             SimAlarmEngine* work) { work->handleAsOperator(uid, handleMode, note, who, tel); });
}

void SimAlarmServer::takeAsOtherOperator(const QStringList& alarmUids, const QString& operatorName)
{
    marks.setTaken(alarmUids, operatorName);
}

void SimAlarmServer::setAnswerDelay(int milliseconds)
{
    post([milliseconds](SimAlarmEngine* work) { work->setAnswerDelay(milliseconds); });
}

void SimAlarmServer::failNextRequests(int count, int errorCode, const QString& errorMsg)
{
    const std::string message =
        utf8(errorMsg.isEmpty() ? QObject::tr("The alarm server failed the request on purpose.") : errorMsg);
    post([count, errorCode, message](SimAlarmEngine* work) { work->failNext(count, errorCode, message); });
}

void SimAlarmServer::failAlarms(const QStringList& alarmUids, int errorCode, const QString& errorMsg)
{
    std::set<std::string> uids;
    for (const QString& uid : alarmUids)
        uids.insert(utf8(uid));
    const std::string message =
        utf8(errorMsg.isEmpty() ? QObject::tr("The alarm server failed the request on purpose.") : errorMsg);
    post([uids, errorCode, message](SimAlarmEngine* work) { work->failAlarms(uids, errorCode, message); });
}

void SimAlarmServer::dropNextAnswers(int count)
{
    post([count](SimAlarmEngine* work) { work->dropNext(count); });
}

void SimAlarmServer::clearFaults()
{
    post([](SimAlarmEngine* work) { work->clearFaults(); });
}

void SimAlarmServer::announceUnhandled()
{
    post([](SimAlarmEngine* work) { work->announceUnhandled(); });
}

void SimAlarmServer::replay(const SimReplay::Position& from, int limit,
                            std::function<void(const std::shared_ptr<const SimReplay>& page)> done)
{
    post([from, limit, done = std::move(done)](SimAlarmEngine* work) { work->replay(from, limit, done); });
}

void SimAlarmServer::afterEarlierEvents(std::function<void()> done)
{
    thread.publish([done = std::move(done)](IAlarmEvent*) { done(); });
}

void SimAlarmServer::shutdown()
{
    {
        std::lock_guard<std::mutex> lock(watchMutex);
        disconnect(handlerWatch);
    }
    thread.stop();
}

bool SimAlarmServer::isShutDown() const
{
    return thread.isStopped();
}

void SimAlarmServer::SetEventHandler(IAlarmEvent* handler)
{
    thread.setHandler(handler);
    // A handler that is a QObject unregisters itself when it goes. A watch left on an earlier handler is
    // harmless: it clears the handler only while that one is still registered.
    QMetaObject::Connection watch;
    if (QObject* object = dynamic_cast<QObject*>(handler)) {
        watch = connect(
            object, &QObject::destroyed, this, [this, handler] { thread.clearHandler(handler); },
            Qt::DirectConnection);
    }
    std::lock_guard<std::mutex> lock(watchMutex);
    disconnect(handlerWatch);
    handlerWatch = watch;
}

void SimAlarmServer::RequestHandleAlarm(const char* alarmUid, const char* handleNote, int handleMode,
                                        bool informKeeper, const char* requester)
{
    Q_UNUSED(informKeeper)
    const AlarmPresence::Operator self = marks.self();
    handleAlarmsAs(self.name, self.telephone, {text(alarmUid)}, handleNote, handleMode, requester, false);
}

void SimAlarmServer::RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                                         int handleMode, bool informKeeper, const char* requester)
{
    Q_UNUSED(informKeeper)
    const AlarmPresence::Operator self = marks.self();
    handleAlarmsAs(self.name, self.telephone, alarmUids, handleNote, handleMode, requester, true);
}

void SimAlarmServer::handleAlarmsAs(const QString& principal, const QString& telephone,
                                    const std::vector<std::string>& alarmUids, const char* handleNote,
                                    int handleMode, const char* requester, bool batch)
{
    post([uids = alarmUids, note = text(handleNote), handleMode, id = text(requester), batch,
          who = utf8(principal), tel = utf8(telephone)](SimAlarmEngine* work) {
        work->handleAlarms(uids, note, handleMode, id, batch, who, tel);
    });
    // A handling ends the marks of its alarms, here as on a remote server.
    QStringList ended;
    for (const std::string& uid : alarmUids)
        ended.append(QString::fromStdString(uid));
    marks.setTaken(ended, QString());
}

void SimAlarmServer::inOrder(std::function<void()> work)
{
    post([work = std::move(work)](SimAlarmEngine*) { work(); });
}

void SimAlarmServer::RequestReplyA(const char* alarmUid)
{
    post([uid = text(alarmUid)](SimAlarmEngine* work) { work->reply(uid, false); });
}

void SimAlarmServer::RequestReplyB(const char* alarmUid)
{
    post([uid = text(alarmUid)](SimAlarmEngine* work) { work->reply(uid, true); });
}

void SimAlarmServer::RequestAlarmRecordsCount(const char* storeUid, const char* startTime,
                                              const char* endTime, const char* requester, int state)
{
    post([store = text(storeUid), start = text(startTime), end = text(endTime), id = text(requester),
          state](SimAlarmEngine* work) { work->recordsCount(store, start, end, id, state); });
}

void SimAlarmServer::RequestAlarmRecords(const char* storeUid, const char* startTime, const char* endTime,
                                         int state, int first, int count, int)
{
    post([store = text(storeUid), start = text(startTime), end = text(endTime), state, first,
          count](SimAlarmEngine* work) { work->records(store, start, end, state, first, count); });
}

void SimAlarmServer::RequestAlarmHandleNotes(const char* alarmUid, int)
{
    post([uid = text(alarmUid)](SimAlarmEngine* work) { work->handleNotes(uid); });
}

void SimAlarmServer::RequestStoreDevicesAlarmsCollection(const char* storeUid, const char* startTime,
                                                         const char* endTime, const char* tag)
{
    post([store = local(storeUid), start = local(startTime), end = local(endTime), label = local(tag)](
             SimAlarmEngine* work) { work->storeDevicesCollection(store, start, end, label); });
}

void SimAlarmServer::RequestAllStoresAlarmsCollection(const char* startTime, const char* endTime,
                                                      const char* tag)
{
    post([start = local(startTime), end = local(endTime), label = local(tag)](SimAlarmEngine* work) {
        work->allStoresCollection(start, end, label);
    });
}
