#include "VideoTestSupport.h"

#include "video/AlarmMonitorVideoPanel.h"
#include "video/WaitingAlarmsLabel.h"

#include "NoticeSound.h"

using namespace VIG_ALARM_MOUDLE;
using namespace videotest;

namespace {

QStringList cellAlarms(const AlarmVideosMonitorWt& grid, int index)
{
    AlarmVideoCheckWt* check = grid.cell(index)->checkWidget();
    return check ? check->alarmUids() : QStringList();
}

// Handled somewhere else, as a table reports it.
void handleElsewhere(const AlarmVideosMonitorWt& grid, int index)
{
    AlarmVideoCheckWt* check = grid.cell(index)->checkWidget();
    QVERIFY(check);
    for (const QString& uid : check->alarmUids()) {
        VIG_AlarmInfo alarm;
        alarm.alarmUid = uid;
        emit AlarmSignals::_instance().signalAlarmHandledNotInVideoMonitorWt(alarm);
    }
}

} // namespace

class TestVideoGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installFakeService(); }
    void fiveProbesFillTheCellsInOrder()
    {
        AlarmVideosMonitorWt grid;
        grid.resize(800, 500);
        grid.show();
        QCOMPARE(grid.freeCellIndexes(), QList<int>({0, 1, 2, 3}));
        QVERIFY(grid.cell(0)->isWaiting());
        QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);
        VIG_CONTACT_MODULE::NoticeSound::_instance().startAlarmNoticeSound();
        const QStringList probes = {"P0401", "P0101", "P0301", "P0201", "P0501"};
        for (int i = 0; i < probes.size(); ++i)
            grid.showAlarm(
                bookedAlarm(QString("G%1").arg(i), probes.at(i), "2026-02-01 10:00:0" + QString::number(i)));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(grid.probeCell(probes.at(i)), i);
            QCOMPARE(cellAlarms(grid, i), QStringList({QString("G%1").arg(i)}));
            QVERIFY(!grid.cell(i)->isWaiting());
            QVERIFY(grid.cell(i)->videoPanel()->windowCount() >= 1);
        }
        QCOMPARE(grid.probeCell("P0501"), -1);
        QVERIFY(grid.freeCellIndexes().isEmpty());
        auto* backlog = grid.findChild<WaitingAlarmsLabel*>();
        QVERIFY(backlog);
        QTRY_VERIFY(backlog->isVisible() && backlog->count() == 1);

        // The first cell that frees takes the waiting probe at once.
        handleElsewhere(grid, 1);
        QTRY_VERIFY(backlog->isHidden());
        QCOMPARE(grid.probeCell("P0101"), -1);
        QCOMPARE(grid.probeCell("P0501"), 1);
        QCOMPARE(cellAlarms(grid, 1), QStringList({"G4"}));
        QVERIFY(grid.freeCellIndexes().isEmpty());

        // The sound stops only when the last busy cell frees; a freed cell shows its wait widget at once.
        for (int index : {2, 0, 3}) {
            handleElsewhere(grid, index);
            QVERIFY(grid.cell(index)->isWaiting());
            QCOMPARE(sound.count(), 0);
        }
        QVERIFY(VIG_CONTACT_MODULE::NoticeSound::_instance().isPlaying());
        handleElsewhere(grid, 1);
        QCOMPARE(sound.count(), 1);
        QVERIFY(!VIG_CONTACT_MODULE::NoticeSound::_instance().isPlaying());
        QCOMPARE(grid.freeCellIndexes(), QList<int>({0, 1, 2, 3}));
    }

    void groupOfABusyProbeIsParkedAgain()
    {
        AlarmVideosMonitorWt grid;
        const QStringList probes = {"P0101", "P0201", "P0301", "P0401"};
        for (int i = 0; i < probes.size(); ++i)
            grid.showAlarm(
                bookedAlarm(QString("K%1").arg(i), probes.at(i), "2026-02-02 10:00:0" + QString::number(i)));

        // Cell 0 sends a handle request; while it waits, its probe's alarms wait too.
        acceptHandleDialog(QStringLiteral("on my way"));
        grid.cell(0)->checkWidget()->slotHandleAlarmBtClicked();
        const QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        QVERIFY(grid.cell(0)->isHandling());
        grid.showAlarm(bookedAlarm("K5", "P0101", "2026-02-02 10:00:05"));
        grid.showAlarm(bookedAlarm("K6", "P0101", "2026-02-02 10:00:06"));
        grid.showAlarm(bookedAlarm("K7", "P0501", "2026-02-02 10:00:07"));
        QCOMPARE(cellAlarms(grid, 0), QStringList({"K0"}));

        // Cell 3 frees: P0101 comes first from the store, goes back, and P0501 takes the cell.
        handleElsewhere(grid, 3);
        QCOMPARE(cellAlarms(grid, 0), QStringList({"K0"}));
        QCOMPARE(grid.probeCell("P0501"), 3);
        QCOMPARE(cellAlarms(grid, 3), QStringList({"K7"}));

        // The request ends: cell 0 frees and shows its probe's parked alarms, the newest on show.
        answer({"K0"}, 0, requests.at(0).texts.at(1));
        QCOMPARE(grid.probeCell("P0101"), 0);
        QCOMPARE(cellAlarms(grid, 0), QStringList({"K5", "K6"}));
        QCOMPARE(grid.cell(0)->checkWidget()->currentAlarmInfo().alarmUid, QString("K6"));
        QVERIFY(!grid.cell(0)->isHandling());
        QVERIFY(VIG_ALARM_MOUDLE::AlarmBusiness::_instance().takeWaitingAlarms().isEmpty());

        // A request that ends with alarms left (one refused) takes the alarms parked meanwhile at once.
        acceptHandleDialog(QStringLiteral("again"));
        grid.cell(0)->checkWidget()->slotHandleAlarmBtClicked();
        const QString requester = handleRequests().value(0).texts.value(1);
        grid.showAlarm(bookedAlarm("K8", "P0101", "2026-02-02 10:00:08"));
        QCOMPARE(cellAlarms(grid, 0), QStringList({"K5", "K6"}));
        acceptHandleDialog(QString()); // the failed handling comes back; sent again with the parked alarm
        answer({"K5"}, 0, requester);
        answer({"K6"}, 503, requester);
        QCOMPARE(cellAlarms(grid, 0), QStringList({"K6", "K8"}));
        QVERIFY(VIG_ALARM_MOUDLE::AlarmBusiness::_instance().takeWaitingAlarms().isEmpty());
        const QList<FakeAlarmService::Call> again = handleRequests();
        QCOMPARE(again.size(), 1);
        QCOMPARE(again.at(0).uids, QStringList({"K6", "K8"}));
        QCOMPARE(again.at(0).texts.at(0), QString("again"));
        answer({"K6", "K8"}, 0, requester);
        QVERIFY(grid.cell(0)->isWaiting());
    }
};

QTEST_MAIN(TestVideoGrid)
#include "tst_video_grid.moc"
