#include "support/qttestsuites.h"

#include "support/privatehome.h"

#include "forms/applicationsetup.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <vector>

namespace kaldora::tests {

int runQtTestSuites(int argc, char** argv, std::span<const QtTestSuite> suites)
{
    const PrivateHome home;
    kaldora::forms::choosePlatformOptions();
    QApplication application(argc, argv);

    std::vector<char*> args(argv, argv + argc);
    const char* only = nullptr;
    if (args.size() > 1 && args[1][0] != '-') {
        only = args[1];
        args.erase(args.begin() + 1);
    }
    int failures = 0;
    bool ran = false;
    for (const QtTestSuite& suite : suites) {
        if (only == nullptr || std::strcmp(only, suite.name) == 0) {
            failures += suite.run(static_cast<int>(args.size()), args.data());
            ran = true;
        }
    }
    if (!ran) {
        std::fprintf(stderr, "no test class named %s\n", only);
        return 1;
    }
    return failures;
}

} // namespace kaldora::tests
