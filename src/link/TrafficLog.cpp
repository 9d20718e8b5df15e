#include "link/TrafficLog.h"
#include "model/Clock.h"

namespace z5 {

TrafficLog::TrafficLog(Clock &clock, int capacity, QObject *parent)
    : QObject(parent), clock_(clock), capacity_(capacity > 0 ? capacity : 1) {}

void TrafficLog::record(TrafficDirection direction, const QByteArray &bytes) {
    TrafficRecord r;
    r.direction = direction;
    // A port's read hands over arrays sized for its read chunk (kilobytes for a
    // reply of 260 bytes); kept as they are, a full ring would hold hundreds of MB.
    r.bytes = bytes.capacity() > 2 * bytes.size() + 64 ? QByteArray(bytes.constData(), bytes.size()) : bytes;
    classifier_.classify(r);
    keep(std::move(r));
}

void TrafficLog::recordNote(const QString &what, const QByteArray &bytes) {
    TrafficRecord r;
    r.direction = TrafficDirection::Received;
    r.kind = TrafficKind::Stray;
    r.what = what;
    r.bytes = QByteArray(bytes.constData(), bytes.size());
    keep(std::move(r));
}

void TrafficLog::recordLineErrors(LineErrors errors) {
    if (!errors.any()) return;
    TrafficRecord r;
    r.direction = TrafficDirection::Received;
    r.kind = TrafficKind::LineError;
    r.what = errors.text();
    keep(std::move(r));
}

void TrafficLog::keep(TrafficRecord r) {
    r.sequence = nextSequence_++;
    r.ms = clock_.nowMs();
    if (ring_.size() < static_cast<std::size_t>(capacity_)) {
        ring_.push_back(std::move(r));
    } else {
        ++dropped_[static_cast<std::size_t>(ring_[head_].kind)];
        ++droppedAll_;
        ring_[head_] = std::move(r);
        head_ = (head_ + 1) % ring_.size();
    }
    emit appended(at(size() - 1));
}

const TrafficRecord &TrafficLog::at(int i) const {
    static const TrafficRecord none;
    if (i < 0 || i >= size()) return none;
    return ring_[(head_ + static_cast<std::size_t>(i)) % ring_.size()];
}

void TrafficLog::clear() {
    ring_.clear();
    head_ = 0;
    dropped_.fill(0);
    droppedAll_ = 0;
    emit cleared();
}

} // namespace z5
