#pragma once

#include <QString>
#include <QStringList>

// The console's command line.
struct ConsoleOptions
{
    QString scenario;                        // empty: defaultScenario()
    QString mode;                            // popup | grid; empty: the scenario's display mode
    QString language = QStringLiteral("en"); // en | zh
    QString screenshot;                      // write one PNG and quit
    double screenshotAfter = 5.0;            // seconds
    double generatorRate = 0.5;              // alarms per second, 0 off
    bool openDetail = false;                 // open the newest alarm's details before the screenshot
    QString server;                          // ws://HOST:PORT or wss://HOST:PORT, else the embedded one
    QString tokenFile = QStringLiteral("AlarmServerDB/token");
    QString caFile; // the authority of a wss:// server's private certificate
    // For demonstrations: another operator of this name takes each new alarm for a few seconds, as long as
    // no other alarm is taken by them.
    QString demoOtherOperator;
    bool help = false;

    // False with the reason in error for an unknown option or a bad value.
    static bool parse(const QStringList& arguments, ConsoleOptions* options, QString* error);
    static QString usage();
    // The demo scenario beside the program, in the build tree or in the installed tree.
    static QString defaultScenario();
    // Without --mode, the display mode of the scenario's alarm settings (1 is the grid).
    void takeModeFrom(int alarmVideoShowMode);
};
