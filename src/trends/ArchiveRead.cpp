#include "trends/ArchiveRead.h"
#include "link/LineSession.h"
#include "model/Clock.h"
#include "trends/TrendPageTimes.h"
#include <algorithm>

namespace z5 {

ArchiveRead::ArchiveRead(Clock &clock, LineSession &line, ArchivePages &store, QObject *parent)
    : QObject(parent), clock_(clock), line_(line), store_(store), session_(clock, line) {
    session_.setGoesOnWhenAdapterReturns(true);
    // A click or a key given during the run waits one part at most, not a page.
    session_.setGivesWayBetweenParts(true);
    session_.setFirstPartCheck([this](const TrendPage &opening, int recordingPage) {
        recordingPage_ = recordingPage;
        return wantsWhole(opening, recordingPage);
    });
    connect(&session_, &TrendSession::readProgress, this, [this](int partsIn, int) {
        if (partsIn > progress_.partsIn) {
            partsRead_ += partsIn - progress_.partsIn;
            retries_ = 0;   // a part came: the next one that fails has its retries afresh
        }
        progress_.partsIn = partsIn;
        if (running_) report();
    });
    connect(&session_, &TrendSession::readEnded, this, &ArchiveRead::onReadEnded);
    connect(&session_, &TrendSession::readInterrupted, this, [this] {
        if (running_) emit interrupted();
    });
    // A page whose read could not start while the adapter was away: read now.
    connect(&line_, &LineSession::adapterReturned, this, [this] {
        if (!running_ || !awaitingAdapter_) return;
        awaitingAdapter_ = false;
        startPage();
    });
}

ArchiveRead::~ArchiveRead() { cancel(); }

void ArchiveRead::start(int station, int column, int first, int last) {
    cancel();
    first = clampPageNumber(first);
    last = std::max(first, clampPageNumber(last));
    station_ = station;
    column_ = column;
    pending_.clear();
    for (int p = first; p <= last; ++p) pending_.push_back(p);
    storedWhileRecorded_.clear();
    readAgain_.clear();
    progress_ = Progress();
    progress_.pages = last - first + 1;
    failure_.clear();
    storeFailed_ = false;
    awaitingAdapter_ = false;
    partsRead_ = 0;
    startedMs_ = clock_.nowMs();
    running_ = true;
    readNext();
}

void ArchiveRead::cancel() {
    if (!running_) return;
    running_ = false;
    awaitingAdapter_ = false;
    session_.cancel();
}

void ArchiveRead::readNext() {
    if (!running_) return;
    if (pending_.empty()) {
        // Pages stored while they were being recorded, which recording has left since.
        for (auto it = storedWhileRecorded_.begin(); it != storedWhileRecorded_.end();) {
            if (*it == recordingPage_ || readAgain_.count(*it)) {
                ++it;
                continue;
            }
            readAgain_.insert(*it);
            pending_.push_back(*it);
            ++progress_.pages;
            it = storedWhileRecorded_.erase(it);
        }
        if (pending_.empty()) {
            finish(LineOutcome::Reply);
            return;
        }
    }
    page_ = pending_.front();
    pending_.pop_front();
    readsOfPage_ = 1;
    retries_ = 0;
    startPage();
}

void ArchiveRead::startPage() {
    progress_.partsIn = 0;
    session_.setBlock(column_);
    // A read that ends at once (the port) has told readEnded already.
    session_.readPage(page_);
}

bool ArchiveRead::wantsWhole(const TrendPage &opening, int recordingPage) const {
    if (opening.pageNumber == recordingPage) return true;
    const QDateTime begun = TrendPageTimes::start(opening);
    // A page never recorded has nothing to keep.
    if (!begun.isValid()) return false;
    return !store_.has(ArchivePageKey{station_, column_, begun});
}

void ArchiveRead::onReadEnded(LineOutcome outcome) {
    if (!running_) return;
    switch (outcome) {
    case LineOutcome::Reply:
        retries_ = 0;
        if (session_.lastReadTurnedDown()) {
            ++progress_.skipped;
            ++progress_.pagesDone;
            progress_.partsIn = 0;
            report();
            readNext();
            return;
        }
        onPageRead();
        return;
    case LineOutcome::NoNetwork:
        // The adapter went away before the page's read began: it is read once the adapter is back.
        if (line_.awaitsAdapter()) {
            awaitingAdapter_ = true;
            emit interrupted();
            return;
        }
        finish(outcome, session_.lastFailureText());
        return;
    case LineOutcome::NoReply:
    case LineOutcome::WrongCheckValue:
        // A part that did not come is asked for again, the parts in are kept.
        if (++retries_ <= kRetriesOfAPart) {
            if (!session_.goOn()) startPage();
            return;
        }
        finish(LineOutcome::NoReply, session_.lastFailureText());
        return;
    case LineOutcome::NotDrained:
    case LineOutcome::Cancelled: finish(outcome, session_.lastFailureText()); return;
    }
}

void ArchiveRead::onPageRead() {
    const TrendPage &page = session_.page();
    const int first = session_.recordingPageAtFirstPart();
    const int latest = session_.recordingPageAtLatestPart();
    recordingPage_ = latest;
    const bool recordedNow = page.pageNumber == first || page.pageNumber == latest;
    // Recording moved on to or away from the page while it was read: its parts
    // may come from both sides of the move.
    if (first != latest && recordedNow && readsOfPage_ < kReadsOfAMovingPage) {
        ++readsOfPage_;
        startPage();
        return;
    }
    const ArchivedPage archived{ArchivePageKey{station_, column_, TrendPageTimes::start(page)}, page, !recordedNow};
    if (!archived.key.isValid() || page.rowCount == 0) {
        // Nothing recorded in it yet.
        ++progress_.pagesDone;
        progress_.partsIn = 0;
        report();
        readNext();
        return;
    }
    QString error;
    const ArchivePages::Put how = store_.put(archived, &error);
    if (how == ArchivePages::Put::Failed) {
        storeFailed_ = true;
        finish(LineOutcome::Cancelled, error);
        return;
    }
    if (recordedNow)
        storedWhileRecorded_.insert(page.pageNumber);
    else
        storedWhileRecorded_.erase(page.pageNumber);
    ++progress_.stored;
    ++progress_.pagesDone;
    progress_.partsIn = 0;
    emit pageStored(page.pageNumber, how);
    report();
    readNext();
}

void ArchiveRead::finish(LineOutcome outcome, const QString &why) {
    running_ = false;
    awaitingAdapter_ = false;
    failure_ = why;
    session_.cancel();
    progress_.msLeft = outcome == LineOutcome::Reply ? 0 : -1;
    emit finished(outcome);
}

void ArchiveRead::report() {
    // What the parts read so far took, for the parts still to come.
    const int partsLeft = std::max(0, (progress_.pages - progress_.pagesDone) * progress_.parts - progress_.partsIn);
    const std::int64_t elapsed = clock_.nowMs() - startedMs_;
    progress_.msLeft = partsRead_ > 0 ? elapsed * partsLeft / partsRead_ : -1;
    emit progressed(progress_);
}

} // namespace z5
