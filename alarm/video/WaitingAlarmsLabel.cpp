#include "video/WaitingAlarmsLabel.h"

#include "service/AlarmBusiness.h"

#include <QEvent>
#include <QTimer>

namespace VIG_ALARM_MOUDLE {

namespace {
const int HostMargin = 8;
const int FrameMs = 40;
} // namespace

WaitingAlarmsLabel::WaitingAlarmsLabel(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("VIG_ALARM_MOUDLE__WaitingAlarmsLabel"));
    setStyleSheet(QStringLiteral("color: #f5a623; background-color: #23262f; padding: 3px 8px;"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    connect(&AlarmBusiness::_instance(), &AlarmBusiness::signalWaitingAlarmsChanged, this,
            &WaitingAlarmsLabel::postRefresh);
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

// A burst changes the count many times in one turn: the label reads it once, after the turn, and during a
// long burst once a frame, as a screen would show it (each new text lays out the page under it, and repaints
// it).
void WaitingAlarmsLabel::postRefresh()
{
    if (refreshPosted)
        return;
    refreshPosted = true;
    const qint64 sinceLast = lastRefresh.isValid() ? lastRefresh.elapsed() : FrameMs;
    QTimer::singleShot(int(qMax<qint64>(0, FrameMs - sinceLast)), this, [this] { refresh(); });
}

void WaitingAlarmsLabel::refresh()
{
    refreshPosted = false;
    lastRefresh.start();
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
