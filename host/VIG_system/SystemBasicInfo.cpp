#include "SystemBasicInfo.h"

#include "MainThread.h"
#include "Scenario.h"

template class ZCOMMON::ZSingleton<VIG_SYSTEM_MODULE::SystemBasicInfo>;

using VIG_DATA_MODULE::Scenario;
using VIG_DATA_MODULE::ScenarioWorld;

namespace VIG_SYSTEM_MODULE {

SystemBasicInfo::SystemBasicInfo(QObject* parent) : QObject(parent)
{
    VIG_DATA_MODULE::MainThread::adopt(this);
    qRegisterMetaType<ApplicationStatus>();
    qRegisterMetaType<ApplicationStatus>("ApplicationStatus");
}

bool SystemBasicInfo::checkUserPermission(const QString& permission) const
{
    return Scenario::_instance().read(
        [&](const ScenarioWorld& world) { return world.settings.permissions.contains(permission); });
}

ApplicationStatus SystemBasicInfo::getCurrentAppStatus() const
{
    return Scenario::_instance().read(
        [](const ScenarioWorld& world) { return ApplicationStatus(world.settings.applicationStatus); });
}

QString SystemBasicInfo::getUserName() const
{
    return Scenario::_instance().read([](const ScenarioWorld& world) { return world.settings.userName; });
}

QString SystemBasicInfo::getUserTelephone() const
{
    return Scenario::_instance().read(
        [](const ScenarioWorld& world) { return world.settings.userTelephone; });
}

QStringList SystemBasicInfo::getUserPermissions() const
{
    return Scenario::_instance().read([](const ScenarioWorld& world) { return world.settings.permissions; });
}

void SystemBasicInfo::setCurrentAppStatus(int status)
{
    Scenario::_instance().write([&](ScenarioWorld& world) { world.settings.applicationStatus = status; });
}

void SystemBasicInfo::setUserPermissions(const QStringList& permissions)
{
    Scenario::_instance().write([&](ScenarioWorld& world) { world.settings.permissions = permissions; });
}

void SystemBasicInfo::setUserPermission(const QString& permission, bool granted)
{
    Scenario::_instance().write([&](ScenarioWorld& world) {
        QStringList& permissions = world.settings.permissions;
        if (!granted)
            permissions.removeAll(permission);
        else if (!permissions.contains(permission))
            permissions.append(permission);
    });
}

void SystemBasicInfo::setUserName(const QString& name)
{
    Scenario::_instance().write([&](ScenarioWorld& world) { world.settings.userName = name; });
}

void SystemBasicInfo::setUserTelephone(const QString& telephone)
{
    Scenario::_instance().write([&](ScenarioWorld& world) { world.settings.userTelephone = telephone; });
}

} // namespace VIG_SYSTEM_MODULE
