#include "download/ClosingSequence.h"
#include "download/DataStep.h"
#include "download/DownloadProgress.h"
#include "download/DownloadTables.h"
#include "link/LineSession.h"
#include "link/SerialPort.h"
#include "model/Clock.h"

namespace z5 {

ClosingSequence::ClosingSequence(Clock &clock, LineSession &line, DataStep &dataStep, DownloadProgress &progress,
                                 const DownloadTables &tables)
    : line_(line), dataStep_(dataStep), progress_(progress), tables_(tables),
      closingTimer_(clock.createTimer()), alarmTextsTimer_(clock.createTimer()) {
    closingTimer_->setOnTimeout([this] { onClosingTick(); });
    alarmTextsTimer_->setOnTimeout([this] { onAlarmTextsTimer(); });
}

ClosingSequence::~ClosingSequence() = default;

bool ClosingSequence::isActive() const { return closingTimer_->isActive() || alarmTextsTimer_->isActive(); }

void ClosingSequence::start() {
    emit progress_.progressChanged(1);
    emit progress_.progressShown(true);
    closingTicks_ = 0;
    closingTimer_->start(kClosingIntervalMs);
}

void ClosingSequence::onClosingTick() {
    if (closingTicks_ < kClosingTick) ++closingTicks_;
    emit progress_.progressChanged(closingTicks_);
    if (closingTicks_ < kClosingTick) return;

    // The port's close waits until the queued output has left: the parameter
    // table alone needs about 1.5 s of line time.
    line_.closePort();
    emit progress_.portClosed();
    closingTimer_->stop();
    emit progress_.mainWindowEnabled(true);
    closingTicks_ = 0;
    emit progress_.progressShown(false);
    emit progress_.designerRestored();
    alarmTextsTimer_->start(kAlarmTextsDelayMs);
}

void ClosingSequence::onAlarmTextsTimer() {
    // A port that does not open here makes the header fail (with a beep), and
    // the write then ends as a failure.
    line_.openPort();
    const bool loaded = dataStep_.loadTable(kAlarmTextsTable, tables_.table(kAlarmTextsTable));
    alarmTextsTimer_->stop();
    if (!loaded) {
        line_.endWrite([this] { emit progress_.finished(); });
        return;
    }
    dataStep_.sendTableHeader();
}

} // namespace z5
