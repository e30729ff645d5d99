#include "NetAlarmClient.h"

#include "NetClientLink.h"
#include "NetCodec.h"
#include "SimAlarmCatalogue.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QThread>

#include <cstdio>
#include <utility>

namespace {

QString failWith(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return QString();
}

} // namespace

NetAlarmClient::NetAlarmClient(const QUrl& url, const QByteArray& token, const QString& caFile,
                               QObject* parent)
    : SimControl(parent)
    , NetRequestEncoder(
          [this](const QByteArray& frame, const Failure& failure) { transmitRequest(frame, failure); })
    , address(url)
    , marks([this](const QByteArray& frame) { transmit(frame); })
{
    qRegisterMetaType<NetAlarmClient::State>("NetAlarmClient::State");
    delivery.start({});
    NetClientLink::Callbacks callbacks;
    callbacks.received = [this](const QByteArray& frame) {
        received(frame);
    };
    callbacks.lost = [this](const QString& reason, int attempt) {
        catchingUp = false;
        failOutstanding();
        attempts.store(attempt);
        if (link->wasRevoked() && current.load() != Revoked)
            setState(Revoked, reason);
        else if (current.load() != Refused && current.load() != Revoked)
            setState(Lost, reason);
    };
    callbacks.since = [this] {
        return delivered.load();
    };
    link = new NetClientLink(url, token, caFile, std::move(callbacks));
    network.reset(QThread::create([this] {
        QEventLoop loop;
        loop.exec();
        delete link;
        // Qt's wait for a thread is invisible to the race checker; this lock, taken again after the wait,
        // shows that what the thread left (outstanding requests, raises) is the destructor's to read.
        std::lock_guard<std::mutex> lock(sendMutex);
    }));
    link->moveToThread(network.get());
    network->setObjectName(QStringLiteral("alarm client"));
    network->start();
    QMetaObject::invokeMethod(link, &NetClientLink::open, Qt::QueuedConnection);
}

NetAlarmClient::~NetAlarmClient()
{
    shutdown();
}

QString NetAlarmClient::serverName() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return server;
}

void NetAlarmClient::shutdown()
{
    {
        std::lock_guard<std::mutex> lock(sendMutex);
        if (stopped.exchange(true))
            return;
    }
    network->quit();
    network->wait();
    {
        // Pairs with the thread's last lock: what it left is ours from here on.
        std::lock_guard<std::mutex> joined(sendMutex);
    }
    delivery.stop();
}

void NetAlarmClient::onLink(std::function<void(NetClientLink*)> work)
{
    std::lock_guard<std::mutex> lock(sendMutex);
    if (stopped.load())
        return;
    linkWork.push_back(std::move(work));
    // One wake-up for what piles up meanwhile; the order is kept.
    if (linkWork.size() == 1)
        QMetaObject::invokeMethod(
            link, [this] { runLinkWork(); }, Qt::QueuedConnection);
}

void NetAlarmClient::runLinkWork()
{
    std::deque<std::function<void(NetClientLink*)>> batch;
    {
        std::lock_guard<std::mutex> lock(sendMutex);
        batch.swap(linkWork);
    }
    for (const auto& work : batch)
        work(link);
}

void NetAlarmClient::transmit(const QByteArray& frame)
{
    onLink([frame](NetClientLink* target) { target->send(frame); });
}

void NetAlarmClient::cutLink(int holdMs)
{
    onLink([holdMs](NetClientLink* target) { target->cut(holdMs); });
}

void NetAlarmClient::transmitRequest(const QByteArray& frame, const Failure& failure)
{
    const qint64 id = nextRequestId.fetch_add(1);
    onLink([this, id, frame = NetCodec::withId(frame, id), failure](NetClientLink* target) {
        if (target->sendNow(frame))
            outstanding.emplace(id, failure);
        else
            fail(failure);
    });
}

void NetAlarmClient::fail(const Failure& failure)
{
    delivery.publish([failure](IAlarmEvent* handler) {
        failure(handler, NetCodec::Unreachable, QObject::tr("Alarm server unreachable").toUtf8().constData());
    });
}

void NetAlarmClient::failOutstanding()
{
    for (const auto& [id, failure] : std::exchange(outstanding, {}))
        fail(failure);
    std::lock_guard<std::mutex> lock(raiseMutex);
    for (const auto& [ref, promise] : std::exchange(raises, {}))
        promise->set_value(QString());
}

void NetAlarmClient::raised(qint64 ref, const QString& uid)
{
    std::shared_ptr<std::promise<QString>> promise;
    {
        std::lock_guard<std::mutex> lock(raiseMutex);
        auto found = raises.find(ref);
        if (found == raises.end())
            return;
        promise = found->second;
        raises.erase(found);
    }
    promise->set_value(uid);
}

void NetAlarmClient::deliver(NetCodec::ServerMessage& message)
{
    if (message.answer) {
        // An answer whose request was already answered for a lost link is not given twice.
        if (message.requestId > 0 && outstanding.erase(message.requestId) == 0)
            return;
        delivery.publish(std::move(message.event));
        return;
    }
    if (message.seq <= 0) {
        delivery.publish(std::move(message.event));
        return;
    }
    if (catchingUp)
        ++replayed;
    // A push already delivered comes again when a catch-up overlaps what was still queued here.
    delivery.publish([this, seq = message.seq, event = std::move(message.event)](IAlarmEvent* handler) {
        if (seq <= delivered.load())
            return;
        event(handler);
        delivered.store(seq);
    });
}

void NetAlarmClient::received(const QByteArray& frame)
{
    NetCodec::ServerMessage message;
    QString error;
    const auto images = [this](const std::string& urls) {
        return NetCodec::imageUrls(urls, address, imageKey);
    };
    if (!NetCodec::decodeServerMessage(frame, &message, &error, images)) {
        std::fprintf(stderr, "alarm client: dropped a message from the server: %s\n", qUtf8Printable(error));
        return;
    }
    switch (message.kind) {
    case NetCodec::ServerMessage::Event:
        deliver(message);
        break;
    case NetCodec::ServerMessage::CatchUp:
        catchingUp = true;
        // The server does not know our number (another database): its unhandled alarms start afresh.
        if (message.reset)
            delivery.publish([this](IAlarmEvent*) { delivered.store(-1); });
        break;
    case NetCodec::ServerMessage::CaughtUp:
        catchingUp = false;
        delivery.publish([this, seq = message.seq](IAlarmEvent*) {
            if (seq > delivered.load())
                delivered.store(seq);
        });
        break;
    case NetCodec::ServerMessage::Welcome: {
        {
            std::lock_guard<std::mutex> lock(mutex);
            probes = message.probes;
            server = message.text;
        }
        if (message.rights >= 0)
            marks.setSelf({message.operatorName, message.operatorTel, AlarmPresence::Rights(message.rights)});
        // The server sends its marks again after the welcome.
        marks.clearTaken();
        imageKey = message.imageKey;
        link->setWelcomed();
        attempts.store(0);
        setState(Connected, message.text);
        break;
    }
    case NetCodec::ServerMessage::Marks:
        // This operator's own marks are not shown; one replaces another operator's.
        marks.setTaken(message.uids, message.text == marks.self().name ? QString() : message.text);
        break;
    case NetCodec::ServerMessage::Raised:
        raised(message.requestId, message.text);
        break;
    case NetCodec::ServerMessage::Error:
        if (message.code == NetCodec::Revoked) {
            link->stopReconnecting();
            setState(Revoked, message.text);
        } else if (message.code == NetCodec::Refused || message.code == NetCodec::VersionMismatch) {
            link->stopReconnecting();
            setState(Refused, message.text);
        } else {
            emit controlFailed(message.text);
        }
        break;
    case NetCodec::ServerMessage::ControlFailed:
        // In its place among the events, as the server sent it.
        delivery.publish([this, text = message.text](IAlarmEvent*) { emit controlFailed(text); });
        break;
    }
}

QString NetAlarmClient::lostReason() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return reason;
}

void NetAlarmClient::setState(State state, const QString& message)
{
    if (state != Connected) {
        std::lock_guard<std::mutex> lock(mutex);
        reason = message;
    }
    current.store(state);
    emit stateChanged(state, message);
}

void NetAlarmClient::SetEventHandler(IAlarmEvent* handler)
{
    delivery.setHandler(handler);
}

QStringList NetAlarmClient::probeIds() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return probes;
}

QString NetAlarmClient::raiseAlarm(const QString& probeId, const QString& kind, QString* error)
{
    if (!probeIds().contains(probeId))
        return failWith(error, tr("Unknown probe \"%1\".").arg(probeId));
    if (!kind.isEmpty() && !SimAlarmCatalogue::find(kind)) {
        return failWith(error, tr("Unknown alarm kind \"%1\"; known kinds: %2.")
                                   .arg(kind, SimAlarmCatalogue::keys().join(QStringLiteral(", "))));
    }
    if (!marks.mayControl())
        return failWith(error, tr("This operator may not raise alarms."));
    const qint64 ref = nextRequestId.fetch_add(1);
    auto promise = std::make_shared<std::promise<QString>>();
    std::future<QString> uid = promise->get_future();
    {
        std::lock_guard<std::mutex> lock(raiseMutex);
        raises.emplace(ref, promise);
    }
    transmit(NetCodec::raise(probeId, kind, ref));
    if (uid.wait_for(std::chrono::milliseconds(RaiseWaitMs)) != std::future_status::ready) {
        std::lock_guard<std::mutex> lock(raiseMutex);
        raises.erase(ref);
        return failWith(error, tr("The alarm server did not name the new alarm in time."));
    }
    const QString made = uid.get();
    return made.isEmpty() ? failWith(error, tr("Alarm server unreachable")) : made;
}

bool NetAlarmClient::storm(int alarmCount, int probeCount, QString* error)
{
    if (alarmCount <= 0 || probeCount <= 0) {
        failWith(error, tr("A storm needs a positive number of alarms and of probes."));
        return false;
    }
    transmit(NetCodec::control(QStringLiteral("storm"), {{"count", alarmCount}, {"probes", probeCount}}));
    return true;
}

void NetAlarmClient::setGeneratorRate(double alarmsPerSecond)
{
    transmit(NetCodec::control(QStringLiteral("rate"), {{"value", alarmsPerSecond}}));
}

void NetAlarmClient::handleAsOtherOperator(const QString& alarmUid, int handleMode, const QString& note,
                                           const QString& principal, const QString& telephone)
{
    transmit(NetCodec::control(QStringLiteral("handleOther"), {{"uid", alarmUid},
                                                               {"mode", handleMode},
                                                               {"note", note},
                                                               {"principal", principal},
                                                               {"tel", telephone}}));
}

void NetAlarmClient::takeAsOtherOperator(const QStringList& alarmUids, const QString& operatorName)
{
    transmit(NetCodec::control(QStringLiteral("takeOther"),
                               {{"uids", QJsonArray::fromStringList(alarmUids)}, {"name", operatorName}}));
}

void NetAlarmClient::setAnswerDelay(int milliseconds)
{
    transmit(NetCodec::control(QStringLiteral("answerDelay"), {{"ms", milliseconds}}));
}

void NetAlarmClient::failNextRequests(int count, int errorCode, const QString& errorMsg)
{
    transmit(NetCodec::control(QStringLiteral("failNext"),
                               {{"count", count}, {"code", errorCode}, {"message", errorMsg}}));
}

void NetAlarmClient::failAlarms(const QStringList& alarmUids, int errorCode, const QString& errorMsg)
{
    transmit(NetCodec::control(
        QStringLiteral("failAlarms"),
        {{"uids", QJsonArray::fromStringList(alarmUids)}, {"code", errorCode}, {"message", errorMsg}}));
}

void NetAlarmClient::dropNextAnswers(int count)
{
    transmit(NetCodec::control(QStringLiteral("dropNext"), {{"count", count}}));
}

void NetAlarmClient::clearFaults()
{
    transmit(NetCodec::control(QStringLiteral("clearFaults"), {}));
}
