#pragma once
#include "link/Link.h"
#include "link/WireSizes.h"
#include <memory>

namespace z5 {

class Clock;
class Timer;
class Prompts;
class DownloadProgress;
class LineSession;
struct TableBuild;

// The data timer of the main window: 100 ms after a table or screen header it
// sends the data block of the header sent last. Shared by the configuration
// download and the screen write.
class DataStep {
public:
    static constexpr int kIntervalMs = 100;
    static constexpr int kAlarmTextsTable = 11;

    DataStep(Clock &clock, LineSession &line, Prompts &prompts, DownloadProgress &progress);
    ~DataStep();

    // Loads a built table into the link as the data block of its table. A table that could not
    // be built shows its problem, changes neither field and returns false.
    bool loadTable(int table, const TableBuild &build);

    // Sends the header of the table loaded last (or of the screen stream in
    // the data block) and starts `Timer1`. Timer1 starts even when the header could
    // not go out: its data send then fails too, and the write ends as a failure.
    bool sendTableHeader();
    bool sendScreenHeader();

    Timer &dataTimer() { return *dataTimer_; }
    bool isActive() const;

private:
    void onDataTimer();
    bool sendHeader(bool screen);

    LineSession &line_;
    Link &link_;
    Prompts &prompts_;
    DownloadProgress &progress_;
    std::unique_ptr<Timer> dataTimer_;
};

} // namespace z5
