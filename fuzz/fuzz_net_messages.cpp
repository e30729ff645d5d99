// The alarm server's wire messages in both directions: any bytes from a peer are refused or decoded, never
// crash, and what is decoded encodes again to a message that decodes to the same encoding. A client's message
// is refused when one of its texts would not be kept as sent, and then answered. A record built
// from the input comes through the wire with its valid texts unchanged.

#include "FuzzSupport.h"

#include "IAlarm.h"
#include "IAlarmEvent.h"
#include "NetCodec.h"
#include "NetEventEncoder.h"
#include "NetRequestEncoder.h"

#include <QJsonDocument>
#include <QJsonObject>

using fuzzsupport::fail;
using fuzzsupport::Pieces;
using fuzzsupport::text;

namespace {

// Decoding then encoding must reach a fixed point after one round.
void checkServerRoundTrip(const QByteArray& frame)
{
    NetCodec::ServerMessage message;
    QString error;
    if (!NetCodec::decodeServerMessage(frame, &message, &error) ||
        message.kind != NetCodec::ServerMessage::Event)
        return;
    QByteArray first;
    NetEventEncoder encoder([&first](const QByteArray& encoded, bool) { first = encoded; });
    message.event(&encoder);
    NetCodec::ServerMessage again;
    if (!NetCodec::decodeServerMessage(first, &again, &error))
        fail("an encoded event does not decode");
    QByteArray second;
    NetEventEncoder reencoder([&second](const QByteArray& encoded, bool) { second = encoded; });
    again.event(&reencoder);
    if (first != second || again.answer != message.answer || again.seq != message.seq)
        fail("an event changed on its way through the wire");
}

void checkClientRoundTrip(const QByteArray& frame)
{
    NetCodec::ClientMessage message;
    QString error;
    if (!NetCodec::decodeClientMessage(frame, &message, &error) ||
        message.kind != NetCodec::ClientMessage::Request)
        return;
    // A refused request gets its own answer, with the reason.
    if (!message.refusal.isEmpty()) {
        NetCodec::ServerMessage refused;
        if (!NetCodec::decodeServerMessage(NetCodec::refusalAnswer(message), &refused, &error) ||
            !refused.answer || refused.requestId != message.requestId)
            fail("a refusal is not an answer to its request");
        return;
    }
    QByteArray first;
    NetRequestEncoder::Failure failure;
    NetRequestEncoder encoder(
        [&first, &failure](const QByteArray& encoded, const NetRequestEncoder::Failure& f) {
            first = encoded;
            failure = f;
        });
    message.request(&encoder);
    // A note that would not be stored as sent is refused, never passed on changed.
    const QJsonObject sent = QJsonDocument::fromJson(frame).object();
    if (sent.value(QLatin1String("op")) == QLatin1String("handle") &&
        QJsonDocument::fromJson(first).object().value(QLatin1String("note")) !=
            sent.value(QLatin1String("note")))
        fail("a note was taken changed");
    // The answer a client gives itself when the server cannot is a well-formed answer too.
    QByteArray answer;
    NetEventEncoder answers([&answer](const QByteArray& encoded, bool) { answer = encoded; });
    failure(&answers, NetCodec::Unreachable, "Alarm server unreachable");
    NetCodec::ServerMessage unreachable;
    if (!NetCodec::decodeServerMessage(answer, &unreachable, &error) || !unreachable.answer)
        fail("the answer of an unreachable server does not decode");
    NetCodec::ClientMessage again;
    if (!NetCodec::decodeClientMessage(first, &again, &error))
        fail("an encoded request does not decode");
    QByteArray second;
    NetRequestEncoder reencoder(
        [&second](const QByteArray& encoded, const NetRequestEncoder::Failure&) { second = encoded; });
    again.request(&reencoder);
    if (first != second)
        fail("a request changed on its way through the wire");
}

// Keeps the alarm it is given.
class Catcher : public NetEventEncoder
{
public:
    Catcher() : NetEventEncoder([](const QByteArray&, bool) {}) {}
    void OnNewAlarm(const AlarmData& alarm) override { caught = alarm; }
    AlarmData caught;
};

void checkAlarmFields(Pieces& pieces)
{
    AlarmData alarm;
    for (std::string* field : {&alarm.alarmUid, &alarm.storeUid, &alarm.deviceId, &alarm.deviceName,
                               &alarm.typeKey, &alarm.typeDescription, &alarm.subTypeKey,
                               &alarm.subTypeDescription, &alarm.probeId, &alarm.probeName, &alarm.alarmTime,
                               &alarm.lastHandleNote, &alarm.describe, &alarm.createTime, &alarm.extendInfo})
        *field = pieces.take();
    alarm.state = pieces.number();
    alarm.channelIndex = pieces.number();
    QByteArray frame;
    NetEventEncoder encoder([&frame](const QByteArray& encoded, bool) { frame = encoded; });
    encoder.OnNewAlarm(alarm);
    NetCodec::ServerMessage message;
    QString error;
    if (!NetCodec::decodeServerMessage(frame, &message, &error)) {
        if (frame.size() <= NetCodec::MaxAnswerBytes)
            fail("an encoded alarm does not decode");
        return;
    }
    Catcher catcher;
    message.event(&catcher);
    const AlarmData& out = catcher.caught;
    const auto same = [](const std::string& in, const std::string& back) {
        return text(in).toUtf8() != QByteArray(in.data(), int(in.size())) || in == back;
    };
    if (!same(alarm.alarmUid, out.alarmUid) || !same(alarm.describe, out.describe) ||
        !same(alarm.extendInfo, out.extendInfo) || alarm.state != out.state ||
        alarm.channelIndex != out.channelIndex)
        fail("an alarm's fields changed on the wire");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::startApplication();
    if (size == 0)
        return 0;
    if (data[0] == 'A') {
        Pieces pieces(data + 1, size - 1);
        checkAlarmFields(pieces);
        return 0;
    }
    const QByteArray frame(reinterpret_cast<const char*>(data), int(size));
    checkServerRoundTrip(frame);
    checkClientRoundTrip(frame);
    return 0;
}
