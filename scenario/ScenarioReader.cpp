#include "ScenarioReader.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QObject>
#include <QStringList>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace {

enum class Kind { Text, Integer, Number, Boolean, Object, Objects, Texts };

using Fields = std::initializer_list<std::pair<const char*, Kind>>;

const Fields RootFields = {
    {"storeWord", Kind::Text},     {"applicationStatus", Kind::Integer},
    {"user", Kind::Object},        {"alarmConfig", Kind::Object},
    {"videoStream", Kind::Object}, {"stores", Kind::Objects},
    {"devices", Kind::Objects},    {"probes", Kind::Objects},
    {"recordings", Kind::Objects},
};
const Fields UserFields = {{"name", Kind::Text}, {"telephone", Kind::Text}, {"permissions", Kind::Texts}};
const Fields AlarmConfigFields = {
    {"alarmVideoShowMode", Kind::Integer},  {"maxVideoCheckDlgCount", Kind::Integer},
    {"showAlarmMap", Kind::Boolean},        {"alarmSoundMode", Kind::Integer},
    {"alarmSoundSeconds", Kind::Integer},   {"nvrPlaybackSecondsBefore", Kind::Integer},
    {"nvrPlaybackDuration", Kind::Integer}, {"monitorTabHoldSeconds", Kind::Integer},
};
const Fields VideoStreamFields = {{"defaultStreamKind", Kind::Integer}};
const Fields StoreFields = {
    {"storeUid", Kind::Text},       {"storeName", Kind::Text},      {"storeNo", Kind::Text},
    {"city", Kind::Text},           {"address", Kind::Text},        {"keeper", Kind::Text},
    {"keeperTel", Kind::Text},      {"owner", Kind::Text},          {"ownerTel", Kind::Text},
    {"responsible", Kind::Text},    {"responsibleTel", Kind::Text}, {"payState", Kind::Text},
    {"principal", Kind::Text},      {"principalTel", Kind::Text},   {"alarmOutLinkMode", Kind::Integer},
    {"armingState", Kind::Integer}, {"longitude", Kind::Number},    {"latitude", Kind::Number},
};
const Fields DeviceFields = {
    {"deviceId", Kind::Text},   {"deviceName", Kind::Text}, {"storeUid", Kind::Text},
    {"deviceType", Kind::Text}, {"address", Kind::Text},    {"channels", Kind::Objects},
};
const Fields ChannelFields = {
    {"channelId", Kind::Text}, {"channelIndex", Kind::Integer}, {"channelName", Kind::Text}};
const Fields ProbeFields = {
    {"probeId", Kind::Text},   {"probeName", Kind::Text}, {"probeDescription", Kind::Text},
    {"storeUid", Kind::Text},  {"deviceId", Kind::Text},  {"channelIndex", Kind::Integer},
    {"channels", Kind::Texts},
};
const Fields RecordingFields = {
    {"channelId", Kind::Text},
    {"recordingName", Kind::Text},
    {"locator", Kind::Text},
    {"startTime", Kind::Text},
    {"endTime", Kind::Text},
    {"deviceAddr", Kind::Text},
    {"storageRecording", Kind::Integer},
    {"durationSeconds", Kind::Integer},
};

bool hasKind(const QJsonValue& value, Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return value.isString();
    case Kind::Integer:
        return value.isDouble() && std::trunc(value.toDouble()) == value.toDouble() &&
               std::abs(value.toDouble()) <= 2147483647.0;
    case Kind::Number:
        return value.isDouble();
    case Kind::Boolean:
        return value.isBool();
    case Kind::Object:
        return value.isObject();
    case Kind::Objects:
    case Kind::Texts:
        return value.isArray();
    }
    return false;
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return QObject::tr("a text");
    case Kind::Integer:
        return QObject::tr("a whole number");
    case Kind::Number:
        return QObject::tr("a number");
    case Kind::Boolean:
        return QObject::tr("true or false");
    case Kind::Object:
        return QObject::tr("an object");
    case Kind::Objects:
    case Kind::Texts:
        return QObject::tr("a list");
    }
    return QString();
}

// Walks the document once; the first problem found stops it.
class Checker
{
public:
    QString problem;

    bool object(const QJsonObject& object, const QString& path, const Fields& fields)
    {
        for (const auto& field : fields) {
            const QJsonValue value = object.value(QLatin1String(field.first));
            if (value.isUndefined())
                continue;
            const QString place = path.isEmpty() ? QLatin1String(field.first)
                                                 : path + QLatin1Char('.') + QLatin1String(field.first);
            if (!hasKind(value, field.second))
                return fail(QObject::tr("%1 must be %2").arg(place, kindName(field.second)));
            if (field.second == Kind::Texts && !items(value.toArray(), place, Kind::Text))
                return false;
            if (field.second == Kind::Objects && !items(value.toArray(), place, Kind::Object))
                return false;
        }
        return true;
    }

    bool items(const QJsonArray& list, const QString& path, Kind kind)
    {
        for (int index = 0; index < list.size(); ++index) {
            if (!hasKind(list.at(index), kind))
                return fail(QObject::tr("%1[%2] must be %3").arg(path).arg(index).arg(kindName(kind)));
        }
        return true;
    }

    // Each record of a list checked by its fields, and its id, when it has one, used once.
    bool records(const QJsonObject& root, const char* key, const Fields& fields, const char* idKey)
    {
        const QString list = QLatin1String(key);
        const QJsonArray records = root.value(list).toArray();
        QHash<QString, int> seen;
        for (int index = 0; index < records.size(); ++index) {
            const QJsonObject record = records.at(index).toObject();
            const QString place = QStringLiteral("%1[%2]").arg(list).arg(index);
            if (!object(record, place, fields))
                return false;
            if (!idKey)
                continue;
            const QString id = record.value(QLatin1String(idKey)).toString();
            if (id.isEmpty())
                continue;
            if (seen.contains(id))
                return fail(QObject::tr("%1 \"%2\" is used twice, by %3[%4] and %5")
                                .arg(QLatin1String(idKey), id, list)
                                .arg(seen.value(id))
                                .arg(place));
            seen.insert(id, index);
        }
        return true;
    }

    bool channels(const QJsonObject& root)
    {
        const QJsonArray devices = root.value(QLatin1String("devices")).toArray();
        for (int index = 0; index < devices.size(); ++index) {
            const QString path = QStringLiteral("devices[%1].channels").arg(index);
            const QJsonArray list = devices.at(index).toObject().value(QLatin1String("channels")).toArray();
            for (int channel = 0; channel < list.size(); ++channel) {
                if (!object(list.at(channel).toObject(), QStringLiteral("%1[%2]").arg(path).arg(channel),
                            ChannelFields))
                    return false;
            }
        }
        return true;
    }

private:
    bool fail(const QString& text)
    {
        problem = text;
        return false;
    }
};

} // namespace

bool ScenarioReader::readFile(const QString& path, QJsonObject* root, QString* errorText)
{
    *root = QJsonObject();
    QFile file(path);
    QString problem;
    if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    else
        read(file.readAll(), root, &problem);
    if (problem.isEmpty())
        return true;
    if (errorText)
        *errorText = QObject::tr("Scenario file %1: %2").arg(path, problem);
    return false;
}

bool ScenarioReader::read(const QByteArray& json, QJsonObject* root, QString* problem)
{
    *root = QJsonObject();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *problem = QObject::tr("%1 at offset %2").arg(parseError.errorString()).arg(parseError.offset);
        return false;
    }
    if (!document.isObject()) {
        *problem = QObject::tr("the document is not a JSON object");
        return false;
    }
    const QJsonObject checked = document.object();
    Checker checker;
    // The records first, so that a wrong value is named at its place rather than by its list; what they
    // cannot see (a list or a record of the wrong type) the top level's check finds.
    const bool ok =
        checker.object(checked.value(QLatin1String("user")).toObject(), QStringLiteral("user"), UserFields) &&
        checker.object(checked.value(QLatin1String("alarmConfig")).toObject(), QStringLiteral("alarmConfig"),
                       AlarmConfigFields) &&
        checker.object(checked.value(QLatin1String("videoStream")).toObject(), QStringLiteral("videoStream"),
                       VideoStreamFields) &&
        checker.records(checked, "stores", StoreFields, "storeUid") &&
        checker.records(checked, "devices", DeviceFields, "deviceId") && checker.channels(checked) &&
        checker.records(checked, "probes", ProbeFields, "probeId") &&
        checker.records(checked, "recordings", RecordingFields, nullptr) &&
        checker.object(checked, QString(), RootFields);
    if (!ok) {
        *problem = checker.problem;
        return false;
    }
    *root = checked;
    return true;
}
