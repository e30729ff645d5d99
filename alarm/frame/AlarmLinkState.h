#pragma once

#include "DataCache.h"
#include "ZSingleton.h"

#include <QDateTime>
#include <QObject>

namespace VIG_ALARM_MOUDLE {

// The link to the alarm server as the operator is to read it: whether it is down, since when, and what is
// being done about it. Followed on the main thread from the service library's reports.
class AlarmLinkState : public QObject, public ZCOMMON::ZSingleton<AlarmLinkState>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<AlarmLinkState>;

public:
    bool isDown() const;
    // When the link was last lost (or when watching began, if it was never up); invalid while it is up.
    QDateTime downSince() const { return since; }
    // Plain words for the operator; empty while the link is up.
    QString text() const;
    // Takes a report of the service library; main thread only.
    void setStatus(const DataCache::LinkStatus& status);

signals:
    void signalLinkChanged();

private:
    explicit AlarmLinkState(QObject* parent);
    ~AlarmLinkState() override;

    DataCache::LinkStatus current;
    QDateTime since;
    int observerId = 0;
};

} // namespace VIG_ALARM_MOUDLE

extern template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmLinkState>;
