#include "download/ClosingSequence.h"
#include "download/DataStep.h"
#include "download/DownloadProgress.h"
#include "download/DownloadTables.h"
#include "link/LineSession.h"
#include "link/SerialPort.h"
#include "model/Clock.h"

namespace z5 {

ClosingSequence::ClosingSequence(Clock &clock, LineSession &line, DataStep &dataStep, DownloadProgress &progress,
                                 const DownloadTables &tables, const bool &NO_SEND_flag)
    : line_(line), dataStep_(dataStep), progress_(progress), tables_(tables), noSend_(NO_SEND_flag),
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
}

void ClosingSequence::onTimer2() {
    if (CLOSE_tick_count_ < kClosingTick) ++CLOSE_tick_count_;
    progress_.progressChanged(CLOSE_tick_count_);
    if (CLOSE_tick_count_ < kClosingTick) return;

    // The port's close waits until the queued output has left: the parameter
    // table alone needs about 1.5 s of line time.
    line_.port().close();
    progress_.portClosed();
    timer2_->stop();
    progress_.mainWindowEnabled(true);
    CLOSE_tick_count_ = 0;
    progress_.progressShown(false);
    progress_.designerRestored();
    signalText_->start(kSignalTextIntervalMs);
}

void ClosingSequence::onSignalText() {
    // A port that does not open here makes the header fail (with a beep), and
    // the write then ends as a failure.
    line_.link().openPort();
    const bool loaded = dataStep_.loadTable(kAlarmTextsTable, tables_.table(kAlarmTextsTable));
    signalText_->stop();
    if (noSend_) return;
    if (!loaded) {
        line_.endWrite();
        progress_.finished();
        return;
    }
    dataStep_.sendTableHeader();
}

} // namespace z5
