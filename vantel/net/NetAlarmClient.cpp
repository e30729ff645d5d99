#include "NetAlarmClient.h"

#include "NetClientLink.h"
#include "NetCodec.h"
#include "SimAlarmCatalogue.h"
#include "SimAlarmEngine.h"

#include <QThread>

#include <cstdio>

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
    , NetRequestEncoder([this](const QByteArray& frame) { transmit(frame); })
    , address(url)
    , network(std::make_unique<QThread>())
{
    qRegisterMetaType<NetAlarmClient::State>("NetAlarmClient::State");
    delivery.start({});
    NetClientLink::Callbacks callbacks;
    callbacks.received = [this](const QByteArray& frame) {
        received(frame);
    };
    callbacks.lost = [this](const QString& reason) {
        if (current.load() != Refused)
            setState(Lost, reason);
    };
    link = new NetClientLink(url, token, caFile, std::move(callbacks));
    link->moveToThread(network.get());
    connect(network.get(), &QThread::finished, link, &QObject::deleteLater);
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
    delivery.stop();
}

void NetAlarmClient::transmit(const QByteArray& frame)
{
    std::lock_guard<std::mutex> lock(sendMutex);
    if (stopped.load())
        return;
    NetClientLink* target = link;
    QMetaObject::invokeMethod(
        link, [target, frame] { target->send(frame); }, Qt::QueuedConnection);
}

void NetAlarmClient::received(const QByteArray& frame)
{
    NetCodec::ServerMessage message;
    QString error;
    if (!NetCodec::decodeServerMessage(frame, &message, &error)) {
        std::fprintf(stderr, "alarm client: dropped a message from the server: %s\n", qUtf8Printable(error));
        return;
    }
    switch (message.kind) {
    case NetCodec::ServerMessage::Event:
        delivery.publish(std::move(message.event));
        break;
    case NetCodec::ServerMessage::Welcome: {
        {
            std::lock_guard<std::mutex> lock(mutex);
            probes = message.probes;
            server = message.text;
        }
        link->setWelcomed();
        setState(Connected, message.text);
        break;
    }
    case NetCodec::ServerMessage::Error:
        if (message.code == NetCodec::Refused || message.code == NetCodec::VersionMismatch) {
            link->stopReconnecting();
            setState(Refused, message.text);
        } else {
            emit controlFailed(message.text);
        }
        break;
    case NetCodec::ServerMessage::ControlFailed:
        emit controlFailed(message.text);
        break;
    }
}

void NetAlarmClient::setState(State state, const QString& message)
{
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
    const QString uid = QString::fromStdString(SimAlarmEngine::newUid());
    transmit(NetCodec::raise(probeId, kind, uid));
    return uid;
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
