// End-to-end tests need a Qt event loop for the serial port and the timers.
#include "UserDataAside.h"
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    z5::testing::keepUserDataAside();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
