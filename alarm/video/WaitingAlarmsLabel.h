#pragma once

#include "frame/FramePacer.h"

#include <QLabel>

namespace VIG_ALARM_MOUDLE {

// How many alarms wait in the business object for a free pop-up or grid cell, shown only while some wait
// and kept up to date. It takes a place in a layout, or floats over the top-right corner of a widget.
class WaitingAlarmsLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WaitingAlarmsLabel(QWidget* parent = nullptr);
    ~WaitingAlarmsLabel() override;

    int count() const { return waiting; }
    // Moves the label over host, out of any layout.
    void floatOver(QWidget* host);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void placeOverHost();

    int waiting = 0;
    // A burst changes the count many times in one turn; each new text lays out the page under the label.
    FramePacer refreshes{this, [this] {
                             refresh();
                         }};
    bool floating = false;
};

} // namespace VIG_ALARM_MOUDLE
