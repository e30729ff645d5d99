#pragma once

#include <QString>

// The console's own texts, and those of the host libraries it stands for, in the language chosen for the
// module; Qt's own texts (message-box buttons) too.
class ConsoleTranslator
{
public:
    // Installs ":/ts/alarm-console_<language>.qm" and Qt's translation of the language, when the system has
    // one, in the application. Call before the console's widgets are made.
    static bool install(const QString& language);

private:
    ConsoleTranslator() = delete;
};
