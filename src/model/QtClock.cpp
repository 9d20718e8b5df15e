#include "model/QtClock.h"
#include <QTimer>

namespace z5 {
namespace {

class QtTimer : public Timer {
public:
    QtTimer() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { fire(); });
    }
    void start(int intervalMs) override { timer_.start(intervalMs); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }
    int interval() const override { return timer_.interval(); }

private:
    QTimer timer_;
};

} // namespace

QtClock::QtClock() { elapsed_.start(); }
std::unique_ptr<Timer> QtClock::createTimer() { return std::make_unique<QtTimer>(); }
std::int64_t QtClock::nowMs() const { return elapsed_.elapsed(); }

} // namespace z5
