#pragma once

#include <QElapsedTimer>

#include <functional>

class QObject;

namespace VIG_ALARM_MOUDLE {

// Runs its work once after the current turn of the event loop however often it is asked meanwhile, and
// during a long burst of asks once a frame, as a screen would show it. The work is dropped with context.
class FramePacer
{
public:
    FramePacer(QObject* context, std::function<void()> work);

    void request();

private:
    QObject* context = nullptr;
    std::function<void()> work;
    QElapsedTimer lastRun;
    bool posted = false;
};

} // namespace VIG_ALARM_MOUDLE
