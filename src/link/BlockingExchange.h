#pragma once
#include "link/LineSession.h"
#include "link/Request.h"
#include <QByteArray>

namespace z5 {

// One exchange through the line owner run to its end in a local event loop,
// for the command line. The windows listen to the line owner's signals instead.
class BlockingExchange {
public:
    explicit BlockingExchange(LineSession &line) : line_(line) {}

    // Queues the request on the line and waits for its reply object to end.
    // NoNetwork when the request could not go out.
    LineSession::Outcome run(const Request &request, int watchdogMs = ReplyReception::kBlockWatchdogMs);
    // The reply when run() ended with Outcome::Reply.
    const QByteArray &reply() const { return reply_; }

private:
    LineSession &line_;
    QByteArray reply_;
};

} // namespace z5
