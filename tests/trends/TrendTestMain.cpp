// Drawing needs a GUI application for fonts; everything runs offscreen.
#include "PrivateRuntimeFolder.h"
#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const z5::testing::PrivateRuntimeFolder runtimeFolder;
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
