#pragma once
#include "link/ReplyReception.h"
#include <QByteArray>

namespace z5 {

class Clock;
class Link;
class Prompts;

// One block exchange run to its end in a local event loop, for the command
// line: sends the request the link's fields describe and waits for the
// reception to end it. The windows use ReplyReception directly.
class BlockingExchange {
public:
    BlockingExchange(Link &link, Clock &clock, Prompts &prompts);

    // Sends the request (the port must be open) and waits for the reply.
    ReplyReception::Ending run(int watchdogMs = ReplyReception::kBlockWatchdogMs);
    // The reply when run() ended with Ending::Reply.
    const QByteArray &reply() const { return reply_; }

private:
    Link &link_;
    ReplyReception reception_;
    QByteArray reply_;
};

} // namespace z5
