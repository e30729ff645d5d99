#pragma once

#include <QString>
#include <QStringList>

// The kinds of alarm the simulated server raises. A kind's key is also its sub-type key.
class SimAlarmCatalogue
{
public:
    struct Kind
    {
        const char* key;
        const char* typeKey;
        const char* typeText; // translated at use, context "QObject"
        const char* subTypeText;
        bool liveImages; // a camera takes images when such an alarm is handled
    };

    static QStringList keys();
    static int count();
    static const Kind& at(int index);
    // Null for an unknown key.
    static const Kind* find(const QString& key);
};
