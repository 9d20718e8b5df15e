#pragma once
#include "download/ClosingSequence.h"
#include "download/DataStep.h"
#include "download/WriteStart.h"
#include "link/WriteSequence.h"
#include <array>

namespace z5 {

class Clock;
class LineSession;
class DownloadTables;

// The configuration download: table 0 at once, tables 1 to 10 at their own
// offsets from the start; every header is followed 100 ms later by its data;
// the closing shuts the port at 6 s and sends the alarm texts (table 11) at
// about 6.1 s. No reply is read: the controller relies on the offsets alone.
// The whole download is one write sequence queued on the line owner.
class DownloadChain {
public:
    struct TableTimer {
        Table table;
        int intervalMs;
    };
    // The ten table offsets from the download's start, in table order.
    static const std::array<TableTimer, 10> &tableTimers();

    DownloadChain(Clock &clock, LineSession &line, const DownloadTables &tables);

    // Queues the download. Every value is checked first: a download that would
    // carry a value the wire cannot hold is refused before anything is queued
    // (the refusal says why). A port that does not open ends the reply at once
    // as NoNetwork.
    WriteStart startDownload();
    // The download as it goes on the wire; each table is built when its header is due.
    static WriteSequence sequence(const DownloadTables &tables);

    Clock &clock() { return clock_; }
    LineSession &line() { return line_; }
    const DownloadTables &tables() const { return tables_; }

private:
    Clock &clock_;
    LineSession &line_;
    const DownloadTables &tables_;
};

} // namespace z5
