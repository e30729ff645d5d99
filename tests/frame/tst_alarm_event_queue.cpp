// The queue that carries the service thread's hub signals to the main thread: every event runs there, once,
// in the order it was posted, whichever thread posted it.
#include "frame/AlarmEventQueue.h"

#include <QThread>
#include <QtTest>

#include <memory>

using namespace VIG_ALARM_MOUDLE;

class TestAlarmEventQueue : public QObject
{
    Q_OBJECT

private slots:
    void runsInOrderOnItsThread_data()
    {
        QTest::addColumn<int>("fromWorker"); // posted first, on another thread
        QTest::addColumn<bool>("ranAtOnce"); // the main thread's own event, posted after them
        QTest::newRow("nothing waits: at once") << 0 << true;
        QTest::newRow("behind a burst: after it") << 3000 << false;
    }

    void runsInOrderOnItsThread()
    {
        QFETCH(int, fromWorker);
        QFETCH(bool, ranAtOnce);
        AlarmEventQueue queue;
        QList<int> ran;
        bool allOnMainThread = true;
        const auto event = [&](int n) {
            return [&, n] {
                allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
                ran.append(n);
            };
        };
        std::unique_ptr<QThread> worker(QThread::create([&] {
            for (int n = 0; n < fromWorker; ++n)
                queue.post(event(n));
        }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QCOMPARE(queue.queuedCount(), fromWorker);

        queue.post(event(fromWorker));
        QCOMPARE(ran.size() == 1, ranAtOnce);
        QTRY_COMPARE(ran.size(), fromWorker + 1);
        QCOMPARE(queue.queuedCount(), 0);
        for (int n = 0; n <= fromWorker; ++n)
            QCOMPARE(ran.at(n), n);
        QVERIFY(allOnMainThread);
    }
};

QTEST_MAIN(TestAlarmEventQueue)
#include "tst_alarm_event_queue.moc"
