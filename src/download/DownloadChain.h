#pragma once
#include "download/ClosingSequence.h"
#include "download/DataStep.h"
#include "download/DownloadProgress.h"
#include <array>
#include <memory>
#include <vector>

namespace z5 {

class Clock;
class Timer;
class LineSession;
class Prompts;
class DownloadTables;

// The configuration download: table 0 at once, tables 1 to 10 by ten timers all
// started at that same moment, each firing once after its own interval; every
// header is followed 100 ms later by its data; the closing sequence shuts the
// port at 6 s and sends the alarm texts (table 11) at about 6.1 s. No reply is
// read: the controller relies on the offsets alone.
class DownloadChain {
public:
    struct TableTimer {
        int table;
        int intervalMs;
        const char *name;
    };
    // The ten table timers in table order.
    static const std::array<TableTimer, 10> &tableTimers();

    DownloadChain(Clock &clock, LineSession &line, Prompts &prompts, const DownloadTables &tables);
    ~DownloadChain();

    // Starts the download. Every value is checked first: a download that would
    // carry a value the wire cannot hold never starts (the message is shown and
    // false returned). Also false while the line is busy (a beep) and when the
    // port does not open (the write ends at once as a failure, "Нет сети!!!").
    bool startDownload();

    // A write (the download, or a write that shares this chain's line) is between
    // its start and its last block.
    bool isBusy() const;
    // The setpoint and screen writes make their own timers count as busy, so that
    // no write starts in the middle of another's header and data.
    void addWriteTimer(const Timer *timer);
    void removeWriteTimer(const Timer *timer);

    // Table timer 1..10 by table number; nullptr for any other number.
    Timer *tableTimer(int table);

    DownloadProgress &progress() { return progress_; }
    DataStep &dataStep() { return dataStep_; }
    ClosingSequence &closing() { return closing_; }
    Clock &clock() { return clock_; }
    LineSession &line() { return line_; }
    Prompts &prompts() { return prompts_; }
    const DownloadTables &tables() const { return tables_; }

private:
    void onTableTimer(int index);

    Clock &clock_;
    LineSession &line_;
    Prompts &prompts_;
    const DownloadTables &tables_;
    DownloadProgress progress_;
    DataStep dataStep_;
    ClosingSequence closing_;

    // The ten table timers in table order (their documented names are in tableTimers()).
    std::array<std::unique_ptr<Timer>, 10> tableTimers_;
    std::vector<const Timer *> writeTimers_;
};

} // namespace z5
