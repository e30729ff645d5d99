// The detail view of an alarm with its list of relations.
#include "DataSignals.h"
#include "ModuleTestSupport.h"
#include "SimImageServer.h"
#include "TestMain.h"
#include "VideoManager.h"
#include "WordwrapLabel.h"
#include "detail/AlarmInfoWidget.h"
#include "relations/AlarmVideoRelation.h"

#include <QContextMenuEvent>
#include <QDirIterator>
#include <QImage>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_BASE_MODULE::MessageBoxW;

namespace {

// An alarm the detail view can find the channel of.
VIG_AlarmInfo detailAlarm(const QString& uid, const QString& probeId)
{
    const VIG_AlarmInfo alarm = alarmOf(uid, probeId);
    basicData().rememberAlarmChannel(uid, alarm.deviceId, alarm.channelIndex);
    return alarm;
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

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Chooses the save-as target as the operator would.
class TestableList : public AlarmRelationsListWt
{
public:
    QString target;
    QStringList filters;

protected:
    QString chooseSaveAsTarget(const QString& filter) override
    {
        filters.append(filter);
        return target;
    }
};

// Opens the menu on a row as the operator's right click does; the action that shows this text.
QAction* menuAction(AlarmRelationsListWt& list, int row, const QString& text)
{
    list.resize(400, 400);
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list.viewport(), &event);
    auto* menu = list.findChild<QMenu*>();
    menu->hide();
    for (QAction* each : menu->actions()) {
        if (each->text() == text)
            return each;
    }
    return nullptr;
}

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
        QVERIFY(AlarmVideoRelation::_instance().isOpen());
        QVERIFY(basicData().loadScenario(QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json")));
        // Clips outlast every test but the one that plays them through.
        VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(60000);
        businessConfig().setNvrPlaybackPeriod(45, 20);
    }

    void init() { resetCase(); }

    void openingListsEverythingInOrder()
    {
        const QString capture = sandbox.filePath("cap.png");
        writePng(capture);
        AlarmBusiness::_instance().saveCaptureRelation("D-1", capture);
        AlarmBusiness::_instance().saveRecordingRelation("D-1",
                                                         sandbox.filePath("20260101/a-1-101010-1.vrec"));

        DetailScreen view;
        view.widget.setAlarm(detailAlarm("D-1", "P0102"), IcloudRecordingRelation);
        QTRY_COMPARE(view.list->count(), 6);
        const QStringList shown = texts(view.list);
        QCOMPARE(shown.mid(0, 4),
                 QStringList({"LiveVideo", " Storage Alarm Recording HZ-001 Showroom 2026-11-20 11:31:26",
                              " Storage Alarm Recording HZ-001 Showroom 2026-11-25 21:38:33",
                              " ICloud Recording HZ-001 Showroom 2026-11-21 15:27:05"}));
        QVERIFY(shown.at(4).startsWith("Capture ")); // the local recording's file is gone
        // The NVR entry borrows the path of the last recording of the answer.
        QCOMPARE(
            QVariantList({shown.at(5), AlarmRelationsListWt::itemFilePath(view.list->item(5)),
                          view.list->getMarkedRow(), view.playback->currentTitle()}),
            QVariantList({"NVR Recording",
                          "{\"deviceAddr\":\"10.20.1.10\",\"fileName\":\"D0101-CH2_20261120113126.mp4\"}", 3,
                          "Cloud recording 20261121152705.mp4 2026-11-21 15:27:05"}));
        const QList<FakeAlarmService::Call> calls = service().takeCalls();
        QVERIFY(std::any_of(calls.begin(), calls.end(), [](const FakeAlarmService::Call& call) {
            return call.operation == QLatin1String("RequestAlarmHandleNotes") && call.texts.value(0) == "D-1";
        }));

        // A camera is no recorder: no NVR entry.
        DetailScreen camera;
        VIG_AlarmInfo alarm = alarmOf("D-2", "P0102");
        alarm.deviceId = "D0102";
        alarm.channelIndex = 1;
        basicData().rememberAlarmChannel("D-2", "D0102", 1);
        camera.widget.setAlarm(alarm, LiveVideoRelation);
        QTRY_VERIFY(camera.list->count() > 0);
        QVERIFY(!camera.list->findFirstItemOfType(NvrRecordingRelation) && camera.list->getMarkedRow() == 0);
    }

    void supersededRecordingsAnswersAreDropped()
    {
        DetailScreen view;
        // Two alarms opened before the first answer arrives: only the second one's answer counts.
        QSignalSpy answers(&VIG_DATA_MODULE::DataSignals::_instance(),
                           &VIG_DATA_MODULE::DataSignals::signalGetIcloudAlarmRecordingsInfo);
        view.widget.setAlarm(detailAlarm("S-A", "P0102"), IcloudRecordingRelation);
        view.widget.setAlarm(detailAlarm("S-B", "P0101"), IcloudRecordingRelation);
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
        DetailScreen view;
        const VIG_AlarmInfo alarm = detailAlarm("IMG-1", "P0201");
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
        // A server's address of a local file is refused.
        answerNotes(
            {handling("IMG-1", "2026-11-25 22:00:00", "on site", QUrl::fromLocalFile(front).toString())});
        view.open(2);
        QTRY_VERIFY(!view.viewer->isWaitingVisible());
        QVERIFY(!QFile::exists("LiveImageTemp/IMG-1/front.png"));

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

        const QString camera = imageUrl(source).section('/', 0, -2) + "/";
        const QList<QPair<QString, QString>> cases = {
            {"../../escape", imageUrl(source)},     {"..\\..\\escape", imageUrl(source)},
            {root + "/absolute", imageUrl(source)}, {"H-1", camera + "..%2F..%2F..%2F..%2Fshot.png"},
            {"H-1", camera + "?name=shot.png"},     {"H-1", camera + "..%5C..%5Cshot.png#/safe.png"},
        };
        for (const auto& [uid, url] : cases) {
            DetailScreen view;
            view.widget.setAlarm(detailAlarm(uid, "P0201"), LiveVideoRelation);
            QTRY_COMPARE(view.list->count(), 2);
            answerNotes({handling(uid, "2026-11-25 22:00:00", "note", url)});
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
        DetailScreen view;
        view.widget.setAlarm(detailAlarm("H-2", "P0201"), LiveVideoRelation);
        QTRY_COMPARE(view.list->count(), 2);
        answerNotes({handling("H-2", "2026-11-25 22:00:00", "note", imageUrl(escaped))});
        view.open(2);
        QTRY_VERIFY(view.viewer->hasImage());
        QVERIFY(messages().isEmpty());
        QFile::remove(escaped);
        view.open(1);
        view.open(2);
        QVERIFY(!view.viewer->isWaitingVisible() && view.viewer->hasImage());

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

        VIG_AlarmInfo alarm = detailAlarm("I1", "P0101");
        alarm.typeDescription = "Intrusion";
        alarm.subTypeDescription = "Door contact";
        widget.setAlarmInfo(alarm);
        // What happened comes first, above the rows of contacts.
        QCOMPARE(value(widget, "alarmHeadline"),
                 QString("Intrusion \u00b7 Door contact\n" + alarm.alarmTime));
        const VIG_DATA_MODULE::VIG_StoreInfo store = basicData().getStoreInfo("S001");
        QVERIFY(!store.storeName.isEmpty());
        QCOMPARE(
            QStringList({value(widget, "storeName"), value(widget, "storeTel"), value(widget, "pirsInfo")}),
            QStringList(
                {store.storeName, store.keeperTel, basicData().getProbeInfo("P0101").probeDescription}));

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

    // Only an open alarm takes a handling; the next alarm stops what the last one played (Back does the
    // same).
    void onlyAnOpenAlarmTakesAHandlingAndTheNextStopsWhatPlays()
    {
        DetailScreen view;
        auto* handle = view.widget.findChild<QPushButton*>(QStringLiteral("handleAlarmBt"));
        auto* falseAlarm = view.widget.findChild<QPushButton*>(QStringLiteral("falseAlarmBt"));
        for (int state : {AlarmNew, AlarmDealt, AlarmMistaken, AlarmFinished}) {
            VIG_AlarmInfo alarm = detailAlarm(QStringLiteral("S-%1").arg(state), "P0101");
            alarm.state = state;
            view.widget.setAlarm(alarm, LiveVideoRelation);
            QCOMPARE(handle->isEnabled(), state < AlarmMistaken);
            QCOMPARE(falseAlarm->isEnabled(), state < AlarmMistaken);
        }
        VIG_BASE_MODULE::VideoPanel* panel = view.playback->getVideoPanel();
        QTRY_COMPARE(view.list->getMarkedRow(), 0);
        const QString recording = panel->startRecording(0);
        view.widget.setAlarm(detailAlarm("L-2", "P0102"), StorageRecordingRelation);
        QVERIFY(!recording.isEmpty() &&
                !VIG_BASE_MODULE::VideoManager::_instance().isVideoRecordingNow(recording));
        QVERIFY(panel->windowChannel(0).channelId.isEmpty());
    }

    void sortsSkipsAndKeepsTheMark()
    {
        const QString kept = sandbox.filePath("rec-kept.vrec");
        writeFile(kept, "frames");
        AlarmRelationsListWt list;
        QList<VIG_AlarmRelation> relations = {
            {"A1", sandbox.filePath("cap-b.png"), "Capture 2026-01-01 00:00:02", CaptureRelation},
            {"A1", "/icloud/x/2.mp4", " ICloud Recording B", IcloudRecordingRelation},
            {"A1", "LIVE_VIDEO", "LiveVideo", LiveVideoRelation},
            {"A1", sandbox.filePath("gone.vrec"), "Local Recording 2026-01-01 00:00:00",
             LocalRecordingRelation},
            {"A1", kept, "Local Recording 2026-01-01 00:00:01", LocalRecordingRelation},
            {"A1", QString(), "Nothing", CaptureRelation},
            {"A1", "/icloud/x/1.mp4", " ICloud Recording A", IcloudRecordingRelation},
            {"A1", "/icloud/x/2.mp4", "NVR Recording", NvrRecordingRelation},
        };
        list.setRelations(relations, QString());
        // Sorted in place by type, then name; the list shows what can be shown.
        QCOMPARE(relations.at(1).fileName, QString(" ICloud Recording A"));
        QCOMPARE(texts(&list), QStringList({"LiveVideo", " ICloud Recording A", " ICloud Recording B",
                                            "Local Recording 2026-01-01 00:00:01",
                                            "Capture 2026-01-01 00:00:02", "NVR Recording"}));
        QVERIFY(!list.getMarkedItem());

        // The cloud recording B is playing; the NVR entry borrows its path and must not take the mark.
        list.markRow(2);
        const QString markedPath = AlarmRelationsListWt::itemFilePath(list.getMarkedItem());
        relations.append(VIG_AlarmRelation{"A1", sandbox.filePath("cap-a.png"), "Capture 2026-01-01 00:00:00",
                                           CaptureRelation});
        list.setRelations(relations, markedPath);
        QCOMPARE(QList<int>({list.count(), list.getMarkedRow(), list.currentRow()}), QList<int>({7, 2, 2}));
        // Marked by kind too: when the NVR entry plays, it keeps the mark.
        list.setRelations(relations, NvrRecordingRelation, markedPath);
        QCOMPARE(list.getMarkedRow(), 6);
    }

    void defaultTypePlaysItsOrderOfChoice_data()
    {
        QTest::addColumn<QList<int>>("present");
        QTest::addColumn<int>("defaultType");
        QTest::addColumn<int>("played"); // 0: nothing

        QTest::newRow("cloud first") << QList<int>{1, 2, 3, 4, 5, 6, 7} << 3 << 3;
        QTest::newRow("no cloud: storage") << QList<int>{1, 2, 4, 7} << 3 << 2;
        QTest::newRow("no remote: local") << QList<int>{1, 4, 5} << 3 << 4;
        QTest::newRow("nothing recorded: live") << QList<int>{1, 5, 6, 7} << 3 << 1;
        QTest::newRow("capture missing") << QList<int>{1, 4} << 5 << 1;
        QTest::newRow("nvr plays nothing") << QList<int>{1, 7} << 7 << 0;
    }

    void defaultTypePlaysItsOrderOfChoice()
    {
        QFETCH(QList<int>, present);
        QFETCH(int, defaultType);
        QFETCH(int, played);

        AlarmRelationsListWt list;
        for (int type : present) {
            // Two of each kind: the first one is taken.
            list.addRelationItem({"A1", QStringLiteral("/p/%1-a").arg(type), QStringLiteral("a"), type});
            list.addRelationItem({"A1", QStringLiteral("/p/%1-b").arg(type), QStringLiteral("b"), type});
        }
        QList<QListWidgetItem*> doubleClicked;
        connect(&list, &QListWidget::itemDoubleClicked, this,
                [&](QListWidgetItem* clicked) { doubleClicked.append(clicked); });
        QListWidgetItem* item = list.playDefaultItem(defaultType);
        QCOMPARE(item ? AlarmRelationsListWt::itemFilePath(item) : QString(),
                 played ? QStringLiteral("/p/%1-a").arg(played) : QString());
        QCOMPARE(doubleClicked, item ? QList<QListWidgetItem*>({item}) : QList<QListWidgetItem*>());
        QCOMPARE(list.getMarkedItem(), item); // marked as on a real double click
    }

    void deletingStopsARecordingFirstAndKeepsWhatCannotGo()
    {
        VIG_BASE_MODULE::VideoPanel panel;
        panel.connectChannels(basicData().getProbeRelatedChannels("P0101"), true);
        const QString recording = panel.startRecording(0);
        QVERIFY(!recording.isEmpty());
        VIG_BASE_MODULE::VideoManager& videos = VIG_BASE_MODULE::VideoManager::_instance();
        QVERIFY(videos.isVideoRecordingNow(recording));
        // A folder in place of the capture cannot be removed as a file.
        const QString busy = sandbox.filePath("busy.png");
        writeFile(busy + "/inside", "x");

        AlarmVideoRelation& store = AlarmVideoRelation::_instance();
        store.addRelation({"DEL", recording, "Local Recording 2026-01-01 10:00:00", LocalRecordingRelation});
        store.addRelation({"DEL", busy, "Capture 2026-01-01 10:00:00", CaptureRelation});
        AlarmRelationsListWt list;
        list.setAlarmUid("DEL");
        QList<VIG_AlarmRelation> relations = store.getAlarmRelations("DEL");
        list.setRelations(relations, QString());
        QCOMPARE(list.count(), 2);

        // The view is told once the recording has stopped and before its file goes.
        bool stoppedBeforeDeleted = false;
        connect(&list, &AlarmRelationsListWt::signalStopVideoRecordingView, this, [&](const QString&) {
            stoppedBeforeDeleted = !videos.isVideoRecordingNow(recording) && QFile::exists(recording);
        });
        QSignalSpy stopView(&list, &AlarmRelationsListWt::signalStopVideoRecordingView);

        MessageBoxW::queueAnswer(1);
        menuAction(list, 0, "Delete")->trigger();
        QCOMPARE(spied(stopView), QList<QVariantList>({{recording}}));
        // The question only.
        QCOMPARE(
            QVariantList({stoppedBeforeDeleted, videos.isVideoRecordingNow(recording), panel.isRecording(0),
                          QFile::exists(recording), list.count(), messages().size()}),
            QVariantList({true, false, false, false, 1, 1}));

        MessageBoxW::queueAnswer(1);
        MessageBoxW::queueAnswer(1);
        menuAction(list, 0, "Delete")->trigger();
        QCOMPARE(messages().last(),
                 QString("Delete relation failed,video recording now or open in somewhere."));
        relations = store.getAlarmRelations("DEL");
        // Only recordings are stopped.
        QCOMPARE(
            QVariantList({stopView.count(), list.count(), relations.size(), relations.value(0).filePath}),
            QVariantList({1, 1, 1, busy}));
    }

    void saveAsCopiesAndReplacesButNeverOntoItself()
    {
        const QString capture = sandbox.filePath("evidence.png");
        writeFile(capture, "capture-bytes");
        const QString target = sandbox.filePath("out/copy.png");
        writeFile(target, "old-content-that-is-longer");

        TestableList list;
        list.setAlarmUid("SAVE");
        list.addRelationItem({"SAVE", capture, "Capture 2026-01-01 10:00:00", CaptureRelation});
        list.addRelationItem({"SAVE", "file:///cam/shot.png?x=1", "Liveshot", LiveImageRelation});

        // A capture onto an existing file replaces it.
        list.target = target;
        menuAction(list, 0, "Save As")->trigger();
        QCOMPARE(
            QVariantList({readFile(target), list.filters, messages()}),
            QVariantList({QByteArray("capture-bytes"), QStringList({"Images(*.png *.jpg)"}), QStringList()}));

        // Onto itself: refused, the evidence stays.
        list.target = capture;
        MessageBoxW::queueAnswer(1);
        menuAction(list, 0, "Save As")->trigger();
        QCOMPARE(QVariantList({readFile(capture), messages()}),
                 QVariantList({QByteArray("capture-bytes"),
                               QStringList({"Can not save the relation file onto itself."})}));

        // A live image is saved from its downloaded copy.
        writeFile("LiveImageTemp/SAVE/shot.png", "live-bytes");
        list.target = target;
        menuAction(list, 1, "Save As")->trigger();
        QCOMPARE(readFile(target), QByteArray("live-bytes"));
        QFile::remove("LiveImageTemp/SAVE/shot.png");

        // An alarm uid climbing out of the download folder is never read from.
        writeFile("SAVE/shot.png", "outside-bytes");
        list.setAlarmUid("../SAVE");
        MessageBoxW::queueAnswer(1);
        menuAction(list, 1, "Save As")->trigger();
        QCOMPARE(QVariantList({messages(), readFile(target)}),
                 QVariantList({QStringList({"Save as relation file failed."}), QByteArray("live-bytes")}));
    }

    void liveImagePathsStayInTheirFolder()
    {
        QCOMPARE(AlarmRelationsListWt::liveImageLocalPath("A-1", "http://host/img/front.png?x=1"),
                 QString("LiveImageTemp/A-1/front.png"));
        for (const QString& uid :
             {QString("../up"), QString("a\\b"), QString("%2e%2e"), QString(" "), QString(256, 'u')})
            QVERIFY2(AlarmRelationsListWt::liveImageFolder(uid).isEmpty(), qPrintable(uid.left(20)));
        for (const QString& address :
             {QString("http://h/.."), QString("http://h/a%2Fb.png"), QString("http://h/"),
              QString("http://h/") + QString(300, 'n') + ".png"})
            QVERIFY2(AlarmRelationsListWt::liveImageLocalPath("A-1", address).isEmpty(),
                     qPrintable(address.left(40)));
        // The name is the one the download writes, as the address spells it; a fragment is never fetched.
        QCOMPARE(AlarmRelationsListWt::liveImageLocalPath("A-1", "http://h/%E4%B8%AD%20b.jpg?x#y"),
                 QString("LiveImageTemp/A-1/%E4%B8%AD%20b.jpg"));
        QVERIFY(AlarmRelationsListWt::liveImageLocalPath("A-1", "http://h/..%5C..%5Cevil.exe#/safe.jpg")
                    .isEmpty());
        // 255 bytes is still a name.
        QVERIFY(!AlarmRelationsListWt::liveImageFolder(QString(255, 'u')).isEmpty());
    }

    void menuActsOnTheEntryRightClicked()
    {
        const QString first = sandbox.filePath("menu-1.png"), second = sandbox.filePath("menu-2.png");
        writeFile(first, "1");
        writeFile(second, "2");
        AlarmRelationsListWt list;
        QList<VIG_AlarmRelation> relations = {{"A1", first, "Capture 1", CaptureRelation},
                                              {"A1", second, "Capture 2", CaptureRelation},
                                              {"A1", "/icloud/m.mp4", " ICloud", IcloudRecordingRelation}};
        list.setAlarmUid("A1");
        list.setRelations(relations, QString());
        list.markRow(2); // "Capture 2" plays
        // A refill while the menu is open makes the playing entry current again.
        QAction* remove = menuAction(list, 1, "Delete");
        list.setRelations(relations, CaptureRelation, second);
        MessageBoxW::queueAnswer(1);
        remove->trigger();
        QVERIFY(!QFile::exists(first) && QFile::exists(second));
        // Nothing but what this computer made is deleted, whatever triggers the action.
        remove = menuAction(list, 0, "Delete");
        QVERIFY(!remove->isVisible());
        remove->trigger();
        QCOMPARE(messages().size(), 1); // the first question only
        QCOMPARE(texts(&list), QStringList({" ICloud", "Capture 2"}));
    }

private:
    QTemporaryDir sandbox;
};

VIG_TEST(tst_detail_check, TestDetailCheck)
#include "tst_detail.moc"
