#include "link/BlockingExchange.h"
#include <QEventLoop>
#include <QTimer>

namespace z5 {

LineSession::Outcome BlockingExchange::run(const Request &request, int watchdogMs) {
    reply_.clear();
    const std::shared_ptr<LineReply> reply = line_.enqueue(request, watchdogMs);
    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply.get(), &LineReply::finished, &loop, &QEventLoop::quit);
        // Backstop in case the clock's timers do not run on this loop.
        QTimer::singleShot(watchdogMs + 2000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!reply->isFinished()) {
        line_.cancel(*reply);
        return LineSession::Outcome::Cancelled;
    }
    reply_ = reply->bytes();
    return reply->outcome();
}

} // namespace z5
