#pragma once

// The whole module in the test's process, behind the embedded server or the one DataCache was pointed at.

#include "ModuleTestSupport.h"

namespace livemodule {

inline SimControl* control()
{
    return DataCache::Instance()->GetControl();
}

// Its main form in this display mode (0 pop-ups, 1 grid), the map off; null if it was not built.
inline VIG_ALARM_MOUDLE::VideoAlarmForm* start(int displayMode)
{
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmVideoShowMode(displayMode);
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setShowAlarmMap(false);
    VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
    VIG_BASE_MODULE::WaitDialog::_instance().setDisplayEnabled(false);
    VIG_ALARM_MOUDLE::AlarmModuleInit::_instance().moduleInit();
    return qobject_cast<VIG_ALARM_MOUDLE::VideoAlarmForm*>(
        VIG_ALARM_MOUDLE::AlarmModuleInit::_instance().getVideoAlarmForm());
}

// The cells on show: the grid's, or the visible pop-ups'.
inline QList<VIG_ALARM_MOUDLE::AlarmVideoCellWt*> shownCells(const VIG_ALARM_MOUDLE::VideoAlarmForm* form)
{
    QList<VIG_ALARM_MOUDLE::AlarmVideoCellWt*> cells;
    if (VIG_ALARM_MOUDLE::AlarmVideosMonitorWt* grid = form->monitorPage()->videosMonitor()) {
        for (int i = 0; i < 4; ++i)
            cells.append(grid->cell(i));
    } else {
        for (VIG_ALARM_MOUDLE::AlarmVideoCheckDlg* dialog :
             VIG_ALARM_MOUDLE::AlarmVideoCheckDlgManager::_instance().dialogs()) {
            if (dialog->isVisible())
                cells.append(dialog->cell());
        }
    }
    return cells;
}

} // namespace livemodule
