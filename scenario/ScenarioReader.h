#pragma once

#include <QJsonObject>
#include <QString>

class QByteArray;

// Reads a scenario file and checks it against the format before anyone takes a value from it: every known
// key has the type the format gives it (unknown keys are ignored), and no store, device or probe id is used
// twice. A record without its id is left in and skipped by its reader. Whoever reads a checked document may
// take values with QJsonValue's plain conversions.
class Q_DECL_EXPORT ScenarioReader
{
public:
    // On failure *root is empty and *errorText is one line naming the file and the problem.
    static bool readFile(const QString& path, QJsonObject* root, QString* errorText);
    // On failure *problem names the place, e.g. "stores[0].storeUid must be a text".
    static bool read(const QByteArray& json, QJsonObject* root, QString* problem);
};
