#pragma once

#include "ColouredWidget.h"

#include <memory>

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class WaitAlarmWidget;
}

// What an idle video cell shows: a dotted frame around "Wait for alarm...".
class WaitAlarmWidget : public VIG_BASE_MODULE::ColouredWidget
{
    Q_OBJECT

public:
    explicit WaitAlarmWidget(QWidget* parent = nullptr);
    ~WaitAlarmWidget() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<Ui::WaitAlarmWidget> ui;
};

} // namespace VIG_ALARM_MOUDLE
