#include "ModuleInitialization.h"

#include <QApplication>
#include <QFile>
#include <QTranslator>

namespace VIG_BASE_MODULE {

namespace {
QString& hostLanguage()
{
    static QString language = QStringLiteral("zh");
    return language;
}
} // namespace

void ModuleInitialization::setLanguage(const QString& language)
{
    hostLanguage() = language;
}

QString ModuleInitialization::language()
{
    return hostLanguage();
}

ModuleInitialization::ModuleInitialization(QObject* parent) : QObject(parent) {}

ModuleInitialization::~ModuleInitialization()
{
    if (translator && QCoreApplication::instance())
        QCoreApplication::removeTranslator(translator);
}

void ModuleInitialization::recoveryToInitialState() {}

void ModuleInitialization::moduleInit()
{
    init();
}

void ModuleInitialization::init() {}

bool ModuleInitialization::loadTranslator(const QString& path)
{
    auto* loaded = new QTranslator(this);
    if (!loaded->load(path) || !QCoreApplication::installTranslator(loaded)) {
        delete loaded;
        return false;
    }
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    translator = loaded;
    return true;
}

bool ModuleInitialization::loadStyleSheet(const QString& path)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    QFile file(path);
    if (!app || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    if (loadedStyleSheets.contains(path))
        return true;
    const QString sheet = QString::fromUtf8(file.readAll());
    QString current = app->styleSheet();
    if (!current.isEmpty())
        current += QLatin1Char('\n');
    app->setStyleSheet(current + sheet);
    loadedStyleSheets << path;
    return true;
}

} // namespace VIG_BASE_MODULE
