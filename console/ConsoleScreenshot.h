#pragma once

#include <QString>

// Writes the console and its pop-ups into one PNG: on a display, the screen region they cover as the display
// shows it; on the offscreen platform, each window painted by itself where it stands.
class ConsoleScreenshot
{
public:
    static bool write(const QString& fileName, QString* error);
};
