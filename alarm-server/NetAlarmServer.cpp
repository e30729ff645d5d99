#include "NetAlarmServer.h"

#include "SimAlarmCatalogue.h"
#include "SimAlarmEngine.h"
#include "SimAlarmServer.h"
#include "net/NetCodec.h"
#include "net/NetEventEncoder.h"
#include "net/NetToken.h"

#include <QDateTime>
#include <QSslConfiguration>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketServer>

namespace {
// A connection that has not said hello by then is closed.
constexpr int helloTimeoutMs = 10000;
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
    server = new QWebSocketServer(QStringLiteral("alarm-server"),
                                  tls ? QWebSocketServer::SecureMode : QWebSocketServer::NonSecureMode, this);
    if (tls)
        server->setSslConfiguration(*tls);
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
        socket->setMaxAllowedIncomingFrameSize(quint64(NetCodec::MaxFrameBytes));
        socket->setMaxAllowedIncomingMessageSize(quint64(NetCodec::MaxFrameBytes));
        const quint64 id = nextId++;
        clients[id].socket = socket;
        connect(socket, &QWebSocket::binaryMessageReceived, this,
                [this, id](const QByteArray& frame) { onFrame(id, frame); });
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, id](const QString& frame) { onFrame(id, frame.toUtf8()); });
        connect(socket, &QWebSocket::disconnected, this, [this, id] { drop(id); });
        QTimer::singleShot(helloTimeoutMs, socket, [this, id] {
            auto found = clients.find(id);
            if (found != clients.end() && !found->second.admitted)
                found->second.socket->close(QWebSocketProtocol::CloseCodePolicyViolated);
        });
    }
}

void NetAlarmServer::drop(quint64 id)
{
    auto found = clients.find(id);
    if (found == clients.end())
        return;
    found->second.socket->deleteLater();
    clients.erase(found);
}

void NetAlarmServer::onFrame(quint64 id, const QByteArray& frame)
{
    auto found = clients.find(id);
    if (found == clients.end())
        return;
    Client& client = found->second;
    if (!client.admitted) {
        admit(id, client, frame);
        return;
    }
    NetCodec::ClientMessage message;
    QString error;
    if (!NetCodec::decodeClientMessage(frame, &message, &error)) {
        client.socket->sendBinaryMessage(NetCodec::error(NetCodec::Malformed, error));
        return;
    }
    switch (message.kind) {
    case NetCodec::ClientMessage::Hello:
        client.socket->sendBinaryMessage(NetCodec::error(NetCodec::Malformed, tr("hello was already said")));
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
        client.socket->sendBinaryMessage(
            NetCodec::welcome(tr("alarm-server on port %1").arg(port()), scenario.probeIds()));
        engine->replay(message.since, [this, id](const std::shared_ptr<const SimReplay>& replay) {
            bool first = false;
            {
                std::lock_guard<std::mutex> lock(outboxMutex);
                first = outbox.empty();
                outbox.push_back({QByteArray(), false, id, replay});
            }
            if (first)
                QMetaObject::invokeMethod(this, &NetAlarmServer::flush, Qt::QueuedConnection);
        });
        return;
    }
    client.socket->sendBinaryMessage(NetCodec::error(code, error));
    client.socket->close(QWebSocketProtocol::CloseCodePolicyViolated, error);
    Q_UNUSED(id)
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
        if (each.replay)
            catchUp(each.client, *each.replay);
        else
            route(each.frame, each.answer);
    }
}

void NetAlarmServer::catchUp(quint64 id, const SimReplay& replay)
{
    auto found = clients.find(id);
    if (found == clients.end())
        return;
    QWebSocket* socket = found->second.socket;
    socket->sendBinaryMessage(NetCodec::catchUp(replay.reset));
    NetEventEncoder replayer([socket](const QByteArray& frame, bool) { socket->sendBinaryMessage(frame); });
    for (const SimReplay::Push& push : replay.pushes) {
        replayer.nextPushNumber(push.seq);
        if (push.handled)
            replayer.OnAlarmHandled(push.record);
        else
            replayer.OnNewAlarm(push.alarm);
    }
    socket->sendBinaryMessage(NetCodec::caughtUp(replay.upTo));
    // Every push up to the replay's end went out before it in the queue; what follows is live.
    found->second.live = true;
}

void NetAlarmServer::route(const QByteArray& frame, bool answer)
{
    if (!answer) {
        broadcast(frame);
        return;
    }
    if (waiting.empty())
        return;
    const auto [id, requestId] = waiting.front();
    waiting.pop_front();
    auto found = clients.find(id);
    if (found != clients.end())
        found->second.socket->sendBinaryMessage(requestId > 0 ? NetCodec::withId(frame, requestId) : frame);
}

void NetAlarmServer::broadcast(const QByteArray& frame)
{
    for (auto& [id, client] : clients) {
        if (client.live)
            client.socket->sendBinaryMessage(frame);
    }
}

void NetAlarmServer::raise(quint64 id, const QString& probeId, const QString& kindKey, const QString& uid)
{
    const SimScenario::Probe* probe = scenario.probe(probeId);
    const SimAlarmCatalogue::Kind* kind =
        kindKey.isEmpty() ? &SimAlarmCatalogue::at(nextKind++ % SimAlarmCatalogue::count())
                          : SimAlarmCatalogue::find(kindKey);
    if (!probe || !kind) {
        clients[id].socket->sendBinaryMessage(
            NetCodec::controlFailed(tr("Unknown probe \"%1\" or alarm kind \"%2\".").arg(probeId, kindKey)));
        return;
    }
    engine->injectAlarm(
        SimAlarmEngine::makeAlarm(*probe, *kind, QDateTime::currentDateTime(), uid.toStdString()));
}
