#include "link/QtSerialPort.h"
#include "link/SystemSerialPort.h"

namespace z5 {

std::unique_ptr<SerialPort> makePlatformSerialPort() { return std::make_unique<QtSerialPort>(); }

} // namespace z5
