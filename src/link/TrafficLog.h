#pragma once
#include "link/LineErrors.h"
#include "link/TrafficClassifier.h"
#include "link/TrafficRecord.h"
#include <QObject>
#include <array>
#include <vector>

namespace z5 {

class Clock;

// The record of every transfer on the line: each write and each read of the
// port, with its time, direction, bytes and what it was. A bounded ring keeps
// the latest transfers, so a day of exchanges does not grow without end.
// Recording is cheap (the bytes are shared, not copied) and never touches the
// port, so the line's timing stays as it is.
class TrafficLog : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultCapacity = 20000;

    explicit TrafficLog(Clock &clock, int capacity = kDefaultCapacity, QObject *parent = nullptr);

    void recordSent(const QByteArray &bytes) { record(TrafficDirection::Sent, bytes); }
    void recordReceived(const QByteArray &bytes) { record(TrafficDirection::Received, bytes); }
    void record(TrafficDirection direction, const QByteArray &bytes);
    // What a reader found received bytes to be that the line alone cannot tell:
    // stray bytes around a part, a reply that came too late. Kept as a received
    // record of its own, never classified again.
    void recordNote(const QString &what, const QByteArray &bytes);
    // The port's receiver lost or damaged bytes: a received record of its own,
    // without bytes, where it happened among the transfers.
    void recordLineErrors(LineErrors errors);
    // The port closed: no announced data block or awaited reply is pending any more.
    void lineClosed() { classifier_.reset(); }
    // The exchange under way ended (with or without its reply).
    void exchangeEnded() { classifier_.exchangeEnded(); }

    void setBlockTypes(TrafficClassifier::BlockTypeOf blockTypeOf) { classifier_.setBlockTypes(std::move(blockTypeOf)); }

    int capacity() const { return capacity_; }
    int size() const { return static_cast<int>(ring_.size()); }
    // The i-th kept transfer, 0 the oldest; an empty record outside 0..size()-1.
    const TrafficRecord &at(int i) const;
    // How many transfers, of every kind or of one, the ring let go to make room
    // since it was created or last cleared.
    std::uint64_t dropped() const { return droppedAll_; }
    std::uint64_t dropped(TrafficKind kind) const { return dropped_[static_cast<std::size_t>(kind)]; }
    // Sequence number of the oldest kept transfer (the next one's when empty).
    std::uint64_t firstSequence() const { return nextSequence_ - ring_.size(); }
    std::uint64_t nextSequence() const { return nextSequence_; }
    // Forgets every kept transfer; sequence numbers go on counting.
    void clear();

signals:
    // A transfer was kept; when the ring was full the oldest went first.
    void appended(const z5::TrafficRecord &record);
    void cleared();

private:
    void keep(TrafficRecord record);

    Clock &clock_;
    int capacity_;
    TrafficClassifier classifier_;
    std::vector<TrafficRecord> ring_;   // circular once full; head_ is the oldest
    std::size_t head_ = 0;
    std::uint64_t nextSequence_ = 0;
    std::array<std::uint64_t, kTrafficKindCount> dropped_{};
    std::uint64_t droppedAll_ = 0;
};

} // namespace z5
