#include "TestScenario.h"

#include <QDir>
#include <QFile>

QString TestScenario::write(const QString& folder)
{
    static const char json[] = R"({
  "storeWord": "Store",
  "user": { "name": "Alice Operator", "telephone": "555-0100", "permissions": [] },
  "stores": [
    { "storeUid": "S001", "storeName": "North Street" },
    { "storeUid": "S002", "storeName": "Harbour Mall" },
    { "storeUid": "S003", "storeName": "Quiet Corner" }
  ],
  "devices": [
    { "deviceId": "D001", "deviceName": "North NVR", "storeUid": "S001", "deviceType": "nvr", "channels": [] },
    { "deviceId": "D002", "deviceName": "North Door Cam", "storeUid": "S001", "deviceType": "ipc" },
    { "deviceId": "D003", "deviceName": "Harbour NVR", "storeUid": "S002", "deviceType": "nvr" }
  ],
  "probes": [
    { "probeId": "P001", "probeName": "Front door", "storeUid": "S001", "deviceId": "D001", "channelIndex": 1 },
    { "probeId": "P002", "probeName": "Back window", "storeUid": "S001", "deviceId": "D001", "channelIndex": 2 },
    { "probeId": "P003", "probeName": "Cash desk", "deviceId": "D002", "channelIndex": 1 },
    { "probeId": "P004", "probeName": "Loading bay", "storeUid": "S002", "deviceId": "D003", "channelIndex": 1 },
    { "probeId": "P005", "probeName": "", "storeUid": "S002", "deviceId": "D003", "channelIndex": 2 }
  ],
  "someFutureKey": { "ignored": true }
})";
    const QString path = QDir(folder).filePath(QStringLiteral("scenario.json"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(json);
    return path;
}
