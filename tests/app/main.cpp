// One executable for the tests of the kaldora program's start; the first
// argument may name the test class to run, so that CTest lists each class on
// its own. It runs in a home of its own, also when started by hand, so the
// windows it opens never touch the user's price list or settings.

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <vector>

int runProgramOptionsTest(int argc, char** argv);
int runProgramIdentityTest(int argc, char** argv);
int runOrderlyShutdownTest(int argc, char** argv);

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "no temporary folder for the home: %s\n",
                     qPrintable(home.errorString()));
        return 1;
    }
    for (const char* variable :
         {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        if (!qputenv(variable, home.path().toLocal8Bit())) {
            std::fprintf(stderr, "cannot set %s\n", variable);
            return 1;
        }
    }
    // No display is needed, unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qputenv("QT_QPA_PLATFORM", "offscreen")) {
        std::fprintf(stderr, "cannot set QT_QPA_PLATFORM\n");
        return 1;
    }

    QApplication application(argc, argv);
    struct Suite {
        const char* name;
        int (*run)(int, char**);
    };
    const Suite suites[] = {{"ProgramOptions", runProgramOptionsTest},
                            {"ProgramIdentity", runProgramIdentityTest},
                            {"OrderlyShutdown", runOrderlyShutdownTest}};

    std::vector<char*> args(argv, argv + argc);
    const char* only = nullptr;
    if (args.size() > 1 && args[1][0] != '-') {
        only = args[1];
        args.erase(args.begin() + 1);
    }
    int failures = 0;
    bool ran = false;
    for (const Suite& suite : suites) {
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
