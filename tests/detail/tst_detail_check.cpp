// The detail view of one alarm: the list built from the recordings answer, the notes and their live
// images, playing by kind and one recording after another, dropped answers, Back, handling, and live
// images that must never be written outside their download folder.

#include "FakeAlarmService.h"

#include "detail/AlarmDetailCheckWt.h"
#include "detail/AlarmRelationsListWt.h"
#include "frame/AlarmSignals.h"
#include "handling/HandleAlarmDlg.h"
#include "relations/AlarmVideoRelation.h"
#include "service/AlarmBusiness.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataCache.h"
#include "DataSignals.h"
#include "HandleTimeAxis.h"
#include "ImageViewer.h"
#include "MessageBoxW.h"
#include "ModuleAccessSignals.h"
#include "VideoPanel.h"
#include "VideoPlaybackPanel.h"
#include "WaitDialog.h"

#include <QAction>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using namespace VIG_ALARM_MOUDLE;
using VIG_BASE_MODULE::MessageBoxW;

namespace {

FakeAlarmService& service()
{
    static FakeAlarmService fake;
    return fake;
}

VIG_AlarmInfo alarmOf(const QString& uid, const QString& probeId,
                      const QString& time = QStringLiteral("2026-11-25 21:39:00"))
{
    const VIG_DATA_MODULE::VIG_ProbeInfo probe =
        VIG_DATA_MODULE::BasicData::_instance().getProbeInfo(probeId);
    VIG_AlarmInfo alarm;
    alarm.alarmUid = uid;
    alarm.storeUid = probe.storeUid;
    alarm.deviceId = probe.deviceId;
    alarm.probeId = probeId;
    alarm.channelIndex = probe.channelIndex;
    alarm.alarmTime = time;
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

QStringList messages()
{
    QStringList shown;
    for (const MessageBoxW::Call& call : MessageBoxW::calls())
        shown.append(call.text);
    MessageBoxW::clearCalls();
    return shown;
}

QStringList notesRequests()
{
    QStringList uids;
    for (const FakeAlarmService::Call& call : service().takeCalls()) {
        if (call.operation == QLatin1String("RequestAlarmHandleNotes"))
            uids.append(call.texts.value(0));
    }
    return uids;
}

void writePng(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path, "PNG"));
}

QString fileUrl(const QString& path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

struct View
{
    AlarmDetailCheckWt widget;

    View()
    {
        widget.resize(1200, 700);
        widget.show();
    }
    AlarmRelationsListWt* list() const
    {
        return widget.findChild<AlarmRelationsListWt*>(QStringLiteral("alarminfoList"));
    }
    VIG_BASE_MODULE::VideoPlaybackPanel* playback() const
    {
        return widget.findChild<VIG_BASE_MODULE::VideoPlaybackPanel*>(QStringLiteral("playbackPanel"));
    }
    VIG_BASE_MODULE::VideoPanel* video() const { return playback()->getVideoPanel(); }
    VIG_BASE_MODULE::ImageViewer* viewer() const
    {
        return widget.findChild<VIG_BASE_MODULE::ImageViewer*>(QStringLiteral("imageViewer"));
    }
    VIG_BASE_MODULE::HandleTimeAxis* axis() const
    {
        return widget.findChild<VIG_BASE_MODULE::HandleTimeAxis*>(QStringLiteral("dealProcess"));
    }
    void open(int row) const { emit list()->itemDoubleClicked(list()->item(row)); }
    int rowOf(const QString& text) const
    {
        const QList<QListWidgetItem*> found = list()->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? -1 : list()->row(found.first());
    }
};

const QString Showroom20 = QStringLiteral(" Storage Alarm Recording HZ-001 Showroom 2026-11-20 11:31:26");
const QString Showroom25 = QStringLiteral(" Storage Alarm Recording HZ-001 Showroom 2026-11-25 21:38:33");
const QString ShowroomCloud = QStringLiteral(" ICloud Recording HZ-001 Showroom 2026-11-21 15:27:05");

} // namespace

class TestDetailCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void openingListsEverythingInOrder();
    void recordingsPlayOneAfterAnotherThenLiveVideo();
    void supersededRecordingsAnswersAreDropped();
    void sameAlarmTwiceDoesNotResetButBackDoes();
    void notesBringLiveImages();
    void hostileUidsAndNamesStayInsideTheDownloadFolder();
    void handlingAndFalseAlarmFromTheView();
    void captureAndDeleteRebuildTheList();

private:
    QTemporaryDir sandbox;
};

void TestDetailCheck::initTestCase()
{
    QVERIFY(sandbox.isValid());
    QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
    QDir(QStringLiteral("LiveImageTemp")).removeRecursively();
    DataCache::Instance()->SetAlarmPtr(&service());
    AlarmBusiness::_instance();
    VIG_BASE_MODULE::WaitDialog::_instance().setDisplayEnabled(false);
    QVERIFY(VIG_DATA_MODULE::BasicData::_instance().loadScenario(
        QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json")));
    // Clips outlast every test but the one that plays them through.
    VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(60000);
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setNvrPlaybackPeriod(45, 20);
}

void TestDetailCheck::init()
{
    MessageBoxW::clearQueuedAnswers();
    MessageBoxW::clearCalls();
    service().takeCalls();
}

void TestDetailCheck::openingListsEverythingInOrder()
{
    const QString capture = sandbox.filePath("cap.png");
    writePng(capture);
    AlarmBusiness::_instance().saveCaptureRelation("D-1", capture);
    AlarmBusiness::_instance().saveRecordingRelation("D-1", sandbox.filePath("20260101/a-1-101010-1.vrec"));

    View view;
    QCOMPARE(view.widget.findChild<QLabel*>("storeName")->text(), QString("TextLabel"));
    QVERIFY(view.playback()->isVisible());
    QVERIFY(!view.viewer()->isVisible());
    QVERIFY(view.video()->isAlarmRecordMode());

    view.widget.setAlarm(alarmOf("D-1", "P0102"), IcloudRecordingRelation);
    QCOMPARE(view.widget.findChild<QLabel*>("storeName")->text(), QString("Jinyuan Jewellery Wulin Store"));
    QTRY_COMPARE(view.list()->count(), 6);
    const QStringList shown = texts(view.list());
    QCOMPARE(shown.mid(0, 4), QStringList({"LiveVideo", Showroom20, Showroom25, ShowroomCloud}));
    QVERIFY(shown.at(4).startsWith("Capture ")); // the local recording's file is gone
    QCOMPARE(shown.at(5), QString("NVR Recording"));

    AlarmRelationsListWt* list = view.list();
    QCOMPARE(AlarmRelationsListWt::itemFilePath(list->item(0)), QString("LIVE_VIDEO"));
    const QString storage20 =
        QStringLiteral("{\"deviceAddr\":\"10.20.1.10\",\"fileName\":\"D0101-CH2_20261120113126.mp4\"}");
    QCOMPARE(AlarmRelationsListWt::itemFilePath(list->item(1)), storage20);
    QCOMPARE(AlarmRelationsListWt::itemType(list->item(1)), 2);
    QCOMPARE(AlarmRelationsListWt::itemFilePath(list->item(3)),
             QString("/icloud/hangzhou/S001/D0101-CH2/20261121152705.mp4"));
    // The NVR entry borrows the path of the last recording of the answer.
    QCOMPARE(AlarmRelationsListWt::itemFilePath(list->item(5)), storage20);
    QCOMPARE(AlarmRelationsListWt::itemType(list->item(5)), 7);

    // Opened for its cloud recording: that one plays, and the history is asked for.
    QCOMPARE(list->getMarkedRow(), 3);
    QCOMPARE(view.widget.getPlayingRow(), 3);
    QCOMPARE(view.playback()->currentTitle(),
             QString("Cloud recording 20261121152705.mp4 2026-11-21 15:27:05"));
    QVERIFY(notesRequests().contains("D-1"));

    // A capture shows in the viewer; the NVR entry goes back to the playback panel and plays its period.
    view.open(4);
    QVERIFY(view.viewer()->isVisible());
    QVERIFY(!view.playback()->isVisible());
    QCOMPARE(view.viewer()->imagePath(), capture);
    view.open(5);
    QVERIFY(view.playback()->isVisible());
    QVERIFY(!view.viewer()->isVisible());
    QCOMPARE(view.playback()->currentTitle(),
             QString("NVR D0101 channel 2: 2026-11-25 21:38:15 to 2026-11-25 21:38:35"));
    QCOMPARE(list->getMarkedRow(), 5);

    // A camera is no recorder: no NVR entry.
    View camera;
    VIG_AlarmInfo alarm = alarmOf("D-2", "P0102");
    alarm.deviceId = "D0102";
    alarm.channelIndex = 1;
    VIG_DATA_MODULE::BasicData::_instance().rememberAlarmChannel("D-2", "D0102", 1);
    camera.widget.setAlarm(alarm, LiveVideoRelation);
    QTRY_VERIFY(camera.list()->count() > 0);
    QVERIFY(!camera.list()->findFirstItemOfType(NvrRecordingRelation));
    QCOMPARE(camera.list()->getMarkedRow(), 0); // the live video plays
    QVERIFY(camera.video()->windowCount() > 0);
    QVERIFY(!camera.video()->isPlayingBack());
}

void TestDetailCheck::recordingsPlayOneAfterAnotherThenLiveVideo()
{
    // P0104: a cloud, a storage and another cloud recording, and an NVR.
    View view;
    view.widget.setAlarm(alarmOf("P-1", "P0104"), LiveVideoRelation);
    QTRY_COMPARE(view.list()->count(), 5);
    QCOMPARE(view.list()->getMarkedRow(), 0);
    const int liveWindows = VIG_DATA_MODULE::BasicData::_instance().getProbeRelatedChannels("P0104").size();
    QCOMPARE(view.video()->windowCount(), liveWindows);

    VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(15);
    QList<int> playedRows;
    QStringList titles;
    connect(view.video(), &VIG_BASE_MODULE::VideoPanel::signalVideoPlaybackFinished, this, [&] {
        playedRows.append(view.widget.getPlayingRow());
        titles.append(view.playback()->currentTitle());
    });
    view.open(1);
    QTRY_COMPARE(playedRows.size(), 4);
    QCOMPARE(playedRows, QList<int>({2, 3, 4, 0}));
    QVERIFY(titles.at(0).startsWith("Cloud recording"));
    QVERIFY(titles.at(2).startsWith("NVR D0101 channel 4"));
    QVERIFY(titles.at(3).isEmpty()); // live again
    VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(60000);
    QCOMPARE(view.list()->getMarkedRow(), 0);
    QCOMPARE(view.video()->windowCount(), liveWindows);
    QVERIFY(!view.video()->isPlayingBack());
}

void TestDetailCheck::supersededRecordingsAnswersAreDropped()
{
    View view;
    VIG_DATA_MODULE::VIG_IcloudAlarmRecordingInfo stray;
    stray.recordingName = "stray";
    stray.locator = "/x/stray.mp4";
    emit VIG_DATA_MODULE::DataSignals::_instance().signalGetIcloudAlarmRecordingsInfo("{stray}", {stray});
    QCOMPARE(view.list()->count(), 0);

    // Two alarms opened before the first answer arrives: only the second one's answer counts.
    QSignalSpy answers(&VIG_DATA_MODULE::DataSignals::_instance(),
                       &VIG_DATA_MODULE::DataSignals::signalGetIcloudAlarmRecordingsInfo);
    view.widget.setAlarm(alarmOf("S-A", "P0102"), IcloudRecordingRelation);
    view.widget.setAlarm(alarmOf("S-B", "P0101"), IcloudRecordingRelation);
    QTRY_COMPARE(answers.count(), 2);
    QCOMPARE(
        texts(view.list()),
        QStringList({"LiveVideo", " ICloud Recording HZ-001 Entrance 2026-11-24 23:20:33", "NVR Recording"}));
    QCOMPARE(view.list()->getMarkedRow(), 1);
    emit VIG_DATA_MODULE::DataSignals::_instance().signalGetIcloudAlarmRecordingsInfo("{stray}", {stray});
    QCOMPARE(view.list()->count(), 3);
}

void TestDetailCheck::sameAlarmTwiceDoesNotResetButBackDoes()
{
    View view;
    const VIG_AlarmInfo alarm = alarmOf("T-1", "P0102");
    view.widget.setAlarm(alarm, LiveVideoRelation);
    QTRY_COMPARE(view.list()->count(), 5);
    answerNotes({handling("T-1", "2026-11-25 22:00:00", "called the keeper", QString())});
    QCOMPARE(view.axis()->count(), 2);
    view.open(view.rowOf(Showroom25));
    QCOMPARE(view.list()->getMarkedRow(), 2);

    QSignalSpy answers(&VIG_DATA_MODULE::DataSignals::_instance(),
                       &VIG_DATA_MODULE::DataSignals::signalGetIcloudAlarmRecordingsInfo);
    service().takeCalls();
    view.widget.setAlarm(alarm, IcloudRecordingRelation);
    QCoreApplication::processEvents();
    QCOMPARE(answers.count(), 0);
    QVERIFY(notesRequests().isEmpty());
    QCOMPARE(view.list()->getMarkedRow(), 2);
    QCOMPARE(view.axis()->count(), 2);

    QSignalSpy visible(&AlarmSignals::_instance(), &AlarmSignals::signalSetAlarmDetailCheckWtVisible);
    view.widget.findChild<QPushButton*>("backBt")->click();
    QCOMPARE(visible.count(), 1);
    QCOMPARE(visible.first().first().toBool(), false);
    QCOMPARE(view.list()->count(), 0);
    QCOMPARE(view.axis()->count(), 0);
    QVERIFY(!view.video()->isPlayingBack());
    QCOMPARE(view.widget.getAlarm().alarmUid, QString("T-1"));

    // The main form hides the tab; opening the same alarm again rebuilds it when shown.
    view.widget.hide();
    view.widget.setAlarm(alarm, IcloudRecordingRelation);
    QCoreApplication::processEvents();
    QCOMPARE(answers.count(), 0);
    view.widget.show();
    QTRY_COMPARE(view.list()->count(), 5);
    QCOMPARE(answers.count(), 1);
    QCOMPARE(view.list()->getMarkedRow(), 0); // the default it was opened with: live video
    QCOMPARE(notesRequests(), QStringList({"T-1"}));
}

void TestDetailCheck::notesBringLiveImages()
{
    const QString front = sandbox.filePath("camera/front.png");
    const QString back = sandbox.filePath("camera/back.jpg");
    writePng(front);
    writePng(back);

    View view;
    const VIG_AlarmInfo alarm = alarmOf("IMG-1", "P0201");
    view.widget.setAlarm(alarm, LiveVideoRelation);
    QTRY_COMPARE(view.list()->count(), 2); // no recordings: live video and the NVR

    const QString urls = fileUrl(front) + "?channel=1&shot=2" + ",," + fileUrl(back);
    answerNotes({handling("IMG-1", "2026-11-25 22:00:00", "on site", urls),
                 handling("IMG-1", "2026-11-25 22:10:00", "closed", QString())});
    QCOMPARE(view.axis()->entries(), (QVector<QPair<QString, QString>>{{alarm.alarmTime, alarm.describe},
                                                                       {"2026-11-25 22:00:00", "on site"},
                                                                       {"2026-11-25 22:10:00", "closed"}}));
    QCOMPARE(texts(view.list()), QStringList({"LiveVideo", "NVR Recording", "Livefront", "Liveback"}));
    QCOMPARE(AlarmRelationsListWt::itemFilePath(view.list()->item(2)), fileUrl(front) + "?channel=1&shot=2");

    // Downloaded into the alarm's folder, the query left out of the name.
    view.open(2);
    QVERIFY(view.viewer()->isVisible());
    QVERIFY(!view.playback()->isVisible());
    QTRY_VERIFY(view.viewer()->hasImage());
    QVERIFY(!view.viewer()->isWaitingVisible());
    QVERIFY(QFile::exists("LiveImageTemp/IMG-1/front.png"));
    QCOMPARE(QFileInfo(view.viewer()->imagePath()).absoluteFilePath(),
             QFileInfo("LiveImageTemp/IMG-1/front.png").absoluteFilePath());
    view.open(3);
    QTRY_VERIFY(QFile::exists("LiveImageTemp/IMG-1/back.jpg"));

    // Already there: shown at once, the address is not even read.
    writePng("LiveImageTemp/IMG-1/cached.png");
    answerNotes({handling("IMG-1", "2026-11-25 22:00:00", "on site", "file:///no/such/place/cached.png")});
    QCOMPARE(texts(view.list()), QStringList({"LiveVideo", "NVR Recording", "Livecached"}));
    view.open(2);
    QVERIFY(!view.viewer()->isWaitingVisible());
    QCOMPARE(view.viewer()->imagePath(), QString("LiveImageTemp/IMG-1/cached.png"));
    QVERIFY(view.viewer()->hasImage());

    // Notes again: the image on show comes back marked and shown.
    view.viewer()->setImagePath(QString());
    answerNotes({handling("IMG-1", "2026-11-25 22:00:00", "on site", "file:///no/such/place/cached.png")});
    QCOMPARE(view.list()->getMarkedItem()->text(), QString("Livecached"));
    QCOMPARE(view.viewer()->imagePath(), QString("LiveImageTemp/IMG-1/cached.png"));

    // A failed download only ends the waiting.
    answerNotes({handling("IMG-1", "2026-11-25 22:00:00", "on site", "file:///no/such/place/missing.png")});
    view.open(2);
    QVERIFY(view.viewer()->isWaitingVisible());
    QTRY_VERIFY(!view.viewer()->isWaitingVisible());
    QVERIFY(!QFile::exists("LiveImageTemp/IMG-1/missing.png"));

    // Another alarm's notes are not this one's history; a failure still shows the alarm itself.
    answerNotes({handling("OTHER", "2026-11-25 23:00:00", "elsewhere", QString())});
    QCOMPARE(view.axis()->count(), 2);
    MessageBoxW::queueAnswer(1);
    answerNotes({}, 7);
    QCOMPARE(messages(), QStringList({"Get alarm notes failed."}));
    QCOMPARE(view.axis()->entries(), (QVector<QPair<QString, QString>>{{alarm.alarmTime, alarm.describe}}));
}

void TestDetailCheck::hostileUidsAndNamesStayInsideTheDownloadFolder()
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
    const QString camera = fileUrl(root + "/camera") + "/";
    const QList<Case> cases = {
        {"../../escape", fileUrl(source)},
        {"..\\..\\escape", fileUrl(source)},
        {root + "/absolute", fileUrl(source)},
        {"%2e%2e", fileUrl(source)},
        {"H-1", camera + "..%2F..%2F..%2F..%2Fshot.png"},
        {"H-1", camera + "..\\shot.png"},
        {"H-1", camera + ".."},
        {"H-1", camera + "?name=shot.png"},
    };
    for (const Case& each : cases) {
        View view;
        view.widget.setAlarm(alarmOf(each.uid, "P0201"), LiveVideoRelation);
        QTRY_COMPARE(view.list()->count(), 2);
        answerNotes({handling(each.uid, "2026-11-25 22:00:00", "note", each.url)});
        QCOMPARE(view.list()->count(), 3);
        MessageBoxW::queueAnswer(1);
        view.open(2);
        QVERIFY(!view.viewer()->isWaitingVisible());
        const QStringList shown = messages();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith("The live image can not be stored"), qPrintable(shown.first()));
    }

    // The same image for a sound alarm lands where it belongs.
    View view;
    view.widget.setAlarm(alarmOf("H-2", "P0201"), LiveVideoRelation);
    QTRY_COMPARE(view.list()->count(), 2);
    answerNotes({handling("H-2", "2026-11-25 22:00:00", "note", fileUrl(source))});
    view.open(2);
    QTRY_VERIFY(view.viewer()->hasImage());
    QVERIFY(messages().isEmpty());

    QStringList written;
    QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        written.append(QDir(root).relativeFilePath(files.next()));
    written.sort();
    QDir::setCurrent(previous);
    QCOMPARE(written, QStringList({"a/b/c/LiveImageTemp/H-2/shot.png", "camera/shot.png"}));
    QVERIFY(!QFileInfo::exists(root + "/absolute"));
}

void TestDetailCheck::handlingAndFalseAlarmFromTheView()
{
    View view;
    VIG_AlarmInfo alarm = alarmOf("H-10", "P0101");
    view.widget.setAlarm(alarm, LiveVideoRelation);
    QTRY_COMPARE(view.list()->count(), 3);
    service().takeCalls();

    QSignalSpy alarmOut(&VIG_CONTACT_MODULE::ModuleAccessSignals::_instance(),
                        &VIG_CONTACT_MODULE::ModuleAccessSignals::signalCloseAlarmOut);
    QSignalSpy droppedFromVideo(&AlarmSignals::_instance(),
                                &AlarmSignals::signalAlarmHandledNotInVideoMonitorWt);
    QSignalSpy droppedFromTable(&AlarmSignals::_instance(), &AlarmSignals::signalDeleteAlarmFromMonitorTable);

    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<HandleAlarmDlg*>(widget);
            if (dialog && dialog->isVisible()) {
                dialog->findChild<QTextEdit*>("textEdit")->setPlainText("checked on site");
                dialog->findChild<QPushButton*>("HandleBt")->click();
            }
        }
    });
    view.widget.findChild<QPushButton*>("handleAlarmBt")->click();
    const QList<FakeAlarmService::Call> calls = service().takeCalls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.first().operation, QString("RequestHandleAlarm"));
    QCOMPARE(calls.first().texts.mid(0, 2), QStringList({"H-10", "checked on site"}));
    QCOMPARE(calls.first().number, int(AlarmFinished));
    QVERIFY(!calls.first().informKeeper);
    const QString requester = calls.first().texts.at(2);
    QVERIFY(!QUuid(requester).isNull());
    VIG_BASE_MODULE::WaitDialog& wait = VIG_BASE_MODULE::WaitDialog::_instance();
    QVERIFY(wait.isShown());
    QCOMPARE(wait.currentText(), QString("Hanle alarm..."));
    QCOMPARE(alarmOut.count(), 1);

    // Results of others, or about other alarms, are not this view's.
    AlarmSignals& hub = AlarmSignals::_instance();
    emit hub.signalHandleAlarmResult("{other}", "H-10", 0, QString());
    emit hub.signalHandleAlarmResult(requester, "H-11", 0, QString());
    QVERIFY(wait.isShown());
    QCOMPARE(droppedFromTable.count(), 0);

    MessageBoxW::queueAnswer(1);
    emit hub.signalHandleAlarmResult(requester, "H-10", 9, "refused");
    QVERIFY(!wait.isShown());
    QCOMPARE(messages(), QStringList({"Jinyuan Jewellery Wulin Store handle alarm fail."}));
    QCOMPARE(droppedFromTable.count(), 0);

    emit hub.signalHandleAlarmResult(requester, "H-10", 0, QString());
    QCOMPARE(droppedFromVideo.count(), 1);
    QCOMPARE(droppedFromVideo.first().first().value<VIG_AlarmInfo>().alarmUid, QString("H-10"));
    QCOMPARE(droppedFromTable.first().first().toString(), QString("H-10"));
    QCOMPARE(notesRequests(), QStringList({"H-10"}));
    QCOMPARE(view.axis()->count(), 0); // cleared until the new history comes

    // False alarm: only on confirmation, and no alarm output for an alarm no longer new.
    View other;
    alarm = alarmOf("H-12", "P0101");
    alarm.state = AlarmDealt;
    other.widget.setAlarm(alarm, LiveVideoRelation);
    QPushButton* falseBt = other.widget.findChild<QPushButton*>("falseAlarmBt");
    service().takeCalls();
    MessageBoxW::queueAnswer(0);
    falseBt->click();
    QCOMPARE(messages(), QStringList({"Are you sure false alarm?"}));
    QVERIFY(service().takeCalls().isEmpty());
    MessageBoxW::queueAnswer(1);
    falseBt->click();
    const QList<FakeAlarmService::Call> falseCalls = service().takeCalls();
    QCOMPARE(falseCalls.size(), 1);
    QCOMPARE(falseCalls.first().texts.mid(0, 2), QStringList({"H-12", "False alarm"}));
    QCOMPARE(falseCalls.first().number, int(AlarmMistaken));
    QCOMPARE(alarmOut.count(), 1);
    wait.hideWaitDialog();
}

void TestDetailCheck::captureAndDeleteRebuildTheList()
{
    View view;
    view.widget.setAlarm(alarmOf("C-1", "P0101"), LiveVideoRelation);
    QTRY_COMPARE(view.list()->count(), 3);
    QCOMPARE(view.list()->getMarkedRow(), 0);

    // A capture from the live video is related to the alarm and listed; the live video stays marked.
    emit view.video()->signalCaptureActionTriggered();
    QTRY_COMPARE(view.list()->count(), 4);
    QVERIFY(view.list()->item(2)->text().startsWith("Capture "));
    QCOMPARE(view.list()->getMarkedRow(), 0);
    QCOMPARE(AlarmVideoRelation::_instance().getAlarmRelations("C-1").size(), 1);

    // A local recording started in the view is listed too; deleting it while it plays stops the playback.
    const QString recording = view.video()->startRecording(0);
    QVERIFY(!recording.isEmpty());
    QTRY_COMPARE(view.list()->count(), 5);
    view.video()->stopRecording(0);
    const int row = view.list()->row(view.list()->findFirstItemOfType(LocalRecordingRelation));
    QCOMPARE(row, 2);
    view.open(row);
    QVERIFY(view.video()->isPlayingBack());
    view.list()->setCurrentRow(row);
    MessageBoxW::queueAnswer(1);
    for (QAction* action : view.list()->findChild<QMenu*>()->actions()) {
        if (action->text() == QLatin1String("Delete"))
            action->trigger();
    }
    QVERIFY(!view.video()->isPlayingBack());
    QVERIFY(!QFile::exists(recording));
    QCOMPARE(view.list()->count(), 4);
}

QTEST_MAIN(TestDetailCheck)
#include "tst_detail_check.moc"
