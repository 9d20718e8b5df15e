#include "console/ConsoleExchange.h"
#include "console/ConsoleState.h"
#include "link/BlockReply.h"

namespace z5 {

ConsoleExchange::ConsoleExchange(LineSession &line, ConsoleState &state) : line_(line), state_(state) {}

ConsoleExchange::~ConsoleExchange() {
    const std::shared_ptr<LineReply> open = std::move(pending_);
    pending_.reset();
    if (!open) return;
    disconnect(open.get(), nullptr, this, nullptr);
    line_.cancel(*open);
}

bool ConsoleExchange::startBlockRead() {
    watchdogMs_ = ReplyReception::kBlockWatchdogMs;
    if (send(Request::BlockRead, z5::Request::blockRead(state_.selectedColumn))) return true;
    // The line owner has left the request kind at 0.
    return false;
}

bool ConsoleExchange::startProcessCommand(z5::Request::CommandCode code) {
    const bool sent = send(Request::ProcessCommand, z5::Request::processCommand(code), code);
    // The selected type is replaced once the port is open, even if the send fails.
    if (sent || line_.isPortOpen()) state_.selectedType = kProcessCommandType;
    return sent;
}

bool ConsoleExchange::startPanelKey(int column, int key) {
    watchdogMs_ = ReplyReception::kBlockWatchdogMs;
    return send(Request::PanelKey, z5::Request::panelKey(column, key));
}

bool ConsoleExchange::send(Request kind, const z5::Request &request, int commandCode) {
    letGo();
    std::shared_ptr<LineReply> reply = line_.enqueue(request, watchdogMs_);
    // Ended at once: it could not go out (the port did not open or the frame was refused).
    if (reply->isFinished()) return false;
    pending_ = std::move(reply);
    running_ = kind;
    const LineReply *awaited = pending_.get();
    connect(awaited, &LineReply::finished, this,
            [this, awaited, kind, commandCode] { onFinished(*awaited, kind, commandCode); });
    return true;
}

void ConsoleExchange::cancel() {
    if (const std::shared_ptr<LineReply> open = pending_) line_.cancel(*open);
}

void ConsoleExchange::letGo() {
    const std::shared_ptr<LineReply> open = std::move(pending_);
    const Request kind = running_;
    pending_.reset();
    running_ = Request::None;
    if (!open) return;
    disconnect(open.get(), nullptr, this, nullptr);
    // A read still waiting is not wanted any more. A key or a command the user
    // pressed goes out exactly once, whatever came after it: dropping it would
    // lose a press, and the user pressing again would send it twice.
    if (kind == Request::BlockRead && line_.isWaiting(*open)) line_.cancel(*open);
}

void ConsoleExchange::showPausePicture() { setPicture(ProcessPicture::Pause); }

void ConsoleExchange::setPicture(ProcessPicture picture) {
    picture_ = picture;
    emit processPictureChanged(picture);
}

void ConsoleExchange::onFinished(const LineReply &reply, Request kind, int commandCode) {
    // The reply object lives on until the queue lets go of it; this request is over.
    if (pending_.get() == &reply) {
        disconnect(pending_.get(), nullptr, this, nullptr);
        pending_.reset();
        running_ = Request::None;
    }
    if (reply.outcome() == LineOutcome::Reply) {
        // Decided by what was asked, not by the selected type: an RS4 block shares
        // the process commands' type code 5.
        if (kind != Request::ProcessCommand) {
            emit blockReplyReceived(reply.bytes());
        } else {
            switch (commandCode) {
            case z5::Request::PauseProcess: setPicture(ProcessPicture::Run); break;
            case z5::Request::StartProcess: setPicture(ProcessPicture::Pause); break;
            case z5::Request::ProcessPicture:
                setPicture(BlockReply::processRuns(reply.bytes()) ? ProcessPicture::Pause : ProcessPicture::Run);
                break;
            default: break;  // storing the configuration shows nothing
            }
        }
    }
    emit ended(kind, reply.outcome());
}

} // namespace z5
