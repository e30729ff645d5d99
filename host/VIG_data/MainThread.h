#pragma once

class QObject;

namespace VIG_DATA_MODULE {

// Host service objects are made on first use, which may happen on the alarm service's thread; they move
// to the application's thread so that queued calls and signals to them are delivered there.
class MainThread
{
public:
    static void adopt(QObject* object);
};

} // namespace VIG_DATA_MODULE
