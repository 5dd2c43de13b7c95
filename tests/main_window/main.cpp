// One executable for the main window's tests; the first argument may name
// the test class to run, so that CTest lists each class on its own.

#include "support/qttestsuites.h"

int runForm2LayoutTest(int argc, char** argv);
int runForm2CommandsTest(int argc, char** argv);
int runWindowOwnerTest(int argc, char** argv);
int runWindowWiringTest(int argc, char** argv);
int runAccessibilityTest(int argc, char** argv);
int runKeyboardTest(int argc, char** argv);
int runLanguageAndLookTest(int argc, char** argv);

int main(int argc, char* argv[])
{
    const kaldora::tests::QtTestSuite suites[] = {
        {"Form2Layout", runForm2LayoutTest},         {"Form2Commands", runForm2CommandsTest},
        {"WindowOwner", runWindowOwnerTest},         {"WindowWiring", runWindowWiringTest},
        {"Accessibility", runAccessibilityTest},     {"Keyboard", runKeyboardTest},
        {"LanguageAndLook", runLanguageAndLookTest},
    };
    return kaldora::tests::runQtTestSuites(argc, argv, suites);
}
