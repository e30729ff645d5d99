#pragma once

#include <QObject>
#include <QString>

namespace VIG_BASE_MODULE {

// Saves a recording under a name the operator chose.
class SaveAsRecording : public QObject
{
    Q_OBJECT

public:
    explicit SaveAsRecording(QObject* parent = nullptr);
    ~SaveAsRecording() override;

    // Copies the file. An existing target is replaced only after the whole copy has been written; a target
    // that is the source itself is refused. Returns whether the target now holds the copy.
    bool saveAsLocalVideoRecording(const QString& source, const QString& target);
    // Writes the cloud recording at the locator, recorded at timeText, to the target (a synthetic file).
    bool saveAsIcloudAlarmVideoRecording(const QString& locator, const QString& target,
                                         const QString& timeText);

signals:
    void signalSaveAsFinished(const QString& target, bool ok);

private:
    bool finish(const QString& target, bool ok);
};

} // namespace VIG_BASE_MODULE
