#include "CPlavexPlayer.h"
#include "VideoLayer.h"
#include "VideoManager.h"
#include "VideoPanel.h"
#include "VideoPlaybackPanel.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QtTest>

using namespace VIG_BASE_MODULE;
using VIG_DATA_MODULE::VIG_ChannelInfo;

namespace {

VIG_ChannelInfo channel(const QString& id, const QString& name)
{
    VIG_ChannelInfo info;
    info.channelId = id;
    info.channelName = name;
    info.deviceId = id.section('-', 0, 0);
    info.channelIndex = 1;
    return info;
}

QAction* action(VideoPanel& panel, const QString& text)
{
    for (QAction* each : panel.findChildren<QAction*>()) {
        if (each->text() == text)
            return each;
    }
    return nullptr;
}

QString today()
{
    return QDate::currentDate().toString("yyyyMMdd");
}

} // namespace

class TstHostVideo : public QObject
{
    Q_OBJECT

private slots:
    void channelsOpenInWindowsOfTheirOwn()
    {
        VideoPanel panel;
        panel.resize(640, 360);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.connectChannels({channel("D001-CH1", "Door"), channel("D001-CH2", "Till"),
                               channel("D002-CH1", "Back"), channel("D002-CH2", "Yard")},
                              true);
        QCOMPARE(panel.windowCount(), 4);
        int windows = 0;
        panel.getPlayer()->GetWindowNum(&windows, nullptr);
        QCOMPARE(windows, 4);
        QCOMPARE(panel.windowChannel(2).channelName, QString("Back"));

        panel.connectChannels({channel("D003-CH1", "Gate")}, false);
        QCOMPARE(panel.windowCount(), 5);
        panel.connectChannels({channel("D003-CH1", "Gate")}, true);
        QCOMPARE(panel.windowCount(), 1);
        panel.getPlayer()->GetWindowNum(&windows, nullptr);
        QCOMPARE(windows, 1);
        panel.disconnectAll();
        QCOMPARE(panel.windowChannel(0).channelId, QString());
    }

    void captureWritesThePictureOfTheWindow()
    {
        VideoPanel panel;
        panel.resize(640, 360);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCOMPARE(panel.videoCapture(0), QString()); // nothing shown yet
        panel.connectChannels({channel("D001-CH1", "Door"), channel(QString(), "Broken")}, true);

        const QString path = panel.videoCapture(0);
        QVERIFY(!path.isEmpty());
        QVERIFY(QFileInfo(path).isAbsolute());
        QCOMPARE(QFileInfo(path).dir().dirName(), today());
        QVERIFY(path.startsWith(QDir::current().absoluteFilePath("VideoCaptures")));
        QImage image(path);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > 100 && image.height() > 100);
        QVERIFY(image.pixel(image.width() / 2, image.height() / 3) != qRgb(0, 0, 0));
        QVERIFY(panel.videoCapture(0) != path);

        QCOMPARE(panel.videoCapture(1), QString()); // the failed channel
        QCOMPARE(panel.videoCapture(7), QString());
        QCOMPARE(panel.videoCapture(-1), QString());
    }

    void captureActionLeavesThePictureToAListener()
    {
        VideoPanel panel;
        panel.connectChannels({channel("D001-CH1", "Door")}, true);
        QAction* capture = action(panel, "Capture");
        QVERIFY(capture);
        const QDir folder(QDir::current().absoluteFilePath("VideoCaptures/" + today()));
        const int before = folder.exists() ? folder.entryList(QDir::Files).size() : 0;

        capture->trigger(); // nobody listens: the panel keeps the picture
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), before + 1);

        QSignalSpy triggered(&panel, &VideoPanel::signalCaptureActionTriggered);
        capture->trigger();
        QCOMPARE(triggered.count(), 1);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), before + 1);
    }

    void recordingFileCarriesItsStartTime()
    {
        VideoPanel panel;
        panel.connectChannels({channel("D001-CH1", "Door"), channel("D001-CH2", "Till")}, true);
        panel.selectWindow(1);
        QStringList order;
        connect(&panel, &VideoPanel::signalRecordActionTriggered, this, [&order] { order << "record"; });
        QString reported;
        int reportedWindow = -1;
        connect(&panel, &VideoPanel::signalVideoRecordingFileNameChanged, this,
                [&](int window, const QString& path) {
                    order << "file";
                    reported = path;
                    reportedWindow = window;
                });

        const QTime before = QTime::currentTime().addSecs(-1);
        action(panel, "Start Recording")->trigger();
        QCOMPARE(order, QStringList({"record", "file"}));
        QCOMPARE(reportedWindow, 1);
        QVERIFY(panel.isRecording(1));
        QCOMPARE(panel.recordingFilePath(1), reported);

        // <recordings>/yyyyMMdd/<a>-<b>-hhmmss-<d>.<ext>, the channel id's own "-" not counting.
        const QFileInfo file(reported);
        QVERIFY(file.exists());
        QCOMPARE(file.dir().dirName(), today());
        const QStringList pieces = file.fileName().split('-', Qt::KeepEmptyParts);
        QCOMPARE(pieces.size(), 4);
        const QDateTime start = QDateTime::fromString(file.dir().dirName() + pieces.at(2), "yyyyMMddhhmmss");
        QVERIFY(start.isValid());
        QVERIFY(start.time() >= before || start.time() < QTime(0, 0, 2));

        QVERIFY(VideoManager::_instance().isVideoRecordingNow(reported));
        VideoManager::_instance().stopVideoRecording(reported);
        QVERIFY(!panel.isRecording(1));
        QVERIFY(!VideoManager::_instance().isVideoRecordingNow(reported));
        QFile written(reported);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray content = written.readAll();
        QVERIFY(content.startsWith("VIGREC 1\nchannelId=D001-CH2\n"));
        QVERIFY(content.contains("\nend="));

        // Recordings stop with the channels; a failed window cannot record.
        const QString first = reported;
        const QString second = panel.startRecording(0);
        QVERIFY(!second.isEmpty());
        QCOMPARE(reported, second);
        QVERIFY(second != first);
        panel.disconnectAll();
        QVERIFY(!VideoManager::_instance().isVideoRecordingNow(second));
        panel.connectChannels({channel(QString(), "Broken")}, true);
        QCOMPARE(panel.startRecording(0), QString());
    }

    void fullScreenAndStreamFlag()
    {
        QWidget host;
        auto* panel = new VideoPanel(&host);
        host.show();
        QVERIFY(!panel->isWindow());
        panel->slotSetFullScreen(true);
        QVERIFY(panel->isPanelFullScreen());
        QVERIFY(panel->isWindow());
        QTest::keyClick(panel, Qt::Key_Escape);
        QVERIFY(!panel->isPanelFullScreen());
        QVERIFY(!panel->isWindow());
        QCOMPARE(panel->parentWidget(), &host);

        panel->slotSetDefaultStreamingMediaFlag(0);
        QCOMPARE(panel->defaultStreamingMediaFlag(), MAIN_STREAM);
        panel->slotSetDefaultStreamingMediaFlag(9);
        QCOMPARE(panel->defaultStreamingMediaFlag(), MAIN_STREAM);

        panel->getPlayer()->SetAlarmVideoMode(0);
        QVERIFY(panel->getPlayer()->IsAlarmVideoMode());

        // A double click on the split shows one window alone, and the next one returns to the split.
        panel->resize(400, 300);
        panel->connectChannels({channel("A-1", "a"), channel("A-2", "b")}, true);
        QTest::mouseDClick(panel, Qt::LeftButton, Qt::NoModifier, QPoint(300, 150));
        QCOMPARE(panel->getVideoLayer()->singleWindow(), 1);
        QTest::mouseDClick(panel, Qt::LeftButton, Qt::NoModifier, QPoint(300, 150));
        QCOMPARE(panel->getVideoLayer()->singleWindow(), -1);
    }

    void playbackEndsAndReports()
    {
        VideoPlaybackPanel::setClipDurationMs(40);
        VideoPlaybackPanel playback;
        QSignalSpy finished(playback.getVideoPanel(), &VideoPanel::signalVideoPlaybackFinished);

        QFile recording("local-1-120000-1.vrec");
        QVERIFY(recording.open(QIODevice::WriteOnly));
        recording.write("VIGREC 1\n");
        recording.close();
        playback.playbackLocalVideoRecording(QFileInfo(recording).absoluteFilePath());
        QVERIFY(playback.isVideoRecordingPlaybackSuccess());
        QVERIFY(playback.currentTitle().contains("local-1-120000-1.vrec"));
        QVERIFY(finished.wait(2000));
        QCOMPARE(finished.at(0).at(0).toInt(), 0);
        QVERIFY(!playback.getVideoPanel()->videoCapture(0).isEmpty());

        playback.playbackLocalVideoRecording("missing.vrec");
        QVERIFY(!playback.isVideoRecordingPlaybackSuccess());
        playback.playbackIcloudAlarmVideoRecording("/rec/2026/clip.mp4", "2026-01-05 10:00:00");
        QVERIFY(playback.isVideoRecordingPlaybackSuccess());
        playback.stopVideoPlay();
        playback.playbackSpecifiedPeriodVideoRecording("D001", 1, "not a time", 60);
        QVERIFY(!playback.isVideoRecordingPlaybackSuccess());
        playback.playbackRemoteAlarmVideoRecording("D001", 1,
                                                   R"({"deviceAddr":"192.0.2.10","fileName":"a.mp4"})");
        QVERIFY(playback.isVideoRecordingPlaybackSuccess());
        QVERIFY(playback.currentTitle().contains("a.mp4"));
        playback.stopVideoPlay();
        QTest::qWait(100);
        QCOMPARE(finished.count(), 1); // the missing, failed and stopped clips never finish
    }
};

QTEST_MAIN(TstHostVideo)
#include "tst_host_video.moc"
