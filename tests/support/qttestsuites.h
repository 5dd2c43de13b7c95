#pragma once

#include <span>

namespace kaldora::tests {

// One Qt Test class of a program that holds several.
struct QtTestSuite {
    const char* name;
    int (*run)(int argc, char** argv); // QTest::qExec on an instance of the class
};

// The main function of a Qt Test program with several test classes: makes a
// private home, then the application, and runs every class, or only the one
// the first argument names, so that CTest can list each class on its own.
// The other arguments go to Qt Test. Returns the number of failed tests, or
// 1 when no class has the given name.
int runQtTestSuites(int argc, char** argv, std::span<const QtTestSuite> suites);

} // namespace kaldora::tests
