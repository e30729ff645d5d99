#pragma once

#include "ScenarioWorld.h"

#include "ZSingleton.h"

#include <QObject>

#include <atomic>
#include <mutex>
#include <shared_mutex>

namespace VIG_DATA_MODULE {

// The loaded world shared by the data and system stand-ins. It loads itself on first use from
// VIG_SCENARIO, else "scenarios/demo.json" under the working directory; load() replaces it explicitly.
// Reads and writes may come from any thread.
class Scenario : public QObject, public ZCOMMON::ZSingleton<Scenario>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<Scenario>;

public:
    static QString defaultPath();

    // A failed load leaves an empty world; the error line also goes to stderr.
    bool load(const QString& path, QString* errorText = nullptr);
    void clear();
    QString path() const;
    QString lastError() const;

    template <typename F> auto read(F&& reader) const
    {
        ensureLoaded();
        std::shared_lock<std::shared_mutex> lock(worldLock);
        return reader(static_cast<const ScenarioWorld&>(world));
    }

    template <typename F> auto write(F&& writer)
    {
        ensureLoaded();
        std::unique_lock<std::shared_mutex> lock(worldLock);
        return writer(world);
    }

signals:
    // Emitted on the thread that loaded or cleared, after the lock is released.
    void signalWorldReplaced(bool ok, const QString& errorText);

private:
    explicit Scenario(QObject* parent);
    void ensureLoaded() const;
    bool replaceWorld(const QString& path, QString* errorText);

    mutable std::shared_mutex worldLock;
    mutable std::mutex loadLock;
    std::atomic<bool> attempted{false};
    ScenarioWorld world;
    QString worldPath;
    QString worldError;
};

} // namespace VIG_DATA_MODULE

extern template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::Scenario>;
