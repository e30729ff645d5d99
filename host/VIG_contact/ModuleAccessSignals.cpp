#include "ModuleAccessSignals.h"

#include "MainThread.h"

template class ZCOMMON::ZSingleton<VIG_CONTACT_MODULE::ModuleAccessSignals>;

namespace VIG_CONTACT_MODULE {

ModuleAccessSignals::ModuleAccessSignals(QObject* parent) : QObject(parent)
{
    VIG_DATA_MODULE::MainThread::adopt(this);
    qRegisterMetaType<ModuleFormType>();
    qRegisterMetaType<ModuleFormType>("ModuleFormType");
}

} // namespace VIG_CONTACT_MODULE
