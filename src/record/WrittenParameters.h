#pragma once
#include <QByteArray>
#include <map>

namespace z5 {

class Project;
class WriteHistory;
struct RecordedWrite;

// What the controller was last given of this netlist's parameters: the data
// block of every table as the latest finished write carried it, and the
// setpoints of the setpoint programmers written one by one after that
// parameter table (by instance slot, 32 bytes each).
struct WrittenParameters {
    std::map<int, QByteArray> tables;
    std::map<int, QByteArray> setpointsBySlot;

    bool isEmpty() const { return tables.empty() && setpointsBySlot.empty(); }

    // From the record. A setpoint write carries no block in its data, so when
    // there is one the entries are read to learn whose setpoints went out and
    // whether they came after the last parameter table; the project (of the
    // same netlist) names the setpoint programmer of each column.
    static WrittenParameters fromHistory(const WriteHistory &history, int station, const QByteArray &netlistHash,
                                         const Project &project);
    // What one write carried, whether or not it finished.
    static WrittenParameters sentBy(const RecordedWrite &entry, const Project &project);
    // Lays what `entry` carried over what is held, as the controller takes it.
    void apply(const RecordedWrite &entry, const Project &project);
};

} // namespace z5
