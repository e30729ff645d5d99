#include "frame/AlarmEventQueue.h"

#include "frame/AlarmMutexLocker.h"

#include <QElapsedTimer>
#include <QThread>


namespace VIG_ALARM_MOUDLE {

namespace {
// What one turn of the event loop spends on the service's events; the tables put their rows in and the page
// places pop-ups in turns of their own budget, and all of it with the painting must stay within a frame.
const qint64 TurnBudgetNs = 3 * 1000 * 1000;
} // namespace

AlarmEventQueue::AlarmEventQueue(QObject* parent) : QObject(parent) {}

AlarmEventQueue::~AlarmEventQueue() = default;

void AlarmEventQueue::post(Event event)
{
    const bool here = QThread::currentThread() == thread();
    {
        AlarmMutexLocker locker(&mutex);
        if (!here || !events.empty()) {
            events.push_back(std::move(event));
            // One wake-up per burst: later events of it find it still pending.
            postWakeUp();
            return;
        }
    }
    event();
}

int AlarmEventQueue::queuedCount() const
{
    AlarmMutexLocker locker(&mutex);
    return int(events.size());
}

bool AlarmEventQueue::takeNext(Event& event)
{
    AlarmMutexLocker locker(&mutex);
    if (events.empty())
        return false;
    event = std::move(events.front());
    events.pop_front();
    return true;
}

void AlarmEventQueue::drain(qint64 budgetNs)
{
    QElapsedTimer turn;
    turn.start();
    // One at a time: a receiver that runs a nested event loop lets later events go on from where it stood.
    Event event;
    while (turn.nsecsElapsed() < budgetNs && takeNext(event)) {
        event();
        event = nullptr;
    }
    AlarmMutexLocker locker(&mutex);
    if (!events.empty())
        postWakeUp();
}

void AlarmEventQueue::postWakeUp()
{
    if (wakeUpPosted)
        return;
    wakeUpPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            {
                AlarmMutexLocker locker(&mutex);
                wakeUpPosted = false;
            }
            drain(TurnBudgetNs);
        },
        Qt::QueuedConnection);
}

} // namespace VIG_ALARM_MOUDLE
