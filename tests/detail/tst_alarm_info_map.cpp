#include "detail/AlarmInfoWidget.h"
#include "detail/AlarmMapViewer.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "WordwrapLabel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;

namespace {

QString value(const AlarmInfoWidget& widget, const char* name)
{
    return widget.findChild<ZCOMMON::WordwrapLabel*>(QLatin1String(name))->text();
}

QString label(const AlarmInfoWidget& widget, const char* name)
{
    return widget.findChild<QLabel*>(QLatin1String(name))->text();
}

QJsonObject pageState(AlarmMapViewer& map)
{
    return QJsonDocument::fromJson(map.callJSFunction(QStringLiteral("getState"), {}).toString().toUtf8())
        .object();
}

VIG_AlarmInfo alarmAt(const QString& storeUid, const QString& probeId)
{
    VIG_AlarmInfo alarm;
    alarm.alarmUid = QStringLiteral("I1");
    alarm.storeUid = storeUid;
    alarm.probeId = probeId;
    alarm.alarmTime = QStringLiteral("2026-04-01 02:03:04");
    alarm.typeDescription = QStringLiteral("Intrusion");
    alarm.subTypeDescription = QStringLiteral("Door forced");
    alarm.describe = QStringLiteral("Back door opened");
    return alarm;
}

} // namespace

class TestAlarmInfoMap : public QObject
{
    Q_OBJECT

private slots:
    void rowsShowTheAlarmAndItsStore();
    void unknownStoreLeavesStoreRowsEmpty();
    void longDescriptionMakesThePanelTaller();
    void mapIsFedOnlyAfterAGoodLoad();
};

void TestAlarmInfoMap::rowsShowTheAlarmAndItsStore()
{
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setStoreWord(QStringLiteral("Shop"));
    AlarmInfoWidget widget;
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setStoreWord(QStringLiteral("Store"));
    QCOMPARE(widget.objectName(), QString("VIG_ALARM_MOUDLE__AlarmInfoWidget"));
    QCOMPARE(widget.color(), QColor("#23262f"));
    QCOMPARE(label(widget, "storeNameLabel"), QString("Shop_Name:"));
    QCOMPARE(label(widget, "storeKeeperLabel"), QString("Shop_Keeper:"));
    QCOMPARE(label(widget, "storeTelLabel"), QString("Shop_Keeper Tel:"));
    QCOMPARE(label(widget, "storeOwnerLabel"), QString("Shop_Owner:"));
    QCOMPARE(label(widget, "storeOwnerTelLabel"), QString("Shop_Owner_Tel:"));
    QCOMPARE(label(widget, "storeAddressLabel"), QString("Shop_Address:"));
    QCOMPARE(label(widget, "pirsInfoLabel"), QString("Pirs Info:"));
    QCOMPARE(label(widget, "alarmDescribeLabel"), QString("Alarm Describel:"));
    QCOMPARE(widget.findChildren<QLabel*>().size(), 14);
    for (const QLabel* name : widget.findChildren<QLabel*>())
        QVERIFY(name->property("VIG_alarmtInfoLabel").toBool());
    const QList<ZCOMMON::WordwrapLabel*> values = widget.findChildren<ZCOMMON::WordwrapLabel*>();
    QCOMPARE(values.size(), 14);
    for (const ZCOMMON::WordwrapLabel* each : values)
        QVERIFY(each->property("VIG_alarmInfo").toBool());

    widget.setAlarmInfo(alarmAt("S001", "P0101"));
    const VIG_DATA_MODULE::VIG_StoreInfo store = VIG_DATA_MODULE::BasicData::_instance().getStoreInfo("S001");
    QVERIFY(!store.storeName.isEmpty());
    QCOMPARE(value(widget, "storeName"), store.storeName);
    QCOMPARE(value(widget, "pirsInfo"),
             VIG_DATA_MODULE::BasicData::_instance().getProbeInfo("P0101").probeDescription);
    QCOMPARE(value(widget, "storeKeeper"), store.keeper);
    QCOMPARE(value(widget, "storeTel"), store.keeperTel);
    QCOMPARE(value(widget, "storeOwner"), store.owner);
    QCOMPARE(value(widget, "storeOwnerTel"), store.ownerTel);
    QCOMPARE(value(widget, "responsible"), store.responsible);
    QCOMPARE(value(widget, "responsibleTel"), store.responsibleTel);
    QCOMPARE(value(widget, "storeAddress"), store.address);
    QCOMPARE(value(widget, "payState"), store.payState);
    QCOMPARE(value(widget, "alarmTime"), QString("2026-04-01 02:03:04"));
    QCOMPARE(value(widget, "alarmType"), QString("Intrusion"));
    QCOMPARE(value(widget, "alarmSubType"), QString("Door forced"));
    QCOMPARE(value(widget, "alarmDescribe"), QString("Back door opened"));

    // In the check widget's narrow column every name shows whole, in one column; the values wrap.
    widget.setFixedWidth(291);
    widget.show();
    const QList<QLabel*> names = widget.findChildren<QLabel*>();
    for (const QLabel* name : names) {
        QVERIFY2(name->width() >= name->sizeHint().width(), qPrintable(name->text()));
        QCOMPARE(name->x(), names.first()->x());
        QCOMPARE(name->width(), names.first()->width());
    }
}

void TestAlarmInfoMap::unknownStoreLeavesStoreRowsEmpty()
{
    AlarmInfoWidget widget;
    widget.setAlarmInfo(alarmAt("S001", "P0101"));
    widget.setAlarmInfo(alarmAt("NO-SUCH-STORE", "NO-SUCH-PROBE"));
    for (const char* name : {"storeName", "pirsInfo", "storeKeeper", "storeTel", "storeOwner",
                             "storeOwnerTel", "responsible", "responsibleTel", "storeAddress", "payState"})
        QCOMPARE(value(widget, name), QString());
    QCOMPARE(value(widget, "alarmTime"), QString("2026-04-01 02:03:04"));
    QCOMPARE(value(widget, "alarmType"), QString("Intrusion"));
    QCOMPARE(value(widget, "alarmSubType"), QString("Door forced"));
    QCOMPARE(value(widget, "alarmDescribe"), QString("Back door opened"));
}

void TestAlarmInfoMap::longDescriptionMakesThePanelTaller()
{
    AlarmInfoWidget widget;
    widget.setFixedWidth(306);
    widget.show();
    VIG_AlarmInfo alarm = alarmAt("S001", "P0101");
    widget.setAlarmInfo(alarm);
    auto* describe = widget.findChild<ZCOMMON::WordwrapLabel*>(QStringLiteral("alarmDescribe"));
    const int panel = widget.height();
    const int row = describe->height();

    alarm.describe = QStringLiteral("line one\nline two\nline three\nline four");
    widget.setAlarmInfo(alarm);
    QVERIFY(describe->height() > row);
    QCOMPARE(widget.height() - panel, describe->height() - row);
    QCOMPARE(widget.height(), widget.minimumHeight()); // fixed, for the scroll area
}

void TestAlarmInfoMap::mapIsFedOnlyAfterAGoodLoad()
{
    AlarmMapViewer map(QStringLiteral("S001"));
    QCOMPARE(map.width(), 320);
    QVERIFY(!map.isSearchBoxVisible());
    QVERIFY(!map.isMapTypeSelectBtsVisible());
    QSignalSpy loaded(&map, &AlarmMapViewer::loadFinished);
    QVERIFY(loaded.wait(10000));
    QVERIFY(loaded.at(0).at(0).toBool());

    // What the page received: the store's record, centred on and animated, on the normal map.
    const VIG_DATA_MODULE::VIG_StoreInfo store = VIG_DATA_MODULE::BasicData::_instance().getStoreInfo("S001");
    QJsonObject state = pageState(map);
    const QJsonArray stores = state.value("stores").toArray();
    QCOMPARE(stores.size(), 1);
    QCOMPARE(stores.at(0).toObject().value("storeGuid").toString(), QString("S001"));
    QCOMPARE(stores.at(0).toObject().value("storeName").toString(), store.storeName);
    QCOMPARE(stores.at(0).toObject().value("lng").toDouble(), store.longitude);
    QCOMPARE(stores.at(0).toObject().value("lat").toDouble(), store.latitude);
    QCOMPARE(state.value("centre").toObject().value("lng").toDouble(), store.longitude);
    QCOMPARE(state.value("centre").toObject().value("lat").toDouble(), store.latitude);
    QCOMPARE(state.value("animatedId").toString(), QString("S001"));
    QCOMPARE(state.value("mapType").toString(), QString("normal"));
    QCOMPARE(state.value("searchVisible").toBool(), false);

    // Another store on demand; a failed load changes nothing; a good reload places the first store again.
    map.callJSFunction(QStringLiteral("setMapType"), {QStringLiteral("satellite")});
    map.locateStore(QStringLiteral("S002"));
    QCOMPARE(pageState(map).value("animatedId").toString(), QString("S002"));
    emit map.loadFinished(false);
    state = pageState(map);
    QCOMPARE(state.value("animatedId").toString(), QString("S002"));
    QCOMPARE(state.value("mapType").toString(), QString("satellite"));
    map.reload();
    QVERIFY(loaded.wait(10000));
    QVERIFY(loaded.last().at(0).toBool());
    state = pageState(map);
    QCOMPARE(state.value("animatedId").toString(), QString("S001"));
    QCOMPARE(state.value("stores").toArray().at(0).toObject().value("storeGuid").toString(), QString("S001"));
}

QTEST_MAIN(TestAlarmInfoMap)
#include "tst_alarm_info_map.moc"
