#include "ConsoleTranslator.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

bool installTranslation(const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

bool ConsoleTranslator::install(const QString& language)
{
    if (!QCoreApplication::instance())
        return false;
    // Qt's texts come first so that the console's own take precedence where both have one.
    const QLocale locale(language);
    if (locale.language() != QLocale::English)
        installTranslation(QStringLiteral("qtbase_") + locale.name(),
                           QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    return installTranslation(QStringLiteral("alarm-console_") + language, QStringLiteral(":/ts"));
}
