#pragma once
#include "link/SerialPort.h"
#include <memory>

namespace z5 {

class Clock;
class SimulatedControllerPort;

// The ports of the machine the program runs on: its serial line (QSerialPort on
// Linux, the Win32 communications API on Windows, chosen when the program is
// built: link/posix or link/windows) and, on every platform, the controller
// simulated inside the program, which opens under its own name. Everything
// above sees only SerialPort; the simulated controller lives as long as this
// port, so it keeps what was written into it while the program runs.
class SystemSerialPort : public SerialPort {
public:
    // The clock paces the simulated controller's replies.
    explicit SystemSerialPort(Clock &clock);
    ~SystemSerialPort() override;

    // Closes whichever port was open first when the name goes to the other one.
    bool open(const QString &device) override;
    void close() override { active_->close(); }
    bool isOpen() const override { return active_->isOpen(); }
    bool write(const QByteArray &bytes) override { return active_->write(bytes); }
    qint64 bytesAvailable() const override { return active_->bytesAvailable(); }
    QByteArray readAll() override { return active_->readAll(); }
    QString errorString() const override { return active_->errorString(); }
    bool deviceGone() const override { return active_->deviceGone(); }
    void setArrivalHandler(std::function<void()> handler) override;
    void setLineErrorHandler(std::function<void(LineErrors)> handler) override;
    qint64 bytesNotYetSent() const override { return active_->bytesNotYetSent(); }
    qint64 bytesDroppedAtClose() const override { return active_->bytesDroppedAtClose(); }

private:
    Clock &clock_;
    std::unique_ptr<SerialPort> platform_;
    // Made when it is first opened.
    std::unique_ptr<SimulatedControllerPort> simulated_;
    SerialPort *active_;
    std::function<void()> arrived_;
    std::function<void(LineErrors)> lineErrors_;
};

// The platform's port; defined once per platform.
std::unique_ptr<SerialPort> makePlatformSerialPort();

} // namespace z5
