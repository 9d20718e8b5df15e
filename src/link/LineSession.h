#pragma once
#include "link/Link.h"
#include "link/LineOutcome.h"
#include "link/LineReply.h"
#include "link/PacedRead.h"
#include "link/ReplyReception.h"
#include "link/Request.h"
#include "link/TappedPort.h"
#include "link/TrafficLog.h"
#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

namespace z5 {

class Clock;
class Timer;
class Prompts;
class SerialDevices;
class SerialPort;

// The one owner of the serial line. It holds the port, the request side and the
// reply reception, knows whether an exchange (a request awaiting its reply) or a
// write sequence (headers and data paced by timers) is under way, and is the
// only way to start either. A second start while the line is busy is refused
// here, with a beep. Everything it does is told through signals.
class LineSession : public QObject {
    Q_OBJECT
public:
    enum class Activity { Idle, Exchange, WriteSequence };
    // How an exchange ended (the one outcome of the whole program).
    using Outcome = LineOutcome;
    enum class Direction { Sent, Received };

    LineSession(SerialPort &port, Clock &clock, Prompts &prompts, QObject *parent = nullptr);
    ~LineSession() override;

    PortSettings &settings() { return link_.settings; }
    const PortSettings &settings() const { return link_.settings; }
    // The serial devices present, to name the adapter in failure texts; none when null.
    void setSerialDevices(const SerialDevices *devices) { link_.serialDevices = devices; }
    const SerialDevices *serialDevices() const { return link_.serialDevices; }

    // --- The port: nothing else opens, reads, writes or closes it ----------
    // An open port is kept as it is; a closed one is opened on the settings'
    // port number, or on `device` when one is named (the command line).
    bool openPort() { return link_.openPort(); }
    bool openPort(const QString &device);
    // Closes the port once what was written has left (bounded wait), so that
    // the next exchange opens the port chosen then. A write under way counts
    // what the close had to drop, even when the port was already closed.
    void closePort();
    bool isPortOpen() const { return tap_.isOpen(); }
    // Why the last open or transfer failed, as the port tells it.
    QString portErrorText() const { return tap_.errorString(); }
    // "Нет сети!!!", followed by why the port failed and which adapter it is.
    QString networkFailureText() const { return link_.networkFailureText(); }
    // A read that could not go out leaves the request kind at 0; a repeat
    // after it builds from that.
    void forgetRequestKind() { link_.clearKind(); }

    // --- The data of a write sequence ----------------------------------------
    // The data block of a table write and its table, for the header and data that follow.
    void loadTableData(int table, const QByteArray &data) { link_.loadTableData(table, data); }
    // The data of a screen write: `checkedLength` bytes of it are covered by the check value.
    void loadScreenData(const QByteArray &stream, int checkedLength) { link_.loadScreenData(stream, checkedLength); }
    // Every transfer through the tap, named and timed, for the monitor and traces.
    TrafficLog &traffic() { return traffic_; }

    Activity activity() const { return activity_; }
    bool isBusy() const { return activity_ != Activity::Idle; }
    // Whether a start may go ahead now; when not, the computer beeps.
    bool mayStart();

    // --- The queue -------------------------------------------------------
    // Takes a request that awaits a block reply (a block read, a process
    // command, a panel key) and answers it with its own reply object. On an
    // idle line it goes out at once; otherwise it waits its turn and goes out
    // the moment the line is free, in the order given. A block read replaces a
    // block read still waiting (the older one ends Cancelled): only the latest
    // values are worth the line's time. Commands and keys are never dropped.
    std::shared_ptr<LineReply> enqueue(const Request &request, int watchdogMs = ReplyReception::kBlockWatchdogMs);
    // Requests waiting for the line (not the one under way).
    int waitingCount() const { return static_cast<int>(waiting_.size()); }
    // This request ends Cancelled: taken out of the queue while it waits,
    // its exchange cancelled while under way; nothing once it has ended.
    void cancel(const LineReply &reply);
    // Every waiting request ends Cancelled and the one under way is cancelled.
    void cancelQueue();

    // --- Exchanges -------------------------------------------------------
    // Opens the port if it is closed, discards input already waiting, sends the
    // request and awaits a 260-byte block reply. False (nothing awaited, no
    // message) when the line is busy, the port does not open or the request
    // could not go out.
    // After an exchange that ended without its reply, the request waits until
    // the line has been quiet for kQuietGuardMs: a late reply still coming must
    // not be taken for this one's. Bytes that come meanwhile are dropped and
    // shown in the traffic log as late.
    bool startExchange(const Request &request, int watchdogMs = ReplyReception::kBlockWatchdogMs);
    static constexpr int kQuietGuardMs = ReplyReception::kPollIntervalMs;
    static constexpr int kQuietPollMs = 10;
    // A read in parts (a trend page): sends `first`, then on every poll tick
    // hands over what came (partReceived) and asks for the next part, until
    // the caller says completeRead() from a partReceived listener. The watchdog
    // ends the read as NoReply.
    bool startReadInParts(const Request &first, int watchdogMs = ReplyReception::kTrendWatchdogMs);
    // The read in parts has every part it needs; it ends as Reply on this tick.
    void completeRead();
    // Ends the exchange under way quietly (its window is closing).
    void cancelExchange();
    // --- Reads paced by their driver and frames without reply ------------
    // A read its driver paces itself (a trend page, part by part): it waits its
    // turn in the queue like any request and then holds the line until its
    // driver ends it (see PacedRead). Made and connected by its driver first:
    // on an idle line it starts, or ends NoNetwork when the port does not
    // open, before this returns.
    void enqueuePacedRead(const std::shared_ptr<PacedRead> &read);
    // A frame that awaits no reply (recording start and stop): it goes out when
    // its turn comes, holds the line until its bytes have left the port and then
    // ends as Reply; NoNetwork when it could not go out, NotDrained when its
    // bytes did not leave within their line time and the drain margin. It may
    // have ended when this returns.
    std::shared_ptr<LineReply> enqueueFrame(const Request &frame);

    // --- Write sequences -------------------------------------------------
    // Starts a write: refused (beep) while busy; otherwise opens the port. A
    // port that does not open ends the write at once as a failure ("Нет сети!!!"
    // and why) and false is returned.
    bool beginWrite();
    // A header or a data block of the write under way. A send that fails makes
    // the write end as a failure; the sequence itself keeps its pace.
    bool sendHeader(const Request &header);
    bool sendData();
    // A write has ended only when its bytes have left the port: what is still
    // queued gets the time the line needs for it and this margin, polled at
    // this pace; bytes that never leave end the write as a failure.
    static constexpr int kDrainPollMs = 10;
    static constexpr int kDrainMarginMs = 500;
    static constexpr int kLineBitsPerSecond = 115200;
    // The write's last block has gone (or it stopped for a reason already shown).
    // The write ends once its bytes have left the port (at once when nothing is
    // queued); `ended` runs after writeEnded, whatever the outcome.
    void endWrite(std::function<void()> ended = {});
    // The failure text for a write of which only `sent` of `total` bytes left.
    static QString notAcceptedText(qint64 sent, qint64 total);
    // Ends the write under way as a failure now, with this reason (shown
    // unless it already was).
    void failWrite(const QString &reason, bool alreadyShown = false);
    // The write goes on to its paced end but will end as a failure.
    void noteWriteFailure(const QString &reason, bool alreadyShown);
    bool writeHasFailed() const { return writeFailed_; }

signals:
    void busyChanged(bool busy);
    void exchangeStarted();
    void exchangeEnded(z5::LineSession::Outcome outcome);
    // A block reply whose check value held.
    void blockReplyReceived(const QByteArray &reply);
    // One part of a read in parts, as received.
    void partReceived(const QByteArray &part);
    void writeStarted();
    // succeeded false: the failure was shown, `failure` says why.
    void writeEnded(bool succeeded, const QString &failure);
    // Every transfer on the line, in the order it happened.
    void transferred(z5::LineSession::Direction direction, const QByteArray &bytes);
    void portClosed();

private:
    // Tests look inside through this one door (tests/support).
    friend class LineSessionProbe;
    // A paced read sends, takes its input and ends through these.
    friend class PacedRead;
    bool startPacedRead(const std::shared_ptr<PacedRead> &read);
    bool sendInPacedRead(const Request &request);
    QByteArray takePacedInput();
    void endPacedRead(Outcome outcome);
    void releasePacedRead();
    bool startFrame(const std::shared_ptr<LineReply> &frame);
    void checkFrameDrain();

    bool openAndSend(const Request &request);
    void onReceptionReleased(ReplyReception::Ending ending);
    void finishExchange(Outcome outcome);
    void setActivity(Activity activity);
    void discardWaitingInput();
    void checkDrain();
    void onQuietGuardTick();
    void dropLateBytes();
    void finishWrite();
    void startNextWaiting();
    bool startQueued(const std::shared_ptr<LineReply> &reply);

    Clock &clock_;
    Prompts &prompts_;
    TrafficLog traffic_;
    TappedPort tap_;
    Link link_;
    ReplyReception reception_;
    Activity activity_ = Activity::Idle;
    bool readInParts_ = false;
    // The paced read holding the line (it is current_ too).
    PacedRead *paced_ = nullptr;
    // A frame without reply waits here for its bytes to leave.
    std::unique_ptr<Timer> frameDrain_;
    std::int64_t frameDeadlineMs_ = 0;
    bool quietCancel_ = false;
    bool writeFailed_ = false;
    bool failureShown_ = false;
    QString writeFailure_;
    // What the write under way sent through the port and what a close dropped.
    qint64 writeBytes_ = 0;
    qint64 writeBytesDropped_ = 0;
    std::unique_ptr<Timer> drainTimer_;
    std::int64_t drainDeadlineMs_ = 0;
    std::function<void()> afterWrite_;
    // A reply may still be on its way since an exchange ended without one.
    bool lateReplyPossible_ = false;
    std::int64_t quietSinceMs_ = 0;
    std::unique_ptr<Timer> quietGuard_;
    Request pendingRequest_ = Request::repeat();
    // The queue: the reply of the exchange under way, if it was queued, and
    // the requests waiting behind it.
    std::shared_ptr<LineReply> current_;
    QByteArray currentBytes_;
    std::deque<std::shared_ptr<LineReply>> waiting_;
    int pendingWatchdogMs_ = 0;
};

} // namespace z5
