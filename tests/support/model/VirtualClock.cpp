#include "model/VirtualClock.h"
#include <algorithm>

namespace z5 {

class VirtualClock::VTimer : public Timer {
public:
    explicit VTimer(VirtualClock *clock) : clock_(clock) {}
    ~VTimer() override { if (clock_) clock_->unschedule(this); }
    void start(int intervalMs) override {
        interval_ = intervalMs < 0 ? 0 : intervalMs;
        active_ = true;
        if (clock_) clock_->schedule(this, clock_->now_ + interval_);
    }
    void stop() override {
        active_ = false;
        if (clock_) clock_->unschedule(this);
    }
    bool isActive() const override { return active_; }
    int interval() const override { return interval_; }
    void tick() { fire(); }
    void detach() { clock_ = nullptr; active_ = false; }

private:
    VirtualClock *clock_;
    int interval_ = 0;
    bool active_ = false;
};

VirtualClock::VirtualClock() = default;

VirtualClock::~VirtualClock() {
    for (auto &e : entries_) e.timer->detach();
}

std::unique_ptr<Timer> VirtualClock::createTimer() { return std::make_unique<VTimer>(this); }

void VirtualClock::schedule(VTimer *t, std::int64_t due) {
    unschedule(t);
    entries_.push_back({t, due, order_++});
}

void VirtualClock::unschedule(VTimer *t) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [t](const Entry &e) { return e.timer == t; }),
                   entries_.end());
}

VirtualClock::Entry *VirtualClock::nextDue(std::int64_t limit) {
    Entry *best = nullptr;
    for (auto &e : entries_) {
        if (e.due > limit) continue;
        if (!best || e.due < best->due || (e.due == best->due && e.order < best->order)) best = &e;
    }
    return best;
}

void VirtualClock::advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    while (Entry *e = nextDue(target)) {
        now_ = e->due;
        VTimer *t = e->timer;
        // Reschedule before the tick so that the handler may stop or restart it.
        const int iv = t->interval();
        e->due = now_ + (iv > 0 ? iv : 1);
        e->order = order_++;
        t->tick();
    }
    now_ = target;
}

bool VirtualClock::advanceToNext(std::int64_t maxMs) {
    Entry *e = nextDue(now_ + maxMs);
    if (!e) return false;
    advance(e->due - now_);
    return true;
}

int VirtualClock::activeTimers() const { return static_cast<int>(entries_.size()); }

} // namespace z5
