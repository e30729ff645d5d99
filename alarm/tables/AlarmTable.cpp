#include "tables/AlarmTable.h"

#include "frame/AlarmOperator.h"
#include "frame/AlarmSignals.h"
#include "handling/AlarmHandlingBatch.h"
#include "handling/AlarmQuestionMarks.h"
#include "handling/HandleAlarmDlg.h"
#include "service/AlarmBusiness.h"
#include "tables/AlarmTakenDelegate.h"

#include "AlarmPresence.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "MessageBoxW.h"
#include "ModuleAccessSignals.h"

#include "frame/AlarmMutexLocker.h"
#include <QAbstractItemModel>
#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPair>
#include <QScrollBar>
#include <QSet>
#include <QVector>

namespace VIG_ALARM_MOUDLE {

namespace {

enum Column {
    StoreUidColumn = 0,
    DeviceIdColumn,
    DeviceNameColumn,
    TypeKeyColumn,
    TypeDescriptionColumn,
    SubTypeKeyColumn,
    ProbeIdColumn,
    DescribeColumn,
    LastHandleNoteColumn,
    StateColumn,
    AlarmTimeColumn,
    ChannelIndexColumn,
    FirstShownColumn, // the new or handled alarm time
    PrincipalColumn = 17,
    PrincipalTelColumn,
    SubTypeDescriptionColumn,
    DescriptionColumn,
    ColumnCount,
};

const int ShownColumnWidth = 150;
const int RowHeight = 34;
const int MenuHoverMargin = 8;

QString textAt(const QTableWidget& table, int row, int column)
{
    const QTableWidgetItem* cell = table.item(row, column);
    return cell ? cell->text() : QString();
}

QString storeWord()
{
    return VIG_SYSTEM_MODULE::BusinessConfig::_instance().getSystemCustomizeInfoFromCache().storeWord;
}

} // namespace

AlarmTable::AlarmTable(QWidget* parent)
    : VIG_BASE_MODULE::TableWidget(parent)
    , contentMenu(new QMenu(this))
    , dealAlarmAction(new QAction(QObject::tr("Deal Alarm"), this))
    , mistakenAlarmAction(new QAction(QObject::tr("Mistaken Alarm"), this))
    , deleteAlarmAction(new QAction(QObject::tr("Delete Alarm"), this))
    , handlingBatch(new AlarmHandlingBatch(this))
{
    init();
    initMenu();
    connectSignalsWithSlots();
}

AlarmTable::~AlarmTable() = default;

void AlarmTable::init()
{
    const QString word = storeWord();
    setHeaderViewColumnName({QStringLiteral("storeUid"),
                             QStringLiteral("deviceId"),
                             QStringLiteral("deviceName"),
                             QStringLiteral("typeKey"),
                             QStringLiteral("typeDescription"),
                             QStringLiteral("subTypeKey"),
                             QStringLiteral("probeId"),
                             QStringLiteral("describe"),
                             QStringLiteral("lastHandleNote"),
                             QStringLiteral("state"),
                             QStringLiteral("Alarm Time"),
                             QStringLiteral("channelIndex"),
                             QObject::tr("New(Handled) Alarm Time"),
                             word + QObject::tr("_Name"),
                             QObject::tr("Probe Info"),
                             word + QObject::tr("_Keeper Tel"),
                             word + QObject::tr("_Owner_Tel"),
                             QObject::tr("Principal"),
                             QObject::tr("principal Tel"),
                             QObject::tr("subTypeDescription"),
                             QObject::tr("New(Handled) Alarm Description")});
    for (int column = 0; column < FirstShownColumn; ++column)
        hideColumn(column);
    for (int column = FirstShownColumn; column < ColumnCount - 1; ++column)
        setColumnWidth(column, ShownColumnWidth);

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setShowGrid(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setStretchLastSection(true);
    horizontalScrollBar()->setProperty("VIG_TableScrollBar", true);
    verticalScrollBar()->setProperty("VIG_TableScrollBar", true);
    setOrderBySectionEnabled(true);
    setItemDelegateForColumn(FirstShownColumn, new AlarmTakenDelegate(this));
}

void AlarmTable::initMenu()
{
    contentMenu->setProperty("VIG_main_menu", true);
    contentMenu->addAction(dealAlarmAction);
    contentMenu->addAction(mistakenAlarmAction);
    contentMenu->addAction(deleteAlarmAction);
    contentMenu->installEventFilter(this);
    contentMenu->setToolTipsVisible(true); // why Deal and Mistaken are held back
    setActionNormalIcon();
    updateHandleActions();
}

void AlarmTable::connectSignalsWithSlots()
{
    connect(this, &QAbstractItemView::doubleClicked, this, &AlarmTable::slotAlarmDoubleClicked);
    connect(&AlarmSignals::_instance(), &AlarmSignals::signalHandleAlarmResult, this,
            &AlarmTable::slotHandleAlarmResult);
    connect(contentMenu, &QMenu::hovered, this, &AlarmTable::slotContentMenuHovered);
    connect(contentMenu, &QMenu::triggered, this, &AlarmTable::slotContentMenuTriggered);
    connect(handlingBatch, &AlarmHandlingBatch::signalAlarmSucceeded, this, &AlarmTable::alarmHandled);
    connect(handlingBatch, &AlarmHandlingBatch::signalFinished, this,
            [this](const QStringList&, bool anyFailed, bool) { handlingFinished(anyFailed); });
    AlarmPresence* presence = AlarmOperator::presence();
    connect(presence, &AlarmPresence::takenChanged, this, &AlarmTable::showTaken);
    const auto changed = [this] {
        ++selectionChanges;
    };
    QAbstractItemModel* itemModel = model();
    connect(itemModel, &QAbstractItemModel::rowsInserted, this, changed);
    connect(itemModel, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(itemModel, &QAbstractItemModel::rowsMoved, this, changed);
    connect(itemModel, &QAbstractItemModel::modelReset, this, changed);
    connect(itemModel, &QAbstractItemModel::layoutChanged, this, changed);
    connect(itemModel, &QAbstractItemModel::dataChanged, this, changed);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
    connect(presence, &AlarmPresence::selfChanged, this, &AlarmTable::updateHandleActions);
}

VIG_AlarmInfo AlarmTable::getAlarmInfo(int row)
{
    VIG_AlarmInfo info;
    flushPendingRows(); // queued rows are rows too
    if (row < 0 || row >= rowCount())
        return info;
    const auto cellText = [this, row](int column) {
        return textAt(*this, row, column);
    };
    info.alarmUid = getRowKeyValue(row);
    info.storeUid = cellText(StoreUidColumn);
    info.deviceId = cellText(DeviceIdColumn);
    info.deviceName = cellText(DeviceNameColumn);
    info.typeKey = cellText(TypeKeyColumn);
    info.typeDescription = cellText(TypeDescriptionColumn);
    info.subTypeKey = cellText(SubTypeKeyColumn);
    info.probeId = cellText(ProbeIdColumn);
    info.describe = cellText(DescribeColumn);
    info.lastHandleNote = cellText(LastHandleNoteColumn);
    info.state = cellText(StateColumn).toInt(nullptr, 10);
    info.alarmTime = cellText(AlarmTimeColumn);
    info.channelIndex = cellText(ChannelIndexColumn).toInt(nullptr, 10);
    info.subTypeDescription = cellText(SubTypeDescriptionColumn);
    return info;
}

VIG_AlarmInfo AlarmTable::getAlarmInfo(const QString& alarmUid)
{
    return getAlarmInfo(getRowIndexByKeyValue(alarmUid));
}

bool AlarmTable::anyAlarmSelected()
{
    AlarmMutexLocker locker(&tableMutex);
    flushPendingRemovals();
    flushPendingRows();
    return !selectedRowsLocked(1).isEmpty();
}

QList<int> AlarmTable::selectedRowsLocked(int maxRows) const
{
    // The rows selectedItems() would give, in its order, from the selection's ranges: a list of every
    // selected cell costs much more than the rows when thousands are selected. Which columns are hidden is
    // asked once per range, not once per selected row.
    QList<int> rows;
    QVector<bool> taken;
    const QItemSelection ranges = selectionModel()->selection();
    for (const QItemSelectionRange& range : ranges) {
        QVector<int> shownColumns;
        for (int column = range.left(); column <= range.right(); ++column) {
            if (!isColumnHidden(column))
                shownColumns.append(column);
        }
        if (shownColumns.isEmpty())
            continue;
        if (taken.isEmpty())
            taken.resize(rowCount());
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (taken.at(row) || isRowHidden(row))
                continue;
            for (int column : qAsConst(shownColumns)) {
                if (item(row, column)) {
                    taken[row] = true;
                    rows.append(row);
                    if (rows.size() == maxRows)
                        return rows;
                    break;
                }
            }
        }
    }
    return rows;
}

QList<VIG_AlarmInfo> AlarmTable::getSelectedAlarms()
{
    AlarmMutexLocker locker(&tableMutex);
    flushPendingRemovals();
    flushPendingRows();
    QList<VIG_AlarmInfo> alarms;
    for (int row : selectedRowsLocked())
        alarms.append(getAlarmInfo(row));
    return alarms;
}

QStringList AlarmTable::getSelectedAlarmsUid()
{
    AlarmMutexLocker locker(&tableMutex);
    flushPendingRemovals();
    flushPendingRows();
    QStringList uids;
    for (int row : selectedRowsLocked())
        uids.append(getRowKeyValue(row));
    return uids;
}

QStringList AlarmTable::selectedAlarmsAgain(const QStringList& asked, quint64 askedAt)
{
    {
        AlarmMutexLocker locker(&tableMutex);
        flushPendingRemovals();
        flushPendingRows();
        // Reading thousands of selected rows holds the menu up; unchanged, they give the same list.
        if (selectionChanges == askedAt)
            return asked;
    }
    return getSelectedAlarmsUid();
}

void AlarmTable::deleteAlarm(const QString& alarmUid)
{
    deleteRowByKeyValue(alarmUid);
}

QString AlarmTable::takenBy(int row) const
{
    if (row < 0 || row >= rowCount() || textAt(*this, row, StateColumn).toInt(nullptr, 10) != AlarmNew)
        return QString();
    // The key straight from the row's first cell: asked while the view paints, which must not put queued
    // rows in under it (getRowKeyValue would).
    const QTableWidgetItem* first = item(row, 0);
    return first ? AlarmOperator::presence()->takenBy(first->data(Qt::UserRole).toString()) : QString();
}

void AlarmTable::showTaken(const QStringList& alarmUids)
{
    // Only the cells of the changed alarms: a storm of marks repaints no more than it changes.
    for (const QString& uid : alarmUids) {
        const int row = getRowIndexByKeyValue(uid);
        if (row >= 0 && row < rowCount())
            viewport()->update(visualRect(model()->index(row, FirstShownColumn)));
    }
}

void AlarmTable::updateHandleActions()
{
    AlarmOperator::enableHandling(dealAlarmAction);
    AlarmOperator::enableHandling(mistakenAlarmAction);
}

QStringList AlarmTable::getAlarmInfoValues(const VIG_AlarmInfo& info)
{
    const VIG_DATA_MODULE::BasicData& data = VIG_DATA_MODULE::BasicData::_instance();
    const VIG_DATA_MODULE::VIG_StoreInfo store = data.getStoreInfo(info.storeUid);
    return {info.storeUid,
            info.deviceId,
            info.deviceName,
            info.typeKey,
            info.typeDescription,
            info.subTypeKey,
            info.probeId,
            info.describe,
            info.lastHandleNote,
            QString::number(info.state),
            info.alarmTime,
            QString::number(info.channelIndex),
            info.alarmTime,
            store.storeName,
            data.getProbeInfo(info.probeId).probeName,
            store.keeperTel,
            store.ownerTel,
            store.principal,
            store.principalTel,
            info.subTypeDescription,
            isHandledState(info.state) ? info.lastHandleNote : info.describe};
}

QStringList AlarmTable::getHandledAlarmInfoValues(const VIG_AlarmProcess& process)
{
    // A handled row is the alarm's row with the handling's time, handler and note in their columns.
    QStringList values = getAlarmInfoValues(process);
    values[FirstShownColumn] = process.handleTime;
    values[PrincipalColumn] = process.principal;
    values[PrincipalTelColumn] = process.principalTel;
    values[DescriptionColumn] = process.handleNote;
    return values;
}

void AlarmTable::updateRowTextColorByAlarmHandleMode(int row, AlarmHandleMode mode)
{
    const QColor colour = stateColour(mode);
    if (colour.isValid())
        setRowTextColor(row, colour);
}

void AlarmTable::colourRowByState(int row, int state)
{
    // Only the four known states have a colour; anything else keeps the row as it is.
    if (state >= AlarmNew && state <= AlarmFinished)
        updateRowTextColorByAlarmHandleMode(row, static_cast<AlarmHandleMode>(state));
}

QColor AlarmTable::stateColour(int state)
{
    switch (state) {
    case AlarmNew:
        return QColor(QLatin1String("#ff6e89"));
    case AlarmDealt:
        return QColor(QLatin1String("#49cc90"));
    case AlarmMistaken:
    case AlarmFinished:
        return QColor(QLatin1String("#5d657e"));
    }
    return QColor();
}

void AlarmTable::handleSelectedAlarmsAsNormal()
{
    if (!AlarmOperator::mayHandle() || !anyAlarmSelected())
        return;
    emit AlarmSignals::_instance().signalCloseAlarmSound();

    const QStringList asked = getSelectedAlarmsUid();
    const quint64 askedAt = selectionChanges;
    AlarmQuestionMarks marks;
    HandlingAnswers answers;
    if (!marks.take(asked) || !HandleAlarmDlg::ask(asked.size(), &answers))
        return;
    // Rows may have left the table while the dialog was open.
    const QStringList uids = selectedAlarmsAgain(asked, askedAt);
    if (uids.isEmpty())
        return;
    sendHandling(uids, answers);
    marks.sent(uids);
    emitAlarmOutControlSignal();
}

void AlarmTable::handleSelectedAlarmsAsMistake()
{
    if (!AlarmOperator::mayHandle() || !anyAlarmSelected())
        return;
    emit AlarmSignals::_instance().signalCloseAlarmSound();

    const QStringList asked = getSelectedAlarmsUid();
    const quint64 askedAt = selectionChanges;
    AlarmQuestionMarks marks;
    if (!marks.take(asked))
        return;
    const QString question = QObject::tr("Are you sure false alarm?") + QLatin1Char('\n') +
                             QObject::tr("Alarms in this handling: %1").arg(asked.size());
    if (VIG_BASE_MODULE::MessageBoxW::information(nullptr, QString(), question,
                                                  VIG_BASE_MODULE::MessageBoxW::OkCancelButtons) !=
        VIG_BASE_MODULE::MessageBoxW::Confirmed)
        return;
    const QStringList uids = selectedAlarmsAgain(asked, askedAt);
    if (uids.isEmpty())
        return;
    sendHandling(uids, HandlingAnswers::falseAlarm());
    marks.sent(uids);
    emitAlarmOutControlSignal();
}

QStringList AlarmTable::stillNew(const QStringList& uids)
{
    QStringList left;
    for (const QString& uid : uids) {
        if (getAlarmInfo(uid).state == AlarmNew)
            left.append(uid);
    }
    return left;
}

void AlarmTable::sendHandling(QStringList uids, const HandlingAnswers& answers)
{
    lastRequest = answers;
    handlingBatch->start(uids);
    AlarmBusiness::_instance().handleAlarms(handlingBatch->requesterUuid(), uids, answers.note, answers.mode,
                                            answers.informKeeper);
}

void AlarmTable::deleteSelectedAlarmFromTable()
{
    if (!anyAlarmSelected())
        return;
    if (VIG_BASE_MODULE::MessageBoxW::information(
            nullptr, QString(),
            QObject::tr("Are you sure delete selected alarms from table,you can search them from alarm "
                        "records again"),
            VIG_BASE_MODULE::MessageBoxW::OkCancelButtons) != VIG_BASE_MODULE::MessageBoxW::Confirmed)
        return;
    const QList<VIG_AlarmInfo> alarms = getSelectedAlarms();
    // Straight to the host's removal: the derived deleteAlarm takes tableMutex itself, and the menu's removal
    // is not a handling, so no count is reported for it.
    AlarmMutexLocker locker(&tableMutex);
    for (const VIG_AlarmInfo& alarm : alarms)
        deleteRowByKeyValue(alarm.alarmUid);
}

void AlarmTable::setActionNormalIcon()
{
    dealAlarmAction->setIcon(QIcon(QStringLiteral(":/images/handleAlarm_normal.png")));
    mistakenAlarmAction->setIcon(QIcon(QStringLiteral(":/images/falseAlarm_normal.png")));
    deleteAlarmAction->setIcon(QIcon(QStringLiteral(":/menu/images/menu_delete_normal.png")));
}

QStringList AlarmTable::getSelectedDevicesAlarmOutLinkedDevices()
{
    // Handled alarms have had their outputs switched off already. Outputs may follow the probe's channels,
    // so each device is asked about every probe of the selection, once per pair.
    QList<QPair<QString, QString>> newAlarmSources; // device and probe
    {
        AlarmMutexLocker locker(&tableMutex);
        flushPendingRemovals();
        flushPendingRows();
        QSet<QPair<QString, QString>> sources;
        const QString newState = QString::number(AlarmNew); // as the rows write it
        // Only the cells asked about: whole records of thousands of selected rows would hold the menu up.
        for (int row : selectedRowsLocked()) {
            const QString state = textAt(*this, row, StateColumn);
            if (state != newState && state.toInt(nullptr, 10) != AlarmNew)
                continue;
            const auto source =
                qMakePair(textAt(*this, row, DeviceIdColumn), textAt(*this, row, ProbeIdColumn));
            const int known = sources.size();
            sources.insert(source);
            if (sources.size() != known)
                newAlarmSources.append(source);
        }
    }
    // Asked after the table's lock is released: the business object's lock is never nested in it.
    QStringList linkedDevices;
    for (const auto& source : qAsConst(newAlarmSources))
        linkedDevices.append(
            AlarmBusiness::_instance().getAlarmOutLinkedDevices(source.first, source.second));
    linkedDevices.removeDuplicates();
    return linkedDevices;
}

void AlarmTable::emitAlarmOutControlSignal()
{
    emit VIG_CONTACT_MODULE::ModuleAccessSignals::_instance().signalCloseAlarmOut(
        getSelectedDevicesAlarmOutLinkedDevices());
}

bool AlarmTable::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == contentMenu && event->type() == QEvent::MouseMove) {
        // Leaving the menu by its edge sends no hover for "no action", so the hovered icon is reset here.
        const QRect inner = contentMenu->geometry().adjusted(MenuHoverMargin, MenuHoverMargin,
                                                             -MenuHoverMargin, -MenuHoverMargin);
        if (!inner.contains(QCursor::pos()))
            setActionNormalIcon();
    }
    return VIG_BASE_MODULE::TableWidget::eventFilter(watched, event);
}

void AlarmTable::focusOutEvent(QFocusEvent* event)
{
    // The selection keeps its look while the menu or a dialog has the focus.
    Q_UNUSED(event);
}

void AlarmTable::contextMenuEvent(QContextMenuEvent* event)
{
    if (!itemAt(event->pos()))
        return;
    VIG_BASE_MODULE::TableWidget::contextMenuEvent(event);
    contentMenu->popup(QCursor::pos());
}

void AlarmTable::slotAlarmDoubleClicked(QModelIndex index)
{
    Q_UNUSED(index);
}

void AlarmTable::slotContentMenuHovered(QAction* action)
{
    setActionNormalIcon();
    if (action == dealAlarmAction)
        action->setIcon(QIcon(QStringLiteral(":/images/handleAlarm_hover.png")));
    else if (action == mistakenAlarmAction)
        action->setIcon(QIcon(QStringLiteral(":/images/falseAlarm_hover.png")));
    else if (action == deleteAlarmAction)
        action->setIcon(QIcon(QStringLiteral(":/menu/images/menu_delete_hover.png")));
}

void AlarmTable::slotContentMenuTriggered(QAction* action)
{
    setActionNormalIcon();
    if (action == dealAlarmAction)
        handleSelectedAlarmsAsNormal();
    else if (action == mistakenAlarmAction)
        handleSelectedAlarmsAsMistake();
    else if (action == deleteAlarmAction)
        deleteSelectedAlarmFromTable();
}

void AlarmTable::slotHandleAlarmResult(const QString& uuid, const QString& alarmUid, int result,
                                       const QString& errorMsg)
{
    handlingBatch->slotHandleAlarmResult(uuid, alarmUid, result, errorMsg);
}

void AlarmTable::alarmHandled(const QString& alarmUid)
{
    AlarmSignals& hub = AlarmSignals::_instance();
    VIG_AlarmInfo handled = getAlarmInfo(alarmUid);
    handled.alarmUid = alarmUid; // the row may have left the table before the answer came
    emit hub.signalAlarmHandledNotInVideoMonitorWt(handled);
    emit hub.signalDeleteAlarmFromMonitorTable(alarmUid);
    emit hub.signalUpdateAlarmHandledNotesInDetailCheckWt(alarmUid);
}

void AlarmTable::handlingFinished(bool anyFailed)
{
    // Results missing at the time-out are not reported: the wait dialog said enough.
    emit signalHandleAlarmFromTableWtCompleted();
    if (!anyFailed)
        return;
    const QStringList unhandled = handlingBatch->unhandledUids();
    const QString reason = handlingBatch->failureReason();
    if (lastRequest.mode == AlarmMistaken) {
        VIG_BASE_MODULE::MessageBoxW::information(nullptr, QString(), handlingBatch->failureText(),
                                                  VIG_BASE_MODULE::MessageBoxW::OkButton);
        return;
    }
    // The operator's note is not lost: the dialog comes back with it for the alarms still new.
    QMetaObject::invokeMethod(
        this,
        [this, unhandled, reason] {
            HandlingAnswers answers = lastRequest;
            AlarmQuestionMarks marks;
            if (handlingBatch->isOpen() || stillNew(unhandled).isEmpty() || !AlarmOperator::mayHandle() ||
                !marks.take(stillNew(unhandled)) ||
                !HandleAlarmDlg::ask(stillNew(unhandled).size(), &answers, reason))
                return;
            // Another request may have started, or the alarms been handled, while the dialog was open.
            const QStringList left = stillNew(unhandled);
            if (!handlingBatch->isOpen() && !left.isEmpty()) {
                sendHandling(left, answers);
                marks.sent(left);
            }
        },
        Qt::QueuedConnection);
}

} // namespace VIG_ALARM_MOUDLE
