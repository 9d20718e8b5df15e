#include "link/ReplyReception.h"
#include "link/Link.h"
#include "link/ReplyCheck.h"
#include "link/Request.h"
#include "link/SerialPort.h"
#include "model/Clock.h"
#include "model/Prompts.h"

namespace z5 {

ReplyReception::ReplyReception(Link &link, Clock &clock, Prompts &prompts)
    : link_(link), clock_(clock), prompts_(prompts), poll_(clock.createTimer()), watchdog_(clock.createTimer()) {
    poll_->setOnTimeout([this] { onPollTick(); });
    watchdog_->setOnTimeout([this] { onWatchdogTick(); });
}

ReplyReception::~ReplyReception() {
    if (exchange_ != Exchange::Idle) link_.port().setArrivalHandler({});
}

void ReplyReception::awaitBlockReply(int watchdogMs) { start(Exchange::BlockReply, watchdogMs); }

void ReplyReception::awaitTrendPage(int watchdogMs) { start(Exchange::TrendPage, watchdogMs); }

void ReplyReception::start(Exchange exchange, int watchdogMs) {
    exchange_ = exchange;
    pageFull_ = false;
    startedAtMs_ = clock_.nowMs();
    // The port serves one reader at a time: the one whose exchange is under way.
    if (exchange == Exchange::BlockReply && onArrival_) link_.port().setArrivalHandler([this] { onArrival(); });
    poll_->start(kPollIntervalMs);
    watchdog_->start(watchdogMs);
}

void ReplyReception::cancel() {
    const bool wasBusy = exchange_ != Exchange::Idle;
    stopTimers();
    exchange_ = Exchange::Idle;
    if (wasBusy) release(Ending::Cancelled);
}

void ReplyReception::stopTimers() {
    poll_->stop();
    watchdog_->stop();
    link_.port().setArrivalHandler({});
}

void ReplyReception::onArrival() {
    if (exchange_ != Exchange::BlockReply || !link_.port().isOpen()) return;
    pollBlockReply();
}

void ReplyReception::release(Ending ending) {
    emit released(ending);
}

void ReplyReception::onPollTick() {
    // A tick that was already on its way when the exchange ended.
    if (exchange_ == Exchange::Idle) {
        poll_->stop();
        return;
    }
    link_.takeReply(QByteArray());
    if (!link_.port().isOpen()) {
        failPort();
        return;
    }
    if (exchange_ == Exchange::TrendPage)
        pollTrendPage();
    else
        pollBlockReply();
}

void ReplyReception::pollBlockReply() {
    SerialPort &port = link_.port();
    if (port.bytesAvailable() < kBlockReplyLength) return;   // the watchdog ends the wait
    const QByteArray bytes = port.readAll();
    if (clock_.nowMs() - startedAtMs_ < kShortestBlockReplyMs) {
        emit lateReplyDropped(bytes);
        return;
    }
    link_.takeReply(bytes);
    const QByteArray &reply = link_.dataBlock();
    if (reply.size() < kBlockReplyLength) {                  // the port lost bytes it had counted
        failPort();
        return;
    }
    receivedCheckValue(reply, receivedCheck);
    // Checked over the received bytes alone: the request side's frame buffer
    // and check value stay as the last request left them.
    const bool valid = blockReplyCheckHolds(reply);
    stopTimers();
    exchange_ = Exchange::Idle;
    if (valid) emit blockReply(reply);
    release(valid ? Ending::Reply : Ending::WrongCheckValue);
}

void ReplyReception::pollTrendPage() {
    SerialPort &port = link_.port();
    if (port.bytesAvailable() >= kTrendReplyLength) {
        link_.takeReply(port.readAll());
        emit trendPart(link_.dataBlock());
        if (exchange_ != Exchange::TrendPage) return;        // a listener ended the read
    }
    if (!pageFull_) {
        // A stepping read: each send asks for the next part, whether or not
        // the last one came.
        link_.sendRequest();
        return;
    }
    stopTimers();
    exchange_ = Exchange::Idle;
    emit trendPageComplete();
}

void ReplyReception::onWatchdogTick() {
    if (exchange_ == Exchange::Idle) {
        watchdog_->stop();
        return;
    }
    prompts_.beep();
    SerialPort &port = link_.port();
    if (port.isOpen()) port.readAll();
    emit trendCountersReset();
    if (exchange_ == Exchange::BlockReply) {
        stopTimers();
        exchange_ = Exchange::Idle;
    } else {
        // The count of values starts again from zero, so the parts must too, or
        // the restarted page would be built from shifted parts. Re-armed, the
        // watchdog keeps a stalled read from stepping the part number up to
        // 255, where every tick's request would fail with a beep.
        Request::restartAt(kFirstTrendPart).applyTo(link_);
        watchdog_->start(watchdog_->interval());
    }
    release(Ending::Watchdog);
}

void ReplyReception::failPort() {
    stopTimers();
    exchange_ = Exchange::Idle;
    release(Ending::PortFailure);
    prompts_.message(link_.networkFailureText(), QString(), Prompts::Kind::Error);
}

} // namespace z5
