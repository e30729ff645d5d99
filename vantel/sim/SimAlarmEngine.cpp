#include "SimAlarmEngine.h"

#include "AlarmEventNumbers.h"
#include "AlarmProcessData.h"
#include "AlarmUid.h"
#include "IAlarmEvent.h"
#include "SimAlarmServer.h"
#include "SimAlarmStore.h"
#include "SimPngWriter.h"

#include <QAtomicInt>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QObject>
#include <QRandomGenerator>
#include <QTime>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <chrono>

namespace {

const QString timeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
constexpr int stormChunk = 1024;
constexpr double maxGeneratorRate = 1000.0;

std::string utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

// An id as it may appear in a message: whatever bytes it has, cut short when long.
QString shown(const std::string& id)
{
    const QString text = QString::fromUtf8(id.data(), int(std::min<size_t>(id.size(), 64)));
    return id.size() > 64 ? text + QStringLiteral("...") : text;
}

std::string nowText()
{
    return utf8(QDateTime::currentDateTime().toString(timeFormat));
}

bool readTime(const std::string& text, QByteArray* out)
{
    const QString value = QString::fromStdString(text);
    if (value.size() != 19 || value.at(10) != QLatin1Char(' '))
        return false;
    const QDate date = QDate::fromString(value.left(10), QStringLiteral("yyyy-MM-dd"));
    const QTime time = QTime::fromString(value.mid(11), QStringLiteral("hh:mm:ss"));
    if (!date.isValid() || !time.isValid() || date.toString(QStringLiteral("yyyy-MM-dd")) != value.left(10))
        return false;
    *out = QByteArray::fromStdString(text);
    return true;
}

QString connectionName()
{
    static QAtomicInt serial;
    return QStringLiteral("SimAlarmServer-%1").arg(serial.fetchAndAddRelaxed(1));
}

} // namespace

SimAlarmEngine::SimAlarmEngine(const SimScenario& sites, const QString& dataFolder,
                               AlarmEventThread& eventThread, ErrorReport report)
    : scenario(sites), folder(dataFolder), thread(eventThread), reportError(std::move(report))
{
}

SimAlarmEngine::~SimAlarmEngine() = default;

void SimAlarmEngine::open()
{
    if (!QDir().mkpath(folder)) {
        openError = QObject::tr("Cannot create the folder %1").arg(folder);
        reportError(openError);
        return;
    }
    store = std::make_unique<SimAlarmStore>(connectionName());
    if (!store->open(QDir(folder).filePath(QStringLiteral("alarms.db")))) {
        openError = store->lastError();
        reportError(openError);
    }
}

void SimAlarmEngine::close()
{
    store.reset();
}

AlarmData SimAlarmEngine::makeAlarm(const SimScenario::Probe& probe, const SimAlarmCatalogue::Kind& kind,
                                    const QDateTime& time, const std::string& alarmUid)
{
    return makeAlarm(probe, kind, utf8(time.toString(timeFormat)), createTimeText(), alarmUid);
}

std::string SimAlarmEngine::createTimeText()
{
    return utf8(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")));
}

AlarmData SimAlarmEngine::makeAlarm(const SimScenario::Probe& probe, const SimAlarmCatalogue::Kind& kind,
                                    const std::string& alarmTime, const std::string& createTime,
                                    const std::string& alarmUid)
{
    AlarmData alarm;
    alarm.alarmUid = alarmUid;
    alarm.storeUid = probe.storeUid;
    alarm.deviceId = probe.deviceId;
    alarm.deviceName = probe.deviceName;
    alarm.typeKey = kind.typeKey;
    alarm.typeDescription = utf8(QObject::tr(kind.typeText));
    alarm.subTypeKey = kind.key;
    alarm.subTypeDescription = utf8(QObject::tr(kind.subTypeText));
    alarm.probeId = utf8(probe.probeId);
    alarm.probeName = probe.probeName;
    alarm.alarmTime = alarmTime;
    const QString where = QString::fromStdString(probe.probeName.empty() ? alarm.probeId : probe.probeName);
    alarm.describe = utf8(QObject::tr("%1 at %2").arg(QObject::tr(kind.subTypeText), where));
    alarm.createTime = createTime;
    alarm.extendInfo = std::string("{\"kind\":\"") + kind.key + "\",\"source\":\"simulator\"}";
    alarm.state = 1;
    alarm.channelIndex = probe.channelIndex;
    return alarm;
}

AlarmProcessData SimAlarmEngine::processOf(const AlarmData& alarm)
{
    AlarmProcessData record;
    record.storeUid = alarm.storeUid;
    record.alarmUid = alarm.alarmUid;
    record.deviceId = alarm.deviceId;
    record.typeKey = alarm.typeKey;
    record.typeDescription = alarm.typeDescription;
    record.subTypeKey = alarm.subTypeKey;
    record.subTypeDescription = alarm.subTypeDescription;
    record.probeId = alarm.probeId;
    record.alarmTime = alarm.alarmTime;
    record.describe = alarm.describe;
    record.channelIndex = alarm.channelIndex;
    return record;
}

void SimAlarmEngine::answer(AlarmEventThread::Event event)
{
    thread.publish(std::move(event), answerDelay);
}

void SimAlarmEngine::push(AlarmEventThread::Event event)
{
    thread.publish(std::move(event), 0);
}

SimAlarmEngine::Gate SimAlarmEngine::admit(const std::vector<std::string>& alarmUids, Outcome* outcome)
{
    if (dropCount > 0) {
        --dropCount;
        return Gate::Drop;
    }
    if (failCount > 0) {
        --failCount;
        *outcome = failNextOutcome;
        return Gate::Fail;
    }
    for (const std::string& uid : alarmUids) {
        if (failingUids.count(uid)) {
            *outcome = failUidOutcome;
            return Gate::Fail;
        }
    }
    return Gate::Pass;
}

bool SimAlarmEngine::storageReady(Outcome* outcome) const
{
    if (store && store->isOpen())
        return true;
    outcome->code = SimAlarmServer::StorageError;
    outcome->message = utf8(QObject::tr("The alarm database is not available: %1").arg(openError));
    return false;
}

bool SimAlarmEngine::readPeriod(const std::string& startTime, const std::string& endTime, bool required,
                                QByteArray* start, QByteArray* end, Outcome* outcome) const
{
    for (const auto& [text, out] : {std::make_pair(&startTime, start), std::make_pair(&endTime, end)}) {
        if (text->empty() && !required)
            continue;
        if (!readTime(*text, out)) {
            outcome->code = SimAlarmServer::BadArgument;
            outcome->message =
                utf8(QObject::tr("Unreadable time \"%1\"; expected yyyy-MM-dd hh:mm:ss.").arg(shown(*text)));
            return false;
        }
    }
    return true;
}

void SimAlarmEngine::handleAlarms(const std::vector<std::string>& alarmUids, const std::string& note,
                                  int mode, const std::string& requester, bool batch,
                                  const std::string& principal, const std::string& telephone)
{
    Outcome outcome;
    const Gate gate = admit(alarmUids, &outcome);
    if (gate == Gate::Drop)
        return;
    std::vector<std::string> unique;
    std::vector<SimReplay::Push> pushes;
    if (gate == Gate::Pass && alarmUids.size() > size_t(SimAlarmServer::MaxHandledAlarms)) {
        outcome.code = SimAlarmServer::TooManyAlarms;
        outcome.message = utf8(QObject::tr("%1 alarms were named in one handling; at most %2 are taken.")
                                   .arg(alarmUids.size())
                                   .arg(int(SimAlarmServer::MaxHandledAlarms)));
    } else if (gate == Gate::Pass && alarmUids.empty()) {
        outcome.code = SimAlarmServer::BadArgument;
        outcome.message = utf8(QObject::tr("No alarm to handle was given."));
    } else if (gate == Gate::Pass) {
        // First occurrences in the order given; a set keeps it O(N log N).
        std::set<std::string> seen;
        for (const std::string& uid : alarmUids) {
            if (seen.insert(uid).second)
                unique.push_back(uid);
        }
        applyHandlings(unique, mode, note, principal, telephone, &outcome, &pushes);
    }
    if (batch) {
        answer([alarmUids, outcome, requester](IAlarmEvent* handler) {
            handler->OnHandleAlarmsResult(alarmUids, outcome.code, outcome.message.c_str(),
                                          requester.c_str());
        });
    } else {
        const std::string uid = alarmUids.empty() ? std::string() : alarmUids.front();
        answer([uid, outcome, requester](IAlarmEvent* handler) {
            handler->OnHandleAlarmResult(uid.c_str(), outcome.code, outcome.message.c_str(),
                                         requester.c_str());
        });
    }
    publishHandled(pushes);
}

void SimAlarmEngine::publishHandled(const std::vector<SimReplay::Push>& pushes)
{
    for (const SimReplay::Push& each : pushes)
        publishPush(each);
}

void SimAlarmEngine::publishPush(const SimReplay::Push& each)
{
    if (each.handled) {
        push([seq = each.seq, record = each.record](IAlarmEvent* handler) {
            AlarmEventNumbers::tell(handler, seq);
            handler->OnAlarmHandled(record);
        });
    } else {
        push([seq = each.seq, alarm = each.alarm](IAlarmEvent* handler) {
            AlarmEventNumbers::tell(handler, seq);
            handler->OnNewAlarm(alarm);
        });
    }
}

void SimAlarmEngine::replay(const SimReplay::Position& from, int limit, ReplayDone done)
{
    auto page = std::make_shared<SimReplay>();
    page->next = from;
    SimReplay::Position& next = page->next;
    Outcome outcome;
    qint64 last = 0;
    bool read = storageReady(&outcome) && store->lastSeq(&last);
    if (read && !next.started) {
        next.started = true;
        page->reset = next.since > last;
        next.unhandled = next.since < 0 || page->reset;
        next.snapshot = last;
        next.afterPush = next.unhandled ? last : next.since;
    }
    if (read && next.unhandled) {
        read = store->unhandledAlarms(next.snapshot, next.afterAlarm, limit, &page->pushes, &next.afterAlarm);
        // The rest of the history follows the listing, from the moment it was taken.
        next.unhandled = read && int(page->pushes.size()) == limit;
    } else if (read) {
        read = store->pushesAfter(next.afterPush, limit, &page->pushes);
        if (!page->pushes.empty())
            next.afterPush = page->pushes.back().seq;
        page->complete = int(page->pushes.size()) < limit;
        page->upTo = last;
    }
    completeRecords(&page->pushes);
    if (!read) {
        reportError(outcome.message.empty()
                        ? QObject::tr("Cannot read the pushes: %1").arg(store->lastError())
                        : QString::fromStdString(outcome.message));
        page = std::make_shared<SimReplay>();
        page->complete = true;
        page->upTo = std::max<qint64>(from.since, 0);
    }
    // Through the queue of pushes, so that it comes after every push it holds and before any later one.
    push([page, done = std::move(done)](IAlarmEvent*) { done(page); });
}

void SimAlarmEngine::completeRecords(std::vector<SimReplay::Push>* pushes)
{
    for (SimReplay::Push& push : *pushes) {
        if (!push.handled)
            continue;
        std::vector<AlarmHandlerData> handlers = std::move(push.record.handlers);
        push.record = processOf(push.alarm);
        push.record.handlers = std::move(handlers);
    }
}

void SimAlarmEngine::announceUnhandled()
{
    std::vector<SimReplay::Push> pushes;
    qint64 last = 0;
    qint64 lastAlarm = 0;
    if (store && store->isOpen() && store->lastSeq(&last) &&
        store->unhandledAlarms(last, 0, -1, &pushes, &lastAlarm))
        publishHandled(pushes);
}

void SimAlarmEngine::handleAsOperator(const std::string& alarmUid, int mode, const std::string& note,
                                      const std::string& principal, const std::string& telephone)
{
    Outcome outcome;
    std::vector<SimReplay::Push> pushes;
    if (applyHandlings({alarmUid}, mode, note, principal, telephone, &outcome, &pushes))
        publishHandled(pushes);
    else
        reportError(QString::fromStdString(outcome.message));
}

bool SimAlarmEngine::applyHandlings(const std::vector<std::string>& alarmUids, int mode,
                                    const std::string& note, const std::string& principal,
                                    const std::string& telephone, Outcome* outcome,
                                    std::vector<SimReplay::Push>* pushes)
{
    if (mode < 2 || mode > 4) {
        outcome->code = SimAlarmServer::BadArgument;
        outcome->message = utf8(QObject::tr("Unknown handle mode %1; expected 2, 3 or 4.").arg(mode));
        return false;
    }
    if (!storageReady(outcome))
        return false;
    // All or nothing: a batch with one alarm that cannot be handled changes none.
    std::vector<AlarmData> alarms;
    for (const std::string& uid : alarmUids) {
        AlarmData alarm;
        bool found = false;
        if (!store->findAlarm(uid, &alarm, &found)) {
            outcome->code = SimAlarmServer::StorageError;
            outcome->message =
                utf8(QObject::tr("Cannot read alarm %1: %2").arg(shown(uid), store->lastError()));
            return false;
        }
        if (!found) {
            outcome->code = SimAlarmServer::UnknownAlarm;
            outcome->message = utf8(QObject::tr("Alarm %1 does not exist.").arg(shown(uid)));
            return false;
        }
        if (alarm.state == 3 || alarm.state == 4) {
            outcome->code = SimAlarmServer::AlarmClosed;
            outcome->message =
                utf8((alarm.state == 4 ? QObject::tr("Alarm %1 is already finished.")
                                       : QObject::tr("Alarm %1 is already marked as a false alarm."))
                         .arg(shown(uid)));
            return false;
        }
        alarms.push_back(alarm);
    }
    std::vector<SimReplay::Push> records;
    bool stored = store->transaction();
    for (size_t i = 0; stored && i < alarms.size(); ++i) {
        AlarmHandlerData handling;
        handling.principal = principal;
        handling.handleTime = nowText();
        handling.handleNote = note;
        handling.principalTel = telephone;
        handling.state = mode;
        handling.liveImageUrls = takeLiveImages(alarms[i]);
        SimReplay::Push push;
        push.handled = true;
        stored = store->addHandling(alarms[i].alarmUid, handling, &push.seq);
        // The push announces this handling alone; the history has them all.
        push.record = processOf(alarms[i]);
        push.record.handlers.push_back(handling);
        records.push_back(std::move(push));
    }
    if (stored)
        stored = store->commit();
    else
        store->rollback();
    if (!stored) {
        outcome->code = SimAlarmServer::StorageError;
        outcome->message = utf8(QObject::tr("Cannot store the handling: %1").arg(store->lastError()));
        return false;
    }
    *pushes = std::move(records);
    return true;
}

std::string SimAlarmEngine::takeLiveImages(const AlarmData& alarm)
{
    const SimAlarmCatalogue::Kind* kind = SimAlarmCatalogue::find(QString::fromStdString(alarm.subTypeKey));
    if (!kind || !kind->liveImages)
        return std::string();
    const QDir images(QDir(folder).filePath(QStringLiteral("images")));
    if (!images.mkpath(QStringLiteral("."))) {
        reportError(QObject::tr("Cannot create the folder %1").arg(images.path()));
        return std::string();
    }
    if (imageBase.isEmpty())
        return std::string();
    const QString stem = QUuid::createUuid().toString(QUuid::Id128);
    QStringList urls;
    for (int shot = 1; shot <= 2; ++shot) {
        const QString name = QStringLiteral("%1-%2.png").arg(stem).arg(shot);
        const QString path = images.absoluteFilePath(name);
        QString error;
        const uint32_t seed = qHash(QByteArray::fromStdString(alarm.alarmUid)) * uint32_t(shot);
        if (!SimPngWriter::write(path, 160, 120, seed, &error)) {
            reportError(error);
            continue;
        }
        QString url = imageBase + name;
        // Cameras add their own parameters; clients are to ignore them.
        if (shot == 2)
            url += QStringLiteral("?channel=%1&shot=%2").arg(alarm.channelIndex).arg(shot);
        urls.append(url);
    }
    return utf8(urls.join(QLatin1Char(',')));
}

void SimAlarmEngine::reply(const std::string& alarmUid, bool second)
{
    Outcome outcome;
    const Gate gate = admit({alarmUid}, &outcome);
    if (gate == Gate::Drop)
        return;
    if (gate == Gate::Pass && storageReady(&outcome)) {
        AlarmData alarm;
        bool found = false;
        if (!store->findAlarm(alarmUid, &alarm, &found)) {
            outcome.code = SimAlarmServer::StorageError;
            outcome.message = utf8(store->lastError());
        } else if (!found) {
            outcome.code = SimAlarmServer::UnknownAlarm;
            outcome.message = utf8(QObject::tr("Alarm %1 does not exist.").arg(shown(alarmUid)));
        }
    }
    answer([outcome, second](IAlarmEvent* handler) {
        if (second)
            handler->OnReplyB(0, outcome.code, outcome.message.c_str());
        else
            handler->OnReplyA(0, outcome.code, outcome.message.c_str());
    });
}

void SimAlarmEngine::recordsCount(const std::string& storeUid, const std::string& startTime,
                                  const std::string& endTime, const std::string& requester, int state)
{
    Outcome outcome;
    const Gate gate = admit({}, &outcome);
    if (gate == Gate::Drop)
        return;
    int count = 0;
    SimAlarmStore::Filter filter;
    if (gate == Gate::Pass && storageReady(&outcome) &&
        readPeriod(startTime, endTime, true, &filter.startTime, &filter.endTime, &outcome)) {
        if (state < 0 || state > 4) {
            outcome.code = SimAlarmServer::BadArgument;
            outcome.message = utf8(QObject::tr("Unknown alarm state %1; expected 0 to 4.").arg(state));
        } else {
            filter.storeUid = QByteArray::fromStdString(storeUid);
            filter.state = state;
            if (!store->countAlarms(filter, &count)) {
                outcome.code = SimAlarmServer::StorageError;
                outcome.message = utf8(store->lastError());
            }
        }
    }
    answer([count, requester, outcome](IAlarmEvent* handler) {
        handler->OnAlarmRecordsCount(outcome.code == 0 ? count : 0, requester.c_str(), outcome.code,
                                     outcome.message.c_str());
    });
}

void SimAlarmEngine::records(const std::string& storeUid, const std::string& startTime,
                             const std::string& endTime, int state, int first, int count)
{
    Outcome outcome;
    const Gate gate = admit({}, &outcome);
    if (gate == Gate::Drop)
        return;
    std::vector<AlarmData> list;
    SimAlarmStore::Filter filter;
    if (gate == Gate::Pass && storageReady(&outcome) &&
        readPeriod(startTime, endTime, true, &filter.startTime, &filter.endTime, &outcome)) {
        if (state < 0 || state > 4) {
            outcome.code = SimAlarmServer::BadArgument;
            outcome.message = utf8(QObject::tr("Unknown alarm state %1; expected 0 to 4.").arg(state));
        } else if (first < 0) {
            outcome.code = SimAlarmServer::BadArgument;
            outcome.message = utf8(QObject::tr("The first record %1 is negative.").arg(first));
        } else if (count <= 0) {
            outcome.code = SimAlarmServer::BadArgument;
            outcome.message = utf8(QObject::tr("The record count %1 is not positive.").arg(count));
        } else {
            filter.storeUid = QByteArray::fromStdString(storeUid);
            filter.state = state;
            if (!store->alarms(filter, first, count, &list)) {
                list.clear();
                outcome.code = SimAlarmServer::StorageError;
                outcome.message = utf8(store->lastError());
            }
        }
    }
    answer([list, outcome](IAlarmEvent* handler) {
        handler->OnAlarmRecords(list, outcome.code, outcome.message.c_str());
    });
}

void SimAlarmEngine::handleNotes(const std::string& alarmUid)
{
    Outcome outcome;
    const Gate gate = admit({alarmUid}, &outcome);
    if (gate == Gate::Drop)
        return;
    AlarmProcessData record;
    record.alarmUid = alarmUid;
    if (gate == Gate::Pass && storageReady(&outcome)) {
        AlarmData alarm;
        bool found = false;
        std::vector<AlarmHandlerData> handlers;
        if (!store->findAlarm(alarmUid, &alarm, &found) ||
            (found && !store->handlings(alarmUid, &handlers))) {
            outcome.code = SimAlarmServer::StorageError;
            outcome.message = utf8(store->lastError());
        } else if (!found) {
            outcome.code = SimAlarmServer::UnknownAlarm;
            outcome.message = utf8(QObject::tr("Alarm %1 does not exist.").arg(shown(alarmUid)));
        } else {
            record = processOf(alarm);
            record.handlers = std::move(handlers);
        }
    }
    answer([alarmUid, record, outcome](IAlarmEvent* handler) {
        handler->OnAlarmHandleNotes(alarmUid.c_str(), record, outcome.code, outcome.message.c_str());
    });
}

void SimAlarmEngine::storeDevicesCollection(const std::string& storeUid, const std::string& startTime,
                                            const std::string& endTime, const std::string& tag)
{
    Outcome outcome;
    const Gate gate = admit({}, &outcome);
    if (gate == Gate::Drop)
        return;
    std::vector<AlarmCountData> deviceCounts;
    std::vector<ItemAlarmCountData> itemCounts;
    SimAlarmStore::Filter filter;
    filter.storeUid = QByteArray::fromStdString(storeUid);
    if (gate == Gate::Pass && storageReady(&outcome) &&
        readPeriod(startTime, endTime, false, &filter.startTime, &filter.endTime, &outcome) &&
        (!store->countByDeviceAndState(filter, &deviceCounts) || !store->countByProbe(filter, &itemCounts))) {
        deviceCounts.clear();
        itemCounts.clear();
        outcome.code = SimAlarmServer::StorageError;
        outcome.message = utf8(store->lastError());
    }
    answer([deviceCounts, itemCounts, tag, outcome](IAlarmEvent* handler) {
        handler->OnStoreDevicesAlarmsCollection(deviceCounts, itemCounts, tag.c_str(), outcome.code,
                                                outcome.message.c_str());
    });
}

void SimAlarmEngine::allStoresCollection(const std::string& startTime, const std::string& endTime,
                                         const std::string& tag)
{
    Outcome outcome;
    const Gate gate = admit({}, &outcome);
    if (gate == Gate::Drop)
        return;
    std::vector<AlarmCountData> storeCounts;
    SimAlarmStore::Filter filter;
    if (gate == Gate::Pass && storageReady(&outcome) &&
        readPeriod(startTime, endTime, false, &filter.startTime, &filter.endTime, &outcome) &&
        !store->countByStoreAndState(filter, &storeCounts)) {
        storeCounts.clear();
        outcome.code = SimAlarmServer::StorageError;
        outcome.message = utf8(store->lastError());
    }
    answer([storeCounts, tag, outcome](IAlarmEvent* handler) {
        handler->OnAllStoresAlarmsCollection(storeCounts, tag.c_str(), outcome.code, outcome.message.c_str());
    });
}

void SimAlarmEngine::addAlarm(const AlarmData& alarm)
{
    storeAndPush({alarm});
}

void SimAlarmEngine::storeAndPush(const std::vector<AlarmData>& alarms)
{
    Outcome outcome;
    if (!storageReady(&outcome)) {
        reportError(QString::fromStdString(outcome.message));
        return;
    }
    // One transaction for many alarms: a storm is bound by the disk otherwise. It also keeps an alarm and
    // its logged push together.
    const bool inTransaction = store->transaction();
    std::vector<SimReplay::Push> stored;
    for (const AlarmData& alarm : alarms) {
        SimReplay::Push push;
        push.alarm = alarm;
        if (store->insertAlarm(alarm, &push.seq))
            stored.push_back(std::move(push));
        else
            reportError(
                QObject::tr("Cannot store alarm %1: %2").arg(shown(alarm.alarmUid), store->lastError()));
    }
    if (inTransaction && !store->commit()) {
        reportError(QObject::tr("Cannot store alarms: %1").arg(store->lastError()));
        return;
    }
    publishHandled(stored);
}

void SimAlarmEngine::storm(int remaining, int probeCount, int sequence)
{
    const QVector<SimScenario::Probe>& probes = scenario.probes();
    probeCount = std::min(probeCount, int(probes.size()));
    if (remaining <= 0 || probeCount <= 0)
        return;
    const int chunk = std::min(remaining, stormChunk);
    // Local time costs a look at the time zone file each time; one reading serves the whole chunk.
    const std::string alarmTime = nowText();
    const std::string createTime = createTimeText();
    std::vector<AlarmData> alarms;
    alarms.reserve(size_t(chunk));
    for (int i = 0; i < chunk; ++i, ++sequence) {
        const SimAlarmCatalogue::Kind& kind = SimAlarmCatalogue::at(sequence % SimAlarmCatalogue::count());
        alarms.push_back(
            makeAlarm(probes.at(sequence % probeCount), kind, alarmTime, createTime, AlarmUid::make()));
    }
    storeAndPush(alarms);
    // The rest goes behind the work posted meanwhile, so requests are answered during a storm.
    if (remaining > chunk)
        thread.post([this, remaining, chunk, probeCount, sequence] {
            storm(remaining - chunk, probeCount, sequence);
        });
}

void SimAlarmEngine::setGeneratorRate(double alarmsPerSecond)
{
    if (!(alarmsPerSecond > 0)) {
        thread.setTicker(AlarmEventThread::Clock::duration::zero(), {});
        return;
    }
    const double rate = std::min(alarmsPerSecond, maxGeneratorRate);
    const auto interval = std::chrono::duration_cast<AlarmEventThread::Clock::duration>(
        std::chrono::duration<double>(1.0 / rate));
    thread.setTicker(interval, [this] { generate(); });
}

void SimAlarmEngine::generate()
{
    const QVector<SimScenario::Probe>& probes = scenario.probes();
    if (probes.isEmpty())
        return;
    QRandomGenerator* random = QRandomGenerator::global();
    const SimScenario::Probe& probe = probes.at(int(random->bounded(quint32(probes.size()))));
    const SimAlarmCatalogue::Kind& kind =
        SimAlarmCatalogue::at(int(random->bounded(quint32(SimAlarmCatalogue::count()))));
    addAlarm(makeAlarm(probe, kind, QDateTime::currentDateTime(), AlarmUid::make()));
}

void SimAlarmEngine::setAnswerDelay(int milliseconds)
{
    answerDelay = std::max(0, milliseconds);
}

void SimAlarmEngine::failNext(int count, int errorCode, const std::string& errorMsg)
{
    failCount = std::max(0, count);
    failNextOutcome = {errorCode, errorMsg};
}

void SimAlarmEngine::failAlarms(const std::set<std::string>& alarmUids, int errorCode,
                                const std::string& errorMsg)
{
    failingUids.insert(alarmUids.begin(), alarmUids.end());
    failUidOutcome = {errorCode, errorMsg};
}

void SimAlarmEngine::dropNext(int count)
{
    dropCount = std::max(0, count);
}

void SimAlarmEngine::clearFaults()
{
    failCount = 0;
    failingUids.clear();
    dropCount = 0;
}
