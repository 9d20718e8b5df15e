#pragma once
#include "link/LineOutcome.h"
#include "link/WriteSequence.h"
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>

namespace z5 {

class Clock;
class HeldLine;
class Timer;
class TappedPort;
class WriteReply;

// Paces one write sequence on the line owner's clock: each step at its
// millisecond from the start, reported on the sequence's reply as it happens.
// After the last step the write ends once its bytes have left the port: what is
// still queued gets the time the line needs for it and a margin, polled at a
// steady pace. A send that fails lets the write keep its pace to its end, which
// is then NoNetwork at once.
class WriteSequencer : public QObject {
    Q_OBJECT
public:
    // `ended` hands the reply back to the line owner with how it ended and, for
    // NoNetwork, the port's reason from the moment it failed; the line owner
    // finishes it.
    using Ended = std::function<void(const std::shared_ptr<WriteReply> &, LineOutcome, const QString &portReason)>;

    WriteSequencer(Clock &clock, HeldLine &line, TappedPort &tap, Ended ended);
    ~WriteSequencer() override;

    // Opens the port (a port that does not open ends the write at once as
    // NoNetwork) and runs the steps due now.
    void start(const std::shared_ptr<WriteReply> &reply);
    bool isActive() const { return reply_ != nullptr; }
    // Stops the write under way without ending it; its reply is returned.
    std::shared_ptr<WriteReply> abandon();

private:
    void runDueSteps();
    void runStep(int index, const WriteSequence::Step &step);
    // Sends the step's header or data block; what went out is in stepBytes_.
    bool send(const WriteSequence::Step &step);
    bool build(const WriteSequence::Step &step);
    void skipRefused();
    void noteSendFailure();
    // The port closed by itself (it failed) after the last send: nobody closed it through the tap.
    bool portFailedAfterSending();
    void drainThenEnd();
    void checkDrain();
    void end(LineOutcome outcome, const QString &failure = QString());
    std::int64_t elapsedMs() const;

    Clock &clock_;
    HeldLine &line_;
    TappedPort &tap_;
    Ended ended_;
    std::unique_ptr<Timer> stepTimer_;
    std::unique_ptr<Timer> drainTimer_;
    std::shared_ptr<WriteReply> reply_;
    std::int64_t startMs_ = 0;
    std::size_t next_ = 0;
    std::set<int> refusedTags_;
    bool sendFailed_ = false;
    // The port was closed through the tap (a close step, the line owner) and not opened since.
    bool closedThroughTap_ = false;
    QString portReason_;
    int loadedBytes_ = 0;
    // What the write sent through the port and what a close dropped.
    qint64 bytesSent_ = 0;
    qint64 bytesDropped_ = 0;
    // What the step under way put on the wire.
    QByteArray stepBytes_;
    std::int64_t drainDeadlineMs_ = 0;
};

} // namespace z5
