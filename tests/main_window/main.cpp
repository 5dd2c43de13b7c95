// One executable for the main window's tests; the first argument may name
// the test class to run, so that CTest lists each class on its own.

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <vector>

int runForm2LayoutTest(int argc, char** argv);
int runForm2CommandsTest(int argc, char** argv);
int runWindowOwnerTest(int argc, char** argv);
int runWindowWiringTest(int argc, char** argv);

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    struct Suite {
        const char* name;
        int (*run)(int, char**);
    };
    const Suite suites[] = {{"Form2Layout", runForm2LayoutTest},
                            {"Form2Commands", runForm2CommandsTest},
                            {"WindowOwner", runWindowOwnerTest},
                            {"WindowWiring", runWindowWiringTest}};

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
