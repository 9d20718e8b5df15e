#include "link/WriteSequencer.h"
#include "link/LineSession.h"
#include "link/TappedPort.h"
#include "link/WriteReply.h"
#include "model/Clock.h"

namespace z5 {

WriteSequencer::WriteSequencer(Clock &clock, HeldLine &line, TappedPort &tap, Ended ended)
    : clock_(clock), line_(line), tap_(tap), ended_(std::move(ended)), stepTimer_(clock.createTimer()),
      drainTimer_(clock.createTimer()) {
    stepTimer_->setOnTimeout([this] {
        stepTimer_->stop();
        runDueSteps();
    });
    drainTimer_->setOnTimeout([this] { checkDrain(); });
    connect(&tap_, &TappedPort::sent, this, [this](const QByteArray &b) {
        if (!reply_) return;
        bytesSent_ += b.size();
        stepBytes_ += b;
    });
    connect(&tap_, &TappedPort::closed, this, [this] {
        if (!reply_) return;
        bytesDropped_ += tap_.bytesDroppedAtClose();
        closedThroughTap_ = true;
    });
}

WriteSequencer::~WriteSequencer() = default;

std::int64_t WriteSequencer::elapsedMs() const { return clock_.nowMs() - startMs_; }

void WriteSequencer::start(const std::shared_ptr<WriteReply> &reply) {
    reply_ = reply;
    startMs_ = clock_.nowMs();
    next_ = 0;
    refusedTags_.clear();
    sendFailed_ = false;
    portReason_.clear();
    loadedBytes_ = 0;
    bytesSent_ = 0;
    bytesDropped_ = 0;
    closedThroughTap_ = false;
    if (!line_.openHeldPort()) {
        portReason_ = line_.heldPortError();
        end(LineOutcome::NoNetwork);
        return;
    }
    runDueSteps();
}

std::shared_ptr<WriteReply> WriteSequencer::abandon() {
    stepTimer_->stop();
    drainTimer_->stop();
    return std::move(reply_);
}

void WriteSequencer::skipRefused() {
    const auto &steps = reply_->sequence().steps();
    while (next_ < steps.size() && refusedTags_.count(steps[next_].tag) > 0) ++next_;
}

void WriteSequencer::runDueSteps() {
    // Held here: a step that ends the write may let the next queued write start.
    const std::shared_ptr<WriteReply> current = reply_;
    const auto &steps = current->sequence().steps();
    skipRefused();
    while (next_ < steps.size() && steps[next_].atMs <= elapsedMs()) {
        const int index = static_cast<int>(next_++);
        runStep(index, steps[std::size_t(index)]);
        if (reply_ != current) return;   // the step ended the write
        skipRefused();
    }
    if (next_ >= steps.size()) {
        drainThenEnd();
        return;
    }
    stepTimer_->start(static_cast<int>(steps[next_].atMs - elapsedMs()));
}

// Builds the step's block and hands it to the line owner; false when it was refused.
bool WriteSequencer::build(const WriteSequence::Step &step) {
    if (!step.build) return true;
    const WriteBlock block = step.build();
    if (!block.ok()) {
        refusedTags_.insert(step.tag);
        reply_->noteRefusal(step.tag, block.problem, block.caption);
        if (reply_ && step.onRefusal == WriteSequence::OnRefusal::EndWrite) end(LineOutcome::Cancelled);
        return false;
    }
    if (block.isScreen()) {
        line_.loadScreenData(block.bytes, block.checkedLength);
        loadedBytes_ = static_cast<int>(block.bytes.size()) + 2;   // station and marker in front
    } else {
        line_.loadTableData(step.tag, block.bytes);
        loadedBytes_ = static_cast<int>(block.bytes.size());
    }
    return true;
}

bool WriteSequencer::send(const WriteSequence::Step &step) {
    stepBytes_.clear();
    if (step.asRecorded) {
        if (step.kind == WriteSequence::StepKind::Data) loadedBytes_ = static_cast<int>(step.recorded.size());
        return line_.sendAsRecorded(step.recorded);
    }
    return step.kind == WriteSequence::StepKind::Header ? line_.sendRequest(step.header) : line_.sendDataBlock();
}

void WriteSequencer::runStep(int index, const WriteSequence::Step &step) {
    const std::shared_ptr<WriteReply> reply = reply_;
    bool sent = false;
    switch (step.kind) {
    case WriteSequence::StepKind::Header:
        if (!build(step)) return;
        sent = send(step);
        if (!sent) noteSendFailure();
        emit reply->headerSent(step.tag, sent);
        break;
    case WriteSequence::StepKind::Data:
        if (!build(step)) return;
        sent = send(step);
        if (!sent) noteSendFailure();
        emit reply->dataSent(step.tag, loadedBytes_, sent);
        break;
    case WriteSequence::StepKind::ClosePort:
        // The close waits until the queued output has left (bounded).
        tap_.close();
        emit reply->portClosed();
        break;
    case WriteSequence::StepKind::ReopenPort: {
        // A port that does not open here makes the next send fail.
        const bool opened = line_.openHeldPort();
        if (opened) closedThroughTap_ = false;
        emit reply->portReopened(opened);
        break;
    }
    case WriteSequence::StepKind::Mark: emit reply->marked(step.mark); break;
    }
    emit reply->stepTaken(index, sent ? stepBytes_ : QByteArray());
}

void WriteSequencer::noteSendFailure() {
    if (!reply_ || sendFailed_) return;
    // The write keeps its pace to its end, which is then NoNetwork with the port's reason.
    sendFailed_ = true;
    portReason_ = line_.heldPortError();
}

bool WriteSequencer::portFailedAfterSending() {
    if (closedThroughTap_ || tap_.isOpen()) return false;
    // A port that sends on its own (a writer thread) learns of a failure after
    // write() returned: what it had not sent then is lost, and so is the write.
    if (!sendFailed_) {
        sendFailed_ = true;
        portReason_ = line_.heldPortError();
        bytesDropped_ += tap_.bytesDroppedAtClose();
    }
    return true;
}

void WriteSequencer::drainThenEnd() {
    if (sendFailed_ || portFailedAfterSending()) {
        end(LineOutcome::NoNetwork);
        return;
    }
    // Bytes a close dropped never come back: no need to wait for the rest.
    const qint64 queued = tap_.isOpen() ? tap_.bytesNotYetSent() : 0;
    if (queued == 0 || bytesDropped_ > 0) {
        checkDrain();
        return;
    }
    const qint64 lineTimeMs =
        (queued * 10 * 1000 + LineSession::kLineBitsPerSecond - 1) / LineSession::kLineBitsPerSecond;
    drainDeadlineMs_ = clock_.nowMs() + lineTimeMs + LineSession::kDrainMarginMs;
    drainTimer_->start(LineSession::kDrainPollMs);
}

void WriteSequencer::checkDrain() {
    if (portFailedAfterSending()) {
        end(LineOutcome::NoNetwork);
        return;
    }
    const qint64 queued = tap_.isOpen() ? tap_.bytesNotYetSent() : 0;
    if (queued == 0 && bytesDropped_ == 0) {
        end(LineOutcome::Reply);
        return;
    }
    if (bytesDropped_ == 0 && tap_.isOpen() && clock_.nowMs() < drainDeadlineMs_) return;
    end(LineOutcome::NotDrained, LineSession::notAcceptedText(bytesSent_ - bytesDropped_ - queued, bytesSent_));
}

void WriteSequencer::end(LineOutcome outcome, const QString &failure) {
    stepTimer_->stop();
    drainTimer_->stop();
    const std::shared_ptr<WriteReply> reply = std::move(reply_);
    reply_.reset();
    if (!reply) return;
    if (!failure.isEmpty()) reply->noteFailure(failure, false);
    const qint64 stillQueued = outcome == LineOutcome::NotDrained && tap_.isOpen() ? tap_.bytesNotYetSent() : 0;
    reply->bytesDelivered_ = bytesSent_ - bytesDropped_ - stillQueued;
    ended_(reply, outcome, outcome == LineOutcome::NoNetwork ? portReason_ : QString());
}

} // namespace z5
