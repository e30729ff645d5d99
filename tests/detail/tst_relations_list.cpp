
#include "ModuleTestSupport.h"

#include "relations/AlarmVideoRelation.h"

#include "VideoManager.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTemporaryDir>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_BASE_MODULE::MessageBoxW;

namespace {

VIG_AlarmRelation relation(const QString& path, const QString& name, int type, const QString& uid = "A1")
{
    VIG_AlarmRelation r;
    r.alarmUid = uid;
    r.filePath = path;
    r.fileName = name;
    r.type = type;
    return r;
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

QStringList texts(const QListWidget& list)
{
    QStringList shown;
    for (int row = 0; row < list.count(); ++row)
        shown.append(list.item(row)->text());
    return shown;
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

QAction* action(AlarmRelationsListWt& list, const QString& text)
{
    for (QAction* each : list.findChild<QMenu*>()->actions()) {
        if (each->text() == text)
            return each;
    }
    return nullptr;
}

// Opens the menu on a row as the operator's right click does.
void rightClick(AlarmRelationsListWt& list, int row)
{
    list.resize(400, 400);
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list.viewport(), &event);
    list.findChild<QMenu*>()->hide();
}

} // namespace

class TestRelationsList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(sandbox.isValid());
        QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
        QVERIFY(AlarmVideoRelation::_instance().isOpen());
        VIG_DATA_MODULE::BasicData::_instance().loadScenario(
            QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json"));
    }

    void init()
    {
        MessageBoxW::clearQueuedAnswers();
        MessageBoxW::clearCalls();
    }

    void sortsSkipsAndKeepsTheMark()
    {
        const QString kept = sandbox.filePath("rec-kept.vrec");
        writeFile(kept, "frames");
        AlarmRelationsListWt list;
        QList<VIG_AlarmRelation> relations = {
            relation(sandbox.filePath("cap-b.png"), "Capture 2026-01-01 00:00:02", CaptureRelation),
            relation("/icloud/x/2.mp4", " ICloud Recording B", IcloudRecordingRelation),
            relation("LIVE_VIDEO", "LiveVideo", LiveVideoRelation),
            relation(sandbox.filePath("gone.vrec"), "Local Recording 2026-01-01 00:00:00",
                     LocalRecordingRelation),
            relation(kept, "Local Recording 2026-01-01 00:00:01", LocalRecordingRelation),
            relation(QString(), "Nothing", CaptureRelation),
            relation("/icloud/x/1.mp4", " ICloud Recording A", IcloudRecordingRelation),
            relation("/icloud/x/2.mp4", "NVR Recording", NvrRecordingRelation),
        };
        list.setRelations(relations, QString());
        // Sorted in place by type, then name; the list shows what can be shown.
        QCOMPARE(relations.at(1).fileName, QString(" ICloud Recording A"));
        QCOMPARE(texts(list), QStringList({"LiveVideo", " ICloud Recording A", " ICloud Recording B",
                                           "Local Recording 2026-01-01 00:00:01",
                                           "Capture 2026-01-01 00:00:02", "NVR Recording"}));
        QVERIFY(!list.getMarkedItem());

        // The cloud recording B is playing; the NVR entry borrows its path and must not take the mark.
        list.markRow(2);
        const QString markedPath = AlarmRelationsListWt::itemFilePath(list.getMarkedItem());
        relations.append(
            relation(sandbox.filePath("cap-a.png"), "Capture 2026-01-01 00:00:00", CaptureRelation));
        list.setRelations(relations, markedPath);
        QCOMPARE(list.count(), 7);
        QCOMPARE(list.getMarkedRow(), 2);
        QCOMPARE(list.currentRow(), 2);
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
            list.addRelationItem(relation(QStringLiteral("/p/%1-a").arg(type), QStringLiteral("a"), type));
            list.addRelationItem(relation(QStringLiteral("/p/%1-b").arg(type), QStringLiteral("b"), type));
        }
        QList<QListWidgetItem*> doubleClicked;
        connect(&list, &QListWidget::itemDoubleClicked, this,
                [&](QListWidgetItem* clicked) { doubleClicked.append(clicked); });
        QListWidgetItem* item = list.playDefaultItem(defaultType);
        if (played == 0) {
            QVERIFY(!item);
            QCOMPARE(doubleClicked.count(), 0);
            return;
        }
        QVERIFY(item);
        QCOMPARE(doubleClicked, QList<QListWidgetItem*>({item}));
        QCOMPARE(AlarmRelationsListWt::itemFilePath(item), QStringLiteral("/p/%1-a").arg(played));
        QCOMPARE(list.getMarkedItem(), item); // marked as on a real double click
    }

    void deletingStopsARecordingFirstAndKeepsWhatCannotGo()
    {
        VIG_BASE_MODULE::VideoPanel panel;
        panel.connectChannels(VIG_DATA_MODULE::BasicData::_instance().getProbeRelatedChannels("P0101"), true);
        const QString recording = panel.startRecording(0);
        QVERIFY(!recording.isEmpty());
        VIG_BASE_MODULE::VideoManager& videos = VIG_BASE_MODULE::VideoManager::_instance();
        QVERIFY(videos.isVideoRecordingNow(recording));
        // A folder in place of the capture cannot be removed as a file.
        const QString busy = sandbox.filePath("busy.png");
        writeFile(busy + "/inside", "x");

        AlarmVideoRelation& store = AlarmVideoRelation::_instance();
        store.addRelation(
            relation(recording, "Local Recording 2026-01-01 10:00:00", LocalRecordingRelation, "DEL"));
        store.addRelation(relation(busy, "Capture 2026-01-01 10:00:00", CaptureRelation, "DEL"));
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

        rightClick(list, 0);
        MessageBoxW::queueAnswer(1);
        action(list, "Delete")->trigger();
        QCOMPARE(stopView.count(), 1);
        QCOMPARE(stopView.first().first().toString(), recording);
        QVERIFY(stoppedBeforeDeleted);
        QVERIFY(!videos.isVideoRecordingNow(recording));
        QVERIFY(!panel.isRecording(0));
        QVERIFY(!QFile::exists(recording));
        QCOMPARE(list.count(), 1);
        QCOMPARE(messages().size(), 1); // the question only

        rightClick(list, 0);
        MessageBoxW::queueAnswer(1);
        MessageBoxW::queueAnswer(1);
        action(list, "Delete")->trigger();
        QCOMPARE(messages().last(),
                 QString("Delete relation failed,video recording now or open in somewhere."));
        QCOMPARE(stopView.count(), 1); // only recordings are stopped
        QCOMPARE(list.count(), 1);
        relations = store.getAlarmRelations("DEL");
        QCOMPARE(relations.size(), 1);
        QCOMPARE(relations.at(0).filePath, busy);
    }

    void saveAsCopiesAndReplacesButNeverOntoItself()
    {
        const QString capture = sandbox.filePath("evidence.png");
        writeFile(capture, "capture-bytes");
        const QString target = sandbox.filePath("out/copy.png");
        writeFile(target, "old-content-that-is-longer");

        TestableList list;
        list.setAlarmUid("SAVE");
        list.addRelationItem(relation(capture, "Capture 2026-01-01 10:00:00", CaptureRelation, "SAVE"));
        list.addRelationItem(relation("file:///cam/shot.png?x=1", "Liveshot", LiveImageRelation, "SAVE"));

        // A capture onto an existing file replaces it.
        rightClick(list, 0);
        list.target = target;
        action(list, "Save As")->trigger();
        QCOMPARE(readFile(target), QByteArray("capture-bytes"));
        QCOMPARE(list.filters, QStringList({"Images(*.png *.jpg)"}));
        QVERIFY(messages().isEmpty());

        // Onto itself: refused, the evidence stays.
        list.target = capture;
        MessageBoxW::queueAnswer(1);
        rightClick(list, 0);
        action(list, "Save As")->trigger();
        QCOMPARE(readFile(capture), QByteArray("capture-bytes"));
        QCOMPARE(messages(), QStringList({"Can not save the relation file onto itself."}));

        // A live image is saved from its downloaded copy.
        writeFile("LiveImageTemp/SAVE/shot.png", "live-bytes");
        rightClick(list, 1);
        list.target = target;
        action(list, "Save As")->trigger();
        QCOMPARE(readFile(target), QByteArray("live-bytes"));
        QFile::remove("LiveImageTemp/SAVE/shot.png");

        // An alarm uid climbing out of the download folder is never read from.
        writeFile("SAVE/shot.png", "outside-bytes");
        list.setAlarmUid("../SAVE");
        MessageBoxW::queueAnswer(1);
        rightClick(list, 1);
        action(list, "Save As")->trigger();
        QCOMPARE(messages(), QStringList({"Save as relation file failed."}));
        QCOMPARE(readFile(target), QByteArray("live-bytes"));
    }

    void liveImagePathsStayInTheirFolder()
    {
        using VIG_ALARM_MOUDLE::AlarmRelationsListWt;
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
        QList<VIG_AlarmRelation> relations = {relation(first, "Capture 1", CaptureRelation),
                                              relation(second, "Capture 2", CaptureRelation),
                                              relation("/icloud/m.mp4", " ICloud", IcloudRecordingRelation)};
        list.setAlarmUid("A1");
        list.setRelations(relations, QString());
        list.markRow(2); // "Capture 2" plays
        // A refill while the menu is open makes the playing entry current again.
        rightClick(list, 1);
        list.setRelations(relations, CaptureRelation, second);
        MessageBoxW::queueAnswer(1);
        action(list, "Delete")->trigger();
        QVERIFY(!QFile::exists(first) && QFile::exists(second));
        // Nothing but what this computer made is deleted, whatever triggers the action.
        rightClick(list, 0);
        QVERIFY(!action(list, "Delete")->isVisible());
        action(list, "Delete")->trigger();
        QCOMPARE(messages().size(), 1); // the first question only
        QCOMPARE(texts(list), QStringList({" ICloud", "Capture 2"}));
    }

private:
    QTemporaryDir sandbox;
};

QTEST_MAIN(TestRelationsList)
#include "tst_relations_list.moc"
