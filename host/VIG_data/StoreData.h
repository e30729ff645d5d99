#pragma once

#include "VIG_StoreBriefInfo.h"

#include "ZSingleton.h"

#include <QObject>
#include <QVector>

namespace VIG_DATA_MODULE {

class StoreData : public QObject, public ZCOMMON::ZSingleton<StoreData>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<StoreData>;

public:
    // Every store of the world, in the scenario's order.
    QVector<VIG_StoreBriefInfo> getAllOpenedStoresBriefInfo() const;

private:
    explicit StoreData(QObject* parent);
};

} // namespace VIG_DATA_MODULE

extern template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::StoreData>;
