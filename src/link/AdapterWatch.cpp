#include "link/AdapterWatch.h"
#include "model/Clock.h"

namespace z5 {

AdapterWatch::AdapterWatch(Clock &clock, Finder finder, std::function<void(const QString &)> found)
    : finder_(std::move(finder)), found_(std::move(found)), timer_(clock.createTimer()) {
    timer_->setOnTimeout([this] { look(); });
}

AdapterWatch::~AdapterWatch() = default;

void AdapterWatch::start(const QString &device, const QString &serialNumber) {
    device_ = device;
    serialNumber_ = serialNumber;
    timer_->start(kLookEveryMs);
}

void AdapterWatch::stop() {
    timer_->stop();
    device_.clear();
    serialNumber_.clear();
}

void AdapterWatch::look() {
    if (!isWatching()) return;
    const QString name = finder_(device_, serialNumber_);
    // The owner may stop the watch from inside: it opened the adapter.
    if (!name.isEmpty()) found_(name);
}

} // namespace z5
