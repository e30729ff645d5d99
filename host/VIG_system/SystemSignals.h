#pragma once

#include "ZSingleton.h"

#include <QObject>

namespace VIG_SYSTEM_MODULE {

class SystemSignals : public QObject, public ZCOMMON::ZSingleton<SystemSignals>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<SystemSignals>;

signals:
    void signalVideoViewStreamingMediaFlagChanged(int streamingMediaFlag);
    void signalAlarmConfigChanged();

private:
    explicit SystemSignals(QObject* parent);
};

} // namespace VIG_SYSTEM_MODULE

extern template class ZCOMMON::ZSingleton<VIG_SYSTEM_MODULE::SystemSignals>;
