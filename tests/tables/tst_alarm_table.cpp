#include "FakeAlarmService.h"

#include "frame/AlarmSignals.h"
#include "handling/HandleAlarmDlg.h"
#include "service/AlarmBusiness.h"
#include "tables/AlarmTable.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataCache.h"
#include "MessageBoxW.h"
#include "ModuleAccessSignals.h"
#include "SystemBasicInfo.h"
#include "WaitDialog.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::WaitDialog;
using VIG_CONTACT_MODULE::ModuleAccessSignals;

namespace {

FakeAlarmService& service()
{
    static FakeAlarmService fake;
    return fake;
}

void flush()
{
    service().waitForDelivery();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Opens the protected side of the table to the test.
class ProbeTable : public AlarmTable
{
public:
    using AlarmTable::AlarmTable;
    using AlarmTable::contentMenu;
    using AlarmTable::dealAlarmAction;
    using AlarmTable::deleteAlarmAction;
    using AlarmTable::getAlarmInfoValues;
    using AlarmTable::getHandledAlarmInfoValues;
    using AlarmTable::mistakenAlarmAction;

    int addAlarm(const VIG_AlarmInfo& info)
    {
        const int row = insertBack(getAlarmInfoValues(info), info.alarmUid, QSet<int>());
        colourRowByState(row, info.state);
        return row;
    }
};

VIG_AlarmInfo alarm(const QString& uid, const QString& device, const QString& probe, int state = AlarmNew)
{
    VIG_AlarmInfo info;
    info.alarmUid = uid;
    info.storeUid = "S1";
    info.deviceId = device;
    info.deviceName = "Recorder " + device;
    info.typeKey = "intrusion";
    info.typeDescription = "Intrusion";
    info.subTypeKey = "pir";
    info.subTypeDescription = "PIR detector";
    info.probeId = probe;
    info.alarmTime = "2026-12-05 03:00:0" + uid.right(1);
    info.describe = "movement in the stock room";
    info.lastHandleNote = "guard checked the door";
    info.state = state;
    info.channelIndex = 7;
    return info;
}

QColor rowColour(const QTableWidget& table, int row)
{
    return table.item(row, 12)->foreground().color();
}

bool showsIcon(const QAction* action, const QString& path)
{
    return action->icon().pixmap(16).toImage() == QIcon(path).pixmap(16).toImage();
}

void selectRows(QTableWidget& table, const QList<int>& rows)
{
    table.clearSelection();
    for (int row : rows)
        table.selectionModel()->select(table.model()->index(row, 12),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// Fails the test if a modal dialog comes up while the watch is on.
class ModalWatch : public QObject
{
public:
    ModalWatch()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen = true;
                modal->close();
            }
        });
        timer.start(0);
    }
    bool seen = false;

private:
    QTimer timer;
};

} // namespace

class TstAlarmTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void columnsAndViewSettings();
    void rowReadsBackFieldByField();
    void missingRowsGiveDefaultRecords();
    void descriptionAndColourFollowTheState();
    void cellsOfOneRowAreOneSelection();
    void menuOnlyOverItems();
    void hoveredIconsFollowThePointer();
    void emptySelectionDoesNothing();
    void dealAlarmSendsTheDialogsAnswers();
    void batchWithOneFailure();
    void foreignAndLateResultsAreIgnored();
    void alarmOutDevicesOfNewAlarmsOncePerDevice();
    void deleteFromTheMenuStaysLocal();
};

void TstAlarmTable::initTestCase()
{
    QDir("AlarmLocalDB").removeRecursively();
    DataCache::Instance()->SetAlarmPtr(&service());
    AlarmBusiness::_instance();
    WaitDialog::_instance().setDisplayEnabled(false);

    using namespace VIG_DATA_MODULE;
    BasicData& data = BasicData::_instance();
    data.clearAll();
    VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(5);
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setStoreWord("Shop");
    VIG_StoreInfo store;
    store.storeUid = "S1";
    store.storeName = "Wulin Jewellery";
    store.keeperTel = "0571-1111";
    store.ownerTel = "0571-2222";
    store.principal = "Chen Hao";
    store.principalTel = "138-3333";
    store.alarmOutLinkMode = 1; // the probe's related channels
    data.setStoreInfo(store);
    for (const char* device : {"D1", "D2"}) {
        VIG_DeviceInfo info;
        info.deviceId = device;
        info.storeUid = "S1";
        info.deviceType = "nvr";
        QVector<VIG_ChannelInfo> channels;
        for (int index = 1; index <= 3; ++index) {
            VIG_ChannelInfo channel;
            channel.channelId = QString("%1-C%2").arg(device).arg(index);
            channel.deviceId = device;
            channel.storeUid = "S1";
            channel.channelIndex = index;
            channels.append(channel);
        }
        data.setDeviceInfo(info, channels);
    }
    const QList<QPair<QString, QString>> probes = {{"P1", "D1-C1"}, {"P2", "D1-C2"}, {"P3", "D2-C3"}};
    for (const auto& probe : probes) {
        VIG_ProbeInfo info;
        info.probeId = probe.first;
        info.probeName = "Probe " + probe.first;
        info.storeUid = "S1";
        data.setProbeInfo(info, {probe.second});
    }
}

void TstAlarmTable::init()
{
    flush();
    service().takeCalls();
    MessageBoxW::clearCalls();
    MessageBoxW::clearQueuedAnswers();
    WaitDialog::_instance().hideWaitDialog();
}

void TstAlarmTable::columnsAndViewSettings()
{
    ProbeTable table(nullptr);
    const QStringList expected = {"storeUid",
                                  "deviceId",
                                  "deviceName",
                                  "typeKey",
                                  "typeDescription",
                                  "subTypeKey",
                                  "probeId",
                                  "describe",
                                  "lastHandleNote",
                                  "state",
                                  "Alarm Time",
                                  "channelIndex",
                                  "New(Handled) Alarm Time",
                                  "Shop_Name",
                                  "Probe Info",
                                  "Shop_Keeper Tel",
                                  "Shop_Owner_Tel",
                                  "Principal",
                                  "principal Tel",
                                  "subTypeDescription",
                                  "New(Handled) Alarm Description"};
    QCOMPARE(table.columnCount(), expected.size());
    for (int column = 0; column < expected.size(); ++column) {
        QCOMPARE(table.horizontalHeaderItem(column)->text(), expected.at(column));
        QCOMPARE(table.isColumnHidden(column), column < 12);
        if (column >= 12 && column < 20)
            QCOMPARE(table.columnWidth(column), 150);
    }
    QVERIFY(table.horizontalHeader()->stretchLastSection());
    QCOMPARE(table.editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(table.alternatingRowColors());
    QCOMPARE(table.selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(table.selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(table.showGrid());
    QVERIFY(!table.horizontalHeader()->highlightSections());
    QVERIFY(table.verticalHeader()->isHidden());
    QCOMPARE(table.verticalHeader()->defaultSectionSize(), 34);
    QCOMPARE(table.horizontalScrollBar()->property("VIG_TableScrollBar"), QVariant(true));
    QCOMPARE(table.verticalScrollBar()->property("VIG_TableScrollBar"), QVariant(true));
    QVERIFY(table.isOrderBySectionEnabled());

    QCOMPARE(table.contentMenu->parent(), &table);
    QCOMPARE(table.contentMenu->property("VIG_main_menu"), QVariant(true));
    const QList<QAction*> actions = table.contentMenu->actions();
    QCOMPARE(actions,
             QList<QAction*>({table.dealAlarmAction, table.mistakenAlarmAction, table.deleteAlarmAction}));
    QCOMPARE(actions.at(0)->text(), QString("Deal Alarm"));
    QCOMPARE(actions.at(1)->text(), QString("Mistaken Alarm"));
    QCOMPARE(actions.at(2)->text(), QString("Delete Alarm"));
    for (QAction* action : actions) {
        QCOMPARE(action->parent(), &table);
        QVERIFY(action->isEnabled());
    }
}

void TstAlarmTable::rowReadsBackFieldByField()
{
    ProbeTable table(nullptr);
    table.addAlarm(alarm("A1", "D1", "P1"));
    const VIG_AlarmInfo written = alarm("A2", "D2", "P3", AlarmFinished);
    const int row = table.addAlarm(written);
    QCOMPARE(row, 1);

    for (const VIG_AlarmInfo& read : {table.getAlarmInfo(row), table.getAlarmInfo(QString("A2"))}) {
        QCOMPARE(read.alarmUid, written.alarmUid);
        QCOMPARE(read.storeUid, written.storeUid);
        QCOMPARE(read.deviceId, written.deviceId);
        QCOMPARE(read.deviceName, written.deviceName);
        QCOMPARE(read.typeKey, written.typeKey);
        QCOMPARE(read.typeDescription, written.typeDescription);
        QCOMPARE(read.subTypeKey, written.subTypeKey);
        QCOMPARE(read.subTypeDescription, written.subTypeDescription);
        QCOMPARE(read.probeId, written.probeId);
        QCOMPARE(read.alarmTime, written.alarmTime);
        QCOMPARE(read.describe, written.describe);
        QCOMPARE(read.lastHandleNote, written.lastHandleNote);
        QCOMPARE(read.state, written.state);
        QCOMPARE(read.channelIndex, written.channelIndex);
    }
    // The shown cells come from the host's store and probe.
    const QStringList shown = table.getAlarmInfoValues(written).mid(12);
    QCOMPARE(shown, QStringList({written.alarmTime, "Wulin Jewellery", "Probe P3", "0571-1111", "0571-2222",
                                 "Chen Hao", "138-3333", "PIR detector", "guard checked the door"}));
}

void TstAlarmTable::missingRowsGiveDefaultRecords()
{
    ProbeTable table(nullptr);
    table.addAlarm(alarm("A1", "D1", "P1"));
    for (const VIG_AlarmInfo& read : {table.getAlarmInfo(-1), table.getAlarmInfo(table.rowCount()),
                                      table.getAlarmInfo(QString("nope"))}) {
        QVERIFY(read.alarmUid.isEmpty());
        QVERIFY(read.storeUid.isEmpty());
        QCOMPARE(read.state, 0);
        QCOMPARE(read.channelIndex, 0);
    }
}

void TstAlarmTable::descriptionAndColourFollowTheState()
{
    ProbeTable table(nullptr);
    const QList<int> states = {AlarmNew, AlarmDealt, AlarmMistaken, AlarmFinished, 0, 9};
    for (int state : states)
        table.addAlarm(alarm(QString("A%1").arg(state), "D1", "P1", state));

    QCOMPARE(table.item(0, 20)->text(), QString("movement in the stock room"));
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(table.item(row, 20)->text(), QString("guard checked the door"));
    QCOMPARE(table.item(4, 20)->text(), QString("movement in the stock room"));

    QCOMPARE(rowColour(table, 0), QColor("#ff6e89"));
    QCOMPARE(rowColour(table, 1), QColor("#49cc90"));
    QCOMPARE(rowColour(table, 2), QColor("#5d657e"));
    QCOMPARE(rowColour(table, 3), QColor("#5d657e"));
    const QColor untouched = QTableWidgetItem().foreground().color();
    QCOMPARE(rowColour(table, 4), untouched);
    QCOMPARE(rowColour(table, 5), untouched);

    // A handled row shows the handling, whatever the alarm's own texts say.
    VIG_AlarmProcess process;
    static_cast<VIG_AlarmInfo&>(process) = alarm("H1", "D1", "P1", AlarmDealt);
    process.principal = "Li Na";
    process.principalTel = "139-4444";
    process.handleTime = "2026-12-05 04:00:00";
    process.handleNote = "false trigger, cat";
    const QStringList handled = table.getHandledAlarmInfoValues(process);
    QCOMPARE(handled.size(), 21);
    QCOMPARE(handled.at(9), QString("2"));
    QCOMPARE(handled.at(12), process.handleTime);
    QCOMPARE(handled.at(17), process.principal);
    QCOMPARE(handled.at(18), process.principalTel);
    QCOMPARE(handled.at(20), process.handleNote);
}

void TstAlarmTable::cellsOfOneRowAreOneSelection()
{
    ProbeTable table(nullptr);
    for (const char* uid : {"A1", "A2", "A3"})
        table.addAlarm(alarm(uid, "D1", "P1"));
    QItemSelectionModel* selection = table.selectionModel();
    for (int column : {12, 14, 20})
        selection->select(table.model()->index(1, column), QItemSelectionModel::Select);
    QCOMPARE(table.selectedItems().size(), 3);
    QCOMPARE(table.getSelectedAlarmsUid(), QStringList({"A2"}));
    const QList<VIG_AlarmInfo> selected = table.getSelectedAlarms();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.at(0).alarmUid, QString("A2"));

    selection->select(table.model()->index(2, 13), QItemSelectionModel::Select);
    QStringList uids = table.getSelectedAlarmsUid();
    uids.sort();
    QCOMPARE(uids, QStringList({"A2", "A3"}));
}

void TstAlarmTable::menuOnlyOverItems()
{
    ProbeTable table(nullptr);
    table.resize(800, 400);
    table.addAlarm(alarm("A1", "D1", "P1"));
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    const QPoint empty(200, table.viewport()->height() - 5);
    QVERIFY(!table.itemAt(empty));
    QContextMenuEvent outside(QContextMenuEvent::Mouse, empty, table.viewport()->mapToGlobal(empty));
    QApplication::sendEvent(table.viewport(), &outside);
    QVERIFY(!table.contentMenu->isVisible());

    const QPoint onItem = table.visualItemRect(table.item(0, 13)).center();
    QContextMenuEvent inside(QContextMenuEvent::Mouse, onItem, table.viewport()->mapToGlobal(onItem));
    QApplication::sendEvent(table.viewport(), &inside);
    QVERIFY(table.contentMenu->isVisible());
    table.contentMenu->close();
}

void TstAlarmTable::hoveredIconsFollowThePointer()
{
    ProbeTable table(nullptr);
    QVERIFY(showsIcon(table.dealAlarmAction, ":/images/handleAlarm_normal.png"));
    QVERIFY(!showsIcon(table.dealAlarmAction, ":/images/handleAlarm_hover.png"));

    emit table.contentMenu->hovered(table.dealAlarmAction);
    QVERIFY(showsIcon(table.dealAlarmAction, ":/images/handleAlarm_hover.png"));
    emit table.contentMenu->hovered(table.deleteAlarmAction);
    QVERIFY(showsIcon(table.dealAlarmAction, ":/images/handleAlarm_normal.png"));
    QVERIFY(showsIcon(table.deleteAlarmAction, ":/menu/images/menu_delete_hover.png"));
    emit table.contentMenu->hovered(table.mistakenAlarmAction);
    QVERIFY(showsIcon(table.mistakenAlarmAction, ":/images/falseAlarm_hover.png"));
    QVERIFY(showsIcon(table.deleteAlarmAction, ":/menu/images/menu_delete_normal.png"));

    // A move inside the menu's inner part keeps the hovered icon; one on its 8-pixel rim resets it.
    table.contentMenu->popup(QPoint(100, 100));
    const QRect menu = table.contentMenu->geometry();
    const auto moveTo = [&](const QPoint& global) {
        QCursor::setPos(global);
        QMouseEvent move(QEvent::MouseMove, table.contentMenu->mapFromGlobal(global), global, Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(table.contentMenu, &move);
    };
    moveTo(menu.center());
    emit table.contentMenu->hovered(table.mistakenAlarmAction);
    moveTo(menu.center() + QPoint(1, 0));
    QVERIFY(showsIcon(table.mistakenAlarmAction, ":/images/falseAlarm_hover.png"));
    moveTo(QPoint(menu.center().x(), menu.top() + 1));
    QVERIFY(showsIcon(table.mistakenAlarmAction, ":/images/falseAlarm_normal.png"));
    table.contentMenu->close();

    // Triggering resets the icons too.
    emit table.contentMenu->hovered(table.deleteAlarmAction);
    table.deleteAlarmAction->trigger(); // nothing selected: nothing else happens
    QVERIFY(showsIcon(table.deleteAlarmAction, ":/menu/images/menu_delete_normal.png"));
}

void TstAlarmTable::emptySelectionDoesNothing()
{
    ProbeTable table(nullptr);
    table.addAlarm(alarm("A1", "D1", "P1"));
    table.clearSelection();
    QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);
    QSignalSpy alarmOut(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalCloseAlarmOut);
    const int shows = WaitDialog::_instance().showCount();
    ModalWatch watch;
    for (QAction* action : {table.dealAlarmAction, table.mistakenAlarmAction, table.deleteAlarmAction})
        action->trigger();
    flush();
    QVERIFY(!watch.seen);
    QVERIFY(MessageBoxW::calls().isEmpty());
    QCOMPARE(WaitDialog::_instance().showCount(), shows);
    QVERIFY(service().takeCalls().isEmpty());
    QCOMPARE(alarmOut.count(), 0);
    QCOMPARE(sound.count(), 0);
    QCOMPARE(table.rowCount(), 1);
}

void TstAlarmTable::dealAlarmSendsTheDialogsAnswers()
{
    ProbeTable table(nullptr);
    for (const char* uid : {"A1", "A2"})
        table.addAlarm(alarm(uid, "D2", "P3"));
    selectRows(table, {0, 1});
    QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);

    // Closed without sending: no request, no wait dialog.
    const int shows = WaitDialog::_instance().showCount();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<HandleAlarmDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->closeButton()->click();
    });
    table.dealAlarmAction->trigger();
    QCOMPARE(sound.count(), 1);
    QCOMPARE(WaitDialog::_instance().showCount(), shows);
    QVERIFY(service().takeCalls().isEmpty());

    QSignalSpy alarmOut(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalCloseAlarmOut);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<HandleAlarmDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QVERIFY(!dialog->parent());
        dialog->findChild<QTextEdit*>("textEdit")->setPlainText(" police informed");
        dialog->findChild<QPushButton*>("HandleBt")->click();
    });
    table.dealAlarmAction->trigger();
    QCOMPARE(sound.count(), 2);
    QVERIFY(WaitDialog::_instance().isShown());
    QCOMPARE(WaitDialog::_instance().currentText(), QString("Hanle alarm..."));
    QVERIFY(WaitDialog::_instance().currentRequester().isNull());

    const QList<FakeAlarmService::Call> calls = service().takeCalls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.at(0).operation, QString("RequestHandleAlarms"));
    QStringList uids = calls.at(0).uids;
    uids.sort();
    QCOMPARE(uids, QStringList({"A1", "A2"}));
    QCOMPARE(calls.at(0).texts.at(0), QString(" police informed"));
    QCOMPARE(calls.at(0).number, int(AlarmFinished));
    QVERIFY(!calls.at(0).informKeeper);
    QVERIFY(!QUuid(calls.at(0).texts.at(1)).isNull());
    QCOMPARE(alarmOut.count(), 1);
    QCOMPARE(alarmOut.at(0).at(0).toStringList(), QStringList({"D2-C3"}));

    // Both results close the batch.
    const std::string requester = calls.at(0).texts.at(1).toStdString();
    service().deliver([requester](IAlarmEvent* handler) {
        handler->OnHandleAlarmsResult({"A1", "A2"}, 0, "", requester.c_str());
    });
    flush();
    QVERIFY(!WaitDialog::_instance().isShown());
    QVERIFY(MessageBoxW::calls().isEmpty());
}

void TstAlarmTable::batchWithOneFailure()
{
    ProbeTable table(nullptr);
    for (const char* uid : {"A1", "A2", "A3"})
        table.addAlarm(alarm(uid, "D1", "P1"));
    selectRows(table, {0, 1, 2});
    MessageBoxW::queueAnswer(1); // "Are you sure false alarm?"
    MessageBoxW::queueAnswer(1); // the failure message
    table.mistakenAlarmAction->trigger();

    const QList<FakeAlarmService::Call> calls = service().takeCalls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.at(0).texts.at(0), QString("False alarm"));
    QCOMPARE(calls.at(0).number, int(AlarmMistaken));
    QVERIFY(!calls.at(0).informKeeper);
    QCOMPARE(MessageBoxW::calls().size(), 1);
    QCOMPARE(MessageBoxW::calls().at(0).text, QString("Are you sure false alarm?"));
    QCOMPARE(MessageBoxW::calls().at(0).buttons, 3);
    QVERIFY(WaitDialog::_instance().isShown());

    AlarmSignals& hub = AlarmSignals::_instance();
    QSignalSpy completed(&table, &AlarmTable::signalHandleAlarmFromTableWtCompleted);
    QSignalSpy notInMonitor(&hub, &AlarmSignals::signalAlarmHandledNotInVideoMonitorWt);
    QSignalSpy deleted(&hub, &AlarmSignals::signalDeleteAlarmFromMonitorTable);
    QSignalSpy notes(&hub, &AlarmSignals::signalUpdateAlarmHandledNotesInDetailCheckWt);

    const std::string requester = calls.at(0).texts.at(1).toStdString();
    const auto result = [requester](const char* uid, int code) {
        service().deliver([=](IAlarmEvent* handler) {
            handler->OnHandleAlarmResult(uid, code, "busy", requester.c_str());
        });
    };
    result("A1", 0);
    result("A2", 503);
    flush();
    QVERIFY(WaitDialog::_instance().isShown());
    QCOMPARE(completed.count(), 0);
    result("A3", 0);
    flush();

    QVERIFY(!WaitDialog::_instance().isShown());
    QCOMPARE(completed.count(), 1);
    QCOMPARE(MessageBoxW::calls().size(), 2);
    QCOMPARE(MessageBoxW::calls().at(1).text, QString("some selected alarms handle fail."));
    QCOMPARE(MessageBoxW::calls().at(1).title, QString());
    QCOMPARE(MessageBoxW::calls().at(1).buttons, 1);
    QCOMPARE(deleted.count(), 2);
    QCOMPARE(deleted.at(0).at(0).toString(), QString("A1"));
    QCOMPARE(deleted.at(1).at(0).toString(), QString("A3"));
    QCOMPARE(notes.count(), 2);
    QCOMPARE(notes.at(1).at(0).toString(), QString("A3"));
    QCOMPARE(notInMonitor.count(), 2);
    const VIG_AlarmInfo first = notInMonitor.at(0).at(0).value<VIG_AlarmInfo>();
    QCOMPARE(first.alarmUid, QString("A1"));
    QCOMPARE(first.deviceId, QString("D1"));
    QCOMPARE(first.state, int(AlarmNew));

    // The batch is closed: a stray result of it changes nothing.
    result("A2", 0);
    flush();
    QCOMPARE(completed.count(), 1);
    QCOMPARE(deleted.count(), 2);
}

void TstAlarmTable::foreignAndLateResultsAreIgnored()
{
    ProbeTable table(nullptr);
    table.addAlarm(alarm("A1", "D1", "P1"));
    AlarmSignals& hub = AlarmSignals::_instance();
    QSignalSpy completed(&table, &AlarmTable::signalHandleAlarmFromTableWtCompleted);
    QSignalSpy deleted(&hub, &AlarmSignals::signalDeleteAlarmFromMonitorTable);

    // Open a batch to learn the table's requester.
    selectRows(table, {0});
    MessageBoxW::queueAnswer(1);
    table.mistakenAlarmAction->trigger();
    const QList<FakeAlarmService::Call> calls = service().takeCalls();
    QCOMPARE(calls.size(), 1);
    const QString own = calls.at(0).texts.at(1);

    emit hub.signalHandleAlarmResult(QUuid::createUuid().toString(), "A1", 0, QString());
    emit hub.signalHandleAlarmResult(AlarmBusiness::_instance().getRequesterUuid().toString(), "A1", 1, "x");
    QCOMPARE(completed.count(), 0);
    QCOMPARE(deleted.count(), 0);
    QVERIFY(WaitDialog::_instance().isShown());

    emit hub.signalHandleAlarmResult(own, "A1", 0, QString());
    QCOMPARE(completed.count(), 1);
    QCOMPARE(deleted.count(), 1);
    QVERIFY(!WaitDialog::_instance().isShown());

    // Outside a batch even the table's own results are not counted.
    emit hub.signalHandleAlarmResult(own, "A1", 7, "late");
    QCOMPARE(completed.count(), 1);
    QCOMPARE(deleted.count(), 1);
    QCOMPARE(MessageBoxW::calls().size(), 1);
}

void TstAlarmTable::alarmOutDevicesOfNewAlarmsOncePerDevice()
{
    ProbeTable table(nullptr);
    table.addAlarm(alarm("A1", "D1", "P1"));
    table.addAlarm(alarm("A2", "D1", "P2"));             // same device: not asked again
    table.addAlarm(alarm("A3", "D2", "P3", AlarmDealt)); // handled: its outputs are off already
    selectRows(table, {0, 1, 2});
    QSignalSpy alarmOut(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalCloseAlarmOut);
    MessageBoxW::queueAnswer(1);
    table.mistakenAlarmAction->trigger();
    QCOMPARE(alarmOut.count(), 1);
    const QStringList devices = alarmOut.at(0).at(0).toStringList();
    QCOMPARE(devices.size(), 1);
    QVERIFY(devices.at(0) == "D1-C1" || devices.at(0) == "D1-C2");

    table.addAlarm(alarm("A4", "D2", "P3"));
    selectRows(table, {2, 3});
    MessageBoxW::queueAnswer(1);
    table.mistakenAlarmAction->trigger();
    QCOMPARE(alarmOut.count(), 2);
    QCOMPARE(alarmOut.at(1).at(0).toStringList(), QStringList({"D2-C3"}));
}

void TstAlarmTable::deleteFromTheMenuStaysLocal()
{
    ProbeTable table(nullptr);
    for (const char* uid : {"A1", "A2", "A3"})
        table.addAlarm(alarm(uid, "D1", "P1"));
    selectRows(table, {0, 2});
    MessageBoxW::queueAnswer(0);
    table.deleteAlarmAction->trigger();
    QCOMPARE(table.rowCount(), 3);

    MessageBoxW::queueAnswer(1);
    table.deleteAlarmAction->trigger();
    QCOMPARE(MessageBoxW::calls().size(), 2);
    QCOMPARE(
        MessageBoxW::calls().at(1).text,
        QString(
            "Are you sure delete selected alarms from table,you can search them from alarm records again"));
    QCOMPARE(MessageBoxW::calls().at(1).buttons, 3);
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.getRowKeyValue(0), QString("A2"));
    QCOMPARE(table.getRowIndexByKeyValue("A3"), -1);
    flush();
    QVERIFY(service().takeCalls().isEmpty());
    QVERIFY(!WaitDialog::_instance().isShown());
}

QTEST_MAIN(TstAlarmTable)
#include "tst_alarm_table.moc"
