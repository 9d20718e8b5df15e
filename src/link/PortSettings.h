#pragma once
#include <QString>
#include <cstdint>

namespace z5 {

// Which serial port and which station the configurator talks to. Held in memory
// for one run; both start at their defaults (COM4, station 1) every time. The
// device each COM number stands for is kept between runs (PortMapping).
class PortSettings {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 16;
    static constexpr int kFirstStation = 1;
    static constexpr int kLastStation = 8;

    std::uint8_t portNumber = 4;
    int station = 1;

    // Device of port COMn: the path named by the environment variable Z5_COM<n>
    // (for example Z5_COM4=/dev/ttyUSB0), else the device chosen in the port
    // dialog, else /dev/ttyS<n-1> (on Windows COMn itself). Empty outside 1..16.
    static QString deviceName(int comPort);
    // A device given by the user: "COM1".."COM16" (any case) or "1".."16" maps as
    // above, "sim" and "Симулятор Z5" are the controller simulated inside the
    // program (under the latter name), a bare name found in /dev/serial/by-id stands for that link, anything
    // else is taken as a device path, a relative one (a link made in the current
    // folder) from the current folder.
    static QString resolveDevice(const QString &portOrPath);
};

} // namespace z5
