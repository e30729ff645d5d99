#pragma once

#include <QtGlobal>

#include <atomic>
#include <memory>
#include <thread>

class QTimer;

// Measures how long the UI thread goes without running its timers: a timer there stamps the time, and a
// watcher thread keeps the worst gap between stamps, so a frozen thread shows while it is frozen. Only
// atomics cross the threads.
class SoakHeartbeat
{
public:
    explicit SoakHeartbeat(int periodMs);
    ~SoakHeartbeat();

    qint64 worstMs() const { return worst.load(); }
    qint64 beats() const { return stamps.load(); }
    // The worst gap since the last call.
    qint64 takeRecentWorstMs() { return recentWorst.exchange(0); }
    // The test's own checks hold the UI thread too; while paused, gaps are not the module's silence.
    void pause() { paused = true; }
    void resume();

private:
    static qint64 nowMs();
    void run();
    void note(qint64 gap);

    const int period;
    std::unique_ptr<QTimer> timer;
    std::atomic<bool> stopping{false};
    std::atomic<bool> paused{false};
    std::atomic<qint64> lastStamp{0};
    std::atomic<qint64> stamps{0};
    std::atomic<qint64> worst{0};
    std::atomic<qint64> recentWorst{0};
    std::thread watcher;
};
