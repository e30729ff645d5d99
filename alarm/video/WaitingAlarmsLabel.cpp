#include "video/WaitingAlarmsLabel.h"

#include "service/AlarmBusiness.h"

#include <QEvent>

namespace VIG_ALARM_MOUDLE {

namespace {
const int HostMargin = 8;
} // namespace

WaitingAlarmsLabel::WaitingAlarmsLabel(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("VIG_ALARM_MOUDLE__WaitingAlarmsLabel"));
    setStyleSheet(QStringLiteral("color: #f5a623; background-color: #23262f; padding: 3px 8px;"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    connect(&AlarmBusiness::_instance(), &AlarmBusiness::signalWaitingAlarmsChanged, this,
            [this] { refreshes.request(); });
    refresh();
}

WaitingAlarmsLabel::~WaitingAlarmsLabel() = default;

void WaitingAlarmsLabel::floatOver(QWidget* host)
{
    if (!host)
        return;
    if (parentWidget() != host) {
        if (parentWidget())
            parentWidget()->removeEventFilter(this);
        setParent(host);
    }
    host->installEventFilter(this);
    floating = true;
    refresh();
}

bool WaitingAlarmsLabel::eventFilter(QObject* watched, QEvent* event)
{
    if (floating && watched == parentWidget() && event->type() == QEvent::Resize)
        placeOverHost();
    return QLabel::eventFilter(watched, event);
}

void WaitingAlarmsLabel::refresh()
{
    waiting = AlarmBusiness::_instance().waitingAlarmCount();
    setText(QObject::tr("Alarms waiting for a free view: %1").arg(waiting));
    if (floating)
        placeOverHost();
    setVisible(waiting > 0);
}

void WaitingAlarmsLabel::placeOverHost()
{
    adjustSize();
    move(parentWidget()->width() - width() - HostMargin, HostMargin);
    raise();
}

} // namespace VIG_ALARM_MOUDLE
