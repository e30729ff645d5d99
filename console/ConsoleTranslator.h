#pragma once

#include <QString>

// The console's own texts in the language chosen for the module.
class ConsoleTranslator
{
public:
    // Installs ":/ts/alarm-console_<language>.qm" in the application; English needs none. Call before the
    // console's widgets are made.
    static bool install(const QString& language);

private:
    ConsoleTranslator() = delete;
};
