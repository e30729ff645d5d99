#include "TestMain.h"

#include <QApplication>

#include <cstdio>
#include <map>
#include <string>

namespace {
std::map<std::string, std::function<int(int, char**)>>& tests()
{
    static std::map<std::string, std::function<int(int, char**)>> all;
    return all;
}
} // namespace

bool vigtest::addTest(const char* name, std::function<int(int, char**)> run)
{
    tests()[name] = std::move(run);
    return true;
}

int main(int argc, char* argv[])
{
    const auto found = argc > 1 ? tests().find(argv[1]) : tests().end();
    if (found == tests().end()) {
        for (const auto& test : tests())
            std::printf("%s\n", test.first.c_str());
        return 2;
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    // QtTest reads its own options after the program's name.
    argv[1] = argv[0];
    return found->second(argc - 1, argv + 1);
}
