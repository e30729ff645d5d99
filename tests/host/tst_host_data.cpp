#include "BasicData.h"
#include "Scenario.h"
#include "StoreData.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>

using namespace VIG_DATA_MODULE;

class TestHostData : public QObject
{
    Q_OBJECT

private:
    static QString demoPath() { return QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json"); }
    QString writeFile(const QString& name, const QByteArray& content);
    QTemporaryDir dir;

private slots:
    void initTestCase();
    void init();
    void brokenOrMissingFileEmptiesTheWorld_data();
    void brokenOrMissingFileEmptiesTheWorld();
    void loaderSkipsBadRecordsAndFillsDefaults();
    void readsFromAWorkerStayWholeWhileTheMainThreadWrites();
};

QString TestHostData::writeFile(const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestHostData::initTestCase()
{
    // The first read loads the file named by the environment, as the host does at start.
    if (!qEnvironmentVariableIsSet("VIG_SCENARIO"))
        return;
    QCOMPARE(StoreData::_instance().getAllOpenedStoresBriefInfo().size(), 12);
    QCOMPARE(Scenario::_instance().path(), qEnvironmentVariable("VIG_SCENARIO"));
    QVERIFY(Scenario::_instance().lastError().isEmpty());
}

void TestHostData::init()
{
    QString error;
    QVERIFY2(BasicData::_instance().loadScenario(demoPath(), &error), qPrintable(error));
}

void TestHostData::brokenOrMissingFileEmptiesTheWorld_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("problem");
    QTest::newRow("broken") << writeFile("broken.json", "{ \"stores\": [ { \"storeUid\": \"S1\" ") << "";
    QTest::newRow("not an object") << writeFile("array.json", "[1, 2]") << "not a JSON object";
    QTest::newRow("missing") << dir.filePath("it's missing.json") << "";
}

void TestHostData::brokenOrMissingFileEmptiesTheWorld()
{
    QFETCH(QString, path);
    QFETCH(QString, problem);
    QString error;
    QVERIFY(!BasicData::_instance().loadScenario(path, &error));
    QVERIFY2(error.contains(path) && !error.contains('\n'), qPrintable(error));
    QVERIFY(error.contains(problem));
    QCOMPARE(Scenario::_instance().lastError(), error);
    // A caller that does not take the reason gets it as a warning.
    QTest::ignoreMessage(QtWarningMsg, qPrintable(error));
    QVERIFY(!BasicData::_instance().loadScenario(path));
    QVERIFY(StoreData::_instance().getAllOpenedStoresBriefInfo().isEmpty());
    QVERIFY(BasicData::_instance().getStoreInfo(QStringLiteral("S001")).storeUid.isEmpty());
    QVERIFY(BasicData::_instance().getProbeRelatedChannels(QStringLiteral("P0101")).isEmpty());
}

void TestHostData::loaderSkipsBadRecordsAndFillsDefaults()
{
    const QString path = writeFile("lenient.json", R"({
        "future": {"ignored": true},
        "stores": [ {"storeName": "no id"}, {"storeUid": "A", "armingState": "yes", "latitude": 30.5} ],
        "devices": [ {"deviceId": "N", "storeUid": "A", "deviceType": "nvr", "address": "10.0.0.9",
                      "channels": [ {"channelName": "one"}, {"channelId": "N-2", "channelIndex": 2} ]} ],
        "probes": [ {"probeId": "own", "deviceId": "N", "channelIndex": 2},
                    {"probeId": "listed", "deviceId": "N", "channelIndex": 1, "channels": ["ghost", "N-2", "N-CH1"]} ],
        "recordings": [ {"channelId": "N-2", "recordingName": "r"}, {"recordingName": "no channel"} ]
    })");
    QString error;
    QVERIFY2(BasicData::_instance().loadScenario(path, &error), qPrintable(error));
    const BasicData& data = BasicData::_instance();

    QCOMPARE(StoreData::_instance().getAllOpenedStoresBriefInfo().size(), 1);
    QCOMPARE(data.getStoreInfo("A").armingState, 0);
    QCOMPARE(data.getStoreInfo("A").latitude, 30.5);
    QCOMPARE(data.getProbeInfo("own").storeUid, QStringLiteral("A"));
    QCOMPARE(data.getDeviceInfo("N").channelCount, 2);

    QVector<VIG_ChannelInfo> own = data.getProbeRelatedChannels("own");
    QCOMPARE(own.size(), 1);
    QCOMPARE(own.first().channelId, QStringLiteral("N-2"));
    QVector<VIG_ChannelInfo> listed = data.getProbeRelatedChannels("listed");
    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed.at(0).channelId, QStringLiteral("N-2"));
    QCOMPARE(listed.at(1).channelId, QStringLiteral("N-CH1"));
    QCOMPARE(listed.at(1).channelIndex, 1);

    BasicData::_instance().rememberAlarmChannel("alarm", "N", 2);
    const VIG_IcloudAlarmRecordingInfoVec recordings = data.getAlarmRecordings("alarm");
    QCOMPARE(recordings.size(), 1);
    QCOMPARE(recordings.first().deviceAddr, QStringLiteral("10.0.0.9"));
}

void TestHostData::readsFromAWorkerStayWholeWhileTheMainThreadWrites()
{
    VIG_StoreInfo first = BasicData::_instance().getStoreInfo("S002");
    VIG_StoreInfo second = first;
    second.storeName = QStringLiteral("Renamed");
    second.address = QStringLiteral("Elsewhere");

    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};
    QThread* reader = QThread::create([&]() {
        while (!stop.load()) {
            const VIG_StoreInfo store = BasicData::_instance().getStoreInfo("S002");
            const bool whole = (store.storeName == first.storeName && store.address == first.address) ||
                               (store.storeName == second.storeName && store.address == second.address);
            torn += whole ? 0 : 1;
            BasicData::_instance().getProbeRelatedChannels("P0201");
            ++reads;
        }
    });
    reader->start();
    for (int round = 0; round < 2000 || reads.load() < 50; ++round) {
        BasicData::_instance().setStoreInfo(round % 2 ? first : second);
        BasicData::_instance().setArmingState("S002", round % 2);
    }
    stop = true;
    QVERIFY(reader->wait());
    delete reader;
    QCOMPARE(torn.load(), 0);
}

QTEST_MAIN(TestHostData)
#include "tst_host_data.moc"
