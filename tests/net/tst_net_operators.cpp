// Named operators against one alarm-server: who handled and who has an alarm open reach everybody, rights
// are the server's to enforce, a removed operator is cut off, and the audit keeps it all.
#include "AlarmServer.h"
#include "BareClient.h"

#include "NetAlarmClient.h"

class TstNetOperators : public QObject
{
    Q_OBJECT

private:
    AlarmServer server;
    QMap<QString, QByteArray> tokens;

    // The server program on this test's data folder; its exit code, its output in out.
    static int run(const QStringList& arguments, QByteArray* out = nullptr)
    {
        QProcess program;
        program.start(QStringLiteral(VIG_ALARM_SERVER),
                      QStringList{"--data", "operators", "--listen", "127.0.0.1:0"} + arguments);
        if (!program.waitForFinished(Patience)) {
            program.kill();
            program.waitForFinished();
            return -1;
        }
        if (out)
            *out = program.readAllStandardOutput();
        return program.exitCode();
    }
    void addOperator(const QString& name, const QString& rights)
    {
        QCOMPARE(run({"--add-operator", name, "--tel", name + "-tel", "--rights", rights}), 0);
        QFile file("operators/operators/" + name + ".token");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        tokens[name] = file.readAll().trimmed();
    }
    BareClient* bare(const QString& name)
    {
        return new BareClient(server.port, tokens.value(name), -1, this);
    }

private slots:
    void initTestCase()
    {
        QDir("operators").removeRecursively();
        QVERIFY(server.start("operators", {}, 0, Patience));
        tokens["first"] = server.token;
        addOperator("watcher", "watch");
        addOperator("handler", "handle");
        addOperator("leaver", "handle");
    }
    void cleanupTestCase() { QVERIFY(server.stop(Patience)); }

    void twoOperatorsSeeEachOther_data()
    {
        QTest::addColumn<QString>("doer");
        QTest::addColumn<QString>("seer");
        QTest::newRow("handler seen by the first") << QString("handler") << QString("first");
        QTest::newRow("first seen by the handler") << QString("first") << QString("handler");
    }
    void twoOperatorsSeeEachOther()
    {
        QFETCH(QString, doer);
        QFETCH(QString, seer);
        NetAlarmClient doing(server.url, tokens[doer]);
        NetAlarmClient seeing(server.url, tokens[seer]);
        QTRY_COMPARE_WITH_TIMEOUT(doing.state(), NetAlarmClient::Connected, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(seeing.state(), NetAlarmClient::Connected, Patience);
        QCOMPARE(doing.presence()->self().rights,
                 doer == "first" ? AlarmPresence::Control : AlarmPresence::Handle);
        const AlarmPresence::Operator who = doing.presence()->self();
        BareClient* observer = bare(seer);
        QTRY_VERIFY_WITH_TIMEOUT(!observer->find("welcome").isEmpty(), Patience);

        const QString uid = (doer == "first" ? doing : seeing).raiseAlarm(doing.probeIds().first());
        QVERIFY(!uid.isEmpty());
        doing.presence()->take({uid});
        QTRY_COMPARE_WITH_TIMEOUT(seeing.presence()->takenBy(uid), who.name, Patience);
        QVERIFY(doing.presence()->takenBy(uid).isEmpty());
        doing.RequestHandleAlarm(uid.toUtf8(), "mine", 2, false, "req");
        QTRY_VERIFY_WITH_TIMEOUT(!observer->find("handled").isEmpty(), Patience);
        const QJsonArray handling =
            observer->find("handled").value("p").toArray().at(10).toArray().at(0).toArray();
        QCOMPARE(handling.at(0).toString(), who.name);
        QCOMPARE(handling.at(3).toString(), who.telephone);
        QTRY_VERIFY_WITH_TIMEOUT(seeing.presence()->takenBy(uid).isEmpty(), Patience);
    }

    void serverNamesRaisedAlarms()
    {
        BareClient* first = bare("first");
        QTRY_VERIFY_WITH_TIMEOUT(!first->find("welcome").isEmpty(), Patience);
        const QString probe = first->find("welcome").value("probes").toArray().first().toString();
        first->send(QString(R"({"op":"raise","probe":"%1","kind":"","uid":"chosen","ref":7})").arg(probe));
        QTRY_VERIFY_WITH_TIMEOUT(first->hasAlarm(first->find("raised", "ref", 7).value("uid").toString()),
                                 Patience);
        QVERIFY(!first->hasAlarm("chosen"));
    }

    void refusedToTheSenderOnly_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("code");
        QTest::newRow("watch handles") << "watcher"
                                       << R"({"op":"handle","uids":["x"],"note":"","mode":2,)"
                                          R"("inform":false,"requester":"w","batch":false})"
                                       << "handleResult" << 403;
        QTest::newRow("watch takes") << "watcher"
                                     << R"({"op":"take","uids":["x"]})"
                                     << "error" << 403;
        QTest::newRow("handle controls") << "handler"
                                         << R"({"op":"answerDelay","ms":60000})"
                                         << "error" << 403;
        QTest::newRow("handle raises") << "handler"
                                       << R"({"op":"raise","probe":"P0101","kind":""})"
                                       << "error" << 403;
        QTest::newRow("control fails") << "first"
                                       << R"({"op":"handleOther","uid":"none","mode":2,"note":"",)"
                                          R"("principal":"","tel":""})"
                                       << "controlFailed" << 0;
    }
    void refusedToTheSenderOnly()
    {
        QFETCH(QString, who);
        QFETCH(QString, frame);
        QFETCH(QString, answer);
        QFETCH(int, code);
        BareClient* sender = bare(who);
        BareClient* other = bare("first");
        QTRY_VERIFY_WITH_TIMEOUT(!sender->find("welcome").isEmpty() && !other->find("welcome").isEmpty(),
                                 Patience);
        sender->send(frame);
        QTRY_VERIFY_WITH_TIMEOUT(!sender->find(answer).isEmpty(), Patience);
        const QJsonObject reply = sender->find(answer);
        QCOMPARE(reply.value(answer == "error" ? "code" : "result").toInt(), code);
        QVERIFY(!reply.value(answer == "handleResult" ? "error" : "message").toString().contains("SQL"));
        // Anything after the refusal reaches both; the refusal only the sender.
        other->send(R"({"op":"replyA","uid":"x"})");
        QTRY_VERIFY_WITH_TIMEOUT(!other->find("replyA").isEmpty(), Patience);
        QVERIFY(other->find(answer).isEmpty());
    }

    void removedOperatorIsCutOff()
    {
        NetAlarmClient leaver(server.url, tokens["leaver"]);
        QTRY_COMPARE_WITH_TIMEOUT(leaver.state(), NetAlarmClient::Connected, Patience);
        QCOMPARE(run({"--remove-operator", "leaver"}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(leaver.state(), NetAlarmClient::Revoked, Patience);
        NetAlarmClient again(server.url, tokens["leaver"]);
        QTRY_COMPARE_WITH_TIMEOUT(again.state(), NetAlarmClient::Revoked, Patience);
    }

    void auditKeepsEveryEvent()
    {
        QByteArray csv;
        QCOMPARE(run({"--audit"}, &csv), 0);
        QVERIFY(csv.startsWith("time,event,operator,peer,detail\n"));
        for (const char* line :
             {",operator added,watcher,", ",connect,handler,127.0.0.1:", ",taken,handler,",
              ",handle,handler,", ",refused,watcher,", ",control,", ",operator removed,leaver,",
              ",revoked,leaver,", ",refused hello,leaver,", ",disconnect,handler,127.0.0.1:"})
            QVERIFY2(csv.contains(line), line);
        QCOMPARE(run({"--audit", "--since", "2999-01-01T00:00:00Z"}, &csv), 0);
        QCOMPARE(csv.count('\n'), 1);
    }

    // An operator added to a new data folder must not leave the demo's consoles without their token.
    void operatorAddedFirstKeepsTheScenarioOperator()
    {
        QDir("fresh").removeRecursively();
        QCOMPARE(run({"--data", "fresh", "--add-operator", "x", "--tel", "1", "--rights", "watch"}), 0);
        QVERIFY(QFile::exists("fresh/token"));
        QByteArray csv;
        QCOMPARE(run({"--data", "fresh", "--audit"}, &csv), 0);
        QCOMPARE(csv.count(",operator added,"), 2);
    }

    void refusesUnsafeTokenFiles_data()
    {
        QTest::addColumn<QByteArray>("token");
        QTest::addColumn<int>("permissions");
        const int owner = QFile::ReadOwner | QFile::WriteOwner;
        QTest::newRow("world-readable")
            << QByteArray(64, 'a') << (owner | QFile::ReadGroup | QFile::ReadOther);
        QTest::newRow("short") << QByteArray(31, 'a') << owner;
    }
    void refusesUnsafeTokenFiles()
    {
        QFETCH(QByteArray, token);
        QFETCH(int, permissions);
        QDir("unsafe").removeRecursively();
        QDir().mkpath("unsafe");
        QFile file("unsafe/token");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(token);
        file.close();
        QVERIFY(file.setPermissions(QFile::Permissions(permissions)));
        QCOMPARE(run({"--data", "unsafe"}), 2);
    }
};

QTEST_MAIN(TstNetOperators)
#include "tst_net_operators.moc"
