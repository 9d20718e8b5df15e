#include "link/LineSession.h"
#include "link/SerialPort.h"
#include "model/Prompts.h"

namespace z5 {

LineSession::LineSession(SerialPort &port, Clock &clock, Prompts &prompts, QObject *parent)
    : QObject(parent), prompts_(prompts), traffic_(clock), tap_(port), link_(tap_, prompts),
      reception_(link_, clock, prompts) {
    connect(&tap_, &TappedPort::sent, &traffic_, &TrafficLog::recordSent);
    connect(&tap_, &TappedPort::received, &traffic_, &TrafficLog::recordReceived);
    connect(&tap_, &TappedPort::closed, &traffic_, &TrafficLog::lineClosed);
    connect(this, &LineSession::exchangeEnded, &traffic_, &TrafficLog::exchangeEnded);
    connect(&tap_, &TappedPort::sent, this, [this](const QByteArray &b) { emit transferred(Direction::Sent, b); });
    connect(&tap_, &TappedPort::received, this,
            [this](const QByteArray &b) { emit transferred(Direction::Received, b); });
    connect(&tap_, &TappedPort::closed, this, &LineSession::portClosed);

    connect(&reception_, &ReplyReception::blockReply, this, &LineSession::blockReplyReceived);
    connect(&reception_, &ReplyReception::trendPart, this, &LineSession::partReceived);
    connect(&reception_, &ReplyReception::trendPageComplete, this, [this] { finishExchange(Outcome::Reply); });
    connect(&reception_, &ReplyReception::released, this, &LineSession::onReceptionReleased);
}

LineSession::~LineSession() {
    quietCancel_ = true;
    reception_.cancel();
    disconnect(&reception_, nullptr, this, nullptr);
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

void LineSession::completeRead() {
    if (readInParts_) reception_.markPageFull();
}

void LineSession::cancelExchange() {
    if (activity_ != Activity::Exchange) return;
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
    readInParts_ = false;
    setActivity(Activity::Idle);
    emit exchangeEnded(outcome);
}

bool LineSession::beginWrite() {
    if (!mayStart()) return false;
    writeFailed_ = false;
    failureShown_ = false;
    writeFailure_.clear();
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

void LineSession::endWrite() {
    if (activity_ != Activity::WriteSequence) return;
    if (writeFailed_) {
        failWrite(writeFailure_, failureShown_);
        return;
    }
    setActivity(Activity::Idle);
    emit writeEnded(true, QString());
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
    setActivity(Activity::Idle);
    if (!alreadyShown) prompts_.message(reason, QString(), Prompts::Kind::Error);
    emit writeEnded(false, reason);
}

} // namespace z5
