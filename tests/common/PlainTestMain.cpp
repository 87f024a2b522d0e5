#include "common/TestLocale.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    PinTestLocale();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
