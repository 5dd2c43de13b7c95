// The main function of the GoogleTest programs: the tests run in a home of
// their own.

#include "support/privatehome.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const kaldora::tests::PrivateHome home;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
