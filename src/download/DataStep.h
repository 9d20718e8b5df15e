#pragma once
#include "link/Link.h"
#include <QByteArray>
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
    static constexpr int kAlarmTextsTable = tableNumber(Table::AlarmTexts);

    DataStep(Clock &clock, LineSession &line, Prompts &prompts, DownloadProgress &progress);
    ~DataStep();

    // Loads a built table into the link as the data block of its table. A table that could not
    // be built shows its problem, changes neither field and returns false.
    bool loadTable(int table, const TableBuild &build);
    // Loads a built screen stream as the data block; `checkedLength` bytes of it
    // are covered by the check value.
    void loadScreen(const QByteArray &stream, int checkedLength);

    // Sends the header of the table loaded last (or of the screen stream in
    // the data block) and starts the data timer. It starts even when the header could
    // not go out: its data send then fails too, and the write ends as a failure.
    bool sendTableHeader();
    bool sendScreenHeader();

    Timer &dataTimer() { return *dataTimer_; }
    bool isActive() const;

private:
    void onDataTimer();
    bool sendHeader(bool screen);

    LineSession &line_;
    Prompts &prompts_;
    DownloadProgress &progress_;
    std::unique_ptr<Timer> dataTimer_;
    // What was loaded last and which header went out: the data step keeps its
    // own record rather than reading the request fields back.
    int table_ = 0;
    int dataBytes_ = 0;
    bool screen_ = false;
};

} // namespace z5
