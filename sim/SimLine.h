#pragma once
#include "SimController.h"
#include <QByteArray>
#include <QJsonObject>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace z5sim {

// How the line carries the controllers' replies.
struct SimLineOptions {
    // Pieces no faster than 115200 bit/s; otherwise a reply comes whole once the
    // wire would have carried the request and the reply.
    bool lineSpeed = false;
    // A far end that answers as soon as it has read the request: no turnaround,
    // no wire time (a simulator on a virtual null-modem).
    bool instant = false;
    // Every reply is sent again this long after its end (an echoing repeater or
    // converter); 0 back to back, negative never.
    int twiceMs = -1;
};

// The line with its controllers: every byte from the configurator reaches each
// of them, and their replies go out in the order they fall due, each
// controller's one after another, different controllers' interleaved where
// they overlap in time (two controllers set to one station). Each frame and
// data block is recorded once on the timeline, by the controller it is for
// (else the first); replies by each controller that sends one.
class SimLine {
public:
    // At 115200 bit/s a byte takes 10 bits; paced pieces of 64 bytes.
    static constexpr int kPiece = 64;

    SimLine(const std::vector<SimOptions> &controllers, const SimLineOptions &options);

    // Bytes read from the line at nowMs (milliseconds since start).
    void receive(const QByteArray &bytes, std::int64_t nowMs);
    bool hasOutgoing() const { return !outgoing_.empty(); }
    // When the next piece is due; only with hasOutgoing().
    std::int64_t nextDueMs() const { return outgoing_.front().dueMs; }
    // The next piece if it is due by nowMs, else empty. What the line could not
    // take is given back with keepUnsent().
    QByteArray takeDue(std::int64_t nowMs);
    void keepUnsent(const QByteArray &rest);

    std::function<void(const QJsonObject &)> onEvent;

    int controllerCount() const { return static_cast<int>(controllers_.size()); }
    SimController &controller(int i) { return *controllers_[static_cast<std::size_t>(i)]; }
    const SimController &controller(int i) const { return *controllers_[static_cast<std::size_t>(i)]; }

private:
    struct Outgoing {
        std::int64_t dueMs;
        QByteArray bytes;
    };
    void record(int controller, QJsonObject event);
    // Which controller records what concerns `station` (-1: no station).
    int recorderOf(int station) const;
    // Queues a reply from startMs, in pieces at line speed; returns when its last piece is due.
    std::int64_t schedule(const QByteArray &bytes, std::int64_t startMs);
    static std::int64_t lineMs(qsizetype bytes) { return std::int64_t(bytes * 10 * 1000 / 115200); }

    SimLineOptions options_;
    std::vector<std::unique_ptr<SimController>> controllers_;
    // When each controller's last piece is due: its next reply starts no sooner.
    std::vector<std::int64_t> busyUntilMs_;
    std::deque<Outgoing> outgoing_;   // in the order due
    std::int64_t takenDueMs_ = 0;
    int lastHeaderStation_ = -1;
};

} // namespace z5sim
