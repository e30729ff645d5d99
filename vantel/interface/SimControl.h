#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// What the simulator bar and the tests drive: the embedded simulated server or a remote one alike. Every
// operation returns at once and takes effect on the server in the order it was called.
class SimControl : public QObject
{
    Q_OBJECT

public:
    enum { DefaultFailureCode = 503 };

    using QObject::QObject;

    virtual QStringList probeIds() const = 0;
    // A new alarm of the probe, now. An empty kind takes the kinds in turn. Returns the new alarm's uid, or
    // an empty text and the reason in error for an unknown probe or kind.
    virtual QString raiseAlarm(const QString& probeId, const QString& kind = QString(),
                               QString* error = nullptr) = 0;
    // alarmCount alarms of the first probeCount probes, in turn, as fast as the server can.
    virtual bool storm(int alarmCount, int probeCount, QString* error = nullptr) = 0;
    // New alarms of random probes and kinds; 0 stops.
    virtual void setGeneratorRate(double alarmsPerSecond) = 0;
    // A handling by somebody else: the alarm changes and its handled record is pushed to everyone.
    virtual void handleAsOtherOperator(const QString& alarmUid, int handleMode, const QString& note,
                                       const QString& principal = QString(),
                                       const QString& telephone = QString()) = 0;
    // Another operator opens the handle question for these alarms, as their console would; an empty name
    // ends the marks.
    virtual void takeAsOtherOperator(const QStringList& alarmUids, const QString& operatorName) = 0;
    // Failure injection.
    virtual void setAnswerDelay(int milliseconds) = 0;
    virtual void failNextRequests(int count, int errorCode = DefaultFailureCode,
                                  const QString& errorMsg = QString()) = 0;
    virtual void failAlarms(const QStringList& alarmUids, int errorCode = DefaultFailureCode,
                            const QString& errorMsg = QString()) = 0;
    virtual void dropNextAnswers(int count) = 0;
    virtual void clearFaults() = 0;

signals:
    // A control operation failed on the server (an unknown alarm, a database error, a refused message, ...).
    void controlFailed(const QString& message);
};
