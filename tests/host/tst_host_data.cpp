#include "BasicData.h"
#include "DataSignals.h"
#include "DeviceData.h"
#include "Scenario.h"
#include "StoreData.h"

#include <QSet>
#include <QSignalSpy>
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
    void demoDescribesAConsistentWorld();
    void demoHasEveryAlarmOutLinkMode();
    void brokenOrMissingFileEmptiesTheWorld_data();
    void brokenOrMissingFileEmptiesTheWorld();
    void loaderSkipsBadRecordsAndFillsDefaults();
    void closeProtectionDisarmsTheStore();
    void recordingsAnswerLaterOnTheMainThread();
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

void TestHostData::demoDescribesAConsistentWorld()
{
    const BasicData& data = BasicData::_instance();
    const QVector<VIG_StoreBriefInfo> stores = StoreData::_instance().getAllOpenedStoresBriefInfo();
    QCOMPARE(stores.size(), 12);
    QCOMPARE(stores.first().storeUid, QStringLiteral("S001"));

    const VIG_StoreInfo store = data.getStoreInfo(QStringLiteral("S001"));
    QCOMPARE(store.storeName, stores.first().storeName);
    QCOMPARE(store.city, QStringLiteral("Hangzhou"));
    QVERIFY(!store.keeperTel.isEmpty() && !store.ownerTel.isEmpty() && !store.principalTel.isEmpty());
    QVERIFY(store.longitude > 119.5 && store.longitude < 121.0);
    QVERIFY(store.latitude > 29.8 && store.latitude < 30.7);

    int probes = 0;
    int armed = 0;
    QSet<QString> channelsWithRecordings;
    for (const VIG_StoreBriefInfo& brief : stores) {
        armed += data.getStoreInfo(brief.storeUid).armingState == 1;
        const QVector<VIG_DeviceInfo> devices = DeviceData::_instance().getStoreDevicesInfo(brief.storeUid);
        QVERIFY2(!devices.isEmpty(), qPrintable(brief.storeUid));
        for (const VIG_DeviceInfo& device : devices) {
            QCOMPARE(data.getDeviceInfo(device.deviceId).storeUid, brief.storeUid);
            QVERIFY(device.deviceType == QLatin1String("nvr") || device.deviceType == QLatin1String("ipc"));
            const QVector<VIG_ChannelInfo> channels = data.getDeviceChannels(device.deviceId);
            QCOMPARE(channels.size(), device.channelCount);
            for (const VIG_ChannelInfo& channel : channels) {
                QCOMPARE(channel.storeUid, brief.storeUid);
                // Any alarm raised on this channel finds its recordings through the channel alone.
                const QString alarmUid = QStringLiteral("demo-") + channel.channelId;
                BasicData::_instance().rememberAlarmChannel(alarmUid, device.deviceId, channel.channelIndex);
                const VIG_IcloudAlarmRecordingInfoVec recordings = data.getAlarmRecordings(alarmUid);
                for (const VIG_IcloudAlarmRecordingInfo& recording : recordings) {
                    QCOMPARE(recording.channelId, channel.channelId);
                    QCOMPARE(recording.deviceAddr, device.address);
                    QCOMPARE(QDateTime::fromString(recording.recordingName.right(19), "yyyy-MM-dd hh:mm:ss"),
                             QDateTime::fromString(recording.startTime, "yyyy-MM-dd hh:mm:ss"));
                    channelsWithRecordings.insert(channel.channelId);
                }
            }
        }
    }
    QVERIFY(armed >= 2 && armed < stores.size());
    QVERIFY(channelsWithRecordings.size() >= 30);

    // Every probe sits on a channel of its store and every related channel it lists exists.
    for (int store = 1; store <= 12; ++store) {
        for (int index = 1; index <= 9; ++index) {
            const QString probeId = QString::asprintf("P%02d%02d", store, index);
            const VIG_ProbeInfo probe = data.getProbeInfo(probeId);
            if (probe.probeId.isEmpty())
                continue;
            ++probes;
            QCOMPARE(data.getDeviceInfo(probe.deviceId).storeUid, probe.storeUid);
            const QVector<VIG_ChannelInfo> related = data.getProbeRelatedChannels(probeId);
            QVERIFY2(!related.isEmpty(), qPrintable(probeId));
            QCOMPARE(related.first().deviceId, probe.deviceId);
            QCOMPARE(related.first().channelIndex, probe.channelIndex);
            for (const VIG_ChannelInfo& channel : related)
                QCOMPARE(channel.storeUid, probe.storeUid);
        }
    }
    QVERIFY(probes >= 40);
}

void TestHostData::demoHasEveryAlarmOutLinkMode()
{
    QSet<int> modes;
    for (const VIG_StoreBriefInfo& brief : StoreData::_instance().getAllOpenedStoresBriefInfo())
        modes.insert(BasicData::_instance().getStoreInfo(brief.storeUid).alarmOutLinkMode);
    QCOMPARE(modes, (QSet<int>{0, 1, 2}));
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
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Scenario file .*"));
    QString error;
    QVERIFY(!BasicData::_instance().loadScenario(path, &error));
    QVERIFY2(error.contains(path) && !error.contains('\n'), qPrintable(error));
    QVERIFY(error.contains(problem));
    QCOMPARE(Scenario::_instance().lastError(), error);
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

void TestHostData::closeProtectionDisarmsTheStore()
{
    BasicData& data = BasicData::_instance();
    QCOMPARE(data.getStoreInfo("S001").armingState, 1);
    QSignalSpy armingSpy(&DataSignals::_instance(), &DataSignals::signalStoreArmingStateChanged);

    data.closeProtection("S001", QUuid::createUuid().toString(), AlarmDeployWholeStore);
    QCOMPARE(data.getStoreInfo("S001").armingState, 0);
    QCOMPARE(armingSpy.count(), 1);
    QCOMPARE(armingSpy.first(), (QVariantList{QStringLiteral("S001"), 0}));

    data.closeProtection("nowhere", QString(), AlarmDeployWholeStore);
    QCOMPARE(armingSpy.count(), 1);
    QCOMPARE(data.getStoreInfo("S001").storeName,
             StoreData::_instance().getAllOpenedStoresBriefInfo()[0].storeName);
}

void TestHostData::recordingsAnswerLaterOnTheMainThread()
{
    BasicData& data = BasicData::_instance();
    data.rememberAlarmChannel("alarm-1", "D0101", 1);
    const VIG_IcloudAlarmRecordingInfoVec expected = data.getAlarmRecordings("alarm-1");
    QVERIFY(!expected.isEmpty());

    QVector<QThread*> threads;
    QVector<VIG_IcloudAlarmRecordingInfoVec> answers;
    QStringList uuids;
    QObject receiver;
    connect(&DataSignals::_instance(), &DataSignals::signalGetIcloudAlarmRecordingsInfo, &receiver,
            [&](const QString& uuid, const VIG_IcloudAlarmRecordingInfoVec& recordings) {
                threads.append(QThread::currentThread());
                uuids.append(uuid);
                answers.append(recordings);
            });

    data.getAlarmRemoteRecordingsInfo("{main}", "alarm-1");
    QVERIFY(answers.isEmpty());
    QThread* worker =
        QThread::create([&data]() { data.getAlarmRemoteRecordingsInfo("{worker}", "unknown"); });
    worker->start();
    QVERIFY(worker->wait());
    delete worker;

    QTRY_COMPARE(answers.size(), 2);
    QCOMPARE(uuids, (QStringList{"{main}", "{worker}"}));
    QCOMPARE(answers.at(0).size(), expected.size());
    QCOMPARE(answers.at(0).first().locator, expected.first().locator);
    QVERIFY(answers.at(1).isEmpty());
    QCOMPARE(threads, (QVector<QThread*>{QThread::currentThread(), QThread::currentThread()}));
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
