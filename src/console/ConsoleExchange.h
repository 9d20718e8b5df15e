#pragma once
#include "link/Link.h"
#include "link/ReplyReception.h"
#include <QByteArray>
#include <functional>

namespace z5 {

struct ConsoleState;
class ConsoleProgress;
class Prompts;

// The requests the console sends and whose answers it awaits: the read of the
// selected block (a trend page for the trend recorder) and the process
// commands. One at a time: they share the link's request fields.
class ConsoleExchange {
public:
    enum class Request { None, BlockRead, TrendPage, ProcessCommand, PanelKey };
    enum class Result {
        Reply,            // a reply came and was handed on
        WrongCheckValue,  // a reply came and was dropped
        NoReply,          // nothing usable came in time
        NoNetwork,        // the port could not be read ("Нет сети!!!" was shown)
        Cancelled
    };
    // Which of `Picture_PAUSE_PROCESS` and `Picture_RABOTA_PROCESS` is shown.
    enum class ProcessPicture { Pause, Run };

    static constexpr int kReadIndex = 10;
    static constexpr int kTrendPageValues = 7680;  // 30 parts of 256 values
    static constexpr int kTrendPartValues = 256;
    static constexpr int kProcessCommandType = 5;

    struct Handlers {
        // The exchange is over; the console may be used again.
        std::function<void(Request, Result)> ended;
        // A block reply with a correct check value, for the live view.
        std::function<void(const QByteArray &reply)> blockReply;
        std::function<void(ProcessPicture)> processPictureChanged;
    };

    ConsoleExchange(Link &link, ReplyReception &reception, Prompts &prompts, ConsoleState &state,
                    ConsoleProgress &progress);
    // Ends an exchange under way and leaves the reception without handlers.
    ~ConsoleExchange();
    ConsoleExchange(const ConsoleExchange &) = delete;
    ConsoleExchange &operator=(const ConsoleExchange &) = delete;

    Handlers handlers;

    // Sends the read request of the block in `BLOCK_SELECT` (type in
    // `BLOCK_SELECT_TYPE`) and awaits its reply. When the port cannot be opened
    // or the request cannot be sent: "Нет сети!!!", the progress bar stops and
    // false is returned.
    bool startBlockRead();
    // Pause (50), start (51), the process picture (52) or store the configuration
    // (53). False when nothing went out; the command then ends without a message.
    bool startProcessCommand(Link::CommandCode code);
    // A key (1..12) of the operator panel block in `column`: a kind 3 frame
    // whose reply redraws the panel. False when nothing went out; the key then
    // ends without a message.
    bool startPanelKey(int column, int key);
    // Ends the exchange under way quietly.
    void cancel();

    Request running() const { return running_; }
    ProcessPicture processPicture() const { return picture_; }
    // A newly imported project starts with the pause picture.
    void showPausePicture();
    // `Timer_GRAFIK_ERROR`'s interval as the last read set it (8000 ms at first).
    int watchdogMs() const { return watchdogMs_; }
    int TREND_reply_count() const { return trendReplies_; }
    int TREND_sample_count() const { return trendSamples_; }

private:
    bool failBlockRead();
    void onBlockReply(const QByteArray &reply);
    void onReleased(ReplyReception::Ending ending);
    void setPicture(ProcessPicture picture);
    void end(Result result);

    Link &link_;
    ReplyReception &reception_;
    Prompts &prompts_;
    ConsoleState &state_;
    ConsoleProgress &progress_;
    Request running_ = Request::None;
    ProcessPicture picture_ = ProcessPicture::Pause;
    int commandCode_ = 0;
    int watchdogMs_ = ReplyReception::kTrendWatchdogMs;
    int trendReplies_ = 0;
    int trendSamples_ = 0;
};

} // namespace z5
