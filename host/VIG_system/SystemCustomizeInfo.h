#pragma once

#include <QMetaType>
#include <QString>

namespace VIG_SYSTEM_MODULE {

// The customer's own words. The first text is the word for a store that modules put before their labels.
struct SystemCustomizeInfo
{
    QString storeWord;
    QString applicationTitle;
};

} // namespace VIG_SYSTEM_MODULE

Q_DECLARE_METATYPE(VIG_SYSTEM_MODULE::SystemCustomizeInfo)
