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
    : QObject(parent), clock_(clock), line_(std::move(line)), tick_(clock.createTimer()) {
    tick_->setOnTimeout([this] { onTick(); });
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
    requestsForPart_ = 0;
    repeated_.clear();
    partTimeoutMs_ = kPartTimeoutMs;
    if (line_.takeInput) line_.takeInput();
    input_.clear();
    const std::int64_t now = clock_.nowMs();
    lastProgressMs_ = now;
    state_ = State::Awaiting;
    if (!sendCurrentPart(now)) return false;
    tick_->start(kTickMs);
    return true;
}

void TrendPageAssembler::cancel() {
    tick_->stop();
    state_ = State::Idle;
    input_.clear();
}

bool TrendPageAssembler::sendCurrentPart(std::int64_t now) {
    ++requestsForPart_;
    ++requestsSent_;
    lastSentMs_ = now;
    if (line_.sendPart && line_.sendPart(part_, pageOfParts_)) return true;
    fail(Failure::NotSent);
    return false;
}

void TrendPageAssembler::onTick() {
    if (state_ == State::Idle) {
        tick_->stop();
        return;
    }
    const std::int64_t now = clock_.nowMs();
    const QByteArray arrived = line_.takeInput ? line_.takeInput() : QByteArray();
    input_.append(arrived);
    quietTick_ = arrived.isEmpty();
    if (state_ == State::Guard) {
        // Whatever comes during the turnaround answers an earlier request (a
        // doubled answer still streaming in): wait until the line is quiet.
        input_.clear();
        if (!quietTick_) {
            if (now - lastProgressMs_ >= kStallMs) fail(Failure::NoReply);
            return;
        }
        state_ = State::Awaiting;
        requestsForPart_ = 0;
        sendCurrentPart(now);
        return;
    }
    if (state_ == State::Awaiting) awaitPart(now);
    if (part_ >= kParts && state_ == State::Guard) {
        finish();
        return;
    }
    // A part is taken on a quiet tick: the turnaround the guard waits for has
    // already passed, so the next part is asked for at once.
    if (state_ == State::Guard && quietTick_) {
        state_ = State::Awaiting;
        requestsForPart_ = 0;
        sendCurrentPart(now);
        return;
    }
    if (state_ != State::Idle && now - lastProgressMs_ >= kStallMs) fail(Failure::NoReply);
}

void TrendPageAssembler::awaitPart(std::int64_t now) {
    // What came for this request is all there once the line has gone quiet.
    if (quietTick_ && input_.size() >= TrendPart::kLength && takeFittingPart(now)) return;
    if (now - lastSentMs_ < partTimeoutMs_) return;
    // A fragment on a quiet line will never be completed (an answer cut short);
    // one still streaming in may be the late answer itself.
    if (quietTick_) input_.clear();
    sendCurrentPart(now);
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
        if (!isExtraAnswer(input_.mid(at, TrendPart::kLength))) continue;
        input_.remove(0, at + TrendPart::kLength);
        return true;
    }
    return false;
}

bool TrendPageAssembler::takeFittingPart(std::int64_t now) {
    const int expectedPage = part_ == 0 ? requestedPage_ : pageOfParts_;
    while (dropExtraAnswer(expectedPage)) {
    }
    const std::vector<int> offsets = TrendPartSearch::fittingOffsets(input_, expectedPage);
    if (offsets.empty()) return false;
    // Several places may fit only when they hold the same part (a doubled
    // answer); otherwise which one was sent cannot be told, and the part is
    // asked for again at its timeout.
    const QByteArray reply = input_.mid(offsets.front(), TrendPart::kLength);
    QByteArray stray = input_.left(offsets.front());
    int coveredTo = offsets.front() + TrendPart::kLength;
    for (const int at : offsets) {
        if (at < coveredTo) {
            if (at != offsets.front() && input_.mid(at, TrendPart::kLength) != reply) return false;
            continue;
        }
        if (input_.mid(at, TrendPart::kLength) != reply) return false;
        stray += input_.mid(coveredTo, at - coveredTo);
        coveredTo = at + TrendPart::kLength;
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
    } else if (part->pageNumber != pageOfParts_) {
        return false;   // not an answer to this read
    }
    placePart(part_, *part);
    // The other requests of this part may still be answered, late.
    if (requestsForPart_ > 1) repeated_.push_back({contentOf(reply), requestsForPart_ - 1});
    ++part_;
    ++partsIn_;
    lastProgressMs_ = now;
    state_ = State::Guard;
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
    tick_->stop();
    state_ = State::Idle;
    input_.clear();
    emit pageComplete(staging_);
}

void TrendPageAssembler::fail(Failure failure) {
    tick_->stop();
    state_ = State::Idle;
    input_.clear();
    emit readFailed(failure);
}

} // namespace z5
