#pragma once

#include <QMutex>
#include <QObject>

#include <deque>
#include <functional>

namespace VIG_ALARM_MOUDLE {

// Carries what the service's thread has to say on the hub over to the main thread, in order. A burst costs
// one wake-up instead of one queued call per event and receiver, and each turn of the event loop runs only
// what fits in its budget, so that the operator's input and the tables' own passes come between turns.
class AlarmEventQueue : public QObject
{
    Q_OBJECT

public:
    using Event = std::function<void()>;

    explicit AlarmEventQueue(QObject* parent = nullptr);
    ~AlarmEventQueue() override;

    // Runs the event on this object's thread after every event posted before it; at once when posted there
    // with nothing waiting.
    void post(Event event);
    // Events posted and not yet run.
    int queuedCount() const;

private:
    bool takeNext(Event& event);
    void drain(qint64 budgetNs);
    void postWakeUp(); // the caller holds the mutex

    mutable QMutex mutex;
    std::deque<Event> events; // oldest first
    bool wakeUpPosted = false;
};

} // namespace VIG_ALARM_MOUDLE
