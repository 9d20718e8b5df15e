#pragma once
#include "link/WireSizes.h"
#include "link/WriteSequence.h"

namespace z5 {

class DownloadTables;

// How a configuration download and a screen write end: the closing counts three
// ticks of 2 s from its opening, then the port is closed (after what was written
// has left), the main window and the designer are given back, and 100 ms later
// the alarm texts (table 11) go out on a reopened port, which is left open.
class ClosingSequence {
public:
    static constexpr int kClosingIntervalMs = 2000;
    static constexpr int kClosingTick = 3;
    static constexpr int kAlarmTextsDelayMs = 100;

    // The closing opened at `openedAtMs` of the write; the alarm texts are built
    // from `tables` when they go out.
    static void append(WriteSequence &sequence, int openedAtMs, const DownloadTables &tables);
    // When the port is closed, counted from the closing's opening.
    static constexpr int closedAfterMs() { return kClosingIntervalMs * kClosingTick; }
};

} // namespace z5
