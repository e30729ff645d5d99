#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzzsupport {

// The module's singletons are QObjects; they want an application object and no display.
inline void startApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QCoreApplication app(argc, argv);
}

// Takes the input apart into texts: each begins with a length byte, the last takes what is left.
class Pieces
{
public:
    Pieces(const uint8_t* data, size_t size) : next(data), left(size) {}

    std::string take()
    {
        if (left == 0)
            return std::string();
        size_t length = *next++;
        --left;
        // A length of 255 asks for a long text: the rest of the input, repeated.
        if (length == 255 && left > 0) {
            std::string piece(reinterpret_cast<const char*>(next), left);
            std::string longer;
            while (longer.size() < 70000)
                longer += piece;
            next += left;
            left = 0;
            return longer;
        }
        if (length > left)
            length = left;
        std::string piece(reinterpret_cast<const char*>(next), length);
        next += length;
        left -= length;
        return piece;
    }

    int32_t number()
    {
        const std::string bytes = take();
        uint32_t value = 0;
        for (char c : bytes)
            value = value * 257 + uint8_t(c);
        return int32_t(value);
    }

private:
    const uint8_t* next;
    size_t left;
};

// libFuzzer keeps a crash only when the process dies.
[[noreturn]] inline void fail(const char* what)
{
    fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline QString text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), int(utf8.size()));
}

} // namespace fuzzsupport
