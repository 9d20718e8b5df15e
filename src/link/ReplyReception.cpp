#include "link/ReplyReception.h"
#include "link/ReplyCheck.h"
#include "link/SerialPort.h"
#include "model/Clock.h"

namespace z5 {

ReplyReception::ReplyReception(SerialPort &port, Clock &clock)
    : port_(port), clock_(clock), poll_(clock.createTimer()), watchdog_(clock.createTimer()) {
    poll_->setOnTimeout([this] { onPollTick(); });
    watchdog_->setOnTimeout([this] { onWatchdogTick(); });
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

void ReplyReception::pollBlockReply() {
    if (port_.bytesAvailable() < wire::kBlockReplyLength) return;   // the watchdog ends the wait
    const QByteArray bytes = port_.readAll();
    if (clock_.nowMs() - startedAtMs_ < kShortestBlockReplyMs) {
        emit lateReplyDropped(bytes);
        return;
    }
    reply_ = bytes;
    if (reply_.size() < wire::kBlockReplyLength) {                  // the port lost bytes it had counted
        end(Ending::NoNetwork);
        return;
    }
    receivedCheckValue(reply_, receivedCheck);
    const bool valid = blockReplyCheckHolds(reply_);
    stopTimers();
    exchange_ = Exchange::Idle;
    if (valid) emit blockReply(reply_);
    emit released(valid ? Ending::Reply : Ending::WrongCheckValue);
}

void ReplyReception::onWatchdogTick() {
    if (exchange_ == Exchange::Idle) {
        watchdog_->stop();
        return;
    }
    if (port_.isOpen()) port_.readAll();
    end(Ending::NoReply);
}

} // namespace z5
