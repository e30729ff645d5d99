#include "SoakHeartbeat.h"

#include <QTimer>

#include <chrono>

SoakHeartbeat::SoakHeartbeat(int periodMs) : period(periodMs), timer(std::make_unique<QTimer>())
{
    lastStamp = nowMs();
    QObject::connect(timer.get(), &QTimer::timeout, [this] {
        lastStamp = nowMs();
        ++stamps;
    });
    timer->start(period);
    watcher = std::thread([this] { run(); });
}

SoakHeartbeat::~SoakHeartbeat()
{
    stopping = true;
    watcher.join();
}

qint64 SoakHeartbeat::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SoakHeartbeat::resume()
{
    lastStamp = nowMs();
    paused = false;
}

void SoakHeartbeat::note(qint64 gap)
{
    for (std::atomic<qint64>* mark : {&worst, &recentWorst}) {
        qint64 seen = mark->load();
        while (gap > seen && !mark->compare_exchange_weak(seen, gap)) {
        }
    }
}

void SoakHeartbeat::run()
{
    while (!stopping) {
        // The timer's own period is not silence.
        if (!paused)
            note(qMax<qint64>(0, nowMs() - lastStamp.load() - period));
        std::this_thread::sleep_for(std::chrono::milliseconds(period));
    }
}
