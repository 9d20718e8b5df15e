#include "link/SystemSerialPort.h"

namespace z5 {

SystemSerialPort::SystemSerialPort() : port_(makePlatformSerialPort()) {}

SystemSerialPort::~SystemSerialPort() = default;

} // namespace z5
