#pragma once

#include "handling/HandlingAnswers.h"

#include "DialogWithCloseBt.h"

#include <functional>

class QLabel;

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class HandleAlarmDlg;
}

// Asks for the handling note of one or more alarms and whether the handling closes them and informs the
// store's keeper. It sends nothing: the caller runs exec() and reads the answers when it returns 1.
class HandleAlarmDlg : public VIG_BASE_MODULE::DialogWithCloseBt
{
    Q_OBJECT

public:
    explicit HandleAlarmDlg(QWidget* parent = nullptr);
    ~HandleAlarmDlg() override;

    QString getHandleNote();
    bool isCloseAlarmChecked();
    bool isInformKeeperChecked();

    // Tells how many alarms the handling covers.
    void setAlarmCount(int count);
    // Brings back a handling that failed: the operator's answers and why it failed.
    void setFailedHandling(const HandlingAnswers& answers, const QString& reason);
    // Why the handling it brings back failed; empty for a new handling.
    QString failureShown() const { return failure; }

    // Runs the dialog for a handling of alarmCount alarms; with a failure, the answers given before come back
    // with it. False when the operator does not send.
    // opened may connect the dialog, e.g. to keep its count.
    static bool ask(int alarmCount, HandlingAnswers* answers, const QString& failure = QString(),
                    QWidget* parent = nullptr, const std::function<void(HandleAlarmDlg*)>& opened = {});

public slots:
    void slotHandleBtClicked();

private:
    void showSummary();

    Ui::HandleAlarmDlg* ui;
    QLabel* summaryLabel = nullptr;
    int alarmCount = 0;
    QString failure;
};

} // namespace VIG_ALARM_MOUDLE
