#include "NetAlarmServer.h"

#include "AlarmUid.h"
#include "NetCodec.h"
#include "NetEventEncoder.h"
#include "SimAlarmCatalogue.h"
#include "SimAlarmEngine.h"
#include "SimAlarmServer.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSslConfiguration>
#include <QThread>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketServer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// A connection that has not said hello by then is closed.
constexpr int helloTimeoutMs = 5000;
// A socket is handed more frames only below this backlog, so that the queues hold what waits.
constexpr qint64 socketLowWater = 256 << 10;
// A connection told to close is cut if it has not answered by then.
constexpr int closeGraceMs = 1000;
// How often the operators are looked at for a removal made by another process.
constexpr int operatorWatchMs = 1000;

QStringList qtexts(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list.append(QString::fromStdString(text));
    return list;
}
} // namespace

NetAlarmServer::NetAlarmServer(SimAlarmServer* engine, const SimScenario& scenario, OperatorStore* operators,
                               QObject* parent)
    : QObject(parent), engine(engine), scenario(scenario), operators(operators)
{
    encoder = std::make_unique<NetEventEncoder>(
        [this](const QByteArray& frame, bool answer) { take(frame, answer); });
    encoder->setHandledObserver([this](const std::string& uid) {
        queue({QByteArray(), false, 0, nullptr, QString::fromStdString(uid)});
    });
    connect(engine, &SimControl::controlFailed, this, &NetAlarmServer::controlFailed, Qt::DirectConnection);
    operatorWatch = new QTimer(this);
    connect(operatorWatch, &QTimer::timeout, this, &NetAlarmServer::watchOperators);
    operatorWatch->start(operatorWatchMs);
}

void NetAlarmServer::controlFailed(const QString& message)
{
    // A failure reported while a client's control is carried out goes to that client alone, without what
    // the server's internals said (after the first ": "), which only its log keeps.
    const quint64 to = QThread::currentThread() == thread() ? controlling : controlSender.load();
    std::fprintf(stderr, "alarm-server: a control failed: %s\n", qUtf8Printable(message));
    if (to == 0)
        return;
    const QString shown = message.section(QStringLiteral(": "), 0, 0);
    // Behind the events produced before the failure, so that it tells the client that those are out.
    engine->afterEarlierEvents([this, to, frame = NetCodec::controlFailed(shown)] {
        queue({frame, false, to, nullptr, QString()});
    });
}

NetAlarmServer::~NetAlarmServer()
{
    engine->SetEventHandler(nullptr);
}

bool NetAlarmServer::listen(const QHostAddress& address, quint16 port, const QSslConfiguration* tls,
                            QString* error)
{
    server = new QWebSocketServer(QStringLiteral("alarm-server"),
                                  tls ? QWebSocketServer::SecureMode : QWebSocketServer::NonSecureMode, this);
    if (tls)
        server->setSslConfiguration(*tls);
    server->setHandshakeTimeout(std::chrono::milliseconds(helloTimeoutMs));
    connect(server, &QWebSocketServer::newConnection, this, &NetAlarmServer::accept);
    if (!server->listen(address, port)) {
        *error =
            tr("cannot listen on %1:%2: %3").arg(address.toString()).arg(port).arg(server->errorString());
        return false;
    }
    engine->SetEventHandler(encoder.get());
    return true;
}

quint16 NetAlarmServer::port() const
{
    return server ? server->serverPort() : 0;
}

void NetAlarmServer::accept()
{
    while (QWebSocket* socket = server->nextPendingConnection()) {
        socket->setParent(this);
        int fromPeer = 0;
        const QHostAddress peer = socket->peerAddress();
        if (unwelcomed(peer, &fromPeer) >= MaxUnwelcomed || fromPeer >= MaxUnwelcomedPerAddress) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setMaxAllowedIncomingFrameSize(quint64(NetCodec::MaxHelloBytes));
        socket->setMaxAllowedIncomingMessageSize(quint64(NetCodec::MaxHelloBytes));
        const quint64 id = nextId++;
        clients[id].socket = socket;
        clients[id].peer = peer;
        clients[id].peerText = QStringLiteral("%1:%2").arg(peer.toString()).arg(socket->peerPort());
        connect(socket, &QWebSocket::binaryMessageReceived, this,
                [this, id](const QByteArray& frame) { onFrame(id, frame); });
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, id](const QString& frame) { onFrame(id, frame.toUtf8()); });
        connect(socket, &QWebSocket::bytesWritten, this, [this, id] { pump(id); });
        connect(socket, &QWebSocket::disconnected, this, [this, id] { drop(id); });
        QTimer::singleShot(helloTimeoutMs, socket, [this, id] {
            auto found = clients.find(id);
            if (found != clients.end() && !found->second.admitted)
                shut(found->second, QWebSocketProtocol::CloseCodePolicyViolated, tr("no hello in time"));
        });
    }
}

int NetAlarmServer::unwelcomed(const QHostAddress& peer, int* fromPeer) const
{
    int all = 0;
    for (const auto& [id, client] : clients) {
        if (client.admitted || client.closing)
            continue;
        ++all;
        if (client.peer.isEqual(peer))
            ++*fromPeer;
    }
    return all;
}

void NetAlarmServer::drop(quint64 id)
{
    auto found = clients.find(id);
    if (found == clients.end())
        return;
    Client& client = found->second;
    const bool heavy = client.queued > socketLowWater;
    if (client.admitted && !client.who.name.isEmpty()) {
        audit(QStringLiteral("disconnect"), client);
        client.admitted = false;
        // A console that comes back soon keeps its marks.
        const QString name = client.who.name;
        if (!isConnected(name) && !leaving.count(name)) {
            QTimer* grace = new QTimer(this);
            grace->setSingleShot(true);
            connect(grace, &QTimer::timeout, this, [this, name] { endMarksOf(name); });
            grace->start(MarkGraceMs);
            leaving[name] = grace;
        }
    }
    client.closing = true;
    client.live = false;
    client.catchingUp = false;
    std::deque<QByteArray>().swap(client.queue);
    client.socket->deleteLater();
    // A socket may report its end from within a call made on it: the entry goes once that call is over.
    QMetaObject::invokeMethod(
        this, [this, id] { clients.erase(id); }, Qt::QueuedConnection);
#ifdef __GLIBC__
    // What a large queue took goes back to the system rather than staying with the process.
    if (heavy)
        malloc_trim(0);
#else
    Q_UNUSED(heavy)
#endif
}

void NetAlarmServer::shut(Client& client, int code, const QString& reason)
{
    if (client.closing)
        return;
    client.closing = true;
    client.live = false;
    client.catchingUp = false;
    client.queued = 0;
    std::deque<QByteArray>().swap(client.queue);
    client.socket->close(QWebSocketProtocol::CloseCode(code), reason);
    QTimer::singleShot(closeGraceMs, client.socket, &QWebSocket::abort);
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void NetAlarmServer::send(Client& client, const QByteArray& frame)
{
    if (client.closing)
        return;
    client.queue.push_back(frame);
    client.queued += frame.size();
    if (client.queued + client.socket->bytesToWrite() > sendBudget)
        shut(client, NetCodec::CloseTooSlow, tr("the client did not read its pushes; reconnect to resume"));
}

void NetAlarmServer::pump(quint64 id)
{
    auto found = clients.find(id);
    if (found == clients.end() || found->second.closing)
        return;
    Client& client = found->second;
    while (!client.queue.empty() && client.socket->bytesToWrite() < socketLowWater) {
        const QByteArray frame = std::move(client.queue.front());
        client.queue.pop_front();
        client.queued -= frame.size();
        client.socket->sendBinaryMessage(frame);
    }
    // The next page of a catch-up is read only once the last one is out: a long history never waits here.
    if (client.catchingUp && !client.pageAsked && client.queue.empty() &&
        client.socket->bytesToWrite() < socketLowWater)
        askPage(id, client);
}

void NetAlarmServer::onFrame(quint64 id, const QByteArray& frame)
{
    auto found = clients.find(id);
    if (found == clients.end() || found->second.closing)
        return;
    Client& client = found->second;
    if (!client.admitted) {
        admit(id, client, frame);
        pump(id);
        return;
    }
    NetCodec::ClientMessage message;
    QString error;
    if (!NetCodec::decodeClientMessage(frame, &message, &error)) {
        send(client, NetCodec::error(NetCodec::Malformed, error));
    } else if (!message.refusal.isEmpty()) {
        refuse(client, message);
    } else {
        switch (message.kind) {
        case NetCodec::ClientMessage::Hello:
            send(client, NetCodec::error(NetCodec::Malformed, tr("hello was already said")));
            break;
        case NetCodec::ClientMessage::Request:
            request(id, client, message);
            break;
        case NetCodec::ClientMessage::Raise:
            if (allowed(client, AlarmPresence::Control, tr("raise alarms")))
                raise(id, message);
            break;
        case NetCodec::ClientMessage::Control:
            if (allowed(client, AlarmPresence::Control, tr("drive the simulator")))
                control(id, client, message);
            break;
        case NetCodec::ClientMessage::Take:
        case NetCodec::ClientMessage::Release:
            if (allowed(client, AlarmPresence::Handle, tr("handle alarms")))
                mark(client, message.kind == NetCodec::ClientMessage::Take, qtexts(message.uids));
            break;
        }
    }
    pump(id);
}

bool NetAlarmServer::allowed(Client& client, AlarmPresence::Rights needed, const QString& what)
{
    if (client.who.rights >= needed)
        return true;
    const QString text = tr("The operator %1 may not %2 (rights: %3).")
                             .arg(client.who.name, what, OperatorStore::rightsText(client.who.rights));
    audit(QStringLiteral("refused"), client, text);
    send(client, NetCodec::error(NetCodec::Forbidden, text));
    return false;
}

void NetAlarmServer::request(quint64 id, Client& client, NetCodec::ClientMessage& message)
{
    const bool handling = message.op == QLatin1String("handle");
    const QString detail = handling ? QStringLiteral("state=%1 alarms=%2")
                                          .arg(message.count)
                                          .arg(qtexts(message.uids).join(QLatin1Char(' ')))
                                    : QString();
    if (handling && client.who.rights < AlarmPresence::Handle) {
        const QString text =
            tr("The operator %1 may only watch alarms; the handling is refused.").arg(client.who.name);
        audit(QStringLiteral("handle"), client,
              detail + QStringLiteral(" result=%1").arg(int(NetCodec::Forbidden)));
        send(client, NetCodec::refusalAnswer(message, NetCodec::Forbidden, text));
        return;
    }
    // Every request but a dropped one is answered, in the order made.
    if (dropping > 0)
        --dropping;
    else
        waiting.push_back({id, message.requestId, handling, client.who.name, client.peerText, detail});
    if (handling)
        engine->handleAlarmsAs(client.who.name, client.who.telephone, message.uids, message.note.c_str(),
                               message.count, message.requester.c_str(), message.batch);
    else
        message.request(engine);
}

void NetAlarmServer::control(quint64 id, Client& client, NetCodec::ClientMessage& message)
{
    audit(QStringLiteral("control"), client, message.op);
    if (message.op == QLatin1String("takeOther")) {
        setMarks(qtexts(message.uids), message.name);
        return;
    }
    if (message.op == QLatin1String("dropNext"))
        dropping = qMax(0, message.count);
    else if (message.op == QLatin1String("clearFaults"))
        dropping = 0;
    controlling = id;
    engine->inOrder([this, id] { controlSender.store(id); });
    message.control(engine);
    engine->inOrder([this] { controlSender.store(0); });
    controlling = 0;
}

void NetAlarmServer::mark(const Client& client, bool take, const QStringList& uids)
{
    audit(take ? QStringLiteral("taken") : QStringLiteral("released"), client, uids.join(QLatin1Char(' ')));
    // A release ends this operator's own marks only.
    QStringList changed;
    for (const QString& uid : uids) {
        auto found = marks.find(uid);
        if (take || (found != marks.end() && found->second == client.who.name))
            changed.append(uid);
    }
    setMarks(changed, take ? client.who.name : QString());
}

void NetAlarmServer::setMarks(const QStringList& uids, const QString& taker)
{
    if (uids.isEmpty())
        return;
    for (const QString& uid : uids) {
        if (taker.isEmpty())
            marks.erase(uid);
        else
            marks[uid] = taker;
    }
    const QByteArray frame = NetCodec::marks(uids, taker);
    for (auto& [id, client] : clients) {
        if (client.admitted) {
            send(client, frame);
            pump(id);
        }
    }
}

void NetAlarmServer::sendMarks(Client& client)
{
    std::map<QString, QStringList> byTaker;
    for (const auto& [uid, taker] : marks)
        byTaker[taker].append(uid);
    for (const auto& [taker, uids] : byTaker)
        send(client, NetCodec::marks(uids, taker));
}

void NetAlarmServer::endMarksOf(const QString& taker)
{
    auto grace = leaving.find(taker);
    if (grace != leaving.end()) {
        grace->second->deleteLater();
        leaving.erase(grace);
    }
    if (isConnected(taker))
        return;
    QStringList uids;
    for (const auto& [uid, name] : marks) {
        if (name == taker)
            uids.append(uid);
    }
    setMarks(uids, QString());
}

bool NetAlarmServer::isConnected(const QString& operatorName) const
{
    for (const auto& [id, client] : clients) {
        if (client.admitted && !client.closing && client.who.name == operatorName)
            return true;
    }
    return false;
}

void NetAlarmServer::watchOperators()
{
    if (!operators->changedElsewhere())
        return;
    for (auto& [id, client] : clients) {
        if (!client.admitted || client.closing || operators->isActive(client.who.id))
            continue;
        audit(QStringLiteral("revoked"), client);
        send(client,
             NetCodec::error(NetCodec::Revoked, tr("The operator %1 was removed.").arg(client.who.name)));
        pump(id);
        shut(client, NetCodec::CloseRevoked, tr("operator removed"));
        // Nobody waits for a removed operator to come back.
        endMarksOf(client.who.name);
    }
}

void NetAlarmServer::audit(const QString& event, const Client& client, const QString& detail)
{
    operators->audit(event, client.who.name, client.peerText, detail);
}

void NetAlarmServer::refuse(Client& client, NetCodec::ClientMessage& message)
{
    if (message.kind != NetCodec::ClientMessage::Request) {
        send(client, NetCodec::error(NetCodec::Malformed, message.refusal));
        return;
    }
    // Answered here: the engine never sees it.
    send(client, NetCodec::refusalAnswer(message));
}

void NetAlarmServer::admit(quint64 id, Client& client, const QByteArray& frame)
{
    NetCodec::ClientMessage message;
    QString error;
    int code = NetCodec::Refused;
    if (!NetCodec::decodeClientMessage(frame, &message, &error) ||
        message.kind != NetCodec::ClientMessage::Hello) {
        error = tr("the first message must be hello");
    } else if (message.version != NetCodec::Version) {
        code = NetCodec::VersionMismatch;
        error = tr("protocol version %1 is not served; this server speaks %2")
                    .arg(message.version)
                    .arg(int(NetCodec::Version));
    } else if (const OperatorStore::Match match = operators->find(message.token, &client.who);
               match != OperatorStore::Found) {
        error = match == OperatorStore::Removed ? tr("the operator %1 was removed").arg(client.who.name)
                                                : tr("the token was refused");
        if (match == OperatorStore::Removed)
            code = NetCodec::Revoked;
    } else {
        client.admitted = true;
        audit(QStringLiteral("connect"), client);
        if (auto grace = leaving.find(client.who.name); grace != leaving.end()) {
            grace->second->deleteLater();
            leaving.erase(grace);
        }
        client.socket->setMaxAllowedIncomingFrameSize(quint64(NetCodec::MaxFrameBytes));
        client.socket->setMaxAllowedIncomingMessageSize(quint64(NetCodec::MaxFrameBytes));
        send(client, NetCodec::welcome(tr("alarm-server on port %1").arg(port()), scenario.probeIds(),
                                       client.who.name, client.who.telephone, int(client.who.rights)));
        sendMarks(client);
        client.catchingUp = true;
        client.position = SimReplay::Position();
        client.position.since = message.since;
        askPage(id, client);
        return;
    }
    operators->audit(QStringLiteral("refused hello"), client.who.name, client.peerText, error);
    // Nothing is queued before the welcome: the error goes straight out, ahead of the close.
    client.socket->sendBinaryMessage(NetCodec::error(code, error));
    shut(client,
         code == NetCodec::Revoked ? int(NetCodec::CloseRevoked)
                                   : int(QWebSocketProtocol::CloseCodePolicyViolated),
         error);
}

void NetAlarmServer::askPage(quint64 id, Client& client)
{
    client.pageAsked = true;
    engine->replay(client.position, CatchUpPage, [this, id](const std::shared_ptr<const SimReplay>& page) {
        queue({QByteArray(), false, id, page, QString()});
    });
}

void NetAlarmServer::take(const QByteArray& frame, bool answer)
{
    queue({frame, answer, 0, nullptr, QString()});
}

void NetAlarmServer::queue(Outgoing item)
{
    bool first = false;
    {
        std::lock_guard<std::mutex> lock(outboxMutex);
        first = outbox.empty();
        outbox.push_back(std::move(item));
    }
    // One wake-up for a whole burst; the order of the events is kept.
    if (first)
        QMetaObject::invokeMethod(this, &NetAlarmServer::flush, Qt::QueuedConnection);
}

void NetAlarmServer::flush()
{
    std::vector<Outgoing> batch;
    {
        std::lock_guard<std::mutex> lock(outboxMutex);
        batch.swap(outbox);
    }
    for (const Outgoing& each : batch) {
        if (each.page) {
            takePage(each.client, *each.page);
        } else if (!each.handled.isEmpty()) {
            if (marks.count(each.handled))
                setMarks({each.handled}, QString());
        } else if (each.client) {
            if (auto found = clients.find(each.client); found != clients.end())
                send(found->second, each.frame);
        } else {
            route(each.frame, each.answer);
        }
    }
    for (auto& [id, client] : clients) {
        if (!client.queue.empty())
            pump(id);
    }
}

void NetAlarmServer::takePage(quint64 id, const SimReplay& page)
{
    auto found = clients.find(id);
    if (found == clients.end() || !found->second.catchingUp)
        return;
    Client& client = found->second;
    client.pageAsked = false;
    if (!client.position.started)
        send(client, NetCodec::catchUp(page.reset));
    NetEventEncoder replayer([this, &client](const QByteArray& frame, bool) { send(client, frame); });
    for (const SimReplay::Push& push : page.pushes) {
        replayer.nextPushNumber(push.seq);
        if (push.handled)
            replayer.OnAlarmHandled(push.record);
        else
            replayer.OnNewAlarm(push.alarm);
    }
    client.position = page.next;
    if (page.complete) {
        send(client, NetCodec::caughtUp(page.upTo));
        // Every push up to the page's end went out before it in the queue; what follows is live.
        client.catchingUp = false;
        client.live = !client.closing;
    }
    pump(id);
}

void NetAlarmServer::route(const QByteArray& frame, bool answer)
{
    if (!answer) {
        for (auto& [id, client] : clients) {
            if (client.live)
                send(client, frame);
        }
        return;
    }
    if (waiting.empty())
        return;
    const Waiting asked = waiting.front();
    waiting.pop_front();
    if (asked.handling) {
        const int result = QJsonDocument::fromJson(frame).object().value(QLatin1String("result")).toInt();
        operators->audit(QStringLiteral("handle"), asked.who, asked.peer,
                         asked.detail + QStringLiteral(" result=%1").arg(result));
    }
    auto found = clients.find(asked.client);
    if (found != clients.end())
        send(found->second, asked.requestId > 0 ? NetCodec::withId(frame, asked.requestId) : frame);
}

void NetAlarmServer::raise(quint64 id, const NetCodec::ClientMessage& message)
{
    const QString& probeId = message.probe;
    const QString& kindKey = message.alarmKind;
    const SimScenario::Probe* probe = scenario.probe(probeId);
    const SimAlarmCatalogue::Kind* kind =
        kindKey.isEmpty() ? &SimAlarmCatalogue::at(nextKind++ % SimAlarmCatalogue::count())
                          : SimAlarmCatalogue::find(kindKey);
    if (!probe || !kind) {
        send(clients[id],
             NetCodec::controlFailed(tr("Unknown probe \"%1\" or alarm kind \"%2\".").arg(probeId, kindKey)));
        return;
    }
    // The server names the alarm: a client cannot push a uid of its choosing to everybody.
    const std::string uid = AlarmUid::make();
    audit(QStringLiteral("control"), clients[id],
          QStringLiteral("raise %1").arg(QString::fromStdString(uid)));
    send(clients[id], NetCodec::raised(message.ref, QString::fromStdString(uid)));
    controlling = id;
    engine->inOrder([this, id] { controlSender.store(id); });
    engine->injectAlarm(SimAlarmEngine::makeAlarm(*probe, *kind, QDateTime::currentDateTime(), uid));
    engine->inOrder([this] { controlSender.store(0); });
    controlling = 0;
}
