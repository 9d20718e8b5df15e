#include "console/ConsoleProgress.h"
#include "model/Clock.h"

namespace z5 {

ConsoleProgress::ConsoleProgress(Clock &clock) : timer_(clock.createTimer()) {
    timer_->setOnTimeout([this] { onTick(); });
}

ConsoleProgress::~ConsoleProgress() = default;

void ConsoleProgress::restart(int intervalMs) {
    setValue(0);
    timer_->start(intervalMs);
}

void ConsoleProgress::stop() { timer_->stop(); }

void ConsoleProgress::setValue(int value) {
    value_ = value < 0 ? 0 : (value > kMaximum ? kMaximum : value);
    emit changed(value_);
}

void ConsoleProgress::onTick() {
    if (value_ >= kMaximum) {
        timer_->stop();
        return;
    }
    setValue(value_ + 1);
    if (value_ >= kMaximum) timer_->stop();
}

} // namespace z5
