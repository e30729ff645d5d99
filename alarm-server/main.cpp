#include "NetAlarmServer.h"

#include "NetToken.h"
#include "OperatorStore.h"
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
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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
    // Operator commands: the program does one and exits.
    QString addOperator;
    QString telephone;
    QString rights;
    QString tokenOut;
    QString removeOperator;
    bool audit = false;
    QDateTime since;
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
    "  --cert FILE --key FILE serve wss:// with this certificate; needed off the loopback\n"
    "Operators (of the data folder; each command exits when done):\n"
    "  --add-operator NAME --tel TEL --rights watch|handle|control [--token-out FILE]\n"
    "                         adds an operator; their token goes to FILE (default "
    "FOLDER/operators/NAME.token)\n"
    "  --remove-operator NAME revokes an operator; a running server closes their connections\n"
    "  --audit [--since TIME] prints the audit as CSV, from TIME (ISO 8601) on\n";

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

// The options that take a text as it is given.
QString Options::*textOption(const QString& option)
{
    static const std::pair<const char*, QString Options::*> texts[] = {
        {"--scenario", &Options::scenario},
        {"--data", &Options::data},
        {"--token-file", &Options::tokenFile},
        {"--cert", &Options::cert},
        {"--key", &Options::key},
        {"--add-operator", &Options::addOperator},
        {"--tel", &Options::telephone},
        {"--rights", &Options::rights},
        {"--token-out", &Options::tokenOut},
        {"--remove-operator", &Options::removeOperator},
    };
    for (const auto& [name, field] : texts) {
        if (option == QLatin1String(name))
            return field;
    }
    return nullptr;
}

bool parse(const QStringList& arguments, Options* options, QString* error)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString option = arguments.at(i);
        if (option == QLatin1String("-h") || option == QLatin1String("--help")) {
            std::fputs(usage, stdout);
            std::exit(0);
        }
        if (option == QLatin1String("--audit")) {
            options->audit = true;
            continue;
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
        } else if (QString Options::*text = textOption(option)) {
            options->*text = value;
        } else if (option == QLatin1String("--since")) {
            options->since = QDateTime::fromString(value, Qt::ISODateWithMs);
            if (!options->since.isValid()) {
                *error =
                    QStringLiteral("--since takes an ISO 8601 time such as 2026-12-07T09:30:00Z, not '%1'")
                        .arg(value);
                return false;
            }
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

// The data folder and its databases are for the server's user alone; rights found wider are narrowed.
bool secureDataFolder(const QString& folder, QString* error)
{
#ifdef Q_OS_UNIX
    if (!QFileInfo::exists(folder) && ::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 &&
        !QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the data folder %1").arg(folder);
        return false;
    }
#else
    QDir().mkpath(folder);
#endif
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile::setPermissions(folder, owner | QFileDevice::ExeOwner);
    const QDir dir(folder);
    const QString database = dir.filePath(QStringLiteral("alarms.db"));
    if (!QFileInfo::exists(database) && !NetToken::writeOwnerOnly(database, QByteArray(), error))
        return false;
    for (const QString& name : dir.entryList({QStringLiteral("*.db"), QStringLiteral("*.db-*")}, QDir::Files))
        QFile::setPermissions(dir.filePath(name), owner);
    return true;
}

// Every token file of the folder must be its owner's alone; the first one that is not is named.
bool tokensOwnerOnly(const QString& firstToken, const QString& folder, QString* error)
{
    if (!NetToken::isOwnerOnly(firstToken, error))
        return false;
    const QDir operators(QDir(folder).filePath(QStringLiteral("operators")));
    for (const QString& name : operators.entryList({QStringLiteral("*.token")}, QDir::Files)) {
        if (!NetToken::isOwnerOnly(operators.filePath(name), error))
            return false;
    }
    return true;
}

int addOperator(OperatorStore& store, const Options& options, const QString& folder)
{
    AlarmPresence::Rights rights = AlarmPresence::Watch;
    if (!OperatorStore::readRights(options.rights, &rights))
        return fail(QStringLiteral("--rights takes watch, handle or control, not '%1'").arg(options.rights));
    const QString& name = options.addOperator;
    if (name.trimmed().isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.startsWith(QLatin1Char('.')))
        return fail(
            QStringLiteral("an operator's name may not be empty, hold '/' or '\\' or start with '.'"));
    QString error;
    QString tokenFile = options.tokenOut;
    if (tokenFile.isEmpty()) {
        const QString operators = QDir(folder).filePath(QStringLiteral("operators"));
#ifdef Q_OS_UNIX
        ::mkdir(QFile::encodeName(operators).constData(), 0700);
#else
        QDir().mkpath(operators);
#endif
        tokenFile = QDir(operators).filePath(name + QStringLiteral(".token"));
    }
    const QByteArray token = NetToken::make();
    // The file first: it must be new, and an operator whose token went nowhere is never added.
    if (!NetToken::writeOwnerOnly(tokenFile, token + '\n', &error))
        return fail(error);
    if (!store.add(name, options.telephone, rights, token, &error)) {
        QFile::remove(tokenFile);
        return fail(error);
    }
    std::printf("alarm-server: operator %s added (%s); token in %s\n", qUtf8Printable(name),
                qUtf8Printable(options.rights), qUtf8Printable(QFileInfo(tokenFile).absoluteFilePath()));
    return 0;
}

int operatorCommand(const Options& options, const QString& folder)
{
    QString error;
    if (!secureDataFolder(folder, &error))
        return fail(error);
    OperatorStore store(folder);
    if (!store.open(&error))
        return fail(error);
    if (!options.addOperator.isEmpty())
        return addOperator(store, options, folder);
    if (!options.removeOperator.isEmpty()) {
        if (!store.remove(options.removeOperator, &error))
            return fail(error);
        std::printf("alarm-server: operator %s removed\n", qUtf8Printable(options.removeOperator));
        return 0;
    }
    return store.printAudit(options.since, stdout, &error) ? 0 : fail(error);
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
    const QString folder = options.data.isEmpty() ? SimAlarmServer::defaultDataFolder() : options.data;
    if (!options.addOperator.isEmpty() || !options.removeOperator.isEmpty() || options.audit)
        return operatorCommand(options, folder);
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
    const QString tokenFile =
        options.tokenFile.isEmpty() ? QDir(folder).filePath(QStringLiteral("token")) : options.tokenFile;
    if (!secureDataFolder(folder, &error) || !tokensOwnerOnly(tokenFile, folder, &error))
        return fail(error);
    OperatorStore operators(folder);
    if (!operators.open(&error))
        return fail(error);
    SimAlarmServer engine(options.scenario, folder);
    if (!engine.scenarioError().isEmpty())
        return fail(engine.scenarioError());
    const SimScenario scenario = SimScenario::load(engine.scenarioPath(), &error);
    // The first start makes one operator with every right from the scenario's user, whose token is the
    // file the consoles read by default: the demo needs no set-up.
    if (!operators.hasOperators()) {
        const QByteArray token = NetToken::readOrCreate(tokenFile, &error);
        QString name = QString::fromStdString(scenario.userName());
        if (name.isEmpty())
            name = QStringLiteral("operator");
        if (token.isEmpty() || !operators.add(name, QString::fromStdString(scenario.userTelephone()),
                                              AlarmPresence::Control, token, &error))
            return fail(error);
    }

    NetAlarmServer server(&engine, scenario, &operators);
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
