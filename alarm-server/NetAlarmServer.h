#pragma once

#include "NetCodec.h"
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
class NetFrontDoor;
class QSslConfiguration;
class QWebSocket;
class QWebSocketServer;
class SimAlarmServer;

// Serves a simulated alarm server to clients over WebSockets, and its live images over HTTP on the same port
// to the holders of a connection's key. A client is admitted by its hello with the
// token and first gets the pushes it missed (or, new, the unhandled alarms) from the database, page by page
// as it reads them; then pushes go to every admitted client, an answer only to the client whose request it
// answers. Each push is encoded once and shared by the clients' queues; a client whose queue outgrows its
// send budget is closed and resumes by number when it comes back.
class NetAlarmServer : public QObject
{
    Q_OBJECT

public:
    // What a client that does not read may hold of the server's memory, unless set otherwise.
    static constexpr qint64 DefaultSendBudget = 32 << 20;
    // Connections not yet welcomed, from one address and in all; more are closed at once.
    static constexpr int MaxUnwelcomedPerAddress = 64;
    static constexpr int MaxUnwelcomed = 256;
    // Pushes read from the database at a time for a client catching up.
    static constexpr int CatchUpPage = 256;

    NetAlarmServer(SimAlarmServer* engine, const SimScenario& scenario, const QByteArray& token,
                   QObject* parent = nullptr);
    ~NetAlarmServer() override;

    // tls: serve wss:// with it, else ws://. False with a one-line reason in error.
    bool listen(const QHostAddress& address, quint16 port, const QSslConfiguration* tls, QString* error);
    quint16 port() const;
    int clientCount() const { return int(clients.size()); }
    void setSendBudget(qint64 bytes) { sendBudget = bytes; }

private:
    struct Client
    {
        QWebSocket* socket = nullptr;
        QHostAddress peer;
        bool admitted = false;
        // Caught up: live pushes go to it.
        bool live = false;
        bool closing = false;
        bool catchingUp = false;
        bool pageAsked = false;
        SimReplay::Position position;
        // Opens the live images to this connection while it lives; sent in the welcome.
        QByteArray imageKey;
        // Frames not yet handed to the socket, their data shared with the other clients' queues.
        std::deque<QByteArray> queue;
        qint64 queued = 0;
    };

    void accept();
    int unwelcomed(const QHostAddress& peer, int* fromPeer) const;
    void onFrame(quint64 id, const QByteArray& frame);
    void admit(quint64 id, Client& client, const QByteArray& frame);
    void refuse(Client& client, NetCodec::ClientMessage& message);
    void take(const QByteArray& frame, bool answer);
    void flush();
    void askPage(quint64 id, Client& client);
    void takePage(quint64 id, const SimReplay& page);
    void route(const QByteArray& frame, bool answer);
    void send(Client& client, const QByteArray& frame);
    void pump(quint64 id);
    void shut(Client& client, int code, const QString& reason);
    void raise(quint64 id, const QString& probeId, const QString& kindKey, const QString& uid);
    void drop(quint64 id);
    bool knowsImageKey(const QByteArray& key) const;

    SimAlarmServer* engine;
    const SimScenario& scenario;
    const QByteArray token;
    QWebSocketServer* server = nullptr;
    NetFrontDoor* door = nullptr;
    std::unique_ptr<NetEventEncoder> encoder;
    std::map<quint64, Client> clients;
    quint64 nextId = 1;
    qint64 sendBudget = DefaultSendBudget;
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
        // Instead of a frame: a page of this client's catch-up.
        quint64 client = 0;
        std::shared_ptr<const SimReplay> page;
    };
    std::mutex outboxMutex;
    std::vector<Outgoing> outbox;
};
