#include "NetCodec.h"

#include "AlarmEventNumbers.h"
#include "IAlarm.h"
#include "IAlarmEvent.h"
#include "NetEventEncoder.h"
#include "NetRequestEncoder.h"
#include "SimControl.h"

#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// Reads the fields of one message; the first missing or mistyped field makes it unreadable.
class Fields
{
public:
    explicit Fields(const QJsonObject& object, bool checkTexts = false)
        : object(object), checkTexts(checkTexts)
    {
    }

    bool ok() const { return good; }
    // With checkTexts: the first field whose text would not come back as it was sent.
    QString altered() const { return alteredField; }

    std::string text(const char* key) { return textOf(object.value(QLatin1String(key)), key); }
    QString qtext(const char* key) { return qs(text(key)); }
    int number(const char* key) { return numberOf(object.value(QLatin1String(key))); }
    // A whole number from -1 up to what a double holds exactly; absent when the key is missing.
    qint64 serial(const char* key, qint64 absent)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            return absent;
        const double number = value.toDouble(std::nan(""));
        if (!value.isDouble() || number != std::floor(number) || number < -1 || number > 9007199254740992.0) {
            good = false;
            return absent;
        }
        return qint64(number);
    }
    double real(const char* key)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isDouble() || !std::isfinite(value.toDouble()))
            good = false;
        return value.toDouble();
    }
    bool flag(const char* key)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isBool())
            good = false;
        return value.toBool();
    }
    QJsonArray array(const char* key)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isArray())
            good = false;
        return value.toArray();
    }
    std::vector<std::string> texts(const char* key)
    {
        std::vector<std::string> list;
        for (const QJsonValue& value : array(key))
            list.push_back(textOf(value, key));
        return list;
    }

    std::string textOf(const QJsonValue& value, const char* key = "")
    {
        if (!value.isString())
            good = false;
        const QString string = value.toString();
        if (checkTexts && alteredField.isEmpty() && !keptExactly(string))
            alteredField = QLatin1String(key);
        return string.toStdString();
    }
    int numberOf(const QJsonValue& value)
    {
        const double number = value.toDouble(std::nan(""));
        if (!value.isDouble() || number != std::floor(number) || number < std::numeric_limits<int>::min() ||
            number > std::numeric_limits<int>::max()) {
            good = false;
            return 0;
        }
        return int(number);
    }
    void fail() { good = false; }

private:
    // A NUL ends the text where the server passes it on; a lone surrogate has no UTF-8 form.
    static bool keptExactly(const QString& string)
    {
        const int size = string.size();
        for (int i = 0; i < size; ++i) {
            const QChar c = string.at(i);
            if (c.isNull() || c.isLowSurrogate())
                return false;
            if (c.isHighSurrogate() && (++i == size || !string.at(i).isLowSurrogate()))
                return false;
        }
        return true;
    }

    QJsonObject object;
    bool checkTexts = false;
    bool good = true;
    QString alteredField;
};

// Reads a record array field by field, in order.
class Items
{
public:
    Items(const QJsonValue& value, int size) : array(value.toArray()), fields(QJsonObject())
    {
        good = value.isArray() && array.size() == size;
    }

    bool ok() const { return good && fields.ok(); }
    std::string text() { return good ? fields.textOf(array.at(next++)) : std::string(); }
    int number() { return good ? fields.numberOf(array.at(next++)) : 0; }
    QJsonValue value() { return good ? array.at(next++) : QJsonValue(); }

private:
    QJsonArray array;
    Fields fields;
    int next = 0;
    bool good = false;
};

bool decodeEvent(const QString& op, Fields& in, NetCodec::ServerMessage* message)
{
    message->kind = NetCodec::ServerMessage::Event;
    message->answer = true;
    if (op == QLatin1String("alarm")) {
        AlarmData alarm;
        if (!NetCodec::readAlarm(in.array("a"), &alarm))
            return false;
        message->answer = false;
        message->seq = std::max<qint64>(in.serial("seq", 0), 0);
        message->event = [alarm, seq = message->seq](IAlarmEvent* handler) {
            if (seq > 0)
                AlarmEventNumbers::tell(handler, seq);
            handler->OnNewAlarm(alarm);
        };
        return in.ok();
    }
    if (op == QLatin1String("handled")) {
        AlarmProcessData record;
        if (!NetCodec::readProcess(in.array("p"), &record))
            return false;
        message->answer = false;
        message->seq = std::max<qint64>(in.serial("seq", 0), 0);
        message->event = [record, seq = message->seq](IAlarmEvent* handler) {
            if (seq > 0)
                AlarmEventNumbers::tell(handler, seq);
            handler->OnAlarmHandled(record);
        };
        return in.ok();
    }
    message->requestId = std::max<qint64>(in.serial("id", 0), 0);
    const int result = in.number("result");
    const std::string error = in.text("error");
    if (op == QLatin1String("handleResult")) {
        message->event = [uid = in.text("uid"), result, error,
                          requester = in.text("requester")](IAlarmEvent* handler) {
            handler->OnHandleAlarmResult(uid.c_str(), result, error.c_str(), requester.c_str());
        };
    } else if (op == QLatin1String("handleResults")) {
        message->event = [uids = in.texts("uids"), result, error,
                          requester = in.text("requester")](IAlarmEvent* handler) {
            handler->OnHandleAlarmsResult(uids, result, error.c_str(), requester.c_str());
        };
    } else if (op == QLatin1String("replyA") || op == QLatin1String("replyB")) {
        const bool second = op == QLatin1String("replyB");
        message->event = [context = in.number("context"), result, error, second](IAlarmEvent* handler) {
            if (second)
                handler->OnReplyB(context, result, error.c_str());
            else
                handler->OnReplyA(context, result, error.c_str());
        };
    } else if (op == QLatin1String("recordsCount")) {
        message->event = [count = in.number("count"), requester = in.text("requester"), result,
                          error](IAlarmEvent* handler) {
            handler->OnAlarmRecordsCount(count, requester.c_str(), result, error.c_str());
        };
    } else if (op == QLatin1String("records")) {
        std::vector<AlarmData> records;
        for (const QJsonValue& value : in.array("records")) {
            records.emplace_back();
            if (!NetCodec::readAlarm(value, &records.back()))
                return false;
        }
        message->event = [records, result, error](IAlarmEvent* handler) {
            handler->OnAlarmRecords(records, result, error.c_str());
        };
    } else if (op == QLatin1String("handleNotes")) {
        AlarmProcessData record;
        if (!NetCodec::readProcess(in.array("p"), &record))
            return false;
        message->event = [uid = in.text("uid"), record, result, error](IAlarmEvent* handler) {
            handler->OnAlarmHandleNotes(uid.c_str(), record, result, error.c_str());
        };
    } else if (op == QLatin1String("storeDevices") || op == QLatin1String("allStores")) {
        std::vector<AlarmCountData> counts;
        for (const QJsonValue& value : in.array(op == QLatin1String("allStores") ? "stores" : "devices")) {
            Items item(value, 3);
            counts.push_back(AlarmCountData{item.number(), item.number(), item.text()});
            if (!item.ok())
                return false;
        }
        if (op == QLatin1String("allStores")) {
            message->event = [counts, tag = in.text("tag"), result, error](IAlarmEvent* handler) {
                handler->OnAllStoresAlarmsCollection(counts, tag.c_str(), result, error.c_str());
            };
            return in.ok();
        }
        std::vector<ItemAlarmCountData> items;
        for (const QJsonValue& value : in.array("items")) {
            Items item(value, 3);
            items.push_back(ItemAlarmCountData{item.number(), item.text(), item.text()});
            if (!item.ok())
                return false;
        }
        message->event = [counts, items, tag = in.text("tag"), result, error](IAlarmEvent* handler) {
            handler->OnStoreDevicesAlarmsCollection(counts, items, tag.c_str(), result, error.c_str());
        };
    } else {
        return false;
    }
    return in.ok();
}

bool decodeRequest(const QString& op, Fields& in, NetCodec::ClientMessage* message)
{
    message->kind = NetCodec::ClientMessage::Request;
    message->requestId = std::max<qint64>(in.serial("id", 0), 0);
    if (op == QLatin1String("handle")) {
        message->op = op;
        message->uids = in.texts("uids");
        message->count = in.number("mode");
        message->note = in.text("note");
        message->requester = in.text("requester");
        message->batch = in.flag("batch");
        message->request = [uids = message->uids, note = message->note, mode = message->count,
                            inform = in.flag("inform"), requester = message->requester,
                            batch = message->batch](IAlarm* alarm) {
            if (batch)
                alarm->RequestHandleAlarms(uids, note.c_str(), mode, inform, requester.c_str());
            else
                alarm->RequestHandleAlarm(uids.empty() ? "" : uids.front().c_str(), note.c_str(), mode,
                                          inform, requester.c_str());
        };
    } else if (op == QLatin1String("replyA") || op == QLatin1String("replyB")) {
        const bool second = op == QLatin1String("replyB");
        message->request = [uid = in.text("uid"), second](IAlarm* alarm) {
            if (second)
                alarm->RequestReplyB(uid.c_str());
            else
                alarm->RequestReplyA(uid.c_str());
        };
    } else if (op == QLatin1String("recordsCount")) {
        message->request = [store = in.text("store"), start = in.text("start"), end = in.text("end"),
                            requester = in.text("requester"), state = in.number("state")](IAlarm* alarm) {
            alarm->RequestAlarmRecordsCount(store.c_str(), start.c_str(), end.c_str(), requester.c_str(),
                                            state);
        };
    } else if (op == QLatin1String("records")) {
        message->request = [store = in.text("store"), start = in.text("start"), end = in.text("end"),
                            state = in.number("state"), first = in.number("first"),
                            count = in.number("count"), reserved = in.number("reserved")](IAlarm* alarm) {
            alarm->RequestAlarmRecords(store.c_str(), start.c_str(), end.c_str(), state, first, count,
                                       reserved);
        };
    } else if (op == QLatin1String("handleNotes")) {
        message->request = [uid = in.text("uid"), reserved = in.number("reserved")](IAlarm* alarm) {
            alarm->RequestAlarmHandleNotes(uid.c_str(), reserved);
        };
    } else if (op == QLatin1String("storeDevices")) {
        message->request = [store = in.text("store"), start = in.text("start"), end = in.text("end"),
                            tag = in.text("tag")](IAlarm* alarm) {
            alarm->RequestStoreDevicesAlarmsCollection(store.c_str(), start.c_str(), end.c_str(),
                                                       tag.c_str());
        };
    } else if (op == QLatin1String("allStores")) {
        message->request = [start = in.text("start"), end = in.text("end"),
                            tag = in.text("tag")](IAlarm* alarm) {
            alarm->RequestAllStoresAlarmsCollection(start.c_str(), end.c_str(), tag.c_str());
        };
    } else {
        return false;
    }
    return in.ok();
}

bool decodeControl(const QString& op, Fields& in, NetCodec::ClientMessage* message)
{
    message->kind = NetCodec::ClientMessage::Control;
    if (op == QLatin1String("storm")) {
        message->control = [count = in.number("count"), probes = in.number("probes")](SimControl* control) {
            QString error;
            if (!control->storm(count, probes, &error))
                emit control->controlFailed(error);
        };
    } else if (op == QLatin1String("rate")) {
        message->control = [rate = in.real("value")](SimControl* control) {
            control->setGeneratorRate(rate);
        };
    } else if (op == QLatin1String("handleOther")) {
        message->control = [uid = in.qtext("uid"), mode = in.number("mode"), note = in.qtext("note"),
                            principal = in.qtext("principal"), tel = in.qtext("tel")](SimControl* control) {
            control->handleAsOtherOperator(uid, mode, note, principal, tel);
        };
    } else if (op == QLatin1String("answerDelay")) {
        message->control = [ms = in.number("ms")](SimControl* control) {
            control->setAnswerDelay(ms);
        };
    } else if (op == QLatin1String("failNext")) {
        message->control = [count = in.number("count"), code = in.number("code"),
                            text = in.qtext("message")](SimControl* control) {
            control->failNextRequests(count, code, text);
        };
    } else if (op == QLatin1String("failAlarms")) {
        QStringList uids;
        for (const std::string& uid : in.texts("uids"))
            uids.append(qs(uid));
        message->control = [uids, code = in.number("code"), text = in.qtext("message")](SimControl* control) {
            control->failAlarms(uids, code, text);
        };
    } else if (op == QLatin1String("takeOther")) {
        message->uids = in.texts("uids");
        message->name = in.qtext("name");
        message->control = [uids = message->uids, name = message->name](SimControl* control) {
            QStringList list;
            for (const std::string& uid : uids)
                list.append(qs(uid));
            control->takeAsOtherOperator(list, name);
        };
    } else if (op == QLatin1String("dropNext")) {
        message->count = in.number("count");
        message->control = [count = message->count](SimControl* control) {
            control->dropNextAnswers(count);
        };
    } else if (op == QLatin1String("clearFaults")) {
        message->control = [](SimControl* control) {
            control->clearFaults();
        };
    } else {
        return false;
    }
    message->op = op;
    return in.ok();
}

bool parse(const QByteArray& frame, qint64 limit, QJsonObject* object, QString* op, QString* error)
{
    if (frame.size() > limit) {
        *error = QObject::tr("message of %1 bytes is too large").arg(frame.size());
        return false;
    }
    QJsonParseError problem;
    const QJsonDocument document = QJsonDocument::fromJson(frame, &problem);
    if (!document.isObject()) {
        *error = QObject::tr("unreadable message: %1").arg(problem.errorString());
        return false;
    }
    *object = document.object();
    *op = object->value(QLatin1String("op")).toString();
    return true;
}

} // namespace

bool NetCodec::decodeServerMessage(const QByteArray& frame, ServerMessage* message, QString* error)
{
    QJsonObject object;
    QString op;
    if (!parse(frame, MaxAnswerBytes, &object, &op, error))
        return false;
    Fields in(object);
    *message = ServerMessage();
    bool ok = true;
    if (op == QLatin1String("welcome")) {
        message->kind = ServerMessage::Welcome;
        message->code = in.number("version");
        message->text = in.qtext("server");
        for (const std::string& probe : in.texts("probes"))
            message->probes.append(qs(probe));
        // From a server that names no operator, the client keeps its own idea of who it is.
        if (object.contains(QLatin1String("rights"))) {
            message->operatorName = in.qtext("operator");
            message->operatorTel = in.qtext("tel");
            message->rights = qBound(0, in.number("rights"), 2);
        }
        ok = in.ok();
    } else if (op == QLatin1String("marks")) {
        message->kind = ServerMessage::Marks;
        for (const std::string& uid : in.texts("uids"))
            message->uids.append(qs(uid));
        message->text = in.qtext("taker");
        ok = in.ok();
    } else if (op == QLatin1String("raised")) {
        message->kind = ServerMessage::Raised;
        message->requestId = in.serial("ref", 0);
        message->text = in.qtext("uid");
        ok = in.ok();
    } else if (op == QLatin1String("error") || op == QLatin1String("controlFailed")) {
        message->kind = op == QLatin1String("error") ? ServerMessage::Error : ServerMessage::ControlFailed;
        message->code = message->kind == ServerMessage::Error ? in.number("code") : 0;
        message->text = in.qtext("message");
        ok = in.ok();
    } else if (op == QLatin1String("catchUp")) {
        message->kind = ServerMessage::CatchUp;
        message->reset = in.flag("reset");
        ok = in.ok();
    } else if (op == QLatin1String("caughtUp")) {
        message->kind = ServerMessage::CaughtUp;
        message->seq = in.serial("seq", -2);
        ok = in.ok() && message->seq >= 0;
    } else {
        ok = decodeEvent(op, in, message);
    }
    if (!ok)
        *error = QObject::tr("malformed or unknown message \"%1\"").arg(op.left(40));
    return ok;
}

bool NetCodec::decodeClientMessage(const QByteArray& frame, ClientMessage* message, QString* error)
{
    QJsonObject object;
    QString op;
    if (!parse(frame, MaxFrameBytes, &object, &op, error))
        return false;
    Fields in(object, true);
    *message = ClientMessage();
    bool ok = true;
    if (op == QLatin1String("hello")) {
        message->kind = ClientMessage::Hello;
        message->version = in.number("version");
        message->token = in.qtext("token").toUtf8();
        message->since = in.serial("since", -1);
        ok = in.ok();
    } else if (op == QLatin1String("raise")) {
        message->kind = ClientMessage::Raise;
        message->probe = in.qtext("probe");
        message->alarmKind = in.qtext("kind");
        message->ref = std::max<qint64>(in.serial("ref", 0), 0);
        ok = in.ok();
    } else if (op == QLatin1String("take") || op == QLatin1String("release")) {
        message->kind = op == QLatin1String("take") ? ClientMessage::Take : ClientMessage::Release;
        message->uids = in.texts("uids");
        ok = in.ok();
    } else {
        ok = decodeRequest(op, in, message) || decodeControl(op, in, message);
    }
    if (!ok)
        *error = QObject::tr("malformed or unknown message \"%1\"").arg(op.left(40));
    else if (!in.altered().isEmpty())
        message->refusal = QObject::tr("The text \"%1\" holds a NUL character or a broken surrogate pair and "
                                       "would not be kept as written; nothing was changed.")
                               .arg(in.altered());
    return ok;
}

QByteArray NetCodec::refusalAnswer(const ClientMessage& message)
{
    return refusalAnswer(message, Malformed, message.refusal);
}

QByteArray NetCodec::refusalAnswer(const ClientMessage& message, int code, const QString& refusal)
{
    QByteArray answer;
    NetEventEncoder answers([&answer](const QByteArray& frame, bool) { answer = frame; });
    const QByteArray text = refusal.toUtf8();
    NetRequestEncoder refuser(
        [&answers, code, &text](const QByteArray&, const NetRequestEncoder::Failure& failure) {
            failure(&answers, code, text.constData());
        });
    message.request(&refuser);
    return message.requestId > 0 ? withId(answer, message.requestId) : answer;
}

QByteArray NetCodec::frame(const QString& op, QJsonObject body)
{
    body.insert(QLatin1String("op"), op);
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

QByteArray NetCodec::hello(const QByteArray& token, qint64 since)
{
    return frame(QStringLiteral("hello"),
                 {{"version", int(Version)}, {"token", QString::fromUtf8(token)}, {"since", double(since)}});
}

QByteArray NetCodec::catchUp(bool reset)
{
    return frame(QStringLiteral("catchUp"), {{"reset", reset}});
}

QByteArray NetCodec::caughtUp(qint64 seq)
{
    return frame(QStringLiteral("caughtUp"), {{"seq", double(seq)}});
}

QByteArray NetCodec::withId(const QByteArray& frame, qint64 id)
{
    // Every message is a JSON object, so the id goes in right after its opening brace.
    if (!frame.startsWith('{'))
        return frame;
    const QByteArray head = "{\"id\":" + QByteArray::number(id);
    return frame.size() > 2 ? head + ',' + frame.mid(1) : head + '}';
}

QByteArray NetCodec::welcome(const QString& serverName, const QStringList& probes,
                             const QString& operatorName, const QString& operatorTel, int rights)
{
    QJsonObject body{
        {"version", int(Version)}, {"server", serverName}, {"probes", QJsonArray::fromStringList(probes)}};
    if (rights >= 0) {
        body.insert(QLatin1String("operator"), operatorName);
        body.insert(QLatin1String("tel"), operatorTel);
        body.insert(QLatin1String("rights"), rights);
    }
    return frame(QStringLiteral("welcome"), body);
}

QByteArray NetCodec::marks(const QStringList& uids, const QString& taker)
{
    return frame(QStringLiteral("marks"), {{"uids", QJsonArray::fromStringList(uids)}, {"taker", taker}});
}

QByteArray NetCodec::mark(bool take, const QStringList& uids)
{
    return frame(take ? QStringLiteral("take") : QStringLiteral("release"),
                 {{"uids", QJsonArray::fromStringList(uids)}});
}

QByteArray NetCodec::raised(qint64 ref, const QString& uid)
{
    return frame(QStringLiteral("raised"), {{"ref", double(ref)}, {"uid", uid}});
}

QByteArray NetCodec::error(int code, const QString& text)
{
    return frame(QStringLiteral("error"), {{"code", code}, {"message", text}});
}

QByteArray NetCodec::controlFailed(const QString& text)
{
    return frame(QStringLiteral("controlFailed"), {{"message", text}});
}

QByteArray NetCodec::raise(const QString& probe, const QString& kind, qint64 ref)
{
    return frame(QStringLiteral("raise"), {{"probe", probe}, {"kind", kind}, {"ref", double(ref)}});
}

QByteArray NetCodec::control(const QString& op, const QJsonObject& arguments)
{
    return frame(op, arguments);
}

QJsonArray NetCodec::alarmJson(const AlarmData& a)
{
    return {qs(a.alarmUid), qs(a.storeUid),        qs(a.deviceId),   qs(a.deviceName),
            qs(a.typeKey),  qs(a.typeDescription), qs(a.subTypeKey), qs(a.subTypeDescription),
            qs(a.probeId),  qs(a.probeName),       qs(a.alarmTime),  qs(a.lastHandleNote),
            qs(a.describe), qs(a.createTime),      qs(a.extendInfo), a.state,
            a.channelIndex};
}

QJsonArray NetCodec::processJson(const AlarmProcessData& p)
{
    QJsonArray handlers;
    for (const AlarmHandlerData& h : p.handlers) {
        handlers.append(QJsonArray{qs(h.principal), qs(h.handleTime), qs(h.handleNote), qs(h.principalTel),
                                   h.state, qs(h.liveImageUrls)});
    }
    return {qs(p.storeUid),
            qs(p.alarmUid),
            qs(p.deviceId),
            qs(p.typeKey),
            qs(p.typeDescription),
            qs(p.subTypeKey),
            qs(p.subTypeDescription),
            qs(p.probeId),
            qs(p.alarmTime),
            qs(p.describe),
            handlers,
            p.channelIndex};
}

bool NetCodec::readAlarm(const QJsonValue& value, AlarmData* a)
{
    Items in(value, 17);
    for (std::string* field :
         {&a->alarmUid, &a->storeUid, &a->deviceId, &a->deviceName, &a->typeKey, &a->typeDescription,
          &a->subTypeKey, &a->subTypeDescription, &a->probeId, &a->probeName, &a->alarmTime,
          &a->lastHandleNote, &a->describe, &a->createTime, &a->extendInfo})
        *field = in.text();
    a->state = in.number();
    a->channelIndex = in.number();
    return in.ok();
}

bool NetCodec::readProcess(const QJsonValue& value, AlarmProcessData* p)
{
    Items in(value, 12);
    for (std::string* field :
         {&p->storeUid, &p->alarmUid, &p->deviceId, &p->typeKey, &p->typeDescription, &p->subTypeKey,
          &p->subTypeDescription, &p->probeId, &p->alarmTime, &p->describe})
        *field = in.text();
    const QJsonValue handlers = in.value();
    p->channelIndex = in.number();
    if (!in.ok() || !handlers.isArray())
        return false;
    p->handlers.clear();
    for (const QJsonValue& item : handlers.toArray()) {
        Items h(item, 6);
        AlarmHandlerData handling;
        handling.principal = h.text();
        handling.handleTime = h.text();
        handling.handleNote = h.text();
        handling.principalTel = h.text();
        handling.state = h.number();
        handling.liveImageUrls = h.text();
        if (!h.ok())
            return false;
        p->handlers.push_back(handling);
    }
    return true;
}

QJsonArray NetCodec::textsJson(const std::vector<std::string>& texts)
{
    QJsonArray array;
    for (const std::string& text : texts)
        array.append(qs(text));
    return array;
}
