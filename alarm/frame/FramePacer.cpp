#include "frame/FramePacer.h"

#include <QTimer>

#include <utility>

namespace VIG_ALARM_MOUDLE {

namespace {
const qint64 FrameMs = 40;
} // namespace

FramePacer::FramePacer(QObject* context, std::function<void()> work) : context(context), work(std::move(work))
{
}

void FramePacer::request()
{
    if (posted)
        return;
    posted = true;
    const qint64 sinceLast = lastRun.isValid() ? lastRun.elapsed() : FrameMs;
    QTimer::singleShot(int(qMax<qint64>(0, FrameMs - sinceLast)), context, [this] {
        posted = false;
        lastRun.start();
        work();
    });
}

} // namespace VIG_ALARM_MOUDLE
