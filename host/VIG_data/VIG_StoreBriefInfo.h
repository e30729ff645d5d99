#pragma once

#include <QMetaType>
#include <QString>

namespace VIG_DATA_MODULE {

struct VIG_StoreBriefInfo
{
    QString storeUid;
    QString storeName;
};

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_StoreBriefInfo)
