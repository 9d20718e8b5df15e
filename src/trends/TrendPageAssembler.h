#pragma once
#include "trends/TrendPage.h"
#include <QByteArray>
#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace z5 {

class Clock;
class Timer;
struct TrendPart;

// Reads one trend page of 30 parts into a staging page. One request is out at a
// time: part n + 1 is asked for only once part n is in and the line has been
// quiet for a tick (the controller's turnaround; a doubled answer streaming in
// is dropped). A part that does not come within the part timeout is asked for
// again. A part is looked for once the line has gone quiet after the bytes that
// came for its request, and taken only where it fits (the page byte names the
// page, time and date are plausible): stray bytes around it (a turnaround glitch)
// are counted and reported, and where no place fits, or places holding different
// parts do, the part is asked for again. The answers still due to a part's
// repeated requests are recognised by their content (samples, time and date)
// whenever they come and dropped; one that does come proves the line slow and
// doubles the part timeout. Every part must name the page of the first. The page replaces nothing until all 30 parts
// are in; a read with no progress for the stall time ends as failed.
class TrendPageAssembler : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 5;
    static constexpr int kPartTimeoutMs = 250;
    static constexpr int kLongestPartTimeoutMs = 2400;
    static constexpr int kStallMs = 8000;
    static constexpr int kParts = 30;

    enum class Failure {
        NoReply,   // no part came for kStallMs
        NotSent    // a request could not be sent
    };
    Q_ENUM(Failure)

    // The line as the reader needs it. sendPart asks for part 0..29 of a page
    // (0: the page being recorded) and says whether the request went out;
    // takeInput returns every byte that has arrived since the last call;
    // strayBytes (may be empty) is told of bytes that came with a part and were
    // not part of it.
    struct Line {
        std::function<bool(int part, int page)> sendPart;
        std::function<QByteArray()> takeInput;
        std::function<void(const QByteArray &bytes, int part)> strayBytes;
    };

    TrendPageAssembler(Clock &clock, Line line, QObject *parent = nullptr);
    ~TrendPageAssembler() override;

    // Starts reading a page (0 for the one being recorded, else clamped to
    // 1..250). Input already waiting is stale and dropped. False when the first
    // request did not go out; readFailed has then been emitted.
    bool start(int page);
    // Ends a read quietly; nothing is emitted.
    void cancel();

    bool isReading() const { return state_ != State::Idle; }
    int partsIn() const { return partsIn_; }
    // Part requests sent for the read under way or the last one.
    int requestsSent() const { return requestsSent_; }
    int requestedPage() const { return requestedPage_; }
    // Bytes that came with the parts of the read under way (or the last one) and
    // were not part of them.
    int strayBytes() const { return strayBytes_; }

signals:
    void partArrived(int partsIn);
    void pageComplete(const z5::TrendPage &page);
    void readFailed(z5::TrendPageAssembler::Failure failure);

private:
    enum class State { Idle, Awaiting, Guard };
    // A part asked for more than once, and how many of its answers are still due.
    struct Repeated {
        QByteArray content;
        int outstanding;
    };
    static constexpr int kContentAt = 8;
    static constexpr int kContentLength = 1044;   // samples, time of day and date

    void onTick();
    void awaitPart(std::int64_t now);
    static QByteArray contentOf(const QByteArray &reply);
    bool isExtraAnswer(const QByteArray &reply);
    bool dropExtraAnswer(int expectedPage);
    bool takeFittingPart(std::int64_t now);
    bool acceptPart(const QByteArray &reply, std::int64_t now);
    void placePart(int index, const TrendPart &part);
    bool sendCurrentPart(std::int64_t now);
    void finish();
    void fail(Failure failure);

    Clock &clock_;
    Line line_;
    std::unique_ptr<Timer> tick_;
    State state_ = State::Idle;
    TrendPage staging_;
    QByteArray input_;
    int requestedPage_ = 0;
    int pageOfParts_ = 0;         // page named by part 0, asked for by number from then on
    int part_ = 0;                // part awaited
    int partsIn_ = 0;
    int requestsForPart_ = 0;     // requests of part_ sent so far
    std::vector<Repeated> repeated_;
    int requestsSent_ = 0;
    int strayBytes_ = 0;
    int partTimeoutMs_ = kPartTimeoutMs;
    std::int64_t lastSentMs_ = 0;
    std::int64_t lastProgressMs_ = 0;
    bool quietTick_ = true;       // nothing arrived during the last tick
};

} // namespace z5
