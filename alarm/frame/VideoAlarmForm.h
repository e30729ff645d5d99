#pragma once

#include "frame/VIG_AlarmInfo.h"
#include "frame/VIG_AlarmRelation.h"

#include "ModuleBaseForm.h"

#include <QElapsedTimer>

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class VideoAlarmForm;
}

class AlarmDetailCheckWt;
class AlarmMonitorPage;
class AlarmRecordPage;

// The module's main form: the monitor and record tabs, and the detail tab while an alarm is open.
class VideoAlarmForm : public VIG_BASE_MODULE::ModuleBaseForm
{
    Q_OBJECT

public:
    explicit VideoAlarmForm(QWidget* parent);
    ~VideoAlarmForm() override;

    int getModuleFormType() const override;

    AlarmMonitorPage* monitorPage() const { return alarmMonitorPage; }
    AlarmRecordPage* recordPage() const { return alarmRecordPage; }
    AlarmDetailCheckWt* detailView() const { return alarmDetailCheckWt; }
    int lastTabIndex() const { return lastIndex; }
    // New alarms that came while the operator kept working in another tab; 0 once the monitor tab is shown.
    int unseenAlarmCount() const { return unseenAlarms; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void slotTabWtCurrentChanged(int index);
    void slotCheckLateMonthUnhandledAlarms();
    void slotSetAlarmDetailCheckWtVisible(bool visible);
    void slotAlarmTableRecordDoubleClicked(const VIG_AlarmInfo& alarmInfo,
                                           AlarmRelationType defaultAlarmRelationType);
    void slotChangeToAlarmMonitorTab();

private:
    void showDetailTab();
    bool operatorIsWorking() const;
    void showUnseenAlarms();

    Ui::VideoAlarmForm* ui;
    AlarmMonitorPage* alarmMonitorPage;
    AlarmRecordPage* alarmRecordPage;
    AlarmDetailCheckWt* alarmDetailCheckWt;
    int lastIndex;
    int unseenAlarms = 0;
    QElapsedTimer lastWorkInput; // the operator's last input in the record or detail tab
};

} // namespace VIG_ALARM_MOUDLE
