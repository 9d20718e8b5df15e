#pragma once
#include "link/LineOutcome.h"
#include "link/LineReply.h"
#include "link/LineSession.h"
#include "link/Request.h"
#include <QByteArray>
#include <QObject>
#include <memory>

namespace z5 {

struct ConsoleState;

// The requests the console sends and whose answers it awaits: the read of the
// selected block, the process commands and the operator panel's keys. Each is
// queued on the line owner and answered by its own reply object; what waits
// behind what is the queue's business. Only the console's latest request
// speaks: a request it has moved on from still runs its course on the line,
// but its reply is neither drawn nor reported.
class ConsoleExchange : public QObject {
    Q_OBJECT
public:
    enum class Request { None, BlockRead, ProcessCommand, PanelKey };
    // Which of `Picture_PAUSE_PROCESS` and `Picture_RABOTA_PROCESS` is shown.
    enum class ProcessPicture { Pause, Run };

    static constexpr int kProcessCommandType = 5;

    ConsoleExchange(LineSession &line, ConsoleState &state);
    // Withdraws or cancels the request still open.
    ~ConsoleExchange() override;
    ConsoleExchange(const ConsoleExchange &) = delete;
    ConsoleExchange &operator=(const ConsoleExchange &) = delete;

    // Queues the read of the selected block and awaits its reply. False when it
    // could not go out (the port did not open or the frame was refused):
    // nothing is awaited and the request kind is forgotten.
    bool startBlockRead();
    // Pause (50), start (51), the process picture (52) or store the configuration
    // (53). False when it could not go out.
    bool startProcessCommand(z5::Request::CommandCode code);
    // A key (1..12) of the operator panel block in `column`: a kind 3 frame
    // whose reply redraws the panel. False when it could not go out.
    bool startPanelKey(int column, int key);
    // The open request ends Cancelled: withdrawn while it waits, its exchange
    // cancelled while under way.
    void cancel();
    // The console moves on: a block read still waiting is withdrawn; a key or a
    // command still waiting, and anything under way, runs its course on the line
    // unheard. Nothing is reported for it.
    void letGo();

    // The request whose reply is awaited, None when there is none.
    Request running() const { return running_; }
    // Its reply object (null when none is awaited), for work that waits for its end.
    const std::shared_ptr<LineReply> &pending() const { return pending_; }
    ProcessPicture processPicture() const { return picture_; }
    // A newly imported project starts with the pause picture.
    void showPausePicture();
    // The reply watchdog's interval as the last read set it (8000 ms at first).
    int watchdogMs() const { return watchdogMs_; }

signals:
    // The request is over; the console may be used again. A reply that could
    // not go out at all ends with its start returning false, not here.
    void ended(z5::ConsoleExchange::Request request, z5::LineOutcome outcome);
    // A block reply with a correct check value, for the live view.
    void blockReplyReceived(const QByteArray &reply);
    void processPictureChanged(z5::ConsoleExchange::ProcessPicture picture);

private:
    bool send(Request kind, const z5::Request &request, int commandCode = 0);
    void onFinished(const LineReply &reply, Request kind, int commandCode);
    void setPicture(ProcessPicture picture);

    LineSession &line_;
    ConsoleState &state_;
    std::shared_ptr<LineReply> pending_;
    Request running_ = Request::None;
    ProcessPicture picture_ = ProcessPicture::Pause;
    int watchdogMs_ = ReplyReception::kTrendWatchdogMs;
};

} // namespace z5
