#include "SimLine.h"
#include <algorithm>

namespace z5sim {
namespace {

constexpr int kRequestLength = 8;

} // namespace

SimLine::SimLine(const std::vector<SimOptions> &controllers, const SimLineOptions &options) : options_(options) {
    for (const SimOptions &o : controllers) {
        const int i = static_cast<int>(controllers_.size());
        controllers_.push_back(std::make_unique<SimController>(o));
        controllers_.back()->onEvent = [this, i](const QJsonObject &e) { record(i, e); };
        busyUntilMs_.push_back(0);
    }
}

int SimLine::recorderOf(int station) const {
    for (std::size_t i = 0; i < controllers_.size(); ++i)
        if (controllers_[i]->options().station == station) return static_cast<int>(i);
    return 0;
}

void SimLine::record(int controller, QJsonObject event) {
    if (!onEvent) return;
    const QString what = event.value(QStringLiteral("what")).toString();
    if (event.value(QStringLiteral("dir")).toString() != QLatin1String("in")) {
        // Whose reply it is, where several controllers could have sent it.
        if (controllers_.size() > 1) {
            const SimOptions &o = controllers_[static_cast<std::size_t>(controller)]->options();
            event.insert(QStringLiteral("station"), o.station);
            if (o.unit > 0) event.insert(QStringLiteral("unit"), o.unit);
        }
        onEvent(event);
        return;
    }
    // Every controller reads every frame alike: it is recorded once.
    int concerns = -1;
    if (what == QLatin1String("header")) {
        lastHeaderStation_ = event.value(QStringLiteral("station")).toInt();
        concerns = lastHeaderStation_;
    } else if (what == QLatin1String("data") || what == QLatin1String("missing data") ||
               what == QLatin1String("incomplete data")) {
        concerns = lastHeaderStation_;
    }
    if (recorderOf(concerns) == controller) onEvent(event);
}

std::int64_t SimLine::schedule(const QByteArray &bytes, std::int64_t startMs) {
    const int step = options_.lineSpeed ? kPiece : static_cast<int>(bytes.size());
    std::int64_t due = startMs;
    for (int off = 0; off < bytes.size(); off += step) {
        due = startMs + (options_.lineSpeed ? lineMs(off) : 0);
        // After whatever falls due at the same time: pieces of overlapping
        // replies alternate as they would on the wire.
        const auto at = std::upper_bound(outgoing_.begin(), outgoing_.end(), due,
                                         [](std::int64_t d, const Outgoing &o) { return d < o.dueMs; });
        outgoing_.insert(at, Outgoing{due, bytes.mid(off, step)});
    }
    return due;
}

void SimLine::receive(const QByteArray &bytes, std::int64_t nowMs) {
    for (std::size_t i = 0; i < controllers_.size(); ++i) {
        for (const SimOutput &o : controllers_[i]->receive(bytes, nowMs)) {
            // Never sooner than the request and the reply take on the wire, unless
            // the far end is instant or paces its pieces itself.
            const bool wireTimeAhead = !options_.lineSpeed && !options_.instant;
            std::int64_t due = nowMs + o.delayMs + (wireTimeAhead ? lineMs(kRequestLength + o.bytes.size()) : 0);
            due = std::max(due, busyUntilMs_[i]);
            busyUntilMs_[i] = schedule(o.bytes, due);
            if (options_.twiceMs < 0) continue;
            const std::int64_t copyAt = due + (options_.lineSpeed ? lineMs(o.bytes.size()) : 0) + options_.twiceMs;
            schedule(o.bytes, copyAt);
            QJsonObject copy{{"dir", "out"}, {"what", "copy"}, {"length", o.bytes.size()},
                             {"delayMs", static_cast<qint64>(copyAt - nowMs)}, {"ms", static_cast<qint64>(nowMs)}};
            record(static_cast<int>(i), copy);
        }
    }
}

QByteArray SimLine::takeDue(std::int64_t nowMs) {
    if (outgoing_.empty() || outgoing_.front().dueMs > nowMs) return QByteArray();
    takenDueMs_ = outgoing_.front().dueMs;
    QByteArray piece = std::move(outgoing_.front().bytes);
    outgoing_.pop_front();
    return piece;
}

void SimLine::keepUnsent(const QByteArray &rest) {
    if (!rest.isEmpty()) outgoing_.push_front(Outgoing{takenDueMs_, rest});
}

} // namespace z5sim
