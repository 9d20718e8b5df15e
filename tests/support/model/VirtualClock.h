#pragma once
#include "model/Clock.h"
#include <vector>

namespace z5 {

// Deterministic clock for tests: time moves only through advance(). Timers due
// at the same moment fire in the order they were started.
class VirtualClock : public Clock {
public:
    VirtualClock();
    ~VirtualClock() override;
    std::unique_ptr<Timer> createTimer() override;
    std::int64_t nowMs() const override { return now_; }

    // Moves time forward by ms, firing every timer that falls due on the way.
    void advance(std::int64_t ms);
    // Advances to the next due timer (if any within maxMs); returns false when none.
    bool advanceToNext(std::int64_t maxMs = INT64_MAX / 4);
    int activeTimers() const;

private:
    class VTimer;
    friend class VTimer;
    struct Entry {
        VTimer *timer;
        std::int64_t due;
        std::uint64_t order;
    };
    Entry *nextDue(std::int64_t limit);
    void schedule(VTimer *t, std::int64_t due);
    void unschedule(VTimer *t);

    std::int64_t now_ = 0;
    std::uint64_t order_ = 0;
    std::vector<Entry> entries_;
};

} // namespace z5
