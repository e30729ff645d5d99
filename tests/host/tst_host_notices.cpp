#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataSignals.h"
#include "MessageBoxW.h"
#include "ModuleAccessSignals.h"
#include "NoticeSignals.h"
#include "NoticeSound.h"
#include "WaitDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QThread>
#include <QtTest>

using namespace VIG_CONTACT_MODULE;
using namespace VIG_BASE_MODULE;

namespace {

// Presses the button with this text on the modal box once it is up.
void pressLater(const QString& text)
{
    QTimer::singleShot(0, [text] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            if (button->text() == text)
                return button->click();
        }
        QFAIL("no such button");
    });
}

} // namespace

class TestHostNotices : public QObject
{
    Q_OBJECT

private slots:
    // Receivers on the main thread get these queued; an unregistered argument type would be dropped, and
    // the sound must start on the main thread.
    void signalsCrossThreads()
    {
        QVERIFY(VIG_DATA_MODULE::BasicData::_instance().loadScenario(VIG_SOURCE_DIR "/scenarios/demo.json"));
        QObject receiver;
        QStringList got;
        QThread* playedOn = nullptr;
        connect(&NoticeSound::_instance(), &NoticeSound::signalPlayingChanged, &receiver,
                [&playedOn]() { playedOn = QThread::currentThread(); });
        connect(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalSetCurrentModuleForm,
                &receiver, [&got](ModuleFormType form) { got << QStringLiteral("form %1").arg(form); });
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
            [&got](int result, const QString&, RequestType type, const QString& uuid,
                   const QStringList& uids) {
                got << QStringLiteral("error %1 %2 %3 %4").arg(result).arg(type).arg(uuid, uids.join(','));
            });
        connect(
            &VIG_DATA_MODULE::DataSignals::_instance(),
            &VIG_DATA_MODULE::DataSignals::signalAllStoresAlarmsCollection, &receiver,
            [&got](const QString& tag, const QVector<VIG_DATA_MODULE::VIG_StoreAlarmsCollection>& stores) {
                got << QStringLiteral("stores %1 %2 %3")
                           .arg(tag)
                           .arg(stores.size())
                           .arg(stores.value(0).mistakenAlarmCount);
            });

        std::unique_ptr<QThread> worker(QThread::create([] {
            emit ModuleAccessSignals::_instance().signalSetCurrentModuleForm(VideoViewForm);
            emit NoticeSignals::_instance().signalNoticeHint(AlarmHandledHint, QStringLiteral("done"));
            emit NoticeSignals::_instance().signalStoreStateChangeNotice(QStringLiteral("S001"),
                                                                         StoreNewAlarmNotice);
            emit NoticeSignals::_instance().sendRequestErrorNoticeSignal(
                7, QStringLiteral("x"), AlarmHandleNotesRequest, QStringLiteral("A1"),
                {QStringLiteral("A1")});
            VIG_DATA_MODULE::VIG_StoreAlarmsCollection counts;
            counts.mistakenAlarmCount = 3;
            emit VIG_DATA_MODULE::DataSignals::_instance().signalAllStoresAlarmsCollection(
                QStringLiteral("t"), {counts}, 0, QString());
            emit NoticeSignals::_instance().signalNewAlarmNotice();
        }));
        worker->start();
        QVERIFY(worker->wait());
        QTRY_COMPARE(got.size(), 5);
        QCOMPARE(got, (QStringList{"form 1", "hint 5 done", "state S001 1", "error 7 101004 A1 A1",
                                   "stores t 1 3"}));
        QTRY_VERIFY(NoticeSound::_instance().isPlaying());
        QCOMPARE(playedOn, QThread::currentThread());
        NoticeSound::_instance().stopAlarmNoticeSound();
        QVERIFY(!NoticeSound::_instance().isPlaying());

        VIG_SYSTEM_MODULE::AlarmConfigInfo config =
            VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache();
        config.alarmSoundMode = 0; // silent
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmConfigInfo(config);
        emit NoticeSignals::_instance().signalNewAlarmNotice();
        QVERIFY(!NoticeSound::_instance().isPlaying());
    }

    void messageBoxWaitsForTheOperatorWithoutQueuedAnswers()
    {
        MessageBoxW::clearCalls();
        MessageBoxW::clearQueuedAnswers();
        pressLater("OK");
        QCOMPARE(MessageBoxW::information(nullptr, "", "Confirm", 3), 1);
        pressLater("Cancel");
        QCOMPARE(MessageBoxW::information(nullptr, "", "Confirm", 3), 0);
        pressLater("Second");
        QCOMPARE(MessageBoxW::informationEx(nullptr, "", "Pick", {"First", "Second"}), 1);
        QCOMPARE(MessageBoxW::calls().size(), 3);
    }

    void waitDialogShowsWithoutBlockingAndTimesOut()
    {
        WaitDialog& wait = WaitDialog::_instance();
        QSignalSpy hidden(&wait, &WaitDialog::signalWaitDialogHidden);
        const QUuid requester = QUuid::createUuid();
        wait.showWaitDialog("Hanle alarm...", requester, 60000);
        // Returned at once, and the notice is up and modal.
        QVERIFY(wait.isShown() && QApplication::activeModalWidget());
        QCOMPARE(wait.currentText(), QString("Hanle alarm..."));
        QCOMPARE(wait.currentRequester(), requester);
        wait.hideWaitDialog();
        QVERIFY(!wait.isShown() && !QApplication::activeModalWidget());
        QCOMPARE(hidden.count(), 1);
        QCOMPARE(hidden.at(0).at(0).toBool(), false);

        wait.setDisplayEnabled(false);
        wait.showWaitDialog("Getting the count of records.", QUuid(), 30);
        QVERIFY(wait.isShown() && !QApplication::activeModalWidget());
        QTRY_VERIFY(!wait.isShown());
        QCOMPARE(hidden.count(), 2);
        QCOMPARE(hidden.at(1).at(0).toBool(), true); // timed out
        wait.setDisplayEnabled(true);
    }
};

QTEST_MAIN(TestHostNotices)
#include "tst_host_notices.moc"
