// The conversion of the service's records and their booking: any bytes in any field, alarms that share a
// uid, must convert without loss of valid text, and leave the books empty once every alarm is handled.

#include "FuzzSupport.h"

#include "service/AlarmBusiness.h"
#include "service/AlarmCallBack.h"

#include "DataCache.h"
#include "IAlarm.h"

#include <QSet>

#include <algorithm>

using namespace VIG_ALARM_MOUDLE;
using fuzzsupport::fail;
using fuzzsupport::Pieces;
using fuzzsupport::text;

namespace {

// A service that takes every request and answers none.
class SilentService : public IAlarm
{
public:
    void SetEventHandler(IAlarmEvent*) override {}
    void RequestHandleAlarm(const char*, const char*, int, bool, const char*) override {}
    void RequestHandleAlarms(const std::vector<std::string>&, const char*, int, bool, const char*) override {}
    void RequestReplyA(const char*) override {}
    void RequestReplyB(const char*) override {}
    void RequestAlarmRecordsCount(const char*, const char*, const char*, const char*, int) override {}
    void RequestAlarmRecords(const char*, const char*, const char*, int, int, int, int) override {}
    void RequestAlarmHandleNotes(const char*, int) override {}
    void RequestStoreDevicesAlarmsCollection(const char*, const char*, const char*, const char*) override {}
    void RequestAllStoresAlarmsCollection(const char*, const char*, const char*) override {}
};

bool isValidUtf8(const std::string& bytes)
{
    const QString converted = text(bytes);
    return converted.toUtf8() == QByteArray(bytes.data(), int(bytes.size()));
}

// Valid UTF-8 comes through unchanged, NUL characters included.
void expectSame(const std::string& in, const QString& out)
{
    if (isValidUtf8(in) && out.toUtf8() != QByteArray(in.data(), int(in.size())))
        fail("a valid text changed in conversion");
}

AlarmData alarmFrom(Pieces& pieces)
{
    AlarmData alarm;
    for (std::string* field :
         {&alarm.alarmUid, &alarm.storeUid, &alarm.deviceId, &alarm.deviceName, &alarm.typeKey,
          &alarm.typeDescription, &alarm.subTypeKey, &alarm.subTypeDescription, &alarm.probeId,
          &alarm.probeName, &alarm.alarmTime, &alarm.lastHandleNote, &alarm.describe})
        *field = pieces.take();
    // The books keep an entry for every store and probe ever booked, as a real server's few hundred would;
    // two bytes bound them here and still give invalid UTF-8 and keys that convert alike.
    for (std::string* key : {&alarm.storeUid, &alarm.probeId, &alarm.deviceId})
        key->resize(std::min<size_t>(key->size(), 2));
    alarm.state = pieces.number();
    alarm.channelIndex = pieces.number();
    return alarm;
}

void checkAlarm(const AlarmData& alarm, const VIG_AlarmInfo& info)
{
    expectSame(alarm.alarmUid, info.alarmUid);
    expectSame(alarm.storeUid, info.storeUid);
    expectSame(alarm.describe, info.describe);
    expectSame(alarm.lastHandleNote, info.lastHandleNote);
    expectSame(alarm.alarmUid, info.alarmUid);
    if (info.probeId.isEmpty() && !info.deviceId.isEmpty())
        fail("an alarm without probe did not take its device");
    if (!alarm.probeId.empty())
        expectSame(alarm.probeId, info.probeId);
    if (info.state != alarm.state || info.channelIndex != alarm.channelIndex)
        fail("numbers changed in conversion");
}

void checkProcess(Pieces& pieces)
{
    AlarmProcessData record;
    record.storeUid = pieces.take();
    record.alarmUid = pieces.take();
    record.probeId = pieces.take();
    record.describe = pieces.take();
    const int handlers = pieces.number() & 3;
    for (int i = 0; i < handlers; ++i) {
        AlarmHandlerData handler;
        handler.principal = pieces.take();
        handler.handleNote = pieces.take();
        handler.principalTel = pieces.take();
        handler.liveImageUrls = pieces.take();
        handler.state = pieces.number();
        record.handlers.push_back(handler);
    }
    const VIG_AlarmProcess process = AlarmCallBack::toAlarmProcess(record);
    expectSame(record.alarmUid, process.alarmUid);
    if (!record.handlers.empty()) {
        expectSame(record.handlers.front().handleNote, process.handleNote);
        if (process.state != record.handlers.front().state)
            fail("the first handler's state was not taken");
    }
    const QString hint = AlarmCallBack::handledAlarmHint(record);
    if (!record.handlers.empty() && !hint.contains(text(record.handlers.front().principal)))
        fail("the hint lost its handler");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::startApplication();
    static SilentService silent;
    DataCache::Instance()->SetAlarmPtr(&silent);
    AlarmBusiness::_instance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Pieces pieces(data, size);
    AlarmBusiness& business = AlarmBusiness::_instance();
    const int count = 1 + (pieces.number() & 3);
    QList<VIG_AlarmInfo> booked;
    for (int i = 0; i < count; ++i) {
        const AlarmData alarm = alarmFrom(pieces);
        const VIG_AlarmInfo info = AlarmCallBack::toAlarmInfo(alarm);
        checkAlarm(alarm, info);
        business.addUnhandledAlarm(info);
        if (business.getStoreUnhandledAlarmsCount(info.storeUid) < 1)
            fail("a booked alarm is not counted for its store");
        booked.append(info);
    }
    checkProcess(pieces);

    // Handling every uid once must empty the books, whatever the records shared.
    QSet<QString> handled;
    for (const VIG_AlarmInfo& info : booked) {
        if (!handled.contains(info.alarmUid))
            business.slotAlarmHandled(info.alarmUid);
        handled.insert(info.alarmUid);
    }
    for (const VIG_AlarmInfo& info : booked) {
        if (business.getStoreUnhandledAlarmsCount(info.storeUid) != 0)
            fail("a handled alarm stays in its store's books");
        if (!business.getStoreUnhandledAlarms(info.storeUid).isEmpty())
            fail("a handled alarm is still listed for its store");
    }
    QCoreApplication::processEvents();
    return 0;
}
