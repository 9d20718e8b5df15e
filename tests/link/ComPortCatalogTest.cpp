// The COM port list of a Windows machine, from what its device manager and its
// registry say: the adapters by their own names, every port once, by number.
#include "link/ComPortCatalog.h"
#include <QStringList>
#include <gtest/gtest.h>

using z5::ComPortCatalog;
using z5::SerialDeviceInfo;

namespace {

struct NameRow {
    const char *friendlyName;
    const char *port;          // the port it names
    const char *describedAs;   // what the list shows beside it
};

class FriendlyNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(FriendlyNames, SplitIntoWhatAndWhere) {
    const QString name = QString::fromUtf8(GetParam().friendlyName);
    EXPECT_EQ(ComPortCatalog::portInFriendlyName(name).toStdString(), GetParam().port);
    EXPECT_EQ(ComPortCatalog::describedAs(name).toStdString(), GetParam().describedAs);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FriendlyNames,
    ::testing::Values(NameRow{"USB-SERIAL CH340 (COM5)", "COM5", "USB-SERIAL CH340"},
                      NameRow{"Prolific USB-to-Serial Comm Port (COM12) ", "COM12", "Prolific USB-to-Serial Comm Port"},
                      NameRow{"Последовательный порт (com3)", "COM3", "Последовательный порт"},
                      NameRow{"Silicon Labs CP210x (USB) (COM7)", "COM7", "Silicon Labs CP210x (USB)"},
                      NameRow{"ECP Printer Port (LPT1)", "", "ECP Printer Port (LPT1)"},
                      NameRow{"Communications Port", "", "Communications Port"}, NameRow{"", "", ""}),
    [](const auto &info) { return "name" + std::to_string(info.index); });

struct SerialRow {
    const char *instanceId;
    const char *serialNumber;
};

class InstanceSerials : public ::testing::TestWithParam<SerialRow> {};

TEST_P(InstanceSerials, OnlyWhatTheAdapterItselfGave) {
    EXPECT_EQ(ComPortCatalog::serialNumberOf(QString::fromUtf8(GetParam().instanceId)).toStdString(),
              GetParam().serialNumber);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, InstanceSerials,
    ::testing::Values(SerialRow{"USB\\VID_067B&PID_2303\\A7B9C0D1", "A7B9C0D1"},
                      SerialRow{"USB\\VID_1A86&PID_7523\\5&1A2B3C4D&0&2", ""},   // made up by the system
                      SerialRow{"FTDIBUS\\VID_0403+PID_6001+A12BC3DEA\\0000", "A12BC3DE"},
                      SerialRow{"FTDIBUS\\VID_0403+PID_6001\\0000", ""},
                      SerialRow{"ACPI\\PNP0501\\1", ""}, SerialRow{"USB\\VID_067B&PID_2303", ""}),
    [](const auto &info) { return "id" + std::to_string(info.index); });

TEST(ComPortCatalog, EveryPortOnceByNumberUnderItsAdaptersName) {
    const std::vector<ComPortCatalog::Adapter> adapters = {
        {"COM12", "Prolific USB-to-Serial Comm Port (COM12)", "Prolific", "USB\\VID_067B&PID_2303\\A7B9C0D1"},
        {"LPT1", "ECP Printer Port (LPT1)", "(Standard port types)", "ACPI\\PNP0401\\4&1"},
        {"", "USB-SERIAL CH340 (com5)", "wch.cn", "USB\\VID_1A86&PID_7523\\5&1A2B&0&2"},   // no PortName: its friendly name tells
        {"COM1", "Communications Port (COM1)", "(Standard port types)", "ACPI\\PNP0501\\1"},
        {"COM1", "Communications Port (COM1)", "(Standard port types)", "ACPI\\PNP0501\\2"},   // twice: listed once
    };
    const std::vector<QString> registry = {"COM12", "COM3", "CNCA0", "COM1", " COM20 "};
    const std::vector<SerialDeviceInfo> ports = ComPortCatalog::merge(adapters, registry);
    QStringList listed;
    for (const SerialDeviceInfo &d : ports) listed << d.summary();
    EXPECT_EQ(listed, (QStringList{"COM1 — Communications Port, (Standard port types)", "COM3",
                                   "COM5 — USB-SERIAL CH340, wch.cn", "COM12 — Prolific USB-to-Serial Comm Port, Prolific, A7B9C0D1",
                                   "COM20", "CNCA0"}));
    // The name a user picks opens that port: the device is the COM name itself.
    ASSERT_NE(z5::SerialDevices::find(ports, QStringLiteral("COM5")), nullptr);
    EXPECT_EQ(z5::SerialDevices::find(ports, QStringLiteral("COM5"))->preferredName(), QStringLiteral("COM5"));
    EXPECT_TRUE(ComPortCatalog::merge({}, {}).empty());
}

TEST(ComPortCatalog, ComNamesInAnySpelling) {
    for (const auto &[given, name] : std::vector<std::pair<QString, QString>>{{"com5", "COM5"},
                                                                            {"\\\\.\\COM5", "COM5"},
                                                                            {" COM05 ", "COM5"},
                                                                            {"COM0", ""},
                                                                            {"LPT1", ""},
                                                                            {"COM", ""},
                                                                            {"/dev/ttyS0", ""}})
        EXPECT_EQ(ComPortCatalog::comName(given), name) << given.toStdString();
}

} // namespace
