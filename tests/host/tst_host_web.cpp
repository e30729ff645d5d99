#include "MapViewer.h"
#include "ZWebView.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebFrame>
#include <QtTest>

using ZCOMMON::ZWebView;

namespace {

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

} // namespace

class TstHostWeb : public QObject
{
    Q_OBJECT

private slots:
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
        QCOMPARE(got.size(), hostile.size());
        for (int i = 0; i < hostile.size(); ++i)
            QCOMPARE(got.at(i).toString(), hostile.at(i));
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
        QJsonArray stores;
        stores.append(
            QJsonObject{{"storeGuid", "S001"}, {"storeName", hostileName}, {"lng", 121.47}, {"lat", 31.23}});
        stores.append(
            QJsonObject{{"storeGuid", "S002"}, {"storeName", "Bund"}, {"lng", 121.49}, {"lat", 31.24}});
        stores.append(QJsonObject{{"storeGuid", "bad"}, {"storeName", "no place"}, {"lng", "x"}, {"lat", 1}});
        QCOMPARE(map.callJSFunction("initStores", {QJsonDocument(stores).toJson()}).toInt(), 2);
        QVERIFY(map.callJSFunction("moveTo", {"\"S002\""}).toBool());
        QVERIFY(!map.callJSFunction("moveTo", {"\"S404\""}).toBool());
        QVERIFY(QMetaObject::invokeMethod(&map, "slotSatelliteBtClicked"));

        const QJsonObject state =
            QJsonDocument::fromJson(map.callJSFunction("getState", {}).toString().toUtf8()).object();
        QCOMPARE(state.value("stores").toArray().size(), 2);
        QCOMPARE(state.value("stores").toArray().at(0).toObject().value("storeName").toString(), hostileName);
        QCOMPARE(state.value("centre").toObject().value("lng").toDouble(), 121.49);
        QCOMPARE(state.value("mapType").toString(), QString("satellite"));

        // The search list shows the name as text: no element is made from it.
        const QVariant images =
            evaluate(map, "var i = document.getElementById('searchInput'); i.value = 'img';"
                          "var e = document.createEvent('Event'); e.initEvent('input', true, true);"
                          "i.dispatchEvent(e); document.getElementsByTagName('img').length");
        QCOMPARE(images.toInt(), 0);
        QCOMPARE(evaluate(map, "document.getElementById('results').firstChild.textContent").toString(),
                 hostileName);
    }
};

QTEST_MAIN(TstHostWeb)
#include "tst_host_web.moc"
