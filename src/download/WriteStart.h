#pragma once
#include "download/DownloadTables.h"
#include "link/WriteReply.h"
#include <memory>

namespace z5 {

// What starting a write gave: its reply, queued on the line owner, or why
// nothing was queued (a value the wire cannot carry, a block that is no
// setpoint programmer). The front end shows the refusal.
struct WriteStart {
    std::shared_ptr<WriteReply> reply;
    TableBuild refusal;

    // Queued and not already ended as a failure (a port that did not open).
    bool started() const { return reply && !(reply->isFinished() && !reply->succeeded()); }
    explicit operator bool() const { return started(); }
};

// A table build as the line owner sends it.
inline WriteBlock tableBlock(const TableBuild &build) {
    WriteBlock block;
    block.bytes = build.data;
    block.problem = build.problem;
    block.caption = build.caption;
    return block;
}

} // namespace z5
