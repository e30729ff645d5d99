#pragma once

#include <QMutex>

#if defined(__SANITIZE_THREAD__)
#define VIG_ALARM_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VIG_ALARM_TSAN 1
#endif
#endif

#ifdef VIG_ALARM_TSAN
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace VIG_ALARM_MOUDLE {

// A QMutexLocker that ThreadSanitizer can see through. QMutex's contended path lives in the uninstrumented
// Qt library, so without these annotations every contended hand-over looks like a race.
class AlarmMutexLocker
{
public:
    explicit AlarmMutexLocker(QMutex* mutex) : mutex(mutex)
    {
        mutex->lock();
#ifdef VIG_ALARM_TSAN
        __tsan_acquire(mutex);
#endif
    }

    ~AlarmMutexLocker()
    {
#ifdef VIG_ALARM_TSAN
        __tsan_release(mutex);
#endif
        mutex->unlock();
    }

    AlarmMutexLocker(const AlarmMutexLocker&) = delete;
    AlarmMutexLocker& operator=(const AlarmMutexLocker&) = delete;

private:
    QMutex* mutex;
};

} // namespace VIG_ALARM_MOUDLE
