#include "frame/VideoAlarmForm.h"
#include "ui_VideoAlarmForm.h"

#include "detail/AlarmDetailCheckWt.h"
#include "frame/AlarmSignals.h"
#include "records/AlarmRecordPage.h"
#include "tables/AlarmMonitorPage.h"

#include "BusinessConfig.h"
#include "ModuleAccessSignals.h"

#include <QApplication>
#include <QEvent>

#include <QIcon>

namespace VIG_ALARM_MOUDLE {

namespace {
const int monitorTab = 0;
const int recordTab = 1;
const int detailTab = 2;

struct TabIcons
{
    const char* pressed;
    const char* normal;
};

const TabIcons tabIcons[] = {
    {":/images/alarmmonitor_press.png", ":/images/alarmmonitor_normal.png"},
    {":/images/alarmrecord_press.png", ":/images/alarmrecord_normal.png"},
    {":/images/alarmdetailcheck_press.png", ":/images/alarmdetailcheck_normal.png"},
};
} // namespace

VideoAlarmForm::VideoAlarmForm(QWidget* parent)
    : VIG_BASE_MODULE::ModuleBaseForm(parent)
    , ui(new Ui::VideoAlarmForm)
    , alarmMonitorPage(new AlarmMonitorPage(this))
    , alarmRecordPage(new AlarmRecordPage(this))
    , alarmDetailCheckWt(new AlarmDetailCheckWt(this))
    , lastIndex(-1)
{
    ui->setupUi(this);
    setColor("#23262f");
    ui->tabWidget->setProperty("VIG_Alarm_Tab", true);
    ui->tabWidget->addTab(alarmMonitorPage, QObject::tr("Alarm Monitor                  "));
    ui->tabWidget->addTab(alarmRecordPage, QObject::tr("Alarm Record                  "));
    slotTabWtCurrentChanged(monitorTab);

    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &VideoAlarmForm::slotTabWtCurrentChanged);
    connect(&VIG_CONTACT_MODULE::ModuleAccessSignals::_instance(),
            &VIG_CONTACT_MODULE::ModuleAccessSignals::signalCheckLateMonthUnhandledAlarms, this,
            &VideoAlarmForm::slotCheckLateMonthUnhandledAlarms);
    AlarmSignals& hub = AlarmSignals::_instance();
    connect(&hub, &AlarmSignals::signalSetAlarmDetailCheckWtVisible, this,
            &VideoAlarmForm::slotSetAlarmDetailCheckWtVisible);
    connect(&hub, &AlarmSignals::signalAlarmTableRecordDoubleClicked, this,
            &VideoAlarmForm::slotAlarmTableRecordDoubleClicked);
    connect(&hub, &AlarmSignals::signalChangeToAlarmMonitorTab, this,
            &VideoAlarmForm::slotChangeToAlarmMonitorTab);
    // Input anywhere in the record or detail tab, whatever widget of theirs takes it.
    qApp->installEventFilter(this);
    // Alarms that came between the service's first event and this form were booked but shown nowhere.
    alarmMonitorPage->showBookedAlarms();
}

VideoAlarmForm::~VideoAlarmForm()
{
    qApp->removeEventFilter(this);
    delete ui;
}

bool VideoAlarmForm::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        if (watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (alarmRecordPage->isAncestorOf(widget) || alarmDetailCheckWt->isAncestorOf(widget) ||
                widget == alarmRecordPage || widget == alarmDetailCheckWt)
                lastWorkInput.start();
        }
        break;
    default:
        break;
    }
    return VIG_BASE_MODULE::ModuleBaseForm::eventFilter(watched, event);
}

int VideoAlarmForm::getModuleFormType() const
{
    return 0;
}

void VideoAlarmForm::slotTabWtCurrentChanged(int index)
{
    if (index < monitorTab || index > detailTab)
        return;
    if (index == monitorTab && unseenAlarms > 0) {
        unseenAlarms = 0;
        showUnseenAlarms();
    }
    QTabWidget* tabs = ui->tabWidget;
    const int iconTabs = tabs->count() == 3 ? 3 : 2;
    for (int tab = 0; tab < iconTabs; ++tab)
        tabs->setTabIcon(tab, QIcon(tab == index ? tabIcons[tab].pressed : tabIcons[tab].normal));

    QWidget* pages[] = {alarmMonitorPage, alarmRecordPage, alarmDetailCheckWt};
    for (int tab = monitorTab; tab <= detailTab; ++tab) {
        if (tab != index)
            pages[tab]->hide();
    }
}

void VideoAlarmForm::slotCheckLateMonthUnhandledAlarms()
{
    ui->tabWidget->setCurrentIndex(recordTab);
}

void VideoAlarmForm::showDetailTab()
{
    lastIndex = ui->tabWidget->currentIndex();
    if (ui->tabWidget->count() == 2) {
        ui->tabWidget->addTab(alarmDetailCheckWt, QObject::tr("Alarm Detail                  "));
        alarmDetailCheckWt->show();
    }
    ui->tabWidget->setCurrentIndex(detailTab);
}

void VideoAlarmForm::slotSetAlarmDetailCheckWtVisible(bool visible)
{
    if (visible) {
        showDetailTab();
        return;
    }
    if (ui->tabWidget->count() == 3) {
        ui->tabWidget->removeTab(detailTab);
        alarmDetailCheckWt->hide();
    }
    if (lastIndex == monitorTab || lastIndex == recordTab)
        ui->tabWidget->setCurrentIndex(lastIndex);
}

void VideoAlarmForm::slotAlarmTableRecordDoubleClicked(const VIG_AlarmInfo& alarmInfo,
                                                       AlarmRelationType defaultAlarmRelationType)
{
    alarmDetailCheckWt->setAlarm(alarmInfo, defaultAlarmRelationType);
    showDetailTab();
}

void VideoAlarmForm::slotChangeToAlarmMonitorTab()
{
    // At one alarm a second the operator could not stay in a detail or the records: while they work there
    // the tab stays and the monitor tab counts what came.
    if (ui->tabWidget->currentIndex() != monitorTab && operatorIsWorking()) {
        ++unseenAlarms;
        showUnseenAlarms();
        return;
    }
    ui->tabWidget->setCurrentIndex(monitorTab);
}

bool VideoAlarmForm::operatorIsWorking() const
{
    const int holdSeconds =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().monitorTabHoldSeconds;
    return holdSeconds > 0 && lastWorkInput.isValid() && lastWorkInput.elapsed() < holdSeconds * 1000LL;
}

void VideoAlarmForm::showUnseenAlarms()
{
    ui->tabWidget->setTabText(monitorTab, unseenAlarms > 0
                                              ? QObject::tr("Alarm Monitor (%1 new)").arg(unseenAlarms)
                                              : QObject::tr("Alarm Monitor                  "));
}

} // namespace VIG_ALARM_MOUDLE
