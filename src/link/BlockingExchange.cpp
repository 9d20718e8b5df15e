#include "link/BlockingExchange.h"
#include <QEventLoop>
#include <QTimer>
#include <optional>

namespace z5 {

LineSession::Outcome BlockingExchange::run(const Request &request, int watchdogMs) {
    reply_.clear();
    QEventLoop loop;
    std::optional<LineSession::Outcome> outcome;
    QObject guard;
    QObject::connect(&line_, &LineSession::blockReplyReceived, &guard, [this](const QByteArray &r) { reply_ = r; });
    QObject::connect(&line_, &LineSession::exchangeEnded, &guard, [&](LineSession::Outcome o) {
        outcome = o;
        loop.quit();
    });
    if (!line_.startExchange(request, watchdogMs)) return LineSession::Outcome::NoNetwork;
    // Backstop in case the clock's timers do not run on this loop.
    QTimer::singleShot(watchdogMs + 2000, &loop, &QEventLoop::quit);
    if (!outcome) loop.exec();
    if (!outcome) {
        line_.cancelExchange();
        return LineSession::Outcome::Cancelled;
    }
    return *outcome;
}

} // namespace z5
