#pragma once
#include "link/SerialPort.h"

namespace z5 {

// The serial line through the Win32 communications API: \\.\COMn at 115200 bit/s,
// 8N1, no flow control. Reads return at once with what is waiting, so the readers'
// polls never block. A failed read, write or query closes the port and keeps the
// reason, so that a vanished adapter ends the exchange instead of being polled.
class Win32SerialPort : public SerialPort {
public:
    static constexpr unsigned long kBaudRate = 115200;
    // A write may take this long beyond a millisecond a byte before it counts as failed.
    static constexpr unsigned long kWriteMarginMs = 1000;
    static constexpr int kReadBound = 64 * 1024;

    Win32SerialPort() = default;
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort &) = delete;
    Win32SerialPort &operator=(const Win32SerialPort &) = delete;

    bool open(const QString &device) override;
    // Waits until everything written has left the driver, then closes.
    void close() override;
    bool isOpen() const override { return handle_ != nullptr; }
    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override;
    QByteArray readAll() override;
    QString errorString() const override { return error_; }
    bool deviceGone() const override { return gone_; }
    // The driver's output queue (ClearCommError's cbOutQue).
    qint64 bytesNotYetSent() const override;
    qint64 bytesDroppedAtClose() const override { return droppedAtClose_; }

    // The name CreateFile needs: "COM12" (any case) becomes "\\.\COM12"; other names stay.
    static QString systemPath(const QString &device);
    // The user's words for a Win32 error code from opening, or from a port in use.
    static QString describeOpenFailure(const QString &device, unsigned long code);
    static QString describeLoss(const QString &device, unsigned long code);
    // Whether a failure with this code means the device went away (it may come back).
    static bool meansDeviceGone(unsigned long code);

private:
    // Keeps the reason and closes the port; callable from the const queries.
    void fail(unsigned long code) const;

    mutable void *handle_ = nullptr;
    mutable QString error_;
    mutable bool gone_ = false;
    QString device_;
    qint64 droppedAtClose_ = 0;
};

} // namespace z5
