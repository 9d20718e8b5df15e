#include "link/ReplyReception.h"
#include "link/ReplyCheck.h"
#include "link/SerialPort.h"
#include "link/StaleReplyGuard.h"
#include "model/Clock.h"
#include <algorithm>

namespace z5 {

ReplyReception::ReplyReception(SerialPort &port, Clock &clock)
    : port_(port), clock_(clock), poll_(clock.createTimer()), watchdog_(clock.createTimer()),
      copyWindow_(clock.createTimer()) {
    poll_->setOnTimeout([this] { onPollTick(); });
    watchdog_->setOnTimeout([this] { onWatchdogTick(); });
    copyWindow_->setOnTimeout([this] { onCopyWindowEnded(); });
}

ReplyReception::~ReplyReception() {
    if (exchange_ != Exchange::Idle) port_.setArrivalHandler({});
}

void ReplyReception::awaitBlockReply(int watchdogMs) {
    exchange_ = Exchange::BlockReply;
    startedAtMs_ = clock_.nowMs();
    // The port serves one reader at a time: the one whose exchange is under way.
    if (onArrival_) port_.setArrivalHandler([this] { onArrival(); });
    poll_->start(kPollIntervalMs);
    watchdog_->start(watchdogMs);
}

void ReplyReception::cancel() {
    if (exchange_ == Exchange::Idle) {
        stopTimers();
        return;
    }
    end(Ending::Cancelled);
}

void ReplyReception::stopTimers() {
    poll_->stop();
    watchdog_->stop();
    copyWindow_->stop();
    heldCopy_.clear();
    port_.setArrivalHandler({});
}

void ReplyReception::end(Ending ending) {
    stopTimers();
    exchange_ = Exchange::Idle;
    emit released(ending);
}

void ReplyReception::onArrival() {
    if (exchange_ != Exchange::BlockReply || !port_.isOpen()) return;
    pollBlockReply();
}

void ReplyReception::onPollTick() {
    // A tick that was already on its way when the exchange ended.
    if (exchange_ == Exchange::Idle) {
        poll_->stop();
        return;
    }
    reply_.clear();
    if (!port_.isOpen()) {
        end(Ending::NoNetwork);
        return;
    }
    pollBlockReply();
}

bool ReplyReception::holdsDifferentReplies(const QByteArray &bytes) {
    const QByteArray first = bytes.left(wire::kBlockReplyLength);
    for (qsizetype at = wire::kBlockReplyLength; at + wire::kBlockReplyLength <= bytes.size(); at += wire::kBlockReplyLength)
        if (bytes.mid(at, wire::kBlockReplyLength) != first) return true;
    return false;
}

void ReplyReception::pollBlockReply() {
    if (port_.bytesAvailable() < wire::kBlockReplyLength) return;   // the watchdog ends the wait
    const QByteArray bytes = port_.readAll();
    const std::int64_t now = clock_.nowMs();
    if (heldCopy_.isEmpty()) completeAtMs_ = now;
    if (guard_ && holdsDifferentReplies(heldCopy_ + bytes)) {
        // A stale reply and this exchange's own, or two stale ones: which is whose
        // cannot be told, so no values are shown for this request.
        const QByteArray all = heldCopy_ + bytes;
        stopTimers();
        exchange_ = Exchange::Idle;
        guard_->dropped(all, now);
        emit unattributed(all);
        emit released(Ending::NoReply);
        return;
    }
    if (!heldCopy_.isEmpty()) {
        // The same bytes again after a possible copy: the far end repeats itself,
        // and this is the exchange's own (with the same values).
        copyWindow_->stop();
        guard_->copyConfirmed(heldCopy_);
        emit strayBytes(heldCopy_);
        heldCopy_.clear();
    } else if (guard_) {
        // The same bytes as a reply taken just before: a late copy of it, or this
        // request's own reply with the same values. Another reply coming before
        // the copy window ends decides; else this one was the exchange's own.
        if (const std::int64_t windowEnds = guard_->copyWindowOf(bytes, now)) {
            // On a line that has shown copies, the whole window; on one that has not,
            // only as long as this request's own reply would take to follow (the far
            // end's last answer time, with room): a block whose values do not change
            // is not slowed down for a copy that never comes.
            const std::int64_t ownReplyBy = startedAtMs_ + lastAnswerMs_ * 3 / 2 + kFollowUpMarginMs;
            const std::int64_t until =
                guard_->echoes() ? windowEnds : std::min(windowEnds, std::max(ownReplyBy, now + kFollowUpMarginMs));
            heldCopy_ = bytes;
            copyWindow_->start(static_cast<int>(std::max<std::int64_t>(1, until - now)));
            return;
        }
    }
    take(bytes);
}

void ReplyReception::onCopyWindowEnded() {
    copyWindow_->stop();
    if (exchange_ != Exchange::BlockReply || heldCopy_.isEmpty()) return;
    const QByteArray bytes = heldCopy_;
    heldCopy_.clear();
    take(bytes);
}

void ReplyReception::take(const QByteArray &bytes) {
    reply_ = bytes;
    if (reply_.size() < wire::kBlockReplyLength) {                  // the port lost bytes it had counted
        end(Ending::NoNetwork);
        return;
    }
    receivedCheckValue(reply_, receivedCheck);
    const bool valid = blockReplyCheckHolds(reply_);
    stopTimers();
    exchange_ = Exchange::Idle;
    if (guard_ && valid) guard_->replyTaken(reply_, clock_.nowMs());
    if (valid) lastAnswerMs_ = std::max<std::int64_t>(0, completeAtMs_ - startedAtMs_);
    // Bytes beyond the reply answer no request of this exchange.
    if (reply_.size() > wire::kBlockReplyLength) {
        const QByteArray beyond = reply_.mid(wire::kBlockReplyLength);
        if (guard_) guard_->dropped(beyond, clock_.nowMs());
        emit strayBytes(beyond);
    }
    if (valid) emit blockReply(reply_);
    emit released(valid ? Ending::Reply : Ending::WrongCheckValue);
}

void ReplyReception::onWatchdogTick() {
    if (exchange_ == Exchange::Idle) {
        watchdog_->stop();
        return;
    }
    // A reply held as a possible copy with nothing after it was the exchange's own.
    if (!heldCopy_.isEmpty()) {
        const QByteArray bytes = heldCopy_;
        heldCopy_.clear();
        take(bytes);
        return;
    }
    if (port_.isOpen()) port_.readAll();
    end(Ending::NoReply);
}

} // namespace z5
