#include "link/BlockingExchange.h"
#include "link/Link.h"
#include <QEventLoop>
#include <QTimer>
#include <optional>

namespace z5 {

BlockingExchange::BlockingExchange(Link &link, Clock &clock, Prompts &prompts)
    : link_(link), reception_(link, clock, prompts) {}

ReplyReception::Ending BlockingExchange::run(int watchdogMs) {
    reply_.clear();
    if (!link_.SendRequest()) return ReplyReception::Ending::PortFailure;
    QEventLoop loop;
    std::optional<ReplyReception::Ending> ending;
    reception_.handlers.blockReply = [this](const QByteArray &r) { reply_ = r; };
    reception_.handlers.released = [&](ReplyReception::Ending e) {
        ending = e;
        loop.quit();
    };
    reception_.awaitBlockReply(watchdogMs);
    // Backstop in case the clock's timers do not run on this loop.
    QTimer::singleShot(watchdogMs + 2000, &loop, &QEventLoop::quit);
    if (!ending) loop.exec();
    reception_.handlers = {};
    if (!ending) {
        reception_.cancel();
        return ReplyReception::Ending::Cancelled;
    }
    return *ending;
}

} // namespace z5
