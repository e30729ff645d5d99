#include "ConsoleMessageFilter.h"
#include "ConsoleOptions.h"
#include "ConsoleScreenshot.h"
#include "ConsoleTranslator.h"
#include "ConsoleWindow.h"

#include "frame/AlarmModuleInit.h"
#include "frame/AlarmSignals.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataCache.h"
#include "ModuleFormModuleInit.h"
#include "ModuleInitialization.h"
#include "SimAlarmServer.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "alarm-console: %s\n", qUtf8Printable(message));
    return 2;
}

VIG_ALARM_MOUDLE::VIG_AlarmInfo& newestAlarm()
{
    static VIG_ALARM_MOUDLE::VIG_AlarmInfo alarm;
    return alarm;
}

// The detail view asks the host for an alarm's recordings by uid; the host learns where each alarm was raised
// from the alarms it has seen.
void rememberAlarmChannels()
{
    using namespace VIG_ALARM_MOUDLE;
    auto remember = [](const VIG_AlarmInfo& info) {
        VIG_DATA_MODULE::BasicData::_instance().rememberAlarmChannel(info.alarmUid, info.deviceId,
                                                                     info.channelIndex);
    };
    AlarmSignals& hub = AlarmSignals::_instance();
    QObject::connect(&hub, &AlarmSignals::signalNewAlarmPush, qApp, [remember](const VIG_AlarmInfo& info) {
        remember(info);
        newestAlarm() = info;
    });
    QObject::connect(&hub, &AlarmSignals::signalAlarmRecordsInfo, qApp,
                     [remember](const AlarmInfoVector& alarms) {
                         for (const VIG_AlarmInfo& info : alarms)
                             remember(info);
                     });
}

} // namespace

int main(int argc, char** argv)
{
    ConsoleMessageFilter::installWhenHeadless();
    QApplication app(argc, argv);
    QApplication::setApplicationName("alarm-console");

    ConsoleOptions options;
    QString error;
    if (!ConsoleOptions::parse(QApplication::arguments(), &options, &error))
        return fail(error);
    if (options.help) {
        std::fputs(qUtf8Printable(ConsoleOptions::usage()), stdout);
        return 0;
    }

    const QString scenario = QFileInfo(options.scenario).absoluteFilePath();
    if (!VIG_DATA_MODULE::BasicData::_instance().loadScenario(scenario, &error))
        return fail(error);
    DataCache::Instance()->SetScenarioPath(scenario);
    SimAlarmServer* server = DataCache::Instance()->GetSimulator();
    if (!server->scenarioError().isEmpty())
        return fail(server->scenarioError());

    VIG_SYSTEM_MODULE::BusinessConfig& config = VIG_SYSTEM_MODULE::BusinessConfig::_instance();
    if (options.mode.isEmpty())
        options.takeModeFrom(config.getAlarmConfigInfoFromCache().alarmVideoShowMode);
    else
        config.setAlarmVideoShowMode(options.mode == "grid" ? VIG_SYSTEM_MODULE::AlarmVideosInGrid
                                                            : VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
    VIG_BASE_MODULE::ModuleInitialization::setLanguage(options.language);
    ConsoleTranslator::install(options.language);
    if (options.language == "zh")
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setStoreWord(
            QString::fromUtf8("门店")); // the customer's word

    VIG_ALARM_MOUDLE::AlarmModuleInit& module = VIG_ALARM_MOUDLE::AlarmModuleInit::_instance();
    module.moduleInit();
    rememberAlarmChannels();

    ConsoleWindow window(options, server, module.getVideoAlarmForm());
    VIG_MODULEFORM_MODULE::ModuleFormModuleInit::_instance().setMainWindow(&window);
    window.show();

    server->setGeneratorRate(options.generatorRate);
    int status = 0;
    if (!options.screenshot.isEmpty()) {
        // A few alarms at once, so that the picture shows the module at work.
        const QStringList probes = server->probeIds();
        for (int i = 0; i < qMin(3, probes.size()); ++i)
            server->raiseAlarm(probes.at(i * probes.size() / 3));
        if (options.openDetail) {
            QTimer::singleShot(int(qMax(0.0, options.screenshotAfter - 1.0) * 1000), &app, [server] {
                // A new alarm in grid mode brings the monitor tab back: hold the generator for the picture.
                server->setGeneratorRate(0);
                if (!newestAlarm().alarmUid.isEmpty()) {
                    emit VIG_ALARM_MOUDLE::AlarmSignals::_instance().signalAlarmTableRecordDoubleClicked(
                        newestAlarm(), VIG_ALARM_MOUDLE::LiveVideoRelation);
                }
            });
        }
        QTimer::singleShot(int(options.screenshotAfter * 1000), &app, [&] {
            QString shotError;
            if (ConsoleScreenshot::write(options.screenshot, &shotError)) {
                std::printf("alarm-console: screenshot written to %s\n",
                            qUtf8Printable(QFileInfo(options.screenshot).absoluteFilePath()));
            } else {
                std::fprintf(stderr, "alarm-console: %s\n", qUtf8Printable(shotError));
                status = 1;
            }
            QApplication::quit();
        });
    }
    const int result = app.exec();
    server->setGeneratorRate(0);
    DataCache::Instance()->ShutdownSimulator();
    return status ? status : result;
}
