#include "ConsoleTranslator.h"

#include <QCoreApplication>
#include <QTranslator>

bool ConsoleTranslator::install(const QString& language)
{
    if (language == QLatin1String("en") || !QCoreApplication::instance())
        return false;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/ts/alarm-console_%1.qm").arg(language)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}
