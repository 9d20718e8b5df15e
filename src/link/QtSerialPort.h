#pragma once
#include "link/DeviceLock.h"
#include "link/SerialPort.h"
#include <QSerialPort>

namespace z5 {

// The real serial line through QSerialPort: 115200 bit/s, 8N1, no flow control.
// Any read, write or resource error closes the port (queued, since the port may
// be inside its own notification), so that a vanished far end cannot flood the
// event loop; the next open sequence opens it again.
class QtSerialPort : public SerialPort {
public:
    static constexpr qint32 kBaudRate = 115200;
    static constexpr qint64 kReadBufferBound = 64 * 1024;
    // Closing waits for queued output at most this long beyond its line time.
    static constexpr int kDrainMarginMs = 1000;

    QtSerialPort();
    ~QtSerialPort() override;

    bool open(const QString &device) override;
    // Waits (bounded) until everything written has left the driver, then closes.
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override { return port_.isOpen() ? port_.bytesAvailable() : 0; }
    QByteArray readAll() override;
    QString errorString() const override { return error_; }
    bool deviceGone() const override { return gone_; }
    void setArrivalHandler(std::function<void()> handler) override { arrived_ = std::move(handler); }
    qint64 bytesNotYetSent() const override;
    qint64 bytesDroppedAtClose() const override { return droppedAtClose_; }

    // Time the line needs for this many bytes at 10 bits a byte, rounded up.
    static int lineTimeMs(qint64 bytes) { return static_cast<int>((bytes * 10 * 1000 + kBaudRate - 1) / kBaudRate); }

private:
    void onError(QSerialPort::SerialPortError error);
    void drainOutput();
    QString describeOpenFailure(const QString &device) const;

    QSerialPort port_;
    QString error_;
    QString device_;
    bool closeQueued_ = false;
    bool gone_ = false;
    qint64 droppedAtClose_ = 0;
    std::function<void()> arrived_;
    DeviceLock deviceLock_;
};

} // namespace z5
