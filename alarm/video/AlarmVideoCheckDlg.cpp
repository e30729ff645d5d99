#include "video/AlarmVideoCheckDlg.h"

#include "ui_AlarmVideoCheckDlg.h"

#include "video/AlarmMonitorVideoPanel.h"
#include "video/AlarmVideoCellWt.h"

#include "BusinessConfig.h"
#include "SystemBasicInfo.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUuid>
#include <QWindow>

namespace VIG_ALARM_MOUDLE {

namespace {
const int CellMargin = 10;
const int NarrowWidth = 980;
const int MapWidth = 1300;
} // namespace

AlarmVideoCheckDlg::AlarmVideoCheckDlg(QWidget* parent)
    : MoveableDialog(parent, true), ui(new Ui::AlarmVideoCheckDlg), dlgUid(QUuid::createUuid().toString())
{
    setWindowFlags(windowFlags() | Qt::Dialog | Qt::FramelessWindowHint);
    ui->setupUi(this);

    videoCell = new AlarmVideoCellWt(this);
    videoCell->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    // Shown with the dialog only: a cell shown now would stand alone on the screen while a dialog built
    // ahead of its alarm waits hidden.
    videoCell->installEventFilter(this);
    connect(videoCell, &AlarmVideoCellWt::signalAllAlarmsHandledSuccess, this,
            &AlarmVideoCheckDlg::slotAllAlarmsHandledSuccess);
}

AlarmVideoCheckDlg::~AlarmVideoCheckDlg() = default;

AlarmVideoCellWt* AlarmVideoCheckDlg::cell() const
{
    return videoCell;
}

QString AlarmVideoCheckDlg::uid() const
{
    return dlgUid;
}

void AlarmVideoCheckDlg::slotAllAlarmsHandledSuccess(const QString& probeId, int cellIndex)
{
    Q_UNUSED(cellIndex)
    emit signalAllAlarmsHandledSuccess(probeId, dlgUid);
}

void AlarmVideoCheckDlg::placeCell()
{
    if (!videoCell)
        return;
    // Where the dialog is asked to be: the X server, which mapToGlobal asks, may not have moved it yet, and
    // no move event follows when it does.
    const QPoint topLeft = geometry().topLeft();
    videoCell->setGeometry(topLeft.x() + CellMargin, topLeft.y() + CellMargin, width() - 2 * CellMargin,
                           height() - 2 * CellMargin);
}

// Without a window manager nothing keeps an owned window above its owner: whoever raises the dialog raises
// its cell with it.
bool AlarmVideoCheckDlg::event(QEvent* event)
{
    const bool done = MoveableDialog::event(event);
    if (event->type() == QEvent::ZOrderChange && videoCell && videoCell->isVisible())
        videoCell->raise();
    return done;
}

bool AlarmVideoCheckDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Watched on the windows, before any widget takes the press: a click on the video, the map or the text
    // brings the pop-up forward as one on the frame does.
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == windowHandle() || watched == videoCell->windowHandle())) {
        raise();
        emit signalCurTopDlg(this);
    }
    if (watched == videoCell) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            mousePress(static_cast<QMouseEvent*>(event)->globalPos());
            emit signalCurTopDlg(this);
            break;
        case QEvent::MouseButtonRelease:
            mouseRelease();
            break;
        case QEvent::MouseMove:
            mouseMove(static_cast<QMouseEvent*>(event)->globalPos());
            break;
        case QEvent::MouseButtonDblClick:
            emit signalCurTopDlg(this);
            break;
        case QEvent::Close:
            // A window manager's close of the floating cell would leave the dialog holding a hidden probe.
            if (event->spontaneous()) {
                event->ignore();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AlarmVideoCheckDlg::mousePressEvent(QMouseEvent* event)
{
    MoveableDialog::mousePressEvent(event);
    emit signalCurTopDlg(this);
}

void AlarmVideoCheckDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    QWidget::mouseDoubleClickEvent(event);
    emit signalCurTopDlg(this);
}

void AlarmVideoCheckDlg::keyPressEvent(QKeyEvent* event)
{
    // Only handling the alarms closes a pop-up.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AlarmVideoCheckDlg::moveEvent(QMoveEvent* event)
{
    MoveableDialog::moveEvent(event);
    placeCell();
    if (AlarmMonitorVideoPanel* panel = videoCell ? videoCell->videoPanel() : nullptr)
        panel->parentMoved();
}

void AlarmVideoCheckDlg::resizeEvent(QResizeEvent* event)
{
    placeCell();
    MoveableDialog::resizeEvent(event);
}

void AlarmVideoCheckDlg::showEvent(QShowEvent* event)
{
    const bool withMap =
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().checkUserPermission(QStringLiteral("VIEW_MAP")) &&
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().showAlarmMap;
    setFixedWidth(withMap ? MapWidth : NarrowWidth);
    MoveableDialog::showEvent(event);
}

void AlarmVideoCheckDlg::setVisible(bool visible)
{
    MoveableDialog::setVisible(visible);
    if (visible && isVisible())
        showCell();
}

// After the dialog's window is mapped, and owned by it: a window manager keeps an owned window above its
// owner through every raise and activation, and maps it above the owner only once the owner is managed.
void AlarmVideoCheckDlg::showCell()
{
    videoCell->winId();
    videoCell->windowHandle()->setTransientParent(windowHandle());
    placeCell();
    videoCell->show();
    // A nudge and back, so that the floating window lays out and paints at its place.
    const QRect place = videoCell->geometry();
    videoCell->setGeometry(place.x() + 1, place.y() + 1, place.width() - 2, place.height() - 2);
    videoCell->setGeometry(place);
    videoCell->raise();
    // Installed again at each show: a window may be made anew.
    windowHandle()->installEventFilter(this);
    videoCell->windowHandle()->installEventFilter(this);
}

void AlarmVideoCheckDlg::hideEvent(QHideEvent* event)
{
    videoCell->hide();
    MoveableDialog::hideEvent(event);
}

// Only handling its alarms frees a pop-up: a hidden dialog still holding its probe would be taken as free and
// reused for another probe. The window system's close (Alt+F4, a close button) is refused like Escape.
void AlarmVideoCheckDlg::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    MoveableDialog::closeEvent(event);
}

} // namespace VIG_ALARM_MOUDLE
