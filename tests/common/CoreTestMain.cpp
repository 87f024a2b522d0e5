#include "common/TestLocale.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    PinTestLocale();
    const bool listOnly = ListsTestsOnly(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (listOnly)
        return RUN_ALL_TESTS();
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
