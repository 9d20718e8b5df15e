#pragma once
#include "link/LineSession.h"
#include "link/Request.h"
#include <QByteArray>
#include <QObject>

namespace z5 {

struct ConsoleState;
class ConsoleProgress;
class Prompts;

// The requests the console sends and whose answers it awaits: the read of the
// selected block (a trend page for the trend recorder) and the process
// commands. They start through the line owner, which refuses them while the
// line is busy.
class ConsoleExchange : public QObject {
    Q_OBJECT
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

    static constexpr int kProcessCommandType = 5;

    ConsoleExchange(LineSession &line, Prompts &prompts, ConsoleState &state, ConsoleProgress &progress);
    // Ends an exchange under way.
    ~ConsoleExchange() override;
    ConsoleExchange(const ConsoleExchange &) = delete;
    ConsoleExchange &operator=(const ConsoleExchange &) = delete;

    // Sends the read request of the selected block and awaits its reply. When the port cannot be opened
    // or the request cannot be sent: "Нет сети!!!", the progress bar stops and
    // false is returned. False with a beep while the line is busy.
    bool startBlockRead();
    // Pause (50), start (51), the process picture (52) or store the configuration
    // (53). False when nothing went out; the command then ends without a message.
    bool startProcessCommand(z5::Request::CommandCode code);
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
    // The reply watchdog's interval as the last read set it (8000 ms at first).
    int watchdogMs() const { return watchdogMs_; }

signals:
    // The exchange is over; the console may be used again.
    void ended(z5::ConsoleExchange::Request request, z5::ConsoleExchange::Result result);
    // A block reply with a correct check value, for the live view.
    void blockReplyReceived(const QByteArray &reply);
    void processPictureChanged(z5::ConsoleExchange::ProcessPicture picture);

private:
    bool failBlockRead();
    void onBlockReply(const QByteArray &reply);
    void onLineEnded(LineSession::Outcome outcome);
    void setPicture(ProcessPicture picture);
    void end(Result result);

    LineSession &line_;
    Prompts &prompts_;
    ConsoleState &state_;
    ConsoleProgress &progress_;
    Request running_ = Request::None;
    ProcessPicture picture_ = ProcessPicture::Pause;
    int commandCode_ = 0;
    int watchdogMs_ = ReplyReception::kTrendWatchdogMs;
};

} // namespace z5
