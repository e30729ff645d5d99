#pragma once

#include "SimReplay.h"
#include "SimScenario.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class NetEventEncoder;
class QSslConfiguration;
class QWebSocket;
class QWebSocketServer;
class SimAlarmServer;

// Serves a simulated alarm server to clients over WebSockets. A client is admitted by its hello with the
// token and first gets the pushes it missed (or, new, the unhandled alarms) from the database; then pushes go
// to every admitted client, an answer only to the client whose request it answers.
class NetAlarmServer : public QObject
{
    Q_OBJECT

public:
    NetAlarmServer(SimAlarmServer* engine, const SimScenario& scenario, const QByteArray& token,
                   QObject* parent = nullptr);
    ~NetAlarmServer() override;

    // tls: serve wss:// with it, else ws://. False with a one-line reason in error.
    bool listen(const QHostAddress& address, quint16 port, const QSslConfiguration* tls, QString* error);
    quint16 port() const;
    int clientCount() const { return int(clients.size()); }

private:
    struct Client
    {
        QWebSocket* socket = nullptr;
        bool admitted = false;
        // Caught up: live pushes go to it.
        bool live = false;
    };

    void accept();
    void onFrame(quint64 id, const QByteArray& frame);
    void admit(quint64 id, Client& client, const QByteArray& frame);
    void take(const QByteArray& frame, bool answer);
    void flush();
    void catchUp(quint64 id, const SimReplay& replay);
    void route(const QByteArray& frame, bool answer);
    void broadcast(const QByteArray& frame);
    void raise(quint64 id, const QString& probeId, const QString& kindKey, const QString& uid);
    void drop(quint64 id);

    SimAlarmServer* engine;
    const SimScenario& scenario;
    const QByteArray token;
    QWebSocketServer* server = nullptr;
    std::unique_ptr<NetEventEncoder> encoder;
    std::map<quint64, Client> clients;
    quint64 nextId = 1;
    // The clients whose requests wait for their answers, with the requests' ids, in the order the engine
    // answers them.
    std::deque<std::pair<quint64, qint64>> waiting;
    // Mirrors the engine's count of answers to drop.
    int dropping = 0;
    int nextKind = 0;

    // Events encoded on the engine's thread wait here for this one, which takes them in batches.
    struct Outgoing
    {
        QByteArray frame;
        bool answer = false;
        // Instead of a frame: the catch-up of this client.
        quint64 client = 0;
        std::shared_ptr<const SimReplay> replay;
    };
    std::mutex outboxMutex;
    std::vector<Outgoing> outbox;
};
