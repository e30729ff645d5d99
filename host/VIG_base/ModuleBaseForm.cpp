#include "ModuleBaseForm.h"

namespace VIG_BASE_MODULE {

ModuleBaseForm::ModuleBaseForm(QWidget* parent) : ColouredWidget(parent) {}

ModuleBaseForm::~ModuleBaseForm() = default;

int ModuleBaseForm::getModuleFormType() const
{
    return -1;
}

} // namespace VIG_BASE_MODULE
