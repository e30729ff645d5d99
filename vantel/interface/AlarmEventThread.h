#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class IAlarmEvent;

// The service's own thread. It runs posted work in the order it was posted and hands events to the
// registered handler one at a time, in the order they were published. Events wait while no handler is
// registered. Plain standard threads keep it independent of Qt's application object, so it can be stopped
// at exit after that object is gone.
class AlarmEventThread
{
public:
    using Task = std::function<void()>;
    using Event = std::function<void(IAlarmEvent*)>;
    using Clock = std::chrono::steady_clock;

    AlarmEventThread();
    ~AlarmEventThread();
    AlarmEventThread(const AlarmEventThread&) = delete;
    AlarmEventThread& operator=(const AlarmEventThread&) = delete;

    // atExit runs on the thread after its last task.
    void start(Task atExit);
    // Drops what is still queued, waits for the thread to end. Must not be called from the thread itself.
    void stop();
    bool isStopped() const;
    bool isCurrentThread() const;

    // From any thread; false once stopped.
    bool post(Task task);
    // From any thread. An event is never delivered before an event published earlier, so a delay holds back
    // everything published after it too.
    void publish(Event event, int delayMs = 0);

    // From any thread. When this returns, the previous handler is not being called and will not be called
    // again (unless this is called by the handler itself, whose running call then completes).
    void setHandler(IAlarmEvent* handler);
    // Clears the handler only while it is still the given one.
    void clearHandler(IAlarmEvent* handler);

    // Events published and not yet delivered.
    int pendingEvents() const;

    // On the thread only: runs tick every interval; a zero interval stops it.
    void setTicker(Clock::duration interval, Task tick);

private:
    struct Pending
    {
        Clock::time_point due;
        Event event;
    };

    void run();
    bool waitForWork(std::deque<Task>* batch, bool* tickDue);
    void deliverDue();

    mutable std::mutex mutex;
    std::condition_variable wakeUp;
    std::deque<Task> tasks;
    std::deque<Pending> events;
    Clock::time_point lastDue;
    bool hasHandler = false;
    bool stopping = false;

    // Held while the handler is called, so that replacing it waits for a running delivery.
    std::recursive_mutex deliveryMutex;
    IAlarmEvent* handler = nullptr;

    // Used on the thread only.
    Clock::duration tickInterval{};
    Clock::time_point nextTick;
    Task tick;

    Task atExit;
    std::atomic<std::thread::id> threadId{};
    std::thread thread;
};
