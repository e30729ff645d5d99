#pragma once

#include "ZSingleton.h"

#include <QObject>
#include <QStringList>

namespace VIG_SYSTEM_MODULE {

enum ApplicationStatus : int {
    AppStarting = 0,
    AppLoggingIn = 1,
    AppLoadingData = 2,
    AppConnecting = 3,
    AppLocked = 4,
    AppRunning = 5, // the only status in which modules take alarms
    AppExiting = 6,
};

// The logged-in user and the application's status, from the scenario. Getters are safe from any thread.
class SystemBasicInfo : public QObject, public ZCOMMON::ZSingleton<SystemBasicInfo>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<SystemBasicInfo>;

public:
    bool checkUserPermission(const QString& permission) const;
    ApplicationStatus getCurrentAppStatus() const;
    QString getUserName() const;
    QString getUserTelephone() const;
    QStringList getUserPermissions() const;

    // Seams for tests and the console.
    void setCurrentAppStatus(int status);
    void setUserPermissions(const QStringList& permissions);
    void setUserPermission(const QString& permission, bool granted);
    void setUserName(const QString& name);
    void setUserTelephone(const QString& telephone);

private:
    explicit SystemBasicInfo(QObject* parent);
};

} // namespace VIG_SYSTEM_MODULE

Q_DECLARE_METATYPE(VIG_SYSTEM_MODULE::ApplicationStatus)

extern template class ZCOMMON::ZSingleton<VIG_SYSTEM_MODULE::SystemBasicInfo>;
