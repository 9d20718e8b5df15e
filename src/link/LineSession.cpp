#include "link/LineSession.h"
#include "link/SerialPort.h"
#include "link/WriteSequencer.h"
#include "model/Clock.h"
#include "model/Prompts.h"
#include <vector>

namespace z5 {

LineSession::LineSession(SerialPort &port, Clock &clock, Prompts &prompts, QObject *parent)
    : QObject(parent), clock_(clock), prompts_(prompts), traffic_(clock), tap_(port), link_(tap_, prompts),
      reception_(link_, clock, prompts),
      writer_(std::make_unique<WriteSequencer>(
          clock, link_, tap_,
          [this](const std::shared_ptr<WriteReply> &reply, Outcome outcome) { writeEnded(reply, outcome); })),
      quietGuard_(clock.createTimer()) {
    quietGuard_->setOnTimeout([this] { onQuietGuardTick(); });
    connect(&reception_, &ReplyReception::lateReplyDropped, this, [this](const QByteArray &bytes) {
        traffic_.recordNote(QStringLiteral("поздний ответ отброшен: %1 байт").arg(bytes.size()), QByteArray());
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
    const auto waiting = std::move(waiting_);
    for (const auto &reply : waiting) reply->finish(Outcome::Cancelled);
    if (current_) current_->finish(Outcome::Cancelled);
    current_.reset();
    if (const std::shared_ptr<WriteReply> write = writer_->abandon()) write->finish(Outcome::Cancelled);
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
    if (auto write = std::dynamic_pointer_cast<WriteReply>(reply)) return startWrite(write);
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
    for (const auto &reply : waiting) {
        if (std::dynamic_pointer_cast<WriteReply>(reply))
            waiting_.push_back(reply);
        else
            reply->finish(Outcome::Cancelled);
    }
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
        endPacedExchange(Outcome::Cancelled);
        return;
    }
    reception_.cancel();
}

bool LineSession::sendWithoutReply(const Request &request) {
    if (!mayStart()) return false;
    return openAndSend(request);
}

bool LineSession::beginPacedExchange() {
    if (!mayStart()) return false;
    if (!link_.openPort()) return false;
    discardWaitingInput();
    paced_ = true;
    readInParts_ = false;
    setActivity(Activity::Exchange);
    emit exchangeStarted();
    return true;
}

bool LineSession::sendInPacedExchange(const Request &request) {
    if (!paced_) return false;
    request.applyTo(link_);
    return link_.sendRequest();
}

QByteArray LineSession::takeInput() { return tap_.isOpen() ? tap_.readAll() : QByteArray(); }

void LineSession::endPacedExchange(Outcome outcome) {
    if (!paced_) return;
    paced_ = false;
    finishExchange(outcome);
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

// --- Write sequences ---------------------------------------------------------

std::shared_ptr<WriteReply> LineSession::enqueue(WriteSequence sequence) {
    auto reply = std::make_shared<WriteReply>(std::move(sequence));
    if (isBusy() || !waiting_.empty())
        waiting_.push_back(reply);
    else
        startWrite(reply);
    return reply;
}

bool LineSession::startWrite(const std::shared_ptr<WriteReply> &reply) {
    setActivity(Activity::WriteSequence);
    emit writeStarted(reply);
    writer_->start(reply);
    return true;
}

void LineSession::writeEnded(const std::shared_ptr<WriteReply> &reply, Outcome outcome) {
    setActivity(Activity::Idle);
    reply->finish(outcome, {}, outcome == Outcome::NoNetwork ? portErrorText() : QString());
    startNextWaiting();
}

QString LineSession::notAcceptedText(qint64 sent, qint64 total) {
    return QStringLiteral("Z5 не принимает данные: отправлено %1 из %2 байт").arg(sent).arg(total);
}

} // namespace z5
