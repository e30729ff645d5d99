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
        QTest::newRow("wrong type") << writeFile("type.json", R"({"stores":[{"storeUid":1}],"probes":"x"})")
                                    << "stores[0].storeUid must be a text";
        QTest::newRow("not a list") << writeFile("list.json", R"({"probes":"x"})") << "probes must be a list";
        QTest::newRow("id twice") << writeFile("twice.json",
                                               R"({"probes":[{"probeId":"P1"},{"probeId":"P1"}]})")
                                  << "probeId \"P1\" is used twice";
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

    // The service's thread reads while the host writes on the main thread.
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
