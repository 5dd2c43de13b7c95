#pragma once

#include "support/privatehome.h"

#include <QTest>

// QTEST_MAIN with the tests in a home of their own. The home is made during
// the program's static initialisation, so it is in place before QTEST_MAIN's
// QApplication, and removed after it.
#define KALDORA_TEST_MAIN(TestObject)                                                              \
    static const kaldora::tests::PrivateHome kaldoraPrivateHome;                                   \
    QTEST_MAIN(TestObject)
