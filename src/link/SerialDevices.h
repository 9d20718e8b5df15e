#pragma once
#include <QString>
#include <vector>

namespace z5 {

// One serial device present on the machine, as the user can tell it apart.
struct SerialDeviceInfo {
    QString device;        // /dev/ttyUSB0
    QString description;   // what the adapter calls itself
    QString manufacturer;
    QString serialNumber;
    QString stableName;    // /dev/serial/by-id/... (survives replugging), or empty

    // The name to remember: the stable one where there is one.
    QString preferredName() const { return stableName.isEmpty() ? device : stableName; }
    // "device — description, manufacturer, serial number" for lists and status texts.
    QString summary() const;
};

// The serial devices present on the machine. Behind an interface so that the
// port dialog can be shown a fixed list.
class SerialDevices {
public:
    virtual ~SerialDevices() = default;
    virtual std::vector<SerialDeviceInfo> list() const = 0;

    // The entry for a device path or a stable name, if present.
    static const SerialDeviceInfo *find(const std::vector<SerialDeviceInfo> &devices, const QString &name);
};

// "COM4: /dev/ttyUSB0 — FT232R USB UART": the COM number, its device and, when the
// device is present in `devices`, what it is. With `onlyKnown`, empty unless present.
QString describePort(int comPort, const SerialDevices *devices, bool onlyKnown = false);

// The devices the system reports, with their /dev/serial/by-id names, and last
// the controller simulated inside the program, which every machine has.
class SystemSerialDevices : public SerialDevices {
public:
    std::vector<SerialDeviceInfo> list() const override;
    // The folder of stable names; another one only for tests.
    QString byIdFolder = QStringLiteral("/dev/serial/by-id");

private:
    // What the system reports; defined once per platform.
    std::vector<SerialDeviceInfo> systemDevices() const;
};

} // namespace z5
