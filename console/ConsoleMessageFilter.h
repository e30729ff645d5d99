#pragma once

// Keeps a headless run's output to the console's own lines: the offscreen platform warns about every
// window feature it lacks (raise, size hints) and about its missing runtime folder, dozens of times a run.
class ConsoleMessageFilter
{
public:
    // Call before the application object is made, so that the platform's first warnings are caught too.
    static void installWhenHeadless();

private:
    ConsoleMessageFilter() = delete;
};
