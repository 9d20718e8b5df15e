#pragma once
#include "link/LineOutcome.h"
#include "link/WireSizes.h"
#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <memory>

namespace z5 {

class Clock;
class SerialPort;
class StaleReplyGuard;
class Timer;

// Awaits the controller's block reply to a request. Only the line owner
// (LineSession) drives it: it sends the request, then calls awaitBlockReply;
// from there the poll timer, the port's arrivals and the watchdog run the wait
// to its end, and `released` tells the owner how it ended. The reply is read
// into the reception's own buffer.
class ReplyReception : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollIntervalMs = 150;
    static constexpr int kBlockWatchdogMs = 1000;
    static constexpr int kTrendWatchdogMs = 8000;
    // A reply that repeats the one before is held at least this long for a
    // different one following it (the exchange's own, after a copy).
    static constexpr int kFollowUpMarginMs = 20;

    enum class Exchange { Idle, BlockReply };
    // How the wait ended, in the line's one outcome word: Reply (a block reply
    // with a correct check value was handed over), WrongCheckValue (one arrived
    // and was dropped), NoReply (the watchdog fired), NoNetwork (the port could
    // not be read) or Cancelled.
    using Ending = LineOutcome;

    ReplyReception(SerialPort &port, Clock &clock);
    ~ReplyReception() override;

    // Waits for a 260-byte block reply. A reply still incomplete at a poll tick
    // is awaited on the following ticks until the watchdog gives it up.
    void awaitBlockReply(int watchdogMs = kBlockWatchdogMs);
    // Ends any wait quietly (the window that owns it is closing).
    void cancel();
    // A block reply is taken as soon as it is complete when the port tells of
    // arrivals; the poll ticks remain for ports that do not. On by default.
    void setTakesRepliesOnArrival(bool on) { onArrival_ = on; }
    // What the line knows of stale replies and copies; none for a bare reception.
    void setStaleReplyGuard(StaleReplyGuard *guard) { guard_ = guard; }

    Exchange exchange() const { return exchange_; }
    // The bytes of the last reply taken in.
    const QByteArray &lastReply() const { return reply_; }
    std::uint32_t receivedCheck = 0;

    const Timer &pollTimer() const { return *poll_; }
    const Timer &watchdogTimer() const { return *watchdog_; }

signals:
    // A complete block reply (260 bytes or more) whose check value held.
    void blockReply(const QByteArray &reply);
    // The wait is over; both timers are already stopped.
    void released(z5::LineOutcome ending);
    // Bytes that came with the reply beyond its 260, or a reply dropped as a late
    // copy of one before: not this exchange's, shown as dropped.
    void strayBytes(const QByteArray &bytes);
    // Two different replies came at once: neither can be told to be this
    // exchange's, so none is shown (the exchange ends NoReply).
    void unattributed(const QByteArray &bytes);

private:
    void stopTimers();
    void onPollTick();
    void onArrival();
    void pollBlockReply();
    void onWatchdogTick();
    void onCopyWindowEnded();
    void take(const QByteArray &bytes);
    // More than one whole reply came in one read, not all the same.
    static bool holdsDifferentReplies(const QByteArray &bytes);
    void end(Ending ending);

    SerialPort &port_;
    Clock &clock_;
    QByteArray reply_;
    std::unique_ptr<Timer> poll_;
    std::unique_ptr<Timer> watchdog_;
    // A reply that may be a late copy of the one before: taken only when no other
    // reply follows it before the copy window ends.
    QByteArray heldCopy_;
    std::unique_ptr<Timer> copyWindow_;
    StaleReplyGuard *guard_ = nullptr;
    // When the exchange under way started, and how long the far end took to
    // answer the last exchange whose reply was taken at once.
    std::int64_t startedAtMs_ = 0;
    std::int64_t lastAnswerMs_ = 0;
    std::int64_t completeAtMs_ = 0;
    Exchange exchange_ = Exchange::Idle;
    bool onArrival_ = true;
};

} // namespace z5
