#pragma once

#include "NetCodec.h"
#include "OperatorStore.h"
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
class QTimer;
class QWebSocket;
class QWebSocketServer;
class SimAlarmServer;

// Serves a simulated alarm server to clients over WebSockets. A client is admitted by its hello with its
// operator's token; what it may do follows the operator's rights, and what it does is written to the
// audit with the operator's name. It first gets the pushes it missed (or, new, the unhandled alarms) from the
// database, page by page as it reads them; then pushes go to every admitted client, an answer only to the
// client whose request it answers. Each push is encoded once and shared by the clients' queues; a client
// whose queue outgrows its send budget is closed and resumes by number when it comes back. The server keeps
// which operator has which alarms open and tells every client; a removed operator's connections are closed
// within seconds.
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

    // How long an operator's marks outlive their last connection.
    static constexpr int MarkGraceMs = 30000;

    NetAlarmServer(SimAlarmServer* engine, const SimScenario& scenario, OperatorStore* operators,
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
        QString peerText;
        OperatorStore::Operator who;
        bool admitted = false;
        // Caught up: live pushes go to it.
        bool live = false;
        bool closing = false;
        bool catchingUp = false;
        bool pageAsked = false;
        SimReplay::Position position;
        // Frames not yet handed to the socket, their data shared with the other clients' queues.
        std::deque<QByteArray> queue;
        qint64 queued = 0;
    };

    void accept();
    int unwelcomed(const QHostAddress& peer, int* fromPeer) const;
    void onFrame(quint64 id, const QByteArray& frame);
    void admit(quint64 id, Client& client, const QByteArray& frame);
    void refuse(Client& client, NetCodec::ClientMessage& message);
    void request(quint64 id, Client& client, NetCodec::ClientMessage& message);
    void control(quint64 id, Client& client, NetCodec::ClientMessage& message);
    bool allowed(Client& client, AlarmPresence::Rights needed, const QString& what);
    void controlFailed(const QString& message);
    void mark(const Client& client, bool take, const QStringList& uids);
    void setMarks(const QStringList& uids, const QString& taker);
    void sendMarks(Client& client);
    void endMarksOf(const QString& taker);
    bool isConnected(const QString& operatorName) const;
    void watchOperators();
    void audit(const QString& event, const Client& client, const QString& detail = QString());
    void take(const QByteArray& frame, bool answer);
    void flush();
    void askPage(quint64 id, Client& client);
    void takePage(quint64 id, const SimReplay& page);
    void route(const QByteArray& frame, bool answer);
    void send(Client& client, const QByteArray& frame);
    void pump(quint64 id);
    void shut(Client& client, int code, const QString& reason);
    void raise(quint64 id, const NetCodec::ClientMessage& message);
    void drop(quint64 id);

    SimAlarmServer* engine;
    const SimScenario& scenario;
    OperatorStore* operators;
    QWebSocketServer* server = nullptr;
    QTimer* operatorWatch = nullptr;
    std::unique_ptr<NetEventEncoder> encoder;
    std::map<quint64, Client> clients;
    quint64 nextId = 1;
    qint64 sendBudget = DefaultSendBudget;
    // The clients whose requests wait for their answers, with the requests' ids, in the order the engine
    // answers them; a handling with what the audit says of it.
    struct Waiting
    {
        quint64 client = 0;
        qint64 requestId = 0;
        bool handling = false;
        QString who, peer, detail;
    };
    std::deque<Waiting> waiting;
    // Who has which alarm open, by alarm uid.
    std::map<QString, QString> marks;
    // Operators gone with marks left, until their marks end.
    std::map<QString, QTimer*> leaving;
    // The client whose control is being carried out: on this thread, and on the engine's.
    quint64 controlling = 0;
    std::atomic<quint64> controlSender{0};
    // Mirrors the engine's count of answers to drop.
    int dropping = 0;
    int nextKind = 0;

    // Events encoded on the engine's thread wait here for this one, which takes them in batches.
    struct Outgoing
    {
        QByteArray frame;
        bool answer = false;
        // With a frame: for this client alone. Instead of a frame: a page of this client's catch-up.
        quint64 client = 0;
        std::shared_ptr<const SimReplay> page;
        // Instead of a frame: an alarm handled, whose mark ends.
        QString handled;
    };
    std::mutex outboxMutex;
    std::vector<Outgoing> outbox;
    void queue(Outgoing item);
};
