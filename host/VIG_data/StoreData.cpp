#include "StoreData.h"

#include "MainThread.h"
#include "Scenario.h"

template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::StoreData>;

namespace VIG_DATA_MODULE {

StoreData::StoreData(QObject* parent) : QObject(parent)
{
    MainThread::adopt(this);
    qRegisterMetaType<VIG_StoreBriefInfo>();
    qRegisterMetaType<VIG_StoreBriefInfo>("VIG_StoreBriefInfo");
}

QVector<VIG_StoreBriefInfo> StoreData::getAllOpenedStoresBriefInfo() const
{
    return Scenario::_instance().read([](const ScenarioWorld& world) {
        QVector<VIG_StoreBriefInfo> stores;
        stores.reserve(world.stores.size());
        for (const VIG_StoreInfo& store : world.stores)
            stores.append(VIG_StoreBriefInfo{store.storeUid, store.storeName});
        return stores;
    });
}

} // namespace VIG_DATA_MODULE
