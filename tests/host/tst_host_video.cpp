#include "VideoManager.h"
#include "VideoPanel.h"

#include <QAction>
#include <QDir>
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

} // namespace

class TstHostVideo : public QObject
{
    Q_OBJECT

private slots:
    void recordingFileCarriesItsStartTime()
    {
        VideoPanel panel;
        panel.connectChannels({channel("D001-CH1", "Door"), channel("D001-CH2", "Till")}, true);
        panel.selectWindow(1);
        QStringList order;
        connect(&panel, &VideoPanel::signalRecordActionTriggered, this, [&order] { order << "record"; });
        connect(&panel, &VideoPanel::signalVideoRecordingFileNameChanged, this,
                [&order](int window, const QString& path) { order << QString::number(window) << path; });
        const QTime before = QTime::currentTime().addSecs(-1);
        for (QAction* action : panel.findChildren<QAction*>()) {
            if (action->text() == "Start Recording")
                action->trigger();
        }
        QCOMPARE(order.mid(0, 2), QStringList({"record", "1"}));
        const QString reported = order.value(2);
        QVERIFY(panel.isRecording(1));
        QCOMPARE(panel.recordingFilePath(1), reported);

        // <recordings>/yyyyMMdd/<a>-<b>-hhmmss-<d>.<ext>, the channel id's own "-" not counting.
        const QFileInfo file(reported);
        QVERIFY(file.exists());
        QCOMPARE(file.dir().dirName(), QDate::currentDate().toString("yyyyMMdd"));
        const QStringList pieces = file.fileName().split('-');
        QCOMPARE(pieces.size(), 4);
        const QDateTime start = QDateTime::fromString(file.dir().dirName() + pieces.at(2), "yyyyMMddhhmmss");
        QVERIFY(start.isValid());
        QVERIFY(start.time() >= before || start.time() < QTime(0, 0, 2));

        QVERIFY(VideoManager::_instance().isVideoRecordingNow(reported));
        VideoManager::_instance().stopVideoRecording(reported);
        QVERIFY(!panel.isRecording(1) && !VideoManager::_instance().isVideoRecordingNow(reported));
        QFile written(reported);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray content = written.readAll();
        QVERIFY(content.startsWith("VIGREC 1\nchannelId=D001-CH2\n") && content.contains("\nend="));

        // Recordings stop with the channels; a failed window cannot record.
        const QString second = panel.startRecording(0);
        QCOMPARE(order.last(), second);
        QVERIFY(!second.isEmpty() && second != reported);
        panel.disconnectAll();
        QVERIFY(!VideoManager::_instance().isVideoRecordingNow(second));
        panel.connectChannels({channel(QString(), "Broken")}, true);
        QCOMPARE(panel.startRecording(0), QString());
    }
};

QTEST_MAIN(TstHostVideo)
#include "tst_host_video.moc"
