#pragma once

namespace z5 {

// How anything done on the line ended: one word for the whole program.
enum class LineOutcome {
    Reply,            // the reply came
    WrongCheckValue,  // a block reply came and was dropped
    NoReply,          // the watchdog fired: nothing usable came in time
    NoNetwork,        // the port could not be opened, written or read; the reply says why
    Cancelled,        // given up before its end (a window closed, a newer read replaced it)
    NotDrained        // a write whose bytes did not all leave the port
};

} // namespace z5
