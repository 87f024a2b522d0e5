#include "common/TestLocale.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    PinTestLocale();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool listOnly = ListsTestsOnly(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (listOnly)
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
