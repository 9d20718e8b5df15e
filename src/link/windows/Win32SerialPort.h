#pragma once
#include "link/SerialPort.h"
#include <QObject>
#include <memory>

namespace z5 {

class PortInbox;
class PortOutbox;
class Win32PortWorker;

// The serial line through the Win32 communications API: \\.\COMn at 115200 bit/s,
// 8N1, no flow control, opened for overlapped I/O. A worker thread does all the
// port's I/O (Win32PortWorker): arrivals are told to the arrival handler on the
// owner's thread as they come, and a write only queues its bytes, so the
// owner's thread (the window's) never waits for the line. A failure of the
// worker, or of a query, closes the port and keeps the reason, so that a
// vanished adapter ends the exchange instead of being polled.
class Win32SerialPort : public SerialPort {
public:
    static constexpr unsigned long kBaudRate = 115200;
    // Closing waits for queued output at most this long beyond its line time.
    static constexpr int kDrainMarginMs = 1000;
    // How long a close waits for the worker to end once its calls are aborted.
    static constexpr int kStopMs = 500;
    static constexpr int kReadBound = 64 * 1024;

    Win32SerialPort();
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort &) = delete;
    Win32SerialPort &operator=(const Win32SerialPort &) = delete;

    bool open(const QString &device) override;
    // Waits (bounded) until everything written has left the driver, then
    // closes; what had not left by then is dropped and counted.
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override;
    QByteArray readAll() override;
    QString errorString() const override { return error_; }
    bool deviceGone() const override { return gone_; }
    void setArrivalHandler(std::function<void()> handler) override { arrived_ = std::move(handler); }
    void setLineErrorHandler(std::function<void(LineErrors)> handler) override { lineErrors_ = std::move(handler); }
    // Queued, in flight, and (once nothing is in flight) the driver's output queue.
    qint64 bytesNotYetSent() const override;
    qint64 bytesDroppedAtClose() const override { return droppedAtClose_; }

    // The name CreateFile needs: "COM12" (any case) becomes "\\.\COM12"; other names stay.
    static QString systemPath(const QString &device);
    // The user's words for a Win32 error code from opening, or from a port in use.
    static QString describeOpenFailure(const QString &device, unsigned long code);
    static QString describeLoss(const QString &device, unsigned long code);
    // Whether a failure with this code means the device went away (it may come back).
    static bool meansDeviceGone(unsigned long code);
    // The line errors in ClearCommError's flags (CE_OVERRUN, CE_RXOVER, CE_FRAME, CE_RXPARITY, CE_BREAK).
    static LineErrors lineErrorsOf(unsigned long commErrors);
    // Time the line needs for this many bytes at 10 bits a byte, rounded up.
    static int lineTimeMs(qint64 bytes) { return static_cast<int>((bytes * 10 * 1000 + kBaudRate - 1) / kBaudRate); }

private:
    // The worker said something: line errors, arrivals, or its failure.
    void onNotice();
    // Adopts a failure the worker reported, if any: the port is closed with the
    // reason kept. False when the port is (still) open.
    bool checkFailure() const;
    // Keeps the reason, counts what had not left, and closes the port.
    void fail(unsigned long code) const;
    // Ends the worker and lets the handle go.
    void shutDown() const;
    // The driver's output queue, with any line errors it reports passed on; -1 when it cannot say.
    qint64 driverQueue() const;

    mutable void *handle_ = nullptr;
    mutable std::shared_ptr<Win32PortWorker> worker_;
    mutable std::shared_ptr<PortInbox> inbox_;
    mutable std::shared_ptr<PortOutbox> outbox_;
    mutable QString error_;
    mutable bool gone_ = false;
    mutable qint64 droppedAtClose_ = 0;
    QString device_;
    std::function<void()> arrived_;
    std::function<void(LineErrors)> lineErrors_;
    // Lives on the owner's thread: the worker's notices are queued calls to it.
    QObject notices_;
};

} // namespace z5
