#pragma once

#include "ZSingleton.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QTimer;

namespace VIG_ALARM_MOUDLE {

// Gives the host one handled-alarm notice per handling: the pushes of the alarms that one handling closed
// carry the same hint and come together, so a run of equal hints becomes one notice with their count.
class AlarmHandledNotices : public QObject, public ZCOMMON::ZSingleton<AlarmHandledNotices>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<AlarmHandledNotices>;

public:
    // How long a run waits for more of its pushes, and the longest it is held.
    static constexpr int QuietMs = 250;
    static constexpr int LongestMs = 2000;

    // Main thread only.
    void add(const QString& hint);
    // Sends the run held, if any.
    void flush();

private:
    explicit AlarmHandledNotices(QObject* parent);
    ~AlarmHandledNotices() override;

    QTimer* quiet = nullptr;
    QElapsedTimer held;
    QString pendingHint;
    int pendingCount = 0;
};

} // namespace VIG_ALARM_MOUDLE

extern template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmHandledNotices>;
