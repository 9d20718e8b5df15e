#include "link/FakeSerialPort.h"
#include "model/Clock.h"
#include <algorithm>

namespace z5 {

FakeSerialPort::FakeSerialPort(Clock *clock) : clock_(clock) {
    if (clock_) {
        timer_ = clock_->createTimer();
        timer_->setOnTimeout([this] { releaseDue(); });
    }
}

FakeSerialPort::~FakeSerialPort() = default;

bool FakeSerialPort::open(const QString &device) {
    if (refuseOpen) {
        error_ = refuseReason;
        return false;
    }
    device_ = device;
    open_ = true;
    gone_ = false;
    error_.clear();
    input_.clear();
    droppedAtClose_ = 0;
    ++openCount_;
    return true;
}

void FakeSerialPort::close() {
    if (!open_) return;
    droppedAtClose_ = queued_;
    queued_ = 0;
    open_ = false;
    input_.clear();
    pending_.clear();
    if (timer_) timer_->stop();
    ++closeCount_;
}

bool FakeSerialPort::write(const QByteArray &bytes) {
    if (!open_) return false;
    writes_.push_back({clock_ ? clock_->nowMs() : 0, bytes});
    const qint64 room = farEndTakesBytes < 0 || queued_ > 0 ? (farEndTakesBytes < 0 ? bytes.size() : 0)
                                                            : std::max<qint64>(0, farEndTakesBytes - taken_);
    const qint64 taken = std::min<qint64>(room, bytes.size());
    taken_ += taken;
    queued_ += bytes.size() - taken;
    if (!silent && responder) {
        const QByteArray answer = responder(bytes);
        if (!answer.isEmpty()) schedule(answer);
    }
    return true;
}

qint64 FakeSerialPort::bytesNotYetSent() const {
    return open_ ? queued_ : 0;
}

QByteArray FakeSerialPort::readAll() {
    QByteArray all;
    all.swap(input_);
    return all;
}

void FakeSerialPort::deliver(const QByteArray &bytes) {
    if (!open_) return;
    input_.append(bytes);
    notifyArrival();
}

void FakeSerialPort::notifyArrival() {
    // A copy: the reader may replace the handler while it runs.
    if (!notifiesArrivals) return;
    if (const auto handler = arrived_) handler();
}

void FakeSerialPort::fail(const QString &why, bool deviceGone) {
    close();
    error_ = why;
    gone_ = deviceGone;
}

QByteArray FakeSerialPort::writtenBytes() const {
    QByteArray all;
    for (const auto &w : writes_) all.append(w.bytes);
    return all;
}

void FakeSerialPort::schedule(const QByteArray &answer) {
    if (!clock_) {
        input_.append(answer);
        return;
    }
    const int step = pieceSize > 0 ? pieceSize : static_cast<int>(answer.size());
    std::int64_t due = clock_->nowMs() + replyDelayMs;
    // An answer never overtakes one still on its way.
    if (!pending_.empty()) due = std::max(due, pending_.back().dueMs);
    for (int at = 0; at < answer.size(); at += step, due += pieceIntervalMs)
        pending_.push_back({due, answer.mid(at, step)});
    releaseDue();
}

void FakeSerialPort::releaseDue() {
    const std::int64_t now = clock_->nowMs();
    while (!pending_.empty() && pending_.front().dueMs <= now) {
        input_.append(pending_.front().bytes);
        pending_.pop_front();
    }
    if (pending_.empty()) {
        timer_->stop();
    } else {
        const auto wait = pending_.front().dueMs - now;
        timer_->start(static_cast<int>(wait));
    }
    // Last: the reader may answer with a write that schedules more input.
    notifyArrival();
}

} // namespace z5
