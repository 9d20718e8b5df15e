#include "link/PortSettings.h"
#include <gtest/gtest.h>

using z5::PortSettings;

TEST(PortSettings, ComPortsMapToTheEnvironmentOrToTtyS) {
    qunsetenv("Z5_COM1");
    qputenv("Z5_COM4", "/dev/ttyUSB0");
    EXPECT_EQ(PortSettings::deviceName(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(PortSettings::deviceName(4), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(PortSettings::deviceName(16), QStringLiteral("/dev/ttyS15"));
    EXPECT_EQ(PortSettings::deviceName(0), QString());
    EXPECT_EQ(PortSettings::deviceName(17), QString());
    qputenv("Z5_COM4", "");
    EXPECT_EQ(PortSettings::deviceName(4), QStringLiteral("/dev/ttyS3"));
    qunsetenv("Z5_COM4");
}

TEST(PortSettings, UserGivenDevicesAreComNamesOrPaths) {
    qunsetenv("Z5_COM2");
    EXPECT_EQ(PortSettings::resolveDevice(QStringLiteral("COM2")), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(PortSettings::resolveDevice(QStringLiteral("com2")), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(PortSettings::resolveDevice(QStringLiteral("COM17")), QStringLiteral("COM17"));
    EXPECT_EQ(PortSettings::resolveDevice(QStringLiteral("/dev/pts/3")), QStringLiteral("/dev/pts/3"));
}
