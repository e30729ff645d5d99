#pragma once

#include "ColouredWidget.h"

namespace VIG_BASE_MODULE {

// The main form a module hands to the host window.
class ModuleBaseForm : public ColouredWidget
{
    Q_OBJECT

public:
    explicit ModuleBaseForm(QWidget* parent = nullptr);
    ~ModuleBaseForm() override;

    // Which of the host's module forms this is (the host's ModuleFormType); -1 when not said.
    virtual int getModuleFormType() const;
};

} // namespace VIG_BASE_MODULE
