#include "link/SystemSerialPort.h"
#include "link/SimulatedControllerPort.h"

namespace z5 {

SystemSerialPort::SystemSerialPort(Clock &clock)
    : clock_(clock), platform_(makePlatformSerialPort()), active_(platform_.get()) {}

SystemSerialPort::~SystemSerialPort() = default;

bool SystemSerialPort::open(const QString &device) {
    SerialPort *wanted = platform_.get();
    if (SimulatedControllerPort::isItsName(device)) {
        if (!simulated_) {
            simulated_ = std::make_unique<SimulatedControllerPort>(clock_);
            simulated_->setArrivalHandler(arrived_);
            simulated_->setLineErrorHandler(lineErrors_);
        }
        wanted = simulated_.get();
    }
    if (wanted != active_) active_->close();
    active_ = wanted;
    return active_->open(device);
}

void SystemSerialPort::setArrivalHandler(std::function<void()> handler) {
    arrived_ = handler;
    if (simulated_) simulated_->setArrivalHandler(handler);
    platform_->setArrivalHandler(std::move(handler));
}

void SystemSerialPort::setLineErrorHandler(std::function<void(LineErrors)> handler) {
    lineErrors_ = handler;
    if (simulated_) simulated_->setLineErrorHandler(handler);
    platform_->setLineErrorHandler(std::move(handler));
}

} // namespace z5
