// The start time read from a recording's path: any path gives a moment in the one form, or nothing.

#include "FuzzSupport.h"

#include "service/AlarmBusiness.h"

#include <QDateTime>

using fuzzsupport::fail;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzsupport::text(std::string(reinterpret_cast<const char*>(data), size));
    const QString start = VIG_ALARM_MOUDLE::AlarmBusiness::recordingStartTime(path);
    if (start.isEmpty())
        return 0;
    const QDateTime moment = QDateTime::fromString(start, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!moment.isValid() || moment.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) != start)
        fail("a start time not in the form yyyy-MM-dd hh:mm:ss");
    if (!path.contains(QLatin1Char('\\')) || path.section(QLatin1Char('\\'), -1).count(QLatin1Char('-')) != 3)
        fail("a start time from a path without folder or four name pieces");
    return 0;
}
