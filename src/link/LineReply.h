#pragma once
#include "link/LineOutcome.h"
#include "link/Request.h"
#include <QByteArray>
#include <QObject>
#include <QString>

namespace z5 {

// The answer to one queued request: the frame that went out for it, how it
// ended, the bytes that came for it and, when it failed, why. It belongs to that request alone; nothing else on
// the line writes into it.
class LineReply : public QObject {
    Q_OBJECT
public:
    // What the line owner does with it when its turn comes.
    enum class Kind {
        Exchange,    // sends the request and awaits its block reply
        PacedRead,   // holds the line while its driver paces requests (PacedRead)
        Frame,       // sends the request and ends once its bytes have left; no reply is read
        WriteSequence, // paces a timed write (WriteReply)
        PortWork       // opens or lets go the port, or changes its settings
    };

    LineReply(const Request &request, int watchdogMs, Kind kind = Kind::Exchange)
        : request_(request), watchdogMs_(watchdogMs), kind_(kind) {}

    Kind kind() const { return kind_; }
    const Request &request() const { return request_; }
    int watchdogMs() const { return watchdogMs_; }
    bool isFinished() const { return finished_; }
    // Meaningful once finished.
    LineOutcome outcome() const { return outcome_; }
    // The block reply whose check value held (empty for any other outcome).
    const QByteArray &bytes() const { return bytes_; }
    // Why the port failed, for NoNetwork: the port's own words, without a caption.
    const QString &failure() const { return failure_; }
    // The frame that went out for this request, check value included, as the
    // line owner completed it with the fields it carried; empty when none went out.
    const QByteArray &sentFrame() const { return sentFrame_; }

    // What met it on its way, for whoever tells the user (the line shows nothing
    // itself); meaningful once finished.
    // Its frames that could not go out: a field outside a byte, no frame to
    // resend, a closed or failed port.
    int framesNotSent() const { return framesNotSent_; }
    // Its watchdog gave it up: nothing usable came in time.
    bool wasOverdue() const { return overdue_; }
    // It met a failure of the port the user has not heard of yet; failure()
    // says why. What fails after it, while the adapter is awaited, ends quietly.
    bool metPortFailure() const { return metPortFailure_; }

signals:
    void finished(z5::LineOutcome outcome);

private:
    friend class LineSession;
    // Once only: a reply that has ended keeps how it ended.
    void finish(LineOutcome outcome, const QByteArray &bytes = {}, const QString &failure = {});

    Request request_;
    int watchdogMs_;
    Kind kind_;
    bool finished_ = false;
    LineOutcome outcome_ = LineOutcome::Cancelled;
    QByteArray bytes_;
    QString failure_;
    QByteArray sentFrame_;
    int framesNotSent_ = 0;
    bool overdue_ = false;
    bool metPortFailure_ = false;
};

} // namespace z5
