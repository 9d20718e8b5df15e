#include "console/ConsoleExchange.h"
#include "console/ConsoleProgress.h"
#include "console/ConsoleState.h"
#include "link/BlockReply.h"
#include "model/BlockCatalogue.h"
#include "model/Prompts.h"

namespace z5 {

ConsoleExchange::ConsoleExchange(Link &link, ReplyReception &reception, Prompts &prompts, ConsoleState &state,
                                 ConsoleProgress &progress)
    : link_(link), reception_(reception), prompts_(prompts), state_(state), progress_(progress) {
    ReplyReception::Handlers h;
    h.blockReply = [this](const QByteArray &reply) { onBlockReply(reply); };
    h.trendPart = [this](const QByteArray &) {
        // The values themselves are for the trend window; here they are counted.
        trendSamples_ += kTrendPartValues;
        ++trendReplies_;
    };
    h.trendPageFull = [this] { return trendSamples_ >= kTrendPageValues; };
    h.trendPageComplete = [this] { end(Result::Reply); };
    h.trendCountersReset = [this] {
        trendSamples_ = 0;
        trendReplies_ = 0;
    };
    h.released = [this](ReplyReception::Ending ending) { onReleased(ending); };
    reception_.handlers = std::move(h);
}

ConsoleExchange::~ConsoleExchange() {
    handlers = {};
    if (running_ != Request::None) reception_.cancel();
    reception_.handlers = {};
}

bool ConsoleExchange::startBlockRead() {
    const bool trend = state_.BLOCK_SELECT_TYPE == GRA;
    watchdogMs_ = trend ? ReplyReception::kTrendWatchdogMs : ReplyReception::kBlockWatchdogMs;
    if (trend) {
        trendReplies_ = 0;
        trendSamples_ = 0;
        progress_.restart(ConsoleProgress::kTrendIntervalMs);
    }
    if (!link_.openPort()) return failBlockRead();
    link_.REQUEST_kind = Link::SteppingRead;
    link_.REQUEST_block = state_.BLOCK_SELECT;
    link_.REQUEST_index = kReadIndex;
    link_.REQUEST_code = 0;
    link_.REQUEST_count = 0;
    if (!link_.SendRequest()) return failBlockRead();
    running_ = trend ? Request::TrendPage : Request::BlockRead;
    if (trend)
        reception_.awaitTrendPage(watchdogMs_);
    else
        reception_.awaitBlockReply(watchdogMs_);
    return true;
}

bool ConsoleExchange::failBlockRead() {
    link_.REQUEST_kind = 0;
    prompts_.message(link_.networkFailureText(), QString(), Prompts::Kind::Error);
    progress_.stop();
    return false;
}

bool ConsoleExchange::startProcessCommand(Link::CommandCode code) {
    // The index and count go out as the previous request left them.
    link_.REQUEST_kind = Link::Command;
    link_.REQUEST_code = code;
    if (!link_.openPort()) return false;
    link_.REQUEST_block = 0;
    state_.BLOCK_SELECT_TYPE = kProcessCommandType;
    if (!link_.SendRequest()) return false;
    running_ = Request::ProcessCommand;
    commandCode_ = code;
    reception_.awaitBlockReply(watchdogMs_);
    return true;
}

void ConsoleExchange::cancel() { reception_.cancel(); }

void ConsoleExchange::showPausePicture() { setPicture(ProcessPicture::Pause); }

void ConsoleExchange::setPicture(ProcessPicture picture) {
    picture_ = picture;
    if (handlers.processPictureChanged) handlers.processPictureChanged(picture);
}

void ConsoleExchange::onBlockReply(const QByteArray &reply) {
    // Decided by what was asked, not by the selected type: an RS4 block shares
    // the process commands' type code 5.
    if (running_ != Request::ProcessCommand) {
        if (handlers.blockReply) handlers.blockReply(reply);
        return;
    }
    switch (commandCode_) {
    case Link::PauseProcess: setPicture(ProcessPicture::Run); break;
    case Link::StartProcess: setPicture(ProcessPicture::Pause); break;
    case Link::ProcessPicture:
        setPicture(BlockReply::processRuns(reply) ? ProcessPicture::Pause : ProcessPicture::Run);
        break;
    default: break;  // storing the configuration shows nothing
    }
}

void ConsoleExchange::onReleased(ReplyReception::Ending ending) {
    switch (ending) {
    case ReplyReception::Ending::Reply: end(Result::Reply); break;
    case ReplyReception::Ending::WrongCheckValue: end(Result::WrongCheckValue); break;
    case ReplyReception::Ending::Watchdog:
        if (running_ == Request::TrendPage && reception_.exchange() == ReplyReception::Exchange::TrendPage) {
            // The trend read polls on and restarts its count; the window is given back.
            if (handlers.ended) handlers.ended(running_, Result::NoReply);
            return;
        }
        end(Result::NoReply);
        break;
    case ReplyReception::Ending::PortFailure:
        progress_.stop();
        end(Result::NoNetwork);
        break;
    case ReplyReception::Ending::Cancelled: end(Result::Cancelled); break;
    }
}

void ConsoleExchange::end(Result result) {
    const Request request = running_;
    running_ = Request::None;
    if (handlers.ended) handlers.ended(request, result);
}

} // namespace z5
