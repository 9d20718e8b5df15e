#pragma once
#include "link/SerialPort.h"
#include <memory>

namespace z5 {

// The serial line of the machine the program runs on: QSerialPort on Linux, the
// Win32 communications API on Windows. Which one is chosen when the program is
// built (link/posix or link/windows); everything above sees only SerialPort.
class SystemSerialPort : public SerialPort {
public:
    SystemSerialPort();
    ~SystemSerialPort() override;

    bool open(const QString &device) override { return port_->open(device); }
    void close() override { port_->close(); }
    bool isOpen() const override { return port_->isOpen(); }
    bool write(const QByteArray &bytes) override { return port_->write(bytes); }
    qint64 bytesAvailable() const override { return port_->bytesAvailable(); }
    QByteArray readAll() override { return port_->readAll(); }
    QString errorString() const override { return port_->errorString(); }
    bool deviceGone() const override { return port_->deviceGone(); }
    void setArrivalHandler(std::function<void()> handler) override { port_->setArrivalHandler(std::move(handler)); }
    void setLineErrorHandler(std::function<void(LineErrors)> handler) override {
        port_->setLineErrorHandler(std::move(handler));
    }
    qint64 bytesNotYetSent() const override { return port_->bytesNotYetSent(); }
    qint64 bytesDroppedAtClose() const override { return port_->bytesDroppedAtClose(); }

private:
    std::unique_ptr<SerialPort> port_;
};

// The platform's port; defined once per platform.
std::unique_ptr<SerialPort> makePlatformSerialPort();

} // namespace z5
