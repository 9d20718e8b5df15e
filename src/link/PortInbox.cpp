#include "link/PortInbox.h"
#include <algorithm>

namespace z5 {

qsizetype PortInbox::room() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::max<qsizetype>(0, bound_ - bytes_.size());
}

void PortInbox::put(const char *bytes, qsizetype length) {
    if (length <= 0) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    bytes_.append(bytes, length);
    notifyLocked();
}

void PortInbox::putErrors(LineErrors errors) {
    if (!errors.any()) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    errors_ |= errors;
    notifyLocked();
}

void PortInbox::putFailure(unsigned long code) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (failure_ == 0) failure_ = code ? code : 1;
    notifyLocked();
}

void PortInbox::notifyLocked() {
    if (noticePending_ || !notifier_) return;
    noticePending_ = true;
    notifier_();
}

void PortInbox::setNotifier(Notifier notifier) {
    const std::lock_guard<std::mutex> lock(mutex_);
    notifier_ = std::move(notifier);
    noticePending_ = false;
}

void PortInbox::noticeTaken() {
    const std::lock_guard<std::mutex> lock(mutex_);
    noticePending_ = false;
}

qsizetype PortInbox::size() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return bytes_.size();
}

QByteArray PortInbox::takeAll() {
    const std::lock_guard<std::mutex> lock(mutex_);
    QByteArray all;
    all.swap(bytes_);
    return all;
}

LineErrors PortInbox::takeErrors() {
    const std::lock_guard<std::mutex> lock(mutex_);
    const LineErrors errors = errors_;
    errors_ = LineErrors{};
    return errors;
}

unsigned long PortInbox::failure() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
}

void PortInbox::clear() {
    const std::lock_guard<std::mutex> lock(mutex_);
    bytes_.clear();
    errors_ = LineErrors{};
    failure_ = 0;
}

} // namespace z5
