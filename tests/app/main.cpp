// One executable for the tests of the kaldora program's start; the first
// argument may name the test class to run, so that CTest lists each class on
// its own. It runs in a home of its own, also when started by hand, so the
// windows it opens never touch the user's price list or settings.

#include "support/qttestsuites.h"

#include <QByteArray>

#include <cstdio>

int runProgramOptionsTest(int argc, char** argv);
int runProgramIdentityTest(int argc, char** argv);
int runOrderlyShutdownTest(int argc, char** argv);

int main(int argc, char* argv[])
{
    // No display is needed, unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qputenv("QT_QPA_PLATFORM", "offscreen")) {
        std::fprintf(stderr, "cannot set QT_QPA_PLATFORM\n");
        return 1;
    }
    const kaldora::tests::QtTestSuite suites[] = {{"ProgramOptions", runProgramOptionsTest},
                                                  {"ProgramIdentity", runProgramIdentityTest},
                                                  {"OrderlyShutdown", runOrderlyShutdownTest}};
    return kaldora::tests::runQtTestSuites(argc, argv, suites);
}
