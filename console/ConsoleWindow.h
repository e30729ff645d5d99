#pragma once

#include "ConsoleOptions.h"

#include <QMainWindow>

class QComboBox;
class QPlainTextEdit;
class QSpinBox;
class SimAlarmServer;
class StoreListWt;

// The demo host application's main window: the alarm module's form in the middle, the host's store list
// and notice log beside it, and a simulator bar that drives the embedded alarm server.
class ConsoleWindow : public QMainWindow
{
    Q_OBJECT

public:
    ConsoleWindow(const ConsoleOptions& options, SimAlarmServer* server, QWidget* moduleForm);

    void note(const QString& text);
    QString notices() const;

private:
    void buildSimulatorBar();
    void buildDocks();
    void followHostSignals();
    void raiseAlarm();
    void startStorm();
    void restartWith(const QString& option, const QString& value);

    ConsoleOptions options;
    SimAlarmServer* server;
    QComboBox* probes = nullptr;
    QSpinBox* stormSize = nullptr;
    StoreListWt* storeList = nullptr;
    QPlainTextEdit* noticeLog = nullptr;
};
