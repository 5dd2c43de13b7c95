#pragma once

#include "forms/applicationsetup.h"
#include "support/privatehome.h"

#include <QTest>

// QTEST_MAIN with the tests in a home of their own and the program's
// platform options. Both are set during the program's static
// initialisation, so they are in place before QTEST_MAIN's QApplication;
// the home is removed after it.
#define KALDORA_TEST_MAIN(TestObject)                                                              \
    static const kaldora::tests::PrivateHome kaldoraPrivateHome;                                   \
    static const bool kaldoraPlatformChosen = (kaldora::forms::choosePlatformOptions(), true);     \
    QTEST_MAIN(TestObject)
