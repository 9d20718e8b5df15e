#pragma once
#include <QString>
#include <cstdint>

namespace z5 {

// Which serial port and which station the configurator talks to. Held in memory
// for one run; both start at their defaults every time.
class PortSettings {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 16;
    static constexpr int kFirstStation = 1;
    static constexpr int kLastStation = 8;

    std::uint8_t COM_PORT_number = 4;
    int NET_Z5_number = 1;

    // Device of port COMn. On Windows COMn itself; elsewhere the path named by the
    // environment variable Z5_COM<n> (for example Z5_COM4=/dev/ttyUSB0), else
    // /dev/ttyS<n-1>. Empty for a number outside 1..16.
    static QString deviceName(int comPort);
    // A device given by the user: "COM1".."COM16" (any case) maps as above,
    // anything else is taken as a device path.
    static QString resolveDevice(const QString &portOrPath);
};

} // namespace z5
