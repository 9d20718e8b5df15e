#pragma once
#include <cstdint>
#include <functional>
#include <memory>

namespace z5 {

// A repeating timer in the style of the controller's protocol: once started it
// ticks every interval until stopped. Starting a running timer restarts its count.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
    void setOnTimeout(std::function<void()> handler) { onTimeout_ = std::move(handler); }

protected:
    void fire() { if (onTimeout_) onTimeout_(); }

private:
    std::function<void()> onTimeout_;
};

// The source of time and timers; real in the application, virtual in tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::unique_ptr<Timer> createTimer() = 0;
    virtual std::int64_t nowMs() const = 0;
};

} // namespace z5
