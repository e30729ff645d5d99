#include "SystemSignals.h"

#include "MainThread.h"

template class ZCOMMON::ZSingleton<VIG_SYSTEM_MODULE::SystemSignals>;

namespace VIG_SYSTEM_MODULE {

SystemSignals::SystemSignals(QObject* parent) : QObject(parent)
{
    VIG_DATA_MODULE::MainThread::adopt(this);
}

} // namespace VIG_SYSTEM_MODULE
