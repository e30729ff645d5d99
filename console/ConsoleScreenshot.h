#pragma once

#include <QString>

// Writes every visible top-level window (the main window and the pop-ups over it) into one PNG, placed as
// they stand on the screen.
class ConsoleScreenshot
{
public:
    static bool write(const QString& fileName, QString* error);
};
