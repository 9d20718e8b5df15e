#include "TestSettings.h"
#include "link/PortMapping.h"
#include "link/PortSettings.h"
#include "link/SerialDevices.h"
#include <QFile>
#include <gtest/gtest.h>

using z5::PortMapping;
using Source = PortMapping::Source;

namespace {

struct Case {
    const char *name;
    int com;
    const char *environment;
    const char *settings;
    const char *device;
    Source source;
};
void PrintTo(const Case &row, std::ostream *os) { *os << row.name; }

class MappingRule : public ::testing::TestWithParam<Case> {};

class FixedDevices : public z5::SerialDevices {
public:
    std::vector<z5::SerialDeviceInfo> list() const override { return devices; }
    std::vector<z5::SerialDeviceInfo> devices;
};

} // namespace

TEST_P(MappingRule, EnvironmentOverSettingsOverDefault) {
    const Case &c = GetParam();
    const PortMapping::Entry e = PortMapping::choose(c.com, QString::fromUtf8(c.environment), QString::fromUtf8(c.settings));
    EXPECT_EQ(e.device, QString::fromUtf8(c.device));
    EXPECT_EQ(e.source, c.source);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, MappingRule,
    ::testing::Values(Case{"nothing", 4, "", "", "/dev/ttyS3", Source::Default},
                      Case{"settings", 4, "", "/dev/serial/by-id/usb-x", "/dev/serial/by-id/usb-x", Source::Settings},
                      Case{"environment", 4, "/tmp/z5", "", "/tmp/z5", Source::Environment},
                      Case{"environment wins", 4, "/tmp/z5", "/dev/ttyUSB0", "/tmp/z5", Source::Environment},
                      Case{"first port", 1, "", "", "/dev/ttyS0", Source::Default},
                      Case{"last port", 16, "", "/dev/ttyUSB1", "/dev/ttyUSB1", Source::Settings},
                      Case{"below range", 0, "/tmp/z5", "/dev/ttyUSB0", "", Source::Default},
                      Case{"above range", 17, "/tmp/z5", "/dev/ttyUSB0", "", Source::Default}),
    [](const auto &info) {
        std::string n = info.param.name;
        for (char &ch : n)
            if (ch == ' ') ch = '_';
        return n;
    });

TEST(PortMapping, ChoicesAreKeptInTheUserSettingsAndOnlyThere) {
    qunsetenv("Z5_COM6");
    // Without an organisation there are no settings: nothing is kept.
    EXPECT_FALSE(PortMapping::remember(6, QStringLiteral("/dev/ttyUSB0")));
    EXPECT_EQ(PortMapping::resolve(6).source, Source::Default);

    TestSettings settings;
    EXPECT_TRUE(PortMapping::remember(6, QStringLiteral("/dev/ttyUSB0")));
    EXPECT_EQ(z5::PortSettings::deviceName(6), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(PortMapping::resolve(6).source, Source::Settings);
    qputenv("Z5_COM6", "/tmp/z5-env");
    EXPECT_EQ(z5::PortSettings::deviceName(6), QStringLiteral("/tmp/z5-env"));
    qunsetenv("Z5_COM6");
    EXPECT_TRUE(PortMapping::remember(6, QString()));  // "По умолчанию" forgets it
    EXPECT_EQ(z5::PortSettings::deviceName(6), QStringLiteral("/dev/ttyS5"));
    EXPECT_FALSE(PortMapping::remember(17, QStringLiteral("/dev/ttyUSB0")));
}

TEST(PortMapping, PortsAreGivenByNumberNameOrPath) {
    qunsetenv("Z5_COM3");
    EXPECT_EQ(z5::PortSettings::resolveDevice(QStringLiteral("3")), QStringLiteral("/dev/ttyS2"));
    EXPECT_EQ(z5::PortSettings::resolveDevice(QStringLiteral("COM3")), QStringLiteral("/dev/ttyS2"));
    EXPECT_EQ(z5::PortSettings::resolveDevice(QStringLiteral("17")), QStringLiteral("17"));
    EXPECT_EQ(z5::PortSettings::resolveDevice(QStringLiteral("/dev/serial/by-id/usb-x")),
              QStringLiteral("/dev/serial/by-id/usb-x"));
}

TEST(PortMapping, TheFailureTextNamesTheAdapter) {
    qputenv("Z5_COM4", "/dev/ttyUSB0");
    FixedDevices devices;
    z5::SerialDeviceInfo d;
    d.device = QStringLiteral("/dev/ttyUSB0");
    d.description = QStringLiteral("USB-RS485 Cable");
    d.manufacturer = QStringLiteral("FTDI");
    devices.devices.push_back(d);
    EXPECT_EQ(z5::describePort(4, &devices), QStringLiteral("COM4: /dev/ttyUSB0 — USB-RS485 Cable, FTDI"));
    EXPECT_EQ(z5::describePort(4, nullptr), QStringLiteral("COM4: /dev/ttyUSB0"));
    EXPECT_EQ(z5::describePort(4, nullptr, true), QString());
    qunsetenv("Z5_COM4");
}

TEST(SerialDevices, AStableNameFindsTheDeviceItLinksTo) {
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyUSB7"));
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString stable = dir.filePath(QStringLiteral("usb-FTDI_FT232R_A10K-if00-port0"));
    ASSERT_TRUE(QFile::link(device, stable));

    z5::SerialDeviceInfo d;
    d.device = device;
    d.description = QStringLiteral("FT232R USB UART");
    const std::vector<z5::SerialDeviceInfo> present{d};
    EXPECT_EQ(z5::SerialDevices::find(present, stable), &present[0]);
    EXPECT_EQ(z5::SerialDevices::find(present, device), &present[0]);
    EXPECT_EQ(z5::SerialDevices::find(present, dir.filePath(QStringLiteral("ttyUSB8"))), nullptr);
    EXPECT_EQ(z5::SerialDevices::find(present, QString()), nullptr);
    EXPECT_EQ(d.preferredName(), device);
    d.stableName = stable;
    EXPECT_EQ(d.preferredName(), stable);
    EXPECT_EQ(d.summary(), device + QStringLiteral(" — FT232R USB UART"));
}
