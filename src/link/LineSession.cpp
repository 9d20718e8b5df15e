#include "link/LineSession.h"
#include "link/SerialPort.h"
#include "model/Clock.h"
#include "model/Prompts.h"
#include <algorithm>
#include <vector>

namespace z5 {

LineSession::LineSession(SerialPort &port, Clock &clock, Prompts &prompts, QObject *parent)
    : QObject(parent), clock_(clock), prompts_(prompts), traffic_(clock), tap_(port), link_(tap_, prompts),
      reception_(link_, clock, prompts), frameDrain_(clock.createTimer()), drainTimer_(clock.createTimer()),
      quietGuard_(clock.createTimer()) {
    frameDrain_->setOnTimeout([this] { checkFrameDrain(); });
    quietGuard_->setOnTimeout([this] { onQuietGuardTick(); });
    connect(&reception_, &ReplyReception::lateReplyDropped, this, [this](const QByteArray &bytes) {
        traffic_.recordNote(QStringLiteral("поздний ответ отброшен: %1 байт").arg(bytes.size()), QByteArray());
    });
    drainTimer_->setOnTimeout([this] { checkDrain(); });
    connect(&tap_, &TappedPort::sent, this, [this](const QByteArray &b) {
        if (activity_ == Activity::WriteSequence) writeBytes_ += b.size();
    });
    connect(&tap_, &TappedPort::closed, this, [this] {
        if (activity_ == Activity::WriteSequence) writeBytesDropped_ += tap_.bytesDroppedAtClose();
    });
    connect(&tap_, &TappedPort::sent, &traffic_, &TrafficLog::recordSent);
    connect(&tap_, &TappedPort::received, &traffic_, &TrafficLog::recordReceived);
    connect(&tap_, &TappedPort::closed, &traffic_, &TrafficLog::lineClosed);
    connect(this, &LineSession::exchangeEnded, &traffic_, &TrafficLog::exchangeEnded);
    connect(&tap_, &TappedPort::sent, this, [this](const QByteArray &b) { emit transferred(Direction::Sent, b); });
    connect(&tap_, &TappedPort::received, this,
            [this](const QByteArray &b) { emit transferred(Direction::Received, b); });
    connect(&tap_, &TappedPort::closed, this, &LineSession::portClosed);

    connect(&reception_, &ReplyReception::blockReply, this, &LineSession::blockReplyReceived);
    connect(&reception_, &ReplyReception::blockReply, this, [this](const QByteArray &reply) {
        if (current_) currentBytes_ = reply;
    });
    connect(&reception_, &ReplyReception::trendPart, this, &LineSession::partReceived);
    connect(&reception_, &ReplyReception::trendPageComplete, this, [this] { finishExchange(Outcome::Reply); });
    connect(&reception_, &ReplyReception::released, this, &LineSession::onReceptionReleased);
}

LineSession::~LineSession() {
    releasePacedRead();
    const auto waiting = std::move(waiting_);
    for (const auto &reply : waiting) reply->finish(Outcome::Cancelled);
    if (current_) current_->finish(Outcome::Cancelled);
    current_.reset();
    quietCancel_ = true;
    reception_.cancel();
    disconnect(&reception_, nullptr, this, nullptr);
}

bool LineSession::openPort(const QString &device) {
    if (tap_.isOpen()) return true;
    return !device.isEmpty() && tap_.open(device);
}

void LineSession::closePort() { tap_.close(); }

std::shared_ptr<LineReply> LineSession::enqueue(const Request &request, int watchdogMs) {
    auto reply = std::make_shared<LineReply>(request, watchdogMs);
    if (request.purpose() == Request::Purpose::BlockRead) {
        // Only the latest values are worth the line's time.
        std::vector<std::shared_ptr<LineReply>> replaced;
        for (auto it = waiting_.begin(); it != waiting_.end();) {
            if ((*it)->request().purpose() == Request::Purpose::BlockRead) {
                replaced.push_back(*it);
                it = waiting_.erase(it);
            } else {
                ++it;
            }
        }
        for (const auto &old : replaced) old->finish(Outcome::Cancelled);
    }
    if (isBusy() || !waiting_.empty())
        waiting_.push_back(reply);
    else
        startQueued(reply);
    return reply;
}

bool LineSession::startQueued(const std::shared_ptr<LineReply> &reply) {
    switch (reply->kind()) {
    case LineReply::Kind::PacedRead: return startPacedRead(std::static_pointer_cast<PacedRead>(reply));
    case LineReply::Kind::Frame: return startFrame(reply);
    case LineReply::Kind::Exchange: break;
    }
    current_ = reply;
    currentBytes_.clear();
    if (startExchange(reply->request(), reply->watchdogMs())) return true;
    current_.reset();
    reply->finish(Outcome::NoNetwork, {}, portErrorText());
    return false;
}

void LineSession::startNextWaiting() {
    while (!isBusy() && !current_ && !waiting_.empty()) {
        const std::shared_ptr<LineReply> next = waiting_.front();
        waiting_.pop_front();
        startQueued(next);
    }
}

void LineSession::cancel(const LineReply &reply) {
    if (reply.isFinished()) return;
    if (current_.get() == &reply) {
        cancelExchange();
        return;
    }
    for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
        if (it->get() != &reply) continue;
        const std::shared_ptr<LineReply> taken = *it;
        waiting_.erase(it);
        taken->finish(Outcome::Cancelled);
        return;
    }
}

void LineSession::cancelQueue() {
    const auto waiting = std::move(waiting_);
    waiting_.clear();
    for (const auto &reply : waiting) reply->finish(Outcome::Cancelled);
    if (current_) cancelExchange();
}

bool LineSession::mayStart() {
    if (!isBusy()) return true;
    prompts_.beep();
    return false;
}

void LineSession::setActivity(Activity activity) {
    const bool wasBusy = isBusy();
    activity_ = activity;
    if (wasBusy != isBusy()) emit busyChanged(isBusy());
}

void LineSession::discardWaitingInput() {
    // A late reply, or the answer to a recording start or stop, must not be
    // taken for the reply to the request about to go out.
    if (tap_.isOpen() && tap_.bytesAvailable() > 0) tap_.readAll();
}

bool LineSession::openAndSend(const Request &request) {
    if (request.setsLeadingFields()) request.applyLeadingTo(link_);
    if (!link_.openPort()) return false;
    request.applyTo(link_);
    if (request.awaitsReply()) discardWaitingInput();
    return link_.sendRequest();
}

bool LineSession::startExchange(const Request &request, int watchdogMs) {
    if (!mayStart()) return false;
    if (lateReplyPossible_) {
        if (request.setsLeadingFields()) request.applyLeadingTo(link_);
        if (!link_.openPort()) return false;
        dropLateBytes();
        pendingRequest_ = request;
        pendingWatchdogMs_ = watchdogMs;
        readInParts_ = false;
        setActivity(Activity::Exchange);
        emit exchangeStarted();
        quietGuard_->start(kQuietPollMs);
        return true;
    }
    if (!openAndSend(request)) return false;
    readInParts_ = false;
    setActivity(Activity::Exchange);
    emit exchangeStarted();
    reception_.awaitBlockReply(watchdogMs);
    return true;
}

bool LineSession::startReadInParts(const Request &first, int watchdogMs) {
    if (!mayStart()) return false;
    if (!openAndSend(first)) return false;
    readInParts_ = true;
    setActivity(Activity::Exchange);
    emit exchangeStarted();
    reception_.awaitTrendPage(watchdogMs);
    return true;
}

void LineSession::dropLateBytes() {
    if (!tap_.isOpen() || tap_.bytesAvailable() <= 0) return;
    const QByteArray late = tap_.readAll();
    // The bytes are in the received record just before this one.
    traffic_.recordNote(QStringLiteral("поздний ответ отброшен: %1 байт").arg(late.size()), QByteArray());
    quietSinceMs_ = clock_.nowMs();
}

void LineSession::onQuietGuardTick() {
    dropLateBytes();
    if (clock_.nowMs() - quietSinceMs_ < kQuietGuardMs) return;
    quietGuard_->stop();
    lateReplyPossible_ = false;
    const Request request = pendingRequest_;
    if (!openAndSend(request)) {
        finishExchange(Outcome::NoNetwork);
        prompts_.message(link_.networkFailureText(), QString(), Prompts::Kind::Error);
        return;
    }
    reception_.awaitBlockReply(pendingWatchdogMs_);
}

void LineSession::completeRead() {
    if (readInParts_) reception_.markPageFull();
}

void LineSession::cancelExchange() {
    if (activity_ != Activity::Exchange) return;
    if (quietGuard_->isActive()) {
        quietGuard_->stop();
        finishExchange(Outcome::Cancelled);
        return;
    }
    if (paced_) {
        endPacedRead(Outcome::Cancelled);
        return;
    }
    reception_.cancel();
}

void LineSession::enqueuePacedRead(const std::shared_ptr<PacedRead> &read) {
    if (isBusy() || current_ || !waiting_.empty())
        waiting_.push_back(read);
    else
        startQueued(read);
}

std::shared_ptr<LineReply> LineSession::enqueueFrame(const Request &frame) {
    auto reply = std::make_shared<LineReply>(frame, 0, LineReply::Kind::Frame);
    if (isBusy() || current_ || !waiting_.empty())
        waiting_.push_back(reply);
    else
        startQueued(reply);
    return reply;
}

bool LineSession::startPacedRead(const std::shared_ptr<PacedRead> &read) {
    if (!link_.openPort()) {
        read->finish(Outcome::NoNetwork, {}, portErrorText());
        return false;
    }
    discardWaitingInput();
    current_ = read;
    currentBytes_.clear();
    paced_ = read.get();
    read->line_ = this;
    readInParts_ = false;
    setActivity(Activity::Exchange);
    emit exchangeStarted();
    // Every arrival is told to the read's driver at once, so it paces on arrivals.
    tap_.setArrivalHandler([this] {
        if (paced_) emit paced_->arrived();
    });
    emit read->started();
    return true;
}

bool LineSession::sendInPacedRead(const Request &request) {
    if (!paced_) return false;
    request.applyTo(link_);
    return link_.sendRequest();
}

QByteArray LineSession::takePacedInput() { return paced_ && tap_.isOpen() ? tap_.readAll() : QByteArray(); }

void LineSession::releasePacedRead() {
    if (!paced_) return;
    tap_.setArrivalHandler({});
    paced_->line_ = nullptr;
    paced_ = nullptr;
}

void LineSession::endPacedRead(Outcome outcome) {
    if (!paced_) return;
    releasePacedRead();
    finishExchange(outcome);
}

bool LineSession::startFrame(const std::shared_ptr<LineReply> &frame) {
    if (!openAndSend(frame->request())) {
        frame->finish(Outcome::NoNetwork, {}, portErrorText());
        return false;
    }
    // Held (no exchange: nothing is awaited) until the frame's bytes have left.
    current_ = frame;
    currentBytes_.clear();
    setActivity(Activity::Exchange);
    const qint64 queued = tap_.isOpen() ? tap_.bytesNotYetSent() : 0;
    frameDeadlineMs_ = clock_.nowMs() + (queued * 10 * 1000 + kLineBitsPerSecond - 1) / kLineBitsPerSecond + kDrainMarginMs;
    checkFrameDrain();
    return true;
}

void LineSession::checkFrameDrain() {
    const bool open = tap_.isOpen();
    const qint64 queued = open ? tap_.bytesNotYetSent() : 0;
    const qint64 dropped = open ? 0 : tap_.bytesDroppedAtClose();
    if (open && queued > 0 && clock_.nowMs() < frameDeadlineMs_) {
        if (!frameDrain_->isActive()) frameDrain_->start(kDrainPollMs);
        return;
    }
    frameDrain_->stop();
    const std::shared_ptr<LineReply> frame = std::move(current_);
    current_.reset();
    setActivity(Activity::Idle);
    if (frame) {
        const qint64 total = wire::kFrameLength + wire::kCheckValueLength;
        const qint64 left = queued + dropped;
        if (left == 0)
            frame->finish(Outcome::Reply);
        else
            frame->finish(Outcome::NotDrained, {}, notAcceptedText(std::max<qint64>(0, total - left), total));
    }
    startNextWaiting();
}

void LineSession::onReceptionReleased(ReplyReception::Ending ending) {
    if (quietCancel_ || activity_ != Activity::Exchange) return;
    switch (ending) {
    case ReplyReception::Ending::Reply: finishExchange(Outcome::Reply); break;
    case ReplyReception::Ending::WrongCheckValue: finishExchange(Outcome::WrongCheckValue); break;
    case ReplyReception::Ending::Watchdog:
        if (readInParts_) {
            // A read whose watchdog fired is over: polling stops here, so no
            // later tick can send a request built from another sender's fields.
            quietCancel_ = true;
            reception_.cancel();
            quietCancel_ = false;
        }
        finishExchange(Outcome::NoReply);
        break;
    case ReplyReception::Ending::PortFailure: finishExchange(Outcome::NoNetwork); break;
    case ReplyReception::Ending::Cancelled: finishExchange(Outcome::Cancelled); break;
    }
}

void LineSession::finishExchange(Outcome outcome) {
    if (activity_ != Activity::Exchange) return;
    // A reply not taken may still come: the next block read waits for a quiet line.
    if (outcome == Outcome::NoReply || outcome == Outcome::Cancelled) {
        lateReplyPossible_ = true;
        quietSinceMs_ = clock_.nowMs();
    }
    readInParts_ = false;
    setActivity(Activity::Idle);
    emit exchangeEnded(outcome);
    if (current_) {
        const std::shared_ptr<LineReply> reply = std::move(current_);
        current_.reset();
        reply->finish(outcome, currentBytes_, outcome == Outcome::NoNetwork ? portErrorText() : QString());
    }
    startNextWaiting();
}

bool LineSession::beginWrite() {
    if (!mayStart()) return false;
    writeFailed_ = false;
    failureShown_ = false;
    writeFailure_.clear();
    writeBytes_ = 0;
    writeBytesDropped_ = 0;
    setActivity(Activity::WriteSequence);
    emit writeStarted();
    if (!link_.openPort()) {
        failWrite(link_.networkFailureText());
        return false;
    }
    return true;
}

bool LineSession::sendHeader(const Request &header) {
    header.applyTo(link_);
    const bool sent = link_.sendRequest();
    if (!sent) noteWriteFailure(link_.networkFailureText(), false);
    return sent;
}

bool LineSession::sendData() {
    const bool sent = link_.sendDataBlock();
    if (!sent) noteWriteFailure(link_.networkFailureText(), false);
    return sent;
}

void LineSession::endWrite(std::function<void()> ended) {
    if (activity_ != Activity::WriteSequence || drainTimer_->isActive()) {
        if (ended) ended();
        return;
    }
    afterWrite_ = std::move(ended);
    if (writeFailed_) {
        failWrite(writeFailure_, failureShown_);
        return;
    }
    // Bytes a close dropped never come back: no need to wait for the rest.
    const qint64 queued = tap_.isOpen() ? tap_.bytesNotYetSent() : 0;
    if (queued == 0 || writeBytesDropped_ > 0) {
        checkDrain();
        return;
    }
    const qint64 lineTimeMs = (queued * 10 * 1000 + kLineBitsPerSecond - 1) / kLineBitsPerSecond;
    drainDeadlineMs_ = clock_.nowMs() + lineTimeMs + kDrainMarginMs;
    drainTimer_->start(kDrainPollMs);
}

QString LineSession::notAcceptedText(qint64 sent, qint64 total) {
    return QStringLiteral("Z5 не принимает данные: отправлено %1 из %2 байт").arg(sent).arg(total);
}

void LineSession::checkDrain() {
    const qint64 queued = tap_.isOpen() ? tap_.bytesNotYetSent() : 0;
    if (queued == 0 && writeBytesDropped_ == 0) {
        drainTimer_->stop();
        setActivity(Activity::Idle);
        emit writeEnded(true, QString());
        finishWrite();
        return;
    }
    if (writeBytesDropped_ == 0 && tap_.isOpen() && clock_.nowMs() < drainDeadlineMs_) return;
    drainTimer_->stop();
    failWrite(notAcceptedText(writeBytes_ - writeBytesDropped_ - queued, writeBytes_));
}

void LineSession::finishWrite() {
    const std::function<void()> ended = std::move(afterWrite_);
    afterWrite_ = nullptr;
    if (ended) ended();
    startNextWaiting();
}

void LineSession::noteWriteFailure(const QString &reason, bool alreadyShown) {
    if (activity_ != Activity::WriteSequence || writeFailed_) return;
    writeFailed_ = true;
    writeFailure_ = reason;
    failureShown_ = alreadyShown;
}

void LineSession::failWrite(const QString &reasonGiven, bool alreadyShown) {
    if (activity_ != Activity::WriteSequence) return;
    const QString reason = reasonGiven;   // may be writeFailure_ itself, cleared below
    writeFailed_ = false;
    failureShown_ = false;
    writeFailure_.clear();
    drainTimer_->stop();
    setActivity(Activity::Idle);
    if (!alreadyShown) prompts_.message(reason, QString(), Prompts::Kind::Error);
    emit writeEnded(false, reason);
    finishWrite();
}

} // namespace z5
