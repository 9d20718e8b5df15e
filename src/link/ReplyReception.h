#pragma once
#include "link/WireSizes.h"
#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <memory>

namespace z5 {

class Clock;
class Link;
class Prompts;
class Timer;

// Awaits the controller's answer to a request. Only the line owner
// (LineSession) drives it: it sends the request, then calls awaitBlockReply or
// awaitTrendPage; from there the poll timer and the watchdog run the exchange to
// its end and report to the owner.
class ReplyReception : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollIntervalMs = 150;
    static constexpr int kBlockWatchdogMs = 1000;
    static constexpr int kTrendWatchdogMs = 8000;
    static constexpr int kBlockReplyLength = wire::kBlockReplyLength;
    static constexpr int kTrendReplyLength = wire::kTrendPartLength;
    static constexpr int kBlockReplyDataLength = wire::kBlockReplyDataLength;   // covered by the check value
    static constexpr std::uint8_t kFirstTrendPart = 10;  // the index of a page's first part
    // The request's 8 bytes and the reply's 260 at 115200 bit/s, 10 bits a byte:
    // a reply complete sooner after its request was on its way before it.
    static constexpr int kRequestFrameLength = 8;
    static constexpr int kShortestBlockReplyMs = (kRequestFrameLength + kBlockReplyLength) * 10 * 1000 / 115200;

    enum class Exchange { Idle, BlockReply, TrendPage };
    // Why the console window is given back.
    enum class Ending {
        Reply,            // a block reply with a correct check value was handed over
        WrongCheckValue,  // a block reply arrived and was dropped
        Watchdog,         // nothing usable came in time (a trend read polls on)
        PortFailure,      // the port could not be read; "Нет сети!!!" was shown
        Cancelled
    };

    ReplyReception(Link &link, Clock &clock, Prompts &prompts);
    ~ReplyReception() override;

    // Waits for a 260-byte block reply. A reply still incomplete at a poll tick
    // is awaited on the following ticks until the watchdog gives it up.
    void awaitBlockReply(int watchdogMs = kBlockWatchdogMs);
    // Collects the parts of a trend page, asking for the next part on every tick
    // until markPageFull says the page is complete. When the watchdog fires the
    // count restarts (trendCountersReset), the part number restarts with it and
    // the watchdog is armed again; polling goes on.
    void awaitTrendPage(int watchdogMs = kTrendWatchdogMs);
    // The page being read holds all its values: no further part is asked for.
    void markPageFull() { pageFull_ = true; }
    // Ends any exchange quietly (the window that owns it is closing).
    void cancel();
    // A block reply is taken as soon as it is complete when the port tells of
    // arrivals; the poll ticks remain for ports that do not. On by default.
    void setTakesRepliesOnArrival(bool on) { onArrival_ = on; }

    Exchange exchange() const { return exchange_; }
    std::uint32_t receivedCheck = 0;

    const Timer &pollTimer() const { return *poll_; }
    const Timer &watchdogTimer() const { return *watchdog_; }

signals:
    // A complete block reply (260 bytes or more) whose check value held.
    void blockReply(const QByteArray &reply);
    // One part of a trend page (1064 bytes or more), as it came.
    void trendPart(const QByteArray &part);
    // The page is complete; both timers are already stopped.
    void trendPageComplete();
    // The watchdog restarts the count of trend values from zero.
    void trendCountersReset();
    // The window that started the exchange may be enabled again.
    void released(Ending ending);
    // A block reply complete sooner than the wire allows: it answers an earlier
    // request and was dropped; the exchange waits on for its own.
    void lateReplyDropped(const QByteArray &bytes);

private:
    void start(Exchange exchange, int watchdogMs);
    void stopTimers();
    void onPollTick();
    void onArrival();
    void pollBlockReply();
    void pollTrendPage();
    void onWatchdogTick();
    void failPort();
    void release(Ending ending);

    Link &link_;
    Clock &clock_;
    Prompts &prompts_;
    std::int64_t startedAtMs_ = 0;
    std::unique_ptr<Timer> poll_;
    std::unique_ptr<Timer> watchdog_;
    Exchange exchange_ = Exchange::Idle;
    bool onArrival_ = true;
    bool pageFull_ = false;
};

} // namespace z5
