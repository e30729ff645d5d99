#pragma once

#include "AlarmData.h"
#include "AlarmProcessData.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>

class IAlarm;
class IAlarmEvent;
class SimControl;

// The alarm server's wire messages: one JSON object per WebSocket text frame, with its operation in "op".
// The client opens with "hello" (protocol version, its operator's token and the number of the last push it
// delivered, if any); the server answers "welcome" (its version, probes and the operator) or "error" and
// closes. "marks" tell which operator has which alarms open; a console sends "take" and "release". After the
// welcome come "catchUp", the pushes the client missed, "caughtUp" with the number they end at, then live
// pushes. Every push carries its number in "seq"; a request may carry an "id", which its answer echoes.
// Records travel as arrays in the order of their fields.
class NetCodec
{
public:
    enum { Version = 1 };
    // The server refuses frames above this; a client takes answers up to the larger limit (a page of
    // records).
    static constexpr qint64 MaxFrameBytes = 1 << 20;
    // Before its welcome a client may send the hello only, which is a few hundred bytes.
    static constexpr qint64 MaxHelloBytes = 4096;
    static constexpr qint64 MaxAnswerBytes = 16 << 20;
    enum ErrorCode {
        Malformed = 400,
        Refused = 401,
        Forbidden = 403,
        UnknownOperation = 404,
        // The hello of an operator the server has removed.
        Revoked = 410,
        TooLarge = 413,
        VersionMismatch = 426,
        // The answer a client gives itself for a request it could not send or whose answer the link lost.
        Unreachable = 502,
    };
    // The close code of a client that did not read its pushes within its send budget; it resumes by number.
    enum { CloseTooSlow = 4008 };
    // The close code of a connection whose operator was removed; the client does not come back.
    enum { CloseRevoked = 4003 };

    // A message from the server.
    struct ServerMessage
    {
        enum Kind { Event, Welcome, Error, ControlFailed, CatchUp, CaughtUp, Marks, Raised };
        Kind kind = Event;
        std::function<void(IAlarmEvent*)> event; // Event: delivers it
        bool answer = false;                     // Event: an answer to one request, not a push to all
        qint64 seq = 0;                          // Event: a push's number, 0 for none; CaughtUp: the last
        qint64 requestId = 0;                    // Event: the id of the request answered; Raised: its ref
        bool reset = false;                      // CatchUp: the client's number is not the server's
        int code = 0;                            // Error, Welcome (the server's version)
        // Error, ControlFailed, Welcome (the server's name), Marks (the taker), Raised (the uid made)
        QString text;
        QStringList probes;                // Welcome
        QStringList uids;                  // Marks; an empty taker ends their marks
        QString operatorName, operatorTel; // Welcome
        int rights = -1;                   // Welcome: AlarmPresence::Rights, -1 when not told
    };

    // A message from a client.
    struct ClientMessage
    {
        enum Kind { Hello, Request, Raise, Control, Take, Release };
        Kind kind = Request;
        std::function<void(IAlarm*)> request;     // Request: makes it; an answer follows
        std::function<void(SimControl*)> control; // Control
        QString op;                               // Control, Request "handle"
        int count = 0;                            // Control "dropNext", Request "handle" (its mode)
        std::vector<std::string> uids;            // Request "handle", Take, Release, Control "takeOther"
        std::string note, requester;              // Request "handle"
        bool batch = false;                       // Request "handle"
        QString name;                             // Control "takeOther"
        int version = 0;                          // Hello
        QByteArray token;                         // Hello
        qint64 since = -1;                        // Hello: the last push delivered, -1 for none
        qint64 requestId = 0;                     // Request: echoed in its answer, 0 for none
        QString probe, alarmKind;                 // Raise; the server makes the alarm's uid
        qint64 ref = 0;                           // Raise: echoed with the uid made
        // Set when a text would not be kept exactly as sent: the message is to be refused with it.
        QString refusal;
    };

    // False with a one-line reason for anything but a well-formed known message.
    static bool decodeServerMessage(const QByteArray& frame, ServerMessage* message, QString* error);
    static bool decodeClientMessage(const QByteArray& frame, ClientMessage* message, QString* error);

    // For a request with a refusal: the answer it normally gets, with the refusal as its error (400) and
    // its id.
    static QByteArray refusalAnswer(const ClientMessage& message);
    // The same with another code and text.
    static QByteArray refusalAnswer(const ClientMessage& message, int code, const QString& text);

    static QByteArray hello(const QByteArray& token, qint64 since = -1);
    static QByteArray catchUp(bool reset);
    static QByteArray caughtUp(qint64 seq);
    // The message with an "id" added.
    static QByteArray withId(const QByteArray& frame, qint64 id);
    static QByteArray welcome(const QString& serverName, const QStringList& probes,
                              const QString& operatorName = QString(), const QString& operatorTel = QString(),
                              int rights = -1);
    static QByteArray marks(const QStringList& uids, const QString& taker);
    static QByteArray mark(bool take, const QStringList& uids);
    static QByteArray raised(qint64 ref, const QString& uid);
    static QByteArray error(int code, const QString& text);
    static QByteArray controlFailed(const QString& text);
    static QByteArray raise(const QString& probe, const QString& kind, qint64 ref);
    static QByteArray control(const QString& op, const QJsonObject& arguments);
    static QByteArray frame(const QString& op, QJsonObject body);

    static QJsonArray textsJson(const std::vector<std::string>& texts);
    static QJsonArray alarmJson(const AlarmData& alarm);
    static QJsonArray processJson(const AlarmProcessData& record);
    static bool readAlarm(const QJsonValue& value, AlarmData* alarm);
    static bool readProcess(const QJsonValue& value, AlarmProcessData* record);
};
