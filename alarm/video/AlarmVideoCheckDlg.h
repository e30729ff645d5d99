#pragma once

#include "MoveableDialog.h"

#include <memory>

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class AlarmVideoCheckDlg;
}

class AlarmVideoCellWt;

// A frameless pop-up around one probe's video cell. The cell floats over the dialog as a window of its own
// (so that live video is never clipped by the frame), owned by the dialog, so that the window system keeps
// it above the dialog; the dialog draws the frame, moves the cell with it and lets the operator drag it by
// the cell. A press anywhere on the pair brings it forward. It cannot be closed by the operator.
class AlarmVideoCheckDlg : public VIG_BASE_MODULE::MoveableDialog
{
    Q_OBJECT

public:
    explicit AlarmVideoCheckDlg(QWidget* parent = nullptr);
    ~AlarmVideoCheckDlg() override;

    AlarmVideoCellWt* cell() const;
    QString uid() const;

    void setVisible(bool visible) override;

signals:
    void signalCurTopDlg(AlarmVideoCheckDlg* curTopDlg);
    void signalAllAlarmsHandledSuccess(const QString& probeId, const QString& dlgUid);

public slots:
    void slotAllAlarmsHandledSuccess(const QString& probeId, int cellIndex);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QRect cellPlace() const;
    void placeCell();
    void showCell();
    void checkCellPlace();
    void placeCellAnew();

    std::unique_ptr<Ui::AlarmVideoCheckDlg> ui;
    AlarmVideoCellWt* videoCell = nullptr;
    const QString dlgUid;
};

} // namespace VIG_ALARM_MOUDLE
