#pragma once

#include <QString>

class QByteArray;
class QJsonObject;

namespace VIG_DATA_MODULE {

struct ScenarioWorld;

// Turns a scenario file, checked by the format's reader, into a world. Records without their id are
// skipped; an unreadable file, a value of the wrong type or an id used twice fails.
class ScenarioLoader
{
public:
    // On failure *world is left empty and *errorText is one line naming the file and the problem.
    static bool loadFile(const QString& path, ScenarioWorld* world, QString* errorText);
    static bool parse(const QByteArray& json, ScenarioWorld* world, QString* problem);

private:
    static void fill(const QJsonObject& root, ScenarioWorld* world);
    static void readSettings(const QJsonObject& root, ScenarioWorld* world);
    static void readStores(const QJsonObject& root, ScenarioWorld* world);
    static void readDevices(const QJsonObject& root, ScenarioWorld* world);
    static void readProbes(const QJsonObject& root, ScenarioWorld* world);
    static void readRecordings(const QJsonObject& root, ScenarioWorld* world);
};

} // namespace VIG_DATA_MODULE
