// Every user-visible text of the module and of the console, as lupdate finds it in the sources today, has
// an English and a Chinese translation.
#include "frame/AlarmSignals.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>

namespace {

struct Text
{
    QString context;
    QString source;
};

QList<Text> readTs(const QString& path)
{
    QList<Text> texts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            texts.append({context, xml.readElementText()});
    }
    return texts;
}

// The texts lupdate finds in a source folder today.
QList<Text> textsIn(const QString& folder)
{
    QTemporaryDir dir;
    const QString ts = dir.filePath(QStringLiteral("current.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(VIG_LUPDATE),
                  {QStringLiteral("-silent"), folder, QStringLiteral("-ts"), ts});
    if (!lupdate.waitForFinished(60000) || lupdate.exitCode() != 0)
        return {};
    return readTs(ts);
}

} // namespace

class TstTranslation : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsTranslated_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("translation");
        QTest::addColumn<int>("atLeast");
        // One text the reader must see, and the form context it lives in: a file found but read wrong fails.
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("shown");
        const QStringList module{QStringLiteral(VIG_SOURCE_DIR "/alarm")};
        // The demo host speaks the module's language, its host libraries' texts included.
        const QStringList console{QStringLiteral(VIG_SOURCE_DIR "/console"),
                                  QStringLiteral(VIG_SOURCE_DIR "/host")};
        const QString monitor = QStringLiteral("Alarm Monitor                  ");
        const QString handleDlg = QStringLiteral("VIG_ALARM_MOUDLE::HandleAlarmDlg");
        QTest::newRow("module, English")
            << module << QStringLiteral(":/ts/VIG_alarm_en.qm") << 90 << handleDlg << "Close Alarm"
            << "Close alarm";
        QTest::newRow("module, Chinese")
            << module << QStringLiteral(":/ts/VIG_alarm_zh.qm") << 90 << "QObject" << monitor
            << QStringLiteral("报警监控                  ");
        QTest::newRow("console, English")
            << console << QStringLiteral(VIG_BINARY_DIR "/console/alarm-console_en.qm") << 20
            << "VIG_BASE_MODULE::PageTurningWidget"
            << "%1 records"
            << "%1 records";
        QTest::newRow("console, Chinese")
            << console << QStringLiteral(VIG_BINARY_DIR "/console/alarm-console_zh.qm") << 20
            << "VIG_BASE_MODULE::PageTurningWidget"
            << "%1 records" << QStringLiteral("共 %1 条记录");
    }

    void everyTextIsTranslated()
    {
        QFETCH(QStringList, folders);
        QFETCH(QString, translation);
        QFETCH(int, atLeast);
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, shown);
        QList<Text> texts;
        for (const QString& folder : folders)
            texts += textsIn(folder);
        QVERIFY2(texts.size() > atLeast, qPrintable(QString::number(texts.size())));
        QVERIFY(std::any_of(texts.cbegin(), texts.cend(), [&](const Text& text) {
            return text.context == context && text.source == source;
        }));

        VIG_ALARM_MOUDLE::AlarmSignals::_instance(); // the resources live in the module's library
        QTranslator translator;
        QVERIFY(translator.load(translation));
        QStringList untranslated;
        for (const Text& text : texts) {
            if (translator.translate(text.context.toUtf8().constData(), text.source.toUtf8().constData())
                    .isEmpty())
                untranslated.append(text.context + QLatin1String(": ") + text.source);
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
        QCOMPARE(translator.translate(context.toUtf8().constData(), source.toUtf8().constData()), shown);
    }
};

QTEST_GUILESS_MAIN(TstTranslation)
#include "tst_translation.moc"
