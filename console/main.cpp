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
#include "HttpDownload.h"
#include "ModuleFormModuleInit.h"
#include "ModuleInitialization.h"
#include "NetAlarmClient.h"
#include "NetToken.h"
#include "SimAlarmServer.h"

#include <QApplication>
#include <QEventLoop>
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

// Waits, before any window exists, for the server's welcome or refusal. False with the reason in error.
bool reachServer(const ConsoleOptions& options, SimControl** control, QString* error)
{
    const QByteArray token = NetToken::read(options.tokenFile, error);
    if (token.isEmpty())
        return false;
    if (!DataCache::Instance()->SetServerAddress(QUrl(options.server), token, options.caFile)) {
        *error =
            QStringLiteral("--server takes ws://HOST:PORT or wss://HOST:PORT, not '%1'").arg(options.server);
        return false;
    }
    // The server's live images come through its own address, so under its authority too.
    if (!options.caFile.isEmpty())
        ZCOMMON::HttpDownload::trustAuthority(options.caFile);
    NetAlarmClient* client = DataCache::Instance()->GetClient();
    QEventLoop wait;
    QString problem = QStringLiteral("no answer from %1").arg(options.server);
    QObject::connect(client, &NetAlarmClient::stateChanged, &wait,
                     [&](NetAlarmClient::State state, const QString& message) {
                         if (state == NetAlarmClient::Lost) {
                             problem = QStringLiteral("cannot reach %1: %2").arg(options.server, message);
                             return;
                         }
                         problem = QStringLiteral("%1 refused this console: %2").arg(options.server, message);
                         wait.quit();
                     });
    QTimer::singleShot(10000, &wait, &QEventLoop::quit);
    if (client->state() != NetAlarmClient::Connected && client->state() != NetAlarmClient::Refused)
        wait.exec();
    if (client->state() != NetAlarmClient::Connected) {
        *error = problem;
        return false;
    }
    *control = client;
    return true;
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

    const QString scenario =
        QFileInfo(options.scenario.isEmpty() ? ConsoleOptions::defaultScenario() : options.scenario)
            .absoluteFilePath();
    if (!VIG_DATA_MODULE::BasicData::_instance().loadScenario(scenario, &error))
        return fail(error);
    const bool remote = !options.server.isEmpty();
    SimControl* server = nullptr;
    if (remote) {
        if (!reachServer(options, &server, &error))
            return fail(error);
    } else {
        DataCache::Instance()->SetScenarioPath(scenario);
        SimAlarmServer* simulator = DataCache::Instance()->GetSimulator();
        if (!simulator->scenarioError().isEmpty())
            return fail(simulator->scenarioError());
        server = simulator;
    }

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

    // A shared server's generator is its own.
    if (!remote)
        server->setGeneratorRate(options.generatorRate);
    int status = 0;
    if (!options.screenshot.isEmpty()) {
        // A few alarms at once, so that the picture shows the module at work.
        const QStringList probes = server->probeIds();
        for (int i = 0; i < qMin(3, probes.size()); ++i)
            server->raiseAlarm(probes.at(i * probes.size() / 3));
        if (options.openDetail) {
            QTimer::singleShot(int(qMax(0.0, options.screenshotAfter - 1.0) * 1000), &app, [server, remote] {
                // A new alarm in grid mode brings the monitor tab back: hold the generator for the picture.
                if (!remote)
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
    if (!remote)
        server->setGeneratorRate(0);
    DataCache::Instance()->ShutdownSimulator();
    return status ? status : result;
}
