#pragma once

#include "frame/VIG_AlarmInfo.h"

#include "ColouredWidget.h"

#include <QVector>

#include <memory>

namespace ZCOMMON {
class WordwrapLabel;
}

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class AlarmInfoWidget;
}

// The alarm and its store in fourteen named rows, under a headline of what happened and when (the rows
// that say so come last); sits in a scroll area, so it takes the height its wrapped values need, and
// shows each new alarm from the top.
class AlarmInfoWidget : public VIG_BASE_MODULE::ColouredWidget
{
    Q_OBJECT

public:
    explicit AlarmInfoWidget(QWidget* parent = nullptr);
    ~AlarmInfoWidget() override;

    void setAlarmInfo(const VIG_AlarmInfo& alarm);

    // A server's text as a wrapping label shows it: cut, with an ellipsis, where nobody reads on.
    static QString shownText(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitHeight();
    void scrollToTop();
    QVector<ZCOMMON::WordwrapLabel*> valueWidgets() const;

    std::unique_ptr<Ui::AlarmInfoWidget> ui;
    ZCOMMON::WordwrapLabel* headline = nullptr;
};

} // namespace VIG_ALARM_MOUDLE
