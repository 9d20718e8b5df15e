// The end-to-end tests run processes and read their files; they want a Qt
// application object but no event loop of their own.
#include "UserDataAside.h"
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    z5::testing::keepUserDataAside();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
