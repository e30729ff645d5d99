#include "MapViewer.h"

#include <QUrl>
#include <QWebSettings>

namespace VIG_BASE_MODULE {

namespace {
const char* const MapPage = "qrc:/VIG_base/map/map.html";
}

MapViewer::MapViewer(QWidget* parent) : ZCOMMON::ZWebView(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    settings()->setAttribute(QWebSettings::JavascriptEnabled, true);
    // Connected before any derived class can connect: the page's controls are set before others use it.
    connect(this, &QWebView::loadFinished, this, &MapViewer::onLoadFinished);
    load(QUrl(QLatin1String(MapPage)));
}

MapViewer::~MapViewer() = default;

void MapViewer::onLoadFinished(bool ok)
{
    loaded = ok;
    if (ok)
        applyVisibility();
}

void MapViewer::applyVisibility()
{
    if (!loaded)
        return;
    callJSFunction(QStringLiteral("setSearchBoxVisible"),
                   {searchBoxVisible ? QStringLiteral("true") : QStringLiteral("false")});
    callJSFunction(QStringLiteral("setMapTypeButtonsVisible"),
                   {mapTypeBtsVisible ? QStringLiteral("true") : QStringLiteral("false")});
}

void MapViewer::setSearchBoxVisible(bool visible)
{
    searchBoxVisible = visible;
    applyVisibility();
}

void MapViewer::setMapTypeSelectBtsVisisble(bool visible)
{
    mapTypeBtsVisible = visible;
    applyVisibility();
}

bool MapViewer::isSearchBoxVisible() const
{
    return searchBoxVisible;
}

bool MapViewer::isMapTypeSelectBtsVisible() const
{
    return mapTypeBtsVisible;
}

bool MapViewer::isMapLoaded() const
{
    return loaded;
}

void MapViewer::slotNormalBtClicked()
{
    callJSFunction(QStringLiteral("setMapType"), {QStringLiteral("normal")});
}

void MapViewer::slotSatelliteBtClicked()
{
    callJSFunction(QStringLiteral("setMapType"), {QStringLiteral("satellite")});
}

} // namespace VIG_BASE_MODULE
