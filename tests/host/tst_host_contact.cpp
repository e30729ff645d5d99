#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataSignals.h"
#include "ModuleAccessSignals.h"
#include "NoticeSignals.h"
#include "NoticeSound.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <functional>

using namespace VIG_CONTACT_MODULE;

class TestHostContact : public QObject
{
    Q_OBJECT

private:
    static void onWorker(const std::function<void()>& work);

private slots:
    void init();
    void noticeFromTheServiceThreadStartsTheSoundOnTheMainThread();
    void silentSettingKeepsTheSoundOff();
    void enumSignalsCrossThreads();
};

void TestHostContact::onWorker(const std::function<void()>& work)
{
    QThread* worker = QThread::create(work);
    worker->start();
    worker->wait();
    delete worker;
}

void TestHostContact::init()
{
    QString error;
    QVERIFY2(
        VIG_DATA_MODULE::BasicData::_instance().loadScenario(VIG_SOURCE_DIR "/scenarios/demo.json", &error),
        qPrintable(error));
    NoticeSound::_instance().stopAlarmNoticeSound();
    QVERIFY(!NoticeSound::_instance().isPlaying());
}

void TestHostContact::noticeFromTheServiceThreadStartsTheSoundOnTheMainThread()
{
    QThread* playedOn = nullptr;
    QObject receiver;
    connect(&NoticeSound::_instance(), &NoticeSound::signalPlayingChanged, &receiver,
            [&playedOn]() { playedOn = QThread::currentThread(); });
    onWorker([]() { emit NoticeSignals::_instance().signalNewAlarmNotice(); });
    QTRY_VERIFY(NoticeSound::_instance().isPlaying());
    QCOMPARE(playedOn, QThread::currentThread());
    NoticeSound::_instance().stopAlarmNoticeSound();
    QVERIFY(!NoticeSound::_instance().isPlaying());
}

void TestHostContact::silentSettingKeepsTheSoundOff()
{
    VIG_SYSTEM_MODULE::AlarmConfigInfo config =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache();
    config.alarmSoundMode = 0;
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmConfigInfo(config);
    emit NoticeSignals::_instance().signalNewAlarmNotice();
    QVERIFY(!NoticeSound::_instance().isPlaying());
}

// Receivers on the main thread get these queued; an unregistered argument type would be dropped.
void TestHostContact::enumSignalsCrossThreads()
{
    QObject receiver;
    QStringList got;
    connect(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalSetCurrentModuleForm, &receiver,
            [&got](ModuleFormType form) { got << QStringLiteral("form %1").arg(form); });
    connect(&NoticeSignals::_instance(), &NoticeSignals::signalNoticeHint, &receiver,
            [&got](NoticeHintType type, const QString& text) {
                got << QStringLiteral("hint %1 %2").arg(type).arg(text);
            });
    connect(&NoticeSignals::_instance(), &NoticeSignals::signalStoreStateChangeNotice, &receiver,
            [&got](const QString& store, StoreStateNoticeType type) {
                got << QStringLiteral("state %1 %2").arg(store).arg(type);
            });
    connect(
        &NoticeSignals::_instance(), &NoticeSignals::sendRequestErrorNoticeSignal, &receiver,
        [&got](int result, const QString&, RequestType type, const QString& uuid, const QStringList& uids) {
            got << QStringLiteral("error %1 %2 %3 %4").arg(result).arg(type).arg(uuid, uids.join(','));
        });
    connect(&VIG_DATA_MODULE::DataSignals::_instance(),
            &VIG_DATA_MODULE::DataSignals::signalAllStoresAlarmsCollection, &receiver,
            [&got](const QString& tag, const QVector<VIG_DATA_MODULE::VIG_StoreAlarmsCollection>& stores) {
                got << QStringLiteral("stores %1 %2 %3")
                           .arg(tag)
                           .arg(stores.size())
                           .arg(stores.value(0).mistakenAlarmCount);
            });

    onWorker([]() {
        emit ModuleAccessSignals::_instance().signalSetCurrentModuleForm(VideoViewForm);
        emit NoticeSignals::_instance().signalNoticeHint(AlarmHandledHint, QStringLiteral("done"));
        emit NoticeSignals::_instance().signalStoreStateChangeNotice(QStringLiteral("S001"),
                                                                     StoreNewAlarmNotice);
        emit NoticeSignals::_instance().sendRequestErrorNoticeSignal(
            7, QStringLiteral("x"), AlarmHandleNotesRequest, QStringLiteral("A1"), {QStringLiteral("A1")});
        VIG_DATA_MODULE::VIG_StoreAlarmsCollection counts;
        counts.mistakenAlarmCount = 3;
        emit VIG_DATA_MODULE::DataSignals::_instance().signalAllStoresAlarmsCollection(
            QStringLiteral("t"), {counts}, 0, QString());
    });
    QTRY_COMPARE(got.size(), 5);
    QCOMPARE(got,
             (QStringList{"form 1", "hint 5 done", "state S001 1", "error 7 101004 A1 A1", "stores t 1 3"}));
}

QTEST_MAIN(TestHostContact)
#include "tst_host_contact.moc"
