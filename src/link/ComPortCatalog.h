#pragma once
#include "link/SerialDevices.h"
#include <QString>
#include <vector>

namespace z5 {

// The COM ports a Windows machine has, put together from what its device
// manager says of each adapter (friendly name, maker, device instance) and from
// the registry's list of serial ports, which names every port but says nothing
// about it. Only text is handled here; the system calls that gather it live
// with the platform's code.
class ComPortCatalog {
public:
    // One adapter as the device manager tells it.
    struct Adapter {
        QString portName;       // "COM5", from the device's registry key
        QString friendlyName;   // "USB-SERIAL CH340 (COM5)"
        QString manufacturer;   // "wch.cn"
        QString instanceId;     // "USB\VID_1A86&PID_7523\5&1A2B3C4D&0&2"
    };

    // "COM5" for "com5" or "\\.\COM5"; empty for anything that is not a COM port
    // (a printer port "LPT1", a name of another kind).
    static QString comName(const QString &name);
    // What the adapter calls itself without the port it got: "USB-SERIAL CH340"
    // from "USB-SERIAL CH340 (COM5)"; the whole name when it carries no port.
    static QString describedAs(const QString &friendlyName);
    // The port a friendly name ends with ("COM5"), or empty.
    static QString portInFriendlyName(const QString &friendlyName);
    // The adapter's serial number where its device instance carries one: a USB
    // device's last part when the device gave it (no '&': those are made up by
    // the system), or an FTDI adapter's part after the product id, without the
    // channel letter. Empty otherwise.
    static QString serialNumberOf(const QString &instanceId);

    // Every COM port once, in the order of their numbers: the adapters (by their
    // port name, or by the port in their friendly name) with what they say of
    // themselves, then the registry's ports no adapter claimed, with their name
    // alone (ports of other names last). The device is always the COM name, so
    // that the name a user picks opens that port.
    static std::vector<SerialDeviceInfo> merge(const std::vector<Adapter> &adapters, const std::vector<QString> &registryPorts);
};

} // namespace z5
