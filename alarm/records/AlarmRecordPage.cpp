#include "records/AlarmRecordPage.h"

#include "records/AlarmRecordSearchWt.h"

#include "ui_AlarmRecordPage.h"

#include "ModuleAccessSignals.h"

namespace VIG_ALARM_MOUDLE {

AlarmRecordPage::AlarmRecordPage(QWidget* parent)
    : ColouredWidget(parent), ui(new Ui::AlarmRecordPage), recordSearchWt(new AlarmRecordSearchWt(this))
{
    ui->setupUi(this);
    setColor("#2b2f3a");
    ui->recordsView->addWidget(recordSearchWt);

    connect(&VIG_CONTACT_MODULE::ModuleAccessSignals::_instance(),
            &VIG_CONTACT_MODULE::ModuleAccessSignals::signalCheckLateMonthUnhandledAlarms, this,
            &AlarmRecordPage::slotCheckLateMonthUnhandledAlarms);
}

AlarmRecordPage::~AlarmRecordPage() = default;

void AlarmRecordPage::slotCheckLateMonthUnhandledAlarms()
{
    ui->recordsView->setCurrentIndex(0);
    recordSearchWt->searchDefaultUnhandled();
}

} // namespace VIG_ALARM_MOUDLE
