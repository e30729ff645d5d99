#include "SaveAsRecording.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace VIG_BASE_MODULE {

SaveAsRecording::SaveAsRecording(QObject* parent) : QObject(parent) {}

SaveAsRecording::~SaveAsRecording() = default;

bool SaveAsRecording::finish(const QString& target, bool ok)
{
    emit signalSaveAsFinished(target, ok);
    return ok;
}

bool SaveAsRecording::saveAsLocalVideoRecording(const QString& source, const QString& target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (source.isEmpty() || target.isEmpty() || !from.isFile())
        return finish(target, false);
    // The same file under another spelling (a link, "..") is refused too: copying it onto itself would
    // empty it.
    const QString canonicalTarget = to.exists() ? to.canonicalFilePath() : QString();
    if (QDir::cleanPath(from.absoluteFilePath()) == QDir::cleanPath(to.absoluteFilePath()) ||
        (!canonicalTarget.isEmpty() && canonicalTarget == from.canonicalFilePath()))
        return finish(target, false);
    if (!QDir().mkpath(to.absolutePath()))
        return finish(target, false);

    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return finish(target, false);
    // QSaveFile writes beside the target and renames over it only once everything is written.
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        return finish(target, false);
    QByteArray chunk;
    while (!(chunk = input.read(1 << 16)).isEmpty()) {
        if (output.write(chunk) != chunk.size()) {
            output.cancelWriting();
            break;
        }
    }
    if (input.error() != QFile::NoError)
        output.cancelWriting();
    return finish(target, output.commit());
}

bool SaveAsRecording::saveAsIcloudAlarmVideoRecording(const QString& locator, const QString& target,
                                                      const QString& timeText)
{
    if (locator.isEmpty() || target.isEmpty() || !QDir().mkpath(QFileInfo(target).absolutePath()))
        return finish(target, false);
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Text))
        return finish(target, false);
    output.write(QStringLiteral("VIGREC 1\nsource=cloud\nlocator=%1\nrecorded=%2\nsaved=%3\n")
                     .arg(locator, timeText,
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))
                     .toUtf8());
    return finish(target, output.commit());
}

} // namespace VIG_BASE_MODULE
