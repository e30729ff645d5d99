#include "SimAlarmCatalogue.h"

#include <QObject>

#include <iterator>

namespace {

const SimAlarmCatalogue::Kind kinds[] = {
    {"intrusion", "burglary", QT_TRANSLATE_NOOP("QObject", "Burglary"),
     QT_TRANSLATE_NOOP("QObject", "Intrusion"), true},
    {"door-forced", "burglary", QT_TRANSLATE_NOOP("QObject", "Burglary"),
     QT_TRANSLATE_NOOP("QObject", "Door forced open"), true},
    {"glass-break", "burglary", QT_TRANSLATE_NOOP("QObject", "Burglary"),
     QT_TRANSLATE_NOOP("QObject", "Glass break"), true},
    {"tamper", "system", QT_TRANSLATE_NOOP("QObject", "System"), QT_TRANSLATE_NOOP("QObject", "Tamper"),
     false},
    {"video-loss", "video", QT_TRANSLATE_NOOP("QObject", "Video"), QT_TRANSLATE_NOOP("QObject", "Video loss"),
     false},
    {"motion", "video", QT_TRANSLATE_NOOP("QObject", "Video"),
     QT_TRANSLATE_NOOP("QObject", "Motion detected"), true},
    {"panic", "emergency", QT_TRANSLATE_NOOP("QObject", "Emergency"),
     QT_TRANSLATE_NOOP("QObject", "Panic button"), true},
    {"smoke", "fire", QT_TRANSLATE_NOOP("QObject", "Fire"), QT_TRANSLATE_NOOP("QObject", "Smoke detected"),
     false},
};

} // namespace

QStringList SimAlarmCatalogue::keys()
{
    QStringList list;
    for (const Kind& kind : kinds)
        list.append(QLatin1String(kind.key));
    return list;
}

int SimAlarmCatalogue::count()
{
    return int(std::size(kinds));
}

const SimAlarmCatalogue::Kind& SimAlarmCatalogue::at(int index)
{
    return kinds[index];
}

const SimAlarmCatalogue::Kind* SimAlarmCatalogue::find(const QString& key)
{
    for (const Kind& kind : kinds) {
        if (key == QLatin1String(kind.key))
            return &kind;
    }
    return nullptr;
}
