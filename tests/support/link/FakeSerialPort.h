#pragma once
#include "link/SerialPort.h"
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace z5 {

class Clock;
class Timer;

// An in-memory serial port for tests. It records every write (with the clock's
// time when it has a clock) and answers through a responder. With a clock, an
// answer arrives replyDelayMs after the write that caused it, in pieces of
// pieceSize bytes pieceIntervalMs apart; without one it is waiting at once.
class FakeSerialPort : public SerialPort {
public:
    struct Write {
        std::int64_t atMs;
        QByteArray bytes;
    };

    explicit FakeSerialPort(Clock *clock = nullptr);
    ~FakeSerialPort() override;

    bool open(const QString &device) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override { return open_ ? input_.size() : 0; }
    QByteArray readAll() override;
    QString errorString() const override { return error_; }
    bool deviceGone() const override { return gone_; }
    void setArrivalHandler(std::function<void()> handler) override { arrived_ = std::move(handler); }
    void setLineErrorHandler(std::function<void(LineErrors)> handler) override { lineErrors_ = std::move(handler); }
    qint64 bytesNotYetSent() const override;
    qint64 bytesDroppedAtClose() const override { return droppedAtClose_; }

    // Fault switches.
    bool refuseOpen = false;                            // open() fails with refuseReason
    QString refuseReason = QStringLiteral("no such device");
    bool silent = false;                                // nothing ever answers
    int pieceSize = 0;                                  // 0: an answer arrives whole
    int pieceIntervalMs = 10;
    int replyDelayMs = 20;
    // Tells the arrival handler of every arrival, as a real port does; off by
    // default so that replies wait for the reader's poll.
    bool notifiesArrivals = false;
    // The far end stops reading once it has taken this many bytes since the port
    // was made (a stuck adapter, flow control held): the rest stays queued and a
    // close drops it.
    // Negative: it reads everything at once.
    qint64 farEndTakesBytes = -1;

    // Answers a write; an empty answer sends nothing back.
    std::function<QByteArray(const QByteArray &written)> responder;

    // Bytes arrive from the far end now (they are lost when the port is closed).
    void deliver(const QByteArray &bytes);
    // The far end reads again: what was queued leaves now.
    void farEndResumes() {
        farEndTakesBytes = -1;
        queued_ = 0;
    }
    // The receiver saw these errors on the line (told at once, as a real port tells them).
    void reportLineErrors(unsigned flags) {
        if (const auto handler = lineErrors_) handler(LineErrors{flags});
    }
    // The far end vanished: the port closes itself and reports why; with
    // deviceGone, as an adapter unplugged does (it stays so until an open succeeds).
    void fail(const QString &why, bool deviceGone = false);

    const std::vector<Write> &writes() const { return writes_; }
    QByteArray writtenBytes() const;
    void clearWrites() { writes_.clear(); }
    QString openedDevice() const { return device_; }
    int openCount() const { return openCount_; }
    int closeCount() const { return closeCount_; }

private:
    struct Pending {
        std::int64_t dueMs;
        QByteArray bytes;
    };
    void schedule(const QByteArray &answer);
    void releaseDue();

    Clock *clock_;
    std::unique_ptr<Timer> timer_;
    std::deque<Pending> pending_;
    std::vector<Write> writes_;
    QByteArray input_;
    QString device_;
    bool gone_ = false;
    QString error_;
    bool open_ = false;
    std::function<void()> arrived_;
    std::function<void(LineErrors)> lineErrors_;
    void notifyArrival();
    int openCount_ = 0;
    qint64 taken_ = 0;
    qint64 queued_ = 0;
    qint64 droppedAtClose_ = 0;
    int closeCount_ = 0;
};

} // namespace z5
