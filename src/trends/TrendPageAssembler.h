#pragma once
#include "link/LineOutcome.h"
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
// time, and the pace is the line's own: the bytes are taken as they arrive, and
// once the line has been quiet for kQuietGapMs after them (the controller's
// answer is all there) the part is looked for and, when it is in, the next part
// is asked for at once. A port that cannot tell arrivals is polled every
// kPollMs instead. A part that does not come within the part timeout is asked
// for again. A part is taken only where it fits (the page byte names the page,
// time and date are plausible): stray bytes around it (a turnaround glitch) are
// counted and reported, and where no place fits, or places holding different
// parts do, the part is asked for again. The answers still due to a part's
// repeated requests are recognised by their content (samples, time and date)
// whenever they come and dropped; one that does come proves the line slow and
// doubles the part timeout. A second copy of the part just taken (a doubled
// answer still streaming in when the next part was asked for) is dropped once.
// Every part must name the page of the first. The page replaces nothing until
// all 30 parts are in; a read with no progress for the stall time ends as
// NoReply, one whose request could not go out as NoNetwork.
class TrendPageAssembler : public QObject {
    Q_OBJECT
public:
    // The line counts as quiet once nothing has arrived for this long (the time
    // of a dozen bytes at 115200 bit/s).
    static constexpr int kQuietGapMs = 1;
    // How often the input is looked at while nothing is told of arrivals.
    static constexpr int kPollMs = 5;
    static constexpr int kPartTimeoutMs = 250;
    static constexpr int kLongestPartTimeoutMs = 2400;
    static constexpr int kStallMs = 8000;
    static constexpr int kParts = 30;

    // The line as the reader needs it. sendPart asks for part 0..29 of a page
    // (0: the page being recorded) and says whether the request went out;
    // takeInput returns every byte that has arrived since the last call;
    // strayBytes (may be empty) is told of bytes that came with a part and were
    // not part of it. Whoever knows of arrivals calls inputArrived().
    struct Line {
        std::function<bool(int part, int page)> sendPart;
        std::function<QByteArray()> takeInput;
        std::function<void(const QByteArray &bytes, int part)> strayBytes;
    };

    TrendPageAssembler(Clock &clock, Line line, QObject *parent = nullptr);
    ~TrendPageAssembler() override;

    // Asked once the first part of a page is in, with the page as far as it
    // goes (number, date, first time of day, valid rows) and the page being
    // recorded as that part names it: false turns the page down, and the read
    // ends there with pageTurnedDown, nothing more asked for. None: every page
    // is read whole.
    using FirstPartCheck = std::function<bool(const TrendPage &opening, int recordingPage)>;
    void setFirstPartCheck(FirstPartCheck check) { firstPartCheck_ = std::move(check); }
    // Asked between two parts, on a quiet line with nothing owed: true pauses
    // the read there (gaveWay), to go on with resume() from the next part.
    void setGivesWay(std::function<bool()> givesWay) { givesWay_ = std::move(givesWay); }

    // Starts reading a page (0 for the one being recorded, else clamped to
    // 1..250). Input already waiting is stale and dropped. False when the first
    // request did not go out; readFailed has then been emitted.
    bool start(int page);
    // Goes on with a read that ended without its page (the port failed) from
    // the part it was on, keeping the parts already in. False when there is
    // nothing to go on with, or the request did not go out (readFailed told).
    bool resume();
    // Ends a read quietly; nothing is emitted.
    void cancel();
    // Bytes have arrived on the line: they are taken now, and the part looked
    // for once the line has been quiet for kQuietGapMs.
    void inputArrived();

    bool isReading() const { return state_ != State::Idle; }
    int partsIn() const { return partsIn_; }
    // Part requests sent for the read under way or the last one.
    int requestsSent() const { return requestsSent_; }
    int requestedPage() const { return requestedPage_; }
    // The page being recorded as the first and the latest part of the read named it
    // (0 before a part is in): they differ when recording went on to another page
    // during the read.
    int recordingPageAtFirstPart() const { return recordingAtFirst_; }
    int recordingPageAtLatestPart() const { return recordingAtLatest_; }
    // Bytes that came with the parts of the read under way (or the last one) and
    // were not part of them.
    int strayBytes() const { return strayBytes_; }

signals:
    void partArrived(int partsIn);
    void pageComplete(const z5::TrendPage &page);
    // The first-part check turned the page down: the line is quiet, nothing is owed.
    void pageTurnedDown(const z5::TrendPage &opening);
    // Paused between two parts: the line is quiet, nothing is owed.
    void gaveWay();
    // NoReply: no progress for kStallMs; NoNetwork: a request could not be sent.
    void readFailed(z5::LineOutcome outcome);

private:
    enum class State { Idle, Awaiting };
    // A part asked for more than once, and how many of its answers are still due.
    struct Repeated {
        QByteArray content;
        int outstanding;
    };
    static constexpr int kContentAt = 8;
    static constexpr int kContentLength = 1044;   // samples, time of day and date

    void onPace();
    void checkTimeouts(std::int64_t now);
    void armPoll(std::int64_t now);
    void awaitPart(std::int64_t now);
    bool dropCopyOfLastPart(int expectedPage);
    static QByteArray contentOf(const QByteArray &reply);
    bool isExtraAnswer(const QByteArray &reply);
    bool dropExtraAnswer(int expectedPage);
    bool takeFittingPart(std::int64_t now);
    bool acceptPart(const QByteArray &reply, std::int64_t now);
    void placePart(int index, const TrendPart &part);
    bool sendCurrentPart(std::int64_t now);
    // Forgets what was known of the part awaited, drops the input waiting and asks for the part.
    bool askForCurrentPartAfresh();
    void finish();
    void fail(LineOutcome outcome);

    Clock &clock_;
    Line line_;
    FirstPartCheck firstPartCheck_;
    std::function<bool()> givesWay_;
    int recordingAtFirst_ = 0;
    int recordingAtLatest_ = 0;
    std::unique_ptr<Timer> pace_;
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
    QByteArray lastContent_;      // of the part taken last
    bool copyOfLastMayCome_ = false;
    int copiesDropped_ = 0;       // while awaiting part_
};

} // namespace z5
