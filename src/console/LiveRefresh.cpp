#include "console/LiveRefresh.h"
#include "model/Clock.h"
#include <QLocale>
#include <algorithm>

namespace z5 {

LiveRefresh::LiveRefresh(Clock &clock) : clock_(clock), timer_(clock.createTimer()) {
    timer_->setOnTimeout([this] {
        timer_->stop();
        emit due();
    });
}

LiveRefresh::~LiveRefresh() = default;

void LiveRefresh::setIntervalMs(int ms) {
    const bool known = std::find(kIntervalsMs.begin(), kIntervalsMs.end(), ms) != kIntervalsMs.end();
    intervalMs_ = known ? ms : 0;
    if (!isOn()) timer_->stop();
}

void LiveRefresh::valuesShown() {
    shownAtMs_ = clock_.nowMs();
    if (isOn()) timer_->start(intervalMs_);
}

void LiveRefresh::stop() { timer_->stop(); }

bool LiveRefresh::isArmed() const { return timer_->isActive(); }

std::optional<std::int64_t> LiveRefresh::ageMs() const {
    if (!shownAtMs_) return std::nullopt;
    return std::max<std::int64_t>(0, clock_.nowMs() - *shownAtMs_);
}

QString LiveRefresh::ageText() const {
    const auto age = ageMs();
    if (!age) return QString();
    return QStringLiteral("Значения получены %1 с назад").arg(QLocale().toString(*age / 1000.0, 'f', 1));
}

} // namespace z5
