#pragma once
#include <QByteArray>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace z5 {

// What the thread that owns a port has written and a writer thread has not yet
// sent: queued bytes, then the bytes the writer has handed to the driver and
// not seen leave ("in flight"). write() queues here and returns at once; the
// owner still learns how much has not left, and can wait (bounded) for it to
// leave before closing. Safe to use from both threads.
class PortOutbox {
public:
    // --- The owner's side ---
    // Queues bytes; false once the writer has failed (nothing more can leave).
    bool queue(const QByteArray &bytes);
    // Queued and in flight.
    qint64 pending() const;
    // Waits until nothing is pending, the writer failed, or ms have passed;
    // returns what has not left (what was lost when the writer failed).
    qint64 waitUntilSent(int ms);
    bool failed() const;
    // What was pending when the writer failed; 0 while it has not.
    qint64 lost() const;
    // Empty and accepting again, for a port opened again.
    void reset();

    // --- The writer's side ---
    // Up to maxBytes of what is queued, in order, now in flight; empty when
    // nothing is queued or bytes are still in flight.
    QByteArray take(qsizetype maxBytes);
    // The bytes in flight have left.
    void sent();
    // The writer cannot send any more: whatever is pending is lost and later
    // bytes are refused. Returns what was lost.
    qint64 fail();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QByteArray> queued_;
    qsizetype queuedBytes_ = 0;
    qsizetype inFlight_ = 0;
    bool failed_ = false;
    qint64 lost_ = 0;
};

} // namespace z5
