#pragma once

#include "ConsoleOptions.h"

#include "DataCache.h"

#include <QMainWindow>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QSpinBox;
class QToolBar;
class SimControl;
class StoreListWt;

// The demo host application's main window: the alarm module's form in the middle, the host's store list
// and notice log beside it, and a simulator bar that drives the alarm server, embedded or remote.
class ConsoleWindow : public QMainWindow
{
    Q_OBJECT

public:
    ConsoleWindow(const ConsoleOptions& options, SimControl* server, QWidget* moduleForm);
    ~ConsoleWindow() override;

    void note(const QString& text);
    QString notices() const;

private:
    void buildSimulatorBar();
    void buildDocks();
    void followHostSignals();
    void raiseAlarm();
    void startStorm();
    void restartWith(const QString& option, const QString& value);
    void showServer(const DataCache::LinkStatus& status);
    // The operator's name and, when not full, rights; the simulator bar follows the rights.
    void showOperator();
    // Says so, gives the operator a moment in a window, and quits with code 2.
    void accessRevoked(const QString& reason);
    // Another operator takes each new alarm for a few seconds (one alarm at a time).
    void playOtherOperator(const QString& name);
    // A message in the status bar, cut to the room left of the server's label.
    void showStatus(const QString& text, int timeoutMs = 0);

    ConsoleOptions options;
    SimControl* server;
    QLabel* serverLabel = nullptr;
    QLabel* operatorLabel = nullptr;
    QToolBar* simulatorBar = nullptr;
    bool revoked = false;
    QString linkNote; // the reason of the outage last noted
    QComboBox* probes = nullptr;
    QSpinBox* stormSize = nullptr;
    StoreListWt* storeList = nullptr;
    QPlainTextEdit* noticeLog = nullptr;
};
