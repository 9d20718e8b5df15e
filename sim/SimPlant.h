#pragma once
#include "SimTrendArchive.h"
#include <QByteArray>
#include <array>
#include <cstdint>
#include <map>

namespace z5sim {

class SimMemory;

// The controller's running process as far as its replies show it: block values
// that move with time, setpoint programmers that return their setpoints, panels
// whose lamps follow their keys, the process state and the trend archive.
class SimPlant {
public:
    static constexpr int kReplyDataLength = 258;
    static constexpr int kRows = 8;

    enum ProcessCommand { Pause = 50, Start = 51, AskState = 52, Store = 53 };

    // `unit` goes into the last data byte of every block reply, which the
    // configurator does not read: controllers set to one station answer unlike.
    SimPlant(const SimMemory &memory, int station, int unit = 0);

    // A 260-byte block reply with the values of a block column.
    QByteArray blockReply(int column, std::int64_t nowMs) const;
    // A 260-byte reply to a process command: byte 3 is 1 while the process runs.
    QByteArray processReply() const;
    void processCommand(int code);
    bool processRuns() const { return running_; }
    int storeCount() const { return stores_; }

    // A panel key 1..12 as the panel's layout (its first parameter) reads it:
    // layout 0 (and any unknown one): key 1..8 toggles the lamp of row key - 1
    // and counts in that row's first value, keys 9..12 toggle rows 1, 3, 5, 7;
    // layout 1: a bottom key lights the lower lamp of its column, a middle key
    // the upper one, a top key puts both out; layout 2: keys 9..12 are the
    // switches in rows 1, 3, 5, 7, a key below lights its column's lamp while
    // the column's switch is off; layout 3: keys 5 and 6 lower and raise the
    // setpoint in row 2, row 4 is the measured value following it and row 0
    // the heater lamp; layout 4: a bottom key counts its column's first value
    // up, a middle key down.
    void pressKey(int column, int key);
    int lamp(int column, int row) const;

    SimTrendArchive &trends() { return trends_; }
    const SimTrendArchive &trends() const { return trends_; }

private:
    struct Panel {
        std::array<int, kRows> lamps{};
        std::array<int, kRows> presses{};
        double setpoint = 20.0;
    };
    int panelLayout(int column) const;
    struct Row {
        double first = 0, second = 0, third = 0;
    };
    std::array<Row, kRows> valuesOf(int column, std::int64_t nowMs) const;

    const SimMemory &memory_;
    int station_;
    int unit_;
    bool running_ = false;
    int stores_ = 0;
    std::map<int, Panel> panels_;
    SimTrendArchive trends_;
};

} // namespace z5sim
