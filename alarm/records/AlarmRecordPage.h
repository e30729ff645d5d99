#pragma once

#include "ColouredWidget.h"

#include <memory>

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class AlarmRecordPage;
}

class AlarmRecordSearchWt;

// The record tab's page: the record search, and the host's request to show last month's unhandled alarms.
class AlarmRecordPage : public VIG_BASE_MODULE::ColouredWidget
{
    Q_OBJECT

public:
    explicit AlarmRecordPage(QWidget* parent = nullptr);
    ~AlarmRecordPage() override;

public slots:
    void slotCheckLateMonthUnhandledAlarms();

private:
    std::unique_ptr<Ui::AlarmRecordPage> ui;
    AlarmRecordSearchWt* recordSearchWt = nullptr;
};

} // namespace VIG_ALARM_MOUDLE
