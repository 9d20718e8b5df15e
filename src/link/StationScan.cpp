#include "link/StationScan.h"
#include "link/LineSession.h"
#include "link/PacedRead.h"
#include "link/ReplyCheck.h"
#include "link/Request.h"
#include "link/WireSizes.h"
#include "model/Clock.h"

namespace z5 {
namespace {

Request askFor(int station) { return Request::blockRead(StationScan::kAskedColumn).addressedTo(station); }

// The bytes are one answer of `length` bytes sent once or more, the same each time.
bool repeatsOneAnswer(const QByteArray &bytes, int length) {
    if (bytes.size() % length != 0) return false;
    const QByteArray first = bytes.left(length);
    for (qsizetype at = length; at < bytes.size(); at += length)
        if (bytes.mid(at, length) != first) return false;
    return true;
}

} // namespace

StationScan::StationScan(Clock &clock, LineSession &line, QObject *parent)
    : QObject(parent), clock_(clock), line_(line), pace_(clock.createTimer()) {
    pace_->setOnTimeout([this] { onPace(); });
}

StationScan::~StationScan() { cancel(); }

StationScan::Answer StationScan::judge(const QByteArray &bytes) {
    if (bytes.isEmpty()) return Answer::Silent;
    // An echoing converter sends the same reply again: still one controller.
    if (repeatsOneAnswer(bytes, wire::kBlockReplyLength))
        return blockReplyCheckHolds(bytes.left(wire::kBlockReplyLength)) ? Answer::Present : Answer::Damaged;
    // Where U1 is a trend recorder the read is answered with a part of its page,
    // which carries no check value.
    if (repeatsOneAnswer(bytes, wire::kTrendPartLength)) return Answer::Present;
    return bytes.size() > wire::kBlockReplyLength ? Answer::Conflict : Answer::Damaged;
}

QString StationScan::answerText(Answer answer) {
    switch (answer) {
    case Answer::Present: return QStringLiteral("отвечает");
    case Answer::Silent: return QStringLiteral("нет ответа");
    case Answer::Damaged: return QStringLiteral("ответ искажён");
    case Answer::Conflict: return QStringLiteral("конфликт: отвечают несколько контроллеров");
    }
    return QString();
}

void StationScan::start(const std::vector<int> &stations) {
    cancel();
    stations_ = stations;
    results_.clear();
    next_ = 0;
    settling_ = false;
    taken_.clear();
    failure_.clear();
    outcome_ = LineOutcome::Cancelled;
    if (stations_.empty()) {
        outcome_ = LineOutcome::Reply;
        emit finished(outcome_);
        return;
    }
    // The line owner's watchdog, should the search itself stop pacing: every
    // station at its longest, and a second to spare.
    const int watchdogMs = static_cast<int>(stations_.size()) * kLongestAnswerMs + 1000;
    auto read = std::make_shared<PacedRead>(askFor(stations_.front()), watchdogMs);
    read_ = read;
    const PacedRead *raw = read.get();
    connect(raw, &PacedRead::started, this, [this, raw] {
        if (read_.get() == raw) askNext();
    });
    connect(raw, &PacedRead::arrived, this, [this, raw] {
        if (read_.get() == raw) takeInput();
    });
    connect(raw, &LineReply::finished, this, [this, raw](LineOutcome outcome) { onReadFinished(raw, outcome); });
    line_.enqueuePacedRead(read);
}

void StationScan::cancel() {
    pace_->stop();
    settling_ = false;
    if (!read_) return;
    // Quietly: the search's end is not told.
    const std::shared_ptr<PacedRead> read = std::move(read_);
    read_.reset();
    line_.cancel(*read);
}

void StationScan::askNext() {
    if (!read_) return;
    if (next_ >= stations_.size()) {
        pace_->stop();
        read_->end(LineOutcome::Reply);
        return;
    }
    askedAgain_ = false;
    ask();
}

void StationScan::ask() {
    answer_.clear();
    askedAtMs_ = clock_.nowMs();
    lastByteAtMs_ = askedAtMs_;
    if (!read_->send(askFor(stations_[next_]))) {
        pace_->stop();
        read_->end(LineOutcome::NoNetwork);
        return;
    }
    pace_->start(kPollMs);
}

void StationScan::takeInput() {
    if (!read_) return;
    const QByteArray arrived = read_->takeInput();
    if (arrived.isEmpty()) return;
    if (!settling_) answer_.append(arrived);
    lastByteAtMs_ = clock_.nowMs();
}

bool StationScan::mayHoldCopyOfEarlierReply() const {
    if (askedAgain_) return false;
    for (const Taken &t : taken_) {
        if (askedAtMs_ - t.endedAtMs >= kCopyWindowMs) continue;
        for (qsizetype at = 0; at + wire::kBlockReplyLength <= answer_.size(); at += wire::kBlockReplyLength)
            if (answer_.mid(at, wire::kBlockReplyLength) == t.reply) return true;
    }
    return false;
}

void StationScan::onPace() {
    if (!read_ || next_ >= stations_.size()) {
        pace_->stop();
        return;
    }
    takeInput();
    const std::int64_t now = clock_.nowMs();
    if (settling_) {
        // Asked again once no copy can come, or at the latest after two windows of a line that never goes quiet.
        if (now - lastByteAtMs_ < kCopyWindowMs && now - settlingSinceMs_ < 2 * kCopyWindowMs) return;
        settling_ = false;
        askedAgain_ = true;
        ask();
        return;
    }
    const bool over = answer_.isEmpty() ? now - askedAtMs_ >= kAnswerTimeoutMs
                                        : now - lastByteAtMs_ >= kQuietAfterAnswerMs || now - askedAtMs_ >= kLongestAnswerMs;
    if (!over) return;
    if (mayHoldCopyOfEarlierReply()) {
        read_->noteInTraffic(QStringLiteral("поиск станций: станция %1: возможна копия прежнего ответа, спрошена снова")
                                 .arg(stations_[next_]),
                             QByteArray());
        answer_.clear();
        settling_ = true;
        settlingSinceMs_ = now;
        return;
    }
    judgeAnswer();
}

void StationScan::judgeAnswer() {
    const Result result{stations_[next_], judge(answer_), static_cast<int>(answer_.size())};
    results_.push_back(result);
    if (result.answer == Answer::Present && answer_.size() >= wire::kBlockReplyLength)
        taken_.push_back({answer_.left(wire::kBlockReplyLength), lastByteAtMs_});
    read_->noteInTraffic(QStringLiteral("поиск станций: станция %1: %2").arg(result.station).arg(answerText(result.answer)),
                         QByteArray());
    ++next_;
    emit stationJudged(result);
    askNext();
}

void StationScan::onReadFinished(const PacedRead *read, LineOutcome outcome) {
    if (read_.get() != read) return;   // a search given up before
    pace_->stop();
    failure_ = outcome == LineOutcome::NoNetwork ? read_->failure() : QString();
    read_.reset();
    outcome_ = outcome;
    emit finished(outcome);
}

} // namespace z5
