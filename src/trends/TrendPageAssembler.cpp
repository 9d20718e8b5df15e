#include "trends/TrendPageAssembler.h"
#include "model/Clock.h"
#include "trends/TrendPartSearch.h"
#include "trends/TrendReply.h"
#include <algorithm>

namespace z5 {
namespace {

// The parts whose time of day labels the page, and the label each fills.
constexpr std::array<int, 4> kLabelledParts = {0, 7, 14, 23};
constexpr int kRowsPerPart = TrendPart::kSamples / TrendPage::kChannels;   // 8

} // namespace

TrendPageAssembler::TrendPageAssembler(Clock &clock, Line line, QObject *parent)
    : QObject(parent), clock_(clock), line_(std::move(line)), pace_(clock.createTimer()) {
    pace_->setOnTimeout([this] { onPace(); });
}

TrendPageAssembler::~TrendPageAssembler() = default;

bool TrendPageAssembler::start(int page) {
    cancel();
    requestedPage_ = page == 0 ? 0 : clampPageNumber(page);
    pageOfParts_ = requestedPage_;
    staging_ = TrendPage();
    part_ = 0;
    partsIn_ = 0;
    requestsSent_ = 0;
    strayBytes_ = 0;
    recordingAtFirst_ = 0;
    recordingAtLatest_ = 0;
    return askForCurrentPartAfresh();
}

bool TrendPageAssembler::resume() {
    if (state_ != State::Idle || partsIn_ >= kParts) return false;
    // The parts already in stay; the part awaited is asked for afresh.
    return askForCurrentPartAfresh();
}

bool TrendPageAssembler::askForCurrentPartAfresh() {
    requestsForPart_ = 0;
    repeated_.clear();
    lastContent_.clear();
    copyOfLastMayCome_ = false;
    copiesDropped_ = 0;
    partTimeoutMs_ = kPartTimeoutMs;
    if (line_.takeInput) line_.takeInput();
    input_.clear();
    const std::int64_t now = clock_.nowMs();
    lastProgressMs_ = now;
    state_ = State::Awaiting;
    return sendCurrentPart(now);
}

void TrendPageAssembler::cancel() {
    pace_->stop();
    state_ = State::Idle;
    input_.clear();
}

bool TrendPageAssembler::sendCurrentPart(std::int64_t now) {
    ++requestsForPart_;
    ++requestsSent_;
    lastSentMs_ = now;
    if (line_.sendPart && line_.sendPart(part_, pageOfParts_)) {
        armPoll(now);
        return true;
    }
    fail(LineOutcome::NoNetwork);
    return false;
}

void TrendPageAssembler::inputArrived() {
    if (state_ == State::Idle) return;
    const QByteArray arrived = line_.takeInput ? line_.takeInput() : QByteArray();
    if (arrived.isEmpty()) return;
    input_.append(arrived);
    // A line that never goes quiet still has its timeouts.
    checkTimeouts(clock_.nowMs());
    // The part is looked for once the line has been quiet for the gap.
    if (state_ != State::Idle) pace_->start(kQuietGapMs);
}

void TrendPageAssembler::checkTimeouts(std::int64_t now) {
    if (state_ == State::Idle) return;
    if (now - lastProgressMs_ >= kStallMs) {
        fail(LineOutcome::NoReply);
        return;
    }
    // Asked again even while bytes stream in: they may be the late answer itself.
    if (now - lastSentMs_ >= partTimeoutMs_) sendCurrentPart(now);
}

void TrendPageAssembler::onPace() {
    if (state_ == State::Idle) {
        pace_->stop();
        return;
    }
    const std::int64_t now = clock_.nowMs();
    const QByteArray arrived = line_.takeInput ? line_.takeInput() : QByteArray();
    if (!arrived.isEmpty()) {
        // Found by the poll: the line is quiet only if nothing more comes within the gap.
        input_.append(arrived);
        checkTimeouts(now);
        if (state_ != State::Idle) pace_->start(kQuietGapMs);
        return;
    }
    // The line has been quiet since the last bytes: what came for the request is all there.
    awaitPart(now);
    if (state_ == State::Idle) return;
    if (now - lastProgressMs_ >= kStallMs) {
        fail(LineOutcome::NoReply);
        return;
    }
    armPoll(now);
}

void TrendPageAssembler::armPoll(std::int64_t now) {
    // The answer is looked for when it has come; this poll is for ports that do
    // not tell arrivals, and wakes up in time for the part timeout and the stall.
    const std::int64_t due = std::min(lastSentMs_ + partTimeoutMs_, lastProgressMs_ + kStallMs);
    pace_->start(int(std::clamp<std::int64_t>(due - now, 1, kPollMs)));
}

void TrendPageAssembler::awaitPart(std::int64_t now) {
    if (input_.size() >= wire::kTrendPartLength && takeFittingPart(now)) {
        if (part_ >= kParts) {
            finish();
            return;
        }
        if (part_ == 1 && firstPartCheck_ && !firstPartCheck_(staging_, recordingAtFirst_)) {
            pace_->stop();
            state_ = State::Idle;
            input_.clear();
            emit pageTurnedDown(staging_);
            return;
        }
        // The line is quiet: the next part is asked for at once, unless others
        // wait for the line and the read gives way to them here.
        if (givesWay_ && givesWay_()) {
            pace_->stop();
            state_ = State::Idle;
            input_.clear();
            emit gaveWay();
            return;
        }
        requestsForPart_ = 0;
        sendCurrentPart(now);
        return;
    }
    if (now - lastSentMs_ < partTimeoutMs_) return;
    // A fragment on a quiet line will never be completed (an answer cut short).
    input_.clear();
    sendCurrentPart(now);
}

bool TrendPageAssembler::dropCopyOfLastPart(int expectedPage) {
    if (!copyOfLastMayCome_) return false;
    for (const int at : TrendPartSearch::fittingOffsets(input_, expectedPage)) {
        if (contentOf(input_.mid(at, wire::kTrendPartLength)) != lastContent_) continue;
        input_.remove(0, at + wire::kTrendPartLength);
        copyOfLastMayCome_ = false;
        ++copiesDropped_;
        return true;
    }
    return false;
}

QByteArray TrendPageAssembler::contentOf(const QByteArray &reply) {
    return reply.mid(kContentAt, kContentLength);
}

bool TrendPageAssembler::isExtraAnswer(const QByteArray &reply) {
    const QByteArray content = contentOf(reply);
    for (Repeated &r : repeated_) {
        if (r.outstanding == 0 || r.content != content) continue;
        --r.outstanding;
        // The first answer was not lost but late: give answers more time.
        partTimeoutMs_ = std::min(2 * partTimeoutMs_, kLongestPartTimeoutMs);
        return true;
    }
    return false;
}

bool TrendPageAssembler::dropExtraAnswer(int expectedPage) {
    for (const int at : TrendPartSearch::fittingOffsets(input_, expectedPage)) {
        if (!isExtraAnswer(input_.mid(at, wire::kTrendPartLength))) continue;
        input_.remove(0, at + wire::kTrendPartLength);
        return true;
    }
    return false;
}

bool TrendPageAssembler::takeFittingPart(std::int64_t now) {
    const int expectedPage = part_ == 0 ? requestedPage_ : pageOfParts_;
    while (dropExtraAnswer(expectedPage)) {
    }
    dropCopyOfLastPart(expectedPage);
    const std::vector<int> offsets = TrendPartSearch::fittingOffsets(input_, expectedPage);
    if (offsets.empty()) return false;
    // Several places may fit only when they hold the same part (a doubled
    // answer); otherwise which one was sent cannot be told, and the part is
    // asked for again at its timeout.
    const QByteArray reply = input_.mid(offsets.front(), wire::kTrendPartLength);
    QByteArray stray = input_.left(offsets.front());
    int coveredTo = offsets.front() + wire::kTrendPartLength;
    for (const int at : offsets) {
        if (at < coveredTo) {
            if (at != offsets.front() && input_.mid(at, wire::kTrendPartLength) != reply) return false;
            continue;
        }
        if (input_.mid(at, wire::kTrendPartLength) != reply) return false;
        stray += input_.mid(coveredTo, at - coveredTo);
        coveredTo = at + wire::kTrendPartLength;
    }
    stray += input_.mid(coveredTo);
    const int part = part_;
    if (!acceptPart(reply, now)) return false;
    input_.clear();
    if (!stray.isEmpty()) {
        strayBytes_ += int(stray.size());
        if (line_.strayBytes) line_.strayBytes(stray, part);
    }
    return true;
}

bool TrendPageAssembler::acceptPart(const QByteArray &reply, std::int64_t now) {
    const std::optional<TrendPart> part = decodeTrendPart(reply);
    if (!part) return false;
    if (part_ == 0) {
        // Ask for the rest by number, so a page filled up meanwhile is not mixed
        // with the next one.
        pageOfParts_ = part->pageNumber;
        staging_.pageNumber = part->pageNumber;
        const bool recordingPage = requestedPage_ == 0 || requestedPage_ == part->recordingPage;
        const int rows = recordingPage ? part->rowsRecorded - part->rowsRecorded % kRowsPerPart : TrendPage::kRows;
        staging_.rowCount = std::min(rows, TrendPage::kRows);
        recordingAtFirst_ = part->recordingPage;
    } else if (part->pageNumber != pageOfParts_) {
        return false;   // not an answer to this read
    }
    placePart(part_, *part);
    recordingAtLatest_ = part->recordingPage;
    // The other requests of this part may still be answered, late.
    lastContent_ = contentOf(reply);
    // A copy dropped as the last part's may have been this part's own answer
    // (two parts alike): it is not awaited again.
    if (const int due = requestsForPart_ - 1 - copiesDropped_; due > 0) repeated_.push_back({lastContent_, due});
    copiesDropped_ = 0;
    copyOfLastMayCome_ = true;
    ++part_;
    ++partsIn_;
    lastProgressMs_ = now;
    emit partArrived(partsIn_);
    return true;
}

void TrendPageAssembler::placePart(int index, const TrendPart &part) {
    const std::size_t first = static_cast<std::size_t>(index) * TrendPart::kSamples;
    if (first + TrendPart::kSamples > staging_.samples.size()) return;
    std::copy(part.samples.begin(), part.samples.end(), staging_.samples.begin() + static_cast<std::ptrdiff_t>(first));
    for (std::size_t k = 0; k < kLabelledParts.size(); ++k) {
        if (kLabelledParts[k] != index) continue;
        const std::size_t at = 3 + 3 * k;
        staging_.time[at] = part.timeOfDay[0];
        staging_.time[at + 1] = part.timeOfDay[1];
        staging_.time[at + 2] = part.timeOfDay[2];
    }
    if (index == 0) std::copy(part.date.begin(), part.date.end(), staging_.time.begin());
}

void TrendPageAssembler::finish() {
    pace_->stop();
    state_ = State::Idle;
    input_.clear();
    emit pageComplete(staging_);
}

void TrendPageAssembler::fail(LineOutcome outcome) {
    pace_->stop();
    state_ = State::Idle;
    input_.clear();
    emit readFailed(outcome);
}

} // namespace z5
