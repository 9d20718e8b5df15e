#pragma once
#include "link/LineOutcome.h"
#include "link/StaleReplyGuard.h"
#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace z5 {

class Clock;
class LineSession;
class PacedRead;
class Timer;

// Finds which stations answer on the line. Each station in turn is sent a block
// read of U1 (a read changes nothing in the controller) and given a short time
// to answer: a station that has sent nothing kAnswerTimeoutMs after its request
// is taken as absent. Once bytes have come, the station's answer is whole when
// the line has been quiet for kQuietAfterAnswerMs, or at the latest
// kLongestAnswerMs after the request. A whole block reply whose check value
// holds is a station that answers; fewer bytes, or a wrong check value, a
// damaged answer; more bytes than one reply (two controllers set to the same
// number answer together, their replies overlapping or following each other) a
// conflict. A line that echoes (a repeater or converter that sends every reply
// again up to half a second later) could put the copy of one station's reply
// where the next station's answer is awaited: bytes that repeat the reply taken
// just before are no answer of their own, and the station is asked again once
// no copy can come any more. The search is one piece of work in the line
// owner's queue: it waits its turn, then holds the line until the last station
// has answered or stayed silent, so nothing else goes out between the stations
// and no other request's reply can be taken for a station's.
class StationScan : public QObject {
    Q_OBJECT
public:
    enum class Answer {
        Present,   // a whole reply with its check value
        Silent,    // nothing came
        Damaged,   // part of a reply, or a wrong check value
        Conflict   // more than one reply's worth: several controllers answer to the number
    };
    struct Result {
        int station = 0;
        Answer answer = Answer::Silent;
        int bytes = 0;   // what came for the station
    };

    static constexpr int kAnswerTimeoutMs = 200;
    static constexpr int kQuietAfterAnswerMs = 60;
    static constexpr int kLongestAnswerMs = 1000;
    // A copy of a reply comes within this after it (as the line owner holds too).
    static constexpr int kCopyWindowMs = StaleReplyGuard::kCopyWindowMs;
    // How often the input is looked at (ports that do not tell arrivals).
    static constexpr int kPollMs = 5;
    // The block each station is asked for: U1.
    static constexpr int kAskedColumn = 0;

    StationScan(Clock &clock, LineSession &line, QObject *parent = nullptr);
    ~StationScan() override;

    // Queues the search of `stations` (1..255 each, asked in the order given).
    // A search waiting or under way gives way to it quietly. `finished` may
    // have been emitted when this returns (the port did not open).
    void start(const std::vector<int> &stations);
    // Ends a search waiting or under way quietly and gives the line back.
    void cancel();
    bool isRunning() const { return read_ != nullptr; }

    // The stations asked so far in the search under way, or all of the last one.
    const std::vector<Result> &results() const { return results_; }
    // How the last search ended: Reply when every station was asked; NoNetwork
    // when the port failed (failure() says why), Cancelled when it was given up.
    LineOutcome outcome() const { return outcome_; }
    QString failure() const { return failure_; }

    // What the bytes that came for one station say of it.
    static Answer judge(const QByteArray &bytes);
    // "отвечает", "нет ответа", "ответ искажён", "конфликт: отвечают несколько контроллеров".
    static QString answerText(Answer answer);

signals:
    // One station has been judged; the next one is asked now.
    void stationJudged(const z5::StationScan::Result &result);
    // The search is over (not told when it was cancelled).
    void finished(z5::LineOutcome outcome);

private:
    void askNext();
    void ask();
    void takeInput();
    void onPace();
    // The answer in hand may hold a copy of a reply taken shortly before.
    bool mayHoldCopyOfEarlierReply() const;
    void judgeAnswer();
    void onReadFinished(const PacedRead *read, LineOutcome outcome);

    Clock &clock_;
    LineSession &line_;
    std::unique_ptr<Timer> pace_;
    std::shared_ptr<PacedRead> read_;
    std::vector<int> stations_;
    std::vector<Result> results_;
    std::size_t next_ = 0;           // the station asked now
    QByteArray answer_;              // what came for it
    std::int64_t askedAtMs_ = 0;
    std::int64_t lastByteAtMs_ = 0;
    bool askedAgain_ = false;
    // Waiting for the line to stay quiet before asking again.
    bool settling_ = false;
    std::int64_t settlingSinceMs_ = 0;
    // The whole replies stations answered with, and when each ended.
    struct Taken {
        QByteArray reply;
        std::int64_t endedAtMs = 0;
    };
    std::vector<Taken> taken_;
    LineOutcome outcome_ = LineOutcome::Cancelled;
    QString failure_;
};

} // namespace z5
