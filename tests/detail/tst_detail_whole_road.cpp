// An alarm raised on the embedded simulated alarm server, opened in the detail view: its history, its
// recordings and the images taken when it was handled, the recordings played one after another and back
// to live video, and a capture related to it.

#include "ModuleTestSupport.h"

#include "HandleTimeAxis.h"

using namespace VIG_ALARM_MOUDLE;

namespace {

const int Patience = 15000;

SimAlarmServer* server()
{
    return DataCache::Instance()->GetSimulator();
}

QList<int> itemTypes(const QListWidget* list)
{
    QList<int> types;
    for (int row = 0; row < list->count(); ++row)
        types.append(AlarmRelationsListWt::itemType(list->item(row)));
    return types;
}

} // namespace

class TestDetailWholeRoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(moduletest::startSimulatedServer());
        VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(60000);
        // A message nobody expects must not wait for an operator; none is expected (checked at the end).
        for (int i = 0; i < 5; ++i)
            VIG_BASE_MODULE::MessageBoxW::queueAnswer(0);
    }

    void anAlarmOfTheDemoIsOpenedPlayedAndHandled()
    {
        // Probe P0104 raises its alarms on NVR D0101, channel 4: a cloud, a storage and another cloud
        // recording. The push is emitted on the service's thread: record it on this one.
        moduletest::MainThreadSpy pushed(&AlarmSignals::_instance(), &AlarmSignals::signalNewAlarmPush);
        QString error;
        const QString uid = server()->raiseAlarm("P0104", "intrusion", &error);
        QVERIFY2(!uid.isEmpty(), qPrintable(error));
        VIG_AlarmInfo alarm;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (int i = 0; i < pushed.count(); ++i) {
                    if (pushed.at(i).first().value<VIG_AlarmInfo>().alarmUid == uid)
                        alarm = pushed.at(i).first().value<VIG_AlarmInfo>();
                }
                return !alarm.alarmUid.isEmpty();
            }(),
            Patience);
        VIG_DATA_MODULE::BasicData::_instance().rememberAlarmChannel(uid, alarm.deviceId, alarm.channelIndex);

        AlarmDetailCheckWt view;
        view.resize(1200, 700);
        auto* list = view.findChild<AlarmRelationsListWt*>(QStringLiteral("alarminfoList"));
        auto* axis = view.findChild<VIG_BASE_MODULE::HandleTimeAxis*>(QStringLiteral("dealProcess"));
        auto* playback =
            view.findChild<VIG_BASE_MODULE::VideoPlaybackPanel*>(QStringLiteral("playbackPanel"));
        auto* viewer = view.findChild<VIG_BASE_MODULE::ImageViewer*>(QStringLiteral("imageViewer"));
        VIG_BASE_MODULE::VideoPanel* video = playback->getVideoPanel();

        // Opened from the pop-up's "Detail": the cloud recording plays first.
        view.setAlarm(alarm, IcloudRecordingRelation);
        view.show();
        QTRY_COMPARE_WITH_TIMEOUT(itemTypes(list), QList<int>({1, 2, 3, 3, 7}), Patience);
        QCOMPARE(list->getMarkedRow(), 2);
        QVERIFY(playback->currentTitle().startsWith("Cloud recording"));
        QTRY_COMPARE_WITH_TIMEOUT(axis->count(), 1, Patience);
        QCOMPARE(axis->entries().first(), qMakePair(alarm.alarmTime, alarm.describe));

        // Handled here: the history grows by the handling and the camera's two images.
        moduletest::acceptHandleDialog("checked on site");
        view.findChild<QPushButton*>(QStringLiteral("handleAlarmBt"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(axis->count(), 2, Patience);
        QCOMPARE(axis->entries().at(1).second, QString("checked on site"));
        QTRY_COMPARE_WITH_TIMEOUT(itemTypes(list), QList<int>({1, 2, 3, 3, 7, 6, 6}), Patience);
        QVERIFY(!VIG_BASE_MODULE::WaitDialog::_instance().isShown());
        QVERIFY(list->item(5)->text().startsWith("Live"));

        // The recordings one after another, the NVR's period last, then the live video.
        VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(15);
        QList<int> playedRows;
        QStringList titles;
        connect(video, &VIG_BASE_MODULE::VideoPanel::signalVideoPlaybackFinished, this, [&] {
            playedRows.append(view.getPlayingRow());
            titles.append(playback->currentTitle());
        });
        emit list->itemDoubleClicked(list->item(1));
        QVERIFY(playback->currentTitle().startsWith("Device recording"));
        QTRY_COMPARE_WITH_TIMEOUT(playedRows.size(), 4, Patience);
        VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(60000);
        QCOMPARE(playedRows, QList<int>({2, 3, 4, 0}));
        QVERIFY(titles.at(2).startsWith("NVR D0101 channel 4"));
        QVERIFY(titles.at(3).isEmpty());
        QCOMPARE(list->getMarkedRow(), 0);
        QVERIFY(video->windowCount() > 0);
        QVERIFY(!video->isPlayingBack());

        // An image taken at the handling is fetched into the alarm's folder and shown.
        emit list->itemDoubleClicked(list->item(5));
        QTRY_VERIFY_WITH_TIMEOUT(viewer->hasImage(), Patience);
        QVERIFY(viewer->isVisible());
        QCOMPARE(QFileInfo(viewer->imagePath()).absolutePath(), QDir("LiveImageTemp/" + uid).absolutePath());

        // Back to the live video, a capture is related to the alarm and listed with the rest.
        emit list->itemDoubleClicked(list->item(0));
        emit video->signalCaptureActionTriggered();
        QTRY_COMPARE_WITH_TIMEOUT(itemTypes(list), QList<int>({1, 2, 3, 3, 5, 7, 6, 6}), Patience);
        QCOMPARE(list->getMarkedRow(), 0);

        QVERIFY(VIG_BASE_MODULE::MessageBoxW::calls().isEmpty());
    }
};

QTEST_MAIN(TestDetailWholeRoad)
#include "tst_detail_whole_road.moc"
