#include "video/AlarmVideoCellWt.h"

#include "ui_AlarmVideoCellWt.h"

#include "frame/AlarmLinkBanner.h"
#include "video/AlarmVideoCheckWt.h"
#include "video/WaitAlarmWidget.h"

#include <QVBoxLayout>

namespace VIG_ALARM_MOUDLE {

AlarmVideoCellWt::AlarmVideoCellWt(QWidget* parent) : QWidget(parent), ui(new Ui::AlarmVideoCellWt)
{
    ui->setupUi(this);
    ui->stackedWidget->addWidget(new WaitAlarmWidget(ui->stackedWidget));
    // The link's state above whatever the cell shows, waiting or not.
    ui->horizontalLayout->removeWidget(ui->stackedWidget);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(new AlarmLinkBanner(this));
    column->addWidget(ui->stackedWidget);
    ui->horizontalLayout->addLayout(column);
}

AlarmVideoCellWt::~AlarmVideoCellWt() = default;

void AlarmVideoCellWt::setCellIndex(int cellIndex)
{
    index = cellIndex;
}

int AlarmVideoCellWt::cellIndex() const
{
    return index;
}

void AlarmVideoCellWt::setAlarm(const VIG_AlarmInfo& alarm)
{
    prepare();
    ui->stackedWidget->setCurrentIndex(0);
    checkWt->setAlarm(alarm);
}

bool AlarmVideoCellWt::prepare()
{
    if (checkWt)
        return false;
    createCheckWidget();
    return true;
}

void AlarmVideoCellWt::createCheckWidget()
{
    checkWt = new AlarmVideoCheckWt(this);
    // Inserted in front of the wait widget, which stays on show.
    ui->stackedWidget->insertWidget(0, checkWt);
    connect(checkWt, &AlarmVideoCheckWt::signalAllAlarmsHandledSuccess, this,
            &AlarmVideoCellWt::slotAllAlarmsHandledSuccess);
    connect(checkWt, &AlarmVideoCheckWt::signalHandlingEnded, this,
            [this](const QString& probeUid) { emit signalHandlingEnded(probeUid, index); });
}

void AlarmVideoCellWt::addAlarm(const VIG_AlarmInfo& alarm)
{
    // Every caller starts the cell first; a stray alarm still finds a place.
    if (!checkWt) {
        setAlarm(alarm);
        return;
    }
    checkWt->addAlarm(alarm);
}

bool AlarmVideoCellWt::isHandling() const
{
    return checkWt && checkWt->isHandling();
}

AlarmMonitorVideoPanel* AlarmVideoCellWt::videoPanel() const
{
    return checkWt ? checkWt->videoPanel() : nullptr;
}

AlarmVideoCheckWt* AlarmVideoCellWt::checkWidget() const
{
    return checkWt;
}

bool AlarmVideoCellWt::isWaiting() const
{
    return !checkWt || ui->stackedWidget->currentWidget() != checkWt;
}

void AlarmVideoCellWt::slotAllAlarmsHandledSuccess(const QString& probeUid)
{
    if (ui->stackedWidget->count() > 1)
        ui->stackedWidget->setCurrentIndex(1);
    emit signalAllAlarmsHandledSuccess(probeUid, index);
}

} // namespace VIG_ALARM_MOUDLE
