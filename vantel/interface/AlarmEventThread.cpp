#include "AlarmEventThread.h"

#include "SimLogging.h"

#include <QtGlobal>

#include <algorithm>

namespace {
// Delivering is cheap; after this many events the thread looks at its posted work again, so that a storm
// does not hold back answers for long.
constexpr int deliveriesPerRound = 512;
} // namespace

AlarmEventThread::AlarmEventThread() = default;

AlarmEventThread::~AlarmEventThread()
{
    stop();
}

void AlarmEventThread::start(Task exitTask)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (thread.joinable() || stopping)
        return;
    atExit = std::move(exitTask);
    thread = std::thread(&AlarmEventThread::run, this);
}

void AlarmEventThread::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wakeUp.notify_all();
    {
        std::lock_guard<std::recursive_mutex> guard(deliveryMutex);
        handler = nullptr;
    }
    if (!thread.joinable())
        return;
    if (isCurrentThread()) {
        qCWarning(vigServer, "AlarmEventThread: stopped from its own thread; it ends without being joined");
        thread.detach();
        return;
    }
    thread.join();
}

bool AlarmEventThread::isStopped() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return stopping;
}

bool AlarmEventThread::isCurrentThread() const
{
    return threadId.load() == std::this_thread::get_id();
}

bool AlarmEventThread::post(Task task)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (stopping)
            return false;
        tasks.push_back(std::move(task));
    }
    wakeUp.notify_one();
    return true;
}

void AlarmEventThread::publish(Event event, int delayMs)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (stopping)
            return;
        const Clock::time_point due = std::max(lastDue, Clock::now() + std::chrono::milliseconds(delayMs));
        lastDue = due;
        events.push_back({due, std::move(event)});
    }
    wakeUp.notify_one();
}

void AlarmEventThread::setHandler(IAlarmEvent* newHandler)
{
    {
        std::lock_guard<std::recursive_mutex> guard(deliveryMutex);
        std::lock_guard<std::mutex> lock(mutex);
        if (stopping)
            return;
        handler = newHandler;
        hasHandler = newHandler != nullptr;
    }
    wakeUp.notify_one();
}

void AlarmEventThread::clearHandler(IAlarmEvent* oldHandler)
{
    std::lock_guard<std::recursive_mutex> guard(deliveryMutex);
    std::lock_guard<std::mutex> lock(mutex);
    if (handler == oldHandler) {
        handler = nullptr;
        hasHandler = false;
    }
}

int AlarmEventThread::pendingEvents() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return int(events.size());
}

void AlarmEventThread::setTicker(Clock::duration interval, Task tickTask)
{
    tickInterval = interval;
    tick = interval > Clock::duration::zero() ? std::move(tickTask) : Task();
    nextTick = Clock::now() + interval;
}

void AlarmEventThread::run()
{
    threadId.store(std::this_thread::get_id());
    std::deque<Task> batch;
    bool tickDue = false;
    while (waitForWork(&batch, &tickDue)) {
        for (Task& task : batch) {
            task();
            if (isStopped())
                break;
        }
        batch.clear();
        if (tickDue && tick) {
            const Clock::time_point now = Clock::now();
            nextTick += tickInterval;
            // A thread that fell far behind does not make up for lost ticks in a burst.
            if (nextTick < now)
                nextTick = now + tickInterval;
            tick();
        }
        deliverDue();
    }
    // The work is gone; what it owned on this thread goes with it.
    tick = Task();
    if (atExit)
        atExit();
}

bool AlarmEventThread::waitForWork(std::deque<Task>* batch, bool* tickDue)
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        if (stopping)
            return false;
        const Clock::time_point now = Clock::now();
        const bool ticking = bool(tick);
        const bool deliverable = hasHandler && !events.empty();
        *tickDue = ticking && nextTick <= now;
        if (!tasks.empty() || *tickDue || (deliverable && events.front().due <= now)) {
            batch->swap(tasks);
            return true;
        }
        Clock::time_point deadline = Clock::time_point::max();
        if (deliverable)
            deadline = events.front().due;
        if (ticking)
            deadline = std::min(deadline, nextTick);
        if (deadline == Clock::time_point::max())
            wakeUp.wait(lock);
        else
            wakeUp.wait_until(lock, deadline);
    }
}

void AlarmEventThread::deliverDue()
{
    for (int i = 0; i < deliveriesPerRound; ++i) {
        std::lock_guard<std::recursive_mutex> guard(deliveryMutex);
        Event event;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (stopping || !handler || events.empty() || events.front().due > Clock::now())
                return;
            event = std::move(events.front().event);
            events.pop_front();
        }
        event(handler);
    }
}
