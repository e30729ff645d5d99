#pragma once

// The test classes of an area share one executable; its first argument names the class to run, so that each
// still runs in a process of its own and fails under a CTest name of its own. tests/CMakeLists.txt registers
// every VIG_TEST line it finds.

#include <QtTest>

#include <functional>

namespace vigtest {
bool addTest(const char* name, std::function<int(int, char**)> run);
} // namespace vigtest

#define VIG_TEST(name, Class)                                                                                \
    static const bool name##Added = vigtest::addTest(#name, [](int argc, char** argv) {                      \
        Class test;                                                                                          \
        return QTest::qExec(&test, argc, argv);                                                              \
    });
