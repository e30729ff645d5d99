#pragma once

#include "DialogWithCloseBt.h"

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

public slots:
    void slotHandleBtClicked();

private:
    Ui::HandleAlarmDlg* ui;
};

} // namespace VIG_ALARM_MOUDLE
