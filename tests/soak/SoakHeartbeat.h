#pragma once

#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

// Measures how long the UI thread goes without running its timers: a timer there stamps the time, and a
// watcher thread keeps the worst gap between stamps, so a frozen thread shows while it is frozen. Only
// atomics cross the threads.
class SoakHeartbeat
{
public:
    explicit SoakHeartbeat(int periodMs) : period(periodMs)
    {
        lastStamp = nowMs();
        QObject::connect(&timer, &QTimer::timeout, [this] {
            lastStamp = nowMs();
            ++stamps;
        });
        timer.start(period);
        watcher = std::thread([this] {
            while (!stopping) {
                // The timer's own period is not silence.
                if (!paused)
                    note(qMax<qint64>(0, nowMs() - lastStamp.load() - period));
                std::this_thread::sleep_for(std::chrono::milliseconds(period));
            }
        });
    }
    ~SoakHeartbeat()
    {
        stopping = true;
        watcher.join();
    }

    qint64 worstMs() const { return worst.load(); }
    qint64 beats() const { return stamps.load(); }
    // The worst gap since the last call.
    qint64 takeRecentWorstMs() { return recentWorst.exchange(0); }
    // The test's own checks hold the UI thread too; while paused, gaps are not the module's silence.
    void pause() { paused = true; }
    void resume()
    {
        lastStamp = nowMs();
        paused = false;
    }

private:
    static qint64 nowMs()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void note(qint64 gap)
    {
        for (std::atomic<qint64>* mark : {&worst, &recentWorst}) {
            qint64 seen = mark->load();
            while (gap > seen && !mark->compare_exchange_weak(seen, gap)) {
            }
        }
    }

    const int period;
    QTimer timer;
    std::atomic<bool> stopping{false}, paused{false};
    std::atomic<qint64> lastStamp{0}, stamps{0}, worst{0}, recentWorst{0};
    std::thread watcher;
};
