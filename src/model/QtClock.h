#pragma once
#include "model/Clock.h"
#include <QElapsedTimer>

namespace z5 {

// Real time on the Qt event loop. Precise timers: the controller relies on the
// protocol's offsets, and a coarse timer may fire early.
class QtClock : public Clock {
public:
    QtClock();
    std::unique_ptr<Timer> createTimer() override;
    std::int64_t nowMs() const override;

private:
    QElapsedTimer elapsed_;
};

} // namespace z5
