#pragma once
#include "link/LineReply.h"
#include "link/WriteSequence.h"
#include <QString>

namespace z5 {

// The answer to one write sequence: each step reported as it happens, then one
// outcome. Reply once every byte has left the port; NotDrained when bytes stayed
// behind ("Z5 не принимает данные: …"); NoNetwork when the port did not open or
// a send failed (the write keeps its pace to its end); Cancelled when a step
// whose data could not be built ended the write, or the write was taken out of
// the queue before it started.
class WriteReply : public LineReply {
    Q_OBJECT
public:
    explicit WriteReply(WriteSequence sequence);

    const WriteSequence &sequence() const { return sequence_; }
    // Every byte left and no step was refused.
    bool succeeded() const { return isFinished() && outcome() == LineOutcome::Reply && refusals_ == 0; }
    // Why the write did not succeed: for NoNetwork "Нет сети!!!" and the port's
    // reason as the line tells it, for NotDrained the counts, for a refused step
    // its problem. The first failure wins.
    const QString &failureText() const { return failureText_; }
    // The failure is a refused step, already reported through stepRefused.
    bool failureWasReported() const { return failureWasReported_; }
    int refusals() const { return refusals_; }
    // Once finished: the bytes that left the port (handed to it, less what a
    // close dropped and, for NotDrained, what was still queued at the end).
    qint64 bytesDelivered() const { return bytesDelivered_; }

signals:
    // A header frame or a data block of the step tagged `tag` went out (sent
    // false: the port refused it). `bytes` is what the data block put on the wire.
    void headerSent(int tag, bool sent);
    void dataSent(int tag, int bytes, bool sent);
    // The data of `tag` could not be built; nothing of it goes out.
    void stepRefused(int tag, const QString &problem, const QString &caption);
    void portClosed();
    void portReopened(bool opened);
    void marked(int mark);
    // A step was carried out (`step` indexes sequence().steps()): `wentOut` is
    // what it put on the wire, check value included; empty for a close, a
    // reopen, a mark or a send the port refused. A refused step is not taken.
    void stepTaken(int step, const QByteArray &wentOut);

private:
    friend class WriteSequencer;
    void noteFailure(const QString &text, bool reported);
    void noteRefusal(int tag, const QString &problem, const QString &caption);

    WriteSequence sequence_;
    QString failureText_;
    bool failureWasReported_ = false;
    int refusals_ = 0;
    qint64 bytesDelivered_ = 0;
};

} // namespace z5
