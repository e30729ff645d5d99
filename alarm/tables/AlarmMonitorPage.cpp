#include "tables/AlarmMonitorPage.h"

#include "frame/AlarmSignals.h"
#include "tables/AlarmMonitorTable.h"
#include "video/AlarmVideoCheckDlgManager.h"
#include "video/AlarmVideosMonitorWt.h"

#include "BusinessConfig.h"

#include "frame/AlarmMutexLocker.h"
#include <QVBoxLayout>

namespace VIG_ALARM_MOUDLE {

namespace {
const int TableHeightUnderGrid = 190;
} // namespace

AlarmMonitorPage::AlarmMonitorPage(QWidget* parent)
    : ColouredWidget(parent)
    , alarmMonitorTable(new AlarmMonitorTable(this))
    , pageLayout(new QVBoxLayout(this))
{
    pageLayout->setContentsMargins(9, 9, 9, 9);
    pageLayout->setSpacing(6);
    if (VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode ==
        VIG_SYSTEM_MODULE::AlarmVideosInGrid) {
        videosMonitorWt = new AlarmVideosMonitorWt(this);
        pageLayout->addWidget(videosMonitorWt);
        alarmMonitorTable->setFixedHeight(TableHeightUnderGrid);
    }
    pageLayout->addWidget(alarmMonitorTable);
    setColor("#2b2f3a");
    alarmMonitorTable->setProperty("VIG_public_Table_style_1", true);

    connect(alarmMonitorTable, &AlarmMonitorTable::doubleClicked, this,
            &AlarmMonitorPage::signalAlarmTabDoubleClicked);
    connect(&AlarmSignals::_instance(), &AlarmSignals::signalNewAlarmPush, this,
            &AlarmMonitorPage::slotNewAlarm);
}

AlarmMonitorPage::~AlarmMonitorPage() = default;

void AlarmMonitorPage::slotNewAlarm(const VIG_AlarmInfo& alarmInfo)
{
    AlarmMutexLocker locker(&mutex);
    const int mode =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode;
    if (videosMonitorWt && mode == VIG_SYSTEM_MODULE::AlarmVideosInGrid)
        videosMonitorWt->showAlarm(alarmInfo);
    else if (mode == VIG_SYSTEM_MODULE::AlarmVideosInPopUps)
        AlarmVideoCheckDlgManager::_instance().showAlarm(alarmInfo);
    // Any other mode, or the grid asked for after the page was made: the alarm shows in the table only.
}

} // namespace VIG_ALARM_MOUDLE
