// The demo host's command line, its refusals and a headless run that writes the screenshot.
#include "ConsoleOptions.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString errors;
};

Run runConsole(const QStringList& arguments, const QString& folder)
{
    QProcess console;
    console.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder);
    console.setProcessEnvironment(environment);
    console.start(QStringLiteral(VIG_CONSOLE), arguments);
    Run run;
    if (!console.waitForFinished(120000))
        return run;
    run.exitCode = console.exitStatus() == QProcess::NormalExit ? console.exitCode() : -1;
    run.errors = QString::fromUtf8(console.readAllStandardError());
    return run;
}

} // namespace

class TstConsole : public QObject
{
    Q_OBJECT

private slots:
    void parsesOptions()
    {
        ConsoleOptions options;
        QString error;
        QVERIFY(ConsoleOptions::parse({"alarm-console", "--mode", "grid", "--lang", "zh", "--screenshot",
                                       "a b.png", "--after", "2.5", "--scenario", "x.json", "--detail",
                                       "--operator-token", "chen.token"},
                                      &options, &error));
        QCOMPARE(QVariantList({options.mode, options.language, options.screenshot, options.screenshotAfter,
                               options.scenario, options.openDetail, options.tokenFile}),
                 QVariantList({"grid", "zh", "a b.png", 2.5, "x.json", true, "chen.token"}));
        options.takeModeFrom(0); // --mode wins over the scenario's display mode, which holds without it
        QCOMPARE(options.mode, QStringLiteral("grid"));
        ConsoleOptions plain;
        plain.takeModeFrom(1);
        QCOMPARE(plain.mode, QStringLiteral("grid"));
    }

    void refusesBadOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown") << QStringList{"--colour"};
        QTest::newRow("mode") << QStringList{"--mode", "wall"};
        QTest::newRow("language") << QStringList{"--lang", "fr"};
        QTest::newRow("missing value") << QStringList{"--scenario"};
        QTest::newRow("missing token") << QStringList{"--operator-token"};
        QTest::newRow("negative delay") << QStringList{"--after", "-1"};
        QTest::newRow("not a number") << QStringList{"--rate", "fast"};
    }

    void refusesBadOptions()
    {
        QFETCH(QStringList, arguments);
        ConsoleOptions options;
        QString error;
        QVERIFY(!ConsoleOptions::parse(QStringList{"alarm-console"} + arguments, &options, &error));
        QVERIFY(!error.isEmpty());

        QTemporaryDir folder;
        const Run run = runConsole(arguments, folder.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.errors.trimmed().count(QLatin1Char('\n')) == 0, qPrintable(run.errors));
        QVERIFY(run.errors.contains(error));
    }

    void refusesABrokenScenario()
    {
        QTemporaryDir folder;
        QFile broken(folder.filePath(QStringLiteral("broken.json")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("{ \"stores\": [ {\"storeUid\": \"S1\", ");
        broken.close();
        for (const QString& scenario : {broken.fileName(), folder.filePath(QStringLiteral("missing.json"))}) {
            const Run run = runConsole({QStringLiteral("--scenario"), scenario}, folder.path());
            QCOMPARE(run.exitCode, 2);
            QVERIFY2(run.errors.startsWith(QLatin1String("alarm-console: ")), qPrintable(run.errors));
        }
    }

    void headlessRunWritesTheScreenshot()
    {
        QTemporaryDir folder;
        const QString shot = folder.filePath(QStringLiteral("shot.png"));
        // Started elsewhere than in the checkout, without --scenario: the demo beside the program.
        const Run run =
            runConsole({QStringLiteral("--screenshot"), shot, QStringLiteral("--after"), QStringLiteral("2")},
                       folder.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.errors.isEmpty(), qPrintable(run.errors.left(400))); // only the console's own lines
        const QImage image(shot);
        QVERIFY(image.width() >= 1000 && image.height() >= 600);
    }
};

QTEST_GUILESS_MAIN(TstConsole)
#include "tst_console.moc"
