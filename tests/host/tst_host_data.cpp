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

    QTemporaryDir dir;

    QString writeFile(const QString& name, const QByteArray& content)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

private slots:
    // The first read loads the file named by the environment, as the host does at start.
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("VIG_SCENARIO"))
            return;
        QCOMPARE(StoreData::_instance().getAllOpenedStoresBriefInfo().size(), 12);
        QCOMPARE(Scenario::_instance().path(), qEnvironmentVariable("VIG_SCENARIO"));
    }

    void init()
    {
        QString error;
        QVERIFY2(BasicData::_instance().loadScenario(VIG_SOURCE_DIR "/scenarios/demo.json", &error),
                 qPrintable(error));
    }

    void brokenOrMissingFileEmptiesTheWorld_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("problem");
        QTest::newRow("broken") << writeFile("broken.json", "{ \"stores\": [ { \"storeUid\": \"S1\" ") << "";
        QTest::newRow("not an object") << writeFile("array.json", "[1, 2]") << "not a JSON object";
        QTest::newRow("missing") << dir.filePath("it's missing.json") << "";
    }

    void brokenOrMissingFileEmptiesTheWorld()
    {
        QFETCH(QString, path);
        QFETCH(QString, problem);
        QString error;
        QVERIFY(!BasicData::_instance().loadScenario(path, &error));
        QVERIFY2(error.contains(path) && !error.contains('\n') && error.contains(problem), qPrintable(error));
        QCOMPARE(Scenario::_instance().lastError(), error);
        // A caller that does not take the reason gets it as a warning.
        QTest::ignoreMessage(QtWarningMsg, qPrintable(error));
        QVERIFY(!BasicData::_instance().loadScenario(path));
        QVERIFY(StoreData::_instance().getAllOpenedStoresBriefInfo().isEmpty());
        QVERIFY(BasicData::_instance().getStoreInfo(QStringLiteral("S001")).storeUid.isEmpty());
        QVERIFY(BasicData::_instance().getProbeRelatedChannels(QStringLiteral("P0101")).isEmpty());
    }

    void loaderSkipsBadRecordsAndFillsDefaults()
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
        BasicData& data = BasicData::_instance();
        QCOMPARE(StoreData::_instance().getAllOpenedStoresBriefInfo().size(), 1);
        QCOMPARE(data.getStoreInfo("A").armingState, 0);
        QCOMPARE(data.getStoreInfo("A").latitude, 30.5);
        QCOMPARE(data.getProbeInfo("own").storeUid, QStringLiteral("A"));
        QCOMPARE(data.getDeviceInfo("N").channelCount, 2);
        const QVector<VIG_ChannelInfo> own = data.getProbeRelatedChannels("own");
        QCOMPARE(own.size(), 1);
        QCOMPARE(own.first().channelId, QStringLiteral("N-2"));
        const QVector<VIG_ChannelInfo> listed = data.getProbeRelatedChannels("listed");
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed.at(0).channelId + ' ' + listed.at(1).channelId, QStringLiteral("N-2 N-CH1"));
        QCOMPARE(listed.at(1).channelIndex, 1);
        data.rememberAlarmChannel("alarm", "N", 2);
        const VIG_IcloudAlarmRecordingInfoVec recordings = data.getAlarmRecordings("alarm");
        QCOMPARE(recordings.size(), 1);
        QCOMPARE(recordings.first().deviceAddr, QStringLiteral("10.0.0.9"));
    }

    void readsFromAWorkerStayWholeWhileTheMainThreadWrites()
    {
        const VIG_StoreInfo first = BasicData::_instance().getStoreInfo("S002");
        VIG_StoreInfo second = first;
        second.storeName = QStringLiteral("Renamed");
        second.address = QStringLiteral("Elsewhere");
        std::atomic<bool> stop{false};
        std::atomic<int> torn{0};
        std::atomic<int> reads{0};
        std::unique_ptr<QThread> reader(QThread::create([&]() {
            while (!stop.load()) {
                const VIG_StoreInfo store = BasicData::_instance().getStoreInfo("S002");
                torn += !((store.storeName == first.storeName && store.address == first.address) ||
                          (store.storeName == second.storeName && store.address == second.address));
                BasicData::_instance().getProbeRelatedChannels("P0201");
                ++reads;
            }
        }));
        reader->start();
        for (int round = 0; round < 2000 || reads.load() < 50; ++round) {
            BasicData::_instance().setStoreInfo(round % 2 ? first : second);
            BasicData::_instance().setArmingState("S002", round % 2);
        }
        stop = true;
        QVERIFY(reader->wait());
        QCOMPARE(torn.load(), 0);
    }
};

QTEST_MAIN(TestHostData)
#include "tst_host_data.moc"
