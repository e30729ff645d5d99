#pragma once

#include "ZSingleton.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace VIG_MODULEFORM_MODULE {

// Knows the host's main window, the parent of the modules' pop-ups.
class ModuleFormModuleInit : public QObject, public ZCOMMON::ZSingleton<ModuleFormModuleInit>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<ModuleFormModuleInit>;

public:
    QWidget* getMainWindow() const; // null until the host sets one, and after it is destroyed
    void setMainWindow(QWidget* mainWindow);

private:
    explicit ModuleFormModuleInit(QObject* parent);

    QPointer<QWidget> mainWindow;
};

} // namespace VIG_MODULEFORM_MODULE

extern template class ZCOMMON::ZSingleton<VIG_MODULEFORM_MODULE::ModuleFormModuleInit>;
