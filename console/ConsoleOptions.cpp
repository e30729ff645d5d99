#include "ConsoleOptions.h"

#include "AlarmConfigInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QObject>

namespace {

bool takeValue(const QStringList& arguments, int* index, QString* value, QString* error)
{
    const QString option = arguments.at(*index);
    if (*index + 1 >= arguments.size()) {
        *error = QStringLiteral("option %1 needs a value").arg(option);
        return false;
    }
    *index += 1;
    *value = arguments.at(*index);
    return true;
}

} // namespace

bool ConsoleOptions::parse(const QStringList& arguments, ConsoleOptions* options, QString* error)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString option = arguments.at(i);
        QString value;
        if (option == "-h" || option == "--help") {
            options->help = true;
        } else if (option == "--detail") {
            options->openDetail = true;
        } else if (option == "--scenario") {
            if (!takeValue(arguments, &i, &value, error))
                return false;
            options->scenario = value;
        } else if (option == "--mode") {
            if (!takeValue(arguments, &i, &value, error))
                return false;
            if (value != "popup" && value != "grid") {
                *error = QStringLiteral("--mode must be popup or grid, not '%1'").arg(value);
                return false;
            }
            options->mode = value;
        } else if (option == "--lang") {
            if (!takeValue(arguments, &i, &value, error))
                return false;
            if (value != "zh" && value != "en") {
                *error = QStringLiteral("--lang must be zh or en, not '%1'").arg(value);
                return false;
            }
            options->language = value;
        } else if (option == "--server") {
            if (!takeValue(arguments, &i, &value, error))
                return false;
            if (!value.startsWith("ws://") && !value.startsWith("wss://")) {
                *error =
                    QStringLiteral("--server takes ws://HOST:PORT or wss://HOST:PORT, not '%1'").arg(value);
                return false;
            }
            options->server = value;
        } else if (option == "--token-file" || option == "--operator-token" || option == "--ca") {
            if (!takeValue(arguments, &i, &value, error))
                return false;
            (option == "--ca" ? options->caFile : options->tokenFile) = value;
        } else if (option == "--demo-other-operator") {
            if (!takeValue(arguments, &i, &value, error))
                return false;
            options->demoOtherOperator = value;
        } else if (option == "--screenshot") {
            if (!takeValue(arguments, &i, &value, error))
                return false;
            options->screenshot = value;
        } else if (option == "--after" || option == "--rate") {
            if (!takeValue(arguments, &i, &value, error))
                return false;
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (!ok || number < 0 || number > 3600) {
                *error = QStringLiteral("%1 takes a number of %2, not '%3'")
                             .arg(option, option == "--after" ? "seconds" : "alarms per second", value);
                return false;
            }
            (option == "--after" ? options->screenshotAfter : options->generatorRate) = number;
        } else {
            *error = QStringLiteral("unknown option '%1' (see --help)").arg(option);
            return false;
        }
    }
    return true;
}

void ConsoleOptions::takeModeFrom(int alarmVideoShowMode)
{
    if (mode.isEmpty())
        mode = alarmVideoShowMode == VIG_SYSTEM_MODULE::AlarmVideosInGrid ? QStringLiteral("grid")
                                                                          : QStringLiteral("popup");
}

QString ConsoleOptions::usage()
{
    return QStringLiteral(
        "Usage: alarm-console [options]\n"
        "  --scenario FILE      the monitored world (default: the demo beside the program)\n"
        "  --mode popup|grid    alarm videos in pop-up dialogs or in the grid of the monitor tab\n"
        "                       (default: the scenario's alarmConfig)\n"
        "  --lang zh|en         the module's language\n"
        "  --rate N             simulated alarms per second (default 0.5, 0 off)\n"
        "  --screenshot FILE    write the main window and the visible pop-ups to FILE (PNG) and quit\n"
        "  --after SECONDS      when to take the screenshot (default 5)\n"
        "  --detail             open the newest alarm's details a second before the screenshot\n"
        "  --server URL         an alarm-server at ws://HOST:PORT or wss://HOST:PORT instead of the embedded "
        "one\n"
        "  --operator-token FILE\n"
        "                       this operator's token for the server (default AlarmServerDB/token)\n"
        "  --token-file FILE    the same as --operator-token\n"
        "  --ca FILE            the authority of a wss:// server's private certificate\n");
}

QString ConsoleOptions::defaultScenario()
{
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral(VIG_SCENARIOS_FROM_BIN "/demo.json")));
}
