// Every user-visible text of the module, as lupdate finds it in the sources today, has a Chinese
// translation in the library's resources, except the store-word suffixes that stay as they are.
#include "frame/AlarmSignals.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

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
    void everyModuleTextIsTranslated()
    {
        const QList<Text> texts = textsIn(QStringLiteral(VIG_SOURCE_DIR "/alarm"));
        QVERIFY2(texts.size() > 90, qPrintable(QString::number(texts.size())));

        VIG_ALARM_MOUDLE::AlarmSignals::_instance(); // the resources live in the module's library
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/ts/VIG_alarm_zh.qm")));
        const QSet<QString> keptAsTheyAre{QStringLiteral("_Name"), QStringLiteral("_Keeper Tel"),
                                          QStringLiteral("_Owner_Tel")};
        QStringList untranslated;
        QSet<QString> contexts;
        for (const Text& text : texts) {
            contexts.insert(text.context);
            const QString zh =
                translator.translate(text.context.toUtf8().constData(), text.source.toUtf8().constData());
            if (text.context == QLatin1String("QObject") && keptAsTheyAre.contains(text.source)) {
                QVERIFY2(zh.isEmpty(), qPrintable(text.source));
                continue;
            }
            if (zh.isEmpty())
                untranslated.append(text.context + QLatin1String(": ") + text.source);
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
        // The forms' texts are in their class's context.
        QVERIFY(contexts.contains(QStringLiteral("VIG_ALARM_MOUDLE::HandleAlarmDlg")));
        QCOMPARE(translator.translate("QObject", "Alarm Monitor                  "),
                 QStringLiteral("报警监控                  "));
    }

    // The demo host speaks the module's language too.
    void everyConsoleTextIsTranslated()
    {
        const QList<Text> texts = textsIn(QStringLiteral(VIG_SOURCE_DIR "/console"));
        QVERIFY2(texts.size() > 20, qPrintable(QString::number(texts.size())));
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(VIG_BINARY_DIR "/console/alarm-console_zh.qm")));
        QStringList untranslated;
        for (const Text& text : texts) {
            if (translator.translate(text.context.toUtf8().constData(), text.source.toUtf8().constData())
                    .isEmpty())
                untranslated.append(text.context + QLatin1String(": ") + text.source);
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TstTranslation)
#include "tst_translation.moc"
