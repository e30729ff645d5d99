#include "detail/AlarmInfoWidget.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "WordwrapLabel.h"

#include <QLabel>
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
};

void TestAlarmInfoMap::rowsShowTheAlarmAndItsStore()
{
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setStoreWord(QStringLiteral("Shop"));
    AlarmInfoWidget widget;
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setStoreWord(QStringLiteral("Store"));
    QCOMPARE(label(widget, "storeOwnerTelLabel"), QString("Shop_Owner_Tel:"));

    widget.setAlarmInfo(alarmAt("S001", "P0101"));
    const VIG_DATA_MODULE::VIG_StoreInfo store = VIG_DATA_MODULE::BasicData::_instance().getStoreInfo("S001");
    QVERIFY(!store.storeName.isEmpty());
    const QStringList storeRows = {"storeName",    "pirsInfo",      "storeKeeper", "storeTel",
                                   "storeOwner",   "storeOwnerTel", "responsible", "responsibleTel",
                                   "storeAddress", "payState"};
    const QStringList storeValues = {
        store.storeName,   VIG_DATA_MODULE::BasicData::_instance().getProbeInfo("P0101").probeDescription,
        store.keeper,      store.keeperTel,
        store.owner,       store.ownerTel,
        store.responsible, store.responsibleTel,
        store.address,     store.payState};
    for (int i = 0; i < storeRows.size(); ++i)
        QCOMPARE(value(widget, qPrintable(storeRows.at(i))), storeValues.at(i));
    const auto alarmRowsShown = [&widget] {
        QCOMPARE(value(widget, "alarmTime"), QString("2026-04-01 02:03:04"));
        QCOMPARE(value(widget, "alarmType"), QString("Intrusion"));
        QCOMPARE(value(widget, "alarmSubType"), QString("Door forced"));
        QCOMPARE(value(widget, "alarmDescribe"), QString("Back door opened"));
    };
    alarmRowsShown();

    // An unknown store empties the store's rows rather than leaving the last store's.
    widget.setAlarmInfo(alarmAt("NO-SUCH-STORE", "NO-SUCH-PROBE"));
    for (const QString& name : storeRows)
        QCOMPARE(value(widget, qPrintable(name)), QString());
    alarmRowsShown();

    // In the check widget's narrow column every name shows whole, in one column; the values wrap.
    widget.setFixedWidth(291);
    widget.show();
    const QList<QLabel*> names = widget.findChildren<QLabel*>();
    for (const QLabel* name : names) {
        QVERIFY2(name->width() >= name->sizeHint().width(), qPrintable(name->text()));
        QCOMPARE(name->x(), names.first()->x());
    }
}

QTEST_MAIN(TestAlarmInfoMap)
#include "tst_alarm_info_map.moc"
