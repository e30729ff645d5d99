#include "ModuleFormModuleInit.h"

#include <QWidget>

template class ZCOMMON::ZSingleton<VIG_MODULEFORM_MODULE::ModuleFormModuleInit>;

namespace VIG_MODULEFORM_MODULE {

ModuleFormModuleInit::ModuleFormModuleInit(QObject* parent) : QObject(parent) {}

QWidget* ModuleFormModuleInit::getMainWindow() const
{
    return mainWindow.data();
}

void ModuleFormModuleInit::setMainWindow(QWidget* window)
{
    mainWindow = window;
}

} // namespace VIG_MODULEFORM_MODULE
