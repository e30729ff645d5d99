// Hostile input: odd records and answers from the service, a broken world, a damaged local store, and
// downloads that hang or send garbage.
#include "HttpDownload.h"
#include "LiveModule.h"
#include "TestMain.h"
#include "relations/AlarmVideoRelation.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;

Q_DECLARE_METATYPE(AlarmData)

namespace {

const std::string Megabyte(1024 * 1024, 'M');
const std::string BadUtf8("\xff\xfe\xc0\xaf\xed\xa0\x80 broken \x80", 16);

AlarmData everyText(const std::string& value)
{
    AlarmData alarm;
    for (std::string* field : {&alarm.alarmUid, &alarm.storeUid, &alarm.deviceId, &alarm.deviceName,
                               &alarm.typeKey, &alarm.typeDescription, &alarm.subTypeKey,
                               &alarm.subTypeDescription, &alarm.probeId, &alarm.probeName, &alarm.alarmTime,
                               &alarm.lastHandleNote, &alarm.describe, &alarm.createTime, &alarm.extendInfo})
        *field = value;
    alarm.state = AlarmNew;
    alarm.channelIndex = -7;
    return alarm;
}

AlarmProcessData pushOf(const AlarmData& alarm, int state, const std::string& text = "done")
{
    AlarmHandlerData handler;
    handler.principal = handler.principalTel = handler.handleNote = handler.handleTime = text;
    handler.liveImageUrls = text;
    handler.state = state;
    return handledRecord(alarm, handler);
}

// Answers "/garbage.png" with bytes that are no image, and never answers anything else.
class StallingServer : public QTcpServer
{
public:
    StallingServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                sockets.append(socket);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    // A request may come in pieces on a busy machine: it counts once its head is whole.
                    QByteArray& head = heads[socket];
                    head += socket->readAll();
                    const int end = head.indexOf("\r\n\r\n");
                    if (end < 0)
                        return;
                    const QByteArray path = head.left(end).split(' ').value(1);
                    head.remove(0, end + 4);
                    requested.append(QString::fromLatin1(path));
                    // The client tries a request again once its connection drops: a hung-up path stays down.
                    if (down.contains(requested.last())) {
                        socket->abort();
                        return;
                    }
                    if (path == "/garbage.png") {
                        socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\n"
                                      "Content-Length: 4096\r\n\r\n" +
                                      QByteArray(4096, '\x9c'));
                        socket->disconnectFromHost();
                    }
                });
            }
        });
    }

    QString url(const QString& name) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(name);
    }
    void hangUp()
    {
        down = QSet<QString>(requested.begin(), requested.end());
        for (QTcpSocket* socket : qAsConst(sockets))
            socket->abort();
    }

    QStringList requested;

private:
    QList<QTcpSocket*> sockets;
    QHash<QTcpSocket*, QByteArray> heads;
    QSet<QString> down;
};

} // namespace

class TestHostileService : public QObject
{
    Q_OBJECT

    std::unique_ptr<AlarmMonitorPage> page;
    std::unique_ptr<StoreUnhadledAlarmsTable> storeTable;
    QSet<QString> movedAway;
    QHash<QString, int> storeReports;
    QSet<QString> storesSeen;

    // Unhandled rows of the monitor table per store, each uid counted once, against the books, the host's
    // counts and the store's table.
    void verifyBooks()
    {
        flush();
        QHash<QString, int> rows;
        QSet<QString> seen;
        AlarmMonitorTable* table = page->monitorTable();
        for (int row = 0; row < table->rowCount(); ++row) {
            const VIG_AlarmInfo info = table->getAlarmInfo(row);
            if (info.state == AlarmNew && !seen.contains(table->getRowKeyValue(row))) {
                seen.insert(table->getRowKeyValue(row));
                ++rows[info.storeUid];
                storesSeen.insert(info.storeUid);
            }
        }
        AlarmBusiness& business = AlarmBusiness::_instance();
        for (const QString& store : qAsConst(storesSeen)) {
            const int booked = business.getStoreUnhandledAlarmsCount(store);
            QCOMPARE(booked, rows.value(store));
            QCOMPARE(storeReports.value(store), booked);
            QCOMPARE(business.getStoreUnhandledAlarms(store).size(), booked);
        }
        // A store table follows only pushes of its own store: an alarm that moved away keeps its row.
        int strays = 0;
        for (const QString& key : qAsConst(movedAway))
            strays += storeTable->getRowIndexByKeyValue(key) >= 0 ? 1 : 0;
        QCOMPARE(storeTable->rowCount() - strays, business.getStoreUnhandledAlarmsCount("S001"));
    }

private slots:
    void initTestCase()
    {
        installFakeService();
        QVERIFY(basicData().loadScenario(VIG_SOURCE_DIR "/scenarios/demo.json"));
        VIG_SYSTEM_MODULE::BusinessConfig& config = businessConfig();
        config.setAlarmVideoShowMode(VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
        config.setShowAlarmMap(false);
        config.setMaxVideoCheckDlgCount(8);
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
        connect(&VIG_CONTACT_MODULE::ModuleAccessSignals::_instance(),
                &VIG_CONTACT_MODULE::ModuleAccessSignals::signalStoreUnhandledAlarmsCount, this,
                [this](const QString& storeUid, int count) { storeReports[storeUid] = count; });
        page = std::make_unique<AlarmMonitorPage>();
        storeTable = std::make_unique<StoreUnhadledAlarmsTable>();
        QCOMPARE(storeTable->updateData("S001"), 0);
    }

    void init() { resetCase(); }

    void oddRecordsTakeTheWholeRoad_data()
    {
        QTest::addColumn<AlarmData>("alarm");
        QTest::newRow("every text empty") << everyText(std::string());
        QTest::newRow("every text broken UTF-8") << everyText(BadUtf8);
        QTest::newRow("every text with NUL") << everyText(std::string("a\0b", 3));
        AlarmData longTexts = recordOf("LONG-1");
        longTexts.describe = longTexts.lastHandleNote = longTexts.typeDescription = longTexts.deviceName =
            Megabyte;
        QTest::newRow("megabyte texts on a real probe") << longTexts;
        QTest::newRow("no probe, no device") << recordOf("NOPROBE-1", "S001", "", "");
    }

    // Each record is booked, listed, shown in a pop-up and handled from it like any other.
    void oddRecordsTakeTheWholeRoad()
    {
        QFETCH(AlarmData, alarm);
        const QString uid = QString::fromStdString(alarm.alarmUid);
        AlarmMonitorTable* table = page->monitorTable();
        const int rowsBefore = table->rowCount();
        deliverNew(alarm);
        flush();
        if (uid.isEmpty()) {
            // Nothing could ever find, handle or drop it again: it is not taken at all.
            QCOMPARE(table->rowCount(), rowsBefore);
            verifyBooks();
            QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount(QString()), 0);
            return;
        }
        QCOMPARE(table->rowCount(), rowsBefore + 1);
        QCOMPARE(table->getRowKeyValue(0), uid);
        QCOMPARE(table->getAlarmInfo(0).describe, QString::fromStdString(alarm.describe));
        verifyBooks();

        AlarmVideoCheckDlg* dlg =
            AlarmVideoCheckDlgManager::_instance().probeDialog(table->getAlarmInfo(0).probeId);
        QVERIFY(dlg && dlg->cell()->checkWidget()->alarmUids().contains(uid));
        acceptHandleDialog(QStringLiteral("checked"));
        dlg->cell()->checkWidget()->findChild<QPushButton*>(QStringLiteral("handleAlarmBt"))->click();
        const QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().uids, QStringList{uid});
        // The answer names the alarm as the service saw it; the requester comes back unchanged.
        const std::vector<std::string> uids{alarm.alarmUid};
        const std::string requester = requests.first().texts.last().toStdString();
        service().deliver([uids, requester](IAlarmEvent* handler) {
            handler->OnHandleAlarmsResult(uids, 0, "", requester.c_str());
        });
        deliverPush(pushOf(alarm, AlarmDealt, alarm.describe));
        flush();
        QVERIFY(dlg->isHidden() && !VIG_BASE_MODULE::WaitDialog::_instance().isShown());
        QCOMPARE(
            AlarmBusiness::_instance().getStoreUnhandledAlarmsCount(QString::fromStdString(alarm.storeUid)),
            0);
        QCOMPARE(table->getAlarmInfo(uid).state, int(AlarmDealt));
        verifyBooks();
    }

    // An alarm sent again (after a reconnect, say) must not leave a second, never-handled one behind.
    void sameUidTwice()
    {
        AlarmBusiness& business = AlarmBusiness::_instance();
        AlarmMonitorTable* table = page->monitorTable();
        deliverNew(recordOf("TWICE-1", "S001", "P0103"));
        deliverNew(recordOf("TWICE-1", "S001", "P0103"));
        verifyBooks();
        QCOMPARE(business.getStoreUnhandledAlarmsCount("S001"), 1);
        // Now claiming another store and probe: the alarm moves, it is not doubled.
        const AlarmData moved = recordOf("TWICE-1", "S002", "P0201", "D0201");
        movedAway.insert("TWICE-1");
        deliverNew(moved);
        verifyBooks();
        QCOMPARE(
            business.getStoreUnhandledAlarmsCount("S001") + business.getStoreUnhandledAlarmsCount("S002"), 1);

        deliverPush(pushOf(moved, AlarmMistaken));
        verifyBooks();
        QCOMPARE(
            business.getStoreUnhandledAlarmsCount("S001") + business.getStoreUnhandledAlarmsCount("S002"), 0);
        QCOMPARE(storeReports.value("S001") + storeReports.value("S002"), 0);
        QCOMPARE(table->getAlarmInfo("TWICE-1").state, int(AlarmMistaken));
        QCOMPARE(storeTable->getRowIndexByKeyValue("TWICE-1"), 0); // another store's pushes pass it by
        storeTable->deleteAlarm("TWICE-1");
        QCOMPARE(keys(*table).count("TWICE-1"), 1);
    }

    // Results for alarms nobody handles, from requesters nobody is, with null texts: ignored by every view;
    // the only effect allowed is a success's unbooking, and an unknown uid has none.
    void answersNobodyAskedFor()
    {
        const AlarmData alarm = recordOf("ASKED-NOT-1", "S001", "P0104");
        deliverNew(alarm);
        verifyBooks();
        AlarmVideoCheckDlg* dlg = AlarmVideoCheckDlgManager::_instance().probeDialog("P0104");
        QVERIFY(dlg);
        const int rows = page->monitorTable()->rowCount();
        service().deliver([](IAlarmEvent* handler) {
            handler->OnHandleAlarmResult(nullptr, 0, nullptr, nullptr);
            handler->OnHandleAlarmResult("NO-SUCH", 0, "", "{00000000-0000-0000-0000-000000000000}");
            handler->OnHandleAlarmResult("NO-SUCH", 9, BadUtf8.c_str(), BadUtf8.c_str());
            handler->OnHandleAlarmsResult({"NO-SUCH", "", BadUtf8, Megabyte}, 0, nullptr, "stranger");
            handler->OnHandleAlarmsResult({}, 0, "", "stranger");
            handler->OnHandleAlarmsResult({"ASKED-NOT-1"}, 5, "refused", "stranger");
            handler->OnAlarmRecordsCount(-3, nullptr, 0, nullptr);
            handler->OnAlarmRecords({everyText(BadUtf8), everyText(std::string())}, 0, nullptr);
            handler->OnAlarmHandleNotes(nullptr, AlarmProcessData(), 0, nullptr);
            handler->OnAlarmHandleNotes("NO-SUCH", pushOf(everyText(Megabyte), 77, Megabyte), 0, "");
            handler->OnReplyB(-1, 0, BadUtf8.c_str());
            handler->OnAllStoresAlarmsCollection({}, nullptr, 0, nullptr);
            handler->OnStoreDevicesAlarmsCollection({}, {}, BadUtf8.c_str(), 3, Megabyte.c_str());
        });
        verifyBooks();
        QCOMPARE(page->monitorTable()->rowCount(), rows);
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->cell()->checkWidget()->alarmUids(), QStringList{"ASKED-NOT-1"});
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 1);
        QVERIFY(!VIG_BASE_MODULE::WaitDialog::_instance().isShown());
        QVERIFY(VIG_BASE_MODULE::MessageBoxW::calls().isEmpty());

        // A success for a real alarm from a stranger unbooks it; the server's push follows.
        service().deliver(
            [](IAlarmEvent* handler) { handler->OnHandleAlarmResult("ASKED-NOT-1", 0, "", "stranger"); });
        deliverPush(pushOf(alarm, AlarmFinished));
        verifyBooks();
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 0);
    }

    // Pushes for alarms never seen, odd ones included, book nothing; a second push only changes the row.
    void pushesForUnknownAlarms()
    {
        AlarmProcessData bare;
        bare.alarmUid = "GHOST-2";
        deliverPush(bare); // no handler at all
        deliverPush(pushOf(everyText(BadUtf8), 99, BadUtf8));
        deliverPush(pushOf(everyText(Megabyte), -1, Megabyte));
        deliverPush(pushOf(recordOf("GHOST-1"), AlarmDealt));
        deliverPush(pushOf(recordOf("GHOST-1"), AlarmFinished));
        verifyBooks();
        QCOMPARE(page->monitorTable()->getAlarmInfo("GHOST-1").state, int(AlarmFinished));
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 0);
    }
};

class TestHostileBrokenWorld : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDir(SimAlarmServer::defaultDataFolder()).removeRecursively();
        QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
        QFile demo(QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json"));
        QFile broken(QStringLiteral("broken.json"));
        QVERIFY(demo.open(QIODevice::ReadOnly) && broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(broken.write(demo.read(demo.size() / 2)) > 0);
        broken.close();
        qputenv("VIG_SCENARIO", QFileInfo(broken).absoluteFilePath().toUtf8());
    }

    void moduleRunsWithoutAWorld()
    {
        SimAlarmServer* server = DataCache::Instance()->GetSimulator();
        QVERIFY(server->scenarioError().contains(QStringLiteral("broken.json")));
        QVERIFY(server->probeIds().isEmpty());
        QString error;
        QVERIFY(server->raiseAlarm(QStringLiteral("P0101"), QString(), &error).isEmpty() && !error.isEmpty());
        QVERIFY(basicData().getStoreInfo("S001").storeName.isEmpty());

        VideoAlarmForm* form = livemodule::start(VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
        QVERIFY(form);
        form->show();
        AlarmMonitorTable* table = form->monitorPage()->monitorTable();

        // A stray alarm of a store nobody knows takes the whole road.
        const QString uid = server->injectAlarm(recordOf(QString()));
        QVERIFY(!uid.isEmpty());
        QTRY_COMPARE(table->rowCount(), 1);
        QCOMPARE(table->getRowKeyValue(0), uid);
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 1);

        table->selectRow(0);
        VIG_BASE_MODULE::MessageBoxW::queueAnswer(1);
        triggerAction(table, QObject::tr("Mistaken Alarm"));
        QTRY_COMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 0);
        QTRY_COMPARE(table->getAlarmInfo(uid).state, int(AlarmMistaken));
        QVERIFY(!VIG_BASE_MODULE::WaitDialog::_instance().isShown());
        delete form;
    }
};

// A damaged local store, and downloads that hang or send garbage.
class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void damagedPagesAreHarmless()
    {
        QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
        QVERIFY(QDir().mkpath(QStringLiteral("AlarmLocalDB")));
        const QString file = QStringLiteral("AlarmLocalDB/AlarmRelation.db");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("pragma page_size = 1024"));
            QVERIFY(query.exec(
                "create table alarmRelation( alarmUid text , filePath text,fileName text, type int)"));
            QVERIFY(db.transaction());
            for (int i = 0; i < 400; ++i)
                QVERIFY(query.exec(QStringLiteral("insert into alarmRelation values('A%1', '/cap/%1.png', "
                                                  "'Capture 2026-12-05 03:05:00', 5)")
                                       .arg(i % 7)));
            QVERIFY(db.commit());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("maker"));

        // Keep the schema page, scribble over the rest.
        QFile damaged(file);
        QVERIFY(damaged.open(QIODevice::ReadWrite) && damaged.size() > 8 * 1024);
        for (qint64 at = 1024; at < damaged.size(); at += 1024)
            QVERIFY(damaged.seek(at) && damaged.write(QByteArray(512, '\xee')) == 512);
        damaged.close();

        static FakeAlarmService service;
        DataCache::Instance()->SetAlarmPtr(&service);
        AlarmVideoRelation& store = AlarmVideoRelation::_instance();
        // Readable or not at opening, the store answers with nothing and keeps going.
        for (const VIG_AlarmRelation& relation : store.getAlarmRelations("A1"))
            QCOMPARE(relation.alarmUid, QString("A1"));
        store.addRelation({"A9", "/cap/new.png", "Capture 2026-12-05 04:00:00", CaptureRelation});
        store.deleteRelation("A1", "/cap/1.png");
        store.deleteAlarmRelations("A2");
        AlarmBusiness::_instance().saveCaptureRelation("A3", "/cap/3.png");
        AlarmBusiness::_instance().saveRecordingRelation("A3", "D:\\rec\\20261205\\a-b-101010-d.vrec");
        QVERIFY(store.getAlarmRelations("A9").size() <= 1);
        // The damaged file is the operator's to repair: it is still there, not replaced behind their back.
        QVERIFY(QFile::exists(file));
    }

    void hangingAndGarbageDownloads()
    {
        QDir(QStringLiteral("LiveImageTemp")).removeRecursively();
        moduletest::installFakeService();
        QVERIFY(basicData().loadScenario(VIG_SOURCE_DIR "/scenarios/demo.json"));
        const VIG_AlarmInfo alarm = alarmOf("HANG-1", "P0101");

        StallingServer server;
        auto view = std::make_unique<DetailScreen>();
        AlarmRelationsListWt* list = view->list;
        VIG_BASE_MODULE::ImageViewer* viewer = view->viewer;
        auto* downloads = view->widget.findChild<ZCOMMON::HttpDownload*>();
        QVERIFY(list && viewer && view->playback && downloads);
        const auto open = [list](const QString& text) {
            QTRY_VERIFY2(!list->findItems(text, Qt::MatchExactly).isEmpty(), qPrintable(text));
            const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
            emit list->itemDoubleClicked(found.first());
        };
        const auto image = [&alarm](int number) {
            return QStringLiteral("Live image %1, channel %2, 2026-11-25 22:00:00")
                .arg(number)
                .arg(alarm.channelIndex);
        };
        view->widget.setAlarm(alarm, LiveVideoRelation);
        QTRY_VERIFY(list->count() >= 1);
        answerNotes({handling("HANG-1", "2026-11-25 22:00:00", "on site",
                              server.url("hang.png") + ',' + server.url("garbage.png"))});

        // Never answered: the viewer waits, the UI goes on.
        open(image(1));
        QTRY_VERIFY(server.requested.contains("/hang.png"));
        QVERIFY(viewer->isVisible() && viewer->isWaitingVisible() && !viewer->hasImage());
        // The other entries still open meanwhile.
        open("LiveVideo");
        QVERIFY(view->playback->isVisible() && !viewer->isVisible());

        // Garbage arrives complete, but it is no image: the wait ends without one.
        open(image(2));
        QTRY_VERIFY(server.requested.contains("/garbage.png"));
        QTRY_VERIFY(!viewer->isWaitingVisible());
        QVERIFY(!viewer->hasImage());

        // The hanging one fails at last: nothing is left under its name, nothing is shown for it.
        QCOMPARE(downloads->pendingCount(), 1);
        server.hangUp();
        QTRY_COMPARE(downloads->pendingCount(), 0);
        QVERIFY(!viewer->isWaitingVisible() && !QFile::exists("LiveImageTemp/HANG-1/hang.png"));
        QVERIFY(!viewer->hasImage());

        // Another hang, then the page is left and the view closed while it still hangs.
        answerNotes({handling("HANG-1", "2026-11-25 22:00:00", "on site", server.url("hang2.png"))});
        open(image(1));
        QTRY_VERIFY(server.requested.contains("/hang2.png"));
        view->widget.findChild<QPushButton*>(QStringLiteral("backBt"))->click();
        view.reset();
        server.hangUp();
        // Whatever the hang-up still sets going runs before the look.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QVERIFY(!QFile::exists("LiveImageTemp/HANG-1/hang2.png"));
    }
};

VIG_TEST(tst_hostile_service, TestHostileService)
VIG_TEST(tst_hostile_broken_world, TestHostileBrokenWorld)
VIG_TEST(tst_hostile_files, TestHostileFiles)
#include "tst_hostile.moc"
