#include "records/AlarmRecordSearchWt.h"

#include "frame/AlarmSignals.h"
#include "records/AlarmRecordTable.h"
#include "service/AlarmBusiness.h"

#include "ui_AlarmRecordSearchWt.h"

#include "BusinessConfig.h"
#include "MessageBoxW.h"
#include "ModuleInitialization.h"
#include "NoFocusStyledItemDelegate.h"
#include "StoreData.h"
#include "WaitDialog.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCompleter>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QTableWidgetItem>
#include <QTextCharFormat>
#include <QUuid>

namespace VIG_ALARM_MOUDLE {

namespace {

const int DescriptionColumn = 20;
const int WaitTimeoutMs = 60000;
// The service's state filter for alarms in every state.
const int AnyState = 0;
const int CompleterVisibleItems = 5;
// The list's frame and the items' padding, beside the longest name.
const int StoreListMargin = 24;
const char DateFormat[] = "yyyy-MM-dd";

QString storeWord()
{
    return VIG_SYSTEM_MODULE::BusinessConfig::_instance().getSystemCustomizeInfoFromCache().storeWord;
}

void styleCalendar(QCalendarWidget* calendar, const QLocale& locale)
{
    if (!calendar)
        return;
    calendar->setProperty("VIG_Calendar", true);
    calendar->setLocale(locale);
    calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    calendar->setFirstDayOfWeek(Qt::Monday);
    QTextCharFormat weekend = calendar->weekdayTextFormat(Qt::Saturday);
    weekend.setForeground(QColor(QStringLiteral("#eceff4")));
    calendar->setWeekdayTextFormat(Qt::Saturday, weekend);
    calendar->setWeekdayTextFormat(Qt::Sunday, weekend);
}

} // namespace

AlarmRecordSearchWt::AlarmRecordSearchWt(QWidget* parent)
    : ColouredWidget(parent), ui(new Ui::AlarmRecordSearchWt)
{
    qRegisterMetaType<VIG_AlarmInfo>("VIG_AlarmInfo");
    ui->setupUi(this);

    initStyle();
    connectSignalsWithSlots();

    const QDate today = QDate::currentDate();
    ui->startTimeEdit->setDate(today);
    ui->endTimeEdit->setDate(today);
    initStoreItems();
    initStoreCompleter();
    initStateItems();

    searchDefaultUnhandled();
    updatePageButtons();
}

AlarmRecordSearchWt::~AlarmRecordSearchWt() = default;

void AlarmRecordSearchWt::initStyle()
{
    setColor("#2b2f3a");
    ui->storeLabel->setText(storeWord() + QObject::tr(":"));

    ui->alarmRecordWt->setProperty("VIG_AlarmRecords", true);
    ui->searchBt->setProperty("VIG_public_commonbt", true);
    ui->searchBt->setProperty("VIG_RecordSearch", true);
    ui->alarmRecordTab->setProperty("VIG_public_Table_style_1", true);
    pageLabel = new QLabel(ui->pageTurningWt);
    pageLabel->setObjectName(QStringLiteral("pageLabel"));
    pageLabel->setProperty("VIG_SearchInfo", true);
    if (auto* box = qobject_cast<QHBoxLayout*>(ui->pageTurningWt->layout()))
        box->insertWidget(box->count() - 4, pageLabel); // before the four page buttons
    for (QLabel* label : {ui->startTimeLabel, ui->endTimeLabel, ui->storeLabel, ui->alarmStateLabel})
        label->setProperty("VIG_SearchInfo", true);

    for (QComboBox* combo : {ui->storeComBx, ui->alarmStateComBx}) {
        combo->setProperty("VIG_AlarmRecods", true);
        combo->setItemDelegate(new VIG_BASE_MODULE::NoFocusStyledItemDelegate(combo));
        combo->lineEdit()->setAlignment(Qt::AlignCenter);
    }
    ui->storeComBx->view()->verticalScrollBar()->setProperty("VIG_storeTreeScrollBar", true);
    // The state is only picked from the list; a press on its text opens the list (eventFilter).
    ui->alarmStateComBx->lineEdit()->setReadOnly(true);
    ui->alarmStateComBx->lineEdit()->installEventFilter(this);
    ui->alarmStateComBx->installEventFilter(this);

    for (QDateEdit* edit : {ui->startTimeEdit, ui->endTimeEdit}) {
        edit->setProperty("VIG_DateEdit", true);
        edit->setAlignment(Qt::AlignCenter);
    }
    // The calendars speak the host's language, as the module's texts do.
    const bool english = VIG_BASE_MODULE::ModuleInitialization::language() == QLatin1String("en");
    styleCalendar(ui->startTimeEdit->calendarWidget(), english
                                                           ? QLocale(QLocale::English, QLocale::UnitedStates)
                                                           : QLocale(QLocale::Chinese, QLocale::China));
    styleCalendar(ui->endTimeEdit->calendarWidget(), english
                                                         ? QLocale(QLocale::English, QLocale::UnitedStates)
                                                         : QLocale(QLocale::Chinese, QLocale::AnyCountry));
}

void AlarmRecordSearchWt::connectSignalsWithSlots()
{
    connect(ui->searchBt, &QPushButton::clicked, this, &AlarmRecordSearchWt::slotSearchBtCliced);
    AlarmSignals& hub = AlarmSignals::_instance();
    connect(&hub, &AlarmSignals::signalAlarmRecordsCount, this, &AlarmRecordSearchWt::slotAlarmRecordsCount);
    connect(&hub, &AlarmSignals::signalAlarmRecordsInfo, this, &AlarmRecordSearchWt::slotAlarmRecordsInfo);
    connect(ui->startTimeEdit, &QDateEdit::dateChanged, this, &AlarmRecordSearchWt::slotDateStartTimeChanged);
    connect(ui->endTimeEdit, &QDateEdit::dateChanged, this, &AlarmRecordSearchWt::slotDateEndTimeChanged);
    connect(ui->pageTurningWt, &VIG_BASE_MODULE::PageTurningWidget::signalSetNumPerPage, this,
            &AlarmRecordSearchWt::slotCountPerPageChanged);
    connect(ui->pageTurningWt, &VIG_BASE_MODULE::PageTurningWidget::signalPageChanged, this,
            &AlarmRecordSearchWt::slotPageChange);
    connect(ui->storeComBx->lineEdit(), &QLineEdit::editingFinished, this,
            &AlarmRecordSearchWt::slotStoreNameEditFinished);
    connect(ui->alarmRecordTab, &AlarmTable::signalHandleAlarmFromTableWtCompleted, this,
            &AlarmRecordSearchWt::slotHandleAlarmFromTableWtCompleted);
}

void AlarmRecordSearchWt::initStoreItems()
{
    ui->storeComBx->addItem(QObject::tr("_All") + storeWord(), QString(""));
    const QVector<VIG_DATA_MODULE::VIG_StoreBriefInfo> stores =
        VIG_DATA_MODULE::StoreData::_instance().getAllOpenedStoresBriefInfo();
    for (const VIG_DATA_MODULE::VIG_StoreBriefInfo& store : stores)
        ui->storeComBx->addItem(store.storeName, store.storeUid);
    // The list is as wide as the longest name, not as the box.
    QAbstractItemView* list = ui->storeComBx->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width() +
                          2 * list->frameWidth() + StoreListMargin);
}

void AlarmRecordSearchWt::initStoreCompleter()
{
    auto* completer = new QCompleter(ui->storeComBx->model(), this);
    completer->setFilterMode(Qt::MatchContains);
    completer->setMaxVisibleItems(CompleterVisibleItems);
    ui->storeComBx->setCompleter(completer);

    QAbstractItemView* popup = completer->popup();
    popup->setItemDelegate(new VIG_BASE_MODULE::NoFocusStyledItemDelegate(popup));
    popup->setProperty("VIG_Store_Popup", true);
    popup->verticalScrollBar()->setProperty("VIG_storeTreeScrollBar", true);
    popup->setMinimumWidth(ui->storeComBx->view()->minimumWidth());
}

void AlarmRecordSearchWt::initStateItems()
{
    ui->alarmStateComBx->addItem(QObject::tr("All"), AnyState);
    ui->alarmStateComBx->addItem(QObject::tr("New"), int(AlarmNew));
    ui->alarmStateComBx->addItem(QObject::tr("Dealt"), int(AlarmDealt));
    ui->alarmStateComBx->addItem(QObject::tr("Mistaken"), int(AlarmMistaken));
    ui->alarmStateComBx->addItem(QObject::tr("Finished"), int(AlarmFinished));
}

void AlarmRecordSearchWt::setDescriptionHeader(int state)
{
    QTableWidgetItem* header = ui->alarmRecordTab->horizontalHeaderItem(DescriptionColumn);
    if (!header)
        return;
    if (state == AnyState)
        header->setText(QObject::tr("New(Handled) Alarm Description"));
    else if (state == AlarmNew)
        header->setText(QObject::tr("New Alarm Description"));
    else
        header->setText(QObject::tr("Last Handled Alarm Description"));
}

int AlarmRecordSearchWt::pagesOf(int count) const
{
    return count / countPerPage + (count % countPerPage ? 1 : 0);
}

void AlarmRecordSearchWt::searchDefaultUnhandled()
{
    const QDate today = QDate::currentDate();
    const QDate monthAgo = today.addMonths(-1);
    startTime = monthAgo.toString(QLatin1String(DateFormat)) + QStringLiteral(" 00:00:00");
    endTime = today.toString(QLatin1String(DateFormat)) + QStringLiteral(" 23:59:59");
    currentPage = 1;
    searchStoreUid.clear();
    searchState = AlarmNew;
    interactiveSearch = false;

    ui->alarmStateComBx->setCurrentIndex(1);
    ui->storeComBx->setCurrentIndex(0);
    ui->startTimeEdit->setDate(monthAgo);
    ui->endTimeEdit->setDate(today);

    setDescriptionHeader(searchState);
    requestRecordsCount();
}

bool AlarmRecordSearchWt::eventFilter(QObject* watched, QEvent* event)
{
    // Anywhere on the state box, its arrow and frame included. The list opens when the button goes up: opened
    // on the press, it would take the release over its current item for a choice and close at once.
    const QEvent::Type type = event->type();
    if ((watched == ui->alarmStateComBx->lineEdit() || watched == ui->alarmStateComBx) &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
         type == QEvent::MouseButtonRelease)) {
        if (type == QEvent::MouseButtonRelease)
            ui->alarmStateComBx->showPopup();
        return true;
    }
    return ColouredWidget::eventFilter(watched, event);
}

void AlarmRecordSearchWt::slotSearchBtCliced()
{
    startTime = ui->startTimeEdit->date().toString(QLatin1String(DateFormat)) + QStringLiteral(" 00:00:00");
    endTime = ui->endTimeEdit->date().toString(QLatin1String(DateFormat)) + QStringLiteral(" 23:59:59");
    currentPage = 1;
    searchStoreUid = ui->storeComBx->currentData().toString();
    searchState = ui->alarmStateComBx->currentData().toInt();
    interactiveSearch = true;
    setDescriptionHeader(searchState);
    requestRecordsCount();
}

void AlarmRecordSearchWt::showWait(const QString& text)
{
    VIG_BASE_MODULE::WaitDialog::_instance().showWaitDialog(text, waitRequester, WaitTimeoutMs);
}

void AlarmRecordSearchWt::hideWait()
{
    // Once timed out, the notice on show may be another view's.
    VIG_BASE_MODULE::WaitDialog& wait = VIG_BASE_MODULE::WaitDialog::_instance();
    if (wait.isShown() && wait.currentRequester() == waitRequester)
        wait.hideWaitDialog();
}

void AlarmRecordSearchWt::requestRecordsCount()
{
    // The search this one replaces gets no answer any more: its wait ends here.
    hideWait();
    pagesAwaited = 0;
    countRequester = QUuid::createUuid().toString();
    AlarmBusiness::_instance().getAlarmRecordsCount(searchStoreUid, startTime, endTime, searchState,
                                                    countRequester);
    if (interactiveSearch)
        showWait(QObject::tr("Getting the count of records."));
}

void AlarmRecordSearchWt::requestRecordsPage()
{
    ui->alarmRecordTab->deleteAllRows();
    ++pagesAwaited;
    AlarmBusiness::_instance().getAlarmRecords(searchStoreUid, startTime, endTime, searchState,
                                               (currentPage - 1) * countPerPage, countPerPage);
    if (interactiveSearch)
        showWait(QObject::tr("Getting the records info, please wait."));
}

void AlarmRecordSearchWt::updatePageButtons()
{
    ui->pageTurningWt->setPriviousButtomEnabled(currentPage > 1);
    ui->pageTurningWt->setNextButtomEnabled(currentPage < pageCount);
    pageLabel->setText(pageCount > 0
                           ? QObject::tr("Page %1 of %2").arg(qMin(currentPage, pageCount)).arg(pageCount)
                           : QObject::tr("No alarm matches the search."));
}

void AlarmRecordSearchWt::slotAlarmRecordsCount(int count, int result, const QString& errorMsg,
                                                const QString& requester)
{
    Q_UNUSED(errorMsg);
    if (countRequester.isEmpty() || requester != countRequester)
        return;
    countRequester.clear();
    hideWait();
    if (result != 0) {
        // Rows and pages of an older search would pass for this one's.
        ui->alarmRecordTab->deleteAllRows();
        recordsCount = 0;
        pageCount = 0;
        currentPage = 1;
        ui->pageTurningWt->setRecordsCount(0);
        updatePageButtons();
        // Not "no alarm matches": nothing is known of the matches.
        pageLabel->setText(QObject::tr("Get records count failed."));
        if (interactiveSearch)
            VIG_BASE_MODULE::MessageBoxW::information(nullptr, QString(),
                                                      QObject::tr("Get records count failed."),
                                                      VIG_BASE_MODULE::MessageBoxW::OkButton);
        return;
    }
    recordsCount = qMax(0, count);
    pageCount = pagesOf(recordsCount);
    ui->pageTurningWt->setRecordsCount(recordsCount);
    requestRecordsPage();
}

void AlarmRecordSearchWt::slotAlarmRecordsInfo(AlarmInfoVector alarmInfoList, int reslut,
                                               const QString& errorMsg)
{
    Q_UNUSED(errorMsg);
    if (pagesAwaited == 0)
        return;
    // A page turned again before its answer: each answer replaces the rows, the last one stays.
    --pagesAwaited;
    ui->alarmRecordTab->deleteAllRows();
    hideWait();
    if (reslut != 0) {
        if (interactiveSearch)
            VIG_BASE_MODULE::MessageBoxW::information(nullptr, QString(),
                                                      QObject::tr("Get records infomation failed."),
                                                      VIG_BASE_MODULE::MessageBoxW::OkButton);
        return;
    }
    // The operator's sort was of the rows this page replaces.
    ui->alarmRecordTab->clearSortOrder();
    for (const VIG_AlarmInfo& info : qAsConst(alarmInfoList))
        ui->alarmRecordTab->addAlarmRecord(info);
    updatePageButtons();
}

void AlarmRecordSearchWt::slotPageChange(VIG_BASE_MODULE::PAGETURNFLAG flag)
{
    switch (flag) {
    case VIG_BASE_MODULE::FIRST_PAGE:
        currentPage = 1;
        break;
    case VIG_BASE_MODULE::PREVIOUS_PAGE:
        --currentPage;
        break;
    case VIG_BASE_MODULE::NEXT_PAGE:
        ++currentPage;
        break;
    case VIG_BASE_MODULE::LAST_PAGE:
        currentPage = pageCount;
        break;
    }
    // The buttons keep the page in range; a stray request must still never ask for a negative first row.
    currentPage = qMax(1, currentPage);
    interactiveSearch = true;
    requestRecordsPage();
}

void AlarmRecordSearchWt::slotCountPerPageChanged(int count)
{
    // The page count is a division by it.
    if (count <= 0)
        return;
    countPerPage = count;
    currentPage = 1;
    interactiveSearch = true;
    pageCount = pagesOf(recordsCount);
    requestRecordsPage();
}

void AlarmRecordSearchWt::slotDateStartTimeChanged(QDate time)
{
    if (time > ui->endTimeEdit->date())
        ui->endTimeEdit->setDate(time);
}

void AlarmRecordSearchWt::slotDateEndTimeChanged(QDate time)
{
    if (time < ui->startTimeEdit->date())
        ui->startTimeEdit->setDate(time);
}

void AlarmRecordSearchWt::slotStoreNameEditFinished()
{
    QComboBox* stores = ui->storeComBx;
    const QString text = stores->currentText();
    if (text == stores->itemText(stores->currentIndex()))
        return;
    // A typed name that is exactly a store's selects it; anything else means all stores.
    const int index = stores->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    stores->setCurrentIndex(index < 0 ? 0 : index);
}

void AlarmRecordSearchWt::slotHandleAlarmFromTableWtCompleted()
{
    slotSearchBtCliced();
}

} // namespace VIG_ALARM_MOUDLE
