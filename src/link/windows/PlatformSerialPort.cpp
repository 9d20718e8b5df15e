#include "link/SystemSerialPort.h"
#include "link/windows/Win32SerialPort.h"

namespace z5 {

std::unique_ptr<SerialPort> makePlatformSerialPort() { return std::make_unique<Win32SerialPort>(); }

} // namespace z5
