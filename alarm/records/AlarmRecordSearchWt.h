#pragma once

#include "frame/VIG_AlarmInfo.h"

#include "ColouredWidget.h"
#include "PageTurningWidget.h"

#include <QDate>
#include <QString>
#include <QUuid>

#include <memory>

class QEvent;
class QLabel;

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class AlarmRecordSearchWt;
}

// The search of past alarms by period, store and state. A search asks for the number of matching records
// first, then for one page at a time; page requests keep the criteria of the last search, whatever the
// widgets show meanwhile. Only the operator's own searches show wait dialogs and failure messages.
class AlarmRecordSearchWt : public VIG_BASE_MODULE::ColouredWidget
{
    Q_OBJECT

public:
    explicit AlarmRecordSearchWt(QWidget* parent = nullptr);
    ~AlarmRecordSearchWt() override;

    // Last month's new alarms of all stores, without wait dialogs or failure messages.
    void searchDefaultUnhandled();

    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void slotSearchBtCliced();
    // Only the answer to this search's latest count request is taken.
    void slotAlarmRecordsCount(int count, int result, const QString& errorMsg,
                               const QString& requester = QString());
    void slotAlarmRecordsInfo(AlarmInfoVector alarmInfoList, int reslut, const QString& errorMsg);
    void slotPageChange(VIG_BASE_MODULE::PAGETURNFLAG flag);
    void slotCountPerPageChanged(int count);
    void slotDateStartTimeChanged(QDate time);
    void slotDateEndTimeChanged(QDate time);
    void slotStoreNameEditFinished();
    void slotHandleAlarmFromTableWtCompleted();

private:
    void initStyle();
    void connectSignalsWithSlots();
    void initStoreItems();
    void initStoreCompleter();
    void initStateItems();
    void setDescriptionHeader(int state);
    int pagesOf(int count) const;

    void requestRecordsCount();
    void requestRecordsPage();
    void updatePageButtons();
    void showWait(const QString& text);
    void hideWait();

    std::unique_ptr<Ui::AlarmRecordSearchWt> ui;
    qint32 countPerPage = 20;
    qint32 currentPage = 1;
    qint32 pageCount = 1;
    qint32 recordsCount = 0;
    QString startTime;
    QString endTime;
    // Empty for all stores.
    QString searchStoreUid;
    // 0 for all states, else an AlarmHandleMode.
    qint32 searchState = 0;
    bool interactiveSearch = false;
    // Sent with the count request and echoed by its answer: a new search makes older answers strangers.
    QString countRequester;
    // Page answers carry no requester; they arrive in the order asked, and only while one is awaited.
    int pagesAwaited = 0;
    // Tells this search's wait notice from another view's.
    const QUuid waitRequester = QUuid::createUuid();
    QLabel* pageLabel = nullptr;
};

} // namespace VIG_ALARM_MOUDLE
