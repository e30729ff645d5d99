#include "ConsoleMessageFilter.h"

#include <QLatin1String>
#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace {

QtMessageHandler previousHandler = nullptr;
bool installed = false;

bool isHeadlessNoise(QtMsgType type, const QString& message)
{
    return type == QtWarningMsg && (message.startsWith(QLatin1String("This plugin does not support")) ||
                                    message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")));
}

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (isHeadlessNoise(type, message))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(type, context, message)));
}

} // namespace

void ConsoleMessageFilter::installWhenHeadless()
{
    if (installed || qgetenv("QT_QPA_PLATFORM") != "offscreen")
        return;
    installed = true;
    previousHandler = qInstallMessageHandler(filterMessage);
}
