#pragma once

#include "ZWebView.h"

namespace VIG_BASE_MODULE {

// The store map: loads the map page shipped with this library (qrc:/VIG_base/map/map.html, drawn locally,
// no network). Script functions of the page: initStores(json array of {storeGuid, storeName, lng, lat}),
// moveTo(storeId) or moveTo(lng, lat) (a store id may be given in double quotes), setAnimationByStoreId(
// storeId, "1" | "0"), setMapType("normal" | "satellite"), setSearchBoxVisible("true" | "false"),
// setMapTypeButtonsVisible("true" | "false"), and for tests getState() (a JSON text of the page's state).
class MapViewer : public ZCOMMON::ZWebView
{
    Q_OBJECT

public:
    explicit MapViewer(QWidget* parent = nullptr);
    ~MapViewer() override;

    void setSearchBoxVisible(bool visible);
    void setMapTypeSelectBtsVisisble(bool visible);
    bool isSearchBoxVisible() const;
    bool isMapTypeSelectBtsVisible() const;
    bool isMapLoaded() const;

protected slots:
    void slotNormalBtClicked();
    void slotSatelliteBtClicked();

private:
    void onLoadFinished(bool ok);
    void applyVisibility();

    bool searchBoxVisible = true;
    bool mapTypeBtsVisible = true;
    bool loaded = false;
};

} // namespace VIG_BASE_MODULE
