#include "link/PortOutbox.h"
#include <chrono>

namespace z5 {

bool PortOutbox::queue(const QByteArray &bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (failed_) return false;
    if (bytes.isEmpty()) return true;
    queued_.push_back(bytes);
    queuedBytes_ += bytes.size();
    return true;
}

qint64 PortOutbox::pending() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return queuedBytes_ + inFlight_;
}

qint64 PortOutbox::waitUntilSent(int ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(ms > 0 ? ms : 0),
                      [this] { return failed_ || queuedBytes_ + inFlight_ == 0; });
    return failed_ ? lost_ : queuedBytes_ + inFlight_;
}

bool PortOutbox::failed() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return failed_;
}

qint64 PortOutbox::lost() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return lost_;
}

void PortOutbox::reset() {
    const std::lock_guard<std::mutex> lock(mutex_);
    queued_.clear();
    queuedBytes_ = 0;
    inFlight_ = 0;
    failed_ = false;
    lost_ = 0;
}

QByteArray PortOutbox::take(qsizetype maxBytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    QByteArray chunk;
    if (inFlight_ > 0 || failed_) return chunk;
    while (!queued_.empty() && chunk.size() < maxBytes) {
        QByteArray &front = queued_.front();
        const qsizetype room = maxBytes - chunk.size();
        if (front.size() <= room) {
            chunk += front;
            queued_.pop_front();
        } else {
            chunk += front.left(room);
            front.remove(0, room);
        }
    }
    queuedBytes_ -= chunk.size();
    inFlight_ = chunk.size();
    return chunk;
}

void PortOutbox::sent() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        inFlight_ = 0;
    }
    changed_.notify_all();
}

qint64 PortOutbox::fail() {
    qint64 lost = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!failed_) {
            failed_ = true;
            lost_ = queuedBytes_ + inFlight_;
            queued_.clear();
            queuedBytes_ = 0;
            inFlight_ = 0;
        }
        lost = lost_;
    }
    changed_.notify_all();
    return lost;
}

} // namespace z5
