#include "detail/AlarmMapViewer.h"

#include "BasicData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace VIG_ALARM_MOUDLE {

AlarmMapViewer::AlarmMapViewer(const QString& storeUid, QWidget* parent)
    : MapViewer(parent), storeUid(storeUid)
{
    setFixedWidth(320);
    setSearchBoxVisible(false);
    setMapTypeSelectBtsVisisble(false);
    connect(this, &QWebView::loadFinished, this, &AlarmMapViewer::slotLoadMapFinished);
}

AlarmMapViewer::~AlarmMapViewer() = default;

void AlarmMapViewer::locateStore(const QString& storeUid)
{
    const VIG_DATA_MODULE::VIG_StoreInfo store =
        VIG_DATA_MODULE::BasicData::_instance().getStoreInfo(storeUid);
    const QJsonObject place{{QStringLiteral("storeGuid"), store.storeUid},
                            {QStringLiteral("storeName"), store.storeName},
                            {QStringLiteral("lng"), store.longitude},
                            {QStringLiteral("lat"), store.latitude}};
    const QString stores = QString::fromUtf8(QJsonDocument(QJsonArray{place}).toJson());
    const QString quotedId = QLatin1Char('"') + store.storeUid + QLatin1Char('"');
    callJSFunction(QStringLiteral("initStores"), {stores});
    callJSFunction(QStringLiteral("moveTo"), {quotedId});
    callJSFunction(QStringLiteral("setAnimationByStoreId"), {quotedId, QStringLiteral("1")});
}

void AlarmMapViewer::slotLoadMapFinished(bool ok)
{
    if (!ok)
        return;
    slotNormalBtClicked();
    locateStore(storeUid);
}

} // namespace VIG_ALARM_MOUDLE
