#include "Scenario.h"

#include "MainThread.h"
#include "ScenarioLoader.h"

#include <QDebug>
#include <QLoggingCategory>

template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::Scenario>;

namespace VIG_DATA_MODULE {

namespace {
Q_LOGGING_CATEGORY(vigHostData, "vig.host.data")
} // namespace

Scenario::Scenario(QObject* parent) : QObject(parent)
{
    MainThread::adopt(this);
}

QString Scenario::defaultPath()
{
    const QString path = qEnvironmentVariable("VIG_SCENARIO");
    return path.isEmpty() ? QStringLiteral("scenarios/demo.json") : path;
}

bool Scenario::load(const QString& path, QString* errorText)
{
    QString error;
    bool ok = false;
    {
        std::lock_guard<std::mutex> guard(loadLock);
        ok = replaceWorld(path, &error);
    }
    if (!ok && !errorText)
        qCWarning(vigHostData).noquote() << error;
    if (errorText)
        *errorText = error;
    emit signalWorldReplaced(ok, error);
    return ok;
}

void Scenario::clear()
{
    {
        std::lock_guard<std::mutex> guard(loadLock);
        std::unique_lock<std::shared_mutex> lock(worldLock);
        world = ScenarioWorld();
        worldPath.clear();
        worldError.clear();
        attempted.store(true, std::memory_order_release);
    }
    emit signalWorldReplaced(true, QString());
}

QString Scenario::path() const
{
    ensureLoaded();
    std::shared_lock<std::shared_mutex> lock(worldLock);
    return worldPath;
}

QString Scenario::lastError() const
{
    ensureLoaded();
    std::shared_lock<std::shared_mutex> lock(worldLock);
    return worldError;
}

void Scenario::ensureLoaded() const
{
    if (attempted.load(std::memory_order_acquire))
        return;
    QString error;
    bool ok = false;
    {
        std::lock_guard<std::mutex> guard(loadLock);
        if (attempted.load(std::memory_order_acquire))
            return;
        // Loading on first read is part of reading: getters stay const.
        ok = const_cast<Scenario*>(this)->replaceWorld(defaultPath(), &error);
    }
    if (!ok) // nobody asked for this load: say why the world is empty
        qCWarning(vigHostData).noquote() << error;
    emit const_cast<Scenario*>(this)->signalWorldReplaced(ok, error);
}

bool Scenario::replaceWorld(const QString& path, QString* errorText)
{
    ScenarioWorld fresh;
    const bool ok = ScenarioLoader::loadFile(path, &fresh, errorText);
    {
        std::unique_lock<std::shared_mutex> lock(worldLock);
        world = std::move(fresh);
        worldPath = path;
        worldError = ok ? QString() : *errorText;
    }
    attempted.store(true, std::memory_order_release);
    return ok;
}

} // namespace VIG_DATA_MODULE
