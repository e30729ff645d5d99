// The module's frame: the main form, translations, one instance of its singletons, and the
// whole road of an alarm on the simulated server, from the monitor through the records to its details.
#include "LiveModule.h"
#include "SingletonProbe.h"
#include "TestMain.h"
#include "records/AlarmRecordPage.h"
#include "records/AlarmRecordTable.h"
#include "relations/AlarmVideoRelation.h"

#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>

using namespace VIG_ALARM_MOUDLE;

static const int Patience = 15000;

namespace {

const char* const icons[3][2] = {
    {":/images/alarmmonitor_normal.png", ":/images/alarmmonitor_press.png"},
    {":/images/alarmrecord_normal.png", ":/images/alarmrecord_press.png"},
    {":/images/alarmdetailcheck_normal.png", ":/images/alarmdetailcheck_press.png"},
};

bool iconIs(const QTabWidget* tabs, int tab, bool pressed)
{
    const QImage shown = tabs->tabIcon(tab).pixmap(32).toImage();
    const QImage expected = QIcon(QString::fromLatin1(icons[tab][pressed ? 1 : 0])).pixmap(32).toImage();
    return !expected.isNull() && shown == expected;
}

QList<int> itemTypes(const QListWidget* list)
{
    QList<int> types;
    for (int row = 0; row < list->count(); ++row)
        types.append(AlarmRelationsListWt::itemType(list->item(row)));
    return types;
}

// How many tabs show, and which one is current.
QList<int> shownTabs(const QTabWidget* tabs)
{
    return {tabs->count(), tabs->currentIndex()};
}

void openDetail(const QString& uid)
{
    emit AlarmSignals::_instance().signalAlarmTableRecordDoubleClicked(moduletest::alarmOf(uid, "P0101"),
                                                                       AlarmRelationType(0));
}

void back()
{
    emit AlarmSignals::_instance().signalSetAlarmDetailCheckWtVisible(false);
}

struct Text
{
    QString context;
    QString source;
};

QList<Text> readTs(const QString& path)
{
    QList<Text> texts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            texts.append({context, xml.readElementText()});
    }
    return texts;
}

// The texts lupdate finds in a source folder today.
QList<Text> textsIn(const QString& folder)
{
    QTemporaryDir dir;
    const QString ts = dir.filePath(QStringLiteral("current.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(VIG_LUPDATE),
                  {QStringLiteral("-silent"), folder, QStringLiteral("-ts"), ts});
    if (!lupdate.waitForFinished(60000) || lupdate.exitCode() != 0)
        return {};
    return readTs(ts);
}

} // namespace

class TstVideoAlarmForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { moduletest::installFakeService(); }

    void init()
    {
        form = std::make_unique<VideoAlarmForm>(nullptr);
        form->show();
        tabs = form->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QVERIFY(tabs);
    }

    void cleanup() { form.reset(); }

    void backReturnsWhereTheDetailWasOpened_data()
    {
        QTest::addColumn<int>("fromTab");
        QTest::newRow("monitor") << 0;
        QTest::newRow("records") << 1;
    }

    void backReturnsWhereTheDetailWasOpened()
    {
        QFETCH(int, fromTab);
        tabs->setCurrentIndex(fromTab);
        openDetail(QStringLiteral("A1"));
        QCOMPARE(shownTabs(tabs), QList<int>({3, 2}));
        QCOMPARE(form->lastTabIndex(), fromTab);
        QVERIFY(iconIs(tabs, 2, true) && iconIs(tabs, fromTab, false));

        back();
        QCOMPARE(shownTabs(tabs), QList<int>({2, fromTab}));
        QVERIFY(iconIs(tabs, fromTab, true));
    }

    void secondAlarmReplacesTheFirstInTheSameTab()
    {
        openDetail(QStringLiteral("A1"));
        openDetail(QStringLiteral("A2"));
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(form->detailView()->getAlarm().alarmUid, QStringLiteral("A2"));
        QCOMPARE(form->lastTabIndex(), 2);
        // The last tab index is the detail tab itself: the tab widget chooses after the removal.
        back();
        QCOMPARE(shownTabs(tabs), QList<int>({2, 1}));
    }

    void hostRequestsSwitchTabsWhileTheDetailStays()
    {
        emit AlarmSignals::_instance().signalSetAlarmDetailCheckWtVisible(true);
        QCOMPARE(shownTabs(tabs), QList<int>({3, 2}));
        emit VIG_CONTACT_MODULE::ModuleAccessSignals::_instance().signalCheckLateMonthUnhandledAlarms();
        QCOMPARE(shownTabs(tabs), QList<int>({3, 1}));
        QVERIFY(form->detailView()->isHidden());
        emit AlarmSignals::_instance().signalChangeToAlarmMonitorTab();
        QCOMPARE(tabs->currentIndex(), 0);
        tabs->setCurrentIndex(1);
        back();
        QCOMPARE(shownTabs(tabs), QList<int>({2, 0}));
    }

    void newAlarmsWaitWhileTheOperatorWorks_data()
    {
        QTest::addColumn<int>("holdSeconds");
        QTest::addColumn<int>("workedIn"); // tab with input, -1 none
        QTest::addColumn<bool>("stays");
        QTest::newRow("working in the records") << 30 << 1 << true;
        QTest::newRow("working in a detail") << 30 << 2 << true;
        QTest::newRow("idle") << 30 << -1 << false;
        QTest::newRow("always switch") << 0 << 1 << false;
    }

    void newAlarmsWaitWhileTheOperatorWorks()
    {
        QFETCH(int, holdSeconds);
        QFETCH(int, workedIn);
        QFETCH(bool, stays);
        VIG_SYSTEM_MODULE::BusinessConfig& settings = VIG_SYSTEM_MODULE::BusinessConfig::_instance();
        VIG_SYSTEM_MODULE::AlarmConfigInfo config = settings.getAlarmConfigInfoFromCache();
        config.monitorTabHoldSeconds = holdSeconds;
        settings.setAlarmConfigInfo(config);
        openDetail(QStringLiteral("A1"));
        tabs->setCurrentIndex(workedIn < 0 ? 1 : workedIn);
        if (workedIn >= 0)
            QTest::mouseClick(tabs->currentWidget(), Qt::LeftButton);
        for (int n = 0; n < 2; ++n)
            emit AlarmSignals::_instance().signalChangeToAlarmMonitorTab();
        QCOMPARE(tabs->currentIndex(), stays ? workedIn : 0);
        QCOMPARE(form->unseenAlarmCount(), stays ? 2 : 0);
        QCOMPARE(tabs->tabText(0),
                 stays ? QString("Alarm Monitor (2 new)") : QString("Alarm Monitor                  "));
        tabs->setCurrentIndex(0);
        QCOMPARE(form->unseenAlarmCount(), 0);
        QCOMPARE(tabs->tabText(0), QString("Alarm Monitor                  "));
        config.monitorTabHoldSeconds = 30;
        settings.setAlarmConfigInfo(config);
    }

    void bookedBeforeTheFormThenHandledInEitherOrder_data()
    {
        QTest::addColumn<int>("row"); // 4: the push first, 2: a false alarm, 1: the grid
        for (int row = 0; row < 8; ++row)
            QTest::addRow("%s first, %s, %s", row & 4 ? "push" : "answer", row & 2 ? "false" : "handled",
                          row & 1 ? "grid" : "pop-up")
                << row;
    }

    // Alarms booked before the form show oldest first, as if they came now, but not one whose handling has
    // come. A handling's answer and its push, in either order, leave one handled row each and no view.
    void bookedBeforeTheFormThenHandledInEitherOrder()
    {
        using namespace moduletest;
        QFETCH(int, row);
        form.reset();
        businessConfig().setAlarmVideoShowMode(row & 1);
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
        QList<AlarmData> alarms;
        for (char n : {'2', '0', '1'}) {
            alarms << dataOf(
                alarmOf(QTest::currentDataTag() + QString(n), "P0101", "2026-12-05 04:00:0" + QString(n)));
            deliverNew(alarms.last());
        }
        deliverPush(handledRecord(alarms.takeFirst(), {})); // its unbooking still queued
        service().waitForDelivery();
        init();
        AlarmMonitorTable* table = form->monitorPage()->monitorTable();
        StoreUnhadledAlarmsTable store;
        store.updateData("S001");
        const auto shown = [&] {
            AlarmVideosMonitorWt* grid = form->monitorPage()->videosMonitor();
            const bool view = grid ? grid->probeCell("P0101") >= 0
                                   : AlarmVideoCheckDlgManager::_instance().probeDialog("P0101") != nullptr;
            return QStringList{table->getRowKeyValue(0), table->getRowKeyValue(1), view ? "view" : ""};
        };
        QTRY_COMPARE(shown(), (QStringList{QString::fromStdString(alarms[1].alarmUid),
                                           QString::fromStdString(alarms[0].alarmUid), "view"}));

        table->selectAll();
        row & 2 ? VIG_BASE_MODULE::MessageBoxW::queueAnswer(1) : acceptHandleDialog("seen");
        triggerAction(table, row & 2 ? "Mistaken Alarm" : "Deal Alarm");
        const FakeAlarmService::Call request = handleRequests().value(0);
        AlarmHandlerData handler;
        handler.state = row & 2 ? AlarmMistaken : AlarmFinished;
        for (bool push : {bool(row & 4), !(row & 4)}) {
            if (!push)
                answer(request.uids, 0, request.texts.value(1));
            for (int n = 0; push && n < alarms.size(); ++n)
                deliverPush(handledRecord(alarms[n], handler));
            flush();
        }
        QTRY_COMPARE(store.rowCount(), 0);
        // The push of the alarm handled before the form was still queued for the main thread: one more row.
        QCOMPARE(table->rowCount(), 3);
        for (int r = 0; r < table->rowCount(); ++r)
            QVERIFY(table->getAlarmInfo(r).state != AlarmNew);
        const QStringList rows = keys(*table);
        QCOMPARE(QSet<QString>(rows.begin(), rows.end()).size(), 3);
        QCOMPARE(shown().last(), QString());
    }

private:
    std::unique_ptr<VideoAlarmForm> form;
    QTabWidget* tabs = nullptr;
};

class TstTranslation : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsTranslated_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("translations"); // %1: the language
        QTest::addColumn<int>("atLeast");
        // One text the reader must see, and the form context it lives in: a file found but read wrong fails.
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("shown"); // in English, in Chinese
        QTest::newRow("module") << QStringList{VIG_SOURCE_DIR "/alarm"} << ":/ts/VIG_alarm_%1.qm" << 90
                                << "VIG_ALARM_MOUDLE::HandleAlarmDlg"
                                << "Close Alarm" << QStringList{"Close alarm", "关闭报警"};
        // The demo host speaks the module's language, its host libraries' texts included.
        QTest::newRow("console") << QStringList{VIG_SOURCE_DIR "/console", VIG_SOURCE_DIR "/host"}
                                 << VIG_BINARY_DIR "/console/alarm-console_%1.qm" << 20
                                 << "VIG_BASE_MODULE::PageTurningWidget"
                                 << "%1 records" << QStringList{"%1 records", "共 %1 条记录"};
    }

    void everyTextIsTranslated()
    {
        QFETCH(QStringList, folders);
        QFETCH(QString, translations);
        QFETCH(int, atLeast);
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QStringList, shown);
        QList<Text> texts;
        for (const QString& folder : folders)
            texts += textsIn(folder);
        QVERIFY2(texts.size() > atLeast, qPrintable(QString::number(texts.size())));
        QVERIFY(std::any_of(texts.cbegin(), texts.cend(), [&](const Text& text) {
            return text.context == context && text.source == source;
        }));

        VIG_ALARM_MOUDLE::AlarmSignals::_instance(); // the resources live in the module's library
        for (const QString& language : {QStringLiteral("en"), QStringLiteral("zh")}) {
            QTranslator translator;
            QVERIFY(translator.load(translations.arg(language)));
            QStringList untranslated;
            for (const Text& text : texts) {
                if (translator.translate(text.context.toUtf8().constData(), text.source.toUtf8().constData())
                        .isEmpty())
                    untranslated.append(text.context + QLatin1String(": ") + text.source);
            }
            QVERIFY2(untranslated.isEmpty(),
                     qPrintable(language + ": " + untranslated.join(QLatin1Char('\n'))));
            QCOMPARE(translator.translate(context.toUtf8().constData(), source.toUtf8().constData()),
                     shown.at(language == "en" ? 0 : 1));
        }
    }
};

class TstModuleWholeRoad : public QObject
{
    Q_OBJECT

private slots:
    // Probe P0104 raises its alarms on NVR D0101, channel 4: a cloud, a storage and another cloud recording.
    void raisedFoundOpenedPlayedAndHandled()
    {
        SimAlarmServer* server = moduletest::startSimulatedServer();
        QVERIFY(server);
        AlarmModuleInit& entry = AlarmModuleInit::_instance();
        QVERIFY(!entry.getVideoAlarmForm());
        VideoAlarmForm* form = livemodule::start(VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
        QVERIFY(form);
        QScopedPointer<QWidget> hostOwnsTheForm(form);
        form->show();
        // Shown, the form builds its pop-ups ahead, hidden and whole: the first alarm only shows one.
        AlarmVideoCheckDlgManager& popUps = AlarmVideoCheckDlgManager::_instance();
        QTRY_COMPARE(popUps.dialogs().size(), popUps.maxDialogCount());
        const QList<AlarmVideoCheckDlg*> built = popUps.dialogs();
        QVERIFY(built.last()->isHidden() && built.last()->cell()->checkWidget());
        auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("报警监控                  "));
        QVERIFY(qApp->styleSheet().contains(QLatin1String("VIG_Alarm_Tab")));
        entry.recoveryToInitialState();
        QCOMPARE(entry.getVideoAlarmForm(), form);
        VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(60000);
        // A message nobody expects must not wait for an operator; none is expected (checked at the end).
        for (int i = 0; i < 5; ++i)
            VIG_BASE_MODULE::MessageBoxW::queueAnswer(0);

        const VIG_AlarmInfo alarm = moduletest::raisedAlarm(server, "P0104", "intrusion");
        const QString uid = alarm.alarmUid;
        QVERIFY(!uid.isEmpty());
        moduletest::basicData().rememberAlarmChannel(uid, alarm.deviceId, alarm.channelIndex);
        AlarmMonitorTable* monitor = form->monitorPage()->monitorTable();
        QTRY_VERIFY_WITH_TIMEOUT(monitor->getRowIndexByKeyValue(uid) >= 0, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(popUps.probeDialog("P0104"), Patience);
        QCOMPARE(popUps.probeDialog("P0104"), built.first());

        // Found in the records of all stores, and opened from there: the cloud recording plays first.
        tabs->setCurrentIndex(1);
        auto* records = form->recordPage()->findChild<AlarmRecordTable*>(QStringLiteral("alarmRecordTab"));
        QVERIFY(records);
        QTest::mouseClick(form->recordPage()->findChild<QPushButton*>(QStringLiteral("searchBt")),
                          Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(records->getRowIndexByKeyValue(uid) >= 0, Patience);
        emit records->doubleClicked(records->model()->index(records->getRowIndexByKeyValue(uid), 12));
        QCOMPARE(shownTabs(tabs), QList<int>({3, 2}));
        QCOMPARE(tabs->tabText(2), QStringLiteral("报警详情                  "));
        AlarmDetailCheckWt* detail = form->detailView();
        QCOMPARE(detail->getAlarm().alarmUid, uid);
        auto* list = detail->findChild<AlarmRelationsListWt*>(QStringLiteral("alarminfoList"));
        auto* playback =
            detail->findChild<VIG_BASE_MODULE::VideoPlaybackPanel*>(QStringLiteral("playbackPanel"));
        auto* viewer = detail->findChild<VIG_BASE_MODULE::ImageViewer*>(QStringLiteral("imageViewer"));
        auto* axis = detail->findChild<VIG_BASE_MODULE::HandleTimeAxis*>(QStringLiteral("dealProcess"));
        VIG_BASE_MODULE::VideoPanel* video = playback->getVideoPanel();
        const auto open = [list](int row) {
            emit list->itemDoubleClicked(list->item(row));
        };
        QTRY_COMPARE_WITH_TIMEOUT(itemTypes(list), QList<int>({1, 2, 3, 3, 7}), Patience);
        QCOMPARE(list->getMarkedRow(), 2);
        QVERIFY(playback->currentTitle().startsWith("Cloud recording"));
        QTRY_COMPARE_WITH_TIMEOUT(axis->count(), 1, Patience);
        QCOMPARE(axis->entries().first(), qMakePair(alarm.alarmTime, alarm.describe));

        // Handled here: the alarm closes, its pop-up goes, and the history grows by the handling and the
        // camera's two images.
        moduletest::acceptHandleDialog("checked on site");
        detail->findChild<QPushButton*>(QStringLiteral("handleAlarmBt"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(monitor->getAlarmInfo(uid).state, int(AlarmFinished), Patience);
        QTRY_VERIFY_WITH_TIMEOUT(!AlarmVideoCheckDlgManager::_instance().probeDialog("P0104"), Patience);
        QTRY_COMPARE_WITH_TIMEOUT(axis->count(), 2, Patience);
        QCOMPARE(axis->entries().at(1).second, QString("checked on site"));
        QTRY_COMPARE_WITH_TIMEOUT(itemTypes(list), QList<int>({1, 2, 3, 3, 7, 6, 6}), Patience);
        QVERIFY(!VIG_BASE_MODULE::WaitDialog::_instance().isShown());

        // The recordings one after another, the NVR's period last, then the live video.
        VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(15);
        QList<int> playedRows;
        QStringList titles;
        connect(video, &VIG_BASE_MODULE::VideoPanel::signalVideoPlaybackFinished, this, [&] {
            playedRows.append(detail->getPlayingRow());
            titles.append(playback->currentTitle());
        });
        open(1);
        QVERIFY(playback->currentTitle().startsWith("Device recording"));
        QTRY_COMPARE_WITH_TIMEOUT(playedRows.size(), 4, Patience);
        VIG_BASE_MODULE::VideoPlaybackPanel::setClipDurationMs(60000);
        QCOMPARE(playedRows, QList<int>({2, 3, 4, 0}));
        QVERIFY(titles.at(2).startsWith("NVR D0101 channel 4") && titles.at(3).isEmpty());
        QCOMPARE(QVariantList({list->getMarkedRow(), video->windowCount() > 0, video->isPlayingBack()}),
                 QVariantList({0, true, false}));

        // An image taken at the handling is fetched into the alarm's folder and shown.
        open(5);
        QTRY_VERIFY_WITH_TIMEOUT(viewer->hasImage(), Patience);
        QVERIFY(viewer->isVisible());
        QCOMPARE(QFileInfo(viewer->imagePath()).absolutePath(), QDir("LiveImageTemp/" + uid).absolutePath());

        // Back to the live video, a capture is related to the alarm and listed with the rest.
        open(0);
        emit video->signalCaptureActionTriggered();
        QTRY_COMPARE_WITH_TIMEOUT(itemTypes(list), QList<int>({1, 2, 3, 3, 5, 7, 6, 6}), Patience);
        QCOMPARE(list->getMarkedRow(), 0);
        QVERIFY(VIG_BASE_MODULE::MessageBoxW::calls().isEmpty());
    }
};

class TestSingletons : public QObject
{
    Q_OBJECT

private slots:
    void oneInstanceAcrossLibraries()
    {
        // The probe library is loaded separately from this executable; both must reach the same objects.
        QCOMPARE(singletonProbeHub(), static_cast<const void*>(&AlarmSignals::_instance()));
        QCOMPARE(singletonProbeRelationStore(), static_cast<const void*>(&AlarmVideoRelation::_instance()));
        QVERIFY(AlarmSignals::_instance().parent() == nullptr);
    }
};

VIG_TEST(tst_video_alarm_form, TstVideoAlarmForm)
VIG_TEST(tst_translation, TstTranslation)
VIG_TEST(tst_module_whole_road, TstModuleWholeRoad)
VIG_TEST(tst_singletons, TestSingletons)
#include "tst_frame.moc"
