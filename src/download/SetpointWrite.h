#pragma once
#include "download/DownloadProgress.h"
#include "link/WireSizes.h"
#include <memory>

namespace z5 {

class Timer;
class DownloadChain;

// The setpoint write: the table 12 header with the block's column in byte 6,
// then 200 ms later its data timer sends the eight setpoints of that
// setpoint programmer. No reply is read, and the port stays open.
class SetpointWrite {
public:
    static constexpr int kIntervalMs = 200;
    static constexpr int kSetpointTable = tableNumber(Table::Setpoints);

    enum class Outcome {
        Started,
        Refused,  // the values do not fit, or the block is no setpoint programmer (message shown)
        Busy,     // the line is busy (the line owner beeped)
        NoPort    // the port could not be opened; nothing was sent, "Нет сети!!!" shown
    };

    // Shares the download's line, clock and tables; the line owner refuses it
    // while anything else is under way.
    explicit SetpointWrite(DownloadChain &chain);
    ~SetpointWrite();

    // "&Записать задатчики в Z5" for the block in column `block` (0..99).
    Outcome writeSetpoints(int block);

    bool isBusy() const;
    Timer &setpointDataTimer() { return *timer_; }
    DownloadProgress &progress() { return progress_; }

private:
    void onTimer();

    DownloadChain &chain_;
    DownloadProgress progress_;
    std::unique_ptr<Timer> timer_;
    // The block whose setpoints the header under way announced.
    int block_ = 0;
};

} // namespace z5
