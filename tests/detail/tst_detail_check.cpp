// The detail view of one alarm; live images must never be written outside their download folder.

#include "ModuleTestSupport.h"

#include "detail/AlarmInfoWidget.h"

#include "DataSignals.h"
#include "HandleTimeAxis.h"
#include "SimImageServer.h"
#include "VideoManager.h"
#include "WordwrapLabel.h"

#include <QDirIterator>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_BASE_MODULE::MessageBoxW;

namespace {

VIG_AlarmInfo alarmOf(const QString& uid, const QString& probeId)
{
    const VIG_DATA_MODULE::VIG_ProbeInfo probe =
        VIG_DATA_MODULE::BasicData::_instance().getProbeInfo(probeId);
    VIG_AlarmInfo alarm;
    alarm.alarmUid = uid;
    alarm.storeUid = probe.storeUid;
    alarm.deviceId = probe.deviceId;
    alarm.probeId = probeId;
    alarm.channelIndex = probe.channelIndex;
    alarm.alarmTime = QStringLiteral("2026-11-25 21:39:00");
    alarm.describe = QStringLiteral("alarm ") + uid;
    alarm.state = AlarmNew;
    VIG_DATA_MODULE::BasicData::_instance().rememberAlarmChannel(uid, alarm.deviceId, alarm.channelIndex);
    return alarm;
}

VIG_AlarmProcess handling(const QString& uid, const QString& time, const QString& note, const QString& urls)
{
    VIG_AlarmProcess process;
    process.alarmUid = uid;
    process.handleTime = time;
    process.handleNote = note;
    process.liveImageUrls = urls;
    return process;
}

void answerNotes(const AlarmProcessVector& notes, int result = 0)
{
    emit AlarmSignals::_instance().signalGetAlarmHandleNotes(notes, result, QString());
}

QStringList texts(const QListWidget* list)
{
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown.append(list->item(row)->text());
    return shown;
}

void writePng(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path, "PNG"));
}

// Where a camera server would give the file: over loopback HTTP from its folder.
QString imageUrl(const QString& path)
{
    static std::map<QString, std::unique_ptr<SimImageServer>> servers;
    const QFileInfo file(path);
    std::unique_ptr<SimImageServer>& server = servers[file.absolutePath()];
    if (!server)
        server = std::make_unique<SimImageServer>(file.absolutePath());
    return server->baseUrl() + QString::fromLatin1(QUrl::toPercentEncoding(file.fileName()));
}

QString value(const AlarmInfoWidget& widget, const char* name)
{
    return widget.findChild<ZCOMMON::WordwrapLabel*>(QLatin1String(name))->text();
}

struct View
{
    View()
    {
        widget.resize(1200, 700);
        widget.show();
    }
    void open(int row) const { emit list->itemDoubleClicked(list->item(row)); }

    AlarmDetailCheckWt widget;
    AlarmRelationsListWt* list = widget.findChild<AlarmRelationsListWt*>(QStringLiteral("alarminfoList"));
    VIG_BASE_MODULE::VideoPlaybackPanel* playback =
        widget.findChild<VIG_BASE_MODULE::VideoPlaybackPanel*>(QStringLiteral("playbackPanel"));
    VIG_BASE_MODULE::ImageViewer* viewer =
        widget.findChild<VIG_BASE_MODULE::ImageViewer*>(QStringLiteral("imageViewer"));
    VIG_BASE_MODULE::HandleTimeAxis* axis =
        widget.findChild<VIG_BASE_MODULE::HandleTimeAxis*>(QStringLiteral("dealProcess"));
};

} // namespace

class TestDetailCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(sandbox.isValid());
        QDir(QStringLiteral("LiveImageTemp")).removeRecursively();
        installFakeService();
        QVERIFY(VIG_DATA_MODULE::BasicData::_instance().loadScenario(
            QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json")));
        // Clips outlast every test but the one that plays them through.
        VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(60000);
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setNvrPlaybackPeriod(45, 20);
    }

    void init()
    {
        MessageBoxW::clearQueuedAnswers();
        MessageBoxW::clearCalls();
        service().takeCalls();
    }

    void openingListsEverythingInOrder()
    {
        const QString capture = sandbox.filePath("cap.png");
        writePng(capture);
        AlarmBusiness::_instance().saveCaptureRelation("D-1", capture);
        AlarmBusiness::_instance().saveRecordingRelation("D-1",
                                                         sandbox.filePath("20260101/a-1-101010-1.vrec"));

        View view;
        view.widget.setAlarm(alarmOf("D-1", "P0102"), IcloudRecordingRelation);
        QTRY_COMPARE(view.list->count(), 6);
        const QStringList shown = texts(view.list);
        QCOMPARE(shown.mid(0, 4),
                 QStringList({"LiveVideo", " Storage Alarm Recording HZ-001 Showroom 2026-11-20 11:31:26",
                              " Storage Alarm Recording HZ-001 Showroom 2026-11-25 21:38:33",
                              " ICloud Recording HZ-001 Showroom 2026-11-21 15:27:05"}));
        QVERIFY(shown.at(4).startsWith("Capture ")); // the local recording's file is gone
        QCOMPARE(shown.at(5), QString("NVR Recording"));
        // The NVR entry borrows the path of the last recording of the answer.
        AlarmRelationsListWt* list = view.list;
        QCOMPARE(AlarmRelationsListWt::itemFilePath(list->item(5)),
                 QString("{\"deviceAddr\":\"10.20.1.10\",\"fileName\":\"D0101-CH2_20261120113126.mp4\"}"));
        QCOMPARE(list->getMarkedRow(), 3);
        QCOMPARE(view.playback->currentTitle(),
                 QString("Cloud recording 20261121152705.mp4 2026-11-21 15:27:05"));
        const QList<FakeAlarmService::Call> calls = service().takeCalls();
        QVERIFY(std::any_of(calls.begin(), calls.end(), [](const FakeAlarmService::Call& call) {
            return call.operation == QLatin1String("RequestAlarmHandleNotes") && call.texts.value(0) == "D-1";
        }));

        // A camera is no recorder: no NVR entry.
        View camera;
        VIG_AlarmInfo alarm = alarmOf("D-2", "P0102");
        alarm.deviceId = "D0102";
        alarm.channelIndex = 1;
        VIG_DATA_MODULE::BasicData::_instance().rememberAlarmChannel("D-2", "D0102", 1);
        camera.widget.setAlarm(alarm, LiveVideoRelation);
        QTRY_VERIFY(camera.list->count() > 0);
        QVERIFY(!camera.list->findFirstItemOfType(NvrRecordingRelation));
        QCOMPARE(camera.list->getMarkedRow(), 0);
    }

    void supersededRecordingsAnswersAreDropped()
    {
        View view;
        // Two alarms opened before the first answer arrives: only the second one's answer counts.
        QSignalSpy answers(&VIG_DATA_MODULE::DataSignals::_instance(),
                           &VIG_DATA_MODULE::DataSignals::signalGetIcloudAlarmRecordingsInfo);
        view.widget.setAlarm(alarmOf("S-A", "P0102"), IcloudRecordingRelation);
        view.widget.setAlarm(alarmOf("S-B", "P0101"), IcloudRecordingRelation);
        QTRY_COMPARE(answers.count(), 2);
        QCOMPARE(texts(view.list),
                 QStringList({"LiveVideo", " ICloud Recording HZ-001 Entrance 2026-11-24 23:20:33",
                              "NVR Recording"}));
        QCOMPARE(view.list->getMarkedRow(), 1);
        VIG_DATA_MODULE::VIG_IcloudAlarmRecordingInfo stray;
        stray.recordingName = "stray";
        stray.locator = "/x/stray.mp4";
        emit VIG_DATA_MODULE::DataSignals::_instance().signalGetIcloudAlarmRecordingsInfo("{stray}", {stray});
        QCOMPARE(view.list->count(), 3);
    }

    void notesBringLiveImages()
    {
        const QString front = sandbox.filePath("camera/front.png");
        writePng(front);
        View view;
        const VIG_AlarmInfo alarm = alarmOf("IMG-1", "P0201");
        view.widget.setAlarm(alarm, LiveVideoRelation);
        QTRY_COMPARE(view.list->count(), 2); // no recordings: live video and the NVR

        const QString urls =
            imageUrl(front) + "?channel=1&shot=2" + ",," + imageUrl(sandbox.filePath("x/back.jpg"));
        answerNotes({handling("IMG-1", "2026-11-25 22:00:00", "on site", urls),
                     handling("IMG-1", "2026-11-25 22:10:00", "closed", QString())});
        QCOMPARE(view.axis->entries(), (QVector<QPair<QString, QString>>{{alarm.alarmTime, alarm.describe},
                                                                         {"2026-11-25 22:00:00", "on site"},
                                                                         {"2026-11-25 22:10:00", "closed"}}));
        const QString shot = QStringLiteral("Live image %1, channel %2, 2026-11-25 22:00:00");
        QCOMPARE(texts(view.list),
                 QStringList({"LiveVideo", "NVR Recording", shot.arg(1).arg(alarm.channelIndex),
                              shot.arg(2).arg(alarm.channelIndex)}));
        // A failed download only ends the waiting.
        view.open(3);
        QVERIFY(view.viewer->isWaitingVisible());
        QTRY_VERIFY(!view.viewer->isWaitingVisible());
        QVERIFY(!QFile::exists("LiveImageTemp/IMG-1/back.jpg"));

        // A server's address of a local file is refused.
        answerNotes(
            {handling("IMG-1", "2026-11-25 22:00:00", "on site", QUrl::fromLocalFile(front).toString())});
        view.open(2);
        QTRY_VERIFY(!view.viewer->isWaitingVisible());
        QVERIFY(!QFile::exists("LiveImageTemp/IMG-1/front.png"));

        // Already there: shown at once, the address is not even read.
        writePng("LiveImageTemp/IMG-1/cached.png");
        answerNotes(
            {handling("IMG-1", "2026-11-25 22:00:00", "on site", "file:///no/such/place/cached.png")});
        view.open(2);
        QVERIFY(!view.viewer->isWaitingVisible());
        QVERIFY(view.viewer->hasImage());

        // Another alarm's notes are not this one's history; a failure still shows the alarm itself.
        answerNotes({handling("OTHER", "2026-11-25 23:00:00", "elsewhere", QString())});
        QCOMPARE(view.axis->count(), 2);
        MessageBoxW::queueAnswer(1);
        answerNotes({}, 7);
        QCOMPARE(messages(), QStringList({"Get alarm notes failed."}));
        QCOMPARE(view.axis->entries(), (QVector<QPair<QString, QString>>{{alarm.alarmTime, alarm.describe}}));

        // A server's 64 KB note would hold the UI thread while its label wraps: the history shows its start.
        answerNotes({handling("IMG-1", "2026-11-25 22:00:00", QString(65536, 'x'), QString())});
        QCOMPARE(view.axis->entries().at(1).second, QString(2000, 'x') + QChar(0x2026));
    }

    void hostileUidsAndNamesStayInsideTheDownloadFolder()
    {
        // Run deep inside the sandbox so that any climb out of the download folder lands where it is seen.
        const QString previous = QDir::currentPath();
        const QString root = sandbox.filePath("hostile");
        const QString work = root + "/a/b/c";
        QVERIFY(QDir().mkpath(work));
        const QString source = root + "/camera/shot.png";
        writePng(source);
        QVERIFY(QDir::setCurrent(work));

        struct Case
        {
            QString uid;
            QString url;
        };
        const QString camera = imageUrl(source).section('/', 0, -2) + "/";
        const QList<Case> cases = {
            {"../../escape", imageUrl(source)},     {"..\\..\\escape", imageUrl(source)},
            {root + "/absolute", imageUrl(source)}, {"H-1", camera + "..%2F..%2F..%2F..%2Fshot.png"},
            {"H-1", camera + "?name=shot.png"},     {"H-1", camera + "..%5C..%5Cshot.png#/safe.png"},
        };
        for (const Case& each : cases) {
            View view;
            view.widget.setAlarm(alarmOf(each.uid, "P0201"), LiveVideoRelation);
            QTRY_COMPARE(view.list->count(), 2);
            answerNotes({handling(each.uid, "2026-11-25 22:00:00", "note", each.url)});
            QCOMPARE(view.list->count(), 3);
            MessageBoxW::queueAnswer(1);
            view.open(2);
            QVERIFY(!view.viewer->isWaitingVisible());
            const QStringList shown = messages();
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown.first().startsWith("The live image can not be stored"), qPrintable(shown.first()));
        }

        // An image for a sound alarm lands where it belongs, under the name its escaped address spells;
        // opened again, that copy is shown and nothing is fetched.
        const QString escaped = root + QString::fromUtf8("/camera/\xe4\xb8\xad b.png");
        writePng(escaped);
        View view;
        view.widget.setAlarm(alarmOf("H-2", "P0201"), LiveVideoRelation);
        QTRY_COMPARE(view.list->count(), 2);
        answerNotes({handling("H-2", "2026-11-25 22:00:00", "note", imageUrl(escaped))});
        view.open(2);
        QTRY_VERIFY(view.viewer->hasImage());
        QVERIFY(messages().isEmpty());
        QFile::remove(escaped);
        view.open(1);
        view.open(2);
        QVERIFY(!view.viewer->isWaitingVisible());
        QVERIFY(view.viewer->hasImage());

        QStringList written;
        QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            written.append(QDir(root).relativeFilePath(files.next()));
        written.sort();
        QDir::setCurrent(previous);
        QCOMPARE(written, QStringList({"a/b/c/LiveImageTemp/H-2/%E4%B8%AD%20b.png", "camera/shot.png"}));
        QVERIFY(!QFileInfo::exists(root + "/absolute"));
    }

    void rowsShowTheAlarmAndItsStore()
    {
        QScrollArea area;
        AlarmInfoWidget& widget = *new AlarmInfoWidget;
        area.setWidget(&widget);
        area.resize(320, 120);
        area.show();

        VIG_AlarmInfo alarm = alarmOf("I1", "P0101");
        alarm.typeDescription = "Intrusion";
        alarm.subTypeDescription = "Door contact";
        widget.setAlarmInfo(alarm);
        // What happened comes first, above the rows of contacts.
        QCOMPARE(value(widget, "alarmHeadline"),
                 QString("Intrusion \u00b7 Door contact\n" + alarm.alarmTime));
        const VIG_DATA_MODULE::VIG_StoreInfo store =
            VIG_DATA_MODULE::BasicData::_instance().getStoreInfo("S001");
        QVERIFY(!store.storeName.isEmpty());
        QCOMPARE(value(widget, "storeName"), store.storeName);
        QCOMPARE(value(widget, "storeTel"), store.keeperTel);
        QCOMPARE(value(widget, "pirsInfo"),
                 VIG_DATA_MODULE::BasicData::_instance().getProbeInfo("P0101").probeDescription);

        // An unknown store empties the store's rows rather than leaving the last store's.
        alarm.storeUid = "NO-SUCH-STORE";
        alarm.probeId = "NO-SUCH-PROBE";
        // Each alarm is shown from the top, wherever the operator left the last one.
        area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
        QVERIFY(area.verticalScrollBar()->value() > 0);
        widget.setAlarmInfo(alarm);
        QCOMPARE(area.verticalScrollBar()->value(), 0);
        for (const char* name :
             {"storeName", "pirsInfo", "storeKeeper", "storeTel", "storeOwner", "storeOwnerTel",
              "responsible", "responsibleTel", "storeAddress", "payState"})
            QCOMPARE(value(widget, name), QString());
        QCOMPARE(value(widget, "alarmTime"), alarm.alarmTime);
    }

    void leavingStopsWhatPlays()
    {
        View view;
        VIG_BASE_MODULE::VideoPanel* panel = view.playback->getVideoPanel();
        view.widget.setAlarm(alarmOf("L-1", "P0101"), LiveVideoRelation);
        QTRY_COMPARE(view.list->getMarkedRow(), 0);
        const QString recording = panel->startRecording(0);
        view.widget.setAlarm(alarmOf("L-2", "P0102"), StorageRecordingRelation); // Back stops the same way
        QVERIFY(!recording.isEmpty() &&
                !VIG_BASE_MODULE::VideoManager::_instance().isVideoRecordingNow(recording));
        QVERIFY(panel->windowChannel(0).channelId.isEmpty());
    }

    void onlyAnOpenAlarmTakesAHandling()
    {
        View view;
        auto* handle = view.widget.findChild<QPushButton*>(QStringLiteral("handleAlarmBt"));
        auto* falseAlarm = view.widget.findChild<QPushButton*>(QStringLiteral("falseAlarmBt"));
        for (int state : {AlarmNew, AlarmDealt, AlarmMistaken, AlarmFinished}) {
            VIG_AlarmInfo alarm = alarmOf(QStringLiteral("S-%1").arg(state), "P0101");
            alarm.state = state;
            view.widget.setAlarm(alarm, LiveVideoRelation);
            QCOMPARE(handle->isEnabled(), state < AlarmMistaken);
            QCOMPARE(falseAlarm->isEnabled(), state < AlarmMistaken);
        }
    }

private:
    QTemporaryDir sandbox;
};

QTEST_MAIN(TestDetailCheck)
#include "tst_detail_check.moc"
