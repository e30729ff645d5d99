#include "NetAlarmServer.h"

#include "NetCodec.h"
#include "NetEventEncoder.h"
#include "NetFrontDoor.h"
#include "NetToken.h"
#include "SimAlarmCatalogue.h"
#include "SimAlarmEngine.h"
#include "SimAlarmServer.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSslConfiguration>
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
} // namespace

NetAlarmServer::NetAlarmServer(SimAlarmServer* engine, const SimScenario& scenario, const QByteArray& token,
                               QObject* parent)
    : QObject(parent), engine(engine), scenario(scenario), token(token)
{
    encoder = std::make_unique<NetEventEncoder>(
        [this](const QByteArray& frame, bool answer) { take(frame, answer); });
    // Behind the events produced before the failure, so that it tells a client that those are out.
    connect(
        engine, &SimControl::controlFailed, this,
        [this](const QString& message) {
            this->engine->afterEarlierEvents(
                [this, frame = NetCodec::controlFailed(message)] { take(frame, false); });
        },
        Qt::DirectConnection);
}

NetAlarmServer::~NetAlarmServer()
{
    engine->SetEventHandler(nullptr);
}

bool NetAlarmServer::listen(const QHostAddress& address, quint16 port, const QSslConfiguration* tls,
                            QString* error)
{
    // The door does TLS and takes the upgrades: the WebSocket server never listens itself.
    server = new QWebSocketServer(QStringLiteral("alarm-server"), QWebSocketServer::NonSecureMode, this);
    server->setHandshakeTimeout(std::chrono::milliseconds(helloTimeoutMs));
    connect(server, &QWebSocketServer::newConnection, this, &NetAlarmServer::accept);
    door = new NetFrontDoor(
        engine->imageFolder(), [this](const QByteArray& key) { return knowsImageKey(key); }, this);
    if (tls)
        door->setTls(*tls);
    connect(door, &NetFrontDoor::upgrade, this,
            [this](QTcpSocket* socket) { server->handleConnection(socket); });
    if (!door->listen(address, port)) {
        *error = tr("cannot listen on %1:%2: %3").arg(address.toString()).arg(port).arg(door->errorString());
        return false;
    }
    engine->SetEventHandler(encoder.get());
    return true;
}

quint16 NetAlarmServer::port() const
{
    return door ? door->serverPort() : 0;
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

bool NetAlarmServer::knowsImageKey(const QByteArray& key) const
{
    for (const auto& [id, client] : clients) {
        if (client.admitted && !client.closing && NetToken::matches(client.imageKey, key))
            return true;
    }
    return false;
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
            // Every request but a dropped one is answered, in the order made.
            if (dropping > 0)
                --dropping;
            else
                waiting.emplace_back(id, message.requestId);
            message.request(engine);
            break;
        case NetCodec::ClientMessage::Raise:
            raise(id, message.probe, message.alarmKind, message.alarmUid);
            break;
        case NetCodec::ClientMessage::Control:
            if (message.op == QLatin1String("dropNext"))
                dropping = qMax(0, message.count);
            else if (message.op == QLatin1String("clearFaults"))
                dropping = 0;
            message.control(engine);
            break;
        }
    }
    pump(id);
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
    } else if (!NetToken::matches(token, message.token)) {
        error = tr("the token was refused");
    } else {
        client.admitted = true;
        client.socket->setMaxAllowedIncomingFrameSize(quint64(NetCodec::MaxFrameBytes));
        client.socket->setMaxAllowedIncomingMessageSize(quint64(NetCodec::MaxFrameBytes));
        QByteArray key(16, Qt::Uninitialized);
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(key.data()), key.size() / 4);
        client.imageKey = key.toHex();
        send(client, NetCodec::welcome(tr("alarm-server on port %1").arg(port()), scenario.probeIds(),
                                       client.imageKey));
        client.catchingUp = true;
        client.position = SimReplay::Position();
        client.position.since = message.since;
        askPage(id, client);
        return;
    }
    // Nothing is queued before the welcome: the error goes straight out, ahead of the close.
    client.socket->sendBinaryMessage(NetCodec::error(code, error));
    shut(client, QWebSocketProtocol::CloseCodePolicyViolated, error);
}

void NetAlarmServer::askPage(quint64 id, Client& client)
{
    client.pageAsked = true;
    engine->replay(client.position, CatchUpPage, [this, id](const std::shared_ptr<const SimReplay>& page) {
        bool first = false;
        {
            std::lock_guard<std::mutex> lock(outboxMutex);
            first = outbox.empty();
            outbox.push_back({QByteArray(), false, id, page});
        }
        if (first)
            QMetaObject::invokeMethod(this, &NetAlarmServer::flush, Qt::QueuedConnection);
    });
}

void NetAlarmServer::take(const QByteArray& frame, bool answer)
{
    bool first = false;
    {
        std::lock_guard<std::mutex> lock(outboxMutex);
        first = outbox.empty();
        outbox.push_back({frame, answer, 0, nullptr});
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
        if (each.page)
            takePage(each.client, *each.page);
        else
            route(each.frame, each.answer);
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
    const auto [id, requestId] = waiting.front();
    waiting.pop_front();
    auto found = clients.find(id);
    if (found != clients.end())
        send(found->second, requestId > 0 ? NetCodec::withId(frame, requestId) : frame);
}

void NetAlarmServer::raise(quint64 id, const QString& probeId, const QString& kindKey, const QString& uid)
{
    const SimScenario::Probe* probe = scenario.probe(probeId);
    const SimAlarmCatalogue::Kind* kind =
        kindKey.isEmpty() ? &SimAlarmCatalogue::at(nextKind++ % SimAlarmCatalogue::count())
                          : SimAlarmCatalogue::find(kindKey);
    if (!probe || !kind) {
        send(clients[id],
             NetCodec::controlFailed(tr("Unknown probe \"%1\" or alarm kind \"%2\".").arg(probeId, kindKey)));
        return;
    }
    engine->injectAlarm(
        SimAlarmEngine::makeAlarm(*probe, *kind, QDateTime::currentDateTime(), uid.toStdString()));
}
