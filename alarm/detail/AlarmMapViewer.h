#pragma once

#include "MapViewer.h"

namespace VIG_ALARM_MOUDLE {

// The host's map beside a pop-up's video, showing the store where the alarm was raised.
class AlarmMapViewer : public VIG_BASE_MODULE::MapViewer
{
    Q_OBJECT

public:
    AlarmMapViewer(const QString& storeUid, QWidget* parent = nullptr);
    ~AlarmMapViewer() override;

    // Places, centres and animates the store on the loaded page.
    void locateStore(const QString& storeUid);

private slots:
    void slotLoadMapFinished(bool ok);

private:
    QString storeUid;
};

} // namespace VIG_ALARM_MOUDLE
