#pragma once
#include "link/AdapterWatch.h"
#include "link/HeldLine.h"
#include "link/Link.h"
#include "link/LineOutcome.h"
#include "link/LineReply.h"
#include "link/PortSettings.h"
#include "link/PacedRead.h"
#include "link/ReplyReception.h"
#include "link/StaleReplyGuard.h"
#include "link/Request.h"
#include "link/TappedPort.h"
#include "link/TrafficLog.h"
#include "link/WriteReply.h"
#include "link/WriteSequence.h"
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
class SerialDevices;
class SerialPort;
class WriteSequencer;

// The one owner of the serial line. It holds the port, the request side and the
// reply reception, and takes every piece of work for the line into one queue:
// whatever is given while the line is busy waits its turn, nothing is refused.
// It alone keeps what was last on the line: it completes each request with the
// fields it carries as the request goes out. Everything it does is told through
// the reply objects and a few signals; it shows nothing itself.
class LineSession : public QObject, private HeldLine {
    Q_OBJECT
public:
    // What holds the line now; the one state of the line.
    enum class Activity {
        Idle,          // nothing: the next queued work starts at once
        Exchange,      // a request awaits its block reply (or a quiet line to go out on)
        PacedRead,     // a read its driver paces holds the line until the driver ends it
        Frame,         // a frame without reply holds the line until its bytes have left
        WriteSequence  // a timed write (headers, data, the port's closing and reopening)
    };
    // How an exchange ended (the one outcome of the whole program).
    using Outcome = LineOutcome;
    enum class Direction { Sent, Received };

    LineSession(SerialPort &port, Clock &clock, QObject *parent = nullptr);
    ~LineSession() override;

    // The settings in effect: the port number and the station of the next request.
    const PortSettings &settings() const { return settings_; }
    // The serial devices present, to name the adapter in failure texts; none when null.
    void setSerialDevices(const SerialDevices *devices) { serialDevices_ = devices; }
    const SerialDevices *serialDevices() const { return serialDevices_; }

    // --- The port: nothing else opens, reads, writes or closes it ----------
    // Opening, letting go and changing the port are queued work like the rest:
    // each takes effect when its turn comes, after the work queued before it,
    // so nothing under way loses its port. On an idle line it is done before
    // the call returns.
    // A COM number chosen (the port dialog): the port is let go, even for the
    // same number (the device it stands for may have changed); the next work opens it.
    void changePort(int portNumber);
    // Another station (the station dialog, the command line).
    void changeStation(int station);
    // A device named by the caller (the command line) instead of the settings'
    // port number; it stays the line's until the port is let go.
    void useDevice(const QString &device);
    // Opens the port: ends Reply once it is open, NoNetwork with the port's
    // reason when it does not open (nothing else is told).
    std::shared_ptr<LineReply> enqueueOpen();
    // Lets the port go once what was written has left (bounded wait); the next
    // work opens the port chosen then.
    std::shared_ptr<LineReply> release();
    bool isPortOpen() const { return tap_.isOpen(); }
    // Why the last open or transfer failed, as the port tells it.
    QString portErrorText() const { return tap_.errorString(); }
    // The adapter went away and the line waits for it to come back (the same
    // by-id name or serial number): it is opened again the moment it is found.
    bool awaitsAdapter() const { return adapterWatch_.isWatching(); }
    // The device last opened, as it was named, and its adapter's serial number
    // (empty when the system told none); empty before the first open.
    const QString &openedDevice() const { return openedDevice_; }
    const QString &openedAdapterSerial() const { return openedSerial_; }

    // Every transfer through the tap, named and timed, for the monitor and traces.
    TrafficLog &traffic() { return traffic_; }

    Activity activity() const { return activity_; }
    bool isBusy() const { return activity_ != Activity::Idle; }

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
    // Whether this request still waits for the line (not yet under way).
    bool isWaiting(const LineReply &reply) const;
    // This request ends Cancelled: taken out of the queue while it waits,
    // its exchange or paced read cancelled while under way; nothing once it
    // has ended. A frame under way still ends once its bytes have left.
    void cancel(const LineReply &reply);
    // Every waiting request ends Cancelled and the one under way is cancelled.
    // Writes are never dropped: a waiting write keeps its turn, one under way its pace.
    void cancelQueue();

    // A reply is taken at any speed after a clean exchange. After an exchange
    // that ended without its reply, or once the line showed copies of replies,
    // the next request is held back until the stale reply (or the copy) has come
    // and the line was quiet for kQuietGuardMs after it, or until it can no
    // longer come (StaleReplyGuard). Bytes that come meanwhile are dropped and
    // shown in the traffic log.
    static constexpr int kQuietGuardMs = StaleReplyGuard::kQuietAfterStaleMs;
    static constexpr int kQuietPollMs = 10;
    // Whether a request given now would be held back for a stale reply.
    bool holdsForStaleReply() const;
    // --- Reads paced by their driver and frames without reply ------------
    // A read its driver paces itself (a trend page, part by part): it waits its
    // turn in the queue like any request and then holds the line until its
    // driver ends it (see PacedRead). Made and connected by its driver first:
    // on an idle line it starts, or ends NoNetwork when the port does not
    // open, before this returns.
    void enqueuePacedRead(const std::shared_ptr<PacedRead> &read);
    // The owner's own watchdog over a paced read: when its driver has neither
    // sent nor taken input for the read's watchdog and this margin, the read
    // ends NoReply and the line is free again.
    static constexpr int kPacedWatchdogMarginMs = 2000;
    // A frame that awaits no reply (recording start and stop): it goes out when
    // its turn comes, holds the line until its bytes have left the port and then
    // ends as Reply; NoNetwork when it could not go out, NotDrained when its
    // bytes did not leave within their line time and the drain margin. It may
    // have ended when this returns.
    std::shared_ptr<LineReply> enqueueFrame(const Request &frame);

    // --- Write sequences -------------------------------------------------
    // Takes a timed write (headers, data blocks, the port's closing and
    // reopening) as one whole and answers it with its own reply. It waits
    // behind an exchange under way or requests already waiting, and is never
    // dropped; writeStarted tells when its first step is due.
    std::shared_ptr<WriteReply> enqueue(WriteSequence sequence);
    // A write ends once its bytes have left the port: what is still queued gets
    // the time the line needs for it and this margin, polled at this pace.
    static constexpr int kDrainPollMs = 10;
    static constexpr int kDrainMarginMs = 500;
    static constexpr int kLineBitsPerSecond = 115200;
    // The failure text for a write of which only `sent` of `total` bytes left.
    static QString notAcceptedText(qint64 sent, qint64 total);

signals:
    void busyChanged(bool busy);
    // Every piece of work as it enters the queue, before it can start: whoever
    // tells the user of failures follows its outcome from here (the line shows
    // nothing itself; see LineReply for what met the work on its way).
    void requestTaken(const std::shared_ptr<z5::LineReply> &reply);
    // A write sequence starts now: whoever shows writes follows its reply from
    // here, before its port is opened and its first step goes out.
    void writeStarted(const std::shared_ptr<z5::WriteReply> &reply);
    // Every transfer on the line, in the order it happened.
    void transferred(z5::LineSession::Direction direction, const QByteArray &bytes);
    // The port number or the station in effect changed.
    void settingsChanged();
    void portClosed();
    // The port failed because its adapter went away: told once, after the
    // reply that met the failure ended; the line now looks for the adapter.
    void adapterGone(const QString &device);
    // The adapter is back and its port open again under `device`. Nothing is
    // resumed by the line itself: what was under way ended when the port failed.
    void adapterReturned(const QString &device);

private:
    // Tests look inside through this one door (tests/support).
    friend class LineSessionProbe;
    // The line lent to the write or paced read holding it (HeldLine).
    bool openHeldPort() override { return openPort(); }
    QString heldPortError() const override { return portErrorText(); }
    bool sendRequest(const Request &request) override;
    void loadTableData(int table, const QByteArray &data) override;
    void loadScreenData(const QByteArray &stream, int checkedLength) override;
    bool sendDataBlock() override;
    bool sendAsRecorded(const QByteArray &bytes) override;
    QByteArray takeInput() override;
    void noteInTraffic(const QString &text, const QByteArray &bytes) override;
    void giveBack(LineOutcome outcome) override { endPacedRead(outcome); }

    bool startPacedRead(const std::shared_ptr<PacedRead> &read);
    // The held line is the read's now: its driver is told to begin.
    void beginPacedRead();
    // The paced read sent or took something: the owner's watchdog starts over.
    void pacedReadMoved();
    void endPacedRead(Outcome outcome);
    void releasePacedRead();
    bool startFrame(const std::shared_ptr<LineReply> &frame);
    bool startPortWork(const std::shared_ptr<LineReply> &work);
    std::shared_ptr<LineReply> enqueuePortWork(int action, int number, const QString &device);
    // An open port is kept as it is; a closed one is opened on the settings'
    // port number, or on the device named by useDevice().
    bool openPort();
    bool openPort(const QString &device);
    // Closes the port once what was written has left (bounded wait). A write
    // under way counts what the close had to drop, even when it was closed.
    void closePort();
    void checkFrameDrain();

    // Whether queued work may start now: nothing holds the line or waits for it.
    bool isFree() const { return !isBusy() && !current_ && waiting_.empty(); }
    // Starts the work at once on a free line, else puts it at the end of the queue.
    void takeInTurn(const std::shared_ptr<LineReply> &work);
    // An exchange, started from the queue on a free line: opens the port if it
    // is closed, discards input already waiting (or waits for a quiet line),
    // sends the request and awaits a 260-byte block reply. False (nothing
    // awaited) when the port does not open or the request could not go out; a
    // block read that could not go out leaves the kind on the line at 0 and
    // carries the port's failure to the user.
    bool startExchange(const Request &request, int watchdogMs);
    // Ends the exchange or paced read under way as Cancelled. A frame ends once
    // its bytes have left and a write keeps its pace: neither is cut short.
    void cancelExchange();
    bool openAndSend(const Request &request);
    // The frame of `fields` (completed already) with its check value, written
    // through the tap; what is last on the line is recorded.
    bool sendFrame(const RequestFields &fields);
    bool startExchangeOnFreeLine(const Request &request, int watchdogMs);
    void onReceptionReleased(Outcome outcome);
    void finishExchange(Outcome outcome);
    void setActivity(Activity activity);
    // Input waiting when something is to go out belongs to nothing under way: dropped and shown.
    void discardWaitingInput();
    void onQuietGuardTick();
    void dropLateBytes();
    void noteDropped(const QString &what, const QByteArray &bytes);
    // Every port failure passes here before the work that met it ends: that
    // work carries it to the user, once. After it has ended, watchForAdapter()
    // looks for a device that went away until it returns.
    void notePortFailure(LineReply &work);
    // The work holding the line now: the exchange, paced read or frame under
    // way, or the write being paced; null when the line is idle.
    LineReply *holder() const;
    // A frame could not go out: the work holding the line carries it to the user.
    void noteNotSent();
    void adapterFound(const QString &device);
    // Starts looking for the adapter when the port failed because it went away.
    void watchForAdapter();
    bool openDevice(const QString &device);
    bool startWrite(const std::shared_ptr<WriteReply> &reply);
    void writeEnded(const std::shared_ptr<WriteReply> &reply, Outcome outcome, const QString &portReason);
    void startNextWaiting();
    bool startQueued(const std::shared_ptr<LineReply> &reply);

    Clock &clock_;
    PortSettings settings_;
    const SerialDevices *serialDevices_ = nullptr;
    TrafficLog traffic_;
    TappedPort tap_;
    ReplyReception reception_;
    // What was last on the line: the fields of the last request (carried by
    // the next), the last frame or data block built (resent for fields without
    // a layout) and how much of it the check covered (kept for a table the
    // controller does not know). Nothing outside reads these.
    RequestFields onLine_;
    QByteArray lastBuilt_;
    int checkedLength_ = 0;
    // The data of the write under way.
    QByteArray writeData_;
    int screenCheckedLength_ = 0;
    Activity activity_ = Activity::Idle;
    // The paced read holding the line (it is current_ too).
    PacedRead *paced_ = nullptr;
    // A frame without reply waits here for its bytes to leave.
    std::unique_ptr<Timer> frameDrain_;
    std::int64_t frameDeadlineMs_ = 0;
    bool quietCancel_ = false;
    // Paces the write sequence under way.
    std::unique_ptr<WriteSequencer> writer_;
    std::shared_ptr<WriteReply> writing_;
    // Every frame that could not go out since the line was made.
    int framesNotSent_ = 0;
    // Replies that may still come for exchanges that are over.
    StaleReplyGuard staleGuard_;
    std::unique_ptr<Timer> quietGuard_;
    std::unique_ptr<Timer> pacedWatchdog_;
    // The exchange ending now never sent its request.
    bool heldBack_ = false;
    Request pendingRequest_;
    // The device last asked for, the one last opened and its adapter's serial
    // number (empty when the system told none).
    QString namedDevice_;
    QString triedDevice_;
    QString openedDevice_;
    QString openedSerial_;
    AdapterWatch adapterWatch_;
    // The queue: the reply of the exchange under way, if it was queued, and
    // the requests waiting behind it.
    std::shared_ptr<LineReply> current_;
    QByteArray currentBytes_;
    std::deque<std::shared_ptr<LineReply>> waiting_;
    int pendingWatchdogMs_ = 0;
};

} // namespace z5
