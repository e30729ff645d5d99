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

QRect AlarmVideoCheckDlg::cellPlace() const
{
    // Where the dialog is asked to be: the X server, which mapToGlobal asks, may not have moved it yet, and
    // no move event follows when it does.
    return geometry().adjusted(CellMargin, CellMargin, -CellMargin, -CellMargin);
}

void AlarmVideoCheckDlg::placeCell()
{
    if (videoCell)
        videoCell->setGeometry(cellPlace());
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
    const bool onWindow = watched == windowHandle() || watched == videoCell->windowHandle();
    if (onWindow && event->type() == QEvent::MouseButtonPress) {
        raise();
        emit signalCurTopDlg(this);
    }
    if (onWindow && event->type() == QEvent::Expose)
        checkCellPlace();
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
    placeCellAnew();
    videoCell->raise();
    // Installed again at each show: a window may be made anew.
    windowHandle()->installEventFilter(this);
    videoCell->windowHandle()->installEventFilter(this);
}

// A window manager busy placing the dialog may drop a move of its cell: where the X server shows the cell
// counts, and the cell is asked to move again when it stands elsewhere.
void AlarmVideoCheckDlg::checkCellPlace()
{
    if (videoCell->isVisible() && videoCell->mapToGlobal(QPoint(0, 0)) != cellPlace().topLeft())
        placeCellAnew();
}

// A nudge and back: the window system is asked to move the cell even where Qt takes it to stand already, and
// the floating window lays out and paints at its place.
void AlarmVideoCheckDlg::placeCellAnew()
{
    const QRect place = cellPlace();
    videoCell->setGeometry(place.adjusted(1, 1, -1, -1));
    videoCell->setGeometry(place);
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
