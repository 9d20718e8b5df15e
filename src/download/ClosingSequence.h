#pragma once
#include "link/WireSizes.h"
#include <cstdint>
#include <memory>

namespace z5 {

class Clock;
class Timer;
class LineSession;
class DataStep;
class DownloadProgress;
class DownloadTables;

// How a configuration download and a screen write end: the closing timer counts three
// ticks of 2 s, then the port is closed (after what was written has left), the
// main window and the designer are given back, and 100 ms later
// the alarm-texts timer sends the alarm texts (table 11) on a reopened port,
// which is left open.
class ClosingSequence {
public:
    static constexpr int kClosingIntervalMs = 2000;
    static constexpr int kClosingTick = 3;
    static constexpr int kAlarmTextsDelayMs = 100;
    static constexpr int kAlarmTextsTable = tableNumber(Table::AlarmTexts);

    ClosingSequence(Clock &clock, LineSession &line, DataStep &dataStep, DownloadProgress &progress,
                    const DownloadTables &tables);
    ~ClosingSequence();

    // The opening of a write: the progress bar at 1 and `Timer2` started. The
    // line owner has opened the port when it began the write.
    void start();

    std::uint8_t closingTicks() const { return closingTicks_; }
    Timer &closingTimer() { return *closingTimer_; }
    Timer &alarmTextsTimer() { return *alarmTextsTimer_; }
    // Between start() and the alarm texts' header.
    bool isActive() const;

private:
    void onClosingTick();
    void onAlarmTextsTimer();

    LineSession &line_;
    DataStep &dataStep_;
    DownloadProgress &progress_;
    const DownloadTables &tables_;
    std::unique_ptr<Timer> closingTimer_;
    std::unique_ptr<Timer> alarmTextsTimer_;
    std::uint8_t closingTicks_ = 0;
};

} // namespace z5
