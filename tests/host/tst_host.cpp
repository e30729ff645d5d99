// The host stand-ins the module leans on: the scenario's data, the table widget, the web view and the video
// overlay.
#include "MapViewer.h"
#include "ModuleTestSupport.h"
#include "Scenario.h"
#include "StoreData.h"
#include "TestMain.h"
#include "VideoOverlayLine.h"
#include "ZWebView.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QWebFrame>
#include <atomic>

using namespace VIG_DATA_MODULE;
using VIG_BASE_MODULE::TableWidget;
using ZCOMMON::ZWebView;

namespace {
void verifyKeys(const TableWidget& table)
{
    for (int row = 0; row < table.rowCount(); ++row)
        QCOMPARE(table.getRowIndexByKeyValue(table.getRowKeyValue(row)), row);
}
QStringList snapshot(const TableWidget& table)
{
    QStringList shot;
    for (int row = 0; row < table.rowCount(); ++row)
        shot << table.getRowKeyValue(row) + '|' + table.item(row, 1)->text() + '|' +
                    table.item(row, 1)->foreground().color().name();
    return shot;
}

const char* const RecorderPage = R"(<html><body><script>
window.injected = 0;
window.alert = function () { window.injected += 1; };
window.record = function () {
    window.calls = (window.calls || 0) + 1;
    window.got = Array.prototype.slice.call(arguments);
    return arguments.length;
};
</script></body></html>)";

QVariant evaluate(QWebView& view, const QString& script)
{
    return view.page()->mainFrame()->evaluateJavaScript(script);
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TestHost : public QObject
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
        QVERIFY(StoreData::_instance().getAllOpenedStoresBriefInfo().isEmpty() &&
                BasicData::_instance().getStoreInfo("S001").storeUid.isEmpty() &&
                BasicData::_instance().getProbeRelatedChannels("P0101").isEmpty());
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

    // Rows queued for the top end exactly as if each had been inserted at the top on its own, and rows queued
    // for removal as if each had been removed at once, with keys repeating (in the queue and against rows
    // already in) and rows deleted (by key and by Qt's own removeRow), changed and sorted in between.
    void queuedRowsMatchRowsInsertedOneByOne()
    {
        TableWidget queued;
        TableWidget direct;
        queued.setHeaderViewColumnName({"a", "b"});
        direct.setHeaderViewColumnName({"a", "b"});
        QRandomGenerator random(7);
        for (int step = 0; step < 3000; ++step) {
            const QString key = QString("k%1").arg(random.bounded(400));
            const QStringList values{key, QString("v%1").arg(step)};
            const QColor colour = step % 3 ? QColor("#ff6e89") : QColor("#49cc90");
            const int action = random.bounded(100);
            if (action < 65) {
                queued.queueFront(values, key, colour);
                direct.setRowTextColor(direct.insertFront(values, key, {}), colour);
            } else if (action < 75) {
                queued.insertBack(values, key, {});
                direct.insertBack(values, key, {});
            } else if (action < 80) {
                QCOMPARE(queued.deleteRowByKeyValue(key), direct.deleteRowByKeyValue(key));
            } else if (action < 90) {
                QCOMPARE(queued.removeRowLater(key), direct.deleteRowByKeyValue(key));
                QCOMPARE(queued.getRowIndexByKeyValue(key), -1);
            } else if (action < 96) {
                // Rows queued for removal still hold their numbers: each table is asked for its own.
                const int row = queued.getRowIndexByKeyValue(key);
                QCOMPARE(row >= 0, direct.getRowIndexByKeyValue(key) >= 0);
                queued.modifyRowValues({key, "changed"}, row);
                direct.modifyRowValues({key, "changed"}, direct.getRowIndexByKeyValue(key));
            } else {
                // By row number or by a sort: whatever waits goes in first.
                queued.flushPendingRemovals();
                queued.flushPendingRows();
                const int row = direct.getRowIndexByKeyValue(key);
                for (TableWidget* table : {&queued, &direct}) {
                    if (action >= 98)
                        table->sortByColumn(0, Qt::AscendingOrder);
                    else if (row >= 0)
                        table->removeRow(row);
                    verifyKeys(*table);
                }
                QVERIFY(!QTest::currentTestFailed()); // one report, not one per step
            }
            if (step % 500 == 0)
                QCoreApplication::processEvents(); // lets some blocks go in on their own
        }
        queued.flushPendingRemovals();
        queued.flushPendingRows();
        QCOMPARE(queued.pendingRowCount(), 0);
        QCOMPARE(queued.pendingRemovalCount(), 0);
        QCOMPARE(snapshot(queued), snapshot(direct));
        verifyKeys(queued);
    }

    // Rows changed right after a paint show with the next frame, all of them; none waits for more input.
    void changesRightAfterAPaintAreAllPaintedSoon()
    {
        TableWidget table;
        table.setHeaderViewColumnName({"a"});
        PaintCounter counter;
        table.viewport()->installEventFilter(&counter);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        QTRY_VERIFY(counter.paints > 0);
        const int painted = counter.paints;
        for (int n = 0; n < 50; ++n) {
            table.insertFront({QString("r%1").arg(n)}, QString("k%1").arg(n), {});
            table.setRowTextColor(0, Qt::red);
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(table.viewport()->updatesEnabled());
        QTRY_VERIFY(counter.paints > painted);
        QCOMPARE(table.getRowKeyValue(0), QString("k49"));
    }

    void scriptArgumentsStayData()
    {
        ZWebView view;
        QSignalSpy loaded(&view, &QWebView::loadFinished);
        view.setHtml(RecorderPage);
        QVERIFY((loaded.count() > 0 || loaded.wait(10000)) && loaded.last().at(0).toBool());
        const QStringList hostile = {"plain",
                                     "a \"quoted\" 'text'",
                                     "back\\slash \\\" \\u0041",
                                     "</script><script>alert(1)</script>",
                                     "\"); alert(1); (\"",
                                     "'); alert(1); ('",
                                     "line\nbreak\r\u2028\u2029 end",
                                     QString::fromUtf8("\xe5\xba\x97\xe9\x93\xba \xf0\x9f\x8f\xaa"),
                                     QString()};
        QCOMPARE(view.callJSFunction("record", hostile).toInt(), hostile.size());

        const QJsonArray got =
            QJsonDocument::fromJson(evaluate(view, "JSON.stringify(window.got)").toString().toUtf8()).array();
        QCOMPARE(QVariant(got.toVariantList()).toStringList(), hostile);
        QCOMPARE(evaluate(view, "window.injected").toInt(), 0);

        // The function's name is data too: no function of that name, nothing runs.
        QVERIFY(!view.callJSFunction("record\"]; alert(1); window[\"record", {}).isValid());
        QVERIFY(!view.callJSFunction("missing", {"x"}).isValid());
        QCOMPARE(evaluate(view, "window.injected").toInt(), 0);
        QCOMPARE(evaluate(view, "window.calls").toInt(), 1);
    }

    void mapPageShowsStores()
    {
        VIG_BASE_MODULE::MapViewer map;
        map.resize(640, 480);
        QSignalSpy loaded(&map, &QWebView::loadFinished);
        QVERIFY(loaded.wait(10000) && loaded.at(0).at(0).toBool() && map.isMapLoaded());

        const QString hostileName = "<img src=x onerror=\"alert(1)\">Store";
        const QJsonArray stores{
            QJsonObject{{"storeGuid", "S001"}, {"storeName", hostileName}, {"lng", 121.47}, {"lat", 31.23}},
            QJsonObject{{"storeGuid", "S002"}, {"storeName", "Bund"}, {"lng", 121.49}, {"lat", 31.24}},
            QJsonObject{{"storeGuid", "bad"}, {"storeName", "no place"}, {"lng", "x"}, {"lat", 1}}};
        QCOMPARE(map.callJSFunction("initStores", {QJsonDocument(stores).toJson()}).toInt(), 2);
        QVERIFY(map.callJSFunction("moveTo", {"\"S002\""}).toBool());
        QVERIFY(!map.callJSFunction("moveTo", {"\"S404\""}).toBool());
        QVERIFY(QMetaObject::invokeMethod(&map, "slotSatelliteBtClicked"));

        const QJsonObject state =
            QJsonDocument::fromJson(map.callJSFunction("getState", {}).toString().toUtf8()).object();
        QCOMPARE(
            QVariantList({state.value("stores").toArray().size(),
                          state.value("stores").toArray().at(0).toObject().value("storeName").toString(),
                          state.value("centre").toObject().value("lng").toDouble(), state.value("mapType")}),
            QVariantList({2, hostileName, 121.49, "satellite"}));

        // The search list shows the name as text: no element is made from it.
        const QVariant images =
            evaluate(map, "var i = document.getElementById('searchInput'); i.value = 'img';"
                          "var e = document.createEvent('Event'); e.initEvent('input', true, true);"
                          "i.dispatchEvent(e); document.getElementsByTagName('img').length");
        QCOMPARE(images.toInt(), 0);
        QCOMPARE(evaluate(map, "document.getElementById('results').firstChild.textContent").toString(),
                 hostileName);
    }

    void textsStayApart()
    {
        const QStringList lines[] = {{"Sub stream", "", "2026-12-06 13:45:28"},
                                     {"HZ-008 Safe Room", "ALARM", "REC"},
                                     {"HZ-009 Sales Floor", "ALARM", ""},
                                     {QString(60, 'N'), "ALARM", ""}};
        for (const QStringList& texts : lines) {
            for (int width = 20; width <= 900; width += 7) {
                const QRect area(8, 6, width, 200);
                VIG_BASE_MODULE::VideoOverlayLine line(texts.at(0), texts.at(1), texts.at(2));
                line.fit(QFont(), area, 22);
                const QRect rects[] = {line.leftRect(), line.centreRect(), line.rightRect()};
                for (int i = 0; i < 3; ++i) {
                    QVERIFY(rects[i].isEmpty() || area.contains(rects[i]));
                    for (int j = i + 1; j < 3; ++j)
                        QVERIFY2(!rects[i].intersects(rects[j]), qPrintable(QString::number(width)));
                }
                if (width >= 400 && texts.at(0).size() < 30) // what fits is not left out
                    QCOMPARE(line.leftText() + line.centreText(), texts.at(0) + texts.at(1));
                if (width >= 150 && texts.at(0).size() < 30) // a camera's name is read whole in a grid cell
                    QCOMPARE(line.leftText(), texts.at(0));
            }
        }
    }
};

VIG_TEST(tst_host, TestHost)
#include "tst_host.moc"
