#include "console/ConsoleExchange.h"
#include "console/ConsoleProgress.h"
#include "console/ConsoleState.h"
#include "link/BlockReply.h"
#include "model/BlockCatalogue.h"
#include "model/Prompts.h"

namespace z5 {

ConsoleExchange::ConsoleExchange(LineSession &line, Prompts &prompts, ConsoleState &state, ConsoleProgress &progress)
    : line_(line), prompts_(prompts), state_(state), progress_(progress) {
    connect(&line_, &LineSession::blockReplyReceived, this, [this](const QByteArray &r) {
        if (running_ != Request::None) onBlockReply(r);
    });
    connect(&line_, &LineSession::exchangeEnded, this, [this](LineSession::Outcome o) {
        if (running_ != Request::None) onLineEnded(o);
    });
}

ConsoleExchange::~ConsoleExchange() {
    disconnect(&line_, nullptr, this, nullptr);
    if (running_ != Request::None) line_.cancelExchange();
}

bool ConsoleExchange::startBlockRead() {
    if (!line_.mayStart()) return false;
    // A trend recorder's pages are read by the trend window.
    watchdogMs_ = ReplyReception::kBlockWatchdogMs;
    const z5::Request request = z5::Request::blockRead(state_.selectedColumn);
    running_ = Request::BlockRead;
    const bool started = line_.startExchange(request, watchdogMs_);
    if (!started) {
        running_ = Request::None;
        return failBlockRead();
    }
    return true;
}

bool ConsoleExchange::failBlockRead() {
    // The line owner has left the kind at 0 and told of the failure.
    progress_.stop();
    return false;
}

bool ConsoleExchange::startProcessCommand(z5::Request::CommandCode code) {
    if (!line_.mayStart()) return false;
    running_ = Request::ProcessCommand;
    commandCode_ = code;
    const bool started = line_.startExchange(z5::Request::processCommand(code), watchdogMs_);
    // The selected type is replaced once the port is open, even if the send fails.
    if (started || line_.isPortOpen()) state_.selectedType = kProcessCommandType;
    if (!started) running_ = Request::None;
    return started;
}

bool ConsoleExchange::startPanelKey(int column, int key) {
    if (!line_.mayStart()) return false;
    running_ = Request::PanelKey;
    watchdogMs_ = ReplyReception::kBlockWatchdogMs;
    const bool started = line_.startExchange(z5::Request::panelKey(column, key), watchdogMs_);
    if (!started) running_ = Request::None;
    return started;
}

void ConsoleExchange::cancel() { line_.cancelExchange(); }

void ConsoleExchange::showPausePicture() { setPicture(ProcessPicture::Pause); }

void ConsoleExchange::setPicture(ProcessPicture picture) {
    picture_ = picture;
    emit processPictureChanged(picture);
}

void ConsoleExchange::onBlockReply(const QByteArray &reply) {
    // Decided by what was asked, not by the selected type: an RS4 block shares
    // the process commands' type code 5.
    if (running_ != Request::ProcessCommand) {
        emit blockReplyReceived(reply);
        return;
    }
    switch (commandCode_) {
    case z5::Request::PauseProcess: setPicture(ProcessPicture::Run); break;
    case z5::Request::StartProcess: setPicture(ProcessPicture::Pause); break;
    case z5::Request::ProcessPicture:
        setPicture(BlockReply::processRuns(reply) ? ProcessPicture::Pause : ProcessPicture::Run);
        break;
    default: break;  // storing the configuration shows nothing
    }
}

void ConsoleExchange::onLineEnded(LineSession::Outcome outcome) {
    switch (outcome) {
    case LineSession::Outcome::Reply: end(Result::Reply); break;
    case LineSession::Outcome::WrongCheckValue: end(Result::WrongCheckValue); break;
    case LineSession::Outcome::NoReply: end(Result::NoReply); break;
    case LineSession::Outcome::NoNetwork:
    case LineSession::Outcome::NotDrained:   // a write's ending, never an exchange's
        progress_.stop();
        end(Result::NoNetwork);
        break;
    case LineSession::Outcome::Cancelled: end(Result::Cancelled); break;
    }
}

void ConsoleExchange::end(Result result) {
    const Request request = running_;
    running_ = Request::None;
    emit ended(request, result);
}

} // namespace z5
