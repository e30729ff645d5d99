#include "NetAlarmServer.h"

#include "NetToken.h"
#include "SimAlarmServer.h"
#include "SimScenario.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

struct Options
{
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 47800;
    QString scenario;
    QString data;
    QString tokenFile;
    QString cert;
    QString key;
    double rate = 0.0;
    qint64 sendBudget = NetAlarmServer::DefaultSendBudget;
};

int fail(const QString& message)
{
    std::fprintf(stderr, "alarm-server: %s\n", qUtf8Printable(message));
    return 2;
}

const char* const usage =
    "Usage: alarm-server [options]\n"
    "  --listen ADDRESS:PORT  where to serve (default 127.0.0.1:47800; port 0 takes a free one)\n"
    "  --scenario FILE        the monitored world (default: the demo beside the program, else "
    "scenarios/demo.json)\n"
    "  --data FOLDER          the alarm database and images (default AlarmServerDB)\n"
    "  --rate N               simulated alarms per second (default 0)\n"
    "  --token-file FILE      the clients' token, made when missing (default FOLDER/token)\n"
    "  --send-budget MIB      what a client that does not read may hold before it is closed (default 32)\n"
    "  --cert FILE --key FILE serve wss:// with this certificate; needed off the loopback\n";

bool readListen(const QString& text, Options* options)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (!ok || port > 65535 || !options->address.setAddress(host))
        return false;
    options->port = quint16(port);
    return true;
}

bool parse(const QStringList& arguments, Options* options, QString* error)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString option = arguments.at(i);
        if (option == QLatin1String("-h") || option == QLatin1String("--help")) {
            std::fputs(usage, stdout);
            std::exit(0);
        }
        if (i + 1 >= arguments.size()) {
            *error = QStringLiteral("unknown option '%1' or a missing value (see --help)").arg(option);
            return false;
        }
        const QString value = arguments.at(++i);
        if (option == QLatin1String("--listen")) {
            if (!readListen(value, options)) {
                *error = QStringLiteral("--listen takes ADDRESS:PORT, not '%1'").arg(value);
                return false;
            }
        } else if (option == QLatin1String("--rate")) {
            bool ok = false;
            options->rate = value.toDouble(&ok);
            if (!ok || options->rate < 0 || options->rate > 10000) {
                *error = QStringLiteral("--rate takes a number of alarms per second, not '%1'").arg(value);
                return false;
            }
        } else if (option == QLatin1String("--send-budget")) {
            bool ok = false;
            const int mebibytes = value.toInt(&ok);
            if (!ok || mebibytes < 1 || mebibytes > 4096) {
                *error = QStringLiteral("--send-budget takes MiB from 1 to 4096, not '%1'").arg(value);
                return false;
            }
            options->sendBudget = qint64(mebibytes) << 20;
        } else if (option == QLatin1String("--scenario")) {
            options->scenario = value;
        } else if (option == QLatin1String("--data")) {
            options->data = value;
        } else if (option == QLatin1String("--token-file")) {
            options->tokenFile = value;
        } else if (option == QLatin1String("--cert")) {
            options->cert = value;
        } else if (option == QLatin1String("--key")) {
            options->key = value;
        } else {
            *error = QStringLiteral("unknown option '%1' (see --help)").arg(option);
            return false;
        }
    }
    return true;
}

bool readTls(const Options& options, QSslConfiguration* tls, QString* error)
{
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(options.cert);
    QFile keyFile(options.key);
    if (chain.isEmpty()) {
        *error = QStringLiteral("no certificate in %1").arg(options.cert);
        return false;
    }
    if (!keyFile.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the key %1: %2").arg(options.key, keyFile.errorString());
        return false;
    }
    const QByteArray pem = keyFile.readAll();
    QSslKey key(pem, QSsl::Rsa);
    if (key.isNull())
        key = QSslKey(pem, QSsl::Ec);
    if (key.isNull()) {
        *error = QStringLiteral("no private key in %1").arg(options.key);
        return false;
    }
    *tls = QSslConfiguration::defaultConfiguration();
    tls->setLocalCertificateChain(chain);
    tls->setPrivateKey(key);
    tls->setPeerVerifyMode(QSslSocket::VerifyNone);
    return true;
}

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("alarm-server"));

    Options options;
    QString error;
    if (!parse(QCoreApplication::arguments(), &options, &error))
        return fail(error);
    const bool secure = !options.cert.isEmpty() || !options.key.isEmpty();
    QSslConfiguration tls;
    if (secure && (options.cert.isEmpty() || options.key.isEmpty()))
        return fail(QStringLiteral("--cert and --key go together"));
    if (secure && !readTls(options, &tls, &error))
        return fail(error);
    if (!secure && !options.address.isLoopback())
        return fail(QStringLiteral("plain ws:// is served on a loopback address only; give --cert and --key "
                                   "to listen on %1")
                        .arg(options.address.toString()));

    // Without --scenario, the demo beside the program (build tree or installed), else the working folder's.
    const QString besideProgram =
        QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                            .filePath(QStringLiteral(VIG_SCENARIOS_FROM_BIN "/demo.json")));
    if (options.scenario.isEmpty() && QFileInfo::exists(besideProgram))
        options.scenario = besideProgram;
    SimAlarmServer engine(options.scenario, options.data, SimAlarmServer::Images::ServedByCaller);
    if (!engine.scenarioError().isEmpty())
        return fail(engine.scenarioError());
    const SimScenario scenario = SimScenario::load(engine.scenarioPath(), &error);
    const QString tokenFile = options.tokenFile.isEmpty()
                                  ? QDir(engine.dataFolder()).filePath(QStringLiteral("token"))
                                  : options.tokenFile;
    const QByteArray token = NetToken::readOrCreate(tokenFile, &error);
    if (token.isEmpty())
        return fail(error);

    NetAlarmServer server(&engine, scenario, token);
    server.setSendBudget(options.sendBudget);
    if (!server.listen(options.address, options.port, secure ? &tls : nullptr, &error))
        return fail(error);
    engine.setGeneratorRate(options.rate);
    const QString host = options.address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(options.address.toString())
                             : options.address.toString();
    std::printf("alarm-server: listening on %s://%s:%u, token in %s\n", secure ? "wss" : "ws",
                qUtf8Printable(host), unsigned(server.port()),
                qUtf8Printable(QFileInfo(tokenFile).absoluteFilePath()));
    std::fflush(stdout);

    // Stops cleanly, so that the database is closed: the handler only sets a flag, which a timer reads.
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, &app, [] {
        if (stopRequested)
            QCoreApplication::quit();
    });
    stopWatch.start(100);
    const int result = app.exec();
    engine.shutdown();
    return result;
}
