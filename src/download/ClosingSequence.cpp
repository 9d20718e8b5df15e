#include "download/ClosingSequence.h"
#include "download/DataStep.h"
#include "download/DownloadProgress.h"
#include "download/DownloadTables.h"
#include "link/Link.h"
#include "link/SerialPort.h"
#include "model/Clock.h"

namespace z5 {

ClosingSequence::ClosingSequence(Clock &clock, Link &link, DataStep &dataStep, DownloadProgress &progress,
                                 const DownloadTables &tables, const bool &NO_SEND_flag)
    : link_(link), dataStep_(dataStep), progress_(progress), tables_(tables), noSend_(NO_SEND_flag),
      timer2_(clock.createTimer()), signalText_(clock.createTimer()) {
    timer2_->setOnTimeout([this] { onTimer2(); });
    signalText_->setOnTimeout([this] { onSignalText(); });
}

ClosingSequence::~ClosingSequence() = default;

bool ClosingSequence::isActive() const { return timer2_->isActive() || signalText_->isActive(); }

void ClosingSequence::start() {
    progress_.progressChanged(1);
    progress_.progressShown(true);
    CLOSE_tick_count_ = 0;
    timer2_->start(kTimer2IntervalMs);
    link_.openPort();
}

void ClosingSequence::onTimer2() {
    if (CLOSE_tick_count_ < kClosingTick) ++CLOSE_tick_count_;
    progress_.progressChanged(CLOSE_tick_count_);
    if (CLOSE_tick_count_ < kClosingTick) return;

    // The port's close waits until the queued output has left: the parameter
    // table alone needs about 1.5 s of line time.
    link_.port().close();
    progress_.portClosed();
    timer2_->stop();
    progress_.mainWindowEnabled(true);
    CLOSE_tick_count_ = 0;
    progress_.progressShown(false);
    progress_.designerRestored();
    signalText_->start(kSignalTextIntervalMs);
}

void ClosingSequence::onSignalText() {
    // A port that does not open is not fatal here either: the header beeps.
    link_.openPort();
    const bool loaded = dataStep_.loadTable(kAlarmTextsTable, tables_.table(kAlarmTextsTable));
    signalText_->stop();
    if (noSend_) return;
    if (!loaded) {
        progress_.finished();
        return;
    }
    dataStep_.sendHeader(Link::TableHeader);
}

} // namespace z5
