#pragma once

class QObject;

namespace ZCOMMON {

// Service objects are reached only through _instance(): a function-local static made on first use with a
// null parent. T's constructor T(QObject*) is private and befriends ZSingleton<T>.
template <typename T>
class ZSingleton
{
public:
    static T& _instance()
    {
        static T instance(nullptr);
        return instance;
    }

protected:
    ZSingleton() = default;
    ~ZSingleton() = default;

private:
    ZSingleton(const ZSingleton&) = delete;
    ZSingleton& operator=(const ZSingleton&) = delete;
};

} // namespace ZCOMMON
