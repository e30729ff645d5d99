#include "detail/AlarmInfoWidget.h"

#include "ui_AlarmInfoWidget.h"

#include "BasicData.h"
#include "BusinessConfig.h"

#include "WordwrapLabel.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace VIG_ALARM_MOUDLE {

namespace {
// The layout's margins and the spacing between the fourteen rows.
const int FrameHeight = 44;
// Laying out a wrapped text costs far more than linear time; a server's megabyte of text would freeze the
// UI thread for minutes. Nobody reads that much in a panel.
const int MaxShownLength = 2000;
} // namespace

QString AlarmInfoWidget::shownText(const QString& text)
{
    return text.size() > MaxShownLength ? text.left(MaxShownLength) + QChar(0x2026) : text;
}

AlarmInfoWidget::AlarmInfoWidget(QWidget* parent) : ColouredWidget(parent), ui(new Ui::AlarmInfoWidget)
{
    ui->setupUi(this);
    setColor("#23262f");
    headline = new ZCOMMON::WordwrapLabel(this);
    headline->setObjectName(QStringLiteral("alarmHeadline"));
    headline->setProperty("VIG_alarmHeadline", true);
    ui->verticalLayout->insertWidget(0, headline);

    const QString storeWord =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getSystemCustomizeInfoFromCache().storeWord;
    const QString colon = QObject::tr(":");
    ui->storeNameLabel->setText(storeWord + QObject::tr("_Name") + colon);
    ui->storeKeeperLabel->setText(storeWord + QObject::tr("_Keeper") + colon);
    ui->storeTelLabel->setText(storeWord + QObject::tr("_Keeper Tel") + colon);
    ui->storeOwnerLabel->setText(storeWord + QObject::tr("_Owner") + colon);
    ui->storeOwnerTelLabel->setText(storeWord + QObject::tr("_Owner_Tel") + colon);
    ui->storeAddressLabel->setText(storeWord + QObject::tr("_Address") + colon);

    // One column of names, each shown whole: the values wrap instead.
    int nameWidth = 0;
    const QList<QLabel*> names = findChildren<QLabel*>();
    for (QLabel* name : names) {
        name->ensurePolished();
        nameWidth = qMax(nameWidth, name->sizeHint().width());
    }
    for (QLabel* name : names)
        name->setMinimumWidth(nameWidth);
}

AlarmInfoWidget::~AlarmInfoWidget() = default;

void AlarmInfoWidget::setAlarmInfo(const VIG_AlarmInfo& alarm)
{
    const VIG_DATA_MODULE::BasicData& data = VIG_DATA_MODULE::BasicData::_instance();
    const VIG_DATA_MODULE::VIG_StoreInfo store = data.getStoreInfo(alarm.storeUid);
    ui->storeName->setText(store.storeName);
    ui->pirsInfo->setText(data.getProbeInfo(alarm.probeId).probeDescription);
    ui->storeKeeper->setText(store.keeper);
    ui->storeTel->setText(store.keeperTel);
    ui->storeOwner->setText(store.owner);
    ui->storeOwnerTel->setText(store.ownerTel);
    ui->responsible->setText(store.responsible);
    ui->responsibleTel->setText(store.responsibleTel);
    ui->storeAddress->setText(store.address);
    ui->payState->setText(store.payState);
    ui->alarmTime->setText(shownText(alarm.alarmTime));
    ui->alarmType->setText(shownText(alarm.typeDescription));
    ui->alarmSubType->setText(shownText(alarm.subTypeDescription));
    ui->alarmDescribe->setText(shownText(alarm.describe));

    QStringList what;
    for (const QString& text : {alarm.typeDescription, alarm.subTypeDescription}) {
        if (!text.isEmpty())
            what << shownText(text);
    }
    headline->setText(what.join(QStringLiteral(" \u00b7 ")) + QLatin1Char('\n') + shownText(alarm.alarmTime));
    fitHeight();
    scrollToTop();
}

void AlarmInfoWidget::scrollToTop()
{
    for (QWidget* above = parentWidget(); above; above = above->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(above)) {
            area->verticalScrollBar()->setValue(0);
            return;
        }
    }
}

void AlarmInfoWidget::showEvent(QShowEvent* event)
{
    ColouredWidget::showEvent(event);
    fitHeight();
}

void AlarmInfoWidget::fitHeight()
{
    if (isHidden())
        show();
    int height = FrameHeight + ui->verticalLayout->spacing() + headline->height();
    for (const ZCOMMON::WordwrapLabel* value : valueWidgets())
        height += value->height();
    setFixedHeight(height);
}

QVector<ZCOMMON::WordwrapLabel*> AlarmInfoWidget::valueWidgets() const
{
    return {ui->storeName,     ui->pirsInfo,    ui->storeKeeper,    ui->storeTel,     ui->storeOwner,
            ui->storeOwnerTel, ui->responsible, ui->responsibleTel, ui->storeAddress, ui->payState,
            ui->alarmTime,     ui->alarmType,   ui->alarmSubType,   ui->alarmDescribe};
}

} // namespace VIG_ALARM_MOUDLE
